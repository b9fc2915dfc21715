// The diagram window: its controls in both languages, the tooltips of the drawn points, export
// and printing through the scripted dialogs, and the "Dia&gram" buttons of the result windows.

#include "result_test_support.h"

#include "app/number_format.h"
#include "diagram/equilibrium.h"
#include "gui/blend_saturation_window.h"
#include "gui/blend_series_window.h"
#include "gui/diagram_window.h"
#include "gui/dosage_window.h"
#include "gui/help_window.h"
#include "gui/progress_window.h"
#include "gui/resources.h"
#include "gui/saturation_window.h"
#include "results/blend_series.h"

#include <QComboBox>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace zeb;
using namespace zeb::gui;
using namespace zeb::gui::test;

namespace {

QByteArray Head(const QString& file, int n) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(n);
}

QString PdfText(const QString& file) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class DiagramWindowTest : public QObject {
    Q_OBJECT

    ReportFrontEnd front;
    ProgressWindow progress;
    DiagramWindow window{front.dialogs, progress};
    app::Project project = ExampleProject();
    QTemporaryDir dir;

    void ShowWaterA() {
        window.ShowEquilibrium(diagram::ComputeWaterDiagram(project.water(app::WaterId::A), "A"),
                               FixedHeader());
    }

private slots:
    void init() {
        window.ApplyTexts(app::Language::German);
        front.dialogs.messages.clear();
        front.dialogs.unanswered.clear();
    }

    void controlsInBothLanguages() {
        ShowWaterA();
        const std::pair<const char*, QStringList> buttons[] = {
            {"buttonZoomIn", {"&Vergrößern", "Zoom &in"}},
            {"buttonZoomOut", {"Ver&kleinern", "Zoom &out"}},
            {"buttonPrint", {"&Drucken", "&Print"}},
            {"buttonExport", {"&Exportieren...", "&Export..."}},
            {"buttonQuit", {"&Quit", "&Quit"}},
        };
        for (int lang = 0; lang < 2; ++lang) {
            window.ApplyTexts(lang == 0 ? app::Language::German : app::Language::English);
            for (const auto& [name, texts] : buttons) {
                auto* b = window.findChild<QPushButton*>(name);
                QVERIFY2(b, name);
                QCOMPARE(b->text(), texts[lang]);
            }
            QCOMPARE(window.findChild<QRadioButton*>("radioKs43")->text(),
                     lang == 0 ? QString("KS 4.3 / freies CO2") : QString("KS 4.3 / free CO2"));
        }
        QCOMPARE(window.windowTitle(), QString("Diagram"));
        auto* combo = window.findChild<QComboBox*>("comboPaths");
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->itemText(0), QString("KS4.3/KB8.2"));
    }

    void zoomStepsToTheWholeCurve() {
        ShowWaterA();
        auto* in = window.findChild<QPushButton*>("buttonZoomIn");
        auto* out = window.findChild<QPushButton*>("buttonZoomOut");
        QVERIFY(!in->isEnabled());
        for (int level = 1; level < diagram::kZoomLevels; ++level) {
            out->click();
            QCOMPARE(window.view().zoom, level);
        }
        QVERIFY(!out->isEnabled());
        in->click();
        QCOMPARE(window.view().zoom, diagram::kZoomLevels - 2);
        window.findChild<QRadioButton*>("radioHco3")->click();
        QCOMPARE(window.view().axes, diagram::Axes::Hco3Co2);
    }

    void hoveringAPointShowsItsValues() {
        window.ApplyTexts(app::Language::English);
        // The canvas maps the page to its size when the picture is set.
        window.canvas().resize(1100, 760);
        ShowWaterA();
        // 3 water points and 7 path ends.
        QCOMPARE(window.canvas().markers().size(), std::size_t{10});
        // The water's points come first, in column order.
        const render::Marker& water = window.canvas().markers()[2];
        const QPointF at =
            render::PageTransform(QRectF(window.canvas().rect())).map(water.position);
        const render::Marker* hit = window.canvas().MarkerAt(at + QPointF(2, 2));
        QVERIFY(hit);
        QCOMPARE(hit->lines.front(), QString("A: KB8.2/pH(T)"));
        const diagram::WaterPoint& p = window.equilibrium().columns[2].point;
        QVERIFY(hit->lines.contains(
            QString::fromStdString("pH(Tcalc)  " + std::string(app::FormatFixed(p.pH, 1, 3)))));
        QVERIFY(!window.canvas().MarkerAt(QPointF(2, 2)));
    }

    void exportsEachFormat() {
        ShowWaterA();
        const std::pair<QString, QByteArray> files[] = {
            {dir.filePath("a.png"), "\x89PNG"},
            {dir.filePath("a.svg"), "<?xml"},
            {dir.filePath("a.pdf"), "%PDF"},
        };
        for (const auto& [file, magic] : files) {
            front.dialogs.fileNames.append(file);
            Click(window, "buttonExport");
            QCOMPARE(Head(file, magic.size()), magic);
        }
        QVERIFY(front.dialogs.messages.isEmpty());
        QCOMPARE(front.dialogs.fileRequests.back().defaultSuffix, QString("png"));
        QVERIFY(PdfText(dir.filePath("a.pdf")).contains("Kalk-Kohlensäure-Gleichgewicht"));

        // An existing file is replaced only when the user says so.
        const QByteArray before = Head(dir.filePath("a.svg"), 1 << 20);
        window.findChild<QPushButton*>("buttonZoomOut")->click();
        front.dialogs.fileNames.append(dir.filePath("a.svg"));
        front.dialogs.answers.append(MessageAnswer::No);
        Click(window, "buttonExport");
        QCOMPARE(front.dialogs.messages.size(), 1);
        QVERIFY(front.dialogs.messages[0].text.endsWith("Wollen Sie die Datei überschreiben?"));
        QCOMPARE(Head(dir.filePath("a.svg"), 1 << 20), before);

        // A name without a known extension is refused with a message, nothing written.
        front.dialogs.fileNames.append(dir.filePath("a.gif"));
        Click(window, "buttonExport");
        QCOMPARE(front.dialogs.messages.size(), 2);
        QVERIFY(front.dialogs.messages[1].text.contains(".png, .svg oder .pdf"));
        QVERIFY(!QFile::exists(dir.filePath("a.gif")));

        // A file that cannot be written names itself.
        const QString blocked = dir.filePath("missing/a.pdf");
        front.dialogs.fileNames.append(blocked);
        Click(window, "buttonExport");
        QCOMPARE(front.dialogs.messages.size(), 3);
        QVERIFY(front.dialogs.messages[2].text.startsWith(blocked + " ist nicht beschreibbar: "));
    }

    void printsLandscapeWithTheReportHeader() {
        const results::BlendSeriesResult series = results::ComputeBlendSeries(
            project.water(app::WaterId::A), project.water(app::WaterId::B));
        window.ShowSeries(series, 'A', 'B', FixedHeader());
        const QString pdf = dir.filePath("print.pdf");
        QPageLayout::Orientation orientation = QPageLayout::Portrait;
        front.dialogs.printHandlers.append([&](QPrinter& printer, const PrintDialogRequest&) {
            orientation = printer.pageLayout().orientation();
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        Click(window, "buttonPrint");
        QCOMPARE(orientation, QPageLayout::Landscape);
        const QString text = PdfText(pdf);
        // pdftotext gives "fi" as its ligature.
        QVERIFY2(text.contains("ZEB 4.1 project"), qPrintable(text));
        QVERIFY(text.contains("/data/example.zeb"));
        QVERIFY(text.contains("06.12.2026 16:30:00"));
        QVERIFY(text.contains("Mischungsreihe"));
        QVERIFY(text.contains("Dc = 5 mg/L"));
        // Not a zoomable diagram: its controls are hidden.
        QVERIFY(window.findChild<QPushButton*>("buttonZoomOut")->isHidden());
    }

    void helpPageExplainsTheCurveInBothLanguages() {
        InitResources();
        const std::pair<app::Language, QString> pages[] = {
            {app::Language::German, "Kohlendioxid zugegeben oder entfernt"},
            {app::Language::English, "Carbon dioxide is then added or removed"},
        };
        constexpr int kDiagramHelp = 21; // the context the diagram window is registered with
        for (const auto& [language, sentence] : pages) {
            QFile file(QLatin1Char(':') + HelpPageUrl(kDiagramHelp, language).path());
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
            QVERIFY(file.fileName().endsWith("/diagrams.html"));
            QVERIFY(QString::fromUtf8(file.readAll()).contains(sentence));
        }
    }

    void resultWindowsAskForTheirDiagram() {
        DosageWindows dosage{front.dialogs};
        SaturationWindow saturation{front.dialogs, front.reports, dosage, progress};
        BlendSaturationWindow blend{front.dialogs, front.reports, dosage, progress};
        BlendSeriesWindow series{front.dialogs, front.reports, progress};
        saturation.ApplyTexts(app::Language::German);
        blend.ApplyTexts(app::Language::English);
        QCOMPARE(saturation.findChild<QPushButton*>("buttonDiagram")->text(), QString("Dia&gramm"));
        QCOMPARE(blend.findChild<QPushButton*>("buttonDiagram")->text(), QString("Dia&gram"));
        QSignalSpy s1(&saturation, &SaturationWindow::diagramRequested);
        QSignalSpy s2(&blend, &BlendSaturationWindow::diagramRequested);
        QSignalSpy s3(&series, &BlendSeriesWindow::diagramRequested);
        Click(saturation, "buttonDiagram");
        Click(blend, "buttonDiagram");
        Click(series, "buttonDiagram");
        QCOMPARE(s1.count() + s2.count() + s3.count(), 3);
    }
};

QTEST_MAIN(DiagramWindowTest)
#include "diagram_window_test.moc"
