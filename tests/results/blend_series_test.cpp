#include "results/blend_series.h"

#include "app/number_format.h"
#include "results/blend_saturation.h"

#include <gtest/gtest.h>

namespace zeb::results {
namespace {

std::string T(long double x) {
    return app::FormatFixed(x, 8, 3);
}

app::WaterAnalysis Water(long double pH, long double ks43, long double ca, long double so4,
                         const char* iosMode) {
    app::WaterAnalysis w;
    app::SetDefaultWater(w);
    w.pH = T(pH), w.tempPH = w.tempTitr43 = w.tempTitr82 = T(10), w.ks43 = T(ks43);
    w.kb82 = T(0.2L), w.cCa = T(ca), w.cMg = T(0.3L), w.cNa = T(0.5L), w.cCl = T(0.6L);
    w.cNO3 = T(0.1L), w.cSO4 = T(so4), w.iosInput = T(5), w.iosMode = iosMode;
    return w;
}

TEST(BlendSeriesTest, EndColumnsAreTheWatersAlone) {
    const app::WaterAnalysis soft = Water(7.4L, 0.8L, 0.5L, 0.2L, "IOS");
    app::WaterAnalysis hard = Water(7.0L, 5.5L, 3.2L, 1.0L, "ZEB");
    const BlendSeriesResult r = ComputeBlendSeries(soft, hard);
    ASSERT_TRUE(r.computed);
    // The first water asks for the ionic strength, so the whole series iterates.
    hard.iosMode = "IOS";
    for (auto [col, water] : {std::pair{0, soft}, std::pair{10, hard}}) {
        water.blendPercent = "100";
        const BlendSaturation alone =
            ComputeBlendSaturation({water, Water(7, 1, 1, 1, "ZEB"), Water(7, 1, 1, 1, "ZEB")});
        for (int k = 0; k < kBlendColumnCount; ++k) {
            EXPECT_EQ(app::FormatFixed(r.columns[col].pH[k], 6, 2),
                      app::FormatFixed(alone.columns[k].pH, 6, 2))
                << col << "/" << k;
            EXPECT_EQ(app::FormatFixed(r.columns[col].dcMg[k], 6, 1),
                      app::FormatFixed(alone.columns[k].dcMg, 6, 1))
                << col << "/" << k;
        }
    }
    EXPECT_NEAR(static_cast<double>(r.columns[5].hardness), (0.8 + 3.5) / 2, 1e-12);
    EXPECT_NEAR(static_cast<double>(r.columns[5].so4Mg), 0.6 * 96.006, 1e-12);

    const BlendSeriesResult parallel =
        ComputeBlendSeries(soft, Water(7.0L, 5.5L, 3.2L, 1.0L, "ZEB"), Execution::Parallel);
    for (int j = 0; j < kBlendSeriesSteps; ++j)
        EXPECT_EQ(parallel.columns[j].dcMg, r.columns[j].dcMg) << j;
}

TEST(BlendSeriesTest, IdenticalWatersGiveElevenEqualColumns) {
    const app::WaterAnalysis w = Water(7.3L, 2.5L, 1.5L, 1.0L, "ZEB");
    const BlendSeriesResult r = ComputeBlendSeries(w, w);
    ASSERT_TRUE(r.computed);
    for (const BlendSeriesColumn& c : r.columns) {
        EXPECT_EQ(app::FormatFixed(c.so4Mg, 6, 1), "  96.0");
        for (int k = 0; k < kBlendColumnCount; ++k) {
            EXPECT_NEAR(static_cast<double>(c.pH[k] - r.columns[0].pH[k]), 0.0, 1e-9);
            EXPECT_NEAR(static_cast<double>(c.dcMg[k] - r.columns[0].dcMg[k]), 0.0, 1e-6);
        }
    }
}

TEST(BlendSeriesTest, OnlyAlkalinityGatesTheSeries) {
    const app::WaterAnalysis w = Water(7.3L, 2.5L, 1.5L, 1.0L, "ZEB");
    const app::WaterAnalysis flat = Water(7.3L, 0.0L, 1.5L, 1.0L, "ZEB");
    EXPECT_FALSE(ComputeBlendSeries(w, flat).computed);
    EXPECT_FALSE(ComputeBlendSeries(flat, w).computed);
    EXPECT_TRUE(ComputeBlendSeries(w, Water(1.5L, 0.1L, 0.1L, 0.1L, "ZEB")).computed);
}

} // namespace
} // namespace zeb::results
