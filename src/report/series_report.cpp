#include "report/series_report.h"

#include "app/number_format.h"

#include <string>

namespace zeb::report {

namespace {

constexpr int kShareRow1 = 15;
constexpr int kShareRow2 = 16;

// Eleven values, each 6 wide. A value that fills its width (a sulfate of 100 mg/L or more, a
// Dc of -100 mg/L or less) is moved right so that two blanks still part it from its neighbour:
// run together, the "Excel" form would read two values as one field.
std::string Values(const results::BlendSeriesResult& r, int decimals,
                   long double (*pick)(const results::BlendSeriesColumn&)) {
    std::string out;
    for (const results::BlendSeriesColumn& c : r.columns) {
        std::string v = app::FormatFixed(pick(c), 6, decimals);
        while (v.compare(0, 2, "  ") != 0)
            v.insert(0, 1, ' ');
        out += v;
    }
    return out;
}

} // namespace

const ReportLayout& SeriesReportLayout() {
    static const ReportLayout layout{33, 33, 15, {}};
    return layout;
}

std::vector<std::string> SeriesReportLines(const ReportText& report, ReportFormat format) {
    std::vector<std::string> lines = ReportLines(report, SeriesReportLayout(), format);
    if (format == ReportFormat::Excel) {
        for (int n : {kShareRow1, kShareRow2}) {
            std::string& line = lines[n - 1];
            if (auto semi = line.find(';'); semi != std::string::npos)
                line.replace(semi, 1, "  ");
        }
    }
    return lines;
}

ReportText BuildSeriesReport(const results::BlendSeriesResult& r, app::Language lang,
                             std::string_view signature, std::string_view fileName,
                             std::string_view dateTime) {
    ReportText rep;
    FillReportHeader(rep, signature, fileName, dateTime);
    auto text = [lang](std::string_view key) { return std::string(app::Text(key, lang)); };
    const std::string indent(kIndent);

    rep[11] = indent + r.text1;
    rep[12] = indent + r.text2;
    rep[kShareRow1] = indent + text("report.TForm15.sharesFirst");
    rep[kShareRow2] = indent + text("report.TForm15.sharesSecond");
    rep[18] = indent + text("report.TForm15.tcalc");
    rep[19] = indent + text("report.TForm15.hardness");
    rep[20] = text("report.TForm15.cSO4");
    rep[21] = text("report.TForm15.cNO3");
    rep[23] = indent + text("report.TForm15.headingPH");
    rep[24] = text("report.TForm15.pair1");
    rep[25] = text("report.TForm15.pair2");
    rep[26] = text("report.TForm15.pair3");
    rep[28] = indent + text("report.TForm15.headingDc");
    rep[29] = text("report.TForm15.pair1");
    rep[30] = text("report.TForm15.pair2");
    rep[31] = text("report.TForm15.pair3");
    if (!r.computed)
        return rep;

    using Column = results::BlendSeriesColumn;
    rep[18] += Values(r, 1, [](const Column& c) { return c.tCalc; });
    rep[19] += Values(r, 1, [](const Column& c) { return c.hardness; });
    rep[20] += Values(r, 1, [](const Column& c) { return c.so4Mg; });
    rep[21] += Values(r, 1, [](const Column& c) { return c.no3Mg; });
    rep[24] += Values(r, 2, [](const Column& c) { return c.pH[0]; });
    rep[25] += Values(r, 2, [](const Column& c) { return c.pH[1]; });
    rep[26] += Values(r, 2, [](const Column& c) { return c.pH[2]; });
    rep[29] += Values(r, 1, [](const Column& c) { return c.dcMg[0]; });
    rep[30] += Values(r, 1, [](const Column& c) { return c.dcMg[1]; });
    rep[31] += Values(r, 1, [](const Column& c) { return c.dcMg[2]; });
    return rep;
}

} // namespace zeb::report
