// zeb-cli blend / series / conditioning / w216 / compile on the example project.
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
using nlohmann::json;

namespace {

struct CliRun {
    int status;
    std::string out;
};

CliRun Cli(const std::string& args, const std::string& errFile = "/dev/null") {
    const std::string cmd = std::string(ZEB_CLI_PATH) + " " + args + " 2>" + errFile;
    FILE* p = popen(cmd.c_str(), "r");
    std::string out;
    std::array<char, 4096> buf{};
    for (size_t n; (n = fread(buf.data(), 1, buf.size(), p)) > 0;)
        out.append(buf.data(), n);
    const int rc = pclose(p);
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, out};
}

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t from = 0, to; (to = text.find('\n', from)) != std::string::npos; from = to + 1)
        lines.push_back(text.substr(from, to - from));
    return lines;
}

const std::string kExample = std::string(ZEB_SOURCE_DIR) + "/resources/examples/example.zeb";

class BlendsCli : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              (std::string("zeb_cli_blends_") +
               testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

// The printed report equals the reviewed report file from line 11 on (the header holds the
// file name and the time of the run).
TEST_F(BlendsCli, ReportsMatchTheReviewedFiles) {
    const std::pair<std::string, std::string> cases[] = {
        {"blend " + kExample + " --lang de", "blend_de.txt"},
        {"blend " + kExample + " --lang en --format excel", "blend_en_excel.txt"},
        {"series " + kExample + " A B --lang de --format excel", "series_de_excel.txt"},
        {"conditioning " + kExample + " --lang en", "conditioning_en.txt"},
        {"w216 " + kExample + " --lang de", "w216_de.txt"},
    };
    for (const auto& [args, golden] : cases) {
        const CliRun r = Cli(args);
        ASSERT_EQ(r.status, 0) << args;
        const auto got = Lines(r.out);
        const auto want = Lines(Slurp(std::string(ZEB_TEST_DATA_DIR) + "/" + golden));
        ASSERT_EQ(got.size(), want.size()) << golden;
        for (size_t i = 10; i < want.size(); ++i)
            EXPECT_EQ(got[i], want[i]) << golden << " line " << i + 1;
    }
}

TEST_F(BlendsCli, JsonOfEveryCommand) {
    const json blend = json::parse(Cli("blend " + kExample + " --format json").out);
    EXPECT_EQ(blend["shares"], json::parse("[40.0, 60.0, 0.0]"));
    EXPECT_NEAR(blend["ions"]["Ca"].get<double>(), 0.4 * 0.35 + 0.6 * 3.6, 1e-12);
    EXPECT_EQ(blend["dosage"]["pH78"]["NaOH"]["sodiumMg"].size(), 3u);
    EXPECT_FALSE(blend["dosage"]["SI0"]["CO2"].contains("sodiumMg"));

    const json series = json::parse(Cli("series " + kExample + " B C --format json").out);
    EXPECT_EQ(series["waters"], json::parse(R"(["B", "C"])"));
    ASSERT_EQ(series["columns"].size(), 11u);
    EXPECT_EQ(series["columns"][10]["share2"], 100);
    EXPECT_NEAR(series["columns"][0]["hardness"].get<double>(), 4.7, 1e-12);

    const json cond = json::parse(Cli("conditioning " + kExample + " --format json").out);
    EXPECT_EQ(cond["chemical"], "Ca(OH)2");
    EXPECT_EQ(cond["dilution"], false);

    const json w216 = json::parse(Cli("w216 " + kExample + " --format json").out);
    EXPECT_EQ(w216["sources"], json::parse(R"(["A", "B"])"));
    EXPECT_EQ(w216["shares"]["blend2"], json::parse("[30.0, 70.0]"));
    EXPECT_EQ(w216["rows"][6]["name"], "qA");
}

TEST_F(BlendsCli, RangeMessagesGoToStderrAndTheRunGoesOn) {
    std::string project = Slurp(kExample);
    const std::string from = "   T        10.000  oC";
    ASSERT_NE(project.find(from), std::string::npos);
    project.replace(project.find(from), from.size(), "   T        95.000  oC");
    std::ofstream(dir / "hot.zeb", std::ios::binary) << project;
    const fs::path err = dir / "err.txt";
    const CliRun r = Cli("conditioning " + (dir / "hot.zeb").string() +
                             " --lang en --format json -o " + (dir / "x.json").string(),
                         err.string());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(Slurp(err), "Temperature: range of validity (0-90 °C) exceeded!\n");
}

TEST_F(BlendsCli, CompileTakesChosenWaters) {
    const fs::path out = dir / "compiled.zeb";
    ASSERT_EQ(
        Cli("compile " + out.string() + " --a " + kExample + ":C --c " + kExample + ":A").status,
        0);
    const json j = json::parse(Cli("project " + out.string()).out);
    EXPECT_EQ(j["waters"]["A"]["text"], "Quellwasser Mischpartner");
    EXPECT_EQ(j["waters"]["A"]["blendPercent"], "   0.000");
    EXPECT_EQ(j["waters"]["B"]["text"], "");
    EXPECT_EQ(j["waters"]["C"]["ks43"], "   0.450");
    EXPECT_EQ(j["conditioning"]["chemical"], "CaCO3");
}

TEST_F(BlendsCli, ExitCodes) {
    const std::string out = (dir / "x.zeb").string(), none = (dir / "none.zeb").string();
    EXPECT_EQ(Cli("compile " + out + " --a " + kExample + ":D").status, 2);
    EXPECT_EQ(Cli("compile " + out).status, 2);
    EXPECT_EQ(Cli("compile " + out + " --a " + none + ":A").status, 1);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(Cli("series " + kExample + " A A").status, 2);
    EXPECT_EQ(Cli("series " + kExample + " A D").status, 2);
    EXPECT_EQ(Cli("blend " + kExample + " --format pdf").status, 2);
    EXPECT_EQ(Cli("w216 " + none).status, 1);
}

} // namespace
