#pragma once
// The unit conversions of the analysis form: mmol/L and mg/L of the ions by their molar masses,
// the hardness from calcium and magnesium, and the oxygen demand of ammonium, iron and
// manganese. Texts in, texts out (8 wide, 3 decimals), so the form and its tests agree to the
// character.

#include "app/project.h"

#include <span>
#include <string>
#include <string_view>

namespace zeb::analysis {

// One ion row of the form, in the order the form walks them.
struct IonRow {
    std::string_view name; // "Na", "K", ... as in the field names
    long double molarMass; // g/mol
    std::string app::WaterAnalysis::*mmol;
    std::string app::WaterAnalysis::*mass;
};
// Na, K, Ca, Mg, Cl, NO3, SO4, PO4, NH4, Fe, Mn.
std::span<const IonRow> IonRows();

// mg/L = mmol/L x molar mass and back, each written 8 wide with 3 decimals.
std::string MassText(std::string_view mmolText, long double molarMass);
std::string MmolText(std::string_view massText, long double molarMass);

struct HardnessTexts {
    std::string mmol; // c(Ca) + c(Mg)
    std::string dH;   // degrees of German hardness
};
HardnessTexts Hardness(std::string_view cCa, std::string_view cMg);

struct OxygenDemandTexts {
    std::string mmol;
    std::string mass; // mg/L
};
// From the mg/L values: the oxygen that ammonium, iron(II) and manganese(II) consume when
// they are oxidised.
OxygenDemandTexts OxygenDemand(std::string_view massNH4, std::string_view massFe,
                               std::string_view massMn);

} // namespace zeb::analysis
