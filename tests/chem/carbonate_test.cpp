#include "chem/carbonate.h"
#include "chem/constants.h"
#include "chem/numeric.h"
#include "chem/speciation.h"
#include "waters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace zeb::chem {
namespace {

constexpr double kTol = 1e-4; // mmol/L; the pH is known to 1e-6 only

SpeciationResult SpeciateAt(SpeciesVector& s, long double t, long double ios, long double dic,
                            long double pH) {
    EquilibriumConstants k;
    long double gammaH = 0;
    ComputeConstants(t, ios, gammaH, k);
    s[slot::Dic] = dic;
    return Speciate(k, s, pH, gammaH);
}

struct ForwardCase {
    long double ta, dic, t43, t82, tpH, ios;
    int waterIndex;
};

testing::TestWater WaterOf(int i) {
    return i == 0   ? testing::HardWater()
           : i == 1 ? testing::SoftWater()
                    : testing::PhosphateWater();
}

// Builds the laboratory measurements of a water with known TA and DIC, then solves every
// input pair back from them.
class RoundTripTest : public ::testing::TestWithParam<ForwardCase> {
protected:
    void SetUp() override {
        const ForwardCase& c = GetParam();
        species = WaterOf(c.waterIndex).species;
        SpeciesVector s = species;
        m.t43 = c.t43;
        m.t82 = c.t82;
        m.tpH = c.tpH;
        m.dic = c.dic;
        m.pH = SolvePHBisection(s, c.tpH, c.ios, c.ta, c.dic).pH;
        // KS4.3: what the titration to 4.3 neutralises, leaving the end-point DIC behind.
        EquilibriumConstants k;
        long double gammaH = 0;
        ComputeConstants(c.t43, c.ios, gammaH, k);
        const long double h = Pow10(-4.3L) * 1000.0L / gammaH;
        const long double co3 = k[KIndex(11)] * 0.35L / (h * h);
        const long double hco3 = co3 * h / k[KIndex(2)];
        const long double dic4 = co3 + hco3 + hco3 * h / k[KIndex(1)];
        const SpeciationResult r43 = SpeciateAt(s, c.t43, c.ios, dic4, 4.3L);
        m.ks43 = c.ta - dic4 * r43.r1 - r43.r0;
        // KB8.2 (or KS8.2 when negative): alkalinity the sample has above pH 8.2.
        const SpeciationResult r82 = SpeciateAt(s, c.t82, c.ios, c.dic, 8.2L);
        const long double p = c.dic * r82.r1 + r82.r0 - c.ta;
        (p >= 0 ? m.kb82 : m.ks82) = std::fabs(p);
    }
    SpeciesVector species{};
    CarbonateMeasurements m;
};

TEST_P(RoundTripTest, EveryPairReproducesTheWater) {
    const ForwardCase& c = GetParam();
    for (bool useDIC : {false, true}) {
        SCOPED_TRACE(useDIC);
        const SpeciesVector before = species;
        const CarbonateState st = SolveCarbonateSystem(useDIC, species, m, c.ios);
        EXPECT_EQ(before, species); // the caller's vector is left alone
        for (int row = 0; row < 3; ++row) {
            SCOPED_TRACE(row);
            EXPECT_NEAR(st.ta[row], c.ta, kTol);
            EXPECT_NEAR(st.dic[row], c.dic, kTol);
        }
        EXPECT_NEAR(st.check[0], m.pH, 1e-4);
        EXPECT_NEAR(st.check[1], m.kb82 - m.ks82, kTol);
        EXPECT_NEAR(st.check[2], m.ks43, kTol);
        EXPECT_EQ(st.ta[3], 0.0L);
        EXPECT_EQ(st.check[4], 0.0L);
    }
}

std::string ForwardCaseName(const ::testing::TestParamInfo<ForwardCase>& info) {
    constexpr const char* kNames[] = {"BaseCapacity", "AcidCapacity", "LowAlkalinity"};
    return kNames[info.index];
}

INSTANTIATE_TEST_SUITE_P(
    Waters, RoundTripTest,
    ::testing::Values(ForwardCase{5.9L, 6.3L, 20.0L, 15.0L, 12.0L, 8.0L, 0},  // pH below 8.2: KB8.2
                      ForwardCase{5.9L, 5.5L, 22.0L, 22.0L, 10.0L, 12.0L, 2}, // pH above 8.2: KS8.2
                      ForwardCase{0.5L, 0.6L, 18.0L, 18.0L, 8.0L, 0.0L, 1}),
    ForwardCaseName);

TEST(SolvePHBisectionTest, CarriesTheAlkalinityItWasGiven) {
    for (const testing::TestWater& w :
         {testing::HardWater(), testing::SoftWater(), testing::PhosphateWater()}) {
        SpeciesVector s = w.species;
        const PHSolution sol = SolvePHBisection(s, 10.0L, 7.0L, w.ta, w.dic);
        EXPECT_EQ(s[slot::Dic], w.dic);
        EXPECT_GT(sol.pH, 6.0L);
        EXPECT_LT(sol.pH, 9.0L);
        EXPECT_LE(sol.speciations, 25);
        const SpeciationResult r = SpeciateAt(s, 10.0L, 7.0L, w.dic, sol.pH);
        EXPECT_NEAR(w.dic * r.r1 + r.r0, w.ta, 1e-5);
        EXPECT_EQ(sol.ionicStrength, r.ionicStrength);
    }
}

TEST(SolvePHBisectionTest, UnreachableAlkalinityEndsAtTheBracket) {
    SpeciesVector s{};
    EXPECT_NEAR(SolvePHBisection(s, 25.0L, 0.0L, 1e6L, 1.0L).pH, 14.0, 1e-6);
    EXPECT_NEAR(SolvePHBisection(s, 25.0L, 0.0L, -1e6L, 1.0L).pH, 0.0, 1e-6);
}

} // namespace
} // namespace zeb::chem
