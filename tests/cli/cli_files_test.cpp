// zeb-cli with files that came from elsewhere: texts outside ASCII, UTF-8 project files, devices,
// and file names that name nothing.
#include "../common/test_support.h"

#include "app/cp1252.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace {

using namespace zeb::test;
using nlohmann::json;

const std::string& kExample = kExampleFile;

TEST(CliFiles, NonAsciiValuesAreShownAndSavedAsRead) {
    TempDir dir;
    std::vector<std::string> lines = SplitLines(Slurp(kExample), "\r\n");
    ASSERT_EQ(lines.size(), 100u);
    lines[24].replace(18, 8, "x\xE4\xE4\xE4\xE4\xE4\xE4\xE4");    // c(Na) of water B
    lines[27].replace(26, 8, "\x80\x80\x80\xE2\x80\x80\x80\x80"); // c(Mg) of water C
    std::string bytes;
    for (const auto& l : lines)
        bytes += l + "\r\n";
    Spit(dir / "in.zeb", bytes);

    const CliRun shown = Cli("project " + dir.File("in.zeb"));
    ASSERT_EQ(shown.status, 0);
    const json j = json::parse(shown.out);
    EXPECT_EQ(j["waters"]["B"]["cNa"], "xäääääää");
    EXPECT_EQ(j["waters"]["C"]["cMg"], "€€€â€€€€");

    ASSERT_EQ(Cli("project " + dir.File("in.zeb") + " --save " + dir.File("out.zeb")).status, 0);
    const auto out = SplitLines(Slurp(dir / "out.zeb"), "\r\n");
    ASSERT_EQ(out.size(), 100u);
    for (size_t i = 0; i < 100; ++i)
        if (i != 4 && i != 6) // the file name and the time of saving
            EXPECT_EQ(out[i], lines[i]) << "line " << i + 1;
}

TEST(CliFiles, Utf8ProjectIsReadOrRefusedInTheChosenLanguage) {
    TempDir dir;
    const std::string utf8 = zeb::app::Cp1252ToUtf8(Slurp(kExample));
    Spit(dir / "utf8.zeb", utf8);
    const json want = json::parse(Cli("project " + kExample).out);
    const json got = json::parse(Cli("project " + dir.File("utf8.zeb")).out);
    EXPECT_EQ(got["waters"], want["waters"]);
    EXPECT_EQ(got["conditioning"], want["conditioning"]);

    std::string arrow = utf8;
    arrow.replace(arrow.find("   Text C: ") + 11, 0, "→ ");
    Spit(dir / "arrow.zeb", arrow);
    const std::string file = dir.File("arrow.zeb");
    const std::pair<std::string, std::string> cases[] = {
        {"en", file + " is a UTF-8 file; line 11 holds characters that a ZEB file (Windows-1252) "
                      "cannot store.\n"},
        {"de", file + " ist eine UTF-8-Datei; Zeile 11 enthält Zeichen, die eine ZEB-Datei "
                      "(Windows-1252) nicht aufnehmen kann.\n"},
    };
    for (const auto& [lang, message] : cases) {
        const CliRun r = Cli("saturation " + file + " C --lang " + lang, dir.File("err.txt"));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(Slurp(dir / "err.txt"), "zeb-cli: " + message);
    }
}

TEST(CliFiles, DevicesAreReadWithALimitAndWrittenDirectly) {
    TempDir dir;
    const CliRun zero = Cli("project /dev/zero", dir.File("err.txt"));
    EXPECT_EQ(zero.status, 1);
    EXPECT_EQ(Slurp(dir / "err.txt"), "zeb-cli: /dev/zero: not a ZEB project file\n");

    const CliRun r = Cli("saturation " + kExample + " A --lang de -o /dev/stdout");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(SplitLines(r.out, "\r\n").size(), 259u);
    const CliRun j = Cli("species " + kExample + " B --format json -o /dev/stdout");
    EXPECT_EQ(j.status, 0);
    EXPECT_EQ(json::parse(j.out)["water"], "B");
}

TEST(CliFiles, EmptyFileNamesAreUsageErrors) {
    TempDir dir;
    const std::string out = dir.File("x.zeb");
    for (const std::string& args : std::vector<std::string>{
             "project " + kExample + " --save ''",
             "project --new ''",
             "project ''",
             "saturation '' A",
             "saturation " + kExample + " A -o ''",
             "series " + kExample + " A B --format json -o ''",
             "compile '' --a " + kExample + ":A",
         }) {
        const CliRun r = Cli(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
    }
    EXPECT_TRUE(fs::is_empty(dir.path));
}

} // namespace
