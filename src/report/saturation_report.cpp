#include "report/saturation_report.h"

#include "app/number_format.h"

#include <string>

namespace zeb::report {

namespace {

using chem::Chemical;
using chem::Target;

const std::string kIndentText(kIndent);

std::string Blanks(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}

// Values as the window shows them: 3 decimals in width 8.
std::string V(long double x) {
    return app::FormatFixed(x, 8, 3);
}

std::string Three(long double a, long double b, long double c) {
    return V(a) + "  " + V(b) + "  " + V(c);
}

template <class Get> std::string Columns(const results::WaterSaturation& r, Get get) {
    return Three(get(r.columns[0]), get(r.columns[1]), get(r.columns[2]));
}

// A row label padded to the 10 characters after the indent (characters, not bytes).
std::string Label(std::string_view text) {
    std::string s(text);
    std::size_t chars = 0;
    for (unsigned char c : s) {
        chars += (c & 0xC0) != 0x80;
    }
    if (chars < 18) {
        s.append(18 - chars, ' ');
    }
    return s;
}

struct ChemicalRow {
    Chemical chemical;
    std::string_view key;
};
constexpr ChemicalRow kChemicalRows[] = {
    {Chemical::CaCO3, "report.common.chemCaCO3"},
    {Chemical::CaCO3MgO, "report.common.chemCaCO3MgO"},
    {Chemical::CaOH2, "report.common.chemCaOH2"},
    {Chemical::CO2, "report.common.chemCO2"},
    {Chemical::NaOH, "report.common.chemNaOH"},
    {Chemical::Na2CO3, "report.common.chemNa2CO3"},
    {Chemical::NaHCO3, "report.common.chemNaHCO3"},
};

using Quantity = long double results::DosageValues::*;

// One block of a dosage table: empty line (unless first), heading, one line per chemical.
// Returns the line after the block.
int WriteBlock(ReportText& report, int line, std::string_view headingKey,
               const results::DosageTables& d, Target target, Quantity quantity,
               std::string_view unit, bool sodiumOnly, app::Language lang) {
    report[line++] = kIndentText + std::string(app::Text(headingKey, lang));
    for (const ChemicalRow& row : kChemicalRows) {
        if (sodiumOnly && !results::HasSodiumRow(row.chemical)) {
            continue;
        }
        std::string text =
            std::string(app::Text(row.key, lang)) + Three(d.at(target, row.chemical, 0).*quantity,
                                                          d.at(target, row.chemical, 1).*quantity,
                                                          d.at(target, row.chemical, 2).*quantity);
        text += unit;
        if (quantity == &results::DosageValues::doseMmol) {
            text +=
                Blanks(4) +
                Three(d.at(target, row.chemical, 0).doseMg, d.at(target, row.chemical, 1).doseMg,
                      d.at(target, row.chemical, 2).doseMg) +
                "  mg/L";
        }
        report[line++] = std::move(text);
    }
    return line + 1; // the empty line before the next block
}

} // namespace

const ReportLayout& SaturationReportLayout() {
    static const ReportLayout layout{
        259, 168, 13, {{34, 44, ";;;"}, {53, 54, ";;"}, {55, 56, ";"}}};
    return layout;
}

void WriteDosageTables(ReportText& report, int firstLine, const results::DosageTables& d,
                       app::Language lang) {
    using DV = results::DosageValues;
    int line = firstLine;
    line = WriteBlock(report, line, "report.common.headingDosageSI0", d, Target::SI0, &DV::doseMmol,
                      "  mmol/L", false, lang);
    line = WriteBlock(report, line, "report.common.headingPHAfterSI0", d, Target::SI0, &DV::pH, "",
                      false, lang);
    line = WriteBlock(report, line, "report.common.headingIosAfterSI0", d, Target::SI0,
                      &DV::ionicStrength, "  mmol/L", false, lang);
    line = WriteBlock(report, line, "report.common.headingMAfterSI0", d, Target::SI0, &DV::mValue,
                      "  mmol/L", false, lang);
    line = WriteBlock(report, line, "report.common.headingPAfterSI0", d, Target::SI0, &DV::pValue,
                      "  mmol/L", false, lang);
    line = WriteBlock(report, line, "report.common.headingNaAfterSI0", d, Target::SI0,
                      &DV::sodiumMg, "  mg/L", true, lang);
    line = WriteBlock(report, line, "report.common.headingDosagePH78", d, Target::pH78,
                      &DV::doseMmol, "  mmol/L", false, lang);
    line = WriteBlock(report, line, "report.common.headingIosAfterPH78", d, Target::pH78,
                      &DV::ionicStrength, "  mmol/L", false, lang);
    line = WriteBlock(report, line, "report.common.headingMAfterPH78", d, Target::pH78, &DV::mValue,
                      "  mmol/L", false, lang);
    line = WriteBlock(report, line, "report.common.headingPAfterPH78", d, Target::pH78, &DV::pValue,
                      "  mmol/L", false, lang);
    WriteBlock(report, line, "report.common.headingNaAfterPH78", d, Target::pH78, &DV::sodiumMg,
               "  mg/L", true, lang);
}

ReportText BuildSaturationReport(const results::WaterSaturation& r, const app::WaterAnalysis& w,
                                 app::Language lang, std::string_view signature,
                                 std::string_view fileName, std::string_view dateTime) {
    auto T = [lang](std::string_view key) { return std::string(app::Text(key, lang)); };
    ReportText report;
    FillReportHeader(report, signature, fileName, dateTime);
    report[11] = kIndentText + w.text;

    // The analysis as entered: the stored texts.
    const std::string refTemp = w.condRefTemp == "20" ? "20" : "25";
    report[13] = T("report.TForm4.pH") + w.pH;
    report[14] = T("report.TForm4.tempPH") + w.tempPH + "  °C";
    report[15] = T("report.TForm4.conductivity") + w.conductivity + "  mS/m (" + refTemp + "°C)";
    report[16] = T("report.TForm4.ks43") + w.ks43 + "  mmol/L";
    report[17] = T("report.TForm4.tempTitr43") + w.tempTitr43 + "  °C";
    report[18] = T("report.TForm4.kb82") + w.kb82 + "  mmol/L";
    report[19] = T("report.TForm4.ks82") + w.ks82 + "  mmol/L";
    report[20] = T("report.TForm4.tempTitr82") + w.tempTitr82 + "  °C";
    report[21] = T("report.TForm4.dic") + w.dic + "  mmol/L";
    report[22] = T("report.TForm4.toc") + w.toc + "  mg/L";
    report[23] = kIndentText + T("report.common.tcalc") + Blanks(5) + w.tempCalc + "  °C";
    report[24] = T("report.TForm4.oxygen") + w.oxygen + "  mg/L";
    struct Ion {
        std::string_view key, massKey;
        const std::string& mmol;
        const std::string& mass;
    };
    const Ion ions[] = {
        {"report.common.cNa", "report.common.massNa", w.cNa, w.massNa},
        {"report.common.cK", "report.common.massK", w.cK, w.massK},
        {"report.common.cCa", "report.common.massCa", w.cCa, w.massCa},
        {"report.common.cMg", "report.common.massMg", w.cMg, w.massMg},
        {"report.common.cCl", "report.common.massCl", w.cCl, w.massCl},
        {"report.common.cNO3", "report.common.massNO3", w.cNO3, w.massNO3},
        {"report.common.cSO4", "report.common.massSO4", w.cSO4, w.massSO4},
        {"report.common.cPO4", "report.common.massPO4", w.cPO4, w.massPO4},
        {"report.common.cNH4", "report.common.massNH4", w.cNH4, w.massNH4},
        {"report.common.cFe", "report.common.massFe", w.cFe, w.massFe},
        {"report.common.cMn", "report.common.massMn", w.cMn, w.massMn},
    };
    int line = 25;
    for (const Ion& ion : ions) {
        report[line++] = T(ion.key) + ion.mmol + "  mmol/L" + T(ion.massKey) + ion.mass + "  mg/L";
    }
    report[36] = kIndentText + T("report.common.hardness") + w.hardnessMmol + "  mmol/L" +
                 Blanks(10) + w.hardnessDH + "  °dH";
    report[37] = kIndentText + T("report.TForm4.o2Demand") + w.cO2Demand + "  mmol/L" + Blanks(10) +
                 w.massO2Demand + "  mg/L";

    // Charge balance. The line is labelled with the difference over S+, so it shows that
    // difference, marked by the thresholds of the analysis check.
    const analysis::ConductivityFigures& f = r.conductivity;
    report[38] = kIndentText + T("report.TForm4.headingChargeBalance");
    report[39] =
        kIndentText + T("report.TForm4.sumPositive") + Blanks(4) + V(f.sumCations) + "  mmol/L";
    report[40] =
        kIndentText + T("report.TForm4.sumNegative") + Blanks(4) + V(f.sumAnions) + "  mmol/L";
    std::string balance = kIndentText + T("report.TForm4.chargeBalanceDiff") + Blanks(14) +
                          app::FormatFixed(f.balanceCations, 8, 1) + "  %";
    switch (analysis::MarkBalance(f.balanceCations, f.sumIons)) {
    case analysis::BalanceMark::Above5:
        balance += T("report.TForm4.chargeBalanceAbove5");
        break;
    case analysis::BalanceMark::Above10:
        balance += T("report.TForm4.chargeBalanceAbove10");
        break;
    case analysis::BalanceMark::None:
        break;
    }
    report[41] = balance;
    if (w.iosMode != "IOS") {
        report[42] =
            kIndentText + T("report.TForm4.iosInput") + Blanks(4) + w.iosInput + "  mmol/L";
    }
    report[43] = kIndentText + T("report.TForm4.mChargeBalance") + Blanks(8) +
                 V(f.mValueFromBalance) + "  mmol/L";

    report[45] = T(r.useDic ? "report.TForm4.headingDic1" : "report.TForm4.headingKsKb1");
    report[46] = T(r.useDic ? "report.TForm4.headingDic2" : "report.TForm4.headingKsKb2");
    if (r.computed) {
        using C = results::SaturationColumn;
        report[48] = kIndentText + T("report.common.mValue") + Blanks(3) +
                     Columns(r, [](const C& c) { return c.mValue; }) + "  mmol/L";
        report[49] =
            T("report.common.cDic") + Columns(r, [](const C& c) { return c.dic; }) + "  mmol/L";
        report[50] = kIndentText + T("report.TForm4.pValue") + Blanks(3) +
                     Columns(r, [](const C& c) { return c.pValue; }) + "  mmol/L";
        report[51] = kIndentText + T("report.TForm4.anions") + Blanks(2) +
                     Columns(r, [](const C& c) { return c.anions; }) + "  mmol/L";
        report[52] = kIndentText + T("report.TForm4.cations") + Blanks(2) +
                     Columns(r, [](const C& c) { return c.cations; }) + "  mmol/L";
        // Each comparison value stands under its own column.
        report[53] = T("report.TForm4.pHCalculated") + V(r.pHCalculated);
        report[54] = T("report.TForm4.pHMeasured") + V(r.pHMeasured);
        report[55] =
            T("report.TForm4.ks43Calculated") + Blanks(25) + V(r.ks43Calculated) + "  mmol/L";
        report[56] = T("report.TForm4.ks43Measured") + Blanks(20) + V(r.ks43Measured) + "  mmol/L";
        report[57] = T("report.TForm4.kb82Calculated") + Blanks(15) + V(r.kb82Calculated) +
                     Blanks(12) + "mmol/L";
        report[58] = T("report.TForm4.kb82Measured") + Blanks(10) + V(r.kb82Measured) + Blanks(12) +
                     "mmol/L";

        report[60] = kIndentText + T("report.common.tcalc") + Blanks(5) +
                     Three(r.tCalc, r.tCalc, r.tCalc) + "  °C";
        report[61] = kIndentText + T("report.common.pHTcalc") + Blanks(1) +
                     Columns(r, [](const C& c) { return c.pH; }) + "  " + r.pHAgreement;
        report[62] = T("report.common.pHA") + Columns(r, [](const C& c) { return c.pHA; });
        report[63] = T("report.common.siCaCO3") + Columns(r, [](const C& c) { return c.si; });
        report[64] = T("report.common.pHcCaCO3") + Columns(r, [](const C& c) { return c.pHc; });
        report[65] = Label(T("report.TForm4.iosCalculated")) +
                     Columns(r, [](const C& c) { return c.ionicStrength; }) + "  mmol/L";
        report[66] = T("report.common.dcCaCO3") + Columns(r, [](const C& c) { return c.dcMmol; }) +
                     "  mmol/L";
        report[67] =
            T("report.common.dcCaCO3") + Columns(r, [](const C& c) { return c.dcMg; }) + "  mg/L";

        WriteDosageTables(report, 70, r.dosage, lang);
    }
    return report;
}

} // namespace zeb::report
