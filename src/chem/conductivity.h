#pragma once
// Plausibility figures of an analysis without the complexation model: conductivity at 25 degC
// from the ions, charge balance, total ions, and an ionic strength from the measured
// conductivity.

namespace zeb::chem {

struct ConductivityInput {
    long double kappa25 = 0; // measured conductivity referred to 25 degC, mS/m (0: not measured)
    long double ks43 = 0;    // mmol/L; hydrogen carbonate is taken as ks43 - 0.05
    long double po4 = 0, so4 = 0, cl = 0, no3 = 0;                      // mmol/L
    long double ca = 0, mg = 0, na = 0, k = 0, nh4 = 0, fe = 0, mn = 0; // mmol/L
    long double pH = 0;
    long double tpH = 0; // temperature of the pH measurement, degC
};

struct ConductivityResult {
    long double kappaCalc = 0;      // computed conductivity at 25 degC, mS/m
    long double kappaDeviation = 0; // |kappaCalc - kappa25| * 100 / kappa25, %
    long double iosKappa = 0;       // kappa25 / 6.0822, mmol/L
    long double balanceMax = 0;     // deviation over the larger equivalent sum, %
    long double balanceMean = 0;    // deviation over the mean of both sums, %
    long double balanceCations = 0; // deviation over the cation sum, %
    long double sumAnions = 0;      // meq/L
    long double sumCations = 0;     // meq/L
    long double sumIons = 0;        // mmol/L
};

// Every output whose divisor is not positive stays 0. Phosphate, NH4, Fe and Mn enter the
// balance but not the conductivity.
ConductivityResult ComputeConductivity(const ConductivityInput& in);

// Mean negative charge of phosphate at pH (activity), ionic strength (mmol/L) and t (degC).
long double PhosphateChargeFactor(long double pH, long double ionicStrength, long double t);

} // namespace zeb::chem
