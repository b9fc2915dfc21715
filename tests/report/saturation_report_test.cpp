// The state-of-saturation report, line by line against reviewed files, and its "Excel" form.
#include "report/saturation_report.h"

#include "golden.h"

#include <gtest/gtest.h>

namespace {

using namespace zeb;
using report::testing::Example;
using report::testing::ExpectGolden;

report::ReportText Build(const app::WaterAnalysis& water, app::Language lang) {
    return report::BuildSaturationReport(results::ComputeSaturation(water), water, lang,
                                         app::kSignature2012, report::testing::kFileName,
                                         report::testing::kDateTime);
}

std::vector<std::string> Lines(const report::ReportText& text, report::ReportFormat format) {
    return report::ReportLines(text, report::SaturationReportLayout(), format);
}

// Water C with the DIC family and an ionic strength entered by hand.
app::WaterAnalysis DicWater() {
    app::WaterAnalysis w = Example().water(app::WaterId::C);
    w.dicMode = "DIC";
    w.dic = "   2.900";
    w.iosMode = "ZEB";
    w.iosInput = "   3.000";
    return w;
}

TEST(SaturationReport, ReviewedFiles) {
    const app::WaterAnalysis& a = Example().water(app::WaterId::A);
    const report::ReportText de = Build(a, app::Language::German);
    ExpectGolden(Lines(de, report::ReportFormat::Standard), "saturation_A_de.txt");
    ExpectGolden(Lines(de, report::ReportFormat::Excel), "saturation_A_de_excel.txt");
    ExpectGolden(Lines(Build(a, app::Language::English), report::ReportFormat::Standard),
                 "saturation_A_en.txt");
    ExpectGolden(Lines(Build(DicWater(), app::Language::English), report::ReportFormat::Standard),
                 "saturation_C_dic_en.txt");
}

TEST(SaturationReport, ComparisonValuesStandUnderTheirColumns) {
    const report::ReportText r = Build(Example().water(app::WaterId::B), app::Language::English);
    // Column 1 ends at character 26, column 2 at 36, column 3 at 46; the units follow column 3.
    EXPECT_EQ(r[53].size(), 26u);
    EXPECT_EQ(r[55].substr(13, 25), std::string(25, ' '));
    EXPECT_EQ(r[55].substr(46), "  mmol/L");
    EXPECT_EQ(r[57].substr(13, 15) + r[57].substr(36, 12), std::string(27, ' '));
    EXPECT_EQ(r[57].find("mmol/L"), r[48].find("mmol/L"));
    EXPECT_EQ(r[58].find("mmol/L"), r[48].find("mmol/L"));
}

TEST(SaturationReport, ChargeBalanceLineShowsTheDifferenceItNames) {
    app::WaterAnalysis w = Example().water(app::WaterId::A);
    w.cNa = "   5.000";
    w.cK = w.cCa = w.cMg = w.cNO3 = w.cSO4 = "   0.000";
    w.cCl = "   5.000";
    w.ks43 = "   0.650";
    const report::ReportText r = Build(w, app::Language::German);
    EXPECT_EQ(r[39], "        Summe der positiven Ladungen, S+       5.000  mmol/L");
    EXPECT_EQ(r[40], "        Summe der negativen Ladungen, S-       5.600  mmol/L");
    EXPECT_EQ(r[41], "        | (S- - S+) / S+ |*100                  12.0  % > 5 % !!!");
    w.cNa = "   5.500";
    EXPECT_EQ(Build(w, app::Language::German)[41],
              "        | (S- - S+) / S+ |*100                   1.8  %");
}

TEST(SaturationReport, ExcelAlignsTheColumns) {
    const auto excel = Lines(Build(Example().water(app::WaterId::A), app::Language::English),
                             report::ReportFormat::Excel);
    EXPECT_EQ(excel.size(), 259u);
    EXPECT_EQ(excel[12], "pH(T);7,200;");
    EXPECT_EQ(excel[33], "c(Fe II);;;;0,000;mmol/L;ß(Fe);0,000;mg/L;");
    EXPECT_EQ(excel[43], ";;;;");
    EXPECT_EQ(excel[52], "pH(T);;;7,321;");
    EXPECT_EQ(excel[54], "KS4,3;;0,346;mmol/L;");
    EXPECT_EQ(excel[167], ";");
    EXPECT_EQ(excel[168], "");
}

TEST(SaturationReport, NothingComputedLeavesTheResultLinesEmpty) {
    app::WaterAnalysis w = Example().water(app::WaterId::A);
    w.pH = "   2.000";
    const report::ReportText r = Build(w, app::Language::German);
    EXPECT_EQ(r[13], "        pH(T)        2.000");
    EXPECT_FALSE(r[39].empty());
    for (int n = 48; n <= 160; ++n) {
        EXPECT_EQ(r[n], "") << "line " << n;
    }
}

} // namespace
