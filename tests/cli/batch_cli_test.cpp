// zeb-cli batch: every water of the test campaign equals the same water computed from a
// project by zeb-cli saturation and check; the three output files; messages and exit codes.
#include "../common/test_support.h"

#include "batch/csv_reader.h"
#include "batch/water_row.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace {

using namespace zeb;
using namespace zeb::test;
using nlohmann::json;

const std::string kWaters = std::string(ZEB_TEST_DATA_DIR) + "/batch_waters.csv";

// The waters of the campaign as the batch reads them.
std::vector<app::WaterAnalysis> CampaignWaters() {
    batch::CsvReader reader{std::filesystem::path(kWaters)};
    batch::CsvRecord record;
    reader.Next(record);
    const auto columns = batch::ColumnMap::FromHeader(record.cells);
    std::vector<app::WaterAnalysis> waters;
    while (reader.Next(record)) {
        const batch::WaterRow row = batch::ReadWaterRow(columns, reader.dialect(), record.cells);
        EXPECT_FALSE(row.error) << record.row;
        waters.push_back(row.water);
    }
    return waters;
}

TEST(CliBatch, EveryWaterEqualsTheProjectCommands) {
    TempDir dir;
    const CliRun run = Cli("batch " + kWaters + " --doses --lang en -o " + dir.File("out.json"));
    ASSERT_EQ(run.status, 0);
    const json rows = json::parse(Slurp(dir / "out.json"));
    const std::vector<app::WaterAnalysis> waters = CampaignWaters();
    ASSERT_GE(waters.size(), 50u);
    ASSERT_EQ(rows.size(), waters.size());

    for (std::size_t first = 0; first < waters.size(); first += 3) {
        app::Project project;
        const std::size_t count = std::min<std::size_t>(3, waters.size() - first);
        for (std::size_t i = 0; i < count; ++i)
            project.water(app::kAllWaters[i]) = waters[first + i];
        const std::string file = dir.File("p" + std::to_string(first) + ".zeb");
        app::LineBuffer buffer;
        app::SaveProject(file, project, buffer, "");
        for (std::size_t i = 0; i < count; ++i) {
            const json& row = rows[first + i];
            const std::string letter(1, "ABC"[i]);
            ASSERT_EQ(row["row"], first + i + 2);
            ASSERT_FALSE(row.contains("error")) << row["row"];
            json saturation =
                json::parse(Cli("saturation " + file + " " + letter + " --format json").out);
            for (const char* key : {"columns", "tCalc", "pH", "pHA", "si", "pHc", "ionicStrength",
                                    "dcMmol", "dcMg", "dosage"})
                EXPECT_EQ(row[key], saturation[key]) << "row " << row["row"] << " " << key;
            json check = json::parse(Cli("check " + file + " " + letter + " --format json").out);
            check.erase("command");
            check.erase("water");
            EXPECT_EQ(row["check"], check) << "row " << row["row"];
        }
    }
}

TEST(CliBatch, BadRowsAreReportedAndTheOthersComputed) {
    TempDir dir;
    Spit(dir / "in.csv", "id;Text;pH;KS43;cCa;Farbe\n"
                         "W1;Brunnen 1;7,4;2,5;1,5;gelb\n"
                         "W2;Brunnen 2;sieben;2,5;1,5;\n"
                         "W3;Brunnen 3;4,1;2,5;1,5;\n"
                         "W4;Brunnen 4;7,4;2,5;20000;\n");
    const CliRun r = Cli("batch " + dir.File("in.csv") + " --lang de -o " + dir.File("o.json"),
                         dir.File("err.txt"));
    EXPECT_EQ(r.status, 0);
    const std::string err = Slurp(dir / "err.txt");
    EXPECT_NE(err.find("in.csv: Farbe: unbekannte Spalte, nicht gelesen"), std::string::npos)
        << err;
    EXPECT_NE(err.find("in.csv: Zeile 3: pH sieben: keine Zahl"), std::string::npos) << err;
    EXPECT_NE(err.find("in.csv: Zeile 4: pH 4,1: pH-Wert: Gültigkeitsbereich"), std::string::npos)
        << err;
    const std::string refusal = "Zeile 5: cCa = 20000 liegt außerhalb des Bereichs, in dem die "
                                "Berechnung definiert ist (0 bis 10000 mmol/L).";
    EXPECT_NE(err.find("in.csv: " + refusal + "\n"), std::string::npos) << err;
    EXPECT_NE(err.find("in.csv: 4 Wässer, 2 mit Fehler, 1 mit Warnungen"), std::string::npos);
    const json rows = json::parse(Slurp(dir / "o.json"));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0]["id"], "W1");
    EXPECT_TRUE(rows[0]["warnings"].empty());
    EXPECT_EQ(rows[0]["si"].size(), 3u);
    EXPECT_FALSE(rows[0].contains("dosage"));
    EXPECT_EQ(rows[1]["error"]["column"], "pH");
    EXPECT_EQ(rows[1]["error"]["message"], "keine Zahl");
    EXPECT_FALSE(rows[1].contains("si"));
    EXPECT_EQ(rows[2]["warnings"][0]["value"], "4,1");
    EXPECT_EQ(rows[2]["check"]["carbonate"]["pHMeasured"], 4.3);
    EXPECT_EQ(rows[3]["error"]["column"], "cCa");
    EXPECT_EQ(rows[3]["error"]["value"], "20000");
    EXPECT_EQ(rows[3]["error"]["message"], refusal);
    EXPECT_FALSE(rows[3].contains("check"));
    EXPECT_FALSE(rows[3].contains("si"));
}

