#pragma once
// Carbonate system: total alkalinity and DIC from two measured quantities, the pH of a TA/DIC
// pair at any temperature, and the closed-form distribution of a pure carbonate system.

#include "chem/types.h"

#include <string_view>

namespace zeb::chem {

// Which two measurements define the water: row 0..2 of the family chosen by the analysis
// flag "Calculations performed using DIC".
//   row | useDIC off      | useDIC on
//   0   | "KS4.3/KB8.2"   | "KS4.3/DIC"
//   1   | "KS4.3/pH(T)"   | "DIC/pH(T)"
//   2   | "KB8.2/pH(T)"   | "KB8.2/DIC"
struct InputPair {
    int row = 0;
    bool useDIC = false;
};

// The column heading of a pair, e.g. "KS4.3/KB8.2".
std::string_view InputPairName(InputPair pair);

// Measured values handed to SolveCarbonateSystem.
struct CarbonateMeasurements {
    long double ks43 = 0; // acid capacity to pH 4.3 (m-value), mmol/L
    long double kb82 = 0; // base capacity to pH 8.2, mmol/L
    long double ks82 = 0; // acid capacity to pH 8.2, mmol/L (normally one of kb82/ks82 is 0)
    long double dic = 0;  // measured DIC, mmol/L (used only with useDIC)
    long double pH = 0;   // measured pH at tpH
    long double t43 = 0;  // temperature of the 4.3 titration, degC
    long double t82 = 0;  // temperature of the 8.2 titration, degC
    long double tpH = 0;  // temperature of the pH measurement, degC
};

// Result of SolveCarbonateSystem, indexed by InputPair row (elements 3 and 4 stay 0).
struct CarbonateState {
    Vector5 ta{};  // total alkalinity (m-value), mmol/L
    Vector5 dic{}; // DIC, mmol/L
    // Recomputed measurements: check[0] = pH at tpH from row 0; check[1] = KB8.2 from row 1
    // (negative: an acid capacity KS8.2); check[2] = KS4.3 from row 2.
    Vector5 check{};
};

// What a pH search leaves for the next search of the same water at a nearby ionic strength, as
// the ionic-strength iteration runs them: how far its pH lay from that of the carbonate system
// alone, and how far that distance moved from the search before. It tells the next search where
// to look first and never changes what it returns.
struct PHHint {
    long double offset = 0;
    long double halfWidth = 0;
    bool known = false;
};

// TA and DIC of all three rows of the family chosen by useDIC, at ionic strength
// ionicStrength (mmol/L). `species` holds the totals of the water (DIC slot ignored); the
// routine works on a copy. Pass limits: row 1 100 passes, row 2 200 passes (then a fallback
// from KS4.3 - 0.05 + KB8.2 - KS8.2), row 0 a guard of kRowZeroMaxPasses; none is reported.
// A pass whose DIC (rows 0, 1) or balance (row 2) is NaN ends its loop, since every later pass
// would repeat it. Worst case kCarbonateMaxSpeciations speciations (pH search included), each
// at most kSpeciationMaxPasses passes.
inline constexpr int kRowZeroMaxPasses = 1000;
inline constexpr int kPHSearchMaxTrials = 24; // 14 / 2^24 < 1e-6
// A pH search's speciations: at most six probes, and per trial at most one loop in double
// precision and one in extended precision.
inline constexpr int kPHSearchProbes = 6;
inline constexpr int kPHSearchMaxSpeciations = kPHSearchProbes + 2 * kPHSearchMaxTrials;
// End point 1, row 0 1000, its pH search, row 1 100 + 1, row 2 200 passes of two alkalinities in
// double and two in extended precision + 1, check 1.
inline constexpr int kCarbonateMaxSpeciations =
    1 + kRowZeroMaxPasses + kPHSearchMaxSpeciations + 101 + 801 + 1;
//
// With `onlyRow` (0..2) only what that row needs is computed: its TA, DIC and check (row 1 of
// the KS/KB family takes row 0's TA and DIC on the way); the other entries stay 0. The values
// computed are those of the full solve to the bit. `checkHint` serves the pH search of check[0]
// (see PHHint). Without `withCheck` the checks stay 0 too.
CarbonateState SolveCarbonateSystem(bool useDIC, const SpeciesVector& species,
                                    const CarbonateMeasurements& measured,
                                    long double ionicStrength, int onlyRow = -1,
                                    PHHint* checkHint = nullptr, bool withCheck = true);

// check[row] of a state that SolveCarbonateSystem formed at this ionic strength, to the bit the
// value it forms with `withCheck`: for an iteration over the ionic strength, whose last pass
// alone has a check that is kept.
long double CarbonateCheck(const SpeciesVector& species, const CarbonateMeasurements& measured,
                           long double ionicStrength, int row, const CarbonateState& state);

struct PHSolution {
    long double pH = 0;            // pH at the requested temperature
    long double ionicStrength = 0; // I' from the last speciation, mmol/L
    long double sumCations = 0;    // meq/L, last speciation
    long double sumAnions = 0;     // meq/L, last speciation
    long double si = 0;            // calcite saturation index (CalciteSI)
    int speciations = 0;           // speciations made, in either precision (diagnostic)
};

// The pH at temperature t (degC) of the water with total alkalinity ta and DIC dic (mmol/L),
// by bisection over pH 0..14 to 1e-6, at the fixed ionic strength ionicStrength (mmol/L).
// Sets species[slot::Dic] = dic and leaves `species` speciated at the returned pH. A TA that no
// pH in 0..14 can carry ends at 0 or 14. Allocates nothing.
PHSolution SolvePHBisection(SpeciesVector& species, long double t, long double ionicStrength,
                            long double ta, long double dic, PHHint* hint = nullptr);

// The same with constants already computed for the temperature and ionic strength; lets a
// caller that searches many TA/DIC pairs at one state compute the constants once.
PHSolution SolvePHBisection(const EquilibriumConstants& k, long double gammaH,
                            SpeciesVector& species, long double ta, long double dic,
                            PHHint* hint = nullptr);

// Distribution of a pure carbonate system at pH (activity), t (degC), ionicStrength (mmol/L).
struct CarbonicFractionsResult {
    long double chargeFactor = 0; // equivalents per mmol of DIC
    long double alpha0 = 0;       // fraction of CO2
    long double alpha1 = 0;       // fraction of HCO3-
    long double alpha2 = 0;       // fraction of CO3--
    long double ohMinusH = 0;     // c(OH-) - c(H+), mmol/L
};
CarbonicFractionsResult CarbonicFractions(long double pH, long double t, long double ionicStrength);

} // namespace zeb::chem
