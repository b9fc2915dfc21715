// zeb-cli saturation / species / check: formats, report files, JSON schema and exit codes.
#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int status;
    std::string out;
};

CliRun Cli(const std::string& args) {
    const std::string cmd = std::string(ZEB_CLI_PATH) + " " + args + " 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    std::string out;
    std::array<char, 4096> buf{};
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0)
        out.append(buf.data(), n);
    const int rc = pclose(p);
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, out};
}

std::vector<std::string> Split(const std::string& text, const std::string& end) {
    std::vector<std::string> lines;
    for (size_t from = 0, to; (to = text.find(end, from)) != std::string::npos;
         from = to + end.size())
        lines.push_back(text.substr(from, to - from));
    return lines;
}

const std::string kExample = std::string(ZEB_SOURCE_DIR) + "/resources/examples/example.zeb";

class ResultsCli : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / "zeb_cli_results";
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(ResultsCli, SaturationReportInBothFormsAndAsFile) {
    const CliRun de = Cli("saturation " + kExample + " A --lang de");
    ASSERT_EQ(de.status, 0);
    const auto lines = Split(de.out, "\n");
    ASSERT_EQ(lines.size(), 259u);
    EXPECT_EQ(lines[2], "        ZEB 4.1 project file (2012)");
    EXPECT_EQ(lines[5], "        " + fs::absolute(kExample).string());
    EXPECT_EQ(lines[47], "        m-Wert       0.397     0.397     0.293  mmol/L");
    EXPECT_EQ(lines[69], "        CHEMIKALIENBEDARF BIS SI = 0");

    const CliRun excel = Cli("saturation " + kExample + " A --lang en --format excel");
    ASSERT_EQ(excel.status, 0);
    EXPECT_EQ(Split(excel.out, "\n")[47], "m-value;0,397;0,397;0,293;mmol/L;");

    const fs::path out = dir / "a.txt";
    ASSERT_EQ(Cli("saturation " + kExample + " A --lang de -o " + out.string()).status, 0);
    std::ifstream in(out, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    const auto fileLines = Split(bytes, "\r\n");
    ASSERT_EQ(fileLines.size(), 259u);
    EXPECT_EQ(fileLines[35], "        H\xE4rte        0.470  mmol/L             2.636  \xB0"
                             "dH");
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1);
}

TEST_F(ResultsCli, JsonOfEveryWaterFollowsTheSchema) {
    for (const char* water : {"A", "B", "C"}) {
        SCOPED_TRACE(water);
        const CliRun s = Cli("saturation " + kExample + " " + water + " --format json");
        ASSERT_EQ(s.status, 0);
        const auto j = nlohmann::json::parse(s.out);
        EXPECT_EQ(j["command"], "saturation");
        EXPECT_EQ(j["water"], water);
        EXPECT_EQ(j["computed"], true);
        EXPECT_EQ(j["columns"][0], "KS4.3/KB8.2");
        for (const char* key : {"mValue", "dic", "pValue", "anions", "cations", "pH", "pHA", "si",
                                "pHc", "ionicStrength", "dcMmol", "dcMg"})
            EXPECT_EQ(j[key].size(), 3u) << key;
        for (const char* key : {"pHCalculated", "pHMeasured", "kb82Calculated", "kb82Measured",
                                "ks43Calculated", "ks43Measured", "tCalc"})
            EXPECT_TRUE(j[key].is_number()) << key;
        for (const char* target : {"SI0", "pH78"}) {
            const auto& d = j["dosage"][target];
            EXPECT_EQ(d.size(), 7u);
            EXPECT_EQ(d["Na2CO3"]["sodiumMg"].size(), 3u);
            EXPECT_FALSE(d["CaCO3MgO"].contains("sodiumMg"));
            EXPECT_EQ(d["Ca(OH)2"]["doseMg"].size(), 3u);
        }
        EXPECT_EQ(j["dcMmol"][1], j["dosage"]["SI0"]["CaCO3"]["doseMmol"][1]);

        const auto sp =
            nlohmann::json::parse(Cli("species " + kExample + " " + water + " --format json").out);
        EXPECT_EQ(sp["species"].size(), 27u);
        EXPECT_EQ(sp["species"]["HCO3-"].size(), 3u);
        EXPECT_EQ(sp["mValue"], j["mValue"]);

        const auto c =
            nlohmann::json::parse(Cli("check " + kExample + " " + water + " --format json").out);
        EXPECT_EQ(c["command"], "check");
        EXPECT_TRUE(c["balanceMark"] == "%" || c["balanceMark"] == "> 5 %" ||
                    c["balanceMark"] == "> 10 %");
        EXPECT_EQ(c["carbonate"]["pH"], j["pH"]);
        EXPECT_EQ(c["carbonate"]["pHAgreement"], j["pHAgreement"]);
    }
}

TEST_F(ResultsCli, SpeciesAndCheckText) {
    const CliRun species = Cli("species " + kExample + " B --lang en");
    ASSERT_EQ(species.status, 0);
    const auto lines = Split(species.out, "\n");
    ASSERT_EQ(lines.size(), 64u);
    EXPECT_EQ(lines[34].substr(0, 20), "        c(Ca++)     ");
    EXPECT_EQ(Split(Cli("species " + kExample + " B --format excel").out, "\n").size(), 64u);

    const CliRun check = Cli("check " + kExample + " C --lang en");
    ASSERT_EQ(check.status, 0);
    EXPECT_NE(check.out.find("EC measured, ECmeas                             39.060  mS/m"),
              std::string::npos);
    EXPECT_NE(check.out.find("Diff. > 0,05"), std::string::npos);
    EXPECT_NE(Cli("check " + kExample + " C --lang de").out.find("4. Kohlensäure"),
              std::string::npos);
}

TEST_F(ResultsCli, ExitCodes) {
    std::ofstream(dir / "notes.txt") << "not a project\n";
    for (const std::string c : {"saturation", "species", "check"}) {
        EXPECT_EQ(Cli(c + " " + (dir / "missing.zeb").string() + " A").status, 1) << c;
        EXPECT_EQ(Cli(c + " " + (dir / "notes.txt").string() + " A").status, 1) << c;
        EXPECT_EQ(Cli(c + " " + kExample + " D").status, 2) << c;
    }
    EXPECT_EQ(Cli("species " + kExample + " a").status, 2);
    EXPECT_EQ(Cli("species " + kExample).status, 2);
    EXPECT_EQ(Cli("species " + kExample + " A --format pdf").status, 2);
    EXPECT_EQ(Cli("check " + kExample + " A --format excel").status, 2);
    EXPECT_EQ(Cli("species " + kExample + " A -o " + (dir / "no/dir/x.txt").string()).status, 1);
}

} // namespace
