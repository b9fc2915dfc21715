// zeb-cli saturation / species / check: the result windows of one water as reports or JSON.
#include "analysis/check.h"
#include "app/number_format.h"
#include "app/texts.h"
#include "cli/common.h"
#include "report/saturation_report.h"
#include "report/species_report.h"
#include "results/domain.h"
#include "results/saturation.h"
#include "results/species.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace zeb::cli {

namespace {

struct ResultOptions : ReportOptions {
    std::string water;
};

CLI::App* AddResultCommand(CLI::App& app, const std::string& name, const std::string& help,
                           const std::vector<std::string>& formats, ResultOptions& o) {
    auto* cmd = app.add_subcommand(name, help);
    cmd->add_option("file", o.file, "Project file (.zeb)")->required()->check(FileName());
    cmd->add_option("water", o.water, "Water A, B or C")
        ->required()
        ->check(CLI::IsMember({"A", "B", "C"}));
    AddOutputOptions(*cmd, o, formats);
    return cmd;
}

// ---- saturation ----------------------------------------------------------------------------

Json SaturationJson(const results::WaterSaturation& r, const app::WaterAnalysis& w,
                    const std::string& letter) {
    Json j;
    j["command"] = "saturation";
    j["water"] = letter;
    j["text"] = w.text;
    j.update(report::SaturationJson(r, true));
    return j;
}

void RunSaturation(const ResultOptions& o) {
    const app::Project project = LoadProjectOrFail(o.file, o.lang);
    RefuseOutsideDomain(results::CheckSingleWaterDomain(project, WaterOf(o.water[0])), o.lang);
    const app::WaterAnalysis& water = project.water(WaterOf(o.water[0]));
    const results::WaterSaturation r =
        results::ComputeSaturation(water, results::Execution::Parallel);
    if (o.format == "json") {
        EmitJson(SaturationJson(r, water, o.water), o.out);
        return;
    }
    const report::ReportText text =
        report::BuildSaturationReport(r, water, ResolveLanguage(o.lang), app::kSignature2012,
                                      project.fileName, app::SystemDateTimeText());
    EmitReport(text, report::SaturationReportLayout(), o);
}

// ---- species -------------------------------------------------------------------------------

template <class Column, class Get> Json PerColumn(const std::array<Column, 3>& columns, Get get) {
    return JsonNumbers({get(columns[0]), get(columns[1]), get(columns[2])});
}

Json SpeciesJson(const results::SpeciesResult& r, const std::string& letter) {
    using C = results::SpeciesColumn;
    Json j;
    j["command"] = "species";
    j["water"] = letter;
    j["computed"] = r.computed;
    j["columns"] = report::ColumnNamesJson(r.useDic);
    if (!r.computed) {
        return j;
    }
    j["mValue"] = PerColumn(r.columns, [](const C& c) { return c.mValue; });
    j["dic"] = PerColumn(r.columns, [](const C& c) { return c.dic; });
    j["pValue"] = PerColumn(r.columns, [](const C& c) { return c.pValue; });
    j["tCalc"] = JsonNumber(r.tCalc);
    j["pH"] = PerColumn(r.columns, [](const C& c) { return c.pH; });
    j["anions"] = PerColumn(r.columns, [](const C& c) { return c.anions; });
    j["cations"] = PerColumn(r.columns, [](const C& c) { return c.cations; });
    Json species = Json::object();
    for (int i = 0; i < results::kSpeciesCount; ++i) {
        species[std::string(results::kSpeciesRows[i].name)] =
            PerColumn(r.columns, [i](const C& c) { return c.species[i]; });
    }
    j["species"] = species;
    return j;
}

void RunSpecies(const ResultOptions& o) {
    const app::Project project = LoadProjectOrFail(o.file, o.lang);
    RefuseOutsideDomain(results::CheckSingleWaterDomain(project, WaterOf(o.water[0])), o.lang);
    const app::WaterAnalysis& water = project.water(WaterOf(o.water[0]));
    const results::SpeciesResult r = results::ComputeSpecies(water);
    if (o.format == "json") {
        EmitJson(SpeciesJson(r, o.water), o.out);
        return;
    }
    const report::ReportText text =
        report::BuildSpeciesReport(r, water, ResolveLanguage(o.lang), app::kSignature2012,
                                   project.fileName, app::SystemDateTimeText());
    EmitReport(text, report::SpeciesReportLayout(), o);
}

// ---- check ---------------------------------------------------------------------------------

Json CheckJson(const analysis::AnalysisCheck& c, const std::string& letter) {
    Json j;
    j["command"] = "check";
    j["water"] = letter;
    j.update(report::CheckJson(c));
    return j;
}

// The check window as text: its four sections with their labels, values and units.
std::vector<std::string> CheckListing(const analysis::AnalysisCheck& c, const app::WaterAnalysis& w,
                                      const std::string& letter, app::Language lang) {
    auto T = [lang](std::string_view key) { return std::string(app::Text(key, lang)); };
    const analysis::ConductivityFigures& f = c.figures;
    auto v3 = [](long double x) { return app::FormatFixed(x, 8, 3); };
    auto v1 = [](long double x) { return app::FormatFixed(x, 8, 1); };
    std::vector<std::string> lines;
    lines.push_back(T("TForm2.Caption") + " " + letter);
    lines.push_back(w.text);

    constexpr std::size_t kLabel = 46;
    auto row = [&](std::string_view key, const std::string& value, std::string_view unit) {
        std::string line = "  " + PadRight(T(key), kLabel) + value;
        if (!unit.empty()) {
            line += "  " + std::string(unit);
        }
        lines.push_back(line);
    };
    lines.emplace_back();
    lines.push_back(T("TForm2.headingChargeBalance"));
    row("TForm2.rowSumNegative", v3(f.sumAnions), "mmol/L");
    row("TForm2.rowSumPositive", v3(f.sumCations), "mmol/L");
    row("TForm2.rowDiffCations", v1(f.balanceCations), "%");
    row("TForm2.rowDiffMean", v1(f.balanceMean), analysis::BalanceMarkText(f.balanceMark));
    row("TForm2.rowDiffMax", v1(f.balanceMax), "%");
    row("TForm2.rowMChargeBalance", v3(f.mValueFromBalance), "mmol/L");
    lines.emplace_back();
    lines.push_back(T("TForm2.headingConductivity"));
    row("TForm2.rowECMeasured", v3(f.conductivityMeasured25), "mS/m");
    row("TForm2.rowECCalculated", v3(f.conductivityCalculated), "mS/m");
    row("TForm2.rowECDiff", v1(f.conductivityDeviation), "%");
    lines.emplace_back();
    lines.push_back(T("TForm2.headingIonicStrength"));
    lines.push_back("  " + T("TForm2.rowIosCalculatedNote"));
    row("TForm2.rowIosFromEC", v3(f.ionicStrengthFromConductivity), "mmol/L");
    if (c.manualIonicStrength) {
        row("TForm2.rowIosInput", c.ionicStrengthText, "mmol/L");
    }

    const analysis::CarbonateCheck& k = c.carbonate;
    lines.emplace_back();
    lines.push_back(T("TForm2.headingCarbonicAcid"));
    constexpr std::size_t kColumn = 13;
    constexpr std::size_t kRowLabel = 24;
    std::string heading = "  " + PadRight(T("TForm2.headingCalculatedUsing"), kRowLabel);
    for (std::string_view name : results::ColumnNames(k.useDic)) {
        heading += PadLeft(name, kColumn);
    }
    lines.push_back(heading);
    if (!k.computed) {
        return lines;
    }
    const std::string none(kColumn, ' ');
    // One value per column, or only in the column the comparison belongs to.
    auto columns = [&](std::string_view key, const std::array<std::string, 3>& values,
                       std::string_view unit) {
        std::string line = "  " + PadRight(T(key), kRowLabel);
        for (const std::string& value : values) {
            line += value.empty() ? none : PadLeft(value, kColumn);
        }
        if (!unit.empty()) {
            line += "  " + std::string(unit);
        }
        lines.push_back(line.substr(0, line.find_last_not_of(' ') + 1));
    };
    auto all = [&](const std::array<long double, 3>& a) {
        return std::array<std::string, 3>{v3(a[0]), v3(a[1]), v3(a[2])};
    };
    auto only = [&](int column, long double x) {
        std::array<std::string, 3> a;
        a[column] = v3(x);
        return a;
    };
    columns("TForm2.rowMValue", all(k.mValue), "mmol/L");
    columns("TForm2.rowDic", all(k.dic), "mmol/L");
    columns("TForm2.rowPValue", all(k.pValue), "mmol/L");
    columns("TForm2.rowAnions", all(k.anions), "mmol/L");
    columns("TForm2.rowCations", all(k.cations), "mmol/L");
    columns("TForm2.rowIosCalculated", all(k.ionicStrength), "mmol/L");
    columns("TForm2.rowPHTcalc", all(k.pH), k.pHAgreement);
    columns("TForm2.rowPHCalculated", only(0, k.pHCalculated), "");
    columns("TForm2.rowPHMeasured", only(0, k.pHMeasured), "");
    columns("TForm2.rowKb82Calculated", only(1, k.kb82Calculated), "mmol/L");
    columns("TForm2.rowKb82Measured", only(1, k.kb82Measured), "mmol/L");
    columns("TForm2.rowKs43Calculated", only(2, k.ks43Calculated), "mmol/L");
    columns("TForm2.rowKs43Measured", only(2, k.ks43Measured), "mmol/L");
    return lines;
}

void RunCheck(const ResultOptions& o) {
    const app::Project project = LoadProjectOrFail(o.file, o.lang);
    RefuseOutsideDomain(results::CheckSingleWaterDomain(project, WaterOf(o.water[0])), o.lang);
    const app::WaterAnalysis& water = project.water(WaterOf(o.water[0]));
    const analysis::AnalysisCheck c = analysis::CheckAnalysis(water);
    if (o.format == "json") {
        EmitJson(CheckJson(c, o.water), o.out);
        return;
    }
    EmitLines(CheckListing(c, water, o.water, ResolveLanguage(o.lang)), o.out);
}

} // namespace

void AddResultCommands(CLI::App& app) {
    auto saturation = std::make_shared<ResultOptions>();
    AddResultCommand(app, "saturation",
                     "State of calcite saturation of one water with the dosage tables",
                     {"text", "excel", "json"}, *saturation)
        ->callback([saturation] { RunSaturation(*saturation); });
    auto species = std::make_shared<ResultOptions>();
    AddResultCommand(app, "species", "Concentrations of the ion pairs of one water",
                     {"text", "excel", "json"}, *species)
        ->callback([species] { RunSpecies(*species); });
    // The check window has no report, so there is no "Excel" form of it.
    auto check = std::make_shared<ResultOptions>();
    AddResultCommand(app, "check", "Check of the analysis of one water", {"text", "json"}, *check)
        ->callback([check] { RunCheck(*check); });
}

} // namespace zeb::cli
