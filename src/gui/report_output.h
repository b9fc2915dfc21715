#pragma once
// Printing and saving the ReportText of a result window. A result window keeps its report and
// its page division and calls
//     mainWindow.reports().Print(this, report_, kPages);          // "&Print"
//     mainWindow.reports().Save(this, report_, kLayout);          // "&Save"

#include "report/report_text.h"

#include <QMap>
#include <QString>

#include <functional>
#include <span>
#include <string>
#include <vector>

class QFont;
class QPrinter;
class QWidget;

namespace zeb::gui {

class Dialogs;
class ReportFormatDialog;

// Lines of one printed page below the seven header lines, numbered as in the report.
struct ReportPage {
    int firstLine;
    int lastLine;
};

// The pages of the state-of-saturation report (line 118 ends page 2 and starts page 3).
inline constexpr ReportPage kSaturationReportPages[] = {{8, 68}, {69, 118}, {118, 168}};

inline constexpr int kPrintDialogMaxPage = 5;
inline constexpr int kHeaderLines = 7;

// "Courier New", 10 pt; fontconfig stands in a metric twin where it is missing.
QFont ReportFont(bool bold);

// Draws the chosen pages (all, or the printer's from-to range) on the printer: lines 1 to 7 in
// bold, then the page's body. Returns the number of pages printed.
int PrintReportPages(QPrinter& printer, const report::ReportText& report,
                     std::span<const ReportPage> pages);

class ReportOutput {
public:
    ReportOutput(Dialogs& dialogs, ReportFormatDialog& formatDialog);

    // The print dialog offers pages 1 to 5 with 1 to 1 preset; a cancelled dialog prints nothing.
    void Print(QWidget* window, const report::ReportText& report,
               std::span<const ReportPage> pages);

    // TForm17 with the name and format last used for this window (by objectName; "Standard" at
    // first, whatever another window chose), then the file in the chosen format. A file that cannot
    // be written is reported with its name and the reason. Returns whether a file was written.
    bool Save(QWidget* window, const report::ReportText& report,
              const report::ReportLayout& layout);
    // The same for a report whose saved lines need more than a layout (the blend series).
    using ReportLinesFunction =
        std::function<std::vector<std::string>(report::ReportFormat format)>;
    bool Save(QWidget* window, const ReportLinesFunction& lines);

    QString rememberedName(const QWidget* window) const;

private:
    Dialogs& dialogs_;
    ReportFormatDialog& formatDialog_;
    QMap<QString, QString> rememberedNames_;
    QMap<QString, report::ReportFormat> rememberedFormats_;
};

} // namespace zeb::gui
