// The species-concentrations report against a reviewed file, and its layout rules.
#include "report/species_report.h"

#include "golden.h"

#include <gtest/gtest.h>

namespace {

using namespace zeb;
using report::testing::Example;
using report::testing::ExpectGolden;

report::ReportText Build(const app::WaterAnalysis& water, app::Language lang) {
    return report::BuildSpeciesReport(results::ComputeSpecies(water), water, lang,
                                      app::kSignature2012, report::testing::kFileName,
                                      report::testing::kDateTime);
}

TEST(SpeciesReport, ReviewedFiles) {
    const report::ReportText r = Build(Example().water(app::WaterId::B), app::Language::English);
    ExpectGolden(
        report::ReportLines(r, report::SpeciesReportLayout(), report::ReportFormat::Standard),
        "species_B_en.txt");
    ExpectGolden(report::ReportLines(r, report::SpeciesReportLayout(), report::ReportFormat::Excel),
                 "species_B_en_excel.txt");
}

TEST(SpeciesReport, Layout) {
    app::WaterAnalysis w = Example().water(app::WaterId::A);
    const report::ReportText r = Build(w, app::Language::German);
    EXPECT_EQ(report::ReportLines(r, report::SpeciesReportLayout(), report::ReportFormat::Standard)
                  .size(),
              64u);
    EXPECT_EQ(r[22], ""); // no entered ionic strength
    EXPECT_EQ(r[27].substr(0, 21), "        m-Wert       ");
    EXPECT_EQ(r[35].substr(0, 20), "        c(Ca++)     ");
    EXPECT_EQ(r[61].substr(0, 20), "        c(OH-)      ");
    EXPECT_EQ(r[49].substr(20), " 0.000E+0000   0.000E+0000   0.000E+0000"); // c(HPO4-)
    EXPECT_EQ(r[62], "");

    w.dicMode = "DIC";
    w.dic = "   0.500";
    w.iosMode = "ZEB";
    const report::ReportText dic = Build(w, app::Language::German);
    EXPECT_EQ(dic[24], "                    KS 4.3      DIC       KB8.2");
    EXPECT_EQ(dic[25], "                    DIC         pH(T)     DIC");
    EXPECT_EQ(dic[22], "        IOS          0.000  mmol/L");
    EXPECT_EQ(dic[28].substr(21), " 5.000E-0001   5.000E-0001   5.000E-0001");
}

} // namespace
