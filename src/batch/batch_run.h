#pragma once
// Computing a campaign: every record read, turned into a water and computed with the same
// functions as the single-water commands, on all cores, handed on in the order of the file.

#include "analysis/check.h"
#include "batch/csv_reader.h"
#include "batch/water_row.h"
#include "results/saturation.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zeb::batch {

struct BatchRow {
    std::int64_t row = 0; // record number in the file, the header being 1
    std::string id;
    std::vector<RowMessage> warnings;
    std::optional<RowMessage> error; // the row has no results (or only the check)
    bool hasWater = false;           // the record was read into `water` and `check`
    app::WaterAnalysis water;
    analysis::AnalysisCheck check;
    results::WaterSaturation saturation; // .computed false when the row failed
    bool doses = false;                  // saturation.dosage holds the dosage tables
    bool pHA = false;                    // the columns' pHA was computed
};

// What a row computes beyond pH(Tcalc), SI, pHc, Dc and the ionic strength of each column.
struct RowExtent {
    bool doses = false; // the dosage tables of all seven chemicals to SI = 0 and pH 7.8
    bool pHA = true;    // "pH A", the pH after CO2 up to SI = 0: one more dose search per column
};

// The water of a record: read, checked and computed.
BatchRow ComputeRow(const ColumnMap& columns, const CsvDialect& dialect, const CsvRecord& record,
                    RowExtent extent);

struct BatchProgress {
    std::int64_t rows = 0;
    std::uintmax_t bytesRead = 0;
    std::uintmax_t bytesTotal = 0;
    double seconds = 0;
};

struct BatchOptions {
    bool doses = false;
    bool pHA = true;      // needed by JSON only; a table without the column may spare its searches
    unsigned threads = 0; // 0: one per core
    const std::atomic<bool>* cancel = nullptr; // checked between blocks of rows
    // Rows computed together: large enough that starting the threads costs nothing beside the
    // chemistry, small enough that progress moves and memory stays flat.
    std::size_t blockRows = 256;
};

struct BatchSummary {
    std::int64_t rows = 0;
    std::int64_t failed = 0;
    std::int64_t withWarnings = 0;
    bool cancelled = false;
};

// Reads the header (throws ColumnError when unusable, app::FileError when unreadable), then
// computes the rows block by block, reading the next block and handing on the one before while
// one is computed: memory stays that of three blocks whatever the file's length. `header`
// receives the column notes before the first row; `sink` gets every row in file order, and
// `progress` is called after each block, both on the calling thread. A file that cannot be read
// further still delivers every row before the block it breaks off in, then throws.
BatchSummary RunBatch(CsvReader& reader, const BatchOptions& options,
                      const std::function<void(const ColumnMap&)>& header,
                      const std::function<void(const BatchRow&)>& sink,
                      const std::function<void(const BatchProgress&)>& progress = {});

// The highest Dc of the three columns in mg/L, measured against the limits of 5 mg/L (at the
// plant outlet) and 10 mg/L (where waters mix in the network).
enum class DcLimit { None, Above5, Above10 };
DcLimit DcLimitOf(const BatchRow& row);

} // namespace zeb::batch
