// Any project that can be read goes to the computations and reports, as the result windows and
// zeb-cli would run them: either a value is refused as outside the engine's domain, or the
// computation ends and no report line shows a value that is not a number.
#include "analysis/check.h"
#include "app/project_file.h"
#include "fuzz_support.h"
#include "report/blend_report.h"
#include "report/conditioning_report.h"
#include "report/saturation_report.h"
#include "report/series_report.h"
#include "report/species_report.h"
#include "report/w216_report.h"
#include "results/blend_saturation.h"
#include "results/blend_series.h"
#include "results/conditioning.h"
#include "results/domain.h"
#include "results/saturation.h"
#include "results/species.h"
#include "results/w216.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {

using namespace zeb;

void Expect(bool ok) {
    if (!ok)
        std::abort();
}

// The free texts of the project being checked, which reports print as typed.
std::vector<std::string> userTexts;

// The typed texts are blanked in the report's own lines, before the "Excel" form turns runs of
// blanks into field separators and points into commas: a text is then found in the form the
// file holds it.
void CheckReport(const report::ReportText& text, const report::ReportLayout& layout) {
    report::ReportText blanked = text;
    for (int n = 1; n <= report::ReportText::kCapacity; ++n)
        blanked[n] = fuzz::WithoutTexts(blanked[n], userTexts);
    for (report::ReportFormat format :
         {report::ReportFormat::Standard, report::ReportFormat::Excel})
        for (const std::string& line : report::ReportLines(blanked, layout, format))
            Expect(!fuzz::ShowsNonNumber(line));
}

constexpr std::string_view kDate = "01.01.2000 00:00:00";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::InputFile file(data, size, ".zeb");
    app::Project project;
    app::LineBuffer buffer;
    try {
        if (!app::LoadProject(file.path(), project, buffer))
            return 0;
    } catch (const app::FileError&) {
        return 0;
    }
    // What the file holds and the reports print as stored: names, and values such as TOC that
    // no computation reads (a value field is read up to its first character that is not part of
    // a number, and shown as it stands).
    userTexts = {project.parts.conditioning.text, project.parts.w216.text};
    for (const app::WaterAnalysis& water : project.parts.waters)
        for (const app::WaterField& f : app::WaterAnalysisFields())
            userTexts.push_back(water.*f.member);
    for (const app::ConditioningField& f : app::ConditioningFields())
        userTexts.push_back(project.parts.conditioning.*f.member);
    for (const std::string& v : project.parts.w216.values)
        userTexts.push_back(v);
    // Reports may print them without their blanks (the "Excel" form's decimal comma is made
    // from the blanked lines, see CheckReport).
    for (std::size_t i = 0, n = userTexts.size(); i < n; ++i) {
        std::string trimmed = userTexts[i];
        trimmed.erase(0, trimmed.find_first_not_of(' '));
        trimmed.erase(trimmed.find_last_not_of(' ') + 1);
        if (trimmed != userTexts[i])
            userTexts.push_back(std::move(trimmed));
    }
    std::erase_if(userTexts, [](const std::string& t) {
        return std::none_of(t.begin(), t.end(), [](char c) { return std::isalpha(c & 0xFF); });
    });
    // One computation per input, picked by the input's bytes, keeps every input well under a
    // second; over the corpus every computation meets every kind of project.
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    const app::Language lang = hash & 1 ? app::Language::German : app::Language::English;
    const std::string_view sig = app::kSignature2012;
    const std::string name = "fuzz.zeb";
    const auto id = static_cast<app::WaterId>((hash >> 1) % 3);
    const app::WaterAnalysis& w = project.water(id);

    switch ((hash >> 3) % 7) {
    case 0:
    case 1: {
        if (auto v = results::CheckSingleWaterDomain(project, id)) {
            Expect(!results::DomainMessage(*v, lang).empty());
            break;
        }
        const results::WaterSaturation sat =
            results::ComputeSaturation(w, results::Execution::Serial);
        CheckReport(report::BuildSaturationReport(sat, w, lang, sig, name, kDate),
                    report::SaturationReportLayout());
        break;
    }
    case 2: {
        if (results::CheckSingleWaterDomain(project, id))
            break;
        const results::SpeciesResult sp = results::ComputeSpecies(w, results::Execution::Serial);
        CheckReport(report::BuildSpeciesReport(sp, w, lang, sig, name, kDate),
                    report::SpeciesReportLayout());
        (void)analysis::CheckAnalysis(w);
        break;
    }
    case 3: {
        if (results::CheckBlendDomain(project.parts.waters))
            break;
        const results::BlendSaturation b =
            results::ComputeBlendSaturation(project.parts.waters, results::Execution::Serial);
        CheckReport(report::BuildBlendReport(b, lang, sig, name, kDate),
                    report::BlendReportLayout());
        break;
    }
    case 4: {
        const auto other = static_cast<app::WaterId>((static_cast<int>(id) + 1) % 3);
        const app::WaterAnalysis& second = project.water(other);
        if (results::CheckSeriesDomain(w, id, second, other))
            break;
        CheckReport(report::BuildSeriesReport(results::ComputeBlendSeries(w, second), lang, sig,
                                              name, kDate),
                    report::SeriesReportLayout());
        break;
    }
    case 5: {
        if (results::CheckConditioningDomain(project.parts.conditioning))
            break;
        for (bool dilution : {false, true})
            CheckReport(report::BuildConditioningReport(
                            results::ComputeConditioning(project.parts.conditioning, dilution),
                            lang, sig, name, kDate),
                        report::ConditioningReportLayout());
        break;
    }
    default:
        CheckReport(
            report::BuildW216Report(results::ComputeW216(project.parts.w216, project.parts.waters),
                                    lang, sig, name, kDate),
            report::W216ReportLayout());
    }
    return 0;
}
