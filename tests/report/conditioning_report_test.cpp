#include "report/conditioning_report.h"

#include "golden.h"

#include <gtest/gtest.h>

namespace zeb::report {
namespace {

using testing::Example;

TEST(ConditioningReportTest, ExampleInBothLanguagesAndFormats) {
    const results::ConditioningResult r = results::ComputeConditioning(
        Example().parts.conditioning,
        results::ConditioningWithDilution(Example().parts.conditioning));
    for (auto [lang, suffix] :
         {std::pair{app::Language::German, "de"}, std::pair{app::Language::English, "en"}}) {
        const ReportText rep = BuildConditioningReport(r, lang, app::kSignature2012,
                                                       testing::kFileName, testing::kDateTime);
        testing::ExpectGolden(ReportLines(rep, ConditioningReportLayout(), ReportFormat::Standard),
                              std::string("conditioning_") + suffix + ".txt");
        if (lang == app::Language::English)
            testing::ExpectGolden(ReportLines(rep, ConditioningReportLayout(), ReportFormat::Excel),
                                  "conditioning_en_excel.txt");
    }
}

TEST(ConditioningReportTest, DilutionLineAndEveryResultAreSaved) {
    app::ConditioningData d = Example().parts.conditioning;
    d.cx = "100";
    d.Vx = "10";
    const results::ConditioningResult r = results::ComputeConditioning(d, true);
    const ReportText rep =
        BuildConditioningReport(r, app::Language::English, app::kSignature2012, "x.zeb", "now");
    const std::vector<std::string> lines =
        ReportLines(rep, ConditioningReportLayout(), ReportFormat::Standard);
    EXPECT_EQ(lines.at(30), "        V(x)       10.000  L/m³  ");
    // The last ions and the closing SI and Dc lines reach the file too.
    EXPECT_EQ(lines.size(), 52u);
    EXPECT_EQ(lines.at(51).rfind("        Dc(CaCO3)", 0), 0u);
}

} // namespace
} // namespace zeb::report
