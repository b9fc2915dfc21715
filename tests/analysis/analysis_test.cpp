// The analysis form's rules: unit conversions, normalisation, and the analysis check.
#include "../common/test_support.h"

#include "analysis/check.h"
#include "analysis/ion_units.h"
#include "analysis/normalize.h"
#include "app/number_format.h"
#include "results/saturation.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace zeb;

using test::ExampleWater;

std::string F(long double x, int decimals = 3) {
    return app::FormatFixed(x, 8, decimals);
}

TEST(NormalizeAllFields, SingleValuesLoseTheirSignIonsKeepIt) {
    app::WaterAnalysis w;
    app::SetDefaultWater(w);
    w.pH = "7,25";
    w.ks43 = "-2.5";
    w.cFe = "-0.01";
    w.cCa = "1.5";
    w.cMg = "-0.2";
    w.massCl = "12.3456";
    w.cNa = "1,5"; // ion fields are only reformatted: the comma ends the number
    w.text = " Text, 7.5 ";
    analysis::NormalizeAllFields(w);
    EXPECT_EQ(w.pH, "   7.250");
    EXPECT_EQ(w.ks43, "   2.500");
    EXPECT_EQ(w.cFe, "   0.010");
    EXPECT_EQ(w.cMg, "  -0.200");
    EXPECT_EQ(w.massCl, "  12.346");
    EXPECT_EQ(w.cNa, "   1.000");
    EXPECT_EQ(w.hardnessMmol, "   1.300");
    EXPECT_EQ(w.hardnessDH, "   7.291");
    EXPECT_EQ(w.text, " Text, 7.5 ");
}

TEST(AnalysisCheck, BalanceMarks) {
    struct Case {
        long double difference, sumIons;
        analysis::BalanceMark mark;
        const char* text;
    };
    const Case cases[] = {
        {11.3L, 12.0L, analysis::BalanceMark::Above5, "> 5 %"},
        {11.3L, 3.0L, analysis::BalanceMark::Above10, "> 10 %"},
        {8.0L, 3.0L, analysis::BalanceMark::None, "%"},
        {5.0L, 12.0L, analysis::BalanceMark::None, "%"},
        {5.1L, 4.0L, analysis::BalanceMark::Above5, "> 5 %"},
    };
    for (const Case& c : cases) {
        const analysis::BalanceMark mark = analysis::MarkBalance(c.difference, c.sumIons);
        EXPECT_EQ(mark, c.mark) << c.difference << " " << c.sumIons;
        EXPECT_EQ(analysis::BalanceMarkText(mark), c.text);
    }
}

TEST(AnalysisCheck, ChargeBalanceOfSixAgainstFivePointSix) {
    app::WaterAnalysis w;
    app::SetDefaultWater(w);
    w.cNa = "   5.000";
    w.cCl = "   5.000";
    w.ks43 = "   0.650"; // hydrogen carbonate 0.6 mmol/L
    w.pH = "   7.000";
    w.conductivity = "  50.000";
    w.condRefTemp = "20";
    const analysis::AnalysisCheck c = analysis::CheckAnalysis(w);
    EXPECT_EQ(F(c.figures.sumCations), "   5.000");
    EXPECT_EQ(F(c.figures.sumAnions), "   5.600");
    EXPECT_EQ(F(c.figures.balanceMean, 1), "    11.3");
    EXPECT_EQ(F(c.figures.balanceCations, 1), "    12.0");
    EXPECT_EQ(c.figures.balanceMark, analysis::BalanceMark::Above5);
    EXPECT_EQ(F(c.figures.mValueFromBalance), "   0.000");
    EXPECT_EQ(F(c.figures.conductivityMeasured25), "  55.800");
    EXPECT_EQ(F(c.figures.ionicStrengthFromConductivity), F(55.8L / 6.0822L));
}

