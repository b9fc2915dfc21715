// Engine kernels: the speciation loop, the pH search and the dose search that carry the cost of
// every command.

#include "chem/carbonate.h"
#include "chem/constants.h"
#include "chem/saturation.h"
#include "chem/speciation.h"

#include <benchmark/benchmark.h>

namespace {

using namespace zeb::chem;

struct BenchWater {
    SpeciesVector species{};
    long double ta = 0, dic = 0;
};

BenchWater Hard(bool withPhosphate) {
    BenchWater w;
    w.species[slot::CaTotal] = 3.5L;
    w.species[slot::MgTotal] = 1.0L;
    w.species[slot::So4Total] = 1.2L;
    w.species[slot::Na] = 1.0L;
    w.species[slot::K] = 0.1L;
    w.species[slot::Cl] = 1.5L;
    w.species[slot::No3] = 0.3L;
    if (withPhosphate) {
        w.species[slot::Po4Total] = 0.05L;
    }
    w.ta = 5.9L;
    w.dic = 6.3L;
    w.species[slot::Dic] = w.dic;
    return w;
}

constexpr long double kT = 10.0L;
constexpr long double kIos = 12.0L;

void BM_Speciate(benchmark::State& state) {
    BenchWater w = Hard(state.range(0) != 0);
    EquilibriumConstants k;
    long double gammaH = 0;
    ComputeConstants(kT, kIos, gammaH, k);
    long double passes = 0;
    for (auto _ : state) {
        SpeciationResult r = Speciate(k, w.species, 7.53L, gammaH);
        benchmark::DoNotOptimize(r);
        passes += r.passes;
    }
    state.counters["passes/call"] = benchmark::Counter(passes, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Speciate)->ArgName("phosphate")->Arg(0)->Arg(1);

void BM_ComputeConstants(benchmark::State& state) {
    EquilibriumConstants k;
    long double gammaH = 0;
    for (auto _ : state) {
        ComputeConstants(kT, kIos, gammaH, k);
        benchmark::DoNotOptimize(k);
    }
}
BENCHMARK(BM_ComputeConstants);

void BM_SolvePHBisection(benchmark::State& state) {
    BenchWater w = Hard(state.range(0) != 0);
    long double speciations = 0;
    for (auto _ : state) {
        PHSolution r = SolvePHBisection(w.species, kT, kIos, w.ta, w.dic);
        benchmark::DoNotOptimize(r);
        speciations += r.speciations;
    }
    state.counters["speciations/call"] =
        benchmark::Counter(speciations, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SolvePHBisection)->ArgName("phosphate")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_DoseToTarget(benchmark::State& state, Chemical chemical, Target target) {
    BenchWater w = Hard(false);
    long double passes = 0, speciations = 0;
    for (auto _ : state) {
        DoseResult r = DoseToTarget(chemical, target, w.species, w.ta, w.dic, kT, kIos);
        benchmark::DoNotOptimize(r);
        passes += r.passes;
        speciations += r.speciations;
    }
    state.counters["passes/call"] = benchmark::Counter(passes, benchmark::Counter::kAvgIterations);
    state.counters["speciations/call"] =
        benchmark::Counter(speciations, benchmark::Counter::kAvgIterations);
}
BENCHMARK_CAPTURE(BM_DoseToTarget, CaCO3_SI0, Chemical::CaCO3, Target::SI0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_DoseToTarget, NaOH_pH78, Chemical::NaOH, Target::pH78)
    ->Unit(benchmark::kMicrosecond);
// The other two combinations: a dose that changes the loop's totals to pH 7.8, and one that
// changes only sodium to SI 0.
BENCHMARK_CAPTURE(BM_DoseToTarget, CaCO3_pH78, Chemical::CaCO3, Target::pH78)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_DoseToTarget, NaOH_SI0, Chemical::NaOH, Target::SI0)
    ->Unit(benchmark::kMicrosecond);

void BM_SolveCarbonateSystem(benchmark::State& state) {
    const BenchWater w = Hard(false);
    CarbonateMeasurements m;
    m.ks43 = 5.95L;
    m.kb82 = 0.45L;
    m.pH = 7.5L;
    m.t43 = m.t82 = m.tpH = kT;
    for (auto _ : state) {
        CarbonateState st = SolveCarbonateSystem(false, w.species, m, kIos);
        benchmark::DoNotOptimize(st);
    }
}
BENCHMARK(BM_SolveCarbonateSystem)->Unit(benchmark::kMicrosecond);

} // namespace
