#include "chem/carbonate.h"
#include "chem/constants.h"
#include "chem/speciation.h"
#include "waters.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zeb::chem {
namespace {

using testing::TestWater;

class SpeciateWaterTest : public ::testing::TestWithParam<TestWater> {};

TEST_P(SpeciateWaterTest, SumsAreConsistentWithSpecies) {
    EquilibriumConstants k;
    long double gammaH = 0;
    ComputeConstants(10.0L, 8.0L, gammaH, k);
    SpeciesVector s = GetParam().species;
    s[slot::Dic] = GetParam().dic;
    const SpeciationResult r = Speciate(k, s, 7.4L, gammaH);
    EXPECT_LT(r.passes, 20);
    // Mass balances of the totals.
    EXPECT_NEAR(s[slot::Co2] + s[slot::Hco3] + s[slot::Co3] + s[slot::CaHco3] + s[slot::CaCo3] +
                    s[slot::MgHco3] + s[slot::MgCo3],
                s[slot::Dic], 1e-5);
    EXPECT_NEAR(s[slot::Ca] + s[slot::CaHco3] + s[slot::CaCo3] + s[slot::CaSo4] + s[slot::CaPo4] +
                    s[slot::CaHpo4] + s[slot::CaH2po4] + s[slot::CaOh],
                s[slot::CaTotal], 1e-5);
    // r1 is the carbonate alkalinity per DIC, within the loop tolerance.
    const long double carbAlk = s[slot::Hco3] + s[slot::CaHco3] + s[slot::MgHco3] +
                                2 * (s[slot::Co3] + s[slot::CaCo3] + s[slot::MgCo3]);
    EXPECT_NEAR(r.r1, carbAlk / s[slot::Dic], 1e-5);
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
        EXPECT_NEAR(r.r1, f.chargeFactor, 1e-15);
        EXPECT_NEAR(s[slot::Co2] / 2, f.alpha0, 1e-15);
        EXPECT_NEAR(s[slot::Hco3] / 2, f.alpha1, 1e-15);
        EXPECT_NEAR(s[slot::Co3] / 2, f.alpha2, 1e-15);
        EXPECT_NEAR(r.r0, f.ohMinusH, 1e-15);
        EXPECT_NEAR(f.alpha0 + f.alpha1 + f.alpha2, 1.0, 1e-15);
        EXPECT_NEAR(f.chargeFactor, f.alpha1 + 2 * f.alpha2, 1e-15);
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
    EXPECT_NEAR(r.sumCations - r.sumAnions, 0.0, 1e-6);
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
    EXPECT_NEAR(r.r0, -0.0501, 1e-4);
    EXPECT_EQ(s[slot::H3po4], 0.0L); // no phosphate, no phosphate species
}

} // namespace
} // namespace zeb::chem
