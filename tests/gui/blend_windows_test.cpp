// The saturation-of-the-blend window with the dosage windows it shares, and the blend-series
// window: what they show of the computations, their captions and labels, and their reports.

#include "result_test_support.h"

#include "app/number_format.h"
#include "gui/blend_saturation_window.h"
#include "gui/blend_series_window.h"
#include "gui/dosage_window.h"
#include "gui/progress_window.h"
#include "gui/saturation_window.h"
#include "report/blend_report.h"
#include "report/series_report.h"
#include "results/blend_saturation.h"
#include "results/blend_series.h"

#include <QPrinter>
#include <QTemporaryDir>

using namespace zeb;
using namespace zeb::gui;
using namespace zeb::gui::test;

class BlendWindowsTest : public QObject {
    Q_OBJECT

    ReportFrontEnd front;
    ProgressWindow progress;
    DosageWindows dosage{front.dialogs};
    SaturationWindow saturation{front.dialogs, front.reports, dosage, progress};
    BlendSaturationWindow blend{front.dialogs, front.reports, dosage, progress};
    BlendSeriesWindow series{front.dialogs, front.reports, progress};
    app::Project project = ExampleProject();

    static QString F(long double x, int width = 8, int decimals = 3) {
        return Q(app::FormatFixed(x, width, decimals));
    }

private slots:
    void blendShowsTheComputation() {
        blend.Run(project.parts.waters, FixedHeader());
        const results::BlendSaturation r = results::ComputeBlendSaturation(project.parts.waters);
        QVERIFY(r.computed);
        for (int k = 0; k < 3; ++k) {
            const results::BlendSaturationColumn& c = r.columns[k];
            const auto value = [&](const char* row) {
                return LabelText(blend, QStringLiteral("value%1%2").arg(row).arg(k + 1));
            };
            QCOMPARE(value("MValue"), F(c.mValue));
            QCOMPARE(value("Dic"), F(c.dic));
            QCOMPARE(value("Tcalc"), F(r.blend.blendTemp));
            QCOMPARE(value("PHTcalc"), F(c.pH));
            QCOMPARE(value("PHA"), F(c.pHA));
            QCOMPARE(value("SI"), F(c.si));
            QCOMPARE(value("PHc"), F(c.pHc));
            QCOMPARE(value("IosCalculated"), F(c.ionicStrength));
            QCOMPARE(value("DcMmol"), F(c.dcMmol));
            QCOMPARE(value("DcMg"), F(c.dcMg));
            QCOMPARE(dosage.at("TForm54").valueLabel(chem::Chemical::CaOH2, k)->text(),
                     F(r.dosage.at(chem::Target::pH78, chem::Chemical::CaOH2, k).pValue));
        }
        QCOMPARE(LabelText(blend, "valueShareB"), Q(project.water(app::WaterId::B).blendPercent));
        QCOMPARE(LabelText(blend, "valueTextC"), Q(project.water(app::WaterId::C).text));
        const report::ReportText expected =
            report::BuildBlendReport(r, app::Language::German, FixedHeader().signature,
                                     FixedHeader().fileName, FixedHeader().dateTime);
        for (int n = 1; n <= report::ReportText::kCapacity; ++n)
            QCOMPARE(blend.report()[n], expected[n]);

        QTemporaryDir dir;
        front.ScriptSave(dir.filePath("blend.txt"));
        Click(blend, "buttonSave");
        QCOMPARE(SavedLines(dir.filePath("blend.txt")).size(), 241);
        const QString pdf = dir.filePath("blend.pdf");
        front.dialogs.printHandlers.append([&](QPrinter& printer, const PrintDialogRequest&) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setPrintRange(QPrinter::AllPages);
            return true;
        });
        Click(blend, "buttonPrint");
        QFile out(pdf);
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QByteArray bytes = out.readAll();
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"), 3);
    }

    void blendDosageWindowsCarryMAndTheDicFamily() {
        // A single water of the KS/KB family ran last; the blend takes the windows over.
        saturation.Run(project.water(app::WaterId::A), FixedHeader());
        QCOMPARE(LabelText(dosage.at("TForm10"), "headingColumn1"), QString("KS4.3/KB8.2"));
        QStringList captions, headings;
        front.dialogs.modalHandlers = {
            [&](QDialog& w) {
                captions << w.windowTitle();
                Click(w, "buttonSI0");
            },
            [&](QDialog& w) {
                captions << w.windowTitle();
                for (int k = 1; k <= 3; ++k)
                    headings << LabelText(w, QStringLiteral("headingColumn%1").arg(k));
            },
        };
        blend.Open(project, FixedHeader());
        QCOMPARE(captions,
                 (QStringList{"Calcitsättigung der Mischung M", "Chemikalienbedarf bis SI=0 M"}));
        QCOMPARE(headings, (QStringList{"KS4.3/DIC", "DIC/pH(T)", "KB8.2/DIC"}));
        QCOMPARE(blend.windowTitle(), QString("Calcitsättigung der Mischung"));
        QCOMPARE(dosage.at("TForm10").windowTitle(), QString("Chemikalienbedarf bis SI=0"));
    }

    void blendWithoutSharesSaysWhy() {
        std::array<app::WaterAnalysis, 3> waters = project.parts.waters;
        for (app::WaterAnalysis& w : waters)
            w.blendPercent = "   0.000";
        blend.ApplyTexts(app::Language::English);
        blend.Run(waters, FixedHeader());
        QCOMPARE(LabelText(blend, "labelStatus"),
                 QString("Nothing computed: no water with pH > 2 and KS 4.3 > 0, or no share "
                         "above 0 %"));
        QCOMPARE(LabelText(blend, "valueMValue1"), QString());
        QCOMPARE(LabelText(blend, "valueTextA"), Q(waters[0].text));
        QCOMPARE(LabelText(blend, "valueShareA"), QString("   0.000"));
        blend.ApplyTexts(app::Language::German);
    }

    void seriesShowsTheComputation() {
        const app::WaterAnalysis& a = project.water(app::WaterId::A);
        const app::WaterAnalysis& c = project.water(app::WaterId::C);
        series.Run(a, c, FixedHeader());
        const results::BlendSeriesResult r = results::ComputeBlendSeries(a, c);
        QVERIFY(r.computed);
        for (int j = 0; j < results::kBlendSeriesSteps; ++j) {
            const results::BlendSeriesColumn& col = r.columns[j];
            const auto value = [&](const QString& row) {
                return LabelText(series, QStringLiteral("value%1_%2").arg(row).arg(j));
            };
            QCOMPARE(value("Tcalc"), F(col.tCalc, 6, 1));
            QCOMPARE(value("Hardness"), F(col.hardness, 6, 1));
            QCOMPARE(value("SO4"), F(col.so4Mg, 6, 1));
            QCOMPARE(value("NO3"), F(col.no3Mg, 6, 1));
            for (int k = 0; k < 3; ++k) {
                QCOMPARE(value(QStringLiteral("PH%1").arg(k + 1)), F(col.pH[k], 6, 2));
                QCOMPARE(value(QStringLiteral("Dc%1").arg(k + 1)), F(col.dcMg[k], 6, 1));
            }
        }
        QCOMPARE(LabelText(series, "shareFirst0"), QString("100 %"));
        QCOMPARE(LabelText(series, "shareFirst10"), QString("0%"));
        QCOMPARE(LabelText(series, "shareSecond0"), QString("0 %"));
        QCOMPARE(LabelText(series, "shareSecond10"), QString("100%"));
        QCOMPARE(LabelText(series, "rowPHPair3"), QString("KB8.2/pH(T) | KB8.2/DIC"));
        const report::ReportText expected =
            report::BuildSeriesReport(r, app::Language::German, FixedHeader().signature,
                                      FixedHeader().fileName, FixedHeader().dateTime);
        for (int n = 1; n <= report::ReportText::kCapacity; ++n)
            QCOMPARE(series.report()[n], expected[n]);
    }

    void seriesLabelsTheWaterPairOnlyWhileShown() {
        QStringList shown;
        front.dialogs.modalHandlers.append([&](QDialog& w) {
            shown << w.windowTitle() << LabelText(w, "labelFraction1")
                  << LabelText(w, "labelFraction2") << LabelText(w, "labelText1")
                  << LabelText(w, "labelText2");
        });
        series.Open(project, app::WaterId::B, app::WaterId::C, FixedHeader());
        QCOMPARE(shown,
                 (QStringList{"Mischung B / C", "Anteil   B", "Anteil   C", "Text  B", "Text  C"}));
        QCOMPARE(series.windowTitle(), QString("Mischung"));
        QCOMPARE(LabelText(series, "labelFraction1"), QString("Anteil  "));
        QCOMPARE(LabelText(series, "labelFraction2"), QString("Anteil  "));
        series.ApplyTexts(app::Language::English);
        QCOMPARE(LabelText(series, "labelFraction1"), QString("Fraction"));
        QCOMPARE(LabelText(series, "labelText2"), QString("Text  C"));
        series.ApplyTexts(app::Language::German);
    }

    void seriesGateAndSave() {
        app::WaterAnalysis second = project.water(app::WaterId::B);
        second.ks43 = "   0.000";
        series.Run(project.water(app::WaterId::A), second, FixedHeader());
        QCOMPARE(LabelText(series, "labelStatus"),
                 QString("Nichts berechnet: KS 4.3 ≤ 0 in einem der beiden Wässer"));
        QCOMPARE(LabelText(series, "valuePH1_0"), QString());
        QCOMPARE(LabelText(series, "valueText2"), Q(second.text));

        QTemporaryDir dir;
        series.Run(project.water(app::WaterId::A), project.water(app::WaterId::B), FixedHeader());
        const QString file = dir.filePath("series.csv");
        front.ScriptSave(file, true);
        Click(series, "buttonSave");
        const std::vector<std::string> expected =
            report::SeriesReportLines(series.report(), report::ReportFormat::Excel);
        const QStringList lines = SavedLines(file);
        QCOMPARE(lines.size(), 33);
        // The share rows keep their first field joined to the label.
        QCOMPARE(lines[14], Q(expected[14]));
        QCOMPARE(lines[15], Q(expected[15]));
        QVERIFY(front.dialogs.unanswered.isEmpty());
    }
};

QTEST_MAIN(BlendWindowsTest)
#include "blend_windows_test.moc"
