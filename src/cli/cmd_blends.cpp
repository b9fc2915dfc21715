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
#include "results/w216.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace zeb::cli {

namespace {

struct Options {
    std::string file;
    std::string format = "text";
    std::string lang;
    std::string out;
};

CLI::App* AddCommand(CLI::App& app, const std::string& name, const std::string& help, Options& o) {
    auto* cmd = app.add_subcommand(name, help);
    cmd->add_option("file", o.file, "Project file (.zeb)")->required();
    cmd->add_option("--format", o.format, "Output format")
        ->check(CLI::IsMember({"text", "excel", "json"}))
        ->capture_default_str();
    cmd->add_option("--lang", o.lang, "Report language (de, en)")
        ->check(CLI::IsMember({"de", "en"}));
    cmd->add_option("-o", o.out, "Write to this file instead of stdout");
    return cmd;
}

report::ReportFormat FormatOf(const Options& o) {
    return o.format == "excel" ? report::ReportFormat::Excel : report::ReportFormat::Standard;
}

// The window's message boxes become lines on stderr; the command goes on, as the window does.
void ShowMessages(const std::vector<std::string_view>& keys, app::Language lang) {
    for (std::string_view key : keys)
        std::cerr << app::Text(key, lang) << '\n';
}

app::WaterId WaterOf(char letter) {
    return letter == 'B' ? app::WaterId::B : letter == 'C' ? app::WaterId::C : app::WaterId::A;
}

Json Numbers(const std::array<long double, 3>& values) {
    Json a = Json::array();
    for (long double v : values)
        a.push_back(JsonNumber(v));
    return a;
}

// ---- blend ---------------------------------------------------------------------------------

Json DosageJson(const results::DosageTables& d, chem::Target target) {
    Json chemicals = Json::object();
    for (chem::Chemical c : chem::kAllChemicals) {
        auto get = [&](long double results::DosageValues::*q) {
            return Numbers({d.at(target, c, 0).*q, d.at(target, c, 1).*q, d.at(target, c, 2).*q});
        };
        Json j;
        j["doseMmol"] = get(&results::DosageValues::doseMmol);
        j["doseMg"] = get(&results::DosageValues::doseMg);
        j["pH"] = get(&results::DosageValues::pH);
        j["ionicStrength"] = get(&results::DosageValues::ionicStrength);
        j["mValue"] = get(&results::DosageValues::mValue);
        j["pValue"] = get(&results::DosageValues::pValue);
        if (results::HasSodiumRow(c))
            j["sodiumMg"] = get(&results::DosageValues::sodiumMg);
        chemicals[std::string(chem::ChemicalName(c))] = j;
    }
    return chemicals;
}

Json BlendJson(const results::BlendSaturation& r) {
    using C = results::BlendSaturationColumn;
    auto per = [&](long double C::*q) {
        return Numbers({r.columns[0].*q, r.columns[1].*q, r.columns[2].*q});
    };
    Json j;
    j["command"] = "blend";
    j["computed"] = r.computed;
    j["shares"] = Numbers(r.shares);
    if (!r.computed)
        return j;
    const chem::SpeciesVector& s = r.blend.species;
    j["tCalc"] = JsonNumber(r.blend.blendTemp);
    j["ions"] = {
        {"Na", JsonNumber(s[chem::slot::Na])},        {"K", JsonNumber(s[chem::slot::K])},
        {"Ca", JsonNumber(s[chem::slot::CaTotal])},   {"Mg", JsonNumber(s[chem::slot::MgTotal])},
        {"Cl", JsonNumber(s[chem::slot::Cl])},        {"NO3", JsonNumber(s[chem::slot::No3])},
        {"SO4", JsonNumber(s[chem::slot::So4Total])}, {"PO4", JsonNumber(s[chem::slot::Po4Total])}};
    j["mValue"] = per(&C::mValue);
    j["dic"] = per(&C::dic);
    j["pH"] = per(&C::pH);
    j["pHA"] = per(&C::pHA);
    j["si"] = per(&C::si);
    j["pHc"] = per(&C::pHc);
    j["ionicStrength"] = per(&C::ionicStrength);
    j["dcMmol"] = per(&C::dcMmol);
    j["dcMg"] = per(&C::dcMg);
    j["dosage"] = {{"SI0", DosageJson(r.dosage, chem::Target::SI0)},
                   {"pH78", DosageJson(r.dosage, chem::Target::pH78)}};
    return j;
}

void RunBlend(const Options& o) {
    app::LineBuffer buffer;
    const app::Project project = LoadProjectOrFail(o.file, buffer);
    const results::BlendSaturation r =
        results::ComputeBlendSaturation(project.parts.waters, results::Execution::Parallel);
    if (o.format == "json") {
        EmitJson(BlendJson(r), o.out);
        return;
    }
    const report::ReportText text =
        report::BuildBlendReport(r, ResolveLanguage(o.lang), app::kSignature2012, project.fileName,
                                 app::SystemDateTimeText());
    EmitLines(report::ReportLines(text, report::BlendReportLayout(), FormatOf(o)), o.out);
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
        col["pH"] = Numbers(c.pH);
        col["dcMg"] = Numbers(c.dcMg);
        columns.push_back(col);
    }
    j["columns"] = columns;
    return j;
}

