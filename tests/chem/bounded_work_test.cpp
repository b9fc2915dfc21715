// Non-finite and non-physical values end the engine's loops early, counted in Speciate calls and
// passes; a finite water's result does not depend on the stops.
#include "chem/carbonate.h"
#include "chem/constants.h"
#include "chem/ionic_strength.h"
#include "chem/saturation.h"
#include "chem/speciation.h"
#include "waters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zeb::chem {
namespace {

constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();
constexpr long double kInf = std::numeric_limits<long double>::infinity();

SpeciationTally Since(const SpeciationTally& before) {
    return {speciationTally.calls - before.calls, speciationTally.passes - before.passes};
}

struct NonFiniteCase {
    const char* name;
    std::size_t slot;
    long double value;
};

class SpeciateNonFinite : public ::testing::TestWithParam<NonFiniteCase> {};

TEST_P(SpeciateNonFinite, MakesNoPassAndYieldsNaN) {
    EquilibriumConstants k;
    long double gammaH = 0;
    ComputeConstants(10.0L, 5.0L, gammaH, k);
    SpeciesVector s = testing::HardWater().species;
    s[slot::Dic] = 6.3L;
    s[GetParam().slot] = GetParam().value;
    const SpeciationTally before = speciationTally;
    const SpeciationResult r = Speciate(k, s, 7.4L, gammaH);
    EXPECT_EQ(r.passes, 0);
    EXPECT_EQ(Since(before).calls, 1);
    EXPECT_EQ(Since(before).passes, 0);
    EXPECT_TRUE(std::isnan(r.r1));
    EXPECT_TRUE(std::isnan(s[slot::Ca]));
    EXPECT_TRUE(std::isnan(s[slot::Co3]));
}

INSTANTIATE_TEST_SUITE_P(Totals, SpeciateNonFinite,
                         ::testing::Values(NonFiniteCase{"DicNaN", slot::Dic, kNaN},
                                           NonFiniteCase{"DicInf", slot::Dic, kInf},
                                           NonFiniteCase{"CaNaN", slot::CaTotal, kNaN},
                                           NonFiniteCase{"MgMinusInf", slot::MgTotal, -kInf},
                                           NonFiniteCase{"So4Inf", slot::So4Total, kInf},
                                           NonFiniteCase{"Po4NaN", slot::Po4Total, kNaN}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SpeciateBoundsTest, NonFinitePHOrGammaMakesNoPass) {
    EquilibriumConstants k;
    long double gammaH = 0;
    ComputeConstants(10.0L, 5.0L, gammaH, k);
    for (const auto& [pH, g] : {std::pair{kNaN, gammaH}, std::pair{-kInf, gammaH},
                                std::pair{7.0L, kNaN}, std::pair{7.0L, 0.0L}}) {
        SpeciesVector s = testing::HardWater().species;
        s[slot::Dic] = 6.3L;
        EXPECT_EQ(Speciate(k, s, pH, g).passes, 0);
    }
}

TEST(SpeciateBoundsTest, NegativeTotalsThatTurnNaNStopAtTheFixedPoint) {
    // Negative totals are finite: the loop starts, and stops as soon as all five free values are
    // NaN instead of running to its pass limit.
    EquilibriumConstants k;
    long double gammaH = 0;
    ComputeConstants(10.0L, 5.0L, gammaH, k);
    SpeciesVector s = testing::HardWater().species;
    s[slot::Dic] = -1.55L;
    s[slot::CaTotal] = -1e30L;
    s[slot::MgTotal] = 1e30L;
    const SpeciationResult r = Speciate(k, s, 2.9L, gammaH);
    EXPECT_LT(r.passes, kSpeciationMaxPasses);
}

TEST(SearchBoundsTest, NaNBalanceEndsThePHSearchAtItsFirstTrial) {
    for (const long double ta : {kNaN, 1.0L}) {
        SpeciesVector s = testing::HardWater().species;
        const long double dic = std::isnan(ta) ? 6.3L : kNaN;
        const SpeciationTally before = speciationTally;
        const PHSolution p = SolvePHBisection(s, 10.0L, 5.0L, ta, dic);
        EXPECT_EQ(p.speciations, 1);
        EXPECT_EQ(Since(before).calls, 1);
        EXPECT_EQ(p.pH, 7.0L); // the midpoint of the first trial
    }
}

TEST(SearchBoundsTest, FiniteSearchNeedsAtMostTheStatedTrials) {
    for (const long double ta : {-1e30L, 0.0L, 5.9L, 1e30L}) {
        SpeciesVector s = testing::HardWater().species;
        const PHSolution p = SolvePHBisection(s, 10.0L, 5.0L, ta, 6.3L);
        EXPECT_LE(p.speciations, kPHSearchMaxSpeciations);
    }
}

TEST(SearchBoundsTest, DoseOfANaNWaterEndsAfterOneTrialPerPass) {
    SpeciesVector s = testing::HardWater().species;
    s[slot::Dic] = 6.3L;
    for (const Target target : {Target::SI0, Target::pH78}) {
        const SpeciationTally before = speciationTally;
        const DoseResult d = DoseToTarget(Chemical::CaCO3, target, s, kNaN, 6.3L, 10.0L, 5.0L);
        EXPECT_LE(d.passes, kDoseMaxPassCounter - 1);
        EXPECT_EQ(d.speciations, d.passes);
        EXPECT_LE(Since(before).calls, d.passes);
    }
}

TEST(CarbonateBoundsTest, NaNMeasurementEndsEveryLoop) {
    CarbonateMeasurements m;
    m.ks43 = 0.45L;
    m.kb82 = kNaN;
    m.pH = 7.2L;
    m.t43 = m.t82 = m.tpH = 8.0L;
    const SpeciationTally before = speciationTally;
    const CarbonateState st = SolveCarbonateSystem(false, testing::SoftWater().species, m, 2.0L);
    EXPECT_TRUE(std::isnan(st.dic[0]));
    // End point, one pass of rows 0 and 1, one search trial, row 1's check, row 2's first pass
    // and fallback, check[2].
    EXPECT_LE(Since(before).calls, 10);
    EXPECT_LT(Since(before).calls, kCarbonateMaxSpeciations);
}

TEST(IterateIonicStrengthTest, NaNFedBackAsNaNEndsTheIteration) {
    int calls = 0;
    // The NaN is read at run time, as an engine step's result is: g++ 12 with -fsanitize=null
    // (the sanitizer build) folds this loop over a constant NaN wrongly to one pass.
    volatile long double nan = kNaN;
    const IonicStrengthIteration it = IterateIonicStrength([&](long double) {
        ++calls;
        return nan;
    });
    // Pass 1 is fed 0, pass 2 the NaN it returned; pass 3 would repeat pass 2.
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(std::isnan(it.ionicStrength));
}

TEST(IterateIonicStrengthTest, NaNThatRecoversIsIteratedOn) {
    int calls = 0;
    const IonicStrengthIteration it = IterateIonicStrength([&](long double ios) {
        ++calls;
        return std::isnan(ios) ? 3.0L : calls == 1 ? kNaN : 3.0L;
    });
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(it.ionicStrength, 3.0L);
}

} // namespace
} // namespace zeb::chem
