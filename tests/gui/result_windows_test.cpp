// The result windows: the state of saturation with the eleven dosage windows, the saturation of
// the blend, the blend series, the species concentrations and the progress window. What they
// show of the computations, their captions, headings and status lines, and their reports.

#include "result_test_support.h"

#include "app/number_format.h"
#include "gui/blend_saturation_window.h"
#include "gui/blend_series_window.h"
#include "gui/dosage_window.h"
#include "gui/progress_window.h"
#include "gui/saturation_window.h"
#include "gui/species_window.h"
#include "report/blend_report.h"
#include "report/saturation_report.h"
#include "report/series_report.h"
#include "report/species_report.h"
#include "results/blend_saturation.h"
#include "results/blend_series.h"
#include "results/saturation.h"
#include "results/species.h"

#include <QPalette>
#include <QPrinter>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <stdexcept>
#include <thread>

using namespace zeb;
using namespace zeb::gui;
using namespace zeb::gui::test;

namespace {

QString F(long double x, int width = 8, int decimals = 3) {
    return Q(app::FormatFixed(x, width, decimals));
}

QString Value(const QWidget& window, const QString& row, int column) {
    return LabelText(window, QStringLiteral("value%1%2").arg(row).arg(column));
}

// The report a window built, against the report of the same result built here.
void CompareReports(const report::ReportText& shown, const report::ReportText& expected) {
    for (int n = 1; n <= report::ReportText::kCapacity; ++n)
        QCOMPARE(shown[n], expected[n]);
}

template <class Build> report::ReportText WithFixedHeader(Build build) {
    const ReportHeader h = FixedHeader();
    return build(app::Language::German, h.signature, h.fileName, h.dateTime);
}

} // namespace

class ResultWindowsTest : public QObject {
    Q_OBJECT

    ReportFrontEnd front;
    ProgressWindow progress;
    DosageWindows dosage{front.dialogs};
    SaturationWindow saturation{front.dialogs, front.reports, dosage, progress};
    BlendSaturationWindow blend{front.dialogs, front.reports, dosage, progress};
    BlendSeriesWindow series{front.dialogs, front.reports, progress};
    SpeciesWindow species{front.dialogs, front.reports, progress};
    app::Project project = ExampleProject();
    QTemporaryDir dir;