void RunSeries(const Options& o, const std::string& first, const std::string& second) {
    if (first == second)
        throw CommandError(kExitUsage, "series: two different waters are needed");
    app::LineBuffer buffer;
    const app::Project project = LoadProjectOrFail(o.file, buffer);
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
    EmitLines(report::SeriesReportLines(text, FormatOf(o)), o.out);
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
    j["ions"] = {{"Na", JsonNumber(i.na)},   {"K", JsonNumber(i.k)},    {"Ca", JsonNumber(i.ca)},
                 {"Mg", JsonNumber(i.mg)},   {"Cl", JsonNumber(i.cl)},  {"NO3", JsonNumber(i.no3)},
                 {"SO4", JsonNumber(i.so4)}, {"PO4", JsonNumber(i.po4)}};
    return j;
}

void RunConditioning(const Options& o) {
    app::LineBuffer buffer;
    const app::Project project = LoadProjectOrFail(o.file, buffer);
    const app::ConditioningData& data = project.parts.conditioning;
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
    EmitLines(report::ReportLines(text, report::ConditioningReportLayout(), FormatOf(o)), o.out);
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

void RunW216(const Options& o) {
    app::LineBuffer buffer;
    const app::Project project = LoadProjectOrFail(o.file, buffer);
    const app::Language lang = ResolveLanguage(o.lang);
    const results::W216Result r = results::ComputeW216(project.parts.w216, project.parts.waters);
    ShowMessages(r.messageKeys, lang);
    if (o.format == "json") {
        EmitJson(W216Json(r), o.out);
        return;
    }
    const report::ReportText text = report::BuildW216Report(
        r, lang, app::kSignature2012, project.fileName, app::SystemDateTimeText());
    EmitLines(report::ReportLines(text, report::W216ReportLayout(), FormatOf(o)), o.out);
}

// ---- compile -------------------------------------------------------------------------------

// "FILE:LETTER" -> the chosen water of that project file.
app::WaterAnalysis WaterFromArgument(const std::string& option, const std::string& argument) {
    const auto colon = argument.rfind(':');
    const std::string letter = colon == std::string::npos ? "" : argument.substr(colon + 1);
    if (colon == 0 || (letter != "A" && letter != "B" && letter != "C"))
        throw CommandError(kExitUsage, option + ": expected FILE:LETTER with LETTER A, B or C");
    app::LineBuffer buffer;
    const app::Project source = LoadProjectOrFail(argument.substr(0, colon), buffer);
    return source.water(WaterOf(letter[0]));
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
    project.fileName = std::filesystem::absolute(out).string();
    app::LineBuffer buffer;
    try {
        app::SaveProject(out, project, buffer, app::SystemDateTimeText());
    } catch (const app::ValueTooWideError& e) {
        throw CommandError(kExitFailure, out + ": " + e.what() + "; nothing written");
    } catch (const app::FileError& e) {
        throw CommandError(kExitFailure, e.fileName() + ": " + e.reason());
    }
}

} // namespace

void AddBlendCommands(CLI::App& app) {
    {
        auto o = std::make_shared<Options>();
        auto* cmd = AddCommand(app, "blend",
                               "State of saturation of the blend of A, B and C in their stored "
                               "shares, with the dosage tables",
                               *o);
        cmd->callback([o] { RunBlend(*o); });
    }
    {
        auto o = std::make_shared<Options>();
        auto first = std::make_shared<std::string>();
        auto second = std::make_shared<std::string>();
        auto* cmd = app.add_subcommand(
            "series", "pH and Dc of eleven blends of two waters, 100 % to 0 % in steps of 10 %");
        cmd->add_option("file", o->file, "Project file (.zeb)")->required();
        cmd->add_option("first", *first, "First water (A, B or C)")
            ->required()
            ->check(CLI::IsMember({"A", "B", "C"}));
        cmd->add_option("second", *second, "Second water (A, B or C)")
            ->required()
            ->check(CLI::IsMember({"A", "B", "C"}));
        cmd->add_option("--format", o->format, "Output format")
            ->check(CLI::IsMember({"text", "excel", "json"}))
            ->capture_default_str();
        cmd->add_option("--lang", o->lang, "Report language (de, en)")
            ->check(CLI::IsMember({"de", "en"}));
        cmd->add_option("-o", o->out, "Write to this file instead of stdout");
        cmd->callback([=] { RunSeries(*o, *first, *second); });
    }
    {
        auto o = std::make_shared<Options>();
        auto* cmd = AddCommand(app, "conditioning",
                               "Dosing one chemical into the project's conditioning water", *o);
        cmd->callback([o] { RunConditioning(*o); });
    }
    {
        auto o = std::make_shared<Options>();
        auto* cmd = AddCommand(app, "w216", "W 216 assessment of the project's two waters", *o);
        cmd->callback([o] { RunW216(*o); });
    }
    {
        auto out = std::make_shared<std::string>();
        auto choices = std::make_shared<std::array<std::string, 3>>();
        auto* cmd = app.add_subcommand(
            "compile", "Write a new project from waters of up to three project files");
        cmd->add_option("out", *out, "Project file to write")->required();
        cmd->add_option("--a", (*choices)[0], "Water A of the new project: FILE:LETTER")->required();
        cmd->add_option("--b", (*choices)[1], "Water B: FILE:LETTER (default water when absent)");
        cmd->add_option("--c", (*choices)[2], "Water C: FILE:LETTER (default water when absent)");
        cmd->callback([=] { RunCompile(*out, *choices); });
    }
}

} // namespace zeb::cli
