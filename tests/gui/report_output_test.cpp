// Report output: printing chosen pages in Courier New with the bold header, and saving in the
// "Standard" and "Excel" formats through the report file-format dialog.
#include "result_test_support.h"

#include "app/cp1252.h"
#include "gui/report_format_dialog.h"
#include "gui/report_output.h"
#include "gui/scripted_dialogs.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace zeb;
using namespace zeb::gui;
using zeb::gui::test::ReadBytes;

namespace {

QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A three-page report like the state-of-saturation report: every body line names itself.
report::ReportText ThreePageReport(const std::string& fileName) {
    report::ReportText text;
    report::FillReportHeader(text, "ZEB 4.1 project file (2012)", fileName, "06.12.2026 16:30:00");
    for (int n = 10; n <= 168; ++n)
        text[n] = "        line " + std::to_string(n);
    return text;
}

} // namespace

class ReportOutputTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    ScriptedDialogs dialogs_;

    void ClickSave(QDialog& dialog, const QString& name, const char* radio) {
        dialog.findChild<QLineEdit*>(QStringLiteral("editFileName"))->setText(name);
        dialog.findChild<QRadioButton*>(QLatin1String(radio))->setChecked(true);
        dialog.findChild<QAbstractButton*>(QStringLiteral("buttonSave"))->click();
    }

