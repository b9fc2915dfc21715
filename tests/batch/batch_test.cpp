// Reading campaign files: dialects, encodings and quoting; a record turned into the water the
// analysis form would hold; the result table in both languages.
#include "../common/test_support.h"

#include "app/number_format.h"
#include "batch/batch_output.h"
#include "batch/batch_run.h"
#include "batch/csv_reader.h"
#include "batch/water_row.h"
#include "chem/speciation.h"

#include <gtest/gtest.h>

#include <atomic>

#include <sstream>

namespace zeb::batch {
namespace {

using test::SplitLines;

CsvReader ReaderOf(const std::string& bytes) {
    return CsvReader(std::make_unique<std::istringstream>(bytes), "test.csv", bytes.size());
}

std::vector<CsvRecord> ReadAll(CsvReader& reader) {
    std::vector<CsvRecord> all;
    for (CsvRecord r; reader.Next(r);)
        all.push_back(r);
    return all;
}

TEST(CsvReader, DetectsDialectEncodingAndQuoting) {
    struct Case {
        const char* name;
        std::string bytes;
        char delimiter;
        bool decimalComma, bom;
        std::vector<std::string> second; // the cells of the first data record
    };
    const Case cases[] = {
        {"comma, LF", "id,pH\nW1,7.5\n", ',', false, false, {"W1", "7.5"}},
        {"semicolon, BOM, CR LF",
         "\xEF\xBB\xBFid;pH\r\nW1;7,5\r\n",
         ';',
         true,
         true,
         {"W1", "7,5"}},
        {"Windows-1252 text",
         "id;text\nW1;Hochbeh\xE4lter\n",
         ';',
         true,
         false,
         {"W1", "Hochbeh\xC3\xA4lter"}},
        {"UTF-8 text kept",
         "id;text\nW1;\xC3\x9C"
         "bergabe\n",
         ';',
         true,
         false,
         {"W1", "\xC3\x9C"
                "bergabe"}},
        {"quoted delimiter, quote and line break",
         "id,text\n\"W,1\",\"a \"\"b\"\"\nc\"\n",
         ',',
         false,
         false,
         {"W,1", "a \"b\"\nc"}},
        {"no final line end", "id,pH\nW1,8", ',', false, false, {"W1", "8"}},
    };
    for (const Case& c : cases) {
        CsvReader reader = ReaderOf(c.bytes);
        EXPECT_EQ(reader.dialect().delimiter, c.delimiter) << c.name;
        EXPECT_EQ(reader.dialect().decimalComma, c.decimalComma) << c.name;
        EXPECT_EQ(reader.dialect().byteOrderMark, c.bom) << c.name;
        const auto records = ReadAll(reader);
        ASSERT_EQ(records.size(), 2u) << c.name;
        EXPECT_EQ(records[0].row, 1);
        EXPECT_EQ(records[1].row, 2);
        EXPECT_EQ(records[1].cells, c.second) << c.name;
    }
}

TEST(CsvReader, UnclosedQuoteOverAHugeFieldIsAnError) {
    CsvReader reader = ReaderOf("id,text\nW1,\"" + std::string(3 << 20, 'x'));
    CsvRecord r;
    EXPECT_THROW(while (reader.Next(r)){}, app::FileError);
}

// ---- one record ---------------------------------------------------------------------------

WaterRow Read(const std::string& header, const std::string& row, char delimiter = ',') {
    auto split = [delimiter](const std::string& s) {
        std::vector<std::string> cells;
        std::string cell;
        std::istringstream in(s);
        while (std::getline(in, cell, delimiter))
            cells.push_back(cell);
        if (!s.empty() && s.back() == delimiter)
            cells.push_back("");
        return cells;
    };
    CsvDialect dialect;
    dialect.delimiter = delimiter;
    dialect.decimalComma = delimiter == ';';
    return ReadWaterRow(ColumnMap::FromHeader(split(header)), dialect, split(row));
}

std::vector<std::string_view> Keys(const std::vector<RowMessage>& messages) {
    std::vector<std::string_view> keys;
    for (const RowMessage& m : messages)
        keys.push_back(m.key);
    return keys;
}

TEST(WaterRow, CompletesUnitsAndHardnessAsTheForm) {
    const WaterRow r = Read("ID,massCa,CMG,massNH4", "W7,60.12,0.5,0.18");
    EXPECT_EQ(r.id, "W7");
    EXPECT_FALSE(r.error);
    EXPECT_TRUE(r.warnings.empty());
    EXPECT_EQ(r.water.cCa, "   1.500");
    EXPECT_EQ(r.water.massMg, "  12.153");
    EXPECT_EQ(r.water.hardnessMmol, "   2.000");
    EXPECT_EQ(r.water.hardnessDH, "  11.217");
    EXPECT_EQ(r.water.massO2Demand, "   0.640");
    // Untouched fields keep the default water's values.
    EXPECT_EQ(r.water.pH, "   7.000");
    EXPECT_EQ(r.water.tempCalc, "  10.000");
    EXPECT_EQ(r.water.iosMode, "IOS");
}

TEST(WaterRow, BothUnitsAgreeWithinTheirRounding) {
    struct Case {
        const char *mmol, *mass;
        bool warned;
    };
    const Case cases[] = {
        {"1.20", "48.1", false}, {"0.12", "5.0", false},  {"1.500", "60.12", false},
        {"1.2", "48.5", false},  {"1.200", "48.5", true}, {"1.500", "75.0", true},
    };
    for (const Case& c : cases) {
        const WaterRow r = Read("cCa,massCa", std::string(c.mmol) + "," + c.mass);
        EXPECT_EQ(!r.warnings.empty(), c.warned) << c.mmol << " " << c.mass;
        EXPECT_EQ(app::ParseNumber(r.water.cCa), app::ParseNumber(c.mmol));
    }
    const WaterRow r = Read("cCa,massCa", "1.500,75.0");
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_EQ(r.water.massCa, "  60.120");
    EXPECT_EQ(MessageLine(r.warnings[0], app::Language::English),
              "massCa 75.0: 1.500 mmol/L and 75.000 mg/L disagree (60.120 mg/L expected), "
              "mmol/L used");
}

TEST(WaterRow, RangesAndNoticesBecomeWarnings) {
    using W = app::WaterAnalysis;
    struct Case {
        const char *header, *row;
        std::vector<std::string_view> keys;
        std::string W::*field = nullptr;
        const char* kept = nullptr;
    };
    const Case cases[] = {
        {"pH", "4.2", {"msg.rangePH"}, &W::pH, "   4.300"},
        {"pH", "4.3", {}, &W::pH, "   4.300"},
        {"pH", "-7.5", {}, &W::pH, "   7.500"},
        {"tempPH", "95", {"msg.rangeTemperature"}, &W::tempPH, "  95.000"},
        {"ks43", "0.02", {"msg.rangeKs43"}, &W::ks43, "   0.050"},
        {"iosMode,iosInput", "ZEB,51", {"msg.rangeIonicStrength"}, &W::iosInput, "  51.000"},
        {"iosMode", "zeb", {"msg.iosZero"}, &W::iosMode, "ZEB"},
        {"tempCalc", "0", {"msg.tcalcZero"}},
        {"dicMode", "DIC", {"msg.dicRequiresValue"}, &W::dicMode, "KSB"},
        {"dicMode,dic", "dic,2.5", {}, &W::dicMode, "DIC"},
        {"condRefTemp", "20.0", {}, &W::condRefTemp, "20"},
    };
    for (const Case& c : cases) {
        const WaterRow r = Read(c.header, c.row);
        EXPECT_FALSE(r.error) << c.header;
        EXPECT_EQ(Keys(r.warnings), c.keys) << c.header << " " << c.row;
        if (c.field)
            EXPECT_EQ(r.water.*c.field, c.kept) << c.header;
    }
    const WaterRow r = Read("id,pH", "W1,4.2");
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_EQ(MessageLine(r.warnings[0], app::Language::German),
              "pH 4.2: pH-Wert: Gültigkeitsbereich (>= 4,3) überschritten!");
}

TEST(WaterRow, BadCellsAreErrorsNamingTheColumn) {
    struct Case {
        const char *header, *row;
        char delimiter;
        std::string_view key;
        const char* column;
    };
    const Case cases[] = {
        {"id,cCa", "W1,abc", ',', "msg.batchNotNumber", "cCa"},
        {"id,pH", "W1,7.5x", ',', "msg.batchNotNumber", "pH"},
        {"id,pH", "W1,\"7,5\"", ',', "msg.batchNotNumber", "pH"}, // a comma outside ";" files
        {"id;pH", "W1;7.500,1", ';', "msg.batchNotNumber", "pH"},
        {"id,dicMode", "W1,yes", ',', "msg.batchBadToken", "dicMode"},
        {"id,condRefTemp", "W1,22", ',', "msg.batchBadToken", "condRefTemp"},
        {"id,pH", "W1,7,8", ',', "msg.batchTooManyFields", ""},
    };
    for (const Case& c : cases) {
        std::string row = c.row;
        // The quoted case goes through the reader, which removes the quotes.
        if (row.find('"') != std::string::npos) {
            CsvReader reader = ReaderOf(std::string(c.header) + "\n" + row + "\n");
            auto records = ReadAll(reader);
            const WaterRow r = ReadWaterRow(ColumnMap::FromHeader(records[0].cells),
                                            reader.dialect(), records[1].cells);
            ASSERT_TRUE(r.error) << row;
            EXPECT_EQ(r.error->key, c.key);
            continue;
        }
        const WaterRow r = Read(c.header, row, c.delimiter);
        ASSERT_TRUE(r.error) << row;
        EXPECT_EQ(r.error->key, c.key) << row;
        EXPECT_EQ(r.error->column, c.column) << row;
    }
    // Decimal comma in a ";" file, trailing empty cells are no extra fields.
    const WaterRow ok = Read("id;pH;ks43", "W1;7,5;2,5;;", ';');
    EXPECT_FALSE(ok.error);
    EXPECT_EQ(ok.water.pH, "   7.500");
    EXPECT_EQ(ok.water.ks43, "   2.500");
}

TEST(ColumnMap, NotesUnusedColumnsAndRefusesUnusableHeaders) {
    const ColumnMap map = ColumnMap::FromHeader({"Id", "PH", "Probenahme", "hardnessDH"});
    EXPECT_EQ(map.idColumn(), 0);
    EXPECT_EQ(map.fieldOfColumn()[1], 1);
    ASSERT_EQ(map.notes().size(), 2u);
    EXPECT_EQ(map.notes()[0].column, "Probenahme");
    EXPECT_EQ(map.notes()[0].key, "msg.batchUnknownColumn");
    EXPECT_EQ(map.notes()[1].key, "msg.batchDerivedColumn");
    for (const std::vector<std::string>& header :
         {std::vector<std::string>{"Probe", "Datum"}, std::vector<std::string>{"pH", "ph"}}) {
        EXPECT_THROW(ColumnMap::FromHeader(header), ColumnError) << header[0];
    }
}

// ---- rows outside the domain of the computations -----------------------------------------------

std::vector<BatchRow> RunAll(const std::string& bytes, RowExtent extent = {}) {
    CsvReader reader = ReaderOf(bytes);
    BatchOptions options;
    options.doses = extent.doses;
    options.pHA = extent.pHA;
    std::vector<BatchRow> rows;
    RunBatch(reader, options, {}, [&](const BatchRow& row) { rows.push_back(row); });
    return rows;
}

TEST(BatchDomain, RowsOutsideAreRefusedAndTheOthersComputedUnchanged) {
    const std::string header = "id,pH,ks43,kb82,tempCalc,dicMode,dic,cCa,massMg\n";
    const std::string good = "W1,7.4,2.5,0.2,10,,,1.5,12\n";
    const std::string other = "W5,7.9,3.1,0.1,12,DIC,3.2,2.0,8\n";
    const std::string input =
        header + good + "W2,7.4,2.5,0.2,1e6,,,1.5,12\n" + "W3,7.4,2.5,0.2,10,DIC,-3.2,1.5,12\n" +
        "W4,7.4,2.5,0.2,10,,,20000,12\n" + other + "W6,7.4,2.5,0.2,10,,,1.5,300000\n";
    const std::vector<BatchRow> rows = RunAll(input);
    const std::vector<BatchRow> alone = RunAll(header + good + other);
    ASSERT_EQ(rows.size(), 6u);
    ASSERT_EQ(alone.size(), 2u);

    // The rows inside the domain come out as they do without the others, to the bit.
    for (auto [i, j] : {std::pair{0, 0}, std::pair{4, 1}}) {
        ASSERT_FALSE(rows[i].error) << rows[i].id;
        ASSERT_TRUE(rows[i].saturation.computed);
        for (int k = 0; k < results::kColumns; ++k) {
            EXPECT_EQ(rows[i].saturation.columns[k].si, alone[j].saturation.columns[k].si);
            EXPECT_EQ(rows[i].saturation.columns[k].dcMg, alone[j].saturation.columns[k].dcMg);
            EXPECT_EQ(rows[i].saturation.columns[k].pHA, alone[j].saturation.columns[k].pHA);
        }
    }
    // A negative DIC is made positive as the form makes it, and so lies inside.
    ASSERT_FALSE(rows[2].error);
    EXPECT_EQ(rows[2].water.dic, "   3.200");
    EXPECT_TRUE(rows[2].saturation.computed);

    struct Refusal {
        std::size_t index;
        const char *column, *value, *message;
    };
    const Refusal refusals[] = {
        {1, "tempCalc", "1e6",
         "Row 3: tempCalc = 1e6 is outside the range in which the calculation is defined (0 to "
         "350 °C)."},
        {3, "cCa", "20000",
         "Row 5: cCa = 20000 is outside the range in which the calculation is defined (0 to "
         "10000 mmol/L)."},
        // Derived from the mg/L column: named as the field, with the value it holds.
        {5, "cMg", "12343.139",
         "Row 7: cMg = 12343.139 is outside the range in which the calculation is defined (0 "
         "to 10000 mmol/L)."},
    };
    for (const Refusal& r : refusals) {
        const BatchRow& row = rows[r.index];
        ASSERT_TRUE(row.error) << row.id;
        EXPECT_FALSE(row.hasWater);
        EXPECT_FALSE(row.saturation.computed);
        EXPECT_EQ(row.error->column, r.column);
        EXPECT_EQ(row.error->value, r.value);
        EXPECT_EQ(MessageLine(*row.error, app::Language::English), r.message);
    }
    EXPECT_EQ(MessageText(*rows[1].error, app::Language::German),
              "Zeile 3: tempCalc = 1e6 liegt außerhalb des Bereichs, in dem die Berechnung "
              "definiert ist (0 bis 350 °C).");
    // The form's own range message stays a warning beside the refusal.
    EXPECT_EQ(Keys(rows[1].warnings), std::vector<std::string_view>{"msg.rangeTemperature"});
}

TEST(BatchDomain, NoRowRunsUnboundedWork) {
    const ColumnMap columns = ColumnMap::FromHeader(
        {"pH", "tempPH", "ks43", "kb82", "ks82", "tempCalc", "dicMode", "dic", "iosMode",
         "iosInput", "cNa", "cK", "cCa", "cMg", "cCl", "cNO3", "cSO4", "cPO4", "cNH4"});
    auto work = [&](std::vector<std::string> cells) {
        const chem::SpeciationTally before = chem::speciationTally;
        const BatchRow row =
            ComputeRow(columns, CsvDialect{}, {2, std::move(cells)}, RowExtent{true, true});
        return std::pair{row, chem::speciationTally.calls - before.calls};
    };
    const auto [typical, budget] = work({"7.4", "10", "2.5", "0.2", "", "10", "", "", "", "", "1",
                                         "0.1", "1.5", "0.5", "1", "0.2", "0.5", "", ""});
    ASSERT_TRUE(typical.saturation.computed);
    EXPECT_GT(budget, 1000);
    // Outside the domain nothing is speciated at all.
    for (const char* t : {"1e6", "1e400", "-400", "351"}) {
        const auto [row, calls] = work({"7.4", t, "2.5", "0.2", "", "10", "", "", "", "", "1",
                                        "0.1", "1.5", "0.5", "1", "0.2", "0.5", "", ""});
        EXPECT_TRUE(row.error && row.error->domain) << t;
        EXPECT_EQ(calls, 0) << t;
    }
    // At the edges of the domain the work stays within a few times that of a common water (twice
    // at most today); a search spinning on values it cannot meet would cost hundreds of times.
    const std::string e = "9999";
    const std::vector<std::vector<std::string>> edges = {
        {"14", "350", e, e, e, "350", "DIC", e, "ZEB", e, e, e, e, e, e, e, e, e, e},
        {"0", "0", "0", "0", "0", "0", "KSB", "0", "ZEB", "0", "", "", "", "", "", "", "", "", ""},
        {"7", "350", e, "0", e, "0.001", "", "", "", "", e, "", e, "", e, "", e, "", ""},
        {"14", "0", "0.05", e, "0", "350", "DIC", "0.001", "IOS", "", "", "", e, e, "", "", "", e,
         e},
    };
    for (const auto& cells : edges) {
        const auto [row, calls] = work(cells);
        EXPECT_FALSE(row.error && row.error->domain) << cells[0] << " " << cells[1];
        EXPECT_LE(calls, 4 * budget) << cells[0] << " " << cells[1];
    }
}

// ---- the table --------------------------------------------------------------------------------

TEST(BatchOutput, CsvFollowsTheLanguage) {
    const std::string input = "id;text;pH;ks43;massCa\n"
                              "W1;\"Brunnen; Nord\";7,2;2,5;40\n"
                              "W2;Schacht;abc;2,5;40\n";
    for (app::Language lang : {app::Language::German, app::Language::English}) {
        CsvReader reader = ReaderOf(input);
        std::ostringstream out;
        auto writer = MakeCsvWriter(out, lang, false, true);
        const BatchSummary s =
            RunBatch(reader, {}, {}, [&](const BatchRow& row) { writer->Write(row); });
        writer->Finish();
        EXPECT_EQ(s.rows, 2);
        EXPECT_EQ(s.failed, 1);
        const std::string text = out.str();
        ASSERT_TRUE(text.starts_with("\xEF\xBB\xBF"));
        const auto lines = SplitLines(text.substr(3), "\r\n");
        ASSERT_EQ(lines.size(), 3u);
        const bool de = lang == app::Language::German;
        EXPECT_TRUE(lines[0].starts_with(de ? "Zeile;id;Text;Ladungsbilanz" : "Row,id,Text,Charge"))
            << lines[0];
        EXPECT_TRUE(lines[1].starts_with(de ? "2;W1;\"Brunnen; Nord\";" : "2,W1,Brunnen; Nord,"))
            << lines[1];
        EXPECT_NE(lines[1].find(de ? ";0,000;" : ",0.000,"), std::string::npos) << lines[1];
        EXPECT_TRUE(lines[2].ends_with(de ? "pH abc: keine Zahl" : "pH abc: not a number"))
            << lines[2];
    }
}

TEST(BatchOutput, RowsComeInFileOrderWhateverTheThreads) {
    std::string input = "id,pH,ks43,massCa\n";
    for (int i = 0; i < 30; ++i)
        input += "W" + std::to_string(i) + "," + std::to_string(6.5 + (i % 20) * 0.1) + ",2,40\n";
    for (unsigned threads : {1u, 3u}) {
        CsvReader reader = ReaderOf(input);
        std::vector<std::string> ids;
        BatchOptions options;
        options.threads = threads;
        options.blockRows = 7;
        RunBatch(reader, options, {}, [&](const BatchRow& row) { ids.push_back(row.id); });
        ASSERT_EQ(ids.size(), 30u);
        for (int i = 0; i < 30; ++i)
            ASSERT_EQ(ids[i], "W" + std::to_string(i));
    }
}

// Blocks are computed while the block before is handed on and the block after is read: a file
// that breaks off, or a cancel, still delivers every row computed before it, in file order.
TEST(BatchOutput, BreakOffAndCancelKeepEveryRowBefore) {
    std::string input = "id,pH,ks43,massCa\n";
    for (int i = 0; i < 20; ++i)
        input += "W" + std::to_string(i) + ",7.2,2,40\n";
    BatchOptions options;
    options.threads = 2;
    options.blockRows = 7;
    {
        // Rows 15-20 and a field whose quote is never closed: the third block cannot be read.
        CsvReader reader = ReaderOf(input + "W20,\"" + std::string(3 << 20, 'x'));
        std::vector<std::string> ids;
        int reports = 0;
        EXPECT_THROW(RunBatch(
                         reader, options, {}, [&](const BatchRow& row) { ids.push_back(row.id); },
                         [&](const BatchProgress& p) {
                             ++reports;
                             EXPECT_EQ(p.rows, static_cast<std::int64_t>(ids.size()));
                         }),
                     app::FileError);
        ASSERT_EQ(ids.size(), 14u);
        EXPECT_EQ(ids[13], "W13");
        EXPECT_EQ(reports, 2);
    }
    {
        CsvReader reader = ReaderOf(input);
        std::atomic<bool> cancel{false};
        options.cancel = &cancel;
        std::vector<std::string> ids;
        const BatchSummary s = RunBatch(reader, options, {}, [&](const BatchRow& row) {
            ids.push_back(row.id);
            cancel = true;
        });
        EXPECT_TRUE(s.cancelled);
        ASSERT_GE(ids.size(), 7u);
        ASSERT_LT(ids.size(), 20u);
        EXPECT_EQ(s.rows, static_cast<std::int64_t>(ids.size()));
        for (std::size_t i = 0; i < ids.size(); ++i)
            EXPECT_EQ(ids[i], "W" + std::to_string(i));
    }
}

TEST(BatchOutput, DcLimitsAndNumberTexts) {
    BatchRow row;
    row.saturation.computed = true;
    for (auto [dc, limit] : {std::pair{4.9L, DcLimit::None}, std::pair{5.01L, DcLimit::Above5},
                             std::pair{10.5L, DcLimit::Above10}}) {
        row.saturation.columns[1].dcMg = dc;
        EXPECT_EQ(DcLimitOf(row), limit);
    }
    EXPECT_EQ(NumberText(-0.0004L, 3, app::Language::German), "0,000");
    EXPECT_EQ(NumberText(12.3456L, 1, app::Language::English), "12.3");
}

} // namespace
} // namespace zeb::batch
