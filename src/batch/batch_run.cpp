#include "batch/batch_run.h"

#include "chem/saturation.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <thread>

namespace zeb::batch {

namespace {

// "pH A" without the dosage tables: the CO2 dose to SI = 0 of each column, with exactly the
// arguments the tables would give it.
void AddPHA(const app::WaterAnalysis& water, results::WaterSaturation& s) {
    const results::WaterInputs in = results::ParseWaterInputs(water);
    for (int k = 0; k < results::kColumns; ++k) {
        const results::ColumnSolution c = results::SolveColumn(in, k);
        const results::SolvedWater solved{c.species, c.mValue, c.dic, in.tCalc};
        s.columns[k].pHA = results::DoseWithIonicStrength(chem::Chemical::CO2, chem::Target::SI0,
                                                          solved, in.ionicStrength)
                               .pH;
    }
}

// The check's carbonate section is the state of saturation's pH solutions over again (the same
// SolveColumn on the same, already normalised, water); it is taken from there instead of
// solving every column twice.
analysis::AnalysisCheck CheckOf(const app::WaterAnalysis& water,
                                const results::WaterSaturation& s) {
    analysis::AnalysisCheck check;
    check.figures = s.conductivity;
    check.manualIonicStrength = water.iosMode != "IOS";
    check.ionicStrengthText = water.iosInput;
    analysis::CarbonateCheck& c = check.carbonate;
    c.useDic = s.useDic;
    c.computed = s.computed;
    if (!s.computed)
        return check;
    for (int k = 0; k < results::kColumns; ++k) {
        const results::SaturationColumn& v = s.columns[k];
        c.mValue[k] = v.mValue;
        c.dic[k] = v.dic;
        c.pValue[k] = v.pValue;
        c.anions[k] = v.anions;
        c.cations[k] = v.cations;
        c.ionicStrength[k] = v.ionicStrength;
        c.pH[k] = v.pH;
    }
    c.pHDisagree = s.pHDisagree;
    c.pHAgreement = s.pHAgreement;
    c.pHCalculated = s.pHCalculated;
    c.pHMeasured = s.pHMeasured;
    c.kb82Calculated = s.kb82Calculated;
    c.kb82Measured = s.kb82Measured;
    c.ks43Calculated = s.ks43Calculated;
    c.ks43Measured = s.ks43Measured;
    return check;
}

// The refusal of a water outside the domain, naming the field as the file's header does and the
// value as the cell gave it (a field the row left empty or derived: its name and stored value).
RowMessage OutsideDomain(results::DomainViolation violation, const ColumnMap& columns,
                         const CsvRecord& record) {
    const auto fields = app::WaterAnalysisFields();
    std::string column, value;
    for (std::size_t f = 0; f < fields.size(); ++f) {
        if (fields[f].member != violation.member)
            continue;
        column = fields[f].name;
        for (std::size_t c = 0; c < columns.fieldOfColumn().size(); ++c) {
            if (columns.fieldOfColumn()[c] != static_cast<int>(f))
                continue;
            column = columns.names()[c];
            const std::string& cell = c < record.cells.size() ? record.cells[c] : std::string();
            const auto first = cell.find_first_not_of(" \t");
            if (first != std::string::npos)
                value = cell.substr(first, cell.find_last_not_of(" \t") - first + 1);
        }
    }
    if (!column.empty())
        violation.field = column;
    if (!value.empty())
        violation.value = value;
    return RowMessage{violation.field,
                      violation.value,
                      "msg.batchRowPart",
                      {std::to_string(record.row)},
                      std::move(violation)};
}

} // namespace

BatchRow ComputeRow(const ColumnMap& columns, const CsvDialect& dialect, const CsvRecord& record,
                    RowExtent extent) {
    BatchRow row;
    row.row = record.row;
    row.doses = extent.doses;
    row.pHA = extent.doses || extent.pHA;
    WaterRow read = ReadWaterRow(columns, dialect, record.cells);
    row.id = std::move(read.id);
    row.warnings = std::move(read.warnings);
    row.water = std::move(read.water);
    if (read.error) {
        row.error = std::move(read.error);
        return row;
    }
    // The same refusal as the single-water commands: a water outside the domain would take the
    // searches beyond their meaning (and, unchecked, beyond any bound of work), so nothing of
    // the row is computed, not even its check.
    if (auto outside = results::CheckWaterDomain(row.water, app::WaterId::A)) {
        row.error = OutsideDomain(std::move(*outside), columns, record);
        return row;
    }
    row.hasWater = true;
    row.saturation =
        results::ComputeSaturation(row.water, results::Execution::Serial,
                                   extent.doses ? results::Dosage::Tables : results::Dosage::None);
    if (!extent.doses && extent.pHA && row.saturation.computed)
        AddPHA(row.water, row.saturation);
    row.check = CheckOf(row.water, row.saturation);
    if (!row.saturation.computed)
        row.error = RowMessage{"", "", "msg.batchNotComputed", {}};
    return row;
}

DcLimit DcLimitOf(const BatchRow& row) {
    if (!row.saturation.computed)
        return DcLimit::None;
    long double dc = row.saturation.columns[0].dcMg;
    for (const results::SaturationColumn& c : row.saturation.columns)
        dc = std::max(dc, c.dcMg);
    return dc > 10 ? DcLimit::Above10 : dc > 5 ? DcLimit::Above5 : DcLimit::None;
}

BatchSummary RunBatch(CsvReader& reader, const BatchOptions& options,
                      const std::function<void(const ColumnMap&)>& header,
                      const std::function<void(const BatchRow&)>& sink,
                      const std::function<void(const BatchProgress&)>& progress) {
    const auto start = std::chrono::steady_clock::now();
    BatchSummary summary;
    CsvRecord record;
    if (!reader.Next(record))
        throw ColumnError("msg.batchNoColumns", "");
    const ColumnMap columns = ColumnMap::FromHeader(record.cells);
    if (header)
        header(columns);

    unsigned threads = options.threads ? options.threads : std::thread::hardware_concurrency();
    threads = std::max(1u, threads);
    const std::size_t blockRows = std::max<std::size_t>(1, options.blockRows);
    const RowExtent extent{options.doses, options.pHA};
    const CsvDialect dialect = reader.dialect(); // the workers' copy, fixed from the first bytes

    // The next block of records that are not blank; false once the file is read to its end.
    auto readBlock = [&](std::vector<CsvRecord>& records) {
        records.clear();
        bool more = true;
        while (records.size() < blockRows && (more = reader.Next(record))) {
            bool blank = true;
            for (const std::string& c : record.cells)
                blank = blank && c.find_first_not_of(" \t") == std::string::npos;
            if (!blank)
                records.push_back(std::move(record));
        }
        return more;
    };
    // Hands a computed block to the sink, in file order, and reports the progress.
    auto deliver = [&](const std::vector<BatchRow>& rows) {
        for (const BatchRow& row : rows) {
            ++summary.rows;
            summary.failed += row.error.has_value();
            summary.withWarnings += !row.warnings.empty();
            sink(row);
        }
        if (progress && !rows.empty()) {
            BatchProgress p;
            p.rows = summary.rows;
            p.bytesRead = reader.bytesRead();
            p.bytesTotal = reader.size();
            p.seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            progress(p);
        }
    };

    // While the threads compute one block, this one hands the block before it to the sink and
    // reads the block after it: reading and writing keep no core waiting.
    std::vector<CsvRecord> records, nextRecords;
    std::vector<BatchRow> rows, computed;
    records.reserve(blockRows);
    nextRecords.reserve(blockRows);
    bool more = readBlock(records);
    std::exception_ptr readError;
    while (!records.empty()) {
        if (options.cancel && options.cancel->load()) {
            summary.cancelled = true;
            break;
        }
        rows.assign(records.size(), BatchRow());
        {
            std::atomic<std::size_t> next{0};
            auto work = [&] {
                for (std::size_t i; (i = next.fetch_add(1)) < records.size();)
                    rows[i] = ComputeRow(columns, dialect, records[i], extent);
            };
            std::vector<std::jthread> pool;
            const unsigned workers =
                static_cast<unsigned>(std::min<std::size_t>(threads, records.size()));
            for (unsigned t = 0; t < workers; ++t)
                pool.emplace_back(work);
            deliver(computed);
            // A file that cannot be read further ends the run once what was read is delivered.
            try {
                more = more && readBlock(nextRecords);
            } catch (...) {
                readError = std::current_exception();
                more = false;
                nextRecords.clear();
            }
        }
        computed.swap(rows);
        records.swap(nextRecords);
        nextRecords.clear();
    }
    deliver(computed);
    if (readError)
        std::rethrow_exception(readError);
    return summary;
}

} // namespace zeb::batch
