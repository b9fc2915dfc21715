// A water the analysis form lets through but whose values contradict each other ends in no more
// work than the example water itself, counted in Speciate calls and passes.
#include "../common/test_support.h"

#include "chem/speciation.h"
#include "results/saturation.h"

#include <gtest/gtest.h>

namespace {

using namespace zeb;

chem::SpeciationTally SaturationWork(const app::WaterAnalysis& w) {
    const chem::SpeciationTally before = chem::speciationTally;
    const results::WaterSaturation r = results::ComputeSaturation(w, results::Execution::Serial);
    EXPECT_TRUE(r.computed);
    return {chem::speciationTally.calls - before.calls,
            chem::speciationTally.passes - before.passes};
}

class MistypedKs82 : public testing::TestWithParam<const char*> {};

// KS 8.2 above KS 4.3 leaves no DIC that fits: the searches meet NaN balances and stop there.
TEST_P(MistypedKs82, SaturationCostsNoMoreThanTheWaterAsTyped) {
    const app::WaterAnalysis typed = test::ExampleWater(app::WaterId::A);
    app::WaterAnalysis w = typed;
    w.ks82 = GetParam();
    const chem::SpeciationTally asTyped = SaturationWork(typed);
    const chem::SpeciationTally mistyped = SaturationWork(w);
    EXPECT_GT(asTyped.calls, 10000); // the budget is measured, not empty
    // The searches settle more or fewer sides without speciating from one water to the next, so
    // another water may take somewhat more than the example; a search spinning on NaN would take
    // many times as much.
    EXPECT_LE(mistyped.calls, asTyped.calls * 3 / 2);
    EXPECT_LE(mistyped.passes, asTyped.passes * 3 / 2);
}

INSTANTIATE_TEST_SUITE_P(Values, MistypedKs82, testing::Values("2.000", "5.000"));

} // namespace