TEST(AnalysisCheck, WorksOnTheNormalisedAnalysis) {
    app::WaterAnalysis w = ExampleWater(app::WaterId::C);
    w.pH = "7,6";      // read as 7 without the form's normalisation
    w.ks43 = "-2.8";   // the form drops the sign
    w.iosMode = "ZEB"; // entered by hand
    w.iosInput = "4,5";
    const analysis::AnalysisCheck c = analysis::CheckAnalysis(w);
    EXPECT_TRUE(c.manualIonicStrength);
    EXPECT_EQ(c.ionicStrengthText, "   4.500");
    ASSERT_TRUE(c.carbonate.computed);
    EXPECT_EQ(c.carbonate.pHMeasured, 7.6L);
    EXPECT_EQ(c.carbonate.ks43Measured, 2.8L);

    // Section 4 holds the rows of the state-of-saturation window of the same analysis.
    app::WaterAnalysis normalised = w;
    analysis::NormalizeAllFields(normalised);
    const results::WaterSaturation s = results::ComputeSaturation(normalised);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(c.carbonate.mValue[k], s.columns[k].mValue);
        EXPECT_EQ(c.carbonate.dic[k], s.columns[k].dic);
        EXPECT_EQ(c.carbonate.pValue[k], s.columns[k].pValue);
        EXPECT_EQ(c.carbonate.anions[k], s.columns[k].anions);
        EXPECT_EQ(c.carbonate.pH[k], s.columns[k].pH);
        EXPECT_EQ(c.carbonate.ionicStrength[k], s.columns[k].ionicStrength);
    }
    EXPECT_EQ(c.carbonate.pHCalculated, s.pHCalculated);
    EXPECT_EQ(c.carbonate.kb82Calculated, s.kb82Calculated);
    EXPECT_EQ(c.carbonate.ks43Calculated, s.ks43Calculated);
    EXPECT_EQ(c.carbonate.pHAgreement, s.pHAgreement);
}

TEST(AnalysisCheck, GateStopsOnlyTheCarbonateSection) {
    app::WaterAnalysis w = ExampleWater(app::WaterId::B);
    w.ks43 = "   0.000";
    const analysis::AnalysisCheck c = analysis::CheckAnalysis(w);
    EXPECT_FALSE(c.carbonate.computed);
    EXPECT_FALSE(c.manualIonicStrength);
    EXPECT_GT(c.figures.sumCations, 9.0L);
    EXPECT_GT(c.figures.conductivityCalculated, 0.0L);
}

TEST(IonUnits, OneMillimoleWeighsTheTabulatedMolarMass) {
    const struct {
        std::string_view name;
        std::string mass;
    } expected[] = {{"Na", "  22.990"},  {"K", "  39.100"},   {"Ca", "  40.080"},
                    {"Mg", "  24.305"},  {"Cl", "  35.457"},  {"NO3", "  62.008"},
                    {"SO4", "  96.006"}, {"PO4", "  94.970"}, {"NH4", "  18.007"},
                    {"Fe", "  55.845"},  {"Mn", "  54.938"}};
    ASSERT_EQ(analysis::IonRows().size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const analysis::IonRow& row = analysis::IonRows()[i];
        EXPECT_EQ(row.name, expected[i].name);
        EXPECT_EQ(analysis::MassText("   1.000", row.molarMass), expected[i].mass) << row.name;
        EXPECT_EQ(analysis::MmolText(expected[i].mass, row.molarMass), "   1.000") << row.name;
    }
}

TEST(IonUnits, ConversionKeepsTheSignAndRounds) {
    EXPECT_EQ(analysis::MassText("1.5", 40.08L), "  60.120");
    EXPECT_EQ(analysis::MmolText("2", 22.99L), "   0.087");
    EXPECT_EQ(analysis::MmolText("-2", 22.99L), "  -0.087");
    EXPECT_EQ(analysis::MassText("", 22.99L), "   0.000");
}

TEST(IonUnits, HardnessInMillimolesAndGermanDegrees) {
    EXPECT_EQ(analysis::Hardness("   1.500", "   0.000").mmol, "   1.500");
    EXPECT_EQ(analysis::Hardness("   1.500", "   0.000").dH, "   8.413");
    EXPECT_EQ(analysis::Hardness("   2.000", "   0.500").dH, "  14.021");
}

TEST(IonUnits, OxygenDemandOfAmmoniumIronAndManganese) {
    analysis::OxygenDemandTexts d = analysis::OxygenDemand("   1.000", "   0.000", "   0.000");
    EXPECT_EQ(d.mass, "   3.556");
    EXPECT_EQ(d.mmol, "   0.111");
    d = analysis::OxygenDemand("   0.500", "   2.000", "   1.000");
    // 1.7778 + 0.2862 + 0.2914 = 2.3554 mg/L
    EXPECT_EQ(d.mass, "   2.355");
    EXPECT_EQ(d.mmol, "   0.074");
}

} // namespace
