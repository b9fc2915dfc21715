// Whole single-water commands on the example project: the state of saturation with its 42 doses
// and the species concentrations, one water per run, single-threaded.

#include "../tests/common/random_waters.h"
#include "app/project_file.h"
#include "chem/speciation.h"
#include "results/saturation.h"
#include "results/species.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using namespace zeb;

const app::Project& Example() {
    static const app::Project project = [] {
        app::Project p;
        app::LineBuffer buffer;
        app::LoadProject(std::string(ZEB_SOURCE_DIR) + "/resources/examples/example.zeb", p,
                         buffer);
        return p;
    }();
    return project;
}

const app::WaterAnalysis& Water(int index) {
    return Example().water(static_cast<app::WaterId>(index));
}

// "Speciate/run" counts the speciation loops that the pH searches of the columns and doses run,
// in either precision: trials whose side a search settles without them, and trials met before
// with the same pH and totals, run none. The carbonate solver adds a few hundred more per run.
// "extended/run" counts the loops of the run in extended precision.
void Saturation(benchmark::State& state, results::Execution execution) {
    const app::WaterAnalysis& water = Water(static_cast<int>(state.range(0)));
    int speciations = 0;
    long long all = 0, extended = 0;
    for (auto _ : state) {
        const chem::SpeciationTally before = chem::speciationTally;
        results::WaterSaturation r = results::ComputeSaturation(water, execution);
        benchmark::DoNotOptimize(r);
        speciations = r.speciations;
        all = chem::speciationTally.calls - before.calls;
        extended = all - (chem::speciationTally.inDouble - before.inDouble);
    }
    state.counters["Speciate/run"] = speciations;
    // Every speciation loop of the run, the carbonate solver's included (this thread's only).
    if (execution == results::Execution::Serial) {
        state.counters["all/run"] = static_cast<double>(all);
        state.counters["extended/run"] = static_cast<double>(extended);
    }
}
void BM_Saturation(benchmark::State& state) {
    Saturation(state, results::Execution::Serial);
}
BENCHMARK(BM_Saturation)->ArgName("water")->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// One thread per column: the same bits in less wall time where cores are free.
void BM_SaturationParallel(benchmark::State& state) {
    Saturation(state, results::Execution::Parallel);
}
BENCHMARK(BM_SaturationParallel)
    ->ArgName("water")
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The state of saturation without the dosage tables (pH(Tcalc), SI, pHc and Dc of the three
// columns) over 1,000 varied waters, one thread: "waters/s" is the throughput of one core. The
// waters are parsed once beforehand, as a batch over a table would.
void BM_SaturationThroughput(benchmark::State& state) {
    constexpr int kWaters = 1000;
    static const std::vector<results::WaterInputs> inputs = [] {
        std::vector<results::WaterInputs> v;
        for (int i = 0; i < kWaters; ++i) {
            v.push_back(results::ParseWaterInputs(test::RandomWater(static_cast<unsigned>(i))));
        }
        return v;
    }();
    long long speciations = 0, extended = 0;
    for (auto _ : state) {
        speciations = 0;
        const chem::SpeciationTally before = chem::speciationTally;
        for (const results::WaterInputs& in : inputs) {
            results::WaterSaturation r =
                results::ComputeSaturation(in, results::Execution::Serial, results::Dosage::None);
            benchmark::DoNotOptimize(r);
            speciations += r.speciations;
        }
        extended = (chem::speciationTally.calls - before.calls) -
                   (chem::speciationTally.inDouble - before.inDouble);
    }
    state.counters["waters/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kWaters, benchmark::Counter::kIsRate);
    state.counters["Speciate/water"] = static_cast<double>(speciations) / kWaters;
    state.counters["extended/water"] = static_cast<double>(extended) / kWaters;
}
BENCHMARK(BM_SaturationThroughput)->Unit(benchmark::kMillisecond);

void BM_Species(benchmark::State& state) {
    const app::WaterAnalysis& water = Water(static_cast<int>(state.range(0)));
    int speciations = 0;
    for (auto _ : state) {
        results::SpeciesResult r = results::ComputeSpecies(water);
        benchmark::DoNotOptimize(r);
        speciations = r.speciations;
    }
    state.counters["Speciate/run"] = speciations;
}
BENCHMARK(BM_Species)->ArgName("water")->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

} // namespace
