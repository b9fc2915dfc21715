#pragma once
// What the result windows share: the caption suffix naming the water or waters while a command
// shows the window, the interface language, the fixed-pitch face of the value labels, the column
// headings of the two input families, and the header lines of the reports. ReportWindow adds
// the report with its printing and saving, ProjectReportWindow the part of the project whose
// inputs the window edits.

#include "gui/language.h"
#include "gui/report_output.h"
#include "report/report_text.h"
#include "results/domain.h"

#include <QDialog>
#include <QString>

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class QLabel;

namespace zeb::app {
class Project;
}

namespace zeb::gui {

class Dialogs;

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

    // Shows the window modally, its caption carrying `suffix` for as long as it is shown.
    void RunModal(Dialogs& dialogs, const QString& suffix);

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

    // "KS4.3/KB8.2", "KS4.3/pH(T)", "KB8.2/pH(T)" or, for the DIC family, "KS4.3/DIC",
    // "DIC/pH(T)", "KB8.2/DIC", from the window's texts.
    void ShowColumnHeadings(const std::array<QLabel*, 3>& headings, bool useDic);
    // The status line saying why nothing was computed, hidden while it has nothing to say.
    void ShowNotComputed(QLabel& status, bool notComputed);

private:
    void UpdateCaption();

    app::Language language_ = app::Language::German;
    QString baseCaption_;
    QString suffix_;
};

// A result window with a report: printed and saved through the report front end, and messages
// of its computation shown in the window's language.
class ReportWindow : public ResultWindow {
    Q_OBJECT
public:
    ReportWindow(Dialogs& dialogs, ReportOutput& reports, QWidget* parent = nullptr);

    const report::ReportText& report() const { return report_; }

protected:
    void Inform(const std::vector<std::string_view>& messageKeys);
    // Shows the message of a value outside the range in which the computation is defined, in
    // the window's language; true when there was one (the window then computes nothing).
    bool RefuseOutsideDomain(const std::optional<results::DomainViolation>& violation);
    // Whether the last run was refused: the message box said why, the gate's status line
    // would not.
    bool refused() const { return refused_; }
    void SaveReport(const report::ReportLayout& layout);
    void PrintReport(std::span<const ReportPage> pages);

    Dialogs& dialogs_;
    ReportOutput& reports_;
    report::ReportText report_;

private:
    bool refused_ = false;
};

// A report window whose inputs are a part of the project, loaded and stored by the main window;
// its reports carry the project's header unless a source is set.
class ProjectReportWindow : public ReportWindow {
    Q_OBJECT
public:
    // `project` supplies the waters the window takes values from and the report header.
    ProjectReportWindow(Dialogs& dialogs, ReportOutput& reports, const app::Project& project,
                        QWidget* parent = nullptr);

    // The header lines of the report; by default those of the project under the signature the
    // program writes.
    void SetReportHeaderSource(std::function<ReportHeader()> source);

protected:
    ReportHeader CurrentHeader() const { return header_(); }

    const app::Project& project_;

private:
    std::function<ReportHeader()> header_;
};

// Sets a value label and clears it (the text of a value never computed).
void SetValue(QLabel& label, long double x, int width = 8, int decimals = 3);

} // namespace zeb::gui
