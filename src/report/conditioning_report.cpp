#include "report/conditioning_report.h"

#include "report/report_rows.h"

#include <string>

namespace zeb::report {

namespace {

using results::ConditioningChemical;

constexpr std::string_view kMmol = "  mmol/L";

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

    rep[11] = kIndentText + in.text;
    rep[13] = label("report.TForm3.mValue") + in.tm + std::string(kMmol);
    rep[14] = label("report.TForm3.cDic") + in.tC + std::string(kMmol);
    rep[15] = label("report.TForm3.temperature") + in.T + "  °C";
    rep[16] = label("report.TForm3.ios") + in.IOS + std::string(kMmol);
    // The ions stand twice: as entered from line 18, after dosing from line 42.
    constexpr std::string_view kIonKeys[] = {
        "report.TForm3.cNa", "report.TForm3.cK",   "report.TForm3.cCa",  "report.TForm3.cMg",
        "report.TForm3.cCl", "report.TForm3.cNO3", "report.TForm3.cSO4", "report.TForm3.cPO4"};
    const results::ConditioningIons& ions = r.ions;
    const std::string* entered[] = {&in.cNa, &in.cK,   &in.cCa,  &in.cMg,
                                    &in.cCl, &in.cNO3, &in.cSO4, &in.cPO4};
    const long double dosed[] = {ions.na, ions.k,   ions.ca,  ions.mg,
                                 ions.cl, ions.no3, ions.so4, ions.po4};
    for (int i = 0; i < 8; ++i) {
        rep[18 + i] = label(kIonKeys[i]) + *entered[i] + std::string(kMmol);
        rep[42 + i] = label(kIonKeys[i]) + Fixed3(dosed[i]) + std::string(kMmol);
    }
    rep[27] = label(ChemicalKey(r.chemical));
    rep[30] = label("report.TForm3.cx") + in.cx + std::string(kMmol);
    if (r.withDilution)
        rep[31] = label("report.TForm3.vx") + in.Vx + "  L/m³  ";

    rep[34] = kIndentText + label("report.TForm3.heading");
    rep[35] = label("report.TForm3.mValue") + Fixed3(r.mValue) + std::string(kMmol);
    rep[36] = label("report.TForm3.pValue") + Fixed3(r.pValue) + std::string(kMmol);
    rep[37] = label("report.TForm3.cDic") + Fixed3(r.dic) + std::string(kMmol);
    rep[38] = label("report.TForm3.ios") + Fixed3(r.ionicStrength) + std::string(kMmol);
    rep[39] = label("report.TForm3.pH") + Fixed3(r.pH);
    rep[40] = label("report.TForm3.si") + Fixed3(r.si);
    rep[41] = label("report.TForm3.dc") + Fixed3(r.dc) + std::string(kMmol);
    rep[51] = label("report.TForm3.siCaCO3") + Fixed3(r.si);
    rep[52] = label("report.TForm3.dcCaCO3") + Fixed3(r.dc) + std::string(kMmol);
    return rep;
}

} // namespace zeb::report
