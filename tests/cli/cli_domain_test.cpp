// zeb-cli with values outside the range in which the computations are defined: refused with exit
// status 3 and a message in the chosen language; values that are not numbers never printed.
#include "../common/test_support.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace {

using namespace zeb::test;
using nlohmann::json;

// The example with one 8-character value replaced: `line` and `column` count from 1 as in the
// file (water A's values start in column 11, B's in 19, C's in 27).
std::string ExampleWith(int line, int column, const std::string& value) {
    std::vector<std::string> lines = SplitLines(Slurp(kExampleFile), "\r\n");
    lines[line - 1].replace(column - 1, value.size(), value);
    std::string bytes;
    for (const auto& l : lines)
        bytes += l + "\r\n";
    return bytes;
}

struct Refusal {
    const char* command;
    const char* water; // the argument after the file, if any
    int line, column;
    const char* value;
    const char* german;
    const char* english;
};

class CliDomain : public testing::TestWithParam<Refusal> {};

TEST_P(CliDomain, RefusesWithStatusThreeInTheChosenLanguage) {
    const Refusal& r = GetParam();
    TempDir dir;
    Spit(dir / "in.zeb", ExampleWith(r.line, r.column, r.value));
    for (const auto& [lang, text] : {std::pair{"de", r.german}, std::pair{"en", r.english}}) {
        const std::string err = dir.File(std::string("err-") + lang);
        const CliRun run = Cli(std::string(r.command) + " " + dir.File("in.zeb") + " " + r.water +
                                   " --lang " + lang,
                               err);
        EXPECT_EQ(run.status, 3);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(Slurp(err), std::string("zeb-cli: ") + text + "\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CliDomain,
    testing::Values(
        Refusal{"saturation", "A", 21, 11, "     1e6",
                "Wasser A: T bew = 1e6 liegt außerhalb des Bereichs, in dem die Berechnung "
                "definiert ist (0 bis 350 °C).",
                "Water A: T bew = 1e6 is outside the range in which the calculation is defined (0 "
                "to 350 °C)."},
        Refusal{"species", "B", 26, 19, "  -0.080",
                "Wasser B: c(K) = -0.080 liegt außerhalb des Bereichs, in dem die Berechnung "
                "definiert ist (0 bis 10000 mmol/L).",
                "Water B: c(K) = -0.080 is outside the range in which the calculation is defined "
                "(0 to 10000 mmol/L)."},
        Refusal{"check", "C", 27, 27, "   1e400",
                "Wasser C: c(Ca) = 1e400 liegt außerhalb des Bereichs, in dem die Berechnung "
                "definiert ist (0 bis 10000 mmol/L).",
                "Water C: c(Ca) = 1e400 is outside the range in which the calculation is defined "
                "(0 to 10000 mmol/L)."},
        Refusal{"blend", "", 44, 11, "    1e30",
                "Wasser A: % = 1e30 liegt außerhalb des Bereichs, in dem die Berechnung "
                "definiert ist (0 bis 100 %).",
                "Water A: % = 1e30 is outside the range in which the calculation is defined (0 "
                "to 100 %)."},
        Refusal{"conditioning", "", 50, 11, "    -400",
                "Konditionierung: T = -400 liegt außerhalb des Bereichs, in dem die Berechnung "
                "definiert ist (0 bis 350 °C).",
                "Conditioning: T = -400 is outside the range in which the calculation is defined "
                "(0 to 350 °C)."}),
    [](const auto& info) { return std::string(info.param.command); });

TEST(CliDomain, SeriesNamesTheWaterThatIsRefused) {
    TempDir dir;
    Spit(dir / "in.zeb", ExampleWith(25, 19, "-1.00000"));
    const std::string err = dir.File("err");
    const CliRun run = Cli("series " + dir.File("in.zeb") + " A B --lang en", err);
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(Slurp(err).find("Water B: c(Na) = -1.00000"), std::string::npos);
}

TEST(CliDomain, MistypedKs82ComputesWithoutNonNumbers) {
    TempDir dir;
    Spit(dir / "in.zeb", ExampleWith(18, 11, "   5.000"));
    for (const char* format : {"text", "excel", "json"}) {
        const CliRun run =
            Cli("saturation " + dir.File("in.zeb") + " A --lang en --format " + format);
        ASSERT_EQ(run.status, 0);
        EXPECT_EQ(run.out.find("nan"), std::string::npos) << format;
        EXPECT_EQ(run.out.find("inf"), std::string::npos) << format;
    }
    // Values that cannot be formed are left empty in the text and null in JSON, never 0.
    const json j = json::parse(Cli("saturation " + dir.File("in.zeb") + " A --format json").out);
    EXPECT_TRUE(j["dosage"]["SI0"]["NaOH"]["ionicStrength"][2].is_null());
}

TEST(CliDomain, HelpDocumentsTheExitStatus) {
    const CliRun run = Cli("--help");
    EXPECT_NE(run.out.find("3 a value of the project lies outside the range"), std::string::npos);
}

} // namespace
