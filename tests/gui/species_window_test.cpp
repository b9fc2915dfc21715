// The species-concentrations window: what it shows of the computation, its headings, caption and
// status line, and its report.

#include "result_test_support.h"

#include "app/number_format.h"
#include "gui/progress_window.h"
#include "gui/species_window.h"
#include "report/species_report.h"
#include "results/species.h"

using namespace zeb;
using namespace zeb::gui;
using namespace zeb::gui::test;

namespace {

const char* const kSpeciesKeys[] = {
    "H",     "OH",    "CO2",    "HCO3",    "CO3",    "Ca",    "Mg",      "SO4",    "CaHCO3",
    "CaCO3", "CaSO4", "MgHCO3", "MgCO3",   "MgSO4",  "HSO4",  "CaOH",    "MgOH",   "PO4",
    "H3PO4", "H2PO4", "HPO4",   "CaH2PO4", "CaHPO4", "CaPO4", "MgH2PO4", "MgHPO4", "MgPO4"};

} // namespace

class SpeciesWindowTest : public QObject {
    Q_OBJECT

    ReportFrontEnd front;
    ProgressWindow progress;
    SpeciesWindow window{front.dialogs, front.reports, progress};
    app::Project project = ExampleProject();

    QString Value(const char* row, int column) const {
        return LabelText(window, QStringLiteral("value%1%2").arg(row).arg(column));
    }

private slots:
    void showsTheComputationInScientificNotation() {
        const app::WaterAnalysis& water = project.water(app::WaterId::B);
        window.Run(water, FixedHeader());
        const results::SpeciesResult r = results::ComputeSpecies(water);
        QVERIFY(r.computed);
        const auto S = [](long double x) { return Q(app::FormatScientific(x, 12)); };
        for (int k = 0; k < 3; ++k) {
            const results::SpeciesColumn& c = r.columns[k];
            QCOMPARE(Value("MValue", k + 1), S(c.mValue));
            QCOMPARE(Value("Dic", k + 1), S(c.dic));
            QCOMPARE(Value("PValue", k + 1), S(c.pValue));
            QCOMPARE(Value("Tcalc", k + 1), S(r.tCalc));
            QCOMPARE(Value("PHTcalc", k + 1), S(c.pH));
            QCOMPARE(Value("Anions", k + 1), S(c.anions));
            QCOMPARE(Value("Cations", k + 1), S(c.cations));
            for (int i = 0; i < results::kSpeciesCount; ++i)
                QCOMPARE(Value(kSpeciesKeys[i], k + 1), S(c.species[i]));
        }
        // Four significant digits: " 1.234E-0003".
        QCOMPARE(Value("H", 1).size(), 12);
        const report::ReportText expected =
            report::BuildSpeciesReport(r, water, app::Language::German, FixedHeader().signature,
                                       FixedHeader().fileName, FixedHeader().dateTime);
        for (int n = 1; n <= report::ReportText::kCapacity; ++n)
            QCOMPARE(window.report()[n], expected[n]);
    }

    void captionHeadingsAndGate() {
        app::WaterAnalysis& water = project.water(app::WaterId::C);
        water.dicMode = "DIC";
        water.dic = "   2.000";
        QString shownCaption;
        front.dialogs.modalHandlers.append([&](QDialog& w) { shownCaption = w.windowTitle(); });
        window.Open(project, app::WaterId::C, FixedHeader());
        QCOMPARE(shownCaption, QString("Spezies Konzentrationen C"));
        QCOMPARE(window.windowTitle(), QString("Spezies Konzentrationen"));
        QCOMPARE(LabelText(window, "headingColumn1"), QString("KS4.3/DIC"));
        QCOMPARE(LabelText(window, "headingColumn2"), QString("DIC/pH(T)"));
        QCOMPARE(LabelText(window, "headingColumn3"), QString("KB8.2/DIC"));
        QVERIFY(window.findChild<QLabel*>("labelStatus")->isHidden());

        water.ks43 = "   0.000";
        window.Run(water, FixedHeader());
        QCOMPARE(LabelText(window, "labelStatus"),
                 QString("Nichts berechnet: pH ≤ 2 oder KS 4.3 ≤ 0"));
        QCOMPARE(Value("MgPO4", 3), QString());
        QCOMPARE(LabelText(window, "labelText"), Q(water.text));
    }
};

QTEST_MAIN(SpeciesWindowTest)
#include "species_window_test.moc"
