#include "report/species_report.h"

#include "app/number_format.h"
#include "report/report_rows.h"

#include <string>

namespace zeb::report {

namespace {

namespace s = chem::slot;

// The window's format: scientific with four significant digits in 12 characters.
std::string V(long double x) {
    return app::FormatScientific(x, 12);
}

struct SpeciesLine {
    std::string_view key;
    std::size_t slot;
};
// The report lists the species grouped by element, not in the window's order.
constexpr SpeciesLine kReportOrder[] = {
    {"report.TForm12.cCa", s::Ca},           {"report.TForm12.cMg", s::Mg},
    {"report.TForm12.cSO4", s::So4},         {"report.TForm12.cCO2", s::Co2},
    {"report.TForm12.cHCO3", s::Hco3},       {"report.TForm12.cCO3", s::Co3},
    {"report.TForm12.cCaHCO3", s::CaHco3},   {"report.TForm12.cCaCO3", s::CaCo3},
    {"report.TForm12.cCaSO4", s::CaSo4},     {"report.TForm12.cMgHCO3", s::MgHco3},
    {"report.TForm12.cMgCO3", s::MgCo3},     {"report.TForm12.cMgSO4", s::MgSo4},
    {"report.TForm12.cH3PO4", s::H3po4},     {"report.TForm12.cH2PO4", s::H2po4},
    {"report.TForm12.cHPO4", s::Hpo4},       {"report.TForm12.cPO4", s::Po4},
    {"report.TForm12.cCaPO4", s::CaPo4},     {"report.TForm12.cCaHPO4", s::CaHpo4},
    {"report.TForm12.cCaH2PO4", s::CaH2po4}, {"report.TForm12.cMgPO4", s::MgPo4},
    {"report.TForm12.cMgHPO4", s::MgHpo4},   {"report.TForm12.cMgH2PO4", s::MgH2po4},
    {"report.TForm12.cCaOH", s::CaOh},       {"report.TForm12.cMgOH", s::MgOh},
    {"report.TForm12.cHSO4", s::Hso4},       {"report.TForm12.cH", s::H},
    {"report.TForm12.cOH", s::Oh},
};

int RowOfSlot(std::size_t slot) {
    for (int i = 0; i < results::kSpeciesCount; ++i) {
        if (results::kSpeciesRows[i].slot == slot) {
            return i;
        }
    }
    return -1;
}

} // namespace

const ReportLayout& SpeciesReportLayout() {
    static const ReportLayout layout{64, 64, 13, {}};
    return layout;
}

ReportText BuildSpeciesReport(const results::SpeciesResult& r, const app::WaterAnalysis& w,
                              app::Language lang, std::string_view signature,
                              std::string_view fileName, std::string_view dateTime) {
    auto T = [lang](std::string_view key) { return std::string(app::Text(key, lang)); };
    ReportText report;
    FillReportHeader(report, signature, fileName, dateTime);
    report[11] = kIndentText + w.text;

    report[WriteAnalysisInputs(report, w, false, lang)] =
        kIndentText + T("report.common.tcalc") + Blanks(5) + w.tempCalc + "  °C";
    if (w.iosMode != "IOS") {
        report[22] = T("report.TForm12.iosInput") + w.iosInput + "  mmol/L";
    }

    report[24] = T(r.useDic ? "report.TForm12.headingDic1" : "report.TForm12.headingKsKb1");
    report[25] = T(r.useDic ? "report.TForm12.headingDic2" : "report.TForm12.headingKsKb2");
    if (!r.computed) {
        return report;
    }
    auto three = [&r](auto get) {
        return V(get(r.columns[0])) + "  " + V(get(r.columns[1])) + "  " + V(get(r.columns[2]));
    };
    using C = results::SpeciesColumn;
    report[27] = T("report.TForm12.mValue") + three([](const C& c) { return c.mValue; });
    report[28] = T("report.TForm12.cDic") + three([](const C& c) { return c.dic; });
    report[29] = T("report.TForm12.pValue") + three([](const C& c) { return c.pValue; });
    report[30] = T("report.TForm12.tcalc") + three([&r](const C&) { return r.tCalc; });
    report[31] = T("report.TForm12.pHTcalc") + three([](const C& c) { return c.pH; });
    report[32] = T("report.TForm12.anions") + three([](const C& c) { return c.anions; });
    report[33] = T("report.TForm12.cations") + three([](const C& c) { return c.cations; });
    int line = 35;
    for (const SpeciesLine& s : kReportOrder) {
        const int row = RowOfSlot(s.slot);
        report[line++] = T(s.key) + three([row](const C& c) { return c.species[row]; });
    }
    return report;
}

} // namespace zeb::report
