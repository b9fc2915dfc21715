#pragma once
// The report of the state-of-saturation window: the analysis, its charge balance, the three
// columns of the carbonate system and saturation, and the dosage tables.

#include "app/project.h"
#include "app/texts.h"
#include "report/report_text.h"
#include "results/saturation.h"

#include <string_view>

namespace zeb::report {

// 259 lines saved; "Excel" converts lines 1 to 168, numbers from line 13, and aligns the columns
// of lines 34 to 44 and 53 to 56.
const ReportLayout& SaturationReportLayout();

// The whole report. `water` supplies the stored input texts; `signature`, `fileName` and
// `dateTime` go to the header lines 3, 6/7 and 9.
ReportText BuildSaturationReport(const results::WaterSaturation& result,
                                 const app::WaterAnalysis& water, app::Language language,
                                 std::string_view signature, std::string_view fileName,
                                 std::string_view dateTime);

} // namespace zeb::report
