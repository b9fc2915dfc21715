#pragma once
// Calcite saturation index and the dose of a treatment chemical that brings a water to SI = 0
// or to pH 7.8.

#include "chem/types.h"

#include <array>
#include <optional>
#include <string_view>

namespace zeb::chem {

// SI = Log10(c(Ca++) c(CO3--) / K10) from the free slots 13 and 12 of a speciated vector and
// the K10 of the same constant set; -999 when either concentration is exactly 0.
inline constexpr long double kNoSaturationIndex = -999.0L;
long double CalciteSI(const SpeciesVector& species, const EquilibriumConstants& k);

// The seven chemicals, in the row order of the dosage windows.
enum class Chemical { CaCO3, CaCO3MgO, CaOH2, CO2, NaOH, Na2CO3, NaHCO3 };
inline constexpr Chemical kAllChemicals[] = {Chemical::CaCO3, Chemical::CaCO3MgO, Chemical::CaOH2,
                                             Chemical::CO2,   Chemical::NaOH,     Chemical::Na2CO3,
                                             Chemical::NaHCO3};

enum class Target { SI0, pH78 };

// The program's names: "CaCO3", "CaCO3MgO", "Ca(OH)2", "CO2", "NaOH", "Na2CO3", "NaHCO3";
// "SI0", "pH78".
std::string_view ChemicalName(Chemical chemical);
std::string_view TargetName(Target target);
std::optional<Chemical> ParseChemical(std::string_view name);
std::optional<Target> ParseTarget(std::string_view name);

// Lower end of the dose bracket for the water in `species` (mmol/L, negative = removal):
// -Ca, -Na, -Na/2, -min(Ca, Mg) or -DIC from the slots CaTotal, MgTotal, Na, Dic.
long double DoseLowerBound(Chemical chemical, const SpeciesVector& species);
inline constexpr long double kDoseUpperBound = 100.0L;
inline constexpr int kDoseMaxPassCounter = 50; // the counter starts at 1: at most 49 passes

struct DoseResult {
    long double dose = 0;          // mmol/L per litre of water (negative: removal)
    long double pH = 0;            // pH after dosing, at t
    long double ionicStrength = 0; // I' of the last pH search after dosing, mmol/L
    long double si = 0;            // SI of the last pH search (diagnostic)
    int passes = 0;                // bisection passes (diagnostic)
    int speciations = 0;           // speciations in all passes, either precision (diagnostic)
};

// Bisection of the dose of `chemical` over [DoseLowerBound, 100] mmol/L until `target` is
// met within 1e-6 mmol/L or 49 passes have run. `species` is a speciated vector of the water
// (only its totals are used, on a copy; the lower bound of CO2 reads its Dic slot, which
// SolvePHBisection leaves set to the water's DIC); ta, dic: the water's total alkalinity and DIC
// (mmol/L); t: calculation temperature (degC); ionicStrength in mmol/L. A target outside the
// bracket ends at the bracket end beyond which it lies. Allocates nothing.
//
// `hints` (optional) carries the pH that each pass found from one search to the next on the same
// water at a nearby ionic strength, as the ionic-strength iteration runs them, with bounds of the
// value each pass decided on: it tells a search where to look first, settles the passes whose
// side the move of the ionic strength cannot have changed, and never changes what it returns.
struct DoseHints {
    std::array<long double, kDoseMaxPassCounter> dose{}, pH{}; // pH NaN: not searched
    // How far each pass's pH moved from that of the search before (NaN: not known).
    std::array<long double, kDoseMaxPassCounter> moved{};
    // Bounds of each pass's value (NaN: not known), and the ionic strength they hold at: to
    // SI = 0 those of the SI at the root of its dose, to pH 7.8 those of its searched pH.
    std::array<long double, kDoseMaxPassCounter> low{}, high{};
    long double ionicStrength = 0;
    int passes = 0;
    // CaCO3 to SI = 0: the dose returned and the rise of SI per mmol/L near it (0: unknown).
    long double root = 0, slope = 0;
    long double rootOffset = 0, halfWidth = 0; // its pH less that of the carbonate system alone
                                               // and the probes' last half width
    long double calcite = 0;                   // the calcite constant K10 the search took (0: none)
};
DoseResult DoseToTarget(Chemical chemical, Target target, const SpeciesVector& species,
                        long double ta, long double dic, long double t, long double ionicStrength,
                        DoseHints* hints = nullptr);

// The SaturationResult of a water: SI from SolvePHBisection, Dc and pHc from
// DoseToTarget(CaCO3, SI0), with the ionic strength after that dose.
struct SaturationResult {
    long double si = 0;
    long double dc = 0; // mmol/L
    long double pHc = 0;
    long double ionicStrength = 0; // after the dose, mmol/L
};

} // namespace zeb::chem
