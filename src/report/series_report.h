#pragma once
// The report of the blend series window: eleven blends of two waters side by side.

#include "app/texts.h"
#include "report/report_text.h"
#include "results/blend_series.h"

#include <string_view>

namespace zeb::report {

// 33 lines saved; "Excel" converts all of them with numbers from line 15, and afterwards the
// first ";" of the two share rows (lines 15 and 16) becomes two blanks.
const ReportLayout& SeriesReportLayout();

// The saved lines in either format, with the share-row rule of the "Excel" form applied.
std::vector<std::string> SeriesReportLines(const ReportText& report, ReportFormat format);

// `signature`, `fileName` and `dateTime` go to the header lines 3, 6/7 and 9. When the series
// was not computed, the value rows are left empty.
ReportText BuildSeriesReport(const results::BlendSeriesResult& result, app::Language language,
                             std::string_view signature, std::string_view fileName,
                             std::string_view dateTime);

} // namespace zeb::report
