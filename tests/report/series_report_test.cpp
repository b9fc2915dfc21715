#include "report/series_report.h"

#include "golden.h"

#include <gtest/gtest.h>

namespace zeb::report {
namespace {

using testing::Example;

TEST(SeriesReportTest, ExampleInBothLanguages) {
    const results::BlendSeriesResult r = results::ComputeBlendSeries(
        Example().water(app::WaterId::A), Example().water(app::WaterId::B));
    for (auto [lang, suffix] :
         {std::pair{app::Language::German, "de"}, std::pair{app::Language::English, "en"}}) {
        const ReportText rep =
            BuildSeriesReport(r, lang, app::kSignature2012, testing::kFileName, testing::kDateTime);
        testing::ExpectGolden(SeriesReportLines(rep, ReportFormat::Standard),
                              std::string("series_") + suffix + ".txt");
        if (lang == app::Language::German)
            testing::ExpectGolden(SeriesReportLines(rep, ReportFormat::Excel),
                                  "series_de_excel.txt");
    }
}

TEST(SeriesReportTest, ExcelShareRowsAndWideValues) {
    results::BlendSeriesResult r;
    r.computed = true;
    for (int j = 0; j < results::kBlendSeriesSteps; ++j) {
        r.columns[j].so4Mg = 19.2L + 10.56L * j; // 19.2 ... 124.8 mg/L
        r.columns[j].dcMg[0] = -10.0L * j;       // 0 ... -100 mg/L
    }
    const ReportText rep =
        BuildSeriesReport(r, app::Language::English, app::kSignature2012, "x.zeb", "now");
    const std::vector<std::string> excel = SeriesReportLines(rep, ReportFormat::Excel);
    EXPECT_EQ(excel.at(14), "  100%;90%;80%;70%;60%;50%;40%;30%;20%;10%;0%;");
    EXPECT_EQ(excel.at(15), "  0%;10%;20%;30%;40%;50%;60%;70%;80%;90%;100%;");
    // Values of six characters keep a field of their own.
    EXPECT_EQ(excel.at(19),
              "c(SO4), mg/L;19,2;29,8;40,3;50,9;61,4;72,0;82,6;93,1;103,7;114,2;124,8;");
    EXPECT_EQ(excel.at(28),
              "KS4,3/KB8,2/DIC;0,0;-10,0;-20,0;-30,0;-40,0;-50,0;-60,0;-70,0;-80,0;-90,0;-100,0;");
    const std::vector<std::string> standard = SeriesReportLines(rep, ReportFormat::Standard);
    EXPECT_EQ(standard.size(), 33u);
    EXPECT_EQ(standard.at(14),
              "               100%   90%   80%   70%   60%   50%   40%   30%   20%   10%    0%");
}

} // namespace
} // namespace zeb::report
