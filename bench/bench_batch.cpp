// A campaign of 1,000 varied waters read, computed on all cores and written as CSV: waters per
// second for the state of saturation alone and with the dosage tables (--doses).

#include "batch/batch_output.h"
#include "batch/batch_run.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

using namespace zeb;

const std::string& Campaign() {
    static const std::string bytes = [] {
        std::ifstream in(std::string(ZEB_SOURCE_DIR) + "/bench/waters_1000.csv", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    return bytes;
}

void BM_Batch(benchmark::State& state) {
    const bool doses = state.range(0) != 0;
    std::int64_t rows = 0;
    for (auto _ : state) {
        batch::CsvReader reader(std::make_unique<std::istringstream>(Campaign()), "bench",
                                Campaign().size());
        std::ostringstream out;
        auto writer = batch::MakeCsvWriter(out, app::Language::English, doses, true);
        batch::BatchOptions options;
        options.doses = doses;
        options.pHA = false; // the CSV table has no "pH A" column
        const batch::BatchSummary s = batch::RunBatch(
            reader, options, {}, [&](const batch::BatchRow& row) { writer->Write(row); });
        writer->Finish();
        rows = s.rows;
        benchmark::DoNotOptimize(out);
    }
    state.counters["waters/s"] = benchmark::Counter(static_cast<double>(rows),
                                                    benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_Batch)->ArgName("doses")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
