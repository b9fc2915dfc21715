// zeb-cli on the example project: reports against the reviewed files, report files, JSON,
// project files, messages on stderr and exit codes.
#include "../common/test_support.h"
#include "../report/report_builders.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace zeb::test;
using nlohmann::json;

const std::string& kExample = kExampleFile;

// The JSON a command prints ("project" prints nothing else).
json Json(const std::string& args) {
    const CliRun r = Cli(args.starts_with("project ") ? args : args + " --format json");
    EXPECT_EQ(r.status, 0) << args;
    return json::parse(r.out);
}

// Each command prints the report its window builds (compared with the reviewed files by the
// report tests), from line 11 on: the header holds the file name and the time of the run.
TEST(Cli, ReportsAreThoseOfTheWindows) {
    using namespace zeb::report::testing::builders;
    const zeb::app::WaterAnalysis& a = Example().water(WaterId::A);
    const zeb::app::WaterAnalysis& b = Example().water(WaterId::B);
    const std::pair<std::string, std::function<std::vector<std::string>()>> cases[] = {
        {"saturation " + kExample + " A --lang de",
         [&] { return Saturation(a, Language::German, kStandard); }},
        {"saturation " + kExample + " A --lang de --format excel",
         [&] { return Saturation(a, Language::German, kExcel); }},
        {"saturation " + kExample + " A --lang en",
         [&] { return Saturation(a, Language::English, kStandard); }},
        {"species " + kExample + " B --lang en",
         [&] { return Species(b, Language::English, kStandard); }},
        {"species " + kExample + " B --lang en --format excel",
         [&] { return Species(b, Language::English, kExcel); }},
        {"blend " + kExample + " --lang de", [] { return Blend(Language::German, kStandard); }},
        {"blend " + kExample + " --lang en --format excel",
         [] { return Blend(Language::English, kExcel); }},
        {"series " + kExample + " A B --lang de --format excel",
         [] { return Series(Language::German, kExcel); }},
        {"conditioning " + kExample + " --lang en",
         [] { return Conditioning(Example().parts.conditioning, Language::English, kStandard); }},
        {"w216 " + kExample + " --lang de",
         [] { return W216(Example().parts.w216, Language::German, kStandard); }},
    };
    for (const auto& [args, build] : cases) {
        const CliRun r = Cli(args);
        ASSERT_EQ(r.status, 0) << args;
        const auto got = SplitLines(r.out);
        const std::vector<std::string> want = build();
        ASSERT_EQ(got.size(), want.size()) << args;
        EXPECT_NE(got[5].find(kExample), std::string::npos) << args;
        for (size_t i = 10; i < want.size(); ++i)
            EXPECT_EQ(got[i], want[i]) << args << " line " << i + 1;
    }
}

TEST(Cli, ReportFileIsWrittenAsTheWindowSavesIt) {
    TempDir dir;
    ASSERT_EQ(Cli("saturation " + kExample + " A --lang de -o " + dir.File("a.txt")).status, 0);
    const std::string bytes = Slurp(dir / "a.txt");
    const auto lines = SplitLines(bytes, "\r\n");
    ASSERT_EQ(lines.size(), 259u);
    EXPECT_EQ(lines[35], "        H\xE4rte        0.470  mmol/L             2.636  \xB0"
                         "dH");
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1);
}

TEST(Cli, CheckListing) {
    const CliRun check = Cli("check " + kExample + " C --lang en");
    ASSERT_EQ(check.status, 0);
    EXPECT_NE(check.out.find("EC measured, ECmeas                             39.060  mS/m"),
              std::string::npos);
    EXPECT_NE(check.out.find("Diff. > 0,05"), std::string::npos);
    EXPECT_NE(Cli("check " + kExample + " C --lang de").out.find("4. Kohlensäure"),
              std::string::npos);
}

TEST(Cli, JsonOfTheResultCommands) {
    for (const char* water : {"A", "B", "C"}) {
        SCOPED_TRACE(water);
        const json s = Json("saturation " + kExample + " " + water);
        EXPECT_EQ(s["command"], "saturation");
        EXPECT_EQ(s["water"], water);
        EXPECT_EQ(s["columns"][0], "KS4.3/KB8.2");
        for (const char* key : {"mValue", "dic", "pValue", "anions", "cations", "pH", "pHA", "si",
                                "pHc", "ionicStrength", "dcMmol", "dcMg"})
            EXPECT_EQ(s[key].size(), 3u) << key;
        for (const char* key : {"pHCalculated", "pHMeasured", "kb82Calculated", "kb82Measured",
                                "ks43Calculated", "ks43Measured", "tCalc"})
            EXPECT_TRUE(s[key].is_number()) << key;
        for (const char* target : {"SI0", "pH78"}) {
            const auto& d = s["dosage"][target];
            EXPECT_EQ(d.size(), 7u);
            EXPECT_EQ(d["Na2CO3"]["sodiumMg"].size(), 3u);
            EXPECT_FALSE(d["CaCO3MgO"].contains("sodiumMg"));
        }
        // Dc is the CaCO3 dose to SI = 0.
        EXPECT_EQ(s["dcMmol"][1], s["dosage"]["SI0"]["CaCO3"]["doseMmol"][1]);

        const json sp = Json("species " + kExample + " " + water);
        EXPECT_EQ(sp["species"].size(), 27u);
        EXPECT_EQ(sp["mValue"], s["mValue"]);

        const json c = Json("check " + kExample + " " + water);
        EXPECT_EQ(c["carbonate"]["pH"], s["pH"]);
        EXPECT_EQ(c["carbonate"]["pHAgreement"], s["pHAgreement"]);
    }
}

