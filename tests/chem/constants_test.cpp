#include "chem/constants.h"
#include "chem/numeric.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zeb::chem {
namespace {

long double LgThermodynamic(int n, long double t) {
    EquilibriumConstants k;
    long double gammaH = 0;
    ComputeConstants(t, 0.0L, gammaH, k);
    return Log10(k[KIndex(n)] / ConstantUnitFactor(n));
}

TEST(ActivityModelTest, ParametersAt25) {
    const ActivityModel m = ComputeActivityModel(25.0L);
    EXPECT_NEAR(m.epsilon, 78.30334375, 1e-12);
    EXPECT_NEAR(m.a, 0.511415, 5e-7);
    EXPECT_NEAR(m.b, 0.328860, 5e-7);
}

TEST(ActivityModelTest, HydrogenAtTenMillimolar) {
    ActivityCoefficients lg;
    ComputeActivityCoefficients(25.0L, 10.0L, lg);
    EXPECT_NEAR(lg[slot::H], -0.041795, 5e-7);
    EXPECT_EQ(lg[slot::Co2], 0.0L);          // neutral
    EXPECT_LT(lg[slot::Po4], lg[slot::Co3]); // z^2 = 9 against 4

    EquilibriumConstants k;
    long double gammaH = 0;
    ComputeConstants(25.0L, 10.0L, gammaH, k);
    EXPECT_NEAR(gammaH, 0.90825, 5e-6);
}

TEST(ConstantsTest, ThermodynamicValuesAt25) {
    EquilibriumConstants k;
    long double gammaH = 0;
    ComputeConstants(25.0L, 0.0L, gammaH, k);
    EXPECT_EQ(gammaH, 1.0L);
    for (int n = 1; n <= kConstantCount; ++n) {
        SCOPED_TRACE(n);
        // The decimal literal for 1/298.15 leaves only a rounding residue at 25 degC.
        EXPECT_NEAR(LgThermodynamic(n, 25.0L), ConstantLgK25(n), 1e-12);
    }
    for (std::size_t i = kConstantCount; i < k.size(); ++i) {
        EXPECT_EQ(k[i], 0.0L);
    }
}

TEST(ConstantsTest, IonProductOfWaterAtRangeEnds) {
    EXPECT_NEAR(LgThermodynamic(9, 0.0L), -14.943, 5e-4);
    EXPECT_NEAR(LgThermodynamic(9, 90.0L), -12.411, 5e-4);
}

TEST(ConstantsTest, IonicStrengthRaisesConstantsWithChargedProducts) {
    EquilibriumConstants k0, k10;
    long double g0 = 0, g10 = 0;
    ComputeConstants(12.0L, 0.0L, g0, k0);
    ComputeConstants(12.0L, 10.0L, g10, k10);
    for (int n : {1, 9, 10, 11}) {
        SCOPED_TRACE(n);
        EXPECT_GT(k10[KIndex(n)], k0[KIndex(n)]);
    }
    // K11 counts the H+ term twice: its lg shift is lg gamma(CO3) + 2 lg gamma(H).
    ActivityCoefficients lg;
    ComputeActivityCoefficients(12.0L, 10.0L, lg);
    EXPECT_NEAR(Log10(k10[KIndex(11)] / k0[KIndex(11)]), -lg[slot::Co3] - 2 * lg[slot::H], 1e-15);
}

} // namespace
} // namespace zeb::chem
