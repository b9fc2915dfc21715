#include "report/w216_report.h"

#include "app/number_format.h"

#include <string>

namespace zeb::report {

namespace {

using app::W216Data;

// A value right-aligned in 8 characters and never closer than two blanks to what stands
// before it, so the "Excel" form keeps it a field of its own.
std::string Cell(std::string_view text) {
    std::string s(text);
    if (s.size() < 8)
        s.insert(0, 8 - s.size(), ' ');
    while (s.compare(0, 2, "  ") != 0)
        s.insert(0, 1, ' ');
    return s;
}

std::string Cell(long double x) {
    return Cell(app::FormatFixed(x, 8, 3));
}

constexpr std::string_view kWaterRowKeys[results::kW216RowCount] = {
    "report.TForm16.o2",  "report.TForm16.ks43", "report.TForm16.cl", "report.TForm16.so4",
    "report.TForm16.po4", "report.TForm16.toc",  "report.TForm16.qA"};
constexpr std::string_view kMinMaxRowKeys[results::kW216RowCount] = {
    "report.TForm16.minMaxO2",  "report.TForm16.minMaxKs43", "report.TForm16.minMaxCl",
    "report.TForm16.minMaxSO4", "report.TForm16.minMaxPO4",  "report.TForm16.minMaxTOC",
    "report.TForm16.minMaxQA"};
constexpr int kValueIndex[results::kW216RowCount][2] = {
    {W216Data::O2First, W216Data::O2Second},   {W216Data::Ks43First, W216Data::Ks43Second},
    {W216Data::ClFirst, W216Data::ClSecond},   {W216Data::SO4First, W216Data::SO4Second},
    {W216Data::PO4First, W216Data::PO4Second}, {W216Data::DOCFirst, W216Data::DOCSecond},
    {W216Data::QAFirst, W216Data::QASecond},
};

// The difference stands under the "|P1-P2|" heading, five blanks after the last blend value.
constexpr std::string_view kBeforeDifference = "     ";

} // namespace

const ReportLayout& W216ReportLayout() {
    static const ReportLayout layout{34, 34, 11, {}};
    return layout;
}

ReportText BuildW216Report(const results::W216Result& r, app::Language lang,
                           std::string_view signature, std::string_view fileName,
                           std::string_view dateTime) {
    ReportText rep;
    FillReportHeader(rep, signature, fileName, dateTime);
    auto text = [lang](std::string_view key) { return std::string(app::Text(key, lang)); };
    const W216Data& in = r.inputs;
    rep[11] = std::string(kIndent) + in.text;

    if (r.minMax) {
        rep[13] = text("report.TForm16.headingMinMax");
        rep[14] = std::string(27, ' ') + text("report.TForm16.minMax");
        for (int row = 0; row < results::kW216RowCount; ++row) {
            rep[15 + row] = text(kMinMaxRowKeys[row]) + Cell(in.values[kValueIndex[row][0]]) +
                            Cell(in.values[kValueIndex[row][1]]) + std::string(kBeforeDifference) +
                            Cell(r.rows[row].difference);
        }
        return rep;
    }

    rep[13] = text("report.TForm16.textI") + " " + r.textI;
    rep[14] = text("report.TForm16.textII") + " " + r.textII;
    rep[16] = std::string(41, ' ') + text("report.TForm16.headingBlends");
    // Each share ends under the last letter of its blend heading.
    rep[17] = std::string(kIndent) + text("report.TForm16.fractionI") +
              app::FormatFixed(r.shareI1, 15, 0) + app::FormatFixed(r.shareI2, 8, 0);
    rep[18] = std::string(kIndent) + text("report.TForm16.fractionII") +
              app::FormatFixed(r.shareII1, 15, 0) + app::FormatFixed(r.shareII2, 8, 0);
    rep[20] = text("report.TForm16.headingColumns");
    rep[21] = std::string(28, ' ') + "  " + in.values[W216Data::Letter1] + "       " +
              in.values[W216Data::Letter2];
    for (int row = 0; row < results::kW216RowCount; ++row) {
        const results::W216RowResult& x = r.rows[row];
        rep[22 + row] = text(kWaterRowKeys[row]) + Cell(in.values[kValueIndex[row][0]]) +
                        Cell(in.values[kValueIndex[row][1]]) + Cell(x.blend1) + Cell(x.blend2) +
                        std::string(kBeforeDifference) + Cell(x.difference);
    }
    rep[30] = text("report.TForm16.qAFormula");
    return rep;
}

} // namespace zeb::report
