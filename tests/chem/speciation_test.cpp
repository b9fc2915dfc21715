#include "chem/carbonate.h"
#include "chem/constants.h"
#include "chem/numeric.h"
#include "chem/speciation.h"
#include "waters.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zeb::chem {
namespace {

using testing::TestWater;

// The fixed-point loop written term by term, every division inside the loop. The production
// routine hoists the invariant divisions; both must agree to rounding.
void ReferenceSpeciate(const EquilibriumConstants& k, SpeciesVector& s, long double pH,
                       long double gammaH) {
    auto K = [&](int n) { return k[KIndex(n)]; };
    const long double h = Pow10(-pH) * 1000.0L / gammaH;
    long double co3 = s[slot::Dic], ca = s[slot::CaTotal], mg = s[slot::MgTotal];
    long double so4 = s[slot::So4Total], po4 = s[slot::Po4Total];
    long double S = 1;
    while (S >= 1e-6L) {
        const long double p[5] = {co3, ca, mg, so4, po4};
        const long double D = h / K(2) + 1 + h * h / (K(1) * K(2)) +
                              (1 / K(4) + h / (K(2) * K(3))) * ca +
                              (1 / K(7) + h / (K(2) * K(6))) * mg;
        co3 = s[slot::Dic] / D;
        mg = s[slot::MgTotal] / (h * co3 / (K(2) * K(6)) + 1 + co3 / K(7) + so4 / K(8) +
                                 po4 / K(18) + po4 * h / (K(14) * K(19)) +
                                 po4 * h * h / (K(13) * K(14) * K(20)) + K(9) / (K(22) * h));
        ca = s[slot::CaTotal] / (h * co3 / (K(2) * K(3)) + 1 + co3 / K(4) + so4 / K(5) +
                                 po4 / K(15) + po4 * h / (K(14) * K(16)) +
                                 po4 * h * h / (K(13) * K(14) * K(17)) + K(9) / (K(21) * h));
        so4 = s[slot::So4Total] / (ca / K(5) + 1 + mg / K(8) + h / K(23));
        po4 = s[slot::Po4Total] /
              (h / K(14) + 1 + h * h / (K(13) * K(14)) + h * h * h / (K(12) * K(13) * K(14)) +
               ca / K(15) + ca * h / (K(14) * K(16)) + ca * h * h / (K(13) * K(14) * K(17)) +
               mg / K(18) + mg * h / (K(14) * K(19)) + mg * h * h / (K(13) * K(14) * K(20)));
        S = (std::fabs(co3 - p[0]) + std::fabs(ca - p[1]) + std::fabs(po4 - p[4]) +
             std::fabs(mg - p[2]) + std::fabs(so4 - p[3])) /
            (co3 + ca + mg + so4 + po4);
    }
    s[slot::Co3] = co3;
    s[slot::Ca] = ca;
    s[slot::Mg] = mg;
    s[slot::So4] = so4;
    s[slot::Po4] = po4;
    s[slot::CaHpo4] = po4 * ca * h / (K(16) * K(14));
    s[slot::MgH2po4] = po4 * mg * h * h / (K(20) * K(14) * K(13));
    s[slot::CaOh] = ca * (K(9) / h) / K(21);
}

class SpeciateWaterTest : public ::testing::TestWithParam<TestWater> {};

TEST_P(SpeciateWaterTest, AgreesWithTermByTermLoop) {
    EquilibriumConstants k;
    long double gammaH = 0;
    ComputeConstants(14.0L, 12.0L, gammaH, k);
    for (long double pH : {4.3L, 6.5L, 7.6L, 8.2L, 10.0L}) {
        SCOPED_TRACE(static_cast<double>(pH));
        SpeciesVector fast = GetParam().species, ref = GetParam().species;
        fast[slot::Dic] = ref[slot::Dic] = GetParam().dic;
        Speciate(k, fast, pH, gammaH);
        ReferenceSpeciate(k, ref, pH, gammaH);
        for (std::size_t i : {slot::Co3, slot::Ca, slot::Mg, slot::So4, slot::Po4, slot::CaHpo4,
                              slot::MgH2po4, slot::CaOh}) {
            EXPECT_NEAR(static_cast<double>(fast[i]), static_cast<double>(ref[i]),
                        1e-14 * static_cast<double>(std::fabs(ref[i])) + 1e-300)
                << "slot " << i;
        }
    }
}

TEST_P(SpeciateWaterTest, SumsAreConsistentWithSpecies) {
    EquilibriumConstants k;
    long double gammaH = 0;
    ComputeConstants(10.0L, 8.0L, gammaH, k);
    SpeciesVector s = GetParam().species;
    s[slot::Dic] = GetParam().dic;
    const SpeciationResult r = Speciate(k, s, 7.4L, gammaH);
    EXPECT_LT(r.passes, 20);
    // Mass balances of the totals.
    EXPECT_NEAR(static_cast<double>(s[slot::Co2] + s[slot::Hco3] + s[slot::Co3] + s[slot::CaHco3] +
                                    s[slot::CaCo3] + s[slot::MgHco3] + s[slot::MgCo3]),
                static_cast<double>(s[slot::Dic]), 1e-5);
    EXPECT_NEAR(static_cast<double>(s[slot::Ca] + s[slot::CaHco3] + s[slot::CaCo3] +
                                    s[slot::CaSo4] + s[slot::CaPo4] + s[slot::CaHpo4] +
                                    s[slot::CaH2po4] + s[slot::CaOh]),
                static_cast<double>(s[slot::CaTotal]), 1e-5);
    // r1 is the carbonate alkalinity per DIC, within the loop tolerance.
    const long double carbAlk = s[slot::Hco3] + s[slot::CaHco3] + s[slot::MgHco3] +
                                2 * (s[slot::Co3] + s[slot::CaCo3] + s[slot::MgCo3]);
    EXPECT_NEAR(static_cast<double>(r.r1), static_cast<double>(carbAlk / s[slot::Dic]), 1e-5);
    EXPECT_GT(r.ionicStrength, 0.0L);
}

INSTANTIATE_TEST_SUITE_P(Waters, SpeciateWaterTest,
                         ::testing::Values(testing::HardWater(), testing::SoftWater(),
                                           testing::PhosphateWater()));

TEST(SpeciateTest, PureCarbonateWaterMatchesClosedForm) {
    for (long double pH : {5.0L, 6.356L, 8.3L, 10.5L}) {
        SCOPED_TRACE(static_cast<double>(pH));
        EquilibriumConstants k;
        long double gammaH = 0;
        ComputeConstants(25.0L, 5.0L, gammaH, k);
        SpeciesVector s{};
        s[slot::Dic] = 2.0L;
        const SpeciationResult r = Speciate(k, s, pH, gammaH);
        const CarbonicFractionsResult f = CarbonicFractions(pH, 25.0L, 5.0L);
        EXPECT_EQ(r.passes, 2); // the second pass sees no change
        EXPECT_NEAR(static_cast<double>(r.r1), static_cast<double>(f.chargeFactor), 1e-15);
        EXPECT_NEAR(static_cast<double>(s[slot::Co2] / 2), static_cast<double>(f.alpha0), 1e-15);
        EXPECT_NEAR(static_cast<double>(s[slot::Hco3] / 2), static_cast<double>(f.alpha1), 1e-15);
        EXPECT_NEAR(static_cast<double>(s[slot::Co3] / 2), static_cast<double>(f.alpha2), 1e-15);
        EXPECT_NEAR(static_cast<double>(r.r0), static_cast<double>(f.ohMinusH), 1e-15);
        EXPECT_NEAR(static_cast<double>(f.alpha0 + f.alpha1 + f.alpha2), 1.0, 1e-15);
        EXPECT_NEAR(static_cast<double>(f.chargeFactor),
                    static_cast<double>(f.alpha1 + 2 * f.alpha2), 1e-15);
    }
}

TEST(SpeciateTest, WaterWithoutTotalsEndsAtOnce) {
    EquilibriumConstants k;
    long double gammaH = 0;
    ComputeConstants(25.0L, 0.0L, gammaH, k);
    SpeciesVector s{};
    s[slot::Na] = 1.0L;
    s[slot::Cl] = 1.0L;
    const SpeciationResult r = Speciate(k, s, 7.0L, gammaH);
    EXPECT_EQ(r.passes, 1);
    EXPECT_FALSE(std::isnan(r.ionicStrength));
    EXPECT_NEAR(static_cast<double>(r.sumCations - r.sumAnions), 0.0, 1e-6);
}

TEST(SpeciateTest, EndPointAlkalinityIsMinusHydrogen) {
    EquilibriumConstants k;
    long double gammaH = 0;
    ComputeConstants(25.0L, 0.0L, gammaH, k);
    SpeciesVector s{}; // no sulfate: HSO4- would add its own share
    s[slot::CaTotal] = 2.0L;
    s[slot::Cl] = 4.0L;
    s[slot::Dic] = 0.1L;
    const SpeciationResult r = Speciate(k, s, 4.3L, gammaH);
    EXPECT_NEAR(static_cast<double>(r.r0), -0.0501, 1e-4);
    EXPECT_EQ(s[slot::H3po4], 0.0L); // no phosphate, no phosphate species
}

} // namespace
} // namespace zeb::chem
