#include "gui/report_output.h"

#include "app/project_file.h"
#include "gui/dialogs.h"
#include "gui/language.h"
#include "gui/report_format_dialog.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace zeb::gui {

QFont ReportFont(bool bold) {
    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setBold(bold);
    return font;
}

int PrintReportPages(QPrinter& printer, const report::ReportText& report,
                     std::span<const ReportPage> pages) {
    int from = 1;
    int to = static_cast<int>(pages.size());
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = printer.fromPage();
        to = std::max(from, printer.toPage());
    }
    const QFont regular = ReportFont(false);
    const QFont bold = ReportFont(true);
    QPainter painter;
    int printed = 0;
    for (int pageNo = from; pageNo <= to && pageNo <= static_cast<int>(pages.size()); ++pageNo) {
        const ReportPage& page = pages[static_cast<size_t>(pageNo - 1)];
        // All chosen pages go into one job: a PDF file per page would overwrite itself.
        if (printed == 0) {
            if (!painter.begin(&printer))
                return 0;
        } else {
            printer.newPage();
        }
        const QFontMetrics metrics(regular, &printer);
        const int height = painter.viewport().height();
        const int lineCount = kHeaderLines + page.lastLine - page.firstLine + 1;
        // A page taller than the paper keeps every line by closing up the leading.
        const int step = std::min(metrics.lineSpacing(), height / std::max(1, lineCount));
        int y = metrics.ascent();
        auto draw = [&](int lineNo, const QFont& font) {
            painter.setFont(font);
            const std::string& line = report[lineNo];
            painter.drawText(0, y,
                             QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
            y += step;
        };
        for (int n = 1; n <= kHeaderLines; ++n)
            draw(n, bold);
        for (int n = page.firstLine; n <= page.lastLine; ++n)
            draw(n, regular);
        ++printed;
    }
    if (printed > 0)
        painter.end();
    return printed;
}

ReportOutput::ReportOutput(Dialogs& dialogs, ReportFormatDialog& formatDialog)
    : dialogs_(dialogs), formatDialog_(formatDialog) {}

void ReportOutput::Print(QWidget* window, const report::ReportText& report,
                         std::span<const ReportPage> pages) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(1, 1);
    if (!dialogs_.Print(window, printer, {1, kPrintDialogMaxPage}))
        return;
    PrintReportPages(printer, report, pages);
}

QString ReportOutput::rememberedName(const QWidget* window) const {
    return rememberedNames_.value(window ? window->objectName() : QString());
}

bool ReportOutput::Save(QWidget* window, const report::ReportText& report,
                        const report::ReportLayout& layout) {
    return Save(window, [&report, &layout](report::ReportFormat format) {
        return report::ReportLines(report, layout, format);
    });
}

bool ReportOutput::Save(QWidget* window, const ReportLinesFunction& lines) {
    const QString key = window ? window->objectName() : QString();
    formatDialog_.SetFileName(rememberedNames_.value(key));
    formatDialog_.SelectFormat(rememberedFormats_.value(key, report::ReportFormat::Standard));
    if (dialogs_.RunModal(formatDialog_) != QDialog::Accepted)
        return false;
    const QString name = formatDialog_.fileName();
    rememberedNames_[key] = name;
    const std::optional<report::ReportFormat> format = formatDialog_.format();
    if (!format)
        return false;
    rememberedFormats_[key] = *format;
    try {
        report::WriteReportFile(name.toStdString(), lines(*format));
    } catch (const app::FileError& e) {
        dialogs_.Message(window, FileErrorText(e, app::FileAccess::Write, formatDialog_.language()),
                         MessageIcon::Warning, MessageButtons::Ok);
        return false;
    }
    return true;
}

} // namespace zeb::gui
