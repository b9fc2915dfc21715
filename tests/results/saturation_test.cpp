// State of saturation, dosage tables and species concentrations of one water.
#include "../common/test_support.h"

#include "app/number_format.h"
#include "chem/engine.h"
#include "results/saturation.h"
#include "results/species.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

using namespace zeb;
using chem::Chemical;
using chem::Target;

using test::ExampleWater;

std::string F(long double x) {
    return app::FormatFixed(x, 8, 3);
}

// Same numbers, same bits: every long double of two plain structs of numbers (the 80
// significant bits of an x87 long double each).
template <class T> bool SameNumbers(const T& a, const T& b) {
    static_assert(sizeof(T) % sizeof(long double) == 0);
    const auto* x = reinterpret_cast<const long double*>(&a);
    const auto* y = reinterpret_cast<const long double*>(&b);
    for (std::size_t i = 0; i < sizeof(T) / sizeof(long double); ++i) {
        if (std::memcmp(&x[i], &y[i], 10) != 0) {
            return false;
        }
    }
    return true;
}

bool Same(long double a, long double b) {
    return SameNumbers(a, b);
}

int SpeciesRow(std::string_view name) {
    for (int i = 0; i < results::kSpeciesCount; ++i) {
        if (results::kSpeciesRows[i].name == name)
            return i;
    }
    return -1;
}

class ExampleSaturation : public testing::TestWithParam<app::WaterId> {};

TEST_P(ExampleSaturation, RowsFollowFromEachOther) {
    const results::WaterSaturation r = results::ComputeSaturation(ExampleWater(GetParam()));
    ASSERT_TRUE(r.computed);
    for (const results::SaturationColumn& c : r.columns) {
        EXPECT_EQ(c.pValue, c.mValue - c.dic);
        EXPECT_EQ(F(c.dcMg), F(c.dcMmol * 100.088L));
    }
    EXPECT_EQ(r.pHAgreement, results::PHAgreementText(results::PHValuesDisagree(
                                 r.columns[0].pH, r.columns[1].pH, r.columns[2].pH)));
    // The doses reach their targets wherever the bracket holds them.
    for (int k = 0; k < results::kColumns; ++k) {
        for (Chemical c : chem::kAllChemicals) {
            const results::DosageValues& ph = r.dosage.at(Target::pH78, c, k);
            if (ph.doseMmol < 99.0L) {
                EXPECT_NEAR(ph.pH, 7.8L, 1e-4L) << chem::ChemicalName(c) << " column " << k;
            }
        }
    }
}

TEST_P(ExampleSaturation, SpeciesColumnsAgreeWithTheStateOfSaturation) {
    const app::WaterAnalysis water = ExampleWater(GetParam());
    const results::SpeciesResult r = results::ComputeSpecies(water);
    const results::WaterSaturation sat = results::ComputeSaturation(water);
    ASSERT_TRUE(r.computed);
    for (int k = 0; k < results::kColumns; ++k) {
        const results::SpeciesColumn& c = r.columns[k];
        EXPECT_EQ(c.pValue, c.mValue - c.dic);
        // The extra speciation at the pH found repeats the pH search's last one exactly.
        EXPECT_TRUE(Same(c.pH, sat.columns[k].pH));
        EXPECT_TRUE(Same(c.mValue, sat.columns[k].mValue));
        EXPECT_TRUE(Same(c.anions, sat.columns[k].anions));
        // Mass balance of calcium over its free ion and complexes.
        long double ca = 0;
        for (const char* s :
             {"Ca++", "CaHCO3+", "CaCO3", "CaSO4", "CaOH+", "CaH2PO4+", "CaHPO4", "CaPO4-"})
            ca += c.species[SpeciesRow(s)];
        EXPECT_NEAR(ca, app::ParseNumber(water.cCa), 1e-5L);
    }
}

TEST_P(ExampleSaturation, ParallelColumnsGiveTheSameBits) {
    const app::WaterAnalysis water = ExampleWater(GetParam());
    const results::WaterSaturation a = results::ComputeSaturation(water);
    const results::WaterSaturation b =
        results::ComputeSaturation(water, results::Execution::Parallel);
    EXPECT_TRUE(SameNumbers(a.columns, b.columns));
    EXPECT_TRUE(SameNumbers(a.dosage, b.dosage));
    EXPECT_TRUE(Same(a.pHCalculated, b.pHCalculated) && Same(a.kb82Calculated, b.kb82Calculated) &&
                Same(a.ks43Calculated, b.ks43Calculated));
    const results::SpeciesResult sa = results::ComputeSpecies(water, results::Execution::Serial);
    const results::SpeciesResult sb = results::ComputeSpecies(water, results::Execution::Parallel);
    for (int k = 0; k < results::kColumns; ++k) {
        EXPECT_TRUE(Same(sa.columns[k].mValue, sb.columns[k].mValue));
        EXPECT_TRUE(Same(sa.columns[k].pH, sb.columns[k].pH));
        EXPECT_TRUE(SameNumbers(sa.columns[k].species, sb.columns[k].species));
    }
}

