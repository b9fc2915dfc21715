// The reports of the result windows: the example project's reports line by line against the
// reviewed files, and the layout rules the example does not reach.
#include "report_builders.h"

#include <gtest/gtest.h>

#include <functional>

namespace zeb::report {
namespace {

using app::Language;
using app::WaterId;
using namespace testing::builders;
using testing::Example;

// Water C with the DIC family and an ionic strength entered by hand.
app::WaterAnalysis DicWater() {
    app::WaterAnalysis w = Example().water(WaterId::C);
    w.dicMode = "DIC";
    w.dic = "   2.900";
    w.iosMode = "ZEB";
    w.iosInput = "   3.000";
    return w;
}

app::W216Data MinMaxW216() {
    app::W216Data d = Example().parts.w216;
    d.values[app::W216Data::Letter1] = "M";
    d.values[app::W216Data::O2First] = "10";
    d.values[app::W216Data::O2Second] = "2";
    return d;
}

TEST(Reports, ReviewedFiles) {
    const app::WaterAnalysis& a = Example().water(WaterId::A);
    const app::WaterAnalysis& b = Example().water(WaterId::B);
    const app::ConditioningData& c = Example().parts.conditioning;
    const app::W216Data& w = Example().parts.w216;
    const std::pair<const char*, std::function<std::vector<std::string>()>> cases[] = {
        {"saturation_A_de.txt", [&] { return Saturation(a, Language::German, kStandard); }},
        {"saturation_A_de_excel.txt", [&] { return Saturation(a, Language::German, kExcel); }},
        {"saturation_A_en.txt", [&] { return Saturation(a, Language::English, kStandard); }},
        {"saturation_C_dic_en.txt",
         [&] { return Saturation(DicWater(), Language::English, kStandard); }},
        {"species_B_en.txt", [&] { return Species(b, Language::English, kStandard); }},
        {"species_B_en_excel.txt", [&] { return Species(b, Language::English, kExcel); }},
        {"blend_de.txt", [] { return Blend(Language::German, kStandard); }},
        {"blend_en.txt", [] { return Blend(Language::English, kStandard); }},
        {"blend_en_excel.txt", [] { return Blend(Language::English, kExcel); }},
        {"conditioning_de.txt", [&] { return Conditioning(c, Language::German, kStandard); }},
        {"conditioning_en.txt", [&] { return Conditioning(c, Language::English, kStandard); }},
        {"conditioning_en_excel.txt", [&] { return Conditioning(c, Language::English, kExcel); }},
        {"series_de.txt", [] { return Series(Language::German, kStandard); }},
        {"series_de_excel.txt", [] { return Series(Language::German, kExcel); }},
        {"series_en.txt", [] { return Series(Language::English, kStandard); }},
        {"w216_de.txt", [&] { return W216(w, Language::German, kStandard); }},
        {"w216_en.txt", [&] { return W216(w, Language::English, kStandard); }},
        {"w216_minmax_en.txt", [] { return W216(MinMaxW216(), Language::English, kStandard); }},
    };
    for (const auto& [file, lines] : cases)
        testing::ExpectGolden(lines(), file);
}

TEST(Reports, SaturationChargeBalanceLineShowsTheDifferenceItNames) {
    app::WaterAnalysis w = Example().water(WaterId::A);
    w.cNa = "   5.000";
    w.cK = w.cCa = w.cMg = w.cNO3 = w.cSO4 = "   0.000";
    w.cCl = "   5.000";
    w.ks43 = "   0.650";
    const auto lines = Saturation(w, Language::German, kStandard);
    EXPECT_EQ(lines[38], "        Summe der positiven Ladungen, S+       5.000  mmol/L");
    EXPECT_EQ(lines[39], "        Summe der negativen Ladungen, S-       5.600  mmol/L");
    EXPECT_EQ(lines[40], "        | (S- - S+) / S+ |*100                  12.0  % > 5 % !!!");
    w.cNa = "   5.500";
    EXPECT_EQ(Saturation(w, Language::German, kStandard)[40],
              "        | (S- - S+) / S+ |*100                   1.8  %");
}

TEST(Reports, SaturationNothingComputedLeavesTheResultLinesEmpty) {
    app::WaterAnalysis w = Example().water(WaterId::A);
    w.pH = "   2.000";
    const auto lines = Saturation(w, Language::German, kStandard);
    EXPECT_EQ(lines[12], "        pH(T)        2.000");
    EXPECT_FALSE(lines[38].empty());
    for (int n = 48; n <= 160; ++n)
        EXPECT_EQ(lines[n - 1], "") << "line " << n;
}

TEST(Reports, SpeciesOfTheDicFamilyWithEnteredIonicStrength) {
    app::WaterAnalysis w = Example().water(WaterId::A);
    EXPECT_EQ(Species(w, Language::German, kStandard)[21], ""); // no entered ionic strength
    w.dicMode = "DIC";
    w.dic = "   0.500";
    w.iosMode = "ZEB";
    const auto dic = Species(w, Language::German, kStandard);
    EXPECT_EQ(dic[23], "                    KS 4.3      DIC       KB8.2");
    EXPECT_EQ(dic[24], "                    DIC         pH(T)     DIC");
    EXPECT_EQ(dic[21], "        IOS          0.000  mmol/L");
    EXPECT_EQ(dic[27].substr(21), " 5.000E-0001   5.000E-0001   5.000E-0001");
}

TEST(Reports, ConditioningDilutionLine) {
    app::ConditioningData d = Example().parts.conditioning;
    d.cx = "100";
    d.Vx = "10";
    EXPECT_EQ(Conditioning(d, Language::English, kStandard).at(30),
              "        V(x)       10.000  L/m³  ");
}

TEST(Reports, SeriesValuesOfSixCharactersKeepAFieldOfTheirOwn) {
    results::BlendSeriesResult r;
    r.computed = true;
    for (int j = 0; j < results::kBlendSeriesSteps; ++j) {
        r.columns[j].so4Mg = 19.2L + 10.56L * j; // 19.2 ... 124.8 mg/L
        r.columns[j].dcMg[0] = -10.0L * j;       // 0 ... -100 mg/L
    }
    const std::vector<std::string> excel = SeriesReportLines(
        BuildSeriesReport(r, Language::English, app::kSignature2012, "x.zeb", "now"), kExcel);
    EXPECT_EQ(excel.at(19),
              "c(SO4), mg/L;19,2;29,8;40,3;50,9;61,4;72,0;82,6;93,1;103,7;114,2;124,8;");
    EXPECT_EQ(excel.at(28),
              "KS4,3/KB8,2/DIC;0,0;-10,0;-20,0;-30,0;-40,0;-50,0;-60,0;-70,0;-80,0;-90,0;-100,0;");
}

TEST(Reports, W216MinMaxInExcel) {
    // Blends 6 and 4.4 g/m3: 1.967 (6^0.29 - 4.4^0.29) = 0.284.
    EXPECT_EQ(W216(MinMaxW216(), Language::English, kExcel).at(14),
              "c(O2), mg/L;10,000;2,000;0,284;");
}

} // namespace
} // namespace zeb::report
