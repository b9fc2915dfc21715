#include "results/blend_series.h"

#include "app/number_format.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zeb::results {
namespace {

std::string T(long double x) {
    return app::FormatFixed(x, 8, 3);
}

app::WaterAnalysis Water(long double pH, long double ks43, long double ca, long double so4,
                         const char* iosMode) {
    app::WaterAnalysis w;
    app::SetDefaultWater(w);
    w.pH = T(pH);
    w.tempPH = w.tempTitr43 = w.tempTitr82 = T(10);
    w.ks43 = T(ks43);
    w.kb82 = T(0.2L);
    w.cCa = T(ca);
    w.cMg = T(0.3L);
    w.cNa = T(0.5L);
    w.cCl = T(0.6L);
    w.cNO3 = T(0.1L);
    w.cSO4 = T(so4);
    w.iosInput = T(5);
    w.iosMode = iosMode;
    return w;
}

// The pH and Dc of a water by itself, the way a blend of 100 % of it is computed.
void Alone(const app::WaterAnalysis& a, std::array<long double, 3>& pH,
           std::array<long double, 3>& dcMg) {
    const std::vector<BlendWater> w{ParseBlendWater(a, 100)};
    const BlendState b = *BlendFormation(w);
    chem::SpeciesVector s;
    for (int k = 0; k < kBlendColumnCount; ++k) {
        pH[k] = SolveBlendPH(b, k, s).pH;
        dcMg[k] = DoseBlend(b, k, s, chem::Chemical::CaCO3, chem::Target::SI0).dose * 100.088L;
    }
}

TEST(BlendSeriesTest, EndColumnsAreTheWatersAlone) {
    const app::WaterAnalysis soft = Water(7.4L, 0.8L, 0.5L, 0.2L, "IOS");
    const app::WaterAnalysis hard = Water(7.0L, 5.5L, 3.2L, 1.0L, "ZEB");
    const BlendSeriesResult r = ComputeBlendSeries(soft, hard);
    ASSERT_TRUE(r.computed);
    std::array<long double, 3> pH, dc;
    // The first water asks for the ionic strength, so the whole series iterates.
    app::WaterAnalysis hardIterated = hard;
    hardIterated.iosMode = "IOS";
    for (auto [col, water] : {std::pair{0, soft}, std::pair{10, hardIterated}}) {
        Alone(water, pH, dc);
        for (int k = 0; k < kBlendColumnCount; ++k) {
            EXPECT_EQ(app::FormatFixed(r.columns[col].pH[k], 6, 2), app::FormatFixed(pH[k], 6, 2))
                << col << "/" << k;
            EXPECT_NEAR(static_cast<double>(r.columns[col].dcMg[k]), static_cast<double>(dc[k]),
                        0.05)
                << col << "/" << k;
        }
    }
    EXPECT_EQ(r.columns[0].share1, 100);
    EXPECT_EQ(r.columns[10].share2, 100);
    // 50 %/50 %: the mean hardness; sulfate and nitrate in mg/L.
    EXPECT_NEAR(static_cast<double>(r.columns[5].hardness), (0.8 + 3.5) / 2, 1e-12);
    EXPECT_NEAR(static_cast<double>(r.columns[5].so4Mg), 0.6 * 96.006, 1e-12);
    EXPECT_NEAR(static_cast<double>(r.columns[3].no3Mg), 0.1 * 62.008, 1e-12);
    // The hard water lowers the dissolution capacity of the blend.
    EXPECT_GT(r.columns[0].dcMg[0], 0.0L);
    EXPECT_LT(r.columns[10].dcMg[0], r.columns[0].dcMg[0]);
}

TEST(BlendSeriesTest, IdenticalWatersGiveElevenEqualColumns) {
    const app::WaterAnalysis w = Water(7.3L, 2.5L, 1.5L, 1.0L, "ZEB");
    const BlendSeriesResult r = ComputeBlendSeries(w, w);
    ASSERT_TRUE(r.computed);
    for (const BlendSeriesColumn& c : r.columns) {
        EXPECT_EQ(app::FormatFixed(c.so4Mg, 6, 1), "  96.0");
        for (int k = 0; k < kBlendColumnCount; ++k) {
            EXPECT_NEAR(static_cast<double>(c.pH[k]), static_cast<double>(r.columns[0].pH[k]),
                        1e-9);
            EXPECT_NEAR(static_cast<double>(c.dcMg[k]), static_cast<double>(r.columns[0].dcMg[k]),
                        1e-6);
        }
    }
}

TEST(BlendSeriesTest, WaterWithoutAlkalinityStopsTheSeries) {
    const app::WaterAnalysis w = Water(7.3L, 2.5L, 1.5L, 1.0L, "ZEB");
    const app::WaterAnalysis flat = Water(7.3L, 0.0L, 1.5L, 1.0L, "ZEB");
    EXPECT_FALSE(ComputeBlendSeries(w, flat).computed);
    EXPECT_FALSE(ComputeBlendSeries(flat, w).computed);
    // No pH gate here: an acid water still takes part.
    EXPECT_TRUE(ComputeBlendSeries(w, Water(1.5L, 0.1L, 0.1L, 0.1L, "ZEB")).computed);
}

} // namespace
} // namespace zeb::results
