#include "report/blend_report.h"

#include "analysis/ion_units.h"
#include "app/number_format.h"
#include "report/report_rows.h"

#include <string>

namespace zeb::report {

namespace {

constexpr long double kHardnessPerDH = 0.1783L; // mmol/L per degree of German hardness

constexpr int kDosageFirstLine = 50;

} // namespace

const ReportLayout& BlendReportLayout() {
    static const ReportLayout layout{241, 241, 11, {}};
    return layout;
}

ReportText BuildBlendReport(const results::BlendSaturation& r, app::Language lang,
                            std::string_view signature, std::string_view fileName,
                            std::string_view dateTime) {
    auto T = [lang](std::string_view key) { return std::string(app::Text(key, lang)); };
    ReportText report;
    FillReportHeader(report, signature, fileName, dateTime);
    constexpr std::string_view kWaterKeys[] = {"report.TForm11.waterA", "report.TForm11.waterB",
                                               "report.TForm11.waterC"};
    for (int i = 0; i < 3; ++i) {
        report[11 + 3 * i] = T(kWaterKeys[i]) + r.shareTexts[i] + "  %";
        report[12 + 3 * i] = kIndentText + r.texts[i];
    }
    report[34] = T("report.TForm11.heading1");
    report[35] = T("report.TForm11.heading2");
    if (!r.computed)
        return report;

    const results::BlendState& b = r.blend;
    report[20] = kIndentText + T("report.common.tcalc") + Blanks(5) + Fixed3(b.blendTemp) + "  °C";
    // Na to SO4 as blended, with their masses.
    constexpr std::size_t kSlots[] = {chem::slot::Na,      chem::slot::K,  chem::slot::CaTotal,
                                      chem::slot::MgTotal, chem::slot::Cl, chem::slot::No3,
                                      chem::slot::So4Total};
    for (int i = 0; i < static_cast<int>(std::size(kSlots)); ++i) {
        const long double c = b.species[kSlots[i]];
        report[25 + i] = IonRow(i, Fixed3(c), Fixed3(c * analysis::IonRows()[i].molarMass), lang);
    }
    const long double hardness = b.species[chem::slot::CaTotal] + b.species[chem::slot::MgTotal];
    report[32] = kIndentText + T("report.common.hardness") + Fixed3(hardness) + "  mmol/L" +
                 Blanks(10) + Fixed3(hardness / kHardnessPerDH) + "  odH";

    using C = results::BlendSaturationColumn;
    report[37] = kIndentText + T("report.common.mValue") + Blanks(3) +
                 ThreeColumns(r.columns, [](const C& c) { return c.mValue; }) + "  mmol/L";
    report[38] = T("report.common.cDic") +
                 ThreeColumns(r.columns, [](const C& c) { return c.dic; }) + "  mmol/L";
    report[40] = kIndentText + T("report.common.tcalc") + Blanks(5) +
                 ThreeValues(b.blendTemp, b.blendTemp, b.blendTemp) + "  °C";
    report[41] = kIndentText + T("report.common.pHTcalc") + Blanks(1) +
                 ThreeColumns(r.columns, [](const C& c) { return c.pH; });
    report[42] = T("report.common.pHA") + ThreeColumns(r.columns, [](const C& c) { return c.pHA; });
    report[43] =
        T("report.common.siCaCO3") + ThreeColumns(r.columns, [](const C& c) { return c.si; });
    report[44] =
        T("report.common.pHcCaCO3") + ThreeColumns(r.columns, [](const C& c) { return c.pHc; });
    report[45] = RowLabel(T("report.TForm4.iosCalculated")) +
                 ThreeColumns(r.columns, [](const C& c) { return c.ionicStrength; }) + "  mmol/L";
    report[46] = T("report.common.dcCaCO3") +
                 ThreeColumns(r.columns, [](const C& c) { return c.dcMmol; }) + "  mmol/L";
    report[47] = T("report.common.dcCaCO3") +
                 ThreeColumns(r.columns, [](const C& c) { return c.dcMg; }) + "  mg/L";

    WriteDosageTables(report, kDosageFirstLine, r.dosage, lang);
    return report;
}

} // namespace zeb::report
