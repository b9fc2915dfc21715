#include "report/conditioning_report.h"

#include "app/number_format.h"

#include <string>

namespace zeb::report {

namespace {

using results::ConditioningChemical;

constexpr std::string_view kMmol = "  mmol/L";

std::string Value(long double x) {
    return app::FormatFixed(x, 8, 3);
}

std::string_view ChemicalKey(ConditioningChemical c) {
    switch (c) {
    case ConditioningChemical::CO2:
        return "report.TForm3.chemCO2";
    case ConditioningChemical::HCl:
        return "report.TForm3.chemHCl";
    case ConditioningChemical::NaOH:
        return "report.TForm3.chemNaOH";
    case ConditioningChemical::CaOH2:
        return "report.TForm3.chemCaOH2";
    case ConditioningChemical::NaHCO3:
        return "report.TForm3.chemNaHCO3";
    case ConditioningChemical::CaCO3:
        return "report.TForm3.chemCaCO3";
    case ConditioningChemical::Na2CO3:
        return "report.TForm3.chemNa2CO3";
    case ConditioningChemical::CaCO3MgO:
        return "report.TForm3.chemCaCO3MgO";
    case ConditioningChemical::CaCl2:
        return "report.TForm3.chemCaCl2";
    }
    return "report.TForm3.chemCaCO3";
}

} // namespace

const ReportLayout& ConditioningReportLayout() {
    // The printed page runs to line 52; saving fewer lines would drop c(NO3), c(SO4), c(PO4)
    // and the SI and Dc summary from the file.
    static const ReportLayout layout{52, 52, 11, {}};
    return layout;
}

ReportText BuildConditioningReport(const results::ConditioningResult& r, app::Language lang,
                                   std::string_view signature, std::string_view fileName,
                                   std::string_view dateTime) {
    ReportText rep;
    FillReportHeader(rep, signature, fileName, dateTime);
    auto label = [lang](std::string_view key) { return std::string(app::Text(key, lang)); };
    const app::ConditioningData& in = r.inputs;

    rep[11] = std::string(kIndent) + in.text;
    rep[13] = label("report.TForm3.mValue") + in.tm + std::string(kMmol);
    rep[14] = label("report.TForm3.cDic") + in.tC + std::string(kMmol);
    rep[15] = label("report.TForm3.temperature") + in.T + "  °C";
    rep[16] = label("report.TForm3.ios") + in.IOS + std::string(kMmol);
    const std::pair<std::string_view, const std::string*> inputIons[] = {
        {"report.TForm3.cNa", &in.cNa},   {"report.TForm3.cK", &in.cK},
        {"report.TForm3.cCa", &in.cCa},   {"report.TForm3.cMg", &in.cMg},
        {"report.TForm3.cCl", &in.cCl},   {"report.TForm3.cNO3", &in.cNO3},
        {"report.TForm3.cSO4", &in.cSO4}, {"report.TForm3.cPO4", &in.cPO4},
    };
    int line = 18;
    for (const auto& [key, value] : inputIons)
        rep[line++] = label(key) + *value + std::string(kMmol);
    rep[27] = label(ChemicalKey(r.chemical));
    rep[30] = label("report.TForm3.cx") + in.cx + std::string(kMmol);
    if (r.withDilution)
        rep[31] = label("report.TForm3.vx") + in.Vx + "  L/m³  ";

    rep[34] = std::string(kIndent) + label("report.TForm3.heading");
    rep[35] = label("report.TForm3.mValue") + Value(r.mValue) + std::string(kMmol);
    rep[36] = label("report.TForm3.pValue") + Value(r.pValue) + std::string(kMmol);
    rep[37] = label("report.TForm3.cDic") + Value(r.dic) + std::string(kMmol);
    rep[38] = label("report.TForm3.ios") + Value(r.ionicStrength) + std::string(kMmol);
    rep[39] = label("report.TForm3.pH") + Value(r.pH);
    rep[40] = label("report.TForm3.si") + Value(r.si);
    rep[41] = label("report.TForm3.dc") + Value(r.dc) + std::string(kMmol);
    const results::ConditioningIons& ions = r.ions;
    const std::pair<std::string_view, long double> outputIons[] = {
        {"report.TForm3.cNa", ions.na},   {"report.TForm3.cK", ions.k},
        {"report.TForm3.cCa", ions.ca},   {"report.TForm3.cMg", ions.mg},
        {"report.TForm3.cCl", ions.cl},   {"report.TForm3.cNO3", ions.no3},
        {"report.TForm3.cSO4", ions.so4}, {"report.TForm3.cPO4", ions.po4},
    };
    line = 42;
    for (const auto& [key, value] : outputIons)
        rep[line++] = label(key) + Value(value) + std::string(kMmol);
    rep[51] = label("report.TForm3.siCaCO3") + Value(r.si);
    rep[52] = label("report.TForm3.dcCaCO3") + Value(r.dc) + std::string(kMmol);
    return rep;
}

} // namespace zeb::report
