// Whole blend commands on the example project: the series of two waters (eleven blends of
// three columns, each with a pH search and a Dc search) and the saturation of the blend.

#include "app/project_file.h"
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

void BM_BlendSeries(benchmark::State& state) {
    const app::Project& p = Example();
    app::WaterAnalysis a = p.water(app::WaterId::A);
    app::WaterAnalysis b = p.water(app::WaterId::B);
    // 0: as stored (ionic strength computed); 1: the entered ionic strength, one pass each.
    if (state.range(0) == 1)
        a.iosMode = b.iosMode = "ZEB";
    for (auto _ : state) {
        results::BlendSeriesResult r = results::ComputeBlendSeries(a, b);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_BlendSeries)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
