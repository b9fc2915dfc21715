// zeb-cli blend / series / conditioning / w216 / compile: the blend and treatment windows on a
// project's stored inputs, and the compile-data command.
#include "app/number_format.h"
#include "app/project_file.h"
#include "app/texts.h"
#include "cli/common.h"
#include "report/blend_report.h"
#include "report/conditioning_report.h"
#include "report/series_report.h"
#include "report/w216_report.h"
#include "results/blend_saturation.h"
#include "results/blend_series.h"
#include "results/conditioning.h"
#include "results/domain.h"
#include "results/w216.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace zeb::cli {

namespace {

const std::vector<std::string> kFormats = {"text", "excel", "json"};

CLI::App* AddCommand(CLI::App& app, const std::string& name, const std::string& help,
                     ReportOptions& o) {
    auto* cmd = app.add_subcommand(name, help);
    cmd->add_option("file", o.file, "Project file (.zeb)")->required()->check(FileName());
    AddOutputOptions(*cmd, o, kFormats);
    return cmd;
}

// The window's message boxes become lines on stderr; the command goes on, as the window does.
void ShowMessages(const std::vector<std::string_view>& keys, app::Language lang) {
    for (std::string_view key : keys)
        std::cerr << app::Text(key, lang) << '\n';
}

// Na, K, Ca, Mg, Cl, NO3, SO4 and PO4 in mmol/L.
Json IonsJson(const std::array<long double, 8>& c) {
    return {{"Na", JsonNumber(c[0])},  {"K", JsonNumber(c[1])},  {"Ca", JsonNumber(c[2])},
            {"Mg", JsonNumber(c[3])},  {"Cl", JsonNumber(c[4])}, {"NO3", JsonNumber(c[5])},
            {"SO4", JsonNumber(c[6])}, {"PO4", JsonNumber(c[7])}};
}

// ---- blend ---------------------------------------------------------------------------------

Json BlendJson(const results::BlendSaturation& r) {
    using C = results::BlendSaturationColumn;
    auto per = [&](long double C::*q) {
        return JsonNumbers({r.columns[0].*q, r.columns[1].*q, r.columns[2].*q});
    };
    Json j;
    j["command"] = "blend";
    j["computed"] = r.computed;
    j["shares"] = JsonNumbers(r.shares);
    if (!r.computed)
        return j;
    const chem::SpeciesVector& s = r.blend.species;
    j["tCalc"] = JsonNumber(r.blend.blendTemp);
    namespace slot = chem::slot;
    j["ions"] = IonsJson({s[slot::Na], s[slot::K], s[slot::CaTotal], s[slot::MgTotal], s[slot::Cl],
                          s[slot::No3], s[slot::So4Total], s[slot::Po4Total]});
    j["mValue"] = per(&C::mValue);
    j["dic"] = per(&C::dic);
    j["pH"] = per(&C::pH);
    j["pHA"] = per(&C::pHA);
    j["si"] = per(&C::si);
    j["pHc"] = per(&C::pHc);
    j["ionicStrength"] = per(&C::ionicStrength);
    j["dcMmol"] = per(&C::dcMmol);
    j["dcMg"] = per(&C::dcMg);
    j["dosage"] = DosageJson(r.dosage);
    return j;
}

void RunBlend(const ReportOptions& o) {
    const app::Project project = LoadProjectOrFail(o.file, o.lang);
    RefuseOutsideDomain(results::CheckBlendDomain(project.parts.waters), o.lang);
    const results::BlendSaturation r =
        results::ComputeBlendSaturation(project.parts.waters, results::Execution::Parallel);
    if (o.format == "json") {
        EmitJson(BlendJson(r), o.out);
        return;
    }
    const report::ReportText text =
        report::BuildBlendReport(r, ResolveLanguage(o.lang), app::kSignature2012, project.fileName,
                                 app::SystemDateTimeText());
    EmitReport(text, report::BlendReportLayout(), o);
}

// ---- series --------------------------------------------------------------------------------

Json SeriesJson(const results::BlendSeriesResult& r, char first, char second) {
    Json j;
    j["command"] = "series";
    j["waters"] = {std::string(1, first), std::string(1, second)};
    j["computed"] = r.computed;
    if (!r.computed)
        return j;
    Json columns = Json::array();
    for (const results::BlendSeriesColumn& c : r.columns) {
        Json col;
        col["share1"] = c.share1;
        col["share2"] = c.share2;
        col["tCalc"] = JsonNumber(c.tCalc);
        col["hardness"] = JsonNumber(c.hardness);
        col["so4Mg"] = JsonNumber(c.so4Mg);
        col["no3Mg"] = JsonNumber(c.no3Mg);
        col["pH"] = JsonNumbers(c.pH);
        col["dcMg"] = JsonNumbers(c.dcMg);
        columns.push_back(col);
    }
    j["columns"] = columns;
    return j;
}

void RunSeries(const ReportOptions& o, const std::string& first, const std::string& second) {
    if (first == second)
        throw CommandError(kExitUsage, "series: two different waters are needed");
    const app::Project project = LoadProjectOrFail(o.file, o.lang);
    RefuseOutsideDomain(
        results::CheckSeriesDomain(project.water(WaterOf(first[0])), WaterOf(first[0]),
                                   project.water(WaterOf(second[0])), WaterOf(second[0])),
        o.lang);
    const results::BlendSeriesResult r = results::ComputeBlendSeries(
        project.water(WaterOf(first[0])), project.water(WaterOf(second[0])),
        results::Execution::Parallel);
    if (o.format == "json") {
        EmitJson(SeriesJson(r, first[0], second[0]), o.out);
        return;
    }
    const report::ReportText text =
        report::BuildSeriesReport(r, ResolveLanguage(o.lang), app::kSignature2012, project.fileName,
                                  app::SystemDateTimeText());
    EmitLines(report::SeriesReportLines(text, ReportFormatOf(o)), o.out);
}

// ---- conditioning --------------------------------------------------------------------------

Json ConditioningJson(const results::ConditioningResult& r) {
    const results::ConditioningIons& i = r.ions;
    Json j;
    j["command"] = "conditioning";
    j["chemical"] = std::string(results::ConditioningChemicalToken(r.chemical));
    j["dilution"] = r.withDilution;
    j["chargeBalance"] = JsonNumber(r.chargeBalance);
    j["ionicStrength"] = JsonNumber(r.ionicStrength);
    j["pH"] = JsonNumber(r.pH);
    j["si"] = JsonNumber(r.si);
    j["dcMmol"] = JsonNumber(r.dc);
    j["mValue"] = JsonNumber(r.mValue);
    j["dic"] = JsonNumber(r.dic);
    j["pValue"] = JsonNumber(r.pValue);
    j["ions"] = IonsJson({i.na, i.k, i.ca, i.mg, i.cl, i.no3, i.so4, i.po4});
    return j;
}

void RunConditioning(const ReportOptions& o) {
    const app::Project project = LoadProjectOrFail(o.file, o.lang);
    const app::ConditioningData& data = project.parts.conditioning;
    RefuseOutsideDomain(results::CheckConditioningDomain(data), o.lang);
    const app::Language lang = ResolveLanguage(o.lang);
    const results::ConditioningResult r =
        results::ComputeConditioning(data, results::ConditioningWithDilution(data));
    ShowMessages(r.messageKeys, lang);
    if (o.format == "json") {
        EmitJson(ConditioningJson(r), o.out);
        return;
    }
    const report::ReportText text = report::BuildConditioningReport(
        r, lang, app::kSignature2012, project.fileName, app::SystemDateTimeText());
    EmitReport(text, report::ConditioningReportLayout(), o);
}

// ---- W 216 ---------------------------------------------------------------------------------

Json W216Json(const results::W216Result& r) {
    Json j;
    j["command"] = "w216";
    j["mode"] = r.minMax ? "minmax" : "waters";
    Json sources = Json::array();
    if (!r.minMax) {
        sources.push_back(r.inputs.values[app::W216Data::Letter1]);
        sources.push_back(r.inputs.values[app::W216Data::Letter2]);
    }
    j["sources"] = sources;
    j["shares"] = {{"blend1", {JsonNumber(r.shareI1), JsonNumber(r.shareII1)}},
                   {"blend2", {JsonNumber(r.shareI2), JsonNumber(r.shareII2)}}};
    Json rows = Json::array();
    for (int row = 0; row < results::kW216RowCount; ++row) {
        const results::W216RowResult& x = r.rows[row];
        rows.push_back({{"name", std::string(results::W216RowName(row))},
                        {"I", JsonNumber(x.valueI)},
                        {"II", JsonNumber(x.valueII)},
                        {"c1", JsonNumber(x.blend1)},
                        {"c2", JsonNumber(x.blend2)},
                        {"p1", JsonNumber(x.p1)},
                        {"p2", JsonNumber(x.p2)},
                        {"diff", JsonNumber(x.difference)},
                        {"flagged", x.flagged}});
    }
    j["rows"] = rows;
    return j;
}

void RunW216(const ReportOptions& o) {
    const app::Project project = LoadProjectOrFail(o.file, o.lang);
    const app::Language lang = ResolveLanguage(o.lang);
    const results::W216Result r = results::ComputeW216(project.parts.w216, project.parts.waters);
    ShowMessages(r.messageKeys, lang);
    if (o.format == "json") {
        EmitJson(W216Json(r), o.out);
        return;
    }
    const report::ReportText text = report::BuildW216Report(
        r, lang, app::kSignature2012, project.fileName, app::SystemDateTimeText());
    EmitReport(text, report::W216ReportLayout(), o);
}

// ---- compile -------------------------------------------------------------------------------

// "FILE:LETTER" -> the chosen water of that project file.
app::WaterAnalysis WaterFromArgument(const std::string& option, const std::string& argument) {
    const auto colon = argument.rfind(':');
    const std::string letter = colon == std::string::npos ? "" : argument.substr(colon + 1);
    if (colon == 0 || (letter != "A" && letter != "B" && letter != "C"))
        throw CommandError(kExitUsage, option + ": expected FILE:LETTER with LETTER A, B or C");
    return LoadProjectOrFail(argument.substr(0, colon)).water(WaterOf(letter[0]));
}

void RunCompile(const std::string& out, const std::array<std::string, 3>& choices) {
    static constexpr const char* kOptions[] = {"--a", "--b", "--c"};
    std::array<app::WaterAnalysis, 3> selected;
    for (int i = 0; i < 3; ++i) {
        if (choices[i].empty())
            app::SetDefaultWater(selected[i]);
        else
            selected[i] = WaterFromArgument(kOptions[i], choices[i]);
    }
    app::Project project;
    project.parts = app::ComposeProject(selected);
    app::LineBuffer buffer;
    SaveProjectOrFail(out, project, buffer);
}

} // namespace

