#pragma once
// The report file-format dialog (TForm17): file name, "Standard" or "Excel", and the question
// before an existing file is replaced. One instance serves every result window; ReportOutput
// runs it.

#include "gui/language.h"
#include "report/report_text.h"

#include <QDialog>

#include <memory>
#include <optional>

namespace Ui {
class ReportFormatDialog;
}

namespace zeb::gui {

class Dialogs;

class ReportFormatDialog : public QDialog, public LanguageAware {
    Q_OBJECT
public:
    explicit ReportFormatDialog(Dialogs& dialogs, QWidget* parent = nullptr);
    ~ReportFormatDialog() override;

    void SetFileName(const QString& fileName);
    QString fileName() const;
    // "Standard" is chosen from the start, so a confirmed dialog always has a format.
    std::optional<report::ReportFormat> format() const;
    void SelectStandard();
    void SelectFormat(report::ReportFormat format);

    void ApplyTexts(app::Language language) override;
    app::Language language() const { return language_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SaveClick();
    void UpdateSaveButton();

    std::unique_ptr<Ui::ReportFormatDialog> ui_;
    Dialogs& dialogs_;
    app::Language language_ = app::Language::German;
};

} // namespace zeb::gui
