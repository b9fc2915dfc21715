#pragma once
// The reports of the example project as the windows build them, with the fixed header of the
// reviewed files: shared by the report tests, which compare them with the reviewed files, and the
// command-line tests, which compare zeb-cli's output with them.

#include "report/blend_report.h"
#include "report/conditioning_report.h"
#include "report/saturation_report.h"
#include "report/series_report.h"
#include "report/species_report.h"
#include "report/w216_report.h"

#include "golden.h"

#include <string>
#include <vector>

namespace zeb::report::testing::builders {

using app::Language;
using app::WaterId;
using testing::Example;
constexpr ReportFormat kStandard = ReportFormat::Standard;
constexpr ReportFormat kExcel = ReportFormat::Excel;

inline std::vector<std::string> Saturation(const app::WaterAnalysis& w, Language lang,
                                           ReportFormat f) {
    return ReportLines(BuildSaturationReport(results::ComputeSaturation(w), w, lang,
                                             app::kSignature2012, kFileName, kDateTime),
                       SaturationReportLayout(), f);
}

inline std::vector<std::string> Species(const app::WaterAnalysis& w, Language lang,
                                        ReportFormat f) {
    return ReportLines(BuildSpeciesReport(results::ComputeSpecies(w), w, lang, app::kSignature2012,
                                          kFileName, kDateTime),
                       SpeciesReportLayout(), f);
}

inline std::vector<std::string> Blend(Language lang, ReportFormat f) {
    return ReportLines(BuildBlendReport(results::ComputeBlendSaturation(Example().parts.waters),
                                        lang, app::kSignature2012, kFileName, kDateTime),
                       BlendReportLayout(), f);
}

inline std::vector<std::string> Conditioning(const app::ConditioningData& d, Language lang,
                                             ReportFormat f) {
    const results::ConditioningResult r =
        results::ComputeConditioning(d, results::ConditioningWithDilution(d));
    return ReportLines(BuildConditioningReport(r, lang, app::kSignature2012, kFileName, kDateTime),
                       ConditioningReportLayout(), f);
}

inline std::vector<std::string> Series(Language lang, ReportFormat f) {
    const results::BlendSeriesResult r =
        results::ComputeBlendSeries(Example().water(WaterId::A), Example().water(WaterId::B));
    return SeriesReportLines(BuildSeriesReport(r, lang, app::kSignature2012, kFileName, kDateTime),
                             f);
}

inline std::vector<std::string> W216(const app::W216Data& d, Language lang, ReportFormat f) {
    const results::W216Result r = results::ComputeW216(d, Example().parts.waters);
    return ReportLines(BuildW216Report(r, lang, app::kSignature2012, kFileName, kDateTime),
                       W216ReportLayout(), f);
}

} // namespace zeb::report::testing::builders