TEST(Cli, JsonOfTheBlendAndTreatmentCommands) {
    const json blend = Json("blend " + kExample);
    EXPECT_EQ(blend["shares"], json::parse("[40.0, 60.0, 0.0]"));
    EXPECT_NEAR(blend["ions"]["Ca"].get<double>(), 0.4 * 0.35 + 0.6 * 3.6, 1e-12);
    EXPECT_EQ(blend["dosage"]["pH78"]["NaOH"]["sodiumMg"].size(), 3u);

    const json series = Json("series " + kExample + " B C");
    EXPECT_EQ(series["waters"], json::parse(R"(["B", "C"])"));
    ASSERT_EQ(series["columns"].size(), 11u);
    EXPECT_EQ(series["columns"][10]["share2"], 100);
    EXPECT_NEAR(series["columns"][0]["hardness"].get<double>(), 4.7, 1e-12);

    const json cond = Json("conditioning " + kExample);
    EXPECT_EQ(cond["chemical"], "Ca(OH)2");
    EXPECT_EQ(cond["dilution"], false);

    const json w216 = Json("w216 " + kExample);
    EXPECT_EQ(w216["sources"], json::parse(R"(["A", "B"])"));
    EXPECT_EQ(w216["shares"]["blend2"], json::parse("[30.0, 70.0]"));
    EXPECT_EQ(w216["rows"][6]["name"], "qA");
}

TEST(Cli, ConstantsAndCarbonicAcidSpecies) {
    // The values themselves are the engine's tests' business.
    const json k = Json("constants --temp 25 --ionic-strength 0");
    ASSERT_EQ(k["lgK"].size(), 23u);
    EXPECT_EQ(k["temp"], 25.0);
    const json f = Json("carbonic --ph 6.356 --temp 25 --ionic-strength 0");
    EXPECT_NEAR(f["fractionCO2"].get<double>(), 0.5, 1e-4);
    // Out of range: computed at the limits, the message on stderr, still a success.
    const json clamped = Json("constants --temp 95 --ionic-strength 60 --lang en");
    EXPECT_EQ(clamped["temp"], 90.0);
    EXPECT_EQ(clamped["ionicStrength"], 50.0);
}

// What is left out is "0", as in the windows, and `--help` says so.
TEST(Cli, ConstantsAndCarbonicDefaultToZero) {
    EXPECT_EQ(Json("constants"), Json("constants --temp 0 --ionic-strength 0"));
    const json k = Json("constants");
    EXPECT_EQ(k["temp"], 0.0);
    EXPECT_EQ(k["ionicStrength"], 0.0);
    EXPECT_EQ(Json("carbonic"), Json("carbonic --ph 0 --temp 0 --ionic-strength 0"));
    EXPECT_EQ(Json("carbonic --ph 7"), Json("carbonic --ph 7 --temp 0 --ionic-strength 0"));
    for (const std::string command : {"constants", "carbonic"}) {
        const std::string help = Cli(command + " --help").out;
        EXPECT_NE(help.find("(0-90); 0 when left out"), std::string::npos) << command;
        EXPECT_NE(help.find("(0-50); 0 when left out"), std::string::npos) << command;
    }
}

// Without --lang the language of ZEB.ini beside the program, else German.
TEST(Cli, LanguageFollowsTheSettingsFile) {
    TempDir dir;
    const fs::path program = dir / "zeb-cli";
    fs::copy_file(ZEB_CLI_PATH, program);
    const auto firstLabel = [&] {
        const std::string cmd = "XDG_CONFIG_HOME=" + dir.File("config") + " " + program.string() +
                                " carbonic --ph 7 2>/dev/null";
        FILE* p = popen(cmd.c_str(), "r");
        std::string out;
        char buf[4096];
        for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;)
            out.append(buf, n);
        pclose(p);
        return out.substr(0, out.find("  "));
    };
    EXPECT_EQ(firstLabel(), "Äquivalenzfaktor");
    Spit(dir / "ZEB.ini", "ENGLISH\r\n/tmp\r\n\r\n");
    EXPECT_EQ(firstLabel(), "Charge balance factor");
    Spit(dir / "ZEB.ini", "DEUTSCH\r\n/tmp\r\n\r\n");
    EXPECT_EQ(firstLabel(), "Äquivalenzfaktor");
}

