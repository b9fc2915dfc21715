#pragma once
// The report of the W 216 window, with waters from the project or in "min - max" mode.

#include "app/texts.h"
#include "report/report_text.h"
#include "results/w216.h"

#include <string_view>

namespace zeb::report {

// 34 lines saved; "Excel" converts all of them, numbers from line 11, no alignment inserts.
const ReportLayout& W216ReportLayout();

// `signature`, `fileName` and `dateTime` go to the header lines 3, 6/7 and 9.
ReportText BuildW216Report(const results::W216Result& result, app::Language language,
                           std::string_view signature, std::string_view fileName,
                           std::string_view dateTime);

} // namespace zeb::report
