#pragma once
// The report of the species-concentrations window: the analysis inputs of the carbonate system,
// the three columns and every species of the speciation model.

#include "app/project.h"
#include "app/texts.h"
#include "report/report_text.h"
#include "results/species.h"

#include <string_view>

namespace zeb::report {

// 64 lines saved; "Excel" converts lines 1 to 64 with numbers from line 13, no alignment inserts.
const ReportLayout& SpeciesReportLayout();

// `water` supplies the stored input texts; `signature`, `fileName` and `dateTime` go to the
// header lines 3, 6/7 and 9.
ReportText BuildSpeciesReport(const results::SpeciesResult& result, const app::WaterAnalysis& water,
                              app::Language language, std::string_view signature,
                              std::string_view fileName, std::string_view dateTime);

} // namespace zeb::report