TEST(Cli, RangeMessagesGoToStderrAndTheRunGoesOn) {
    TempDir dir;
    std::string project = Slurp(kExample);
    const std::string from = "   T        10.000  oC";
    ASSERT_NE(project.find(from), std::string::npos);
    project.replace(project.find(from), from.size(), "   T        95.000  oC");
    Spit(dir / "hot.zeb", project);
    const CliRun r = Cli("conditioning " + dir.File("hot.zeb") + " --lang en --format json -o " +
                             dir.File("x.json"),
                         dir.File("err.txt"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(Slurp(dir / "err.txt"), "Temperature: range of validity (0-90 °C) exceeded!\n");
}

TEST(Cli, ProjectAsJsonAndRewritten) {
    const json j = Json("project " + kExample);
    EXPECT_EQ(j["signature"], "ZEB 4.1 project file (2012)");
    EXPECT_EQ(j["waters"]["B"]["ks43"], "   6.200");
    EXPECT_EQ(j["waters"]["A"].size(), 44u);
    EXPECT_EQ(j["waters"]["C"]["condRefTemp"], "20");
    EXPECT_EQ(j["conditioning"]["c(Na)"], "   0.300");
    EXPECT_EQ(j["w216"]["values"].size(), 20u);
    EXPECT_EQ(j["w216"]["values"][16], "      30");

    TempDir dir;
    const std::string copy = dir.File("copy.zeb");
    ASSERT_EQ(Cli("project " + kExample + " --save " + copy).status, 0);
    const json reread = Json("project " + copy);
    EXPECT_EQ(reread["waters"], j["waters"]);
    EXPECT_EQ(reread["w216"], j["w216"]);
    EXPECT_NE(Slurp(copy).find("   " + copy + "\r\n"), std::string::npos);

    ASSERT_EQ(Cli("project --new " + dir.File("new.zeb")).status, 0);
    const json fresh = Json("project " + dir.File("new.zeb"));
    EXPECT_EQ(fresh["waters"]["A"]["pH"], "   7.000");
    EXPECT_EQ(fresh["conditioning"]["chemical"], "CaCO3");
}

TEST(Cli, CompileTakesChosenWaters) {
    TempDir dir;
    const std::string out = dir.File("compiled.zeb");
    ASSERT_EQ(Cli("compile " + out + " --a " + kExample + ":C --c " + kExample + ":A").status, 0);
    const json j = Json("project " + out);
    EXPECT_EQ(j["waters"]["A"]["text"], "Quellwasser Mischpartner");
    EXPECT_EQ(j["waters"]["A"]["blendPercent"], "   0.000");
    EXPECT_EQ(j["waters"]["B"]["text"], "");
    EXPECT_EQ(j["waters"]["C"]["ks43"], "   0.450");
    EXPECT_EQ(j["conditioning"]["chemical"], "CaCO3");
}

TEST(Cli, ExitCodes) {
    TempDir dir;
    Spit(dir / "notes.txt", "not a project\n");
    const std::string missing = dir.File("missing.zeb"), notes = dir.File("notes.txt");
    const std::string nowhere = dir.File("no/dir/x");
    const std::pair<std::string, int> cases[] = {
        // 1: a file cannot be read or written, or is not a project
        {"project " + missing, 1},
        {"project " + notes, 1},
        {"project " + dir.path.string(), 1},
        {"project " + kExample + " --save " + nowhere, 1},
        {"species " + kExample + " A -o " + nowhere, 1},
        {"w216 " + missing, 1},
        {"compile " + dir.File("x.zeb") + " --a " + missing + ":A", 1},
        // 2: usage
        {"project", 2},
        {"project --bogus", 2},
        {"project --new " + dir.File("x.zeb") + " --save " + dir.File("y.zeb"), 2},
        {"project " + kExample + " --new " + dir.File("x.zeb"), 2},
        {"species " + kExample + " a", 2},
        {"species " + kExample, 2},
        {"species " + kExample + " A --format pdf", 2},
        {"check " + kExample + " A --format excel", 2},
        {"compile " + dir.File("x.zeb") + " --a " + kExample + ":D", 2},
        {"compile " + dir.File("x.zeb"), 2},
        {"series " + kExample + " A A", 2},
        {"series " + kExample + " A D", 2},
        {"blend " + kExample + " --format pdf", 2},
    };
    for (const auto& [args, status] : cases)
        EXPECT_EQ(Cli(args).status, status) << args;
    for (const std::string c : {"saturation ", "species ", "check "}) {
        EXPECT_EQ(Cli(c + missing + " A").status, 1) << c;
        EXPECT_EQ(Cli(c + notes + " A").status, 1) << c;
        EXPECT_EQ(Cli(c + kExample + " D").status, 2) << c;
    }
    EXPECT_FALSE(fs::exists(dir / "x.zeb"));
    EXPECT_FALSE(fs::exists(dir / "y.zeb"));
}

} // namespace
