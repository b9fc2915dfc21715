#include "analysis/ion_units.h"

#include "app/number_format.h"

namespace zeb::analysis {

namespace {

using W = app::WaterAnalysis;

constexpr IonRow kIonRows[] = {
    {"Na", 22.99L, &W::cNa, &W::massNa},     {"K", 39.1L, &W::cK, &W::massK},
    {"Ca", 40.08L, &W::cCa, &W::massCa},     {"Mg", 24.305L, &W::cMg, &W::massMg},
    {"Cl", 35.457L, &W::cCl, &W::massCl},    {"NO3", 62.008L, &W::cNO3, &W::massNO3},
    {"SO4", 96.006L, &W::cSO4, &W::massSO4}, {"PO4", 94.97L, &W::cPO4, &W::massPO4},
    {"NH4", 18.007L, &W::cNH4, &W::massNH4}, {"Fe", 55.845L, &W::cFe, &W::massFe},
    {"Mn", 54.938L, &W::cMn, &W::massMn},
};

constexpr long double kMmolPerDegreeDH = 0.1783L;
// mg of O2 per mg of NH4 (to nitrate), of Fe(II) and of Mn(II), and the molar mass of O2.
constexpr long double kO2PerNH4 = 3.5556L;
constexpr long double kO2PerFe = 0.1431L;
constexpr long double kO2PerMn = 0.2914L;
constexpr long double kMolarMassO2 = 31.998L;

std::string Text83(long double x) {
    return app::FormatFixed(x, 8, 3);
}

} // namespace

std::span<const IonRow> IonRows() {
    return kIonRows;
}

std::string MassText(std::string_view mmolText, long double molarMass) {
    return Text83(app::ParseNumber(mmolText) * molarMass);
}

std::string MmolText(std::string_view massText, long double molarMass) {
    return Text83(app::ParseNumber(massText) / molarMass);
}

HardnessTexts Hardness(std::string_view cCa, std::string_view cMg) {
    const long double sum = app::ParseNumber(cCa) + app::ParseNumber(cMg);
    return {Text83(sum), Text83(sum / kMmolPerDegreeDH)};
}

OxygenDemandTexts OxygenDemand(std::string_view massNH4, std::string_view massFe,
                               std::string_view massMn) {
    const long double mass = kO2PerNH4 * app::ParseNumber(massNH4) +
                             kO2PerFe * app::ParseNumber(massFe) +
                             kO2PerMn * app::ParseNumber(massMn);
    return {Text83(mass / kMolarMassO2), Text83(mass)};
}

} // namespace zeb::analysis
