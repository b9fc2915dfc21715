// Whole blend commands on the example project: the series of two waters (eleven blends of
// three columns, each with a pH search and a Dc search) and the saturation of the blend.

#include "app/project_file.h"
#include "results/blend_saturation.h"
#include "results/blend_series.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

using namespace zeb;

const app::Project& Example() {
    static const app::Project project = [] {
        app::Project p;
        app::LineBuffer buffer;
        if (!app::LoadProject(ZEB_SOURCE_DIR "/resources/examples/example.zeb", p, buffer))
            throw std::runtime_error("example project not readable");
        return p;
    }();
    return project;
}

results::Execution ExecutionOf(const benchmark::State& state) {
    return state.range(1) ? results::Execution::Parallel : results::Execution::Serial;
}

// Arguments: ionic strength as stored (computed, 0) or entered (1); serial (0) or parallel (1).
void BM_BlendSeries(benchmark::State& state) {
    const app::Project& p = Example();
    app::WaterAnalysis a = p.water(app::WaterId::A);
    app::WaterAnalysis b = p.water(app::WaterId::B);
    if (state.range(0) == 1)
        a.iosMode = b.iosMode = "ZEB";
    for (auto _ : state) {
        results::BlendSeriesResult r = results::ComputeBlendSeries(a, b, ExecutionOf(state));
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_BlendSeries)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The shares stored in the example (A 40 %, B 60 %), with all dosage tables.
void BM_BlendSaturation(benchmark::State& state) {
    std::array<app::WaterAnalysis, 3> waters = Example().parts.waters;
    if (state.range(0) == 1) {
        for (auto& w : waters)
            w.iosMode = "ZEB";
    }
    for (auto _ : state) {
        results::BlendSaturation r = results::ComputeBlendSaturation(waters, ExecutionOf(state));
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_BlendSaturation)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
