#pragma once
// The plain searches, as the engine ran them before it learnt to settle sides without
// speciating: every trial of every pH bisection speciated, every pass of a dose bisection
// searched to the end. They are the reference that the engine's searches must meet bit for bit.

#include "chem/carbonate.h"
#include "chem/constants.h"
#include "chem/numeric.h"
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

// The carbonate system of all three rows as it was solved before the fixed-pH loops reused their
// c(H+) factors: every pass a full speciation.
inline CarbonateState PlainSolveCarbonateSystem(bool useDIC, const SpeciesVector& species,
                                                const CarbonateMeasurements& m, long double ios) {
    struct Set {
        EquilibriumConstants k;
        long double gammaH = 0;
    };
    auto constants = [ios](long double t) {
        Set c;
        ComputeConstants(t, ios, c.gammaH, c.k);
        return c;
    };
    const Set c43 = constants(m.t43), c82 = constants(m.t82), cpH = constants(m.tpH);
    auto endPointDic = [](const Set& c) {
        const long double h = Pow10(-4.3L) * 1000.0L / c.gammaH;
        const long double co3 = c.k[KIndex(11)] * 0.35L / (h * h);
        const long double hco3 = co3 * h / c.k[KIndex(2)];
        return co3 + hco3 + hco3 * h / c.k[KIndex(1)];
    };
    SpeciesVector s = species;
    auto at = [&s](const Set& c, long double pH, long double dic) {
        s[slot::Dic] = dic;
        return Speciate(c.k, s, pH, c.gammaH);
    };
    // Loops to a DIC change below 1e-6 (at most `limit` passes, or a NaN DIC).
    auto iterate = [](long double& dic, int limit, auto next) {
        long double d = 0;
        int n = 0;
        do {
            long double x = next(dic);
            x = x <= 0.0L ? 0.000001L : x;
            d = std::fabs(x - dic);
            dic = x;
            ++n;
        } while (!(d < 0.000001L) && n < limit && !std::isnan(dic));
    };
    CarbonateState st{};
    const long double dic4 = endPointDic(c43);
    SpeciationResult r = at(c43, 4.3L, dic4);
    st.ta[0] = dic4 * r.r1 + (m.ks43 + r.r0);
    st.dic[0] = useDIC ? m.dic : m.ks43 + m.kb82;
    if (!useDIC) {
        iterate(st.dic[0], 1000, [&](long double dic) {
            r = at(c82, 8.2L, dic);
            return (st.ta[0] - m.ks82 + m.kb82 - r.r0) / r.r1;
        });
    }
    st.check[0] = PlainSolvePH(cpH.k, cpH.gammaH, s, st.ta[0], st.dic[0]).pH;
    if (!useDIC) {
        st.ta[1] = st.ta[0];
        st.dic[1] = st.dic[0];
        iterate(st.dic[1], 100, [&](long double dic) {
            r = at(cpH, m.pH, dic);
            return (st.ta[1] - r.r0) / r.r1;
        });
    } else {
        st.dic[1] = m.dic;
        r = at(cpH, m.pH, m.dic);
        st.ta[1] = m.dic * r.r1 + r.r0;
    }
    r = at(c82, 8.2L, st.dic[1]);
    st.check[1] = (st.dic[1] * r.r1 + r.r0) - st.ta[1];
    if (!useDIC) {
        long double lo = 0.0L, x = 50.0L, hi = 100.0L, g = 0;
        int n = 0;
        do {
            ++n;
            const SpeciationResult r82 = at(c82, 8.2L, x);
            const long double p = (r82.r1 - 1.0L) * x + (m.ks82 - m.kb82) + r82.r0;
            const SpeciationResult rpH = at(cpH, m.pH, x);
            st.ta[2] = rpH.r1 * x + rpH.r0;
            g = st.ta[2] - x - p;
            if (std::isnan(g)) {
                n = 200;
                break;
            }
            const long double slope = rpH.r1 - 1.0L;
            if ((g < 0.0L && slope < 0.0L) || (g > 0.0L && slope > 0.0L)) {
                hi = x;
                x = (lo + x) / 2.0L;
            } else if ((g > 0.0L && slope < 0.0L) || (g < 0.0L && slope > 0.0L)) {
                lo = x;
                x = (hi + x) / 2.0L;
            }
        } while (!(std::fabs(g) < 0.000001L) && n != 200);
        st.dic[2] = x;
        if (n == 200) {
            st.dic[2] = m.ks43 - 0.05L + m.kb82 - m.ks82;
            r = at(cpH, m.pH, st.dic[2]);
            st.ta[2] = r.r1 * st.dic[2] + r.r0;
        }
    } else {
        st.dic[2] = m.dic;
        r = at(c82, 8.2L, m.dic);
        st.ta[2] = r.r1 * m.dic + (m.ks82 - m.kb82) + r.r0;
    }
    r = at(c43, 4.3L, dic4);
    st.check[2] = st.ta[2] - dic4 * r.r1 - r.r0;
    return st;
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
