#include "batch/batch_run.h"

#include "chem/saturation.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace zeb::batch {

namespace {

// The state of saturation without the dosage tables: the pH solution of each column and the two
// doses to SI = 0 that give pHc, Dc and "pH A" (CaCO3 and CO2), exactly as
// ComputeSaturationColumn takes them from its tables.
results::WaterSaturation SaturationWithoutDosage(const app::WaterAnalysis& water, bool pHA) {
    using chem::Chemical;
    using chem::Target;
    results::WaterSaturation out;
    const results::WaterInputs in = results::ParseWaterInputs(water);
    out.useDic = in.useDic;
    out.conductivity = analysis::ComputeConductivityFigures(water);
    if (!results::PassesGuard(in))
        return out;
    out.computed = true;
    out.tCalc = in.tCalc;
    std::array<long double, results::kColumns> calculated{};
    for (int k = 0; k < results::kColumns; ++k) {
        const results::ColumnSolution s = results::SolveColumn(in, k);
        results::SaturationColumn& v = out.columns[k];
        v.mValue = s.mValue;
        v.dic = s.dic;
        v.pValue = s.mValue - s.dic;
        v.anions = s.ph.sumAnions;
        v.cations = s.ph.sumCations;
        v.pH = s.ph.pH;
        v.si = s.ph.si;
        v.ionicStrength = s.ph.ionicStrength;
        calculated[k] = s.carbonate.check[k];
        const results::SolvedWater solved{s.species, s.mValue, s.dic, in.tCalc};
        const results::DosageValues caco3 = results::DosageValuesFor(
            Chemical::CaCO3,
            results::DoseWithIonicStrength(Chemical::CaCO3, Target::SI0, solved, in.ionicStrength),
            solved);
        v.pHc = caco3.pH;
        v.dcMmol = caco3.doseMmol;
        v.dcMg = caco3.doseMmol * results::kCaCO3MolarMass;
        if (pHA) {
            v.pHA =
                results::DosageValuesFor(Chemical::CO2,
                                         results::DoseWithIonicStrength(Chemical::CO2, Target::SI0,
                                                                        solved, in.ionicStrength),
                                         solved)
                    .pH;
        }
    }
    out.pHCalculated = calculated[0];
    out.pHMeasured = in.measured.pH;
    out.kb82Calculated = calculated[1];
    out.kb82Measured = in.measured.kb82 - in.measured.ks82;
    out.ks43Calculated = calculated[2];
    out.ks43Measured = in.measured.ks43;
    out.pHDisagree =
        results::PHValuesDisagree(out.columns[0].pH, out.columns[1].pH, out.columns[2].pH);
    out.pHAgreement = results::PHAgreementText(out.pHDisagree);
    return out;
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
    row.hasWater = true;
    row.saturation = extent.doses
                         ? results::ComputeSaturation(row.water, results::Execution::Serial)
                         : SaturationWithoutDosage(row.water, extent.pHA);
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
    std::vector<CsvRecord> records;
    std::vector<BatchRow> rows;
    const std::size_t blockRows = std::max<std::size_t>(1, options.blockRows);
    records.reserve(blockRows);
    bool more = true;
    while (more) {
        if (options.cancel && options.cancel->load()) {
            summary.cancelled = true;
            break;
        }
        records.clear();
        while (records.size() < blockRows && (more = reader.Next(record))) {
            bool blank = true;
            for (const std::string& c : record.cells)
                blank = blank && c.find_first_not_of(" \t") == std::string::npos;
            if (!blank)
                records.push_back(std::move(record));
        }
        rows.assign(records.size(), BatchRow());
        const RowExtent extent{options.doses, options.pHA};
        std::atomic<std::size_t> next{0};
        auto work = [&] {
            for (std::size_t i; (i = next.fetch_add(1)) < records.size();)
                rows[i] = ComputeRow(columns, reader.dialect(), records[i], extent);
        };
        {
            std::vector<std::jthread> pool;
            const unsigned helpers = std::min<std::size_t>(threads, records.size()) > 1
                                         ? std::min<std::size_t>(threads, records.size()) - 1
                                         : 0;
            for (unsigned t = 0; t < helpers; ++t)
                pool.emplace_back(work);
            work();
        }
        for (const BatchRow& row : rows) {
            ++summary.rows;
            summary.failed += row.error.has_value();
            summary.withWarnings += !row.warnings.empty();
            sink(row);
        }
        if (progress) {
            BatchProgress p;
            p.rows = summary.rows;
            p.bytesRead = reader.bytesRead();
            p.bytesTotal = reader.size();
            p.seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            progress(p);
        }
    }
    return summary;
}

} // namespace zeb::batch
