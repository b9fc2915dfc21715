#include "chem/carbonate.h"
#include "chem/constants.h"
#include "chem/saturation.h"
#include "waters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <future>

namespace zeb::chem {
namespace {

using testing::TestWater;

constexpr long double kT = 10.0L;
constexpr long double kIos = 8.0L;

// The water after dosing `dose` of CaCO3: what DoseToTarget evaluated in its last pass.
PHSolution AfterCaCO3(const TestWater& w, long double dose) {
    SpeciesVector s = w.species;
    s[slot::CaTotal] += dose;
    return SolvePHBisection(s, kT, kIos, w.ta + 2 * dose, w.dic + dose);
}

long double SIOf(const TestWater& w) {
    SpeciesVector s = w.species;
    return SolvePHBisection(s, kT, kIos, w.ta, w.dic).si;
}

TEST(CalciteSITest, MissingIonGivesMarker) {
    EquilibriumConstants k;
    long double gammaH = 0;
    ComputeConstants(25.0L, 0.0L, gammaH, k);
    SpeciesVector s{};
    s[slot::Ca] = 1.0L;
    EXPECT_EQ(CalciteSI(s, k), -999.0L);
    s[slot::Co3] = k[KIndex(10)]; // product = K10 * Ca = K10
    EXPECT_NEAR(CalciteSI(s, k), 0.0, 1e-15);
}

TEST(DoseToTargetTest, CalciteDoseBringsTheWaterToSaturation) {
    // The hard water precipitates calcite (a negative dose, never more than its calcium), the
    // soft one dissolves it.
    for (const TestWater& w : {testing::HardWater(), testing::SoftWater()}) {
        const long double before = SIOf(w);
        EXPECT_GT(std::fabs(before), 0.2L);
        const DoseResult dc =
            DoseToTarget(Chemical::CaCO3, Target::SI0, w.species, w.ta, w.dic, kT, kIos);
        EXPECT_EQ(dc.dose<0, before> 0);
        EXPECT_GT(dc.dose, -w.species[slot::CaTotal]);
        EXPECT_LE(dc.passes, 49);
        const PHSolution after = AfterCaCO3(w, dc.dose);
        EXPECT_NEAR(after.si, 0.0, 1e-4);
        EXPECT_NEAR(after.pH, dc.pH, 1e-5);
        EXPECT_EQ(after.ionicStrength, dc.ionicStrength);
    }
}

TEST(DoseToTargetTest, CarbonDioxideToSaturation) {
    const TestWater hard = testing::HardWater(), soft = testing::SoftWater();
    const DoseResult add =
        DoseToTarget(Chemical::CO2, Target::SI0, hard.species, hard.ta, hard.dic, kT, kIos);
    EXPECT_GT(add.dose, 0.0L);
    SpeciesVector s = soft.species;
    SolvePHBisection(s, kT, kIos, soft.ta, soft.dic); // sets the DIC slot the bound uses
    const DoseResult remove =
        DoseToTarget(Chemical::CO2, Target::SI0, s, soft.ta, soft.dic, kT, kIos);
    EXPECT_LT(remove.dose, 0.0L);
    EXPECT_GE(remove.dose, -soft.dic);
}

TEST(DoseToTargetTest, EveryBaseReachesPH78) {
    const TestWater w = testing::SoftWater();
    for (Chemical c : {Chemical::CaOH2, Chemical::NaOH, Chemical::Na2CO3, Chemical::NaHCO3,
                       Chemical::CaCO3, Chemical::CaCO3MgO}) {
        SCOPED_TRACE(std::string(ChemicalName(c)));
        const DoseResult r = DoseToTarget(c, Target::pH78, w.species, w.ta, w.dic, kT, kIos);
        EXPECT_GT(r.dose, 0.0L);
        EXPECT_NEAR(r.pH, 7.8, 1e-4);
    }
}

// The sodium chemicals by their formulas: per mmol/L dosed, Na2CO3 brings 2 Na+, 2 meq of
// alkalinity and 1 DIC; NaHCO3 1, 1 and 1; NaOH 1, 1 and none. The water rebuilt that way from
// the dose found must be the water of the search's last pass.
TEST(DoseToTargetTest, SodiumChemicalsByTheirFormulas) {
    const TestWater w = testing::SoftWater();
    const struct {
        Chemical chemical;
        long double na, ta, dic;
    } cases[] = {
        {Chemical::Na2CO3, 2, 2, 1}, {Chemical::NaHCO3, 1, 1, 1}, {Chemical::NaOH, 1, 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(ChemicalName(c.chemical)));
        const DoseResult r =
            DoseToTarget(c.chemical, Target::pH78, w.species, w.ta, w.dic, kT, kIos);
        SpeciesVector s = w.species;
        s[slot::Na] += c.na * r.dose;
        const PHSolution after =
            SolvePHBisection(s, kT, kIos, w.ta + c.ta * r.dose, w.dic + c.dic * r.dose);
        EXPECT_NEAR(after.pH, 7.8, 1e-4);
        EXPECT_EQ(after.ionicStrength, r.ionicStrength);
    }
}

TEST(DoseToTargetTest, UnreachableTargetEndsAtTheBracket) {
    // Already far above pH 7.8 and still above it with all sodium removed.
    TestWater w = testing::SoftWater();
    w.species[slot::Na] = 0.5L;
    w.ta = 3.0L;
    w.dic = 2.5L;
    const DoseResult r =
        DoseToTarget(Chemical::NaOH, Target::pH78, w.species, w.ta, w.dic, kT, kIos);
    EXPECT_NEAR(r.dose, -0.5, 1e-5);
    EXPECT_GT(r.pH, 7.8L);
    // So much alkalinity that 100 mmol/L of CO2 cannot bring the pH down to 7.8.
    TestWater alkaline{};
    alkaline.species[slot::Na] = 300.0L;
    alkaline.ta = 300.0L;
    alkaline.dic = 150.0L;
    const DoseResult co2 = DoseToTarget(Chemical::CO2, Target::pH78, alkaline.species, alkaline.ta,
                                        alkaline.dic, kT, kIos);
    EXPECT_NEAR(co2.dose, 100.0, 1e-5);
    EXPECT_GT(co2.pH, 7.8L);
}

TEST(DoseToTargetTest, LowerBounds) {
    SpeciesVector s{};
    s[slot::CaTotal] = 2.0L;
    s[slot::MgTotal] = 0.5L;
    s[slot::Na] = 3.0L;
    s[slot::Dic] = 4.0L;
    const struct {
        Chemical chemical;
        long double bound;
    } cases[] = {{Chemical::CaOH2, -2.0L},  {Chemical::CaCO3, -2.0L},  {Chemical::NaOH, -3.0L},
                 {Chemical::NaHCO3, -3.0L}, {Chemical::Na2CO3, -1.5L}, {Chemical::CaCO3MgO, -0.5L},
                 {Chemical::CO2, -4.0L}};
    for (const auto& c : cases) {
        EXPECT_EQ(DoseLowerBound(c.chemical, s), c.bound) << ChemicalName(c.chemical);
    }
}

TEST(DoseToTargetTest, ConcurrentCallsAgreeWithSerialOnes) {
    const TestWater w = testing::PhosphateWater();
    auto run = [&](Chemical c) {
        return DoseToTarget(c, Target::SI0, w.species, w.ta, w.dic, kT, kIos).dose;
    };
    auto a = std::async(std::launch::async, run, Chemical::CaCO3);
    auto b = std::async(std::launch::async, run, Chemical::NaOH);
    auto c = std::async(std::launch::async, run, Chemical::CO2);
    EXPECT_EQ(a.get(), run(Chemical::CaCO3));
    EXPECT_EQ(b.get(), run(Chemical::NaOH));
    EXPECT_EQ(c.get(), run(Chemical::CO2));
}

} // namespace
} // namespace zeb::chem
