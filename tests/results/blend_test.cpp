#include "results/blend.h"

#include "app/number_format.h"
#include "results/saturation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace zeb::results {
namespace {

std::string T(long double x) {
    return app::FormatFixed(x, 8, 3);
}

// pH, T at pH, KS 4.3, KB 8.2, DIC, entered IOS, then Na, K, Ca, Mg, Cl, NO3, SO4, PO4.
app::WaterAnalysis Water(long double pH, long double tpH, long double ks43, long double kb82,
                         long double dic, long double ios, std::array<long double, 8> ions) {
    app::WaterAnalysis w;
    app::SetDefaultWater(w);
    w.pH = T(pH), w.tempPH = w.tempTitr43 = w.tempTitr82 = T(tpH), w.ks43 = T(ks43);
    w.kb82 = T(kb82), w.dic = T(dic), w.iosInput = T(ios), w.iosMode = "ZEB";
    std::string* slots[] = {&w.cNa, &w.cK, &w.cCa, &w.cMg, &w.cCl, &w.cNO3, &w.cSO4, &w.cPO4};
    for (int i = 0; i < 8; ++i)
        *slots[i] = T(ions[i]);
    return w;
}
app::WaterAnalysis Soft() {
    return Water(7.2L, 8, 0.45L, 0.05L, 0.5L, 2, {0.3L, 0.04L, 0.35L, 0.12L, 0.35L, 0.1L, 0.2L, 0});
}
app::WaterAnalysis Hard() {
    return Water(7.05L, 11, 6.2L, 0.85L, 7.0L, 12,
                 {1.2L, 0.08L, 3.6L, 1.1L, 1.4L, 0.35L, 1.3L, 0.005L});
}

// The water's carbonate system by itself, at its entered ionic strength.
chem::CarbonateState Alone(const app::WaterAnalysis& w) {
    const WaterInputs in = ParseWaterInputs(w);
    return chem::SolveCarbonateSystem(in.useDic, in.species, in.measured, in.ionicStrength.entered);
}

std::optional<BlendState> Blend(std::vector<std::pair<app::WaterAnalysis, long double>> ws) {
    std::vector<BlendWater> waters;
    for (const auto& [w, share] : ws)
        waters.push_back(ParseBlendWater(w, share));
    return BlendFormation(waters);
}

void Near(long double a, long double b, const char* what, double tol = 1e-15) {
    EXPECT_NEAR(static_cast<double>(a), static_cast<double>(b), tol) << what;
}

TEST(BlendShareRulesTest, Table) {
    const struct {
        const char *a, *b, *ea, *eb, *ec;
    } cases[] = {
        {"30", "50", "  30.000", "  50.000", "  20.000"},
        {"70", "50", " 100.000", "   0.000", "   0.000"},
        {"20", "90", "   0.000", " 100.000", "   0.000"},
        {"-10", "40", "   0.000", "  40.000", "  60.000"},
        {"60", "60", " 100.000", "   0.000", "   0.000"}, // a tie goes to A
        {"30,5", "  20.000", "  30.500", "  20.000", "  49.500"},
        {"abc", "", "   0.000", "   0.000", " 100.000"},
    };
    for (const auto& c : cases) {
        const BlendShareFields f = ApplyBlendShareRules({c.a, c.b, "   7.000", "   0.000"});
        EXPECT_EQ(f.a + f.b + f.c + f.sum, std::string(c.ea) + c.eb + c.ec + "     100")
            << c.a << "/" << c.b;
    }
    // On showing: A and B lose their sign, C and the sum are only rewritten.
    const BlendShareFields shown = NormalizeBlendShareFields({"-40", "60,25", "-0.5", "100"});
    EXPECT_EQ(shown.a + shown.b + shown.c + shown.sum, "  40.000  60.250  -0.500 100.000");
}

TEST(BlendFormationTest, EachWaterEntersWithItsOwnFamily) {
    app::WaterAnalysis dicWater = Soft();
    dicWater.dicMode = "DIC";
    const chem::CarbonateState a = Alone(dicWater), h = Alone(Hard());
    const auto b = Blend({{dicWater, 50}, {Hard(), 50}});
    ASSERT_TRUE(b.has_value());
    for (int k = 0; k < kBlendColumnCount; ++k) {
        Near(b->mValue[k], (a.ta[k] * 50 + h.ta[k] * 50) * 0.01L, "m");
        Near(b->dicValue[k], (a.dic[k] * 50 + h.dic[k] * 50) * 0.01L, "dic");
    }
    // "KS4.3/DIC" takes the measured DIC; "KS4.3/KB8.2" computes its own.
    Near(b->dicValue[0], (0.5L * 50 + h.dic[0] * 50) * 0.01L, "measured dic");
}

TEST(BlendFormationTest, WaterWithoutAlkalinityMixesOnlyLinearly) {
    app::WaterAnalysis empty = Hard();
    empty.ks43 = T(0);
    empty.tempCalc = T(20);
    const chem::CarbonateState a = Alone(Soft());
    const auto b = Blend({{Soft(), 60}, {empty, 40}});
    ASSERT_TRUE(b.has_value());
    for (int k = 0; k < kBlendColumnCount; ++k)
        Near(b->mValue[k], a.ta[k] * 60 * 0.01L, "m");
    Near(b->blendTemp, 14, "t");
    Near(b->ionicStrength, 6, "ios");
    Near(b->species[chem::slot::CaTotal], 0.35L * 0.6L + 3.6L * 0.4L, "ca");
}

TEST(BlendFormationTest, SharesAreTakenAsTheyStand) {
    app::WaterAnalysis c = Soft(), h = Hard();
    c.tempCalc = T(14);
    h.tempCalc = T(12);
    const auto b = Blend({{Soft(), 40}, {h, 40}, {c, 40}});
    ASSERT_TRUE(b.has_value());
    Near(b->blendTemp, 1.2L * 12, "t", 1e-14);
    const chem::CarbonateState s = Alone(Soft()), hs = Alone(Hard());
    for (int k = 0; k < kBlendColumnCount; ++k)
        Near(b->mValue[k], 1.2L * (2 * s.ta[k] + hs.ta[k]) / 3, "m", 1e-14);
}

TEST(BlendFormationTest, OneWaterAskingForIonicStrengthMakesAllIterate) {
    app::WaterAnalysis h = Hard();
    h.iosMode = "IOS";
    const std::vector<BlendWater> waters{ParseBlendWater(Soft(), 50), ParseBlendWater(h, 50)};
    const auto b = BlendFormation(waters);
    ASSERT_TRUE(b.has_value());
    EXPECT_TRUE(b->iterate);
    // The soft water's entered 2 mmol/L gives way to its own ionic strength.
    const BlendWaterSolution soft = SolveBlendWater(waters[0], true);
    const BlendWaterSolution hard = SolveBlendWater(waters[1], true);
    EXPECT_GT(std::fabs(soft.ionicStrength - 2), 0.1L);
    Near(b->ionicStrength, (soft.ionicStrength * 50 + hard.ionicStrength * 50) * 0.01L, "ios");
    Near(b->mValue[1], (soft.ta[1] * 50 + hard.ta[1] * 50) * 0.01L, "m");
    // The blend's pH is iterated from 0 too: one solution at the settled value agrees.
    chem::SpeciesVector s;
    const chem::PHSolution ph = SolveBlendPH(*b, 0, s);
    chem::SpeciesVector again = b->species;
    Near(chem::SolvePHBisection(again, b->blendTemp, ph.ionicStrength, b->mValue[0], b->dicValue[0])
             .pH,
         ph.pH, "pH", 1e-5);
}

TEST(BlendFormationTest, GateNeedsAWaterWithAlkalinityAndAShare) {
    app::WaterAnalysis acid = Soft(), flat = Hard(), noPH = Hard();
    acid.pH = T(2);
    flat.ks43 = T(0);
    noPH.pH = T(0);
    EXPECT_FALSE(Blend({{acid, 100}, {flat, 100}}).has_value());
    EXPECT_FALSE(Blend({{Soft(), 0}, {Hard(), 0}}).has_value());
    // The two conditions need not meet in one water.
    EXPECT_TRUE(Blend({{acid, 100}, {Hard(), 0}}).has_value());
    // A water with pH 0 passes nothing to m-value and DIC but still mixes.
    const auto b = Blend({{Soft(), 50}, {noPH, 50}});
    ASSERT_TRUE(b.has_value());
    Near(b->mValue[0], Alone(Soft()).ta[0] * 0.5L, "m");
}

} // namespace
} // namespace zeb::results