// Without the dosage tables every row but "pH A" keeps its bits; "pH A" is NaN, the tables empty.
TEST_P(ExampleSaturation, WithoutDosageTheColumnsKeepTheirBits) {
    const app::WaterAnalysis water = ExampleWater(GetParam());
    const results::WaterSaturation full = results::ComputeSaturation(water);
    const results::WaterSaturation lean =
        results::ComputeSaturation(water, results::Execution::Serial, results::Dosage::None);
    ASSERT_TRUE(lean.computed);
    for (int k = 0; k < results::kColumns; ++k) {
        results::SaturationColumn expected = full.columns[k];
        EXPECT_TRUE(std::isnan(lean.columns[k].pHA));
        expected.pHA = lean.columns[k].pHA;
        EXPECT_TRUE(SameNumbers(expected, lean.columns[k])) << "column " << k;
    }
    EXPECT_TRUE(SameNumbers(lean.dosage, results::DosageTables{}));
    EXPECT_TRUE(Same(lean.ks43Calculated, full.ks43Calculated));
    EXPECT_LT(lean.speciations, full.speciations / 5);
}

INSTANTIATE_TEST_SUITE_P(Waters, ExampleSaturation,
                         testing::Values(app::WaterId::A, app::WaterId::B, app::WaterId::C),
                         [](const testing::TestParamInfo<app::WaterId>& info) {
                             return std::string(1, app::WaterLetter(info.param));
                         });

TEST(Saturation, AfterDosageRows) {
    results::SolvedWater water;
    water.species[chem::slot::Na] = 1.0L;
    water.mValue = 2.0L;
    water.dic = 2.5L;
    chem::DoseResult dose;
    dose.dose = 0.5L;
    struct Case {
        Chemical chemical;
        const char *mg, *m, *p, *sodium;
    };
    const Case cases[] = {
        {Chemical::CaCO3, "  50.044", "   3.000", "   0.000", "   0.000"},
        {Chemical::CaCO3MgO, "  70.196", "   4.000", "   1.000", "   0.000"},
        {Chemical::CaOH2, "  37.039", "   3.000", "   0.500", "   0.000"},
        {Chemical::CO2, "  22.005", "   2.000", "  -1.000", "   0.000"},
        {Chemical::NaOH, "  19.995", "   2.500", "   0.000", "  34.485"},
        {Chemical::Na2CO3, "  52.994", "   3.000", "   0.000", "  45.980"},
        {Chemical::NaHCO3, "  41.999", "   2.500", "  -0.500", "  34.485"},
    };
    for (const Case& c : cases) {
        const results::DosageValues v = results::DosageValuesFor(c.chemical, dose, water);
        SCOPED_TRACE(std::string(chem::ChemicalName(c.chemical)));
        EXPECT_EQ(F(v.doseMg), c.mg);
        EXPECT_EQ(F(v.mValue), c.m);
        EXPECT_EQ(F(v.pValue), c.p);
        EXPECT_EQ(F(v.sodiumMg), c.sodium);
        EXPECT_EQ(results::HasSodiumRow(c.chemical), std::string(c.sodium) != "   0.000");
    }
}

