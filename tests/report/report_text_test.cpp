// Report text: header lines, the "Excel" conversion and report files.
#include "../common/test_support.h"

#include "report/report_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace zeb::report;

TEST(ExcelLine, IndentGoesBlankRunsBecomeFieldsInTheNumericPart) {
    struct Case {
        const char* line;
        bool numeric;
        const char* excel;
    };
    const Case cases[] = {
        {"        pH(T)           7.000", true, "pH(T);7,000;"},
        {"        KS 4.3       0.450  mmol/L", true, "KS 4,3;0,450;mmol/L;"},
        {"        m-Wert      -0.054    -0.072    -0.053  mmol/L", true,
         "m-Wert;-0,054;-0,072;-0,053;mmol/L;"},
        {"        Ladungsbilanz, LB [ohne Komplexierung]", true,
         "Ladungsbilanz, LB [ohne Komplexierung];"},
        {"        06.12.2026 16:30:00", false, "06.12.2026 16:30:00;"},
        {"        KS 4.3       0.450  mmol/L", false, "KS 4.3       0.450  mmol/L;"},
        {"        ß(Na)     6.897  mg/L", true, "ß(Na);6,897;mg/L;"},
        {"", true, ";"},
        {"   7.0", true, ";"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExcelLine(c.line, c.numeric), c.excel) << '"' << c.line << '"';
    }
}

TEST(ReportLines, StandardAsTheyAreExcelConvertedWithInserts) {
    ReportText report;
    report[1] = "        heading 1.0";
    report[2] = "        a       1.5  mmol/L";
    report[3] = "        b       2.5";
    report[5] = "        after the converted part";
    const ReportLayout layout{6, 4, 2, {{2, 3, ";;"}}};

    const auto standard = ReportLines(report, layout, ReportFormat::Standard);
    ASSERT_EQ(standard.size(), 6u);
    EXPECT_EQ(standard[1], report[2]);
    EXPECT_EQ(standard[5], "");

    const auto excel = ReportLines(report, layout, ReportFormat::Excel);
    ASSERT_EQ(excel.size(), 6u);
    EXPECT_EQ(excel[0], "heading 1.0;");
    EXPECT_EQ(excel[1], "a;;;1,5;mmol/L;");
    EXPECT_EQ(excel[2], "b;;;2,5;");
    EXPECT_EQ(excel[3], ";");
    EXPECT_EQ(excel[4], "        after the converted part");
    EXPECT_EQ(excel[5], "");
}

TEST(FillReportHeader, FileNameOverTwoLines) {
    const std::string hundred = std::string(80, 'a') + std::string(20, 'b');
    ReportText report;
    FillReportHeader(report, "ZEB 4.1 project file (2012)", hundred, "06.12.2026 16:30:00");
    EXPECT_EQ(report[3], "        ZEB 4.1 project file (2012)");
    EXPECT_EQ(report[6], "        " + std::string(80, 'a'));
    EXPECT_EQ(report[7], "        " + std::string(20, 'b'));
    EXPECT_EQ(report[9], "        06.12.2026 16:30:00");
    EXPECT_EQ(report[1] + report[2] + report[4] + report[5] + report[8], "");

    // Characters, not bytes: an umlaut counts once.
    const std::string umlauts = "/daten/" + std::string(72, 'x') + "Ä" + "übrig.zeb";
    FillReportHeader(report, "", umlauts, "");
    EXPECT_EQ(report[6], "        /daten/" + std::string(72, 'x') + "Ä");
    EXPECT_EQ(report[7], "        übrig.zeb");
    FillReportHeader(report, "", std::string(80, 'a'), "");
    EXPECT_EQ(report[7], "");
}

TEST(WriteReportFile, Cp1252WithCrLf) {
    const zeb::test::TempDir dir;
    WriteReportFile(dir / "r.txt", {"        T    8.000  °C", "", "Härte ß"});
    EXPECT_EQ(zeb::test::Slurp(dir / "r.txt"), "        T    8.000  \xB0"
                                               "C\r\n\r\nH\xE4rte \xDF\r\n");
}

} // namespace