void AddBlendCommands(CLI::App& app) {
    {
        auto o = std::make_shared<ReportOptions>();
        auto* cmd = AddCommand(app, "blend",
                               "State of saturation of the blend of A, B and C in their stored "
                               "shares, with the dosage tables",
                               *o);
        cmd->callback([o] { RunBlend(*o); });
    }
    {
        auto o = std::make_shared<ReportOptions>();
        auto first = std::make_shared<std::string>();
        auto second = std::make_shared<std::string>();
        auto* cmd = app.add_subcommand(
            "series", "pH and Dc of eleven blends of two waters, 100 % to 0 % in steps of 10 %");
        cmd->add_option("file", o->file, "Project file (.zeb)")->required()->check(FileName());
        cmd->add_option("first", *first, "First water (A, B or C)")
            ->required()
            ->check(CLI::IsMember({"A", "B", "C"}));
        cmd->add_option("second", *second, "Second water (A, B or C)")
            ->required()
            ->check(CLI::IsMember({"A", "B", "C"}));
        AddOutputOptions(*cmd, *o, kFormats);
        cmd->callback([=] { RunSeries(*o, *first, *second); });
    }
    {
        auto o = std::make_shared<ReportOptions>();
        auto* cmd = AddCommand(app, "conditioning",
                               "Dosing one chemical into the project's conditioning water", *o);
        cmd->callback([o] { RunConditioning(*o); });
    }
    {
        auto o = std::make_shared<ReportOptions>();
        auto* cmd = AddCommand(app, "w216", "W 216 assessment of the project's two waters", *o);
        cmd->callback([o] { RunW216(*o); });
    }
    {
        auto out = std::make_shared<std::string>();
        auto choices = std::make_shared<std::array<std::string, 3>>();
        auto* cmd = app.add_subcommand(
            "compile", "Write a new project from waters of up to three project files");
        cmd->add_option("out", *out, "Project file to write")->required()->check(FileName());
        cmd->add_option("--a", (*choices)[0], "Water A of the new project: FILE:LETTER")
            ->required();
        cmd->add_option("--b", (*choices)[1], "Water B: FILE:LETTER (default water when absent)");
        cmd->add_option("--c", (*choices)[2], "Water C: FILE:LETTER (default water when absent)");
        cmd->callback([=] { RunCompile(*out, *choices); });
    }
}

} // namespace zeb::cli
