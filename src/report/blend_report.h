#pragma once
// The report of the blend's state of saturation: the three waters with their shares, the
// blended inputs, the three columns and the dosage tables.

#include "app/texts.h"
#include "report/report_text.h"
#include "results/blend_saturation.h"

#include <string_view>

namespace zeb::report {

// 241 lines saved; "Excel" converts all of them, numbers from line 11, no alignment inserts.
const ReportLayout& BlendReportLayout();

// `signature`, `fileName` and `dateTime` go to the header lines 3, 6/7 and 9. When the blend
// was not computed, only the waters and the column headings are written.
ReportText BuildBlendReport(const results::BlendSaturation& result, app::Language language,
                            std::string_view signature, std::string_view fileName,
                            std::string_view dateTime);

} // namespace zeb::report
