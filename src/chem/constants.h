#pragma once
// Activity model (extended Debye-Hueckel with ion size parameters) and the 23 conditional
// equilibrium constants built on it.

#include "chem/types.h"

namespace zeb::chem {

// Temperature-dependent parameters of the activity model.
struct ActivityModel {
    long double epsilon = 0; // relative permittivity of water
    long double a = 0;       // Debye-Hueckel A (about 0.511 at 25 degC)
    long double b = 0;       // Debye-Hueckel B (about 0.329 at 25 degC)
};

// t: temperature in degC.
ActivityModel ComputeActivityModel(long double t);

// Clears lgGamma and fills lg gamma of every charged species slot for temperature t (degC) and
// ionic strength ionicStrength (mmol/L). Neutral species and input slots stay 0.
void ComputeActivityCoefficients(long double t, long double ionicStrength,
                                 ActivityCoefficients& lgGamma);

// The conditional constants K1..K23 at temperature t (degC) and ionic strength ionicStrength
// (mmol/L), in the units of EquilibriumConstants (mmol/L based). `k` is cleared first.
// gammaH receives the activity coefficient of H+ itself (not its logarithm); a pH becomes a
// concentration as c(H+) = Pow10(-pH) * 1000 / gammaH mmol/L.
// Pure function of its arguments; callers own both outputs. Without `withPhosphate` the
// phosphate constants K12-K20 stay 0: the speciation of a water without phosphate reads none of
// them.
void ComputeConstants(long double t, long double ionicStrength, long double& gammaH,
                      EquilibriumConstants& k, bool withPhosphate = true);

// Number of constants and the factor by which Kn is stored: 1000 (mol/L -> mmol/L), or
// 1000000 for K9, K10 and K11. lg(Kn / factor) is the constant in mol/L units.
inline constexpr int kConstantCount = 23;
long double ConstantUnitFactor(int n);

// lg Kn at 25 degC and I = 0 (mol/L units), n = 1..23.
long double ConstantLgK25(int n);

} // namespace zeb::chem
