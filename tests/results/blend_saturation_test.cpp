#include "results/blend_saturation.h"

#include "app/number_format.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zeb::results {
namespace {

std::string T(long double x) {
    return app::FormatFixed(x, 8, 3);
}

app::WaterAnalysis Water(long double pH, long double ks43, long double kb82, long double ca,
                         const char* share, const char* iosMode) {
    app::WaterAnalysis w;
    app::SetDefaultWater(w);
    w.pH = T(pH), w.tempPH = w.tempTitr43 = w.tempTitr82 = T(12), w.ks43 = T(ks43);
    w.kb82 = T(kb82), w.cCa = T(ca), w.cMg = T(0.4L), w.cNa = T(0.8L), w.cK = T(0.05L);
    w.cCl = T(0.9L), w.cNO3 = T(0.2L), w.cSO4 = T(0.7L), w.cPO4 = T(0.01L), w.iosInput = T(7);
    w.iosMode = iosMode;
    w.blendPercent = share;
    return w;
}

void Near(long double a, long double b, const std::string& what) {
    // The blend reaches the single water's numbers along a slightly different path (shares
    // multiplied in and out, the pH iterated once more at the blend's temperature).
    EXPECT_NEAR(static_cast<double>(a), static_cast<double>(b), 1e-6) << what;
}

TEST(BlendSaturationTest, WaterAtFullShareMatchesItsOwnSaturation) {
    for (const char* mode : {"IOS", "ZEB"}) {
        const app::WaterAnalysis a = Water(7.6L, 2.4L, 0.1L, 1.6L, "100", mode);
        const std::array<app::WaterAnalysis, 3> waters{a, Water(7.0L, 5.0L, 1.0L, 3.0L, "0", "ZEB"),
                                                       Water(7.2L, 1.0L, 0.2L, 0.6L, "0", "ZEB")};
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
                Near(got, want, what + " row " + std::to_string(&got - &rows[0].first));
            for (chem::Target t : {chem::Target::SI0, chem::Target::pH78}) {
                for (chem::Chemical c : chem::kAllChemicals) {
                    Near(blend.dosage.at(t, c, k).doseMmol, single.dosage.at(t, c, k).doseMmol,
                         what + " dose " + std::string(chem::ChemicalName(c)));
                }
            }
        }
    }
}

TEST(BlendSaturationTest, EnteredIonicStrengthsAreMixed) {
    const std::array<app::WaterAnalysis, 3> waters{Water(7.6L, 2.4L, 0.1L, 1.6L, "30", "ZEB"),
                                                   Water(7.0L, 5.0L, 1.0L, 3.0L, "70", "ZEB"),
                                                   Water(7.2L, 1.0L, 0.2L, 0.6L, "0", "ZEB")};
    const BlendSaturation r = ComputeBlendSaturation(waters);
    ASSERT_TRUE(r.computed);
    EXPECT_FALSE(r.blend.iterate);
    EXPECT_NEAR(static_cast<double>(r.blend.ionicStrength), 7.0, 1e-15);
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

} // namespace
} // namespace zeb::results
