#include "results/conditioning.h"

#include "chem/carbonate.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zeb::results {
namespace {

// m 2.5, DIC 2.8, T 10, IOS 6; Na, K, Ca, Mg, Cl, NO3, SO4, PO4.
app::ConditioningData Water() {
    app::ConditioningData d;
    app::SetDefaultConditioning(d);
    d.tm = "2.5", d.tC = "2.8", d.T = "10", d.IOS = "6";
    d.cNa = "1.0", d.cK = "0.1", d.cCa = "1.5", d.cMg = "0.4";
    d.cCl = "1.2", d.cNO3 = "0.2", d.cSO4 = "0.6", d.cPO4 = "0.01";
    return d;
}

TEST(ConditioningTest, EveryChemicalChangesItsQuantities) {
    // x = 1 mmol/L into m, DIC, Na, Ca, Mg, Cl = 2.5, 2.8, 1.0, 1.5, 0.4, 1.2.
    const struct {
        const char* token;
        std::array<long double, 6> after;
    } cases[] = {
        {"CO2", {2.5L, 3.8L, 1.0L, 1.5L, 0.4L, 1.2L}},
        {"HCl", {1.5L, 2.8L, 1.0L, 1.5L, 0.4L, 2.2L}},
        {"NaOH", {3.5L, 2.8L, 2.0L, 1.5L, 0.4L, 1.2L}},
        {"Ca(OH)2", {4.5L, 2.8L, 1.0L, 2.5L, 0.4L, 1.2L}},
        {"NaHCO3", {3.5L, 3.8L, 2.0L, 1.5L, 0.4L, 1.2L}},
        {"CaCO3", {4.5L, 3.8L, 1.0L, 2.5L, 0.4L, 1.2L}},
        {"Na2CO3", {4.5L, 3.8L, 3.0L, 1.5L, 0.4L, 1.2L}},
        {"CaCO3MgO", {6.5L, 3.8L, 1.0L, 2.5L, 1.4L, 1.2L}},
        {"CaCl2", {2.5L, 2.8L, 1.0L, 2.5L, 0.4L, 3.2L}},
    };
    // With dilution, 10 L/m3 of 100 mmol/L is the same x = 1, and D = 1.01 divides every
    // concentration once, the unchanged ones too.
    for (bool dilution : {false, true}) {
        const long double d = dilution ? 1.01L : 1.0L;
        for (const auto& c : cases) {
            app::ConditioningData in = Water();
            in.chemical = c.token;
            in.cx = dilution ? "100" : "1";
            in.Vx = dilution ? "10" : "0";
            const ConditioningResult r = ComputeConditioning(in, dilution);
            const std::array<long double, 7> got{r.mValue,  r.dic,     r.ions.na, r.ions.ca,
                                                 r.ions.mg, r.ions.cl, r.ions.so4};
            for (int i = 0; i < 7; ++i) {
                const long double want = (i < 6 ? c.after[i] : 0.6L) / d;
                EXPECT_NEAR(got[i], want, 1e-15)
                    << c.token << (dilution ? " diluted, " : ", ") << i;
            }
            EXPECT_EQ(r.pValue, r.mValue - r.dic);
        }
    }
}

TEST(ConditioningTest, IonicStrengthIsThatOfTheLastPass) {
    app::ConditioningData in = Water();
    in.IOS = "0"; // far from the water's own, so the first pass is well off
    const ConditioningResult r = ComputeConditioning(in, false);
    chem::SpeciesVector s{};
    s[chem::slot::CaTotal] = 1.5L, s[chem::slot::MgTotal] = 0.4L, s[chem::slot::So4Total] = 0.6L;
    s[chem::slot::Na] = 1.0L, s[chem::slot::K] = 0.1L, s[chem::slot::Cl] = 1.2L;
    s[chem::slot::No3] = 0.2L, s[chem::slot::Po4Total] = 0.01L;
    const chem::PHSolution first = chem::SolvePHBisection(s, 10.0L, 0.0L, 2.5L, 2.8L);
    EXPECT_GT(std::fabs(first.ionicStrength - r.ionicStrength), 1e-4L);
    // pH, SI and the charge balance belong to the ionic strength shown.
    const chem::PHSolution again = chem::SolvePHBisection(s, 10.0L, r.ionicStrength, 2.5L, 2.8L);
    EXPECT_NEAR(again.ionicStrength - r.ionicStrength, 0.0, 1e-6);
    EXPECT_NEAR(again.pH - r.pH, 0.0, 1e-5);
    EXPECT_NEAR(again.si - r.si, 0.0, 1e-5);
    EXPECT_NEAR(again.sumCations - again.sumAnions - r.chargeBalance, 0.0, 1e-5);
    EXPECT_LT(r.si, 0.0L);
    EXPECT_GT(r.dc, 0.0L);
}

TEST(ConditioningTest, DicFloorAndAcidBeyondTheMValue) {
    app::ConditioningData in = Water();
    in.chemical = "CO2";
    in.tC = "0";
    EXPECT_EQ(ComputeConditioning(in, false).dic, 0.001L);

    in = Water();
    in.chemical = "HCl";
    in.cx = "3.5";
    const ConditioningResult acid = ComputeConditioning(in, false);
    EXPECT_NEAR(acid.pValue, -3.8, 1e-15);
    EXPECT_LT(acid.pH, 4.3L);
    EXPECT_GT(acid.pH, 2.0L);
}

TEST(ConditioningTest, InputsRangeMessagesAndModes) {
    app::ConditioningData in = Water();
    in.T = "95";
    in.IOS = "-60,5";
    const ConditioningResult r = ComputeConditioning(in, false);
    EXPECT_EQ(r.messageKeys,
              (std::vector<std::string_view>{"msg.rangeTemperature", "msg.rangeIonicStrength"}));
    EXPECT_EQ(r.inputs.T, "  95.000"); // kept, and computed with
    EXPECT_EQ(r.inputs.IOS, "  60.500");
    in.T = "90", in.IOS = "50";
    EXPECT_TRUE(NormalizeConditioningInputs(in).empty());
    EXPECT_EQ(ParseConditioningChemical("CaCO3 MgO"), ConditioningChemical::CaCO3);

    app::ConditioningData d;
    app::SetDefaultConditioning(d);
    EXPECT_FALSE(ConditioningWithDilution(d));
    d.Vx = "0"; // not the stored zero text
    EXPECT_TRUE(ConditioningWithDilution(d));
    d.Vx = "5";
    SelectWithoutDilution(d);
    EXPECT_EQ(d.Vx, "   0.000");
}

TEST(ConditioningTest, DataFromAWater) {
    app::WaterAnalysis w;
    app::SetDefaultWater(w);
    w.text = "Brunnen 3", w.ks43 = "   6.200", w.kb82 = "   0.850", w.ks82 = "   0.100";
    w.tempCalc = "  12.500", w.iosInput = "   9.000", w.cPO4 = "   0.005";
    app::ConditioningData d;
    app::SetDefaultConditioning(d);
    d.chemical = "NaOH";
    d.cx = "   2.000";
    TakeConditioningFromWater(d, w);
    EXPECT_EQ(d.text, "Brunnen 3");
    EXPECT_EQ(d.tm, "   6.150");
    EXPECT_EQ(d.tC, "   6.900");
    EXPECT_EQ(d.T, "  12.500");
    EXPECT_EQ(d.IOS, "   9.000");
    EXPECT_EQ(d.cPO4, "   0.005");
    EXPECT_EQ(d.chemical, "NaOH");
    EXPECT_EQ(d.cx, "   2.000");
}

} // namespace
} // namespace zeb::results
