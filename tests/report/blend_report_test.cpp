#include "report/blend_report.h"

#include "golden.h"

#include <gtest/gtest.h>

namespace zeb::report {
namespace {

using testing::Example;

TEST(BlendReportTest, ExampleInBothLanguages) {
    const results::BlendSaturation r = results::ComputeBlendSaturation(Example().parts.waters);
    for (auto [lang, suffix] :
         {std::pair{app::Language::German, "de"}, std::pair{app::Language::English, "en"}}) {
        const ReportText rep =
            BuildBlendReport(r, lang, app::kSignature2012, testing::kFileName, testing::kDateTime);
        testing::ExpectGolden(ReportLines(rep, BlendReportLayout(), ReportFormat::Standard),
                              std::string("blend_") + suffix + ".txt");
        if (lang == app::Language::English)
            testing::ExpectGolden(ReportLines(rep, BlendReportLayout(), ReportFormat::Excel),
                                  "blend_en_excel.txt");
    }
}

TEST(BlendReportTest, GateFailedLeavesOnlyTheWaters) {
    std::array<app::WaterAnalysis, 3> waters = Example().parts.waters;
    for (auto& w : waters)
        w.blendPercent = "   0.000";
    const results::BlendSaturation r = results::ComputeBlendSaturation(waters);
    ASSERT_FALSE(r.computed);
    const std::vector<std::string> lines = ReportLines(
        BuildBlendReport(r, app::Language::English, app::kSignature2012, "x.zeb", "now"),
        BlendReportLayout(), ReportFormat::Standard);
    EXPECT_EQ(lines.size(), 241u);
    EXPECT_EQ(lines.at(13), "         B    0.000  %");
    EXPECT_EQ(lines.at(14), "        Brunnen 3 Grundwasser (hart)");
    EXPECT_EQ(lines.at(36), "");
    EXPECT_EQ(lines.at(49), "");
}

} // namespace
} // namespace zeb::report
