#include "report/w216_report.h"

#include "golden.h"

#include <gtest/gtest.h>

namespace zeb::report {
namespace {

using testing::Example;

TEST(W216ReportTest, WaterModeInBothLanguages) {
    const results::W216Result r =
        results::ComputeW216(Example().parts.w216, Example().parts.waters);
    ASSERT_FALSE(r.minMax);
    for (auto [lang, suffix] :
         {std::pair{app::Language::German, "de"}, std::pair{app::Language::English, "en"}}) {
        const ReportText rep =
            BuildW216Report(r, lang, app::kSignature2012, testing::kFileName, testing::kDateTime);
        testing::ExpectGolden(ReportLines(rep, W216ReportLayout(), ReportFormat::Standard),
                              std::string("w216_") + suffix + ".txt");
    }
}

TEST(W216ReportTest, MinMaxModeAndExcel) {
    app::W216Data d = Example().parts.w216;
    d.values[app::W216Data::Letter1] = "M";
    d.values[app::W216Data::O2First] = "10";
    d.values[app::W216Data::O2Second] = "2";
    const results::W216Result r = results::ComputeW216(d, Example().parts.waters);
    ASSERT_TRUE(r.minMax);
    const ReportText rep = BuildW216Report(r, app::Language::English, app::kSignature2012,
                                           testing::kFileName, testing::kDateTime);
    testing::ExpectGolden(ReportLines(rep, W216ReportLayout(), ReportFormat::Standard),
                          "w216_minmax_en.txt");
    const std::vector<std::string> excel =
        ReportLines(rep, W216ReportLayout(), ReportFormat::Excel);
    // Blends 6 and 4.4 g/m3: 1.967 (6^0.29 - 4.4^0.29) = 0.284.
    EXPECT_EQ(excel.at(14), "c(O2), mg/L;10,000;2,000;0,284;");
}

} // namespace
} // namespace zeb::report
