#include "chem/conductivity.h"

#include <gtest/gtest.h>

namespace zeb::chem {
namespace {

// A typical hard groundwater: charge balanced to 0.05 meq/L.
ConductivityInput HardAnalysis() {
    ConductivityInput in;
    in.kappa25 = 90.0L;
    in.ks43 = 5.95L;
    in.so4 = 1.2L;
    in.cl = 1.5L;
    in.no3 = 0.3L;
    in.ca = 3.5L;
    in.mg = 1.0L;
    in.na = 1.0L;
    in.k = 0.1L;
    in.pH = 7.4L;
    in.tpH = 10.0L;
    return in;
}

TEST(ConductivityTest, HardWaterIsPlausible) {
    const ConductivityResult r = ComputeConductivity(HardAnalysis());
    EXPECT_NEAR(r.sumCations, 10.1, 1e-12);
    EXPECT_NEAR(r.sumAnions, 10.1, 1e-12);
    EXPECT_NEAR(r.balanceMax, 0.0, 1e-9);
    EXPECT_NEAR(r.iosKappa, 90.0 / 6.0822, 1e-12);
    // A calcium hydrogen carbonate water conducts about 9 mS/m per meq/L.
    EXPECT_GT(r.kappaCalc, 80.0L);
    EXPECT_LT(r.kappaCalc, 110.0L);
    EXPECT_NEAR(r.kappaDeviation, (r.kappaCalc - 90.0L) / 90.0L * 100.0L, 1e-9);
}

TEST(ConductivityTest, BalanceFormsDifferOnlyInTheDivisor) {
    ConductivityInput in = HardAnalysis();
    in.na = 2.0L; // one meq/L more cations
    const ConductivityResult r = ComputeConductivity(in);
    const long double delta = r.sumCations - r.sumAnions;
    EXPECT_NEAR(delta, 1.0, 1e-12);
    EXPECT_NEAR(r.balanceCations, 100 / r.sumCations, 1e-12);
    EXPECT_NEAR(r.balanceMax, 100 / r.sumCations, 1e-12);
    EXPECT_NEAR(r.balanceMean, 200 / (r.sumCations + r.sumAnions), 1e-12);
}

TEST(ConductivityTest, UnmeasuredConductivityLeavesItsFiguresAtZero) {
    ConductivityInput in = HardAnalysis();
    in.kappa25 = 0;
    const ConductivityResult r = ComputeConductivity(in);
    EXPECT_EQ(r.iosKappa, 0.0L);
    EXPECT_EQ(r.kappaDeviation, 0.0L);
    EXPECT_GT(r.kappaCalc, 0.0L);
}

TEST(ConductivityTest, PhosphateChargeRisesWithPH) {
    EXPECT_NEAR(PhosphateChargeFactor(4.0L, 0.0L, 25.0L), 1.0, 0.02);
    const long double mid = PhosphateChargeFactor(7.2L, 0.0L, 25.0L);
    EXPECT_NEAR(mid, 1.5, 0.01); // pK2 of phosphoric acid
    EXPECT_GT(PhosphateChargeFactor(12.5L, 0.0L, 25.0L), 2.5L);
}

} // namespace
} // namespace zeb::chem
