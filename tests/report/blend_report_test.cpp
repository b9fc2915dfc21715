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

} // namespace
} // namespace zeb::report
