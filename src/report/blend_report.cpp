#include "report/blend_report.h"

#include "app/number_format.h"
#include "report/saturation_report.h"

#include <string>

namespace zeb::report {

namespace {

const std::string kIndentText(kIndent);

std::string Blanks(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}

std::string V(long double x) {
    return app::FormatFixed(x, 8, 3);
}

std::string Three(long double a, long double b, long double c) {
    return V(a) + "  " + V(b) + "  " + V(c);
}

template <class Get> std::string Columns(const results::BlendSaturation& r, Get get) {
    return Three(get(r.columns[0]), get(r.columns[1]), get(r.columns[2]));
}

// A row label padded to the 10 characters after the indent.
std::string Label(std::string s) {
    std::size_t chars = 0;
    for (unsigned char c : s)
        chars += (c & 0xC0) != 0x80;
    if (chars < 18)
        s.append(18 - chars, ' ');
    return s;
}

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
    report[20] = kIndentText + T("report.common.tcalc") + Blanks(5) + V(b.blendTemp) + "  °C";
    struct Ion {
        std::string_view key, massKey;
        std::size_t slot;
        long double molarMass;
    };
    const Ion ions[] = {
        {"report.common.cNa", "report.common.massNa", chem::slot::Na, 22.99L},
        {"report.common.cK", "report.common.massK", chem::slot::K, 39.1L},
        {"report.common.cCa", "report.common.massCa", chem::slot::CaTotal, 40.08L},
        {"report.common.cMg", "report.common.massMg", chem::slot::MgTotal, 24.305L},
        {"report.common.cCl", "report.common.massCl", chem::slot::Cl, 35.457L},
        {"report.common.cNO3", "report.common.massNO3", chem::slot::No3, 62.008L},
        {"report.common.cSO4", "report.common.massSO4", chem::slot::So4Total, 96.006L},
    };
    int line = 25;
    for (const Ion& ion : ions) {
        const long double c = b.species[ion.slot];
        report[line++] =
            T(ion.key) + V(c) + "  mmol/L" + T(ion.massKey) + V(c * ion.molarMass) + "  mg/L";
    }
    const long double hardness = b.species[chem::slot::CaTotal] + b.species[chem::slot::MgTotal];
    report[32] = kIndentText + T("report.common.hardness") + V(hardness) + "  mmol/L" + Blanks(10) +
                 V(hardness / kHardnessPerDH) + "  odH";

    using C = results::BlendSaturationColumn;
    report[37] = kIndentText + T("report.common.mValue") + Blanks(3) +
                 Columns(r, [](const C& c) { return c.mValue; }) + "  mmol/L";
    report[38] =
        T("report.common.cDic") + Columns(r, [](const C& c) { return c.dic; }) + "  mmol/L";
    report[40] = kIndentText + T("report.common.tcalc") + Blanks(5) +
                 Three(b.blendTemp, b.blendTemp, b.blendTemp) + "  °C";
    report[41] = kIndentText + T("report.common.pHTcalc") + Blanks(1) +
                 Columns(r, [](const C& c) { return c.pH; });
    report[42] = T("report.common.pHA") + Columns(r, [](const C& c) { return c.pHA; });
    report[43] = T("report.common.siCaCO3") + Columns(r, [](const C& c) { return c.si; });
    report[44] = T("report.common.pHcCaCO3") + Columns(r, [](const C& c) { return c.pHc; });
    report[45] = Label(T("report.TForm4.iosCalculated")) +
                 Columns(r, [](const C& c) { return c.ionicStrength; }) + "  mmol/L";
    report[46] =
        T("report.common.dcCaCO3") + Columns(r, [](const C& c) { return c.dcMmol; }) + "  mmol/L";
    report[47] =
        T("report.common.dcCaCO3") + Columns(r, [](const C& c) { return c.dcMg; }) + "  mg/L";

    WriteDosageTables(report, kDosageFirstLine, r.dosage, lang);
    return report;
}

} // namespace zeb::report
