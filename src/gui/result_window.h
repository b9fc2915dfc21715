#pragma once
// What the result windows share: the caption suffix naming the water or waters while a command
// shows the window, the interface language, the fixed-pitch face of the value labels, and the
// header lines of the reports.

#include "gui/language.h"

#include <QDialog>
#include <QString>

#include <string>
#include <string_view>

class QLabel;

namespace zeb::app {
class Project;
}

namespace zeb::gui {

// The three header lines every report carries: signature, project file name, date and time.
struct ReportHeader {
    std::string signature;
    std::string fileName;
    std::string dateTime;
};
// The header of a report built now for the project, under the main window's signature line.
ReportHeader CurrentReportHeader(std::string signature, const app::Project& project);

// A value as the windows and reports show it: FormatFixed(x, width, decimals).
QString FixedText(long double x, int width, int decimals);

class ResultWindow : public QDialog, public LanguageAware {
    Q_OBJECT
public:
    explicit ResultWindow(QWidget* parent = nullptr);

    // The caption is the language's caption followed by the suffix (" A", " M", " A / B").
    // Setting a suffix replaces the previous one, so the caption always returns to its plain
    // text when the suffix is cleared, whatever happened in between.
    void SetCaptionSuffix(const QString& suffix);
    void ClearCaptionSuffix() { SetCaptionSuffix(QString()); }
    const QString& captionSuffix() const { return suffix_; }

    app::Language language() const { return language_; }

    // Table texts of the window (by its objectName), then the window's own texts.
    void ApplyTexts(app::Language language) final;

protected:
    // Texts the table cannot set by control name: headings that depend on the last run, rows
    // that stand twice, the report in the new language.
    virtual void ApplyWindowTexts() {}

    // "<objectName>.<name>" in the current language.
    QString WindowText(std::string_view name) const;

    // Every child label whose objectName starts with "value" gets the fixed-pitch font and is
    // kept at least `characters` wide, so the decimal points of a column stand one under the
    // other and a longer value never cuts a shorter one's column.
    void StyleValueLabels(int characters);

private:
    void UpdateCaption();

    app::Language language_ = app::Language::German;
    QString baseCaption_;
    QString suffix_;
};

// Sets a value label and clears it (the text of a value never computed).
void SetValue(QLabel& label, long double x, int width = 8, int decimals = 3);

} // namespace zeb::gui