TEST(CliBatch, ExitCodes) {
    TempDir dir;
    Spit(dir / "nothing.csv", "Probe;Datum\nA;1.1.2020\n");
    Spit(dir / "ok.csv", "id,pH\nW1,7.5\n");
    const std::pair<std::string, int> cases[] = {
        {"batch " + dir.File("missing.csv"), 1},
        {"batch " + dir.File("nothing.csv"), 1},
        {"batch " + dir.File("ok.csv") + " -o " + dir.File("out.txt"), 2},
        {"batch", 2},
        {"batch " + dir.File("ok.csv") + " --lang fr", 2},
        {"batch " + dir.File("ok.csv") + " -o " + dir.File("no/such/dir.csv"), 1},
        {"batch " + dir.File("ok.csv"), 0},
    };
    for (const auto& [args, status] : cases)
        EXPECT_EQ(Cli(args).status, status) << args;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.txt"));
}

TEST(CliBatch, XlsxHoldsNumbersUnderAFrozenHeaderWithMarkedRows) {
    TempDir dir;
    // Soft acidic water (Dc far above 10 mg/L), and one near equilibrium.
    Spit(dir / "in.csv", "id,pH,ks43,kb82,massCa,tempCalc\n"
                         "soft,6.5,0.8,0.6,12,10\n"
                         "hard,7.6,4.0,0.22,110,10\n");
    ASSERT_EQ(Cli("batch " + dir.File("in.csv") + " --lang en -o " + dir.File("o.xlsx")).status, 0);
    const std::string xlsx = dir.File("o.xlsx");
    FILE* p = popen(("unzip -p " + xlsx + " xl/worksheets/sheet1.xml").c_str(), "r");
    std::string xml;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;)
        xml.append(buf, n);
    pclose(p);
    EXPECT_NE(xml.find("<pane ySplit=\"1\""), std::string::npos);
    // Row 2 (the soft water) is marked: its cells carry a style of their own.
    const auto row2 = xml.find("<row r=\"2\"");
    const auto row3 = xml.find("<row r=\"3\"");
    ASSERT_NE(row2, std::string::npos);
    ASSERT_NE(row3, std::string::npos);
    const std::string soft = xml.substr(row2, row3 - row2);
    const std::string hard = xml.substr(row3);
    // Numbers are numbers: the row number cell is a <v> value, not a shared string.
    EXPECT_NE(soft.find("<c r=\"A2\" s=\""), std::string::npos) << soft.substr(0, 200);
    EXPECT_NE(soft.find("><v>2</v>"), std::string::npos) << soft.substr(0, 200);
    auto style = [](const std::string& row, const std::string& cell) {
        const auto at = row.find("<c r=\"" + cell + "\" s=\"");
        return at == std::string::npos ? std::string() : row.substr(at, row.find('>', at) - at);
    };
    EXPECT_NE(style(soft, "A2").substr(style(soft, "A2").find("s=")),
              style(hard, "A3").substr(style(hard, "A3").find("s=")));
    EXPECT_NE(xml.find("<t>Dc 1 [mg/L]</t>"), std::string::npos);
    EXPECT_NE(soft.find("<t>&gt; 10 mg/L</t>"), std::string::npos);
}

} // namespace
