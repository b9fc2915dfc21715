// zeb-cli constants / carbonic: the constants view and the carbonic acid species tool.
#include "app/number_format.h"
#include "app/texts.h"
#include "cli/common.h"
#include "results/constants_table.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace zeb::cli {

namespace {

struct ToolOptions {
    std::string format = "text";
    std::string lang;
};

void AddToolOptions(CLI::App* cmd, ToolOptions& o) {
    cmd->add_option("--format", o.format, "Output format")
        ->check(CLI::IsMember({"text", "json"}))
        ->capture_default_str();
    cmd->add_option("--lang", o.lang, "Language of labels and messages (de, en)")
        ->check(CLI::IsMember({"de", "en"}));
}

struct Row {
    std::string label;
    std::string value; // as the window shows it
    std::string_view unit;
};

// Labels left-aligned, values right-aligned in one column (a value wider than its 8 characters
// pushes the column, as in the window), units after two blanks.
std::vector<std::string> TableLines(const std::vector<Row>& rows) {
    std::size_t labelWidth = 0, valueWidth = 0;
    for (const Row& r : rows) {
        labelWidth = std::max(labelWidth, DisplayColumns(r.label));
        valueWidth = std::max(valueWidth, r.value.size());
    }
    std::vector<std::string> lines;
    for (const Row& r : rows) {
        std::string line = PadRight(r.label, labelWidth) +
                           std::string(valueWidth + 1 - r.value.size(), ' ') + r.value;
        if (!r.unit.empty()) {
            line += "  " + std::string(r.unit);
        }
        lines.push_back(line);
    }
    return lines;
}

void ReportClamps(results::InputClamp clamps, app::Language lang) {
    for (const std::string& message : results::ClampMessages(clamps, lang)) {
        std::cerr << message << '\n';
    }
}

void RunConstants(const std::string& temp, const std::string& ios, const ToolOptions& o) {
    const app::Language lang = ResolveLanguage(o.lang);
    results::ConstantsInput input{temp, ios};
    const results::ConstantsView view = results::RunConstantsView(input);
    ReportClamps(view.clamps, lang);
    const results::ConstantsTable& t = view.table;
    if (o.format == "json") {
        Json j;
        j["command"] = "constants";
        j["temp"] = JsonNumber(t.temperature);
        j["ionicStrength"] = JsonNumber(t.ionicStrength);
        j["gammaH"] = JsonNumber(t.gammaH);
        Json lgK = Json::array();
        for (long double v : t.lgK) {
            lgK.push_back(JsonNumber(v));
        }
        j["lgK"] = lgK;
        EmitJson(j, "");
        return;
    }
    std::vector<Row> rows;
    for (int n = 1; n <= static_cast<int>(t.lgK.size()); ++n) {
        rows.push_back({std::string(app::Text(results::ConstantLineKey(n), lang)),
                        app::FormatFixed(t.lgK[n - 1], 8, 6),
                        app::Text(results::ConstantUnitKey(n), lang)});
    }
    EmitLines(TableLines(rows), "");
}

void RunCarbonic(const std::string& pH, const std::string& temp, const std::string& ios,
                 const ToolOptions& o) {
    const app::Language lang = ResolveLanguage(o.lang);
    results::CarbonicInput input{pH, temp, ios};
    const results::CarbonicView view = results::RunCarbonicTool(input);
    ReportClamps(view.clamps, lang);
    const results::CarbonicSpeciesValues& v = view.values;
    if (o.format == "json") {
        Json j;
        j["command"] = "carbonic";
        j["pH"] = JsonNumber(v.pH);
        j["temp"] = JsonNumber(v.temperature);
        j["ionicStrength"] = JsonNumber(v.ionicStrength);
        j["chargeFactor"] = JsonNumber(v.chargeFactor);
        j["fractionCO2"] = JsonNumber(v.fractionCO2);
        j["fractionHCO3"] = JsonNumber(v.fractionHCO3);
        j["fractionCO3"] = JsonNumber(v.fractionCO3);
        j["ohMinusH"] = JsonNumber(v.ohMinusH);
        EmitJson(j, "");
        return;
    }
    const std::vector<Row> rows = {
        {std::string(app::Text("TForm8.labelChargeFactor", lang)),
         app::FormatFixed(v.chargeFactor, 8, 8), ""},
        {std::string(app::Text("TForm8.labelFractionCO2", lang)),
         app::FormatFixed(v.fractionCO2, 8, 8), ""},
        {std::string(app::Text("TForm8.labelFractionHCO3", lang)),
         app::FormatFixed(v.fractionHCO3, 8, 8), ""},
        {std::string(app::Text("TForm8.labelFractionCO3", lang)),
         app::FormatFixed(v.fractionCO3, 8, 8), ""},
        // The unit is the same in both languages.
        {std::string(app::Text("TForm8.labelOHminusH", lang)), app::FormatFixed(v.ohMinusH, 8, 8),
         "mmol/L"},
    };
    EmitLines(TableLines(rows), "");
}

} // namespace

void AddChemCommands(CLI::App& app) {
    {
        auto* cmd = app.add_subcommand(
            "constants", "Equilibrium constants lg K (mol/L) at a temperature and ionic strength");
        auto temp = std::make_shared<std::string>("0");
        auto ios = std::make_shared<std::string>("0");
        auto opts = std::make_shared<ToolOptions>();
        // The window starts with "0" in both fields, and so does the command.
        cmd->add_option("--temp", *temp, "Temperature, degC (0-90); 0 when left out")
            ->capture_default_str();
        cmd->add_option("--ionic-strength", *ios, "Ionic strength, mmol/L (0-50); 0 when left out")
            ->capture_default_str();
        AddToolOptions(cmd, *opts);
        cmd->callback([=] { RunConstants(*temp, *ios, *opts); });
    }
    {
        auto* cmd = app.add_subcommand(
            "carbonic", "Fractions of CO2, HCO3 and CO3 of a pure carbonate system at a pH");
        auto pH = std::make_shared<std::string>("0");
        auto temp = std::make_shared<std::string>("0");
        auto ios = std::make_shared<std::string>("0");
        auto opts = std::make_shared<ToolOptions>();
        cmd->add_option("--ph", *pH, "pH; 0 when left out")->capture_default_str();
        cmd->add_option("--temp", *temp, "Temperature, degC (0-90); 0 when left out")
            ->capture_default_str();
        cmd->add_option("--ionic-strength", *ios, "Ionic strength, mmol/L (0-50); 0 when left out")
            ->capture_default_str();
        AddToolOptions(cmd, *opts);
        cmd->callback([=] { RunCarbonic(*pH, *temp, *ios, *opts); });
    }
}

} // namespace zeb::cli
