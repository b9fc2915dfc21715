#pragma once
// The plain searches, as the engine ran them before it learnt to settle sides without
// speciating: every trial of every pH bisection speciated, every pass of a dose bisection
// searched to the end. They are the reference that the engine's searches must meet bit for bit.

#include "chem/carbonate.h"
#include "chem/constants.h"
#include "chem/saturation.h"
#include "chem/speciation.h"

#include <algorithm>
#include <cmath>

namespace zeb::test {

using namespace zeb::chem;

inline PHSolution PlainSolvePH(const EquilibriumConstants& k, long double gammaH,
                               SpeciesVector& species, long double ta, long double dic) {
    species[slot::Dic] = dic;
    long double lo = 0.0L, hi = 14.0L, mid = 0.0L;
    SpeciationResult r;
    int n = 0;
    for (;;) {
        mid = (hi - lo) / 2.0L + lo;
        r = Speciate(k, species, mid, gammaH);
        ++n;
        const long double g = ta - dic * r.r1 - r.r0;
        if (g > 0.0L) {
            lo = mid;
        }
        if (g < 0.0L) {
            hi = mid;
        }
        if (g == 0.0L) {
            lo = hi;
        }
        if (std::isnan(g) || std::fabs(lo - hi) < 0.000001L || n >= 100) {
            break;
        }
    }
    PHSolution out;
    out.pH = mid;
    out.ionicStrength = r.ionicStrength;
    out.sumCations = r.sumCations;
    out.sumAnions = r.sumAnions;
    out.si = CalciteSI(species, k);
    out.speciations = n;
    return out;
}

inline DoseResult PlainDoseToTarget(Chemical chemical, Target target, const SpeciesVector& species,
                                    long double ta, long double dic, long double t,
                                    long double ionicStrength) {
    SpeciesVector s = species;
    const long double ca = species[slot::CaTotal];
    const long double mg = species[slot::MgTotal];
    const long double na = species[slot::Na];
    long double lo = DoseLowerBound(chemical, species);
    long double hi = kDoseUpperBound;
    EquilibriumConstants k;
    long double gammaH = 1.0L;
    ComputeConstants(t, ionicStrength, gammaH, k);
    DoseResult out;
    long double d = 0.0L;
    int n = 1;
    bool last = false;
    do {
        ++n;
        d = (hi - lo) / 2.0L + lo;
        long double taNew = ta, dicNew = dic, taFactor = 0.0L;
        switch (chemical) {
        case Chemical::CaOH2:
            taNew = ta + 2.0L * d;
            break;
        case Chemical::NaOH:
            taNew = ta + d;
            break;
        case Chemical::NaHCO3:
            taNew = ta + d, dicNew = dic + d, taFactor = 1.0L;
            break;
        case Chemical::Na2CO3:
            taNew = ta + 2.0L * d, dicNew = dic + d, taFactor = 2.0L;
            break;
        case Chemical::CaCO3MgO:
            taNew = ta + 4.0L * d, dicNew = dic + d, taFactor = 4.0L;
            break;
        case Chemical::CaCO3:
            taNew = ta + 2.0L * d, dicNew = dic + d, taFactor = 2.0L;
            break;
        case Chemical::CO2:
            dicNew = dic + d;
            break;
        }
        if (chemical == Chemical::CaOH2 || chemical == Chemical::NaOH) {
            if (taNew <= 0.0L) {
                taNew = 0.000001L;
            }
        } else if (chemical == Chemical::CO2) {
            if (dicNew <= 0.0L) {
                dicNew = 0.000001L;
            }
        } else {
            if (taNew <= 0.0L) {
                taNew = 0.000001L;
                dicNew = dic - ta / taFactor;
            }
            if (dicNew <= 0.0L) {
                dicNew = 0.000001L;
                taNew = ta - dic;
            }
        }
        switch (chemical) {
        case Chemical::CaOH2:
        case Chemical::CaCO3:
            s[slot::CaTotal] = ca + d;
            break;
        case Chemical::CaCO3MgO:
            s[slot::CaTotal] = ca + d;
            s[slot::MgTotal] = mg + d;
            break;
        case Chemical::NaOH:
        case Chemical::NaHCO3:
            s[slot::Na] = na + d;
            break;
        case Chemical::Na2CO3:
            s[slot::Na] = na + 2.0L * d;
            break;
        case Chemical::CO2:
            break;
        }
        const PHSolution ph = PlainSolvePH(k, gammaH, s, taNew, dicNew);
        out.pH = ph.pH;
        out.ionicStrength = ph.ionicStrength;
        out.si = ph.si;
        out.speciations += ph.speciations;
        const long double value = target == Target::SI0 ? ph.si : ph.pH;
        const long double goal = target == Target::SI0 ? 0.0L : 7.8L;
        const bool acid = chemical == Chemical::CO2;
        if (value < goal) {
            (acid ? hi : lo) = d;
        } else if (value > goal) {
            (acid ? lo : hi) = d;
        }
        last = std::fabs(lo - hi) < 0.000001L || n == kDoseMaxPassCounter;
    } while (!last);
    out.dose = d;
    out.passes = n - 1;
    return out;
}

} // namespace zeb::test
