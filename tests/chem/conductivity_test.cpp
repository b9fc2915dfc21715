#include "chem/conductivity.h"

#include <gtest/gtest.h>

#include <cmath>

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

// Sodium chloride without carbonate (KS4.3 at its offset 0.05): the conductivity worked out here
// from the limiting conductivities and the formula of the model, and the published value of a
// 1 mmol/L solution at 25 degC, 123.7 uS/cm (molar conductivity 123.7 S cm2/mol).
TEST(ConductivityTest, SodiumChlorideByHandAndAsPublished) {
    ConductivityInput in;
    in.ks43 = 0.05L;
    in.na = 1.0L;
    in.cl = 1.0L;
    in.pH = 7.0L;
    in.tpH = 25.0L;
    const long double h = 1e-4L, oh = 1e-4L; // mmol/L at pH 7, no activity correction
    const long double anions = 1.0L + oh, cations = 1.0L + h;
    const long double lambdaAnions = 76.3L * 1.0L + 197.8L * oh;
    const long double lambdaCations = 50.1L * 1.0L + 349.8L * h;
    // All ions are singly charged: z+ = z- = 1.
    const long double lambda0 = lambdaAnions / anions + lambdaCations / cations;
    const long double q = lambda0 / ((lambdaAnions / anions + lambdaCations / cations) * 2.0L);
    const long double c = (anions + cations) / 2.0L;
    const long double x =
        (2.0L * lambda0 * q / ((std::sqrt(q) + 1.0L) * 2.0L * 115.2L) + 0.668L) * 2.0L * c;
    const long double expected = (lambdaAnions + lambdaCations - std::sqrt(2.0L * c) * x) / 10.0L;

    const ConductivityResult r = ComputeConductivity(in);
    EXPECT_NEAR(r.kappaCalc, expected, 1e-12);
    EXPECT_NEAR(r.kappaCalc, 12.37, 0.02);
    EXPECT_EQ(r.sumCations, 1.0L);
    EXPECT_EQ(r.sumAnions, 1.0L);
}

// Calcium sulfate: doubly charged ions weight their equivalents by z = 2.
TEST(ConductivityTest, CalciumSulfateByHand) {
    ConductivityInput in;
    in.ks43 = 0.05L;
    in.ca = 1.0L;
    in.so4 = 1.0L;
    in.pH = 7.0L;
    in.tpH = 25.0L;
    const long double hoh = 1e-4L;
    // Equivalents e, and the sums of e*lambda, e*z^2, e*z per side.
    const long double eA = 2.0L + hoh, eC = 2.0L + hoh;
    const long double lA = 2.0L * 79.8L + hoh * 197.8L, lC = 2.0L * 59.5L + hoh * 349.8L;
    const long double zA = (2.0L * 4.0L + hoh) / (2.0L * 2.0L + hoh);
    const long double zC = zA;
    const long double lambdaA = lA / eA, lambdaC = lC / eC, lambda0 = lambdaA + lambdaC;
    const long double q = zC * zA * lambda0 / ((zC * lambdaA + zA * lambdaC) * (zC + zA));
    const long double c = (eA + eC) / 2.0L;
    const long double x =
        (2.0L * lambda0 * zA * zC * q / ((std::sqrt(q) + 1.0L) * (zA + zC) * 115.2L) + 0.668L) *
        (zC + zA) * c;
    const long double expected = (lC + lA - std::sqrt((zC + zA) * c) * x) / 10.0L;
    EXPECT_NEAR(ComputeConductivity(in).kappaCalc, expected, 1e-12);
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
