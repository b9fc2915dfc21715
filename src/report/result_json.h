#pragma once
// The results as JSON for programs: every number at the full precision of a double, keys named
// as in the result structs. Shared by the command line and the batch output, so a water reads
// the same in both.

#include "analysis/check.h"
#include "results/saturation.h"

#include <nlohmann/json.hpp>

#include <array>

namespace zeb::report {

using Json = nlohmann::ordered_json; // keeps keys in the order they are written

inline double JsonNumber(long double x) {
    return static_cast<double>(x);
}
Json JsonNumbers(const std::array<long double, 3>& values);
// The pair names of the three columns of a family.
Json ColumnNamesJson(bool useDic);
// {"SI0": {chemical: {quantity: [three columns]}}, "pH78": ...}, sodium only where it has a row.
Json DosageJson(const results::DosageTables& dosage);

// The analysis check: charge balance, conductivity, ionic strength and the carbonate section.
Json CheckJson(const analysis::AnalysisCheck& check);
// The state of saturation from "computed" on: the three columns, the comparisons and, when
// `withDosage`, the dosage tables. Only "computed" and "columns" when the gate failed.
Json SaturationJson(const results::WaterSaturation& r, bool withDosage);

} // namespace zeb::report
