#include "results/blend_series.h"

#include <algorithm>
#include <future>
#include <thread>
#include <vector>

namespace zeb::results {

namespace {

constexpr long double kMolarMassSO4 = 96.006L;
constexpr long double kMolarMassNO3 = 62.008L;

// Blend j of the series: 100 - 10 j % of the first water, 10 j % of the second.
BlendSeriesColumn ComputeStep(std::array<BlendWater, 2> waters,
                              const std::array<const BlendWaterSolution*, 2>& solutions,
                              bool iterate, int j) {
    BlendSeriesColumn col;
    col.share1 = 100 - 10 * j;
    col.share2 = 10 * j;
    waters[0].share = col.share1;
    waters[1].share = col.share2;
    const BlendState blend = MixBlend(waters, solutions, iterate);
    col.tCalc = blend.blendTemp;
    col.hardness = blend.species[chem::slot::CaTotal] + blend.species[chem::slot::MgTotal];
    col.so4Mg = blend.species[chem::slot::So4Total] * kMolarMassSO4;
    col.no3Mg = blend.species[chem::slot::No3] * kMolarMassNO3;
    chem::SpeciesVector species;
    for (int k = 0; k < kBlendColumnCount; ++k) {
        col.pH[k] = SolveBlendPH(blend, k, species).pH;
        col.dcMg[k] = DoseBlend(blend, k, species, chem::Chemical::CaCO3, chem::Target::SI0).dose *
                      kCaCO3MolarMass;
    }
    return col;
}

} // namespace

BlendSeriesResult ComputeBlendSeries(const app::WaterAnalysis& first,
                                     const app::WaterAnalysis& second, Execution execution,
                                     Progress* progress) {
    BlendSeriesResult r;
    r.text1 = first.text;
    r.text2 = second.text;
    const std::array<BlendWater, 2> waters{ParseBlendWater(first, 0.0L),
                                           ParseBlendWater(second, 0.0L)};
    if (!(waters[0].ks43 > 0.0L) || !(waters[1].ks43 > 0.0L))
        return r;
    r.computed = true;

    const bool iterate = AnyCalculatesIos(waters);
    const std::array<BlendWaterSolution, 2> solved{SolveBlendWater(waters[0], iterate),
                                                   SolveBlendWater(waters[1], iterate)};
    const std::array<const BlendWaterSolution*, 2> solutions{&solved[0], &solved[1]};

    if (execution == Execution::Serial) {
        for (int j = 0; j < kBlendSeriesSteps; ++j) {
            r.columns[j] = ComputeStep(waters, solutions, iterate, j);
            Step(progress);
        }
        return r;
    }
    // One worker per core, each taking every n-th blend.
    const int workers = static_cast<int>(
        std::clamp(std::thread::hardware_concurrency(), 1u, unsigned{kBlendSeriesSteps}));
    std::vector<std::future<void>> futures;
    for (int w = 0; w < workers; ++w) {
        futures.push_back(std::async(std::launch::async, [&, w] {
            for (int j = w; j < kBlendSeriesSteps; j += workers) {
                r.columns[j] = ComputeStep(waters, solutions, iterate, j);
                Step(progress);
            }
        }));
    }
    for (auto& f : futures)
        f.get();
    return r;
}

} // namespace zeb::results
