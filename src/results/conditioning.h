#pragma once
// Conditioning: what one dosed chemical does to a water (m-value, DIC, ions, pH, SI, Dc),
// optionally diluted by the volume of the dosing solution.

#include "app/project.h"

#include <array>
#include <string_view>
#include <vector>

namespace zeb::results {

// The nine chemicals of the window, in the order of its radio buttons.
enum class ConditioningChemical { CO2, HCl, NaOH, CaOH2, NaHCO3, CaCO3, Na2CO3, CaCO3MgO, CaCl2 };
inline constexpr std::array<ConditioningChemical, 9> kConditioningChemicals{
    ConditioningChemical::CO2,    ConditioningChemical::HCl,      ConditioningChemical::NaOH,
    ConditioningChemical::CaOH2,  ConditioningChemical::NaHCO3,   ConditioningChemical::CaCO3,
    ConditioningChemical::Na2CO3, ConditioningChemical::CaCO3MgO, ConditioningChemical::CaCl2};

// The stored token: "CO2", "HCl", "NaOH", "Ca(OH)2", "NaHCO3", "CaCO3", "Na2CO3", "CaCO3MgO",
// "CaCl2".
std::string_view ConditioningChemicalToken(ConditioningChemical chemical);
// The chemical of a stored token; any other token selects CaCO3, as the window does.
ConditioningChemical ParseConditioningChemical(std::string_view token);

// The mode the window opens in: "with dilution" unless the V(x) text is exactly "   0.000".
bool ConditioningWithDilution(const app::ConditioningData& data);

// "without dilution" chosen: a positive V(x) becomes "   0.000".
void SelectWithoutDilution(app::ConditioningData& data);

// Every numeric entry normalised to 8.3. The values stay as typed, but T above 90 gives
// "msg.rangeTemperature" and IOS above 50 "msg.rangeIonicStrength" (in that order).
std::vector<std::string_view> NormalizeConditioningInputs(app::ConditioningData& data);

// "Data A/B/C": text, m-value = KS 4.3 - 0.05, DIC = KS 4.3 - 0.05 + KB 8.2 - KS 8.2, T, IOS and
// the eight ions from the water. Dose, volume and chemical stay.
void TakeConditioningFromWater(app::ConditioningData& data, const app::WaterAnalysis& water);

// Concentrations after dosing, mmol/L.
struct ConditioningIons {
    long double na = 0, k = 0, ca = 0, mg = 0, cl = 0, no3 = 0, so4 = 0, po4 = 0;
};

struct ConditioningResult {
    app::ConditioningData inputs; // the normalised texts the computation read
    ConditioningChemical chemical = ConditioningChemical::CaCO3;
    bool withDilution = false;
    long double dose = 0;           // x, mmol/L of water
    long double dilutionFactor = 1; // D = 1 + V(x) / 1000

    long double mValue = 0; // m'
    long double dic = 0;    // DIC' (after the floor of 0.001)
    long double pValue = 0; // m' - DIC'
    ConditioningIons ions;

    // From the last pass of the ionic-strength loop: the ionic strength that pass returned,
    // and pH, SI and cations minus anions of that pass.
    long double ionicStrength = 0;
    long double pH = 0;
    long double si = 0;
    long double chargeBalance = 0;
    long double dc = 0; // CaCO3 dose up to SI = 0, mmol/L

    std::vector<std::string_view> messageKeys; // range messages of the normalisation
};

// "&Run": normalise, dilute, dose, then the pH and the calcite dissolution capacity, each with
// its ionic strength iterated from the entered (diluted) value.
ConditioningResult ComputeConditioning(const app::ConditioningData& data, bool withDilution);

} // namespace zeb::results
