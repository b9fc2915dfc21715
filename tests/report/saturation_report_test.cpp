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

TEST(SaturationReport, Layout) {
    const report::ReportText r = Build(Example().water(app::WaterId::B), app::Language::English);
    const auto lines = Lines(r, report::ReportFormat::Standard);
    EXPECT_EQ(lines.size(), 259u);
    EXPECT_EQ(r[45], "                     KS 4.3    KS 4.3    KB 8.2");
    EXPECT_EQ(r[42], ""); // ionic strength computed by the program
    // Each comparison value stands under its column: values of column 2 end at character 36,
    // of column 3 at 46.
    EXPECT_EQ(r[53].size(), 26u);
    EXPECT_EQ(r[55].substr(13, 25), std::string(25, ' '));
    EXPECT_EQ(r[55].substr(46), "  mmol/L");
    EXPECT_EQ(r[57].substr(13, 15) + r[57].substr(36, 12), std::string(27, ' '));
    EXPECT_EQ(r[57].find("mmol/L"), r[48].find("mmol/L"));
    EXPECT_EQ(r[58].find("mmol/L"), r[48].find("mmol/L"));
    EXPECT_EQ(r[61].substr(48), "Diff. > 0,05");
    EXPECT_EQ(r[70], "        REQUIRED DOSAGE UP TO SI = 0");
    EXPECT_EQ(r[71].substr(0, 18), "        CaCO3     ");
    EXPECT_EQ(r[75].substr(0, 18), "        NaOH      ");
    EXPECT_EQ(r[115], "        SODIUM-CONCENTRATION AFTER ADJUSTING SI = 0");
    EXPECT_EQ(r[116].substr(0, 18), "        NaOH      ");
    EXPECT_EQ(r[120], "        REQUIRED DOSAGE UP TO pH = 7,8");
    EXPECT_EQ(r[156], "        SODIUM-CONCENTRATION AFTER ADJUSTING pH = 7,8");
    EXPECT_EQ(r[159].substr(0, 18), "        NaHCO3    ");
    EXPECT_EQ(r[160], "");

    const report::ReportText dic = Build(DicWater(), app::Language::German);
    EXPECT_EQ(dic[45], "                     KS 4.3    DIC       KB 8.2");
    EXPECT_EQ(dic[46], "                     DIC       pH(T)     DIC");
    EXPECT_EQ(dic[42], "        IOS für Berechnung                     3.000  mmol/L");
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
