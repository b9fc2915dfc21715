#pragma once
// Blends of two or three waters: the share rules of the blend-fractions window, and the
// blended water itself, formed per column from each water's own m-value and DIC.

#include "app/project.h"
#include "chem/carbonate.h"
#include "chem/saturation.h"
#include "chem/types.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zeb::results {

// --- blend-fractions window --------------------------------------------------------------------

// The four fields of the window: shares of A, B and C in %, and their sum.
struct BlendShareFields {
    std::string a = "0", b = "0", c = "0", sum = "0";
};

// On showing the window and on Cancel: A and B normalised, C and the sum rewritten as 8.3.
BlendShareFields NormalizeBlendShareFields(const BlendShareFields& fields);

// "&Run" and "&OK": negative shares become 0; a sum above 100 gives the larger of A and B (A
// on a tie) 100 and the other 0; C is the rest; the sum shows "     100". The window shows
// no message.
BlendShareFields ApplyBlendShareRules(const BlendShareFields& fields);

// --- blend formation ---------------------------------------------------------------------------

// One water as a blend reads it.
struct BlendWater {
    long double pH = 0, tempPH = 0, tempCalc = 0;
    long double ks43 = 0, tempTitr43 = 0, kb82 = 0, ks82 = 0, tempTitr82 = 0, dic = 0;
    long double iosInput = 0;
    long double cNa = 0, cK = 0, cCa = 0, cMg = 0, cCl = 0, cNO3 = 0, cSO4 = 0, cPO4 = 0;
    long double share = 0;     // % of the blend
    bool useDIC = false;       // dicMode "DIC"
    bool calculateIos = false; // iosMode "IOS"
};

// The water's value texts parsed; the share from its blendPercent.
BlendWater ParseBlendWater(const app::WaterAnalysis& water);
// The same with a share set by the caller (the blend series).
BlendWater ParseBlendWater(const app::WaterAnalysis& water, long double share);

// Column k (0..2) of a blend: the k-th InputPair of every water's own family, so a water
// computed from KS/KB and one computed from DIC meet in the same column.
struct BlendColumn {
    int row = 0;
    std::string_view ksKbName; // "KS4.3/KB8.2", "KS4.3/pH(T)", "KB8.2/pH(T)"
    std::string_view dicName;  // "KS4.3/DIC", "DIC/pH(T)", "KB8.2/DIC"
};
inline constexpr int kBlendColumnCount = 3;
BlendColumn GetBlendColumn(int k);

// The blended water.
struct BlendState {
    std::array<long double, kBlendColumnCount> mValue{};   // mmol/L, per column
    std::array<long double, kBlendColumnCount> dicValue{}; // mmol/L, per column
    long double blendTemp = 0;                             // degC
    long double ionicStrength = 0;                         // mixed, mmol/L; used only when !iterate
    bool iterate = false; // some water has its ionic strength computed
    // Input slots Ca, Mg, SO4, Na, K, Cl, NO3, PO4 hold the blended totals; all others 0.
    chem::SpeciesVector species{};
};

// One water's carbonate system in the three columns of its family.
struct BlendWaterSolution {
    std::array<long double, kBlendColumnCount> ta{};  // mmol/L
    std::array<long double, kBlendColumnCount> dic{}; // mmol/L
    // The entered ionic strength, or with `iterate` the value of the last pass (column 3).
    long double ionicStrength = 0;
};

// The per-water part of the formation: with `iterate` the ionic strength of each column is
// iterated from 0 over the carbonate solution and the pH at the water's Tcalc; otherwise one
// carbonate solution with the entered value.
BlendWaterSolution SolveBlendWater(const BlendWater& water, bool iterate);

// Mixes waters whose carbonate systems are known. solutions[i] is null for a water that adds
// nothing to m-value and DIC; every water still mixes its temperature, ionic strength and
// ions. The shares are used as they stand: when they do not add up to 100, every blended
// quantity is scaled by their sum / 100.
BlendState MixBlend(std::span<const BlendWater> waters,
                    std::span<const BlendWaterSolution* const> solutions, bool iterate);

// Whether any of the waters asks for its ionic strength to be computed.
bool AnyCalculatesIos(std::span<const BlendWater> waters);

// The blend of the waters in their order. Empty (nothing computed) unless some water has
// pH > 2 and KS 4.3 > 0 and some share is above 0. Waters with KS 4.3 <= 0 or pH <= 0 add
// nothing to m-value and DIC.
std::optional<BlendState> BlendFormation(std::span<const BlendWater> waters);

// --- the blend as one water --------------------------------------------------------------------

// pH, SI and ionic strength of the blend in column k at blendTemp: with `iterate` from ionic
// strength 0 until it settles, else one solution at the mixed value. `species` receives the
// blend's totals and is left speciated.
chem::PHSolution SolveBlendPH(const BlendState& blend, int k, chem::SpeciesVector& species);

// A dose to a target for the blend in column k, with the same ionic-strength treatment (from 0
// on the ionic strength the dose returns). `species` is the vector SolveBlendPH left.
chem::DoseResult DoseBlend(const BlendState& blend, int k, const chem::SpeciesVector& species,
                           chem::Chemical chemical, chem::Target target);

} // namespace zeb::results
