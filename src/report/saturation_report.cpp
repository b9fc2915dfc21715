#include "report/saturation_report.h"

#include "analysis/ion_units.h"
#include "app/number_format.h"
#include "report/report_rows.h"

#include <string>

namespace zeb::report {

const ReportLayout& SaturationReportLayout() {
    static const ReportLayout layout{
        259, 168, 13, {{34, 44, ";;;"}, {53, 54, ";;"}, {55, 56, ";"}}};
    return layout;
}

ReportText BuildSaturationReport(const results::WaterSaturation& r, const app::WaterAnalysis& w,
                                 app::Language lang, std::string_view signature,
                                 std::string_view fileName, std::string_view dateTime) {
    auto T = [lang](std::string_view key) { return std::string(app::Text(key, lang)); };
    ReportText report;
    FillReportHeader(report, signature, fileName, dateTime);
    report[11] = kIndentText + w.text;

    // The analysis as entered: the stored texts.
    WriteAnalysisInputs(report, w, true, lang);
    report[22] = T("report.TForm4.toc") + w.toc + "  mg/L";
    report[23] = kIndentText + T("report.common.tcalc") + Blanks(5) + w.tempCalc + "  °C";
    report[24] = T("report.TForm4.oxygen") + w.oxygen + "  mg/L";
    for (int i = 0; i < kIonRowCount; ++i) {
        const analysis::IonRow& ion = analysis::IonRows()[i];
        report[25 + i] = IonRow(i, w.*ion.mmol, w.*ion.mass, lang);
    }
    report[36] = kIndentText + T("report.common.hardness") + w.hardnessMmol + "  mmol/L" +
                 Blanks(10) + w.hardnessDH + "  °dH";
    report[37] = kIndentText + T("report.TForm4.o2Demand") + w.cO2Demand + "  mmol/L" + Blanks(10) +
                 w.massO2Demand + "  mg/L";

    // Charge balance. The line is labelled with the difference over S+, so it shows that
    // difference, marked by the thresholds of the analysis check.
    const analysis::ConductivityFigures& f = r.conductivity;
    report[38] = kIndentText + T("report.TForm4.headingChargeBalance");
    report[39] = kIndentText + T("report.TForm4.sumPositive") + Blanks(4) + Fixed3(f.sumCations) +
                 "  mmol/L";
    report[40] =
        kIndentText + T("report.TForm4.sumNegative") + Blanks(4) + Fixed3(f.sumAnions) + "  mmol/L";
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
                 Fixed3(f.mValueFromBalance) + "  mmol/L";

    report[45] = T(r.useDic ? "report.TForm4.headingDic1" : "report.TForm4.headingKsKb1");
    report[46] = T(r.useDic ? "report.TForm4.headingDic2" : "report.TForm4.headingKsKb2");
    if (r.computed) {
        using C = results::SaturationColumn;
        report[48] = kIndentText + T("report.common.mValue") + Blanks(3) +
                     ThreeColumns(r.columns, [](const C& c) { return c.mValue; }) + "  mmol/L";
        report[49] = T("report.common.cDic") +
                     ThreeColumns(r.columns, [](const C& c) { return c.dic; }) + "  mmol/L";
        report[50] = kIndentText + T("report.TForm4.pValue") + Blanks(3) +
                     ThreeColumns(r.columns, [](const C& c) { return c.pValue; }) + "  mmol/L";
        report[51] = kIndentText + T("report.TForm4.anions") + Blanks(2) +
                     ThreeColumns(r.columns, [](const C& c) { return c.anions; }) + "  mmol/L";
        report[52] = kIndentText + T("report.TForm4.cations") + Blanks(2) +
                     ThreeColumns(r.columns, [](const C& c) { return c.cations; }) + "  mmol/L";
        // Each comparison value stands under its own column.
        report[53] = T("report.TForm4.pHCalculated") + Fixed3(r.pHCalculated);
        report[54] = T("report.TForm4.pHMeasured") + Fixed3(r.pHMeasured);
        report[55] =
            T("report.TForm4.ks43Calculated") + Blanks(25) + Fixed3(r.ks43Calculated) + "  mmol/L";
        report[56] =
            T("report.TForm4.ks43Measured") + Blanks(20) + Fixed3(r.ks43Measured) + "  mmol/L";
        report[57] = T("report.TForm4.kb82Calculated") + Blanks(15) + Fixed3(r.kb82Calculated) +
                     Blanks(12) + "mmol/L";
        report[58] = T("report.TForm4.kb82Measured") + Blanks(10) + Fixed3(r.kb82Measured) +
                     Blanks(12) + "mmol/L";

        report[60] = kIndentText + T("report.common.tcalc") + Blanks(5) +
                     ThreeValues(r.tCalc, r.tCalc, r.tCalc) + "  °C";
        report[61] = kIndentText + T("report.common.pHTcalc") + Blanks(1) +
                     ThreeColumns(r.columns, [](const C& c) { return c.pH; }) + "  " +
                     r.pHAgreement;
        report[62] =
            T("report.common.pHA") + ThreeColumns(r.columns, [](const C& c) { return c.pHA; });
        report[63] =
            T("report.common.siCaCO3") + ThreeColumns(r.columns, [](const C& c) { return c.si; });
        report[64] =
            T("report.common.pHcCaCO3") + ThreeColumns(r.columns, [](const C& c) { return c.pHc; });
        report[65] = RowLabel(T("report.TForm4.iosCalculated")) +
                     ThreeColumns(r.columns, [](const C& c) { return c.ionicStrength; }) +
                     "  mmol/L";
        report[66] = T("report.common.dcCaCO3") +
                     ThreeColumns(r.columns, [](const C& c) { return c.dcMmol; }) + "  mmol/L";
        report[67] = T("report.common.dcCaCO3") +
                     ThreeColumns(r.columns, [](const C& c) { return c.dcMg; }) + "  mg/L";

        WriteDosageTables(report, 70, r.dosage, lang);
    }
    return report;
}

} // namespace zeb::report
