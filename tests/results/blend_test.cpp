// Blends of the waters: the share rules, the blend's formation, its state of saturation, and
// the series of eleven blends of two waters.
#include "results/blend.h"

#include "app/number_format.h"
#include "results/blend_saturation.h"
#include "results/blend_series.h"
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
                         long double dic, long double ios, std::array<long double, 8> ions,
                         const char* iosMode = "ZEB") {
    app::WaterAnalysis w;
    app::SetDefaultWater(w);
    w.pH = T(pH), w.tempPH = w.tempTitr43 = w.tempTitr82 = T(tpH), w.ks43 = T(ks43);
    w.kb82 = T(kb82), w.dic = T(dic), w.iosInput = T(ios), w.iosMode = iosMode;
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
// At 12 degC with the entered ionic strength 7 mmol/L, in a share of the blend.
app::WaterAnalysis Shared(long double pH, long double ks43, long double kb82, long double ca,
                          const char* share, const char* iosMode) {
    app::WaterAnalysis w =
        Water(pH, 12, ks43, kb82, 0, 7, {0.8L, 0.05L, ca, 0.4L, 0.9L, 0.2L, 0.7L, 0.01L}, iosMode);
    w.blendPercent = share;
    return w;
}
// At 10 degC with the entered ionic strength 5 mmol/L: the partners of a series.
app::WaterAnalysis Partner(long double pH, long double ks43, long double ca, long double so4,
                           const char* iosMode) {
    return Water(pH, 10, ks43, 0.2L, 0, 5, {0.5L, 0, ca, 0.3L, 0.6L, 0.1L, so4, 0}, iosMode);
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

void Near(long double a, long double b, const std::string& what, double tol = 1e-15) {
    EXPECT_NEAR(a, b, tol) << what;
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

// The blend reaches the single water's numbers along a slightly different path (shares
// multiplied in and out, the pH iterated once more at the blend's temperature).
constexpr double kAlongAnotherPath = 1e-6;

TEST(BlendSaturationTest, WaterAtFullShareMatchesItsOwnSaturation) {
    for (const char* mode : {"IOS", "ZEB"}) {
        const app::WaterAnalysis a = Shared(7.6L, 2.4L, 0.1L, 1.6L, "100", mode);
        const std::array<app::WaterAnalysis, 3> waters{a,
                                                       Shared(7.0L, 5.0L, 1.0L, 3.0L, "0", "ZEB"),
                                                       Shared(7.2L, 1.0L, 0.2L, 0.6L, "0", "ZEB")};
        const BlendSaturation blend = ComputeBlendSaturation(waters);
        const WaterSaturation single = ComputeSaturation(a);
        ASSERT_TRUE(blend.computed);
        ASSERT_TRUE(single.computed);
        for (int k = 0; k < kBlendColumnCount; ++k) {
            const std::string what = std::string(mode) + " column " + std::to_string(k + 1);
            const BlendSaturationColumn& b = blend.columns[k];
            const SaturationColumn& s = single.columns[k];
            const std::pair<long double, long double> rows[] = {{b.mValue, s.mValue},
                                                                {b.dic, s.dic},
                                                                {b.pH, s.pH},
                                                                {b.pHA, s.pHA},
                                                                {b.si, s.si},
                                                                {b.pHc, s.pHc},
                                                                {b.ionicStrength, s.ionicStrength},
                                                                {b.dcMmol, s.dcMmol}};
            for (const auto& [got, want] : rows)
                Near(got, want, what + " row " + std::to_string(&got - &rows[0].first),
                     kAlongAnotherPath);
            for (chem::Target t : {chem::Target::SI0, chem::Target::pH78}) {
                for (chem::Chemical c : chem::kAllChemicals) {
                    Near(blend.dosage.at(t, c, k).doseMmol, single.dosage.at(t, c, k).doseMmol,
                         what + " dose " + std::string(chem::ChemicalName(c)), kAlongAnotherPath);
                }
            }
        }
    }
}

TEST(BlendSaturationTest, EnteredIonicStrengthsAreMixed) {
    const std::array<app::WaterAnalysis, 3> waters{Shared(7.6L, 2.4L, 0.1L, 1.6L, "30", "ZEB"),
                                                   Shared(7.0L, 5.0L, 1.0L, 3.0L, "70", "ZEB"),
                                                   Shared(7.2L, 1.0L, 0.2L, 0.6L, "0", "ZEB")};
    const BlendSaturation r = ComputeBlendSaturation(waters);
    ASSERT_TRUE(r.computed);
    EXPECT_FALSE(r.blend.iterate);
    EXPECT_NEAR(r.blend.ionicStrength, 7.0, 1e-15);
    for (const BlendSaturationColumn& c : r.columns) {
        // Row 8 is what the single pH solution at 7 mmol/L returned.
        EXPECT_GT(std::fabs(c.ionicStrength - 7.0L), 0.5L);
        EXPECT_EQ(c.dcMg, c.dcMmol * 100.088L);
    }
    EXPECT_EQ(r.shares[1], 70.0L);
    EXPECT_EQ(r.shareTexts[1], "70");

    // Threads change nothing, bit for bit.
    const BlendSaturation parallel = ComputeBlendSaturation(waters, Execution::Parallel);
    for (int k = 0; k < kBlendColumnCount; ++k) {
        EXPECT_EQ(parallel.columns[k].pH, r.columns[k].pH);
        EXPECT_EQ(parallel.columns[k].dcMmol, r.columns[k].dcMmol);
        EXPECT_EQ(parallel.dosage.at(chem::Target::pH78, chem::Chemical::NaOH, k).doseMmol,
                  r.dosage.at(chem::Target::pH78, chem::Chemical::NaOH, k).doseMmol);
    }
}

TEST(BlendSeriesTest, EndColumnsAreTheWatersAlone) {
    const app::WaterAnalysis soft = Partner(7.4L, 0.8L, 0.5L, 0.2L, "IOS");
    app::WaterAnalysis hard = Partner(7.0L, 5.5L, 3.2L, 1.0L, "ZEB");
    const BlendSeriesResult r = ComputeBlendSeries(soft, hard);
    ASSERT_TRUE(r.computed);
    // The first water asks for the ionic strength, so the whole series iterates.
    hard.iosMode = "IOS";
    for (auto [col, water] : {std::pair{0, soft}, std::pair{10, hard}}) {
        water.blendPercent = "100";
        const BlendSaturation alone =
            ComputeBlendSaturation({water, Partner(7, 1, 1, 1, "ZEB"), Partner(7, 1, 1, 1, "ZEB")});
        for (int k = 0; k < kBlendColumnCount; ++k) {
            EXPECT_EQ(app::FormatFixed(r.columns[col].pH[k], 6, 2),
                      app::FormatFixed(alone.columns[k].pH, 6, 2))
                << col << "/" << k;
            EXPECT_EQ(app::FormatFixed(r.columns[col].dcMg[k], 6, 1),
                      app::FormatFixed(alone.columns[k].dcMg, 6, 1))
                << col << "/" << k;
        }
    }
    EXPECT_NEAR(r.columns[5].hardness, (0.8 + 3.5) / 2, 1e-12);
    EXPECT_NEAR(r.columns[5].so4Mg, 0.6 * 96.006, 1e-12);

    const BlendSeriesResult parallel =
        ComputeBlendSeries(soft, Partner(7.0L, 5.5L, 3.2L, 1.0L, "ZEB"), Execution::Parallel);
    for (int j = 0; j < kBlendSeriesSteps; ++j)
        EXPECT_EQ(parallel.columns[j].dcMg, r.columns[j].dcMg) << j;
}

TEST(BlendSeriesTest, IdenticalWatersGiveElevenEqualColumns) {
    const app::WaterAnalysis w = Partner(7.3L, 2.5L, 1.5L, 1.0L, "ZEB");
    const BlendSeriesResult r = ComputeBlendSeries(w, w);
    ASSERT_TRUE(r.computed);
    for (const BlendSeriesColumn& c : r.columns) {
        EXPECT_EQ(app::FormatFixed(c.so4Mg, 6, 1), "  96.0");
        for (int k = 0; k < kBlendColumnCount; ++k) {
            EXPECT_NEAR(c.pH[k] - r.columns[0].pH[k], 0.0, 1e-9);
            EXPECT_NEAR(c.dcMg[k] - r.columns[0].dcMg[k], 0.0, 1e-6);
        }
    }
}

TEST(BlendSeriesTest, OnlyAlkalinityGatesTheSeries) {
    const app::WaterAnalysis w = Partner(7.3L, 2.5L, 1.5L, 1.0L, "ZEB");
    const app::WaterAnalysis flat = Partner(7.3L, 0.0L, 1.5L, 1.0L, "ZEB");
    EXPECT_FALSE(ComputeBlendSeries(w, flat).computed);
    EXPECT_FALSE(ComputeBlendSeries(flat, w).computed);
    EXPECT_TRUE(ComputeBlendSeries(w, Partner(1.5L, 0.1L, 0.1L, 0.1L, "ZEB")).computed);
}

} // namespace
} // namespace zeb::results
