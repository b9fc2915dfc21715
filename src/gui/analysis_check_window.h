#pragma once
// The analysis check (TForm2): charge balance, conductivity, ionic strength and the carbonate
// system of the analysis being entered. The analysis form fills it and reads back the ionic
// strength the user may correct here.

#include "analysis/check.h"
#include "gui/result_window.h"

#include <memory>

namespace Ui {
class AnalysisCheckWindow;
}

namespace zeb::gui {

class Dialogs;

class AnalysisCheckWindow : public ResultWindow {
    Q_OBJECT
public:
    explicit AnalysisCheckWindow(Dialogs& dialogs, QWidget* parent = nullptr);
    ~AnalysisCheckWindow() override;

    // Fills the four sections from a check and puts its ionic strength into the field.
    void Show(const analysis::AnalysisCheck& check);

    // The text of the "IOS for calculation" field.
    QString ionicStrengthText() const;

protected:
    void ApplyWindowTexts() override;
    void showEvent(QShowEvent* event) override;

private:
    void ShowMarks();
    void OkClick();

    std::unique_ptr<Ui::AnalysisCheckWindow> ui_;
    Dialogs& dialogs_;
    analysis::AnalysisCheck check_;
};

} // namespace zeb::gui
