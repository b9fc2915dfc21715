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
// A loop whose five free values have all become NaN stops at once: from there every pass
// forms NaN again, so further passes could change nothing but the time taken.
inline constexpr int kSpeciationMaxPasses = 1000;
inline constexpr long double kSpeciationTolerance = 0.000001L;

// Distributes the totals of `species` over free ions and ion pairs at `pH` (an activity).
//   k, gammaH: one ComputeConstants result (temperature and ionic strength of interest).
//   species:   reads the totals (slots Dic, CaTotal, MgTotal, So4Total, Po4Total) and the inert
//              ions (Na, K, Cl, No3, Nh4, Fe, Mn); writes every species slot 8-36 (mmol/L).
// The total alkalinity of the water at this pH is DIC * r1 + r0. The loop ends when the
// relative change of the five free values falls below 1e-6, when all five are zero, or after
// kSpeciationMaxPasses passes; none of these is reported. A total, pH or gammaH that is not
// finite makes no pass at all: the free values are NaN, as the loop would leave them, and the
// results are formed from them. Allocates nothing.
SpeciationResult Speciate(const EquilibriumConstants& k, SpeciesVector& species, long double pH,
                          long double gammaH);

// Work done by the speciation on this thread: calls (Speciate and every trial of a pH search)
// and passes of the fixed-point loop. Only counted, never read by the engine; tests assert the
// worst cases with it.
struct SpeciationTally {
    long long calls = 0;
    long long passes = 0;
    long long inDouble = 0; // of the calls, those that ran in double precision
};
inline thread_local SpeciationTally speciationTally;

} // namespace zeb::chem
