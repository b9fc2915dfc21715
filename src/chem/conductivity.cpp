#include "chem/conductivity.h"

#include "chem/carbonate.h"
#include "chem/constants.h"
#include "chem/numeric.h"

#include <cmath>

namespace zeb::chem {
namespace {

// Limiting equivalent conductivities at 25 degC.
constexpr long double kLambdaCo3 = 86.0L, kLambdaHco3 = 44.5L, kLambdaSo4 = 79.8L;
constexpr long double kLambdaCl = 76.3L, kLambdaNo3 = 71.4L, kLambdaOh = 197.8L;
constexpr long double kLambdaCa = 59.5L, kLambdaMg = 53.1L, kLambdaNa = 50.1L;
constexpr long double kLambdaK = 73.5L, kLambdaH = 349.8L;

// Sums over one side of the balance of equivalent concentrations e = c * z.
struct Side {
    long double eLambda = 0, eZ2 = 0, eZ = 0, e = 0;
    void Add(long double c, long double z, long double lambda) {
        const long double eq = c * z;
        eLambda += eq * lambda;
        eZ2 += eq * z * z;
        eZ += eq * z;
        e += eq;
    }
};

} // namespace

long double PhosphateChargeFactor(long double pH, long double ionicStrength, long double t) {
    EquilibriumConstants k;
    long double gammaH = 1.0L;
    ComputeConstants(t, ionicStrength, gammaH, k);
    const long double K12 = k[KIndex(12)], K13 = k[KIndex(13)], K14 = k[KIndex(14)];
    const long double h = Pow10(-pH) * 1000.0L / gammaH;
    return (K12 * h * h + 2.0L * K12 * K13 * h + 3.0L * K12 * K13 * K14) /
           (h * h * h + K12 * h * h + K12 * K13 * h + K12 * K13 * K14);
}

ConductivityResult ComputeConductivity(const ConductivityInput& in) {
    ConductivityResult out;
    out.iosKappa = in.kappa25 / 6.0822L;

    const long double iEst =
        0.5L * (4.0L * in.so4 + in.cl + in.no3 + (in.ks43 - 0.05L) + 4.0L * in.ca + 4.0L * in.mg +
                4.0L * in.fe + 4.0L * in.mn + in.na + in.k + in.nh4);
    const long double phi = PhosphateChargeFactor(in.pH, iEst, in.tpH);
    const CarbonicFractionsResult f = CarbonicFractions(in.pH, in.tpH, iEst);

    const long double h = Pow10(-in.pH) * 1000.0L;
    const long double oh = Pow10(in.pH - 14.0L) * 1000.0L;
    const long double hco3 = in.ks43 - 0.05L;
    const long double co3 = hco3 * f.alpha2 / f.alpha1;

    out.sumCations = 2.0L * (in.ca + in.mg + in.fe + in.mn) + in.na + in.k + in.nh4;
    out.sumAnions = 2.0L * in.so4 + in.cl + in.no3 + hco3 + phi * in.po4;
    out.sumIons = phi * in.po4 + in.ca + in.mg + in.fe + in.mn + in.na + in.k + in.nh4 + in.so4 +
                  in.cl + in.no3 + hco3;

    const long double delta = std::fabs(out.sumAnions - out.sumCations);
    if (out.sumCations > 0.0L) {
        out.balanceCations = delta * 100.0L / out.sumCations;
    }
    if (out.sumAnions + out.sumCations > 0.0L) {
        out.balanceMean = delta * 200.0L / (out.sumAnions + out.sumCations);
    }
    if (out.sumAnions <= out.sumCations && out.sumCations > 0.0L) {
        out.balanceMax = delta * 100.0L / out.sumCations;
    }
    if (out.sumCations <= out.sumAnions && out.sumAnions > 0.0L) {
        out.balanceMax = delta * 100.0L / out.sumAnions;
    }

    Side an, cat;
    an.Add(co3, 2.0L, kLambdaCo3);
    an.Add(hco3, 1.0L, kLambdaHco3);
    an.Add(in.so4, 2.0L, kLambdaSo4);
    an.Add(in.cl, 1.0L, kLambdaCl);
    an.Add(in.no3, 1.0L, kLambdaNo3);
    an.Add(oh, 1.0L, kLambdaOh);
    cat.Add(in.ca, 2.0L, kLambdaCa);
    cat.Add(in.mg, 2.0L, kLambdaMg);
    cat.Add(in.na, 1.0L, kLambdaNa);
    cat.Add(in.k, 1.0L, kLambdaK);
    cat.Add(h, 1.0L, kLambdaH);

    const long double zMinus = an.eZ2 / an.eZ;
    const long double zPlus = cat.eZ2 / cat.eZ;
    const long double lambdaMinus = an.eLambda / an.e;
    const long double lambdaPlus = cat.eLambda / cat.e;
    const long double lambda0 = lambdaMinus + lambdaPlus;
    const long double q =
        zPlus * zMinus * lambda0 / ((zPlus * lambdaMinus + zMinus * lambdaPlus) * (zPlus + zMinus));
    const long double c = (an.e + cat.e) / 2.0L;

    // Comparisons with a NaN (an empty side) are false, which leaves kappaCalc at 0.
    if (q > 0.0L && (zPlus + zMinus) * c > 0.0L) {
        const long double x = (2.0L * lambda0 * zMinus * zPlus * q /
                                   ((std::sqrt(q) + 1.0L) * (zMinus + zPlus) * 115.2L) +
                               0.668L) *
                              (zPlus + zMinus) * c;
        out.kappaCalc = (cat.eLambda + an.eLambda - std::sqrt((zPlus + zMinus) * c) * x) / 10.0L;
    }
    if (in.kappa25 > 0.0L) {
        out.kappaDeviation = std::fabs(out.kappaCalc - in.kappa25) * 100.0L / in.kappa25;
    }
    return out;
}

} // namespace zeb::chem
