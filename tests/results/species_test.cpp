// Species concentrations of one water.
#include "../common/test_support.h"

#include "app/number_format.h"
#include "results/saturation.h"
#include "results/species.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using namespace zeb;

using test::ExampleWater;

bool Same(long double a, long double b) {
    return std::memcmp(&a, &b, 10) == 0;
}

int Row(std::string_view name) {
    for (int i = 0; i < results::kSpeciesCount; ++i) {
        if (results::kSpeciesRows[i].name == name) {
            return i;
        }
    }
    return -1;
}

class ExampleSpecies : public testing::TestWithParam<app::WaterId> {};

TEST_P(ExampleSpecies, ColumnsAgreeWithTheStateOfSaturation) {
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
             {"Ca++", "CaHCO3+", "CaCO3", "CaSO4", "CaOH+", "CaH2PO4+", "CaHPO4", "CaPO4-"}) {
            ca += c.species[Row(s)];
        }
        EXPECT_NEAR(ca, app::ParseNumber(water.cCa), 1e-5L);
    }
}

TEST_P(ExampleSpecies, ParallelColumnsGiveTheSameBits) {
    const app::WaterAnalysis water = ExampleWater(GetParam());
    const results::SpeciesResult a = results::ComputeSpecies(water, results::Execution::Serial);
    const results::SpeciesResult b = results::ComputeSpecies(water, results::Execution::Parallel);
    for (int k = 0; k < results::kColumns; ++k) {
        EXPECT_TRUE(Same(a.columns[k].mValue, b.columns[k].mValue));
        EXPECT_TRUE(Same(a.columns[k].pH, b.columns[k].pH));
        for (int i = 0; i < results::kSpeciesCount; ++i) {
            EXPECT_TRUE(Same(a.columns[k].species[i], b.columns[k].species[i]));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Waters, ExampleSpecies,
                         testing::Values(app::WaterId::A, app::WaterId::B, app::WaterId::C));

TEST(Species, WithoutPhosphateEveryPhosphateSpeciesIsZero) {
    const results::SpeciesResult r = results::ComputeSpecies(ExampleWater(app::WaterId::A));
    for (const char* s : {"PO4---", "H3PO4", "H2PO4-", "HPO4--", "CaH2PO4+", "CaHPO4", "CaPO4-",
                          "MgH2PO4+", "MgHPO4", "MgPO4-"}) {
        EXPECT_EQ(r.columns[2].species[Row(s)], 0.0L) << s;
    }
    EXPECT_GT(r.columns[2].species[Row("HCO3-")], 0.0L);
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
