#pragma once
// The report of the conditioning window: the inputs, the chemical and its dose, and the water
// after dosing.

#include "app/texts.h"
#include "report/report_text.h"
#include "results/conditioning.h"

#include <string_view>

namespace zeb::report {

// 52 lines saved; "Excel" converts all of them, numbers from line 11, no alignment inserts.
const ReportLayout& ConditioningReportLayout();

// `signature`, `fileName` and `dateTime` go to the header lines 3, 6/7 and 9.
ReportText BuildConditioningReport(const results::ConditioningResult& result,
                                   app::Language language, std::string_view signature,
                                   std::string_view fileName, std::string_view dateTime);

} // namespace zeb::report