private slots:
    void init() { dialogs_ = ScriptedDialogs(); }
    void cleanup() {
        QVERIFY2(dialogs_.unanswered.isEmpty(), qPrintable(dialogs_.unanswered.join(u'\n')));
    }

    void printsTheChosenPageWithTheBoldHeader() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");
        const std::string longName = "/data/" + std::string(80, 'n') + "/lab/project.zeb";
        const report::ReportText text = ThreePageReport(longName);
        const QString pdf = dir_.filePath(QStringLiteral("page2.pdf"));
        ReportFormatDialog format(dialogs_);
        ReportOutput output(dialogs_, format);
        dialogs_.printHandlers << [&](QPrinter& printer, const PrintDialogRequest& request) {
            // The dialog opens on pages 1 to 5 with only page 1 chosen.
            [&] {
                QCOMPARE(request.minPage, 1);
                QCOMPARE(request.maxPage, 5);
                QCOMPARE(printer.printRange(), QPrinter::PageRange);
                QCOMPARE(printer.fromPage(), 1);
                QCOMPARE(printer.toPage(), 1);
            }();
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setFromTo(2, 2);
            return true;
        };
        output.Print(nullptr, text, kSaturationReportPages);

        QVERIFY(
            Run(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression("Pages:\\s+1\\n")));
        QStringList lines =
            Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                .split(u'\n', Qt::SkipEmptyParts);
        for (QString& line : lines)
            line = line.trimmed();
        lines.removeAll(QString());
        QVERIFY(lines.size() >= 53);
        QCOMPARE(lines[0], QStringLiteral("ZEB 4.1 project file (2012)"));
        QCOMPARE(lines[1], QString::fromStdString(longName.substr(0, 80)));
        QCOMPARE(lines[2], QString::fromStdString(longName.substr(80)));
        QCOMPARE(lines[3], QStringLiteral("line 69"));
        QCOMPARE(lines[52], QStringLiteral("line 118"));
        QVERIFY(!lines.contains(QStringLiteral("line 68")));
        QVERIFY(!lines.contains(QStringLiteral("line 119")));

        const QString fonts = Run(QStringLiteral("pdffonts"), {pdf});
        QVERIFY2(fonts.contains(QStringLiteral("Mono-Bold")), qPrintable(fonts));
        QVERIFY2(fonts.contains(QRegularExpression("Mono(-Regular)?\\s")), qPrintable(fonts));
    }

    void cancelledPrintDialogPrintsNothing() {
        ReportFormatDialog format(dialogs_);
        ReportOutput output(dialogs_, format);
        dialogs_.printHandlers << [](QPrinter&, const PrintDialogRequest&) { return false; };
        output.Print(nullptr, ThreePageReport("x.zeb"), kSaturationReportPages);
        QCOMPARE(dialogs_.printRequests.size(), 1);
    }

    void savesBothFormats() {
        report::ReportText text;
        text[3] = "        ZEB 4.1 project file (2012)";
        text[11] = "        Brunnen 3";
        text[13] = "        pH(T)            7.000";
        text[14] = "        T               10.000  °C";
        text[15] = "        Anteil A  50.5  x y";
        const report::ReportLayout layout{16, 15, 13, {{15, 15, ";;"}}};
        ReportFormatDialog format(dialogs_);
        format.ApplyTexts(app::Language::English);
        ReportOutput output(dialogs_, format);
        QDialog window;
        window.setObjectName(QStringLiteral("TForm4"));

        const QString standard = dir_.filePath(QStringLiteral("standard.txt"));
        dialogs_.modalHandlers << [&](QDialog& d) {
            QVERIFY(d.findChild<QRadioButton*>(QStringLiteral("radioStandard"))->isChecked());
            ClickSave(d, standard, "radioStandard");
        };
        QVERIFY(output.Save(&window, text, layout));
        QByteArray expected = "\r\n\r\n        ZEB 4.1 project file (2012)\r\n" +
                              QByteArray("\r\n").repeated(7) + "        Brunnen 3\r\n\r\n" +
                              "        pH(T)            7.000\r\n" +
                              "        T               10.000  \xb0"
                              "C\r\n" +
                              "        Anteil A  50.5  x y\r\n\r\n";
        QCOMPARE(ReadBytes(standard), expected);

        const QString excel = dir_.filePath(QStringLiteral("excel.csv"));
        dialogs_.modalHandlers << [&](QDialog& d) {
            // The name of the last save of this window is offered again.
            QCOMPARE(d.findChild<QLineEdit*>(QStringLiteral("editFileName"))->text(), standard);
            ClickSave(d, excel, "radioExcel");
        };
        QVERIFY(output.Save(&window, text, layout));
        expected = ";\r\n;\r\nZEB 4.1 project file (2012);\r\n" + QByteArray(";\r\n").repeated(7) +
                   "Brunnen 3;\r\n;\r\npH(T);7,000;\r\nT;10,000;\xb0"
                   "C;\r\n" +
                   "Anteil A;;;50,5;x y;\r\n\r\n";
        QCOMPARE(ReadBytes(excel), expected);
        QCOMPARE(output.rememberedName(&window), excel);

        // Each window keeps its own format: another starts with "Standard", this one with "Excel".
        QDialog other;
        other.setObjectName(QStringLiteral("TForm15"));
        QStringList offered;
        const auto note = [&](QDialog& d) {
            offered << (d.findChild<QRadioButton*>(QStringLiteral("radioExcel"))->isChecked()
                            ? QStringLiteral("Excel")
                            : QStringLiteral("Standard"));
            d.reject();
        };
        dialogs_.modalHandlers << note << note;
        QVERIFY(!output.Save(&other, text, layout));
        QVERIFY(!output.Save(&window, text, layout));
        QCOMPARE(offered, (QStringList{QStringLiteral("Standard"), QStringLiteral("Excel")}));
    }

    void replaceQuestionNoKeepsTheDialogOpen() {
        const QString file = dir_.filePath(QStringLiteral("old.txt"));
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("old");
        }
        ReportFormatDialog format(dialogs_);
        format.ApplyTexts(app::Language::German);
        ReportOutput output(dialogs_, format);
        dialogs_.answers << MessageAnswer::No;
        bool stayedOpen = false;
        dialogs_.modalHandlers << [&](QDialog& d) {
            ClickSave(d, file, "radioStandard");
            stayedOpen = d.isVisible() &&
                         d.findChild<QLineEdit*>(QStringLiteral("editFileName"))->text() == file;
            d.findChild<QAbstractButton*>(QStringLiteral("buttonCancel"))->click();
        };
        QVERIFY(!output.Save(nullptr, ThreePageReport("x.zeb"), {259, 168, 13, {}}));
        QVERIFY(stayedOpen);
        QCOMPARE(dialogs_.messages.size(), 1);
        QCOMPARE(dialogs_.messages[0].text,
                 file + QStringLiteral(" existiert bereits. Wollen Sie die Datei überschreiben?"));
        QCOMPARE(ReadBytes(file), QByteArray("old"));

        dialogs_.answers << MessageAnswer::Yes;
        dialogs_.modalHandlers << [&](QDialog& d) { ClickSave(d, file, "radioStandard"); };
        QVERIFY(output.Save(nullptr, ThreePageReport("x.zeb"), {259, 168, 13, {}}));
        QCOMPARE(ReadBytes(file).count("\r\n"), 259);
    }

    void saveNeedsANameAndReportsWriteFailures() {
        ReportFormatDialog format(dialogs_);
        format.ApplyTexts(app::Language::English);
        ReportOutput output(dialogs_, format);
        auto* save = format.findChild<QAbstractButton*>(QStringLiteral("buttonSave"));
        format.SetFileName(QString());
        QVERIFY(!save->isEnabled());
        format.SetFileName(QStringLiteral("a.txt"));
        QVERIFY(save->isEnabled());

        const QString bad = dir_.filePath(QStringLiteral("missing/r.txt"));
        dialogs_.modalHandlers << [&](QDialog& d) { ClickSave(d, bad, "radioStandard"); };
        QVERIFY(!output.Save(nullptr, ThreePageReport("x.zeb"), {20, 20, 13, {}}));
        QCOMPARE(dialogs_.messages.size(), 1);
        QVERIFY(dialogs_.messages[0].text.startsWith(bad + QStringLiteral(" cannot be written: ")));
    }
};

QTEST_MAIN(ReportOutputTest)
#include "report_output_test.moc"