TEST(Saturation, PHAgreementComparesColumnThreeWithTheOthers) {
    struct Case {
        long double pH1, pH2, pH3;
        bool disagree;
    };
    const Case cases[] = {
        {7.00L, 7.00L, 7.06L, true},  {7.00L, 7.06L, 7.06L, true},  {7.06L, 7.00L, 7.06L, true},
        {7.00L, 7.03L, 7.04L, false}, {7.00L, 7.08L, 7.04L, false}, {7.20L, 7.20L, 7.20L, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(results::PHValuesDisagree(c.pH1, c.pH2, c.pH3), c.disagree)
            << c.pH1 << " " << c.pH2 << " " << c.pH3;
    }
    EXPECT_EQ(results::PHAgreementText(true), "Diff. > 0,05");
    EXPECT_EQ(results::PHAgreementText(false), "Diff. < 0,05");
}

TEST(Saturation, ManualIonicStrengthIsOnePassAndShowsTheReturnedValue) {
    for (const char* entered : {"   0.000", "   5.000"}) {
        app::WaterAnalysis water = ExampleWater(app::WaterId::C);
        water.iosMode = "ZEB";
        water.iosInput = entered;
        const results::WaterInputs in = results::ParseWaterInputs(water);
        const results::ColumnSolution s = results::SolveColumn(in, 1);
        EXPECT_EQ(s.passes, 1);
        // The row shows what the pH solution at the entered value returned, not that value.
        const results::WaterSaturation r = results::ComputeSaturation(water);
        EXPECT_EQ(r.columns[1].ionicStrength, s.ph.ionicStrength);
        EXPECT_GT(std::fabs(r.columns[1].ionicStrength - app::ParseNumber(entered)), 0.5L);
        // Each dose is one search at the entered ionic strength as well.
        EXPECT_EQ(r.columns[1].pHA,
                  chem::DoseToTarget(Chemical::CO2, Target::SI0, s.species, s.mValue, s.dic,
                                     in.tCalc, app::ParseNumber(entered))
                      .pH);
    }
}

TEST(Saturation, ColumnFamilies) {
    EXPECT_EQ(results::ColumnNames(false),
              (std::array<std::string_view, 3>{"KS4.3/KB8.2", "KS4.3/pH(T)", "KB8.2/pH(T)"}));
    EXPECT_EQ(results::ColumnNames(true),
              (std::array<std::string_view, 3>{"KS4.3/DIC", "DIC/pH(T)", "KB8.2/DIC"}));
    app::WaterAnalysis water = ExampleWater(app::WaterId::C);
    water.dicMode = "DIC";
    water.dic = "   2.900";
    const results::WaterSaturation r = results::ComputeSaturation(water);
    ASSERT_TRUE(r.useDic);
    EXPECT_EQ(r.columns[0].dic, 2.9L); // the measured DIC defines the first two pairs
    EXPECT_EQ(r.columns[1].dic, 2.9L);
}

TEST(Saturation, GuardNeedsPHAboveTwoAndPositiveKS43) {
    struct Case {
        const char *pH, *ks43;
        bool computed;
    };
    for (const Case& c : {Case{"   2.000", "   2.800", false}, Case{"   7.600", "   0.000", false},
                          Case{"   2.001", "   2.800", true}}) {
        app::WaterAnalysis water = ExampleWater(app::WaterId::C);
        water.pH = c.pH;
        water.ks43 = c.ks43;
        const results::WaterSaturation r = results::ComputeSaturation(water);
        EXPECT_EQ(r.computed, c.computed) << c.pH << " " << c.ks43;
        if (!c.computed) {
            EXPECT_EQ(r.columns[0].mValue, 0.0L);
            EXPECT_EQ(r.dosage.at(Target::SI0, Chemical::CaCO3, 0).doseMmol, 0.0L);
            EXPECT_GT(r.conductivity.sumCations, 0.0L); // the analysis figures stay
        }
    }
}

TEST(Saturation, DoseOnACyclingIonicStrengthIsThatOfThePlainIteration) {
    // Water B's first column needs so much NaHCO3 for pH 7.8 that its ionic strength never
    // settles: the iteration ends at its pass limit, and the dose must be the one of its last
    // pass however the passes are shared or cached.
    const results::WaterInputs in = results::ParseWaterInputs(ExampleWater(app::WaterId::B));
    const results::ColumnSolution s = results::SolveColumn(in, 0);
    const results::SolvedWater water{s.species, s.mValue, s.dic, in.tCalc};
    chem::DoseResult plain;
    auto step = [&](long double ios) {
        plain = chem::DoseToTarget(Chemical::NaHCO3, Target::pH78, water.species, water.mValue,
                                   water.dic, water.temperature, ios);
        return plain.ionicStrength;
    };
    const chem::IonicStrengthIteration it = chem::IterateIonicStrength(step);
    const chem::DoseResult last = plain;
    // Still moving after the last pass: the case this test is about.
    ASSERT_GE(std::fabs(step(it.ionicStrength) - it.ionicStrength), 1e-6L);
    const chem::DoseResult cached =
        results::DoseWithIonicStrength(Chemical::NaHCO3, Target::pH78, water, in.ionicStrength);
    EXPECT_TRUE(Same(cached.dose, last.dose));
    EXPECT_TRUE(Same(cached.pH, last.pH));
    EXPECT_TRUE(Same(cached.ionicStrength, last.ionicStrength));
}

TEST(Species, WithoutPhosphateEveryPhosphateSpeciesIsZero) {
    const results::SpeciesResult r = results::ComputeSpecies(ExampleWater(app::WaterId::A));
    for (const char* s : {"PO4---", "H3PO4", "H2PO4-", "HPO4--", "CaH2PO4+", "CaHPO4", "CaPO4-",
                          "MgH2PO4+", "MgHPO4", "MgPO4-"}) {
        EXPECT_EQ(r.columns[2].species[SpeciesRow(s)], 0.0L) << s;
    }
    EXPECT_GT(r.columns[2].species[SpeciesRow("HCO3-")], 0.0L);
}

TEST(Species, ManualIonicStrengthIsOnePassAlsoAtZero) {
    app::WaterAnalysis water = ExampleWater(app::WaterId::B);
    water.iosMode = "ZEB";
    water.iosInput = "   0.000";
    const results::SpeciesResult r = results::ComputeSpecies(water);
    for (const results::SpeciesColumn& c : r.columns) {
        EXPECT_EQ(c.passes, 1);
    }
    water.iosMode = "IOS";
    EXPECT_GT(results::ComputeSpecies(water).columns[0].passes, 1);
}

} // namespace
