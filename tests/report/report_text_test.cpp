// Report text: header lines and the "Excel" conversion.
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
        {"        06.12.2026 16:30:00", false, "06.12.2026 16:30:00;"},
        {"        KS 4.3       0.450  mmol/L", false, "KS 4.3       0.450  mmol/L;"},
        {"", true, ";"},
        {"   7.0", true, ";"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExcelLine(c.line, c.numeric), c.excel) << '"' << c.line << '"';
    }
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
    EXPECT_EQ(report[7], "        ");
    FillReportHeader(report, "", std::string(79, 'a'), "");
    EXPECT_EQ(report[7], "");
}

} // namespace