    // "&Print" of the window to a PDF file; the number of pages printed.
    int PrintedPages(QWidget& window) {
        const QString pdf = dir.filePath(window.objectName() + ".pdf");
        front.dialogs.printHandlers.append([&](QPrinter& printer, const PrintDialogRequest& r) {
            if (r.minPage != 1 || r.maxPage != 5)
                return false;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setPrintRange(QPrinter::AllPages);
            return true;
        });
        Click(window, "buttonPrint");
        QFile out(pdf);
        if (!out.open(QIODevice::ReadOnly))
            return 0;
        const QByteArray bytes = out.readAll();
        return int(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"));
    }

private slots:
    void init() {
        for (ResultWindow* w :
             std::initializer_list<ResultWindow*>{&saturation, &blend, &series, &species})
            w->ApplyTexts(app::Language::German);
        for (DosageWindow* w : dosage.all())
            w->ApplyTexts(app::Language::German);
    }
    void cleanup() { QVERIFY(front.dialogs.unanswered.isEmpty()); }

    void saturationShowsTheComputationOfEveryWater() {
        using C = results::SaturationColumn;
        const std::pair<const char*, long double C::*> rows[] = {
            {"MValue", &C::mValue},   {"Dic", &C::dic},
            {"PValue", &C::pValue},   {"Anions", &C::anions},
            {"Cations", &C::cations}, {"PHTcalc", &C::pH},
            {"PHA", &C::pHA},         {"SI", &C::si},
            {"PHc", &C::pHc},         {"IosCalculated", &C::ionicStrength},
            {"DcMmol", &C::dcMmol},   {"DcMg", &C::dcMg},
        };
        using V = results::DosageValues;
        // Indexed by DosageQuantity.
        const long double V::*quantities[] = {&V::doseMmol, &V::pH,     &V::ionicStrength,
                                              &V::mValue,   &V::pValue, &V::sodiumMg};
        for (app::WaterId id : app::kAllWaters) {
            const app::WaterAnalysis& water = project.water(id);
            saturation.Run(water, FixedHeader());
            const results::WaterSaturation r = results::ComputeSaturation(water);
            QVERIFY(r.computed);
            for (int k = 0; k < 3; ++k) {
                for (const auto& [row, member] : rows)
                    QCOMPARE(Value(saturation, row, k + 1), F(r.columns[k].*member));
                QCOMPARE(Value(saturation, "Tcalc", k + 1), F(r.tCalc));
            }
            QCOMPARE(Value(saturation, "PHCalculated", 1), F(r.pHCalculated));
            QCOMPARE(Value(saturation, "PHMeasured", 1), F(r.pHMeasured));
            QCOMPARE(Value(saturation, "Kb82Calculated", 2), F(r.kb82Calculated));
            QCOMPARE(Value(saturation, "Kb82Measured", 2), F(r.kb82Measured));
            QCOMPARE(Value(saturation, "Ks43Calculated", 3), F(r.ks43Calculated));
            QCOMPARE(Value(saturation, "Ks43Measured", 3), F(r.ks43Measured));
            QCOMPARE(LabelText(saturation, "labelText"), Q(water.text));

            // Every dosage window shows its quantity of the same run.
            for (DosageWindow* w : dosage.all()) {
                const long double V::*quantity = quantities[int(w->kind().quantity)];
                for (chem::Chemical chemical : chem::kAllChemicals) {
                    for (int k = 0; k < 3; ++k) {
                        const V& v = r.dosage.at(w->kind().target, chemical, k);
                        QLabel* label = w->valueLabel(chemical, k);
                        if (quantity == &V::sodiumMg && !results::HasSodiumRow(chemical)) {
                            QVERIFY(!label);
                            continue;
                        }
                        QCOMPARE(label->text(), F(v.*quantity));
                        if (quantity == &V::doseMmol)
                            QCOMPARE(w->valueLabel(chemical, k, true)->text(), F(v.doseMg));
                    }
                }
            }
            CompareReports(saturation.report(), WithFixedHeader([&](auto... header) {
                               return report::BuildSaturationReport(r, water, header...);
                           }));
        }
    }

    void headingsFollowTheFamily_data() {
        QTest::addColumn<QString>("dicMode");
        QTest::addColumn<QStringList>("headings");
        QTest::newRow("KS/KB") << "KSB" << QStringList{"KS4.3/KB8.2", "KS4.3/pH(T)", "KB8.2/pH(T)"};
        QTest::newRow("DIC") << "DIC" << QStringList{"KS4.3/DIC", "DIC/pH(T)", "KB8.2/DIC"};
    }
    void headingsFollowTheFamily() {
        QFETCH(QString, dicMode);
        QFETCH(QStringList, headings);
        app::WaterAnalysis water = project.water(app::WaterId::A);
        water.dicMode = dicMode.toStdString();
        water.dic = "   0.500";
        saturation.Run(water, FixedHeader());
        species.Run(water, FixedHeader());
        for (int k = 0; k < 3; ++k) {
            const QString name = QStringLiteral("headingColumn%1").arg(k + 1);
            QCOMPARE(LabelText(saturation, name), headings[k]);
            QCOMPARE(LabelText(species, name), headings[k]);
            for (DosageWindow* w : dosage.all())
                QCOMPARE(LabelText(*w, name), headings[k]);
        }
    }

    void pHAgreementTurnsRedBeyondFiveHundredths_data() {
        QTest::addColumn<double>("pH1");
        QTest::addColumn<double>("pH2");
        QTest::addColumn<double>("pH3");
        QTest::addColumn<bool>("red");
        QTest::newRow("agree") << 7.50 << 7.52 << 7.54 << false;
        QTest::newRow("3 vs 1 by 0.06") << 7.50 << 7.50 << 7.56 << true;
        QTest::newRow("3 vs 2 by 0.06") << 7.53 << 7.50 << 7.56 << true;
    }
    void pHAgreementTurnsRedBeyondFiveHundredths() {
        QFETCH(double, pH1);
        QFETCH(double, pH2);
        QFETCH(double, pH3);
        QFETCH(bool, red);
        const app::WaterAnalysis& water = project.water(app::WaterId::A);
        results::WaterSaturation r = results::ComputeSaturation(water);
        r.columns[0].pH = pH1;
        r.columns[1].pH = pH2;
        r.columns[2].pH = pH3;
        r.pHDisagree = results::PHValuesDisagree(pH1, pH2, pH3);
        saturation.Show(water, r, FixedHeader());
        auto* diff = saturation.findChild<QLabel*>("labelDiff");
        QCOMPARE(diff->text(), red ? QString("Diff. > 0,05") : QString("Diff. < 0,05"));
        const QColor expected =
            red ? QColor(Qt::red) : saturation.palette().color(QPalette::WindowText);
        QCOMPARE(diff->palette().color(QPalette::WindowText), expected);
        QCOMPARE(saturation.findChild<QLabel*>("rowPHTcalc")->palette().color(QPalette::WindowText),
                 expected);
    }

    void dosageWindowsCarryTheWaterWhileOpen() {
        QStringList captions;
        auto record = [&captions](QDialog& w) { captions << w.windowTitle(); };
        front.dialogs.modalHandlers = {
            [&](QDialog& w) {
                record(w);
                Click(w, "buttonSI0");
                Click(w, "buttonPH78");
            },
            [&](QDialog& w) {
                record(w);
                Click(w, "buttonPH");
            },
            record,
            [&](QDialog& w) {
                record(w);
                Click(w, "buttonNa");
            },
            record,
        };
        saturation.Open(project, app::WaterId::B, FixedHeader());
        QCOMPARE(captions,
                 (QStringList{"Calcitsättigung B", "Chemikalienbedarf bis SI=0 B",
                              "pH-Wert nach Dosierung bis SI=0 B", "Chemikalienbedarf bis pH=7.8 B",
                              "c(Na) nach Dosierung bis pH=7.8 B"}));
        // Every caption is back to its text before the command.
        QStringList after{saturation.windowTitle()};
        for (const char* form : {"TForm10", "TForm30", "TForm9", "TForm55"})
            after << dosage.at(form).windowTitle();
        QCOMPARE(after,
                 (QStringList{"Calcitsättigung", "Chemikalienbedarf bis SI=0",
                              "pH-Wert nach Dosierung bis SI=0", "Chemikalienbedarf bis pH=7.8",
                              "c(Na) nach Dosierung bis pH=7.8"}));
    }

    void saturationGateShowsWhyAndEmptiesEverything() {
        saturation.Run(project.water(app::WaterId::A), FixedHeader());
        app::WaterAnalysis water = project.water(app::WaterId::A);
        water.pH = "   1.500";
        water.text = "acid";
        saturation.Run(water, FixedHeader());
        QVERIFY(!saturation.result().computed);
        QCOMPARE(LabelText(saturation, "labelText"), QString("acid"));
        QCOMPARE(LabelText(saturation, "labelStatus"),
                 QString("Nichts berechnet: pH ≤ 2 oder KS 4.3 ≤ 0"));
        QCOMPARE(Value(saturation, "MValue", 1), QString());
        QCOMPARE(Value(saturation, "DcMg", 3), QString());
        QCOMPARE(LabelText(saturation, "labelDiff"), QString());
        for (DosageWindow* w : dosage.all())
            QCOMPARE(w->valueLabel(chem::Chemical::NaOH, 0)->text(), QString());

        saturation.ApplyTexts(app::Language::English);
        QCOMPARE(LabelText(saturation, "labelStatus"),
                 QString("Nothing computed: pH ≤ 2 or KS 4.3 ≤ 0"));
        saturation.Run(project.water(app::WaterId::A), FixedHeader());
        QVERIFY(saturation.findChild<QLabel*>("labelStatus")->isHidden());
    }

    void languageSwitchRelabelsWindowAndReport() {
        saturation.Run(project.water(app::WaterId::A), FixedHeader());
        QVERIFY(Q(saturation.report()[48]).contains("m-Wert"));
        saturation.ApplyTexts(app::Language::English);
        dosage.at("TForm10").ApplyTexts(app::Language::English);
        QCOMPARE(saturation.windowTitle(), QString("State of saturation"));
        QCOMPARE(LabelText(saturation, "rowPHTcalc"), QString("pH(Tcalc)"));
        QCOMPARE(saturation.findChild<QPushButton*>("buttonSave")->text(), QString("&Save"));
        QVERIFY(Q(saturation.report()[48]).contains("m-value"));
        QCOMPARE(LabelText(dosage.at("TForm10"), "rowNa2CO3Mg"), QString("Na2CO3"));
        QCOMPARE(dosage.at("TForm10").findChild<QPushButton*>("buttonM")->text(),
                 QString("&m-value"));
    }

    void saturationSaveAndPrintGoThroughTheReportFrontEnd() {
        saturation.Run(project.water(app::WaterId::A), FixedHeader());
        const QString file = dir.filePath("a.txt");
        front.ScriptSave(file);
        Click(saturation, "buttonSave");
        const QStringList lines = SavedLines(file);
        QCOMPARE(lines.size(), 259);
        QCOMPARE(lines[47], QString::fromLatin1(saturation.report()[48].c_str()));
        QCOMPARE(front.reports.rememberedName(&saturation), file);
        QCOMPARE(PrintedPages(saturation), 3);
    }

    void blendShowsTheComputation() {
        blend.Run(project.parts.waters, FixedHeader());
        const results::BlendSaturation r = results::ComputeBlendSaturation(project.parts.waters);
        QVERIFY(r.computed);
        using C = results::BlendSaturationColumn;
        const std::pair<const char*, long double C::*> rows[] = {
            {"MValue", &C::mValue}, {"Dic", &C::dic},
            {"PHTcalc", &C::pH},    {"PHA", &C::pHA},
            {"SI", &C::si},         {"PHc", &C::pHc},
            {"DcMmol", &C::dcMmol}, {"IosCalculated", &C::ionicStrength},
            {"DcMg", &C::dcMg},
        };
        for (int k = 0; k < 3; ++k) {
            for (const auto& [row, member] : rows)
                QCOMPARE(Value(blend, row, k + 1), F(r.columns[k].*member));
            QCOMPARE(Value(blend, "Tcalc", k + 1), F(r.blend.blendTemp));
            QCOMPARE(dosage.at("TForm54").valueLabel(chem::Chemical::CaOH2, k)->text(),
                     F(r.dosage.at(chem::Target::pH78, chem::Chemical::CaOH2, k).pValue));
        }
        QCOMPARE(LabelText(blend, "valueShareB"), Q(project.water(app::WaterId::B).blendPercent));
        QCOMPARE(LabelText(blend, "valueTextC"), Q(project.water(app::WaterId::C).text));
        CompareReports(blend.report(), WithFixedHeader([&](auto... header) {
                           return report::BuildBlendReport(r, header...);
                       }));

        front.ScriptSave(dir.filePath("blend.txt"));
        Click(blend, "buttonSave");
        QCOMPARE(SavedLines(dir.filePath("blend.txt")).size(), 241);
        QCOMPARE(PrintedPages(blend), 3);
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
    }

    void seriesShowsTheComputation() {
        const app::WaterAnalysis& a = project.water(app::WaterId::A);
        const app::WaterAnalysis& c = project.water(app::WaterId::C);
        series.Run(a, c, FixedHeader());
        const results::BlendSeriesResult r = results::ComputeBlendSeries(a, c);
        QVERIFY(r.computed);
        for (int j = 0; j < results::kBlendSeriesSteps; ++j) {
            const results::BlendSeriesColumn& col = r.columns[j];
            const auto value = [&](const QString& row) { return Value(series, row + '_', j); };
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
        CompareReports(series.report(), WithFixedHeader([&](auto... header) {
                           return report::BuildSeriesReport(r, header...);
                       }));
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
    }

    void seriesGateAndSave() {
        app::WaterAnalysis second = project.water(app::WaterId::B);
        second.ks43 = "   0.000";
        series.Run(project.water(app::WaterId::A), second, FixedHeader());
        QCOMPARE(LabelText(series, "labelStatus"),
                 QString("Nichts berechnet: KS 4.3 ≤ 0 in einem der beiden Wässer"));
        QCOMPARE(LabelText(series, "valuePH1_0"), QString());
        QCOMPARE(LabelText(series, "valueText2"), Q(second.text));

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
    }

    void speciesShowsTheComputationInScientificNotation() {
        // The value rows of the species, in the order of results::kSpeciesRows.
        const char* const keys[] = {
            "H",     "OH",    "CO2",    "HCO3",    "CO3",    "Ca",    "Mg",      "SO4",    "CaHCO3",
            "CaCO3", "CaSO4", "MgHCO3", "MgCO3",   "MgSO4",  "HSO4",  "CaOH",    "MgOH",   "PO4",
            "H3PO4", "H2PO4", "HPO4",   "CaH2PO4", "CaHPO4", "CaPO4", "MgH2PO4", "MgHPO4", "MgPO4"};
        using C = results::SpeciesColumn;
        const std::pair<const char*, long double C::*> rows[] = {
            {"MValue", &C::mValue}, {"Dic", &C::dic},       {"PValue", &C::pValue},
            {"PHTcalc", &C::pH},    {"Anions", &C::anions}, {"Cations", &C::cations}};
        const app::WaterAnalysis& water = project.water(app::WaterId::B);
        species.Run(water, FixedHeader());
        const results::SpeciesResult r = results::ComputeSpecies(water);
        QVERIFY(r.computed);
        const auto S = [](long double x) { return Q(app::FormatScientific(x, 12)); };
        for (int k = 0; k < 3; ++k) {
            const C& c = r.columns[k];
            for (const auto& [row, member] : rows)
                QCOMPARE(Value(species, row, k + 1), S(c.*member));
            QCOMPARE(Value(species, "Tcalc", k + 1), S(r.tCalc));
            for (int i = 0; i < results::kSpeciesCount; ++i)
                QCOMPARE(Value(species, keys[i], k + 1), S(c.species[i]));
        }
        QCOMPARE(Value(species, "H", 1).size(), 12); // " 1.234E-0003"
        CompareReports(species.report(), WithFixedHeader([&](auto... header) {
                           return report::BuildSpeciesReport(r, water, header...);
                       }));
    }

    void speciesGateShowsWhy() {
        app::WaterAnalysis water = project.water(app::WaterId::C);
        species.Run(water, FixedHeader());
        QVERIFY(species.findChild<QLabel*>("labelStatus")->isHidden());
        water.ks43 = "   0.000";
        species.Run(water, FixedHeader());
        QCOMPARE(LabelText(species, "labelStatus"),
                 QString("Nichts berechnet: pH ≤ 2 oder KS 4.3 ≤ 0"));
        QCOMPARE(Value(species, "MgPO4", 3), QString());
        QCOMPARE(LabelText(species, "labelText"), Q(water.text));
    }

    void progressAppearsOnlyForLongRuns() {
        auto* bar = progress.findChild<QProgressBar*>("ProgressBar1");
        progress.Run([](results::Progress&) {}, results::kSaturationStages);
        QVERIFY(!progress.shownInLastRun());
        // Half the stages, a pause in which the window appears, then the rest.
        int shownInThePause = -1;
        bool visibleInThePause = false;
        QTimer::singleShot(450, &progress, [&] {
            visibleInThePause = progress.isVisible();
            shownInThePause = bar->value();
        });
        progress.Run(
            [&](results::Progress& p) {
                p.Step(26);
                std::this_thread::sleep_for(std::chrono::milliseconds(600));
                p.Step(26);
            },
            results::kSaturationStages, 200);
        QVERIFY(progress.shownInLastRun());
        QVERIFY(visibleInThePause);
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 52);
        QCOMPARE(shownInThePause, 26);
        QCOMPARE(bar->value(), 52);
        QVERIFY(!progress.isVisible());

        // The state of saturation steps through every one of the 52 stages.
        results::Progress counted;
        results::ComputeSaturation(ExampleProject().water(app::WaterId::A),
                                   results::Execution::Parallel, results::Dosage::Tables, &counted);
        QCOMPARE(counted.done(), results::kSaturationStages);
        QCOMPARE(progress.windowTitle(), QString("Berechnung läuft ..."));
        QVERIFY_THROWS_EXCEPTION(
            std::runtime_error,
            progress.Run([](results::Progress&) { throw std::runtime_error("x"); }, 1));
    }
};

QTEST_MAIN(ResultWindowsTest)
#include "result_windows_test.moc"
