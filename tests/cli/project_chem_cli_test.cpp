// zeb-cli project: JSON of a project, rewriting and creating project files, exit codes.
#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
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

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

const std::string kExample = std::string(ZEB_SOURCE_DIR) + "/resources/examples/example.zeb";

class ProjectCli : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("zeb_cli_project_" +
               std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(ProjectCli, PrintsEveryStoredTextAsJson) {
    const CliRun r = Cli("project " + kExample);
    ASSERT_EQ(r.status, 0);
    const auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["signature"], "ZEB 4.1 project file (2012)");
    EXPECT_EQ(j["waters"]["B"]["ks43"], "   6.200");
    EXPECT_EQ(j["waters"]["A"].size(), 44u);
    EXPECT_EQ(j["waters"]["C"]["condRefTemp"], "20");
    EXPECT_EQ(j["conditioning"]["chemical"], "Ca(OH)2");
    EXPECT_EQ(j["conditioning"]["c(Na)"], "   0.300");
    EXPECT_EQ(j["w216"]["values"].size(), 20u);
    EXPECT_EQ(j["w216"]["values"][16], "      30");
}

TEST_F(ProjectCli, SaveAndNewWriteCurrentProjectFiles) {
    ASSERT_EQ(Cli("project " + kExample + " --save " + (dir / "copy.zeb").string()).status, 0);
    const auto original = nlohmann::json::parse(Cli("project " + kExample).out);
    const auto copy = nlohmann::json::parse(Cli("project " + (dir / "copy.zeb").string()).out);
    EXPECT_EQ(original["waters"], copy["waters"]);
    EXPECT_EQ(original["w216"], copy["w216"]);
    EXPECT_NE(Slurp(dir / "copy.zeb").find("   " + (dir / "copy.zeb").string() + "\r\n"),
              std::string::npos);

    ASSERT_EQ(Cli("project --new " + (dir / "new.zeb").string()).status, 0);
    const auto fresh = nlohmann::json::parse(Cli("project " + (dir / "new.zeb").string()).out);
    EXPECT_EQ(fresh["waters"]["A"]["pH"], "   7.000");
    EXPECT_EQ(fresh["conditioning"]["chemical"], "CaCO3");
}

TEST_F(ProjectCli, ExitCodes) {
    std::ofstream(dir / "notes.txt") << "not a project\n";
    EXPECT_EQ(Cli("project " + (dir / "missing.zeb").string()).status, 1);
    EXPECT_EQ(Cli("project " + (dir / "notes.txt").string()).status, 1);
    EXPECT_EQ(Cli("project " + dir.string()).status, 1);
    EXPECT_EQ(Cli("project").status, 2);
    EXPECT_EQ(Cli("project --bogus").status, 2);
    EXPECT_EQ(Cli("project " + kExample + " --save " + (dir / "no/dir/x.zeb").string()).status, 1);
}

TEST(ChemCli, ConstantsAndCarbonicAcidSpecies) {
    const CliRun k = Cli("constants --temp 25 --ionic-strength 0 --format json");
    ASSERT_EQ(k.status, 0);
    const auto j = nlohmann::json::parse(k.out);
    ASSERT_EQ(j["lgK"].size(), 23u);
    EXPECT_NEAR(j["lgK"][0].get<double>(), -6.356, 1e-9);
    EXPECT_NEAR(j["lgK"][8].get<double>(), -13.996, 1e-9);
    EXPECT_NEAR(j["lgK"][9].get<double>(), -8.481, 1e-9);

    const CliRun c = Cli("carbonic --ph 6.356 --temp 25 --ionic-strength 0 --format json");
    ASSERT_EQ(c.status, 0);
    const auto f = nlohmann::json::parse(c.out);
    EXPECT_LT(f["fractionCO2"].get<double>(), 0.5);
    EXPECT_GT(f["fractionCO2"].get<double>(), 0.4999);
    EXPECT_LT(f["fractionHCO3"].get<double>(), 0.5);

    // Out of range: computed at the limits, the message on stderr, still a success.
    const auto clamped = nlohmann::json::parse(
        Cli("constants --temp 95 --ionic-strength 60 --format json --lang en").out);
    EXPECT_EQ(clamped["temp"], 90.0);
    EXPECT_EQ(clamped["ionicStrength"], 50.0);
}

} // namespace
