#include "chem/carbonate.h"
#include "chem/constants.h"
#include "chem/speciation.h"
#include "waters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <string>
#include <utility>

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

std::string WaterName(const ::testing::TestParamInfo<TestWater>& info) {
    constexpr const char* kNames[] = {"Hard", "Soft", "Phosphate"};
    return kNames[info.index];
}

INSTANTIATE_TEST_SUITE_P(Waters, SpeciateWaterTest,
                         ::testing::Values(testing::HardWater(), testing::SoftWater(),
                                           testing::PhosphateWater()),
                         WaterName);

// The ionic strength is 1/2 * sum of c * z^2 over the species returned; worked out here from the
// charges, so the phosphate species (PO4--- weighs 9/2) are checked at a pH where they matter.
TEST(SpeciateTest, IonicStrengthIsHalfTheSumOfCTimesZSquared) {
    const std::pair<std::size_t, int> charged[] = {
        {slot::Na, 1},     {slot::K, 1},       {slot::Cl, -1},    {slot::No3, -1},
        {slot::H, 1},      {slot::Oh, -1},     {slot::Hco3, -1},  {slot::Co3, -2},
        {slot::Ca, 2},     {slot::CaHco3, 1},  {slot::Mg, 2},     {slot::MgHco3, 1},
        {slot::So4, -2},   {slot::H2po4, -1},  {slot::Hpo4, -2},  {slot::Po4, -3},
        {slot::CaPo4, -1}, {slot::CaH2po4, 1}, {slot::MgPo4, -1}, {slot::MgH2po4, 1},
        {slot::CaOh, 1},   {slot::MgOh, 1},    {slot::Hso4, -1},  {slot::Nh4, 1},
        {slot::Fe, 2},     {slot::Mn, 2}};
    for (long double pH : {7.4L, 11.5L}) {
        SCOPED_TRACE(static_cast<double>(pH));
        EquilibriumConstants k;
        long double gammaH = 0;
        ComputeConstants(10.0L, 8.0L, gammaH, k);
        SpeciesVector s = testing::PhosphateWater().species;
        s[slot::Dic] = testing::PhosphateWater().dic;
        const SpeciationResult r = Speciate(k, s, pH, gammaH);
        long double sum = 0;
        for (const auto& [species, z] : charged)
            sum += s[species] * z * z;
        EXPECT_NEAR(r.ionicStrength, sum / 2, 1e-12L * sum);
        EXPECT_GT(s[slot::Po4], 0.0L);
    }
}

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
