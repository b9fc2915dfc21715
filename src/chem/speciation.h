#pragma once
// Ion-pair speciation: the free ions and complexes of calcium, magnesium, carbonate, sulfate,
// phosphate and hydroxide of a water at a given pH.

#include "chem/types.h"

namespace zeb::chem {

struct SpeciationResult {
    long double ionicStrength = 0; // I of the speciated water, mmol/L
    long double r1 = 0;            // carbonate alkalinity per mmol of DIC (equivalents per mmol)
    long double r0 = 0;            // alkalinity of everything except the carbonate species, mmol/L
    long double sumCations = 0;    // meq/L
    long double sumAnions = 0;     // meq/L
    int passes = 0;                // passes of the fixed-point loop (diagnostic)
};

// Passes after which the fixed-point loop gives up (a guard; real waters need a handful).
inline constexpr int kSpeciationMaxPasses = 1000;
inline constexpr long double kSpeciationTolerance = 0.000001L;

// Distributes the totals of `species` over free ions and ion pairs at `pH` (an activity).
//   k, gammaH: one ComputeConstants result (temperature and ionic strength of interest).
//   species:   reads the totals (slots Dic, CaTotal, MgTotal, So4Total, Po4Total) and the inert
//              ions (Na, K, Cl, No3, Nh4, Fe, Mn); writes every species slot 8-36 (mmol/L).
// The total alkalinity of the water at this pH is DIC * r1 + r0. The loop ends when the
// relative change of the five free values falls below 1e-6, when all five are zero, or after
// kSpeciationMaxPasses passes; none of these is reported. Allocates nothing.
SpeciationResult Speciate(const EquilibriumConstants& k, SpeciesVector& species, long double pH,
                          long double gammaH);

} // namespace zeb::chem
