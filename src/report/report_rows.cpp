#include "report/report_rows.h"

#include "app/number_format.h"

namespace zeb::report {

namespace {

using chem::Chemical;
using chem::Target;

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

constexpr std::string_view kIonKeys[kIonRowCount][2] = {
    {"report.common.cNa", "report.common.massNa"},
    {"report.common.cK", "report.common.massK"},
    {"report.common.cCa", "report.common.massCa"},
    {"report.common.cMg", "report.common.massMg"},
    {"report.common.cCl", "report.common.massCl"},
    {"report.common.cNO3", "report.common.massNO3"},
    {"report.common.cSO4", "report.common.massSO4"},
    {"report.common.cPO4", "report.common.massPO4"},
    {"report.common.cNH4", "report.common.massNH4"},
    {"report.common.cFe", "report.common.massFe"},
    {"report.common.cMn", "report.common.massMn"},
};

using Quantity = long double results::DosageValues::*;

// One block of a dosage table: heading, one line per chemical. Returns the line after the
// empty line that follows the block.
int WriteBlock(ReportText& report, int line, std::string_view headingKey,
               const results::DosageTables& d, Target target, Quantity quantity,
               std::string_view unit, bool sodiumOnly, app::Language lang) {
    report[line++] = kIndentText + std::string(app::Text(headingKey, lang));
    for (const ChemicalRow& row : kChemicalRows) {
        if (sodiumOnly && !results::HasSodiumRow(row.chemical))
            continue;
        auto values = [&](Quantity q) {
            return ThreeValues(d.at(target, row.chemical, 0).*q, d.at(target, row.chemical, 1).*q,
                               d.at(target, row.chemical, 2).*q);
        };
        std::string text = std::string(app::Text(row.key, lang)) + values(quantity);
        text += unit;
        if (quantity == &results::DosageValues::doseMmol)
            text += Blanks(4) + values(&results::DosageValues::doseMg) + "  mg/L";
        report[line++] = std::move(text);
    }
    return line + 1;
}

} // namespace

std::string Fixed3(long double x) {
    return app::FormatFixed(x, 8, 3);
}

std::string ThreeValues(long double a, long double b, long double c) {
    return Fixed3(a) + "  " + Fixed3(b) + "  " + Fixed3(c);
}

std::string RowLabel(std::string_view text) {
    std::string s(text);
    std::size_t chars = 0;
    for (unsigned char c : s)
        chars += (c & 0xC0) != 0x80;
    if (chars < 18)
        s.append(18 - chars, ' ');
    return s;
}

int WriteAnalysisInputs(ReportText& report, const app::WaterAnalysis& w, bool conductivity,
                        app::Language lang) {
    auto T = [lang](std::string_view key) { return std::string(app::Text(key, lang)); };
    int line = 13;
    report[line++] = T("report.TForm4.pH") + w.pH;
    report[line++] = T("report.TForm4.tempPH") + w.tempPH + "  °C";
    if (conductivity) {
        const std::string refTemp = w.condRefTemp == "20" ? "20" : "25";
        report[line++] =
            T("report.TForm4.conductivity") + w.conductivity + "  mS/m (" + refTemp + "°C)";
    }
    report[line++] = T("report.TForm4.ks43") + w.ks43 + "  mmol/L";
    report[line++] = T("report.TForm4.tempTitr43") + w.tempTitr43 + "  °C";
    report[line++] = T("report.TForm4.kb82") + w.kb82 + "  mmol/L";
    report[line++] = T("report.TForm4.ks82") + w.ks82 + "  mmol/L";
    report[line++] = T("report.TForm4.tempTitr82") + w.tempTitr82 + "  °C";
    report[line++] = T("report.TForm4.dic") + w.dic + "  mmol/L";
    return line;
}

std::string IonRow(int ion, std::string_view mmol, std::string_view mass, app::Language lang) {
    return std::string(app::Text(kIonKeys[ion][0], lang)) + std::string(mmol) + "  mmol/L" +
           std::string(app::Text(kIonKeys[ion][1], lang)) + std::string(mass) + "  mg/L";
}

void WriteDosageTables(ReportText& report, int firstLine, const results::DosageTables& d,
                       app::Language lang) {
    using DV = results::DosageValues;
    struct Block {
        std::string_view headingKey;
        Target target;
        Quantity quantity;
        std::string_view unit;
        bool sodiumOnly;
    };
    static constexpr Block kBlocks[] = {
        {"report.common.headingDosageSI0", Target::SI0, &DV::doseMmol, "  mmol/L", false},
        {"report.common.headingPHAfterSI0", Target::SI0, &DV::pH, "", false},
        {"report.common.headingIosAfterSI0", Target::SI0, &DV::ionicStrength, "  mmol/L", false},
        {"report.common.headingMAfterSI0", Target::SI0, &DV::mValue, "  mmol/L", false},
        {"report.common.headingPAfterSI0", Target::SI0, &DV::pValue, "  mmol/L", false},
        {"report.common.headingNaAfterSI0", Target::SI0, &DV::sodiumMg, "  mg/L", true},
        {"report.common.headingDosagePH78", Target::pH78, &DV::doseMmol, "  mmol/L", false},
        {"report.common.headingIosAfterPH78", Target::pH78, &DV::ionicStrength, "  mmol/L", false},
        {"report.common.headingMAfterPH78", Target::pH78, &DV::mValue, "  mmol/L", false},
        {"report.common.headingPAfterPH78", Target::pH78, &DV::pValue, "  mmol/L", false},
        {"report.common.headingNaAfterPH78", Target::pH78, &DV::sodiumMg, "  mg/L", true},
    };
    int line = firstLine;
    for (const Block& b : kBlocks)
        line = WriteBlock(report, line, b.headingKey, d, b.target, b.quantity, b.unit, b.sodiumOnly,
                          lang);
}

} // namespace zeb::report
