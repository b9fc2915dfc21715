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

struct Run {
    int status;
    std::string out;
};

Run Cli(const std::string& args) {
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
        dir = fs::temp_directory_path() / "zeb_cli_project";
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(ProjectCli, PrintsEveryStoredTextAsJson) {
    const Run r = Cli("project " + kExample);
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

} // namespace
