#pragma once
// The speciation taken apart for the searches that call it thousands of times: the factors that
// depend only on the constants (formed once per constant set), those that depend on c(H+) too
// (once per trial pH), the fixed-point loop over the five free values, and the results formed
// from its outcome. Speciate strings the parts together; the pH search forms only r1 and r0 at
// its intermediate trials and everything else once, for the pH it returns.
//
// Every quantity is formed by the same operations, on the same operands, in the same order as
// the speciation always has: the parts only decide how often a quantity is formed, never how,
// so the results stay the same to the last bit. Internal to the engine.

#include "chem/carbonate.h"
#include "chem/numeric.h"
#include "chem/saturation.h"
#include "chem/speciation.h"
#include "chem/types.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>
#include <utility>

namespace zeb::chem::kernel {

// Finite and not negative (-0 included).
inline bool Bounded(long double x) {
    return x >= 0.0L && x <= std::numeric_limits<long double>::max();
}

// The constants as the speciation uses them, with the quotients and products that depend on
// nothing else. The phosphate factors are formed only for a water with phosphate; otherwise
// they stay 0, which makes every phosphate term an exact zero.
struct ConstantFactors {
    long double K9 = 0, K21 = 0, K22 = 0, K2 = 0, K14 = 0, K23 = 0;
    long double K1K2 = 0, K2K3 = 0, K2K6 = 0;
    long double invK4 = 0, invK5 = 0, invK7 = 0, invK8 = 0;
    bool bounded = false; // without phosphate: the four quotients above Bounded
    bool hasPhosphate = false;
    long double invK15 = 0, invK18 = 0, K14K16 = 0, K14K19 = 0, K13K14 = 0, K13K14K17 = 0,
                K13K14K20 = 0, K12K13K14 = 0;
};

inline ConstantFactors MakeConstantFactors(const EquilibriumConstants& k, bool hasPhosphate) {
    const long double K1 = k[0], K2 = k[1], K3 = k[2], K4 = k[3], K5 = k[4], K6 = k[5];
    const long double K7 = k[6], K8 = k[7], K12 = k[11], K13 = k[12], K14 = k[13];
    const long double K15 = k[14], K16 = k[15], K17 = k[16], K18 = k[17], K19 = k[18];
    const long double K20 = k[19];
    ConstantFactors c;
    c.K9 = k[8], c.K21 = k[20], c.K22 = k[21], c.K2 = K2, c.K14 = K14, c.K23 = k[22];
    c.K1K2 = K1 * K2, c.K2K3 = K2 * K3, c.K2K6 = K2 * K6;
    c.invK4 = 1.0L / K4, c.invK5 = 1.0L / K5, c.invK7 = 1.0L / K7, c.invK8 = 1.0L / K8;
    c.bounded = !hasPhosphate && Bounded(c.invK4) && Bounded(c.invK5) && Bounded(c.invK7) &&
                Bounded(c.invK8);
    c.hasPhosphate = hasPhosphate;
    if (hasPhosphate) {
        c.invK15 = 1.0L / K15;
        c.invK18 = 1.0L / K18;
        c.K14K16 = K14 * K16;
        c.K14K19 = K14 * K19;
        c.K13K14 = K13 * K14;
        c.K13K14K17 = c.K13K14 * K17;
        c.K13K14K20 = c.K13K14 * K20;
        c.K12K13K14 = K12 * K13 * K14;
    }
    return c;
}

// Everything that depends on the constants and c(H+) alone.
struct PHFactors {
    long double h = 0, oh = 0, h2 = 0, h3 = 0;
    long double hK2 = 0, h2K1K2 = 0, hK2K3 = 0, hK2K6 = 0, hK23 = 0;
    long double dBase = 0, dCa = 0, dMg = 0, mgOh = 0, caOh = 0;
    long double hK14K16 = 0, hK14K19 = 0, h2K13K14K17 = 0, h2K13K14K20 = 0, po4Base = 1.0L;
    // Without phosphate: dBase finite and at least 1, the other factors of the loop Bounded.
    bool bounded = false;
};

inline void MakePHFactors(const ConstantFactors& c, long double pH, long double gammaH,
                          PHFactors& f) {
    const long double h = Pow10(-pH) * 1000.0L / gammaH;
    f.h = h;
    f.oh = c.K9 / h;
    f.h2 = h * h;
    f.h3 = f.h2 * h;
    f.hK2 = h / c.K2;
    f.h2K1K2 = f.h2 / c.K1K2;
    f.hK2K3 = h / c.K2K3;
    f.hK2K6 = h / c.K2K6;
    if (c.hasPhosphate) {
        f.hK14K16 = h / c.K14K16;
        f.hK14K19 = h / c.K14K19;
        f.h2K13K14K17 = f.h2 / c.K13K14K17;
        f.h2K13K14K20 = f.h2 / c.K13K14K20;
        f.po4Base = h / c.K14 + 1.0L + f.h2 / c.K13K14 + f.h3 / c.K12K13K14;
    } else {
        f.hK14K16 = f.hK14K19 = f.h2K13K14K17 = f.h2K13K14K20 = 0.0L;
        f.po4Base = 1.0L;
    }
    f.hK23 = h / c.K23;
    f.dBase = f.hK2 + 1.0L + f.h2K1K2;
    f.dCa = c.invK4 + f.hK2K3;
    f.dMg = c.invK7 + f.hK2K6;
    f.mgOh = c.K9 / (c.K22 * h);
    f.caOh = c.K9 / (c.K21 * h);
    f.bounded = !c.hasPhosphate && f.dBase >= 1.0L && Bounded(f.dBase) && Bounded(f.dCa) &&
                Bounded(f.dMg) && Bounded(f.hK2K3) && Bounded(f.hK2K6) && Bounded(f.hK23) &&
                Bounded(f.mgOh) && Bounded(f.caOh);
}

// The totals the fixed-point loop distributes.
struct Totals {
    long double dic = 0, ca = 0, mg = 0, so4 = 0, po4 = 0;
    bool withoutPhosphate = false; // PO4 +-0, the other four Bounded
};

inline bool AllFinite(const Totals& t) {
    return std::isfinite(t.dic) && std::isfinite(t.ca) && std::isfinite(t.mg) &&
           std::isfinite(t.so4) && std::isfinite(t.po4);
}

inline Totals ReadTotals(const SpeciesVector& s) {
    Totals t{s[slot::Dic], s[slot::CaTotal], s[slot::MgTotal], s[slot::So4Total],
             s[slot::Po4Total]};
    t.withoutPhosphate =
        t.po4 == 0.0L && Bounded(t.dic) && Bounded(t.ca) && Bounded(t.mg) && Bounded(t.so4);
    return t;
}

// The free values after the loop, with D of its last pass.
struct FreeValues {
    long double co3 = 0, ca = 0, mg = 0, so4 = 0, po4 = 0, d = 0;
    int passes = 0;
    bool withoutPhosphate = false; // from SolveFreeValuesWithoutPhosphate
};

// The x87 has eight registers, fewer than the loops below have invariants. Left alone, the
// compiler copies the invariants to the stack before a loop and reloads them from the copies;
// a compiler barrier at the top of each pass makes it read them from where they lie instead,
// which spares the copies and leaves more registers to the loop's own values.
inline void ReadInvariantsAfresh() {
#if defined(__GNUC__)
    asm volatile("" ::: "memory");
#endif
}

// The loop as the speciation defines it, for any water. Within a pass Ca is formed before Mg
// (neither depends on the other) and the change is summed as each value is formed, in the
// defined order CO3, Ca, PO4, Mg, SO4.
[[gnu::noinline]] inline FreeValues SolveFreeValuesGeneral(const ConstantFactors& c,
                                                           const PHFactors& f, const Totals& t) {
    long double co3 = t.dic, ca = t.ca, mg = t.mg, so4 = t.so4, po4 = t.po4;
    long double d = 0;
    int passes = 0;
    for (;;) {
        ReadInvariantsAfresh();
        ++passes;
        d = f.dBase + f.dCa * ca + f.dMg * mg;
        const long double co3New = t.dic / d;
        long double change = std::fabs(co3New - co3);
        co3 = co3New;
        const long double caNew =
            t.ca / (co3 * f.hK2K3 + 1.0L + co3 * c.invK4 + so4 * c.invK5 + po4 * c.invK15 +
                    po4 * f.hK14K16 + po4 * f.h2K13K14K17 + f.caOh);
        change += std::fabs(caNew - ca);
        const long double mgNew =
            t.mg / (co3 * f.hK2K6 + 1.0L + co3 * c.invK7 + so4 * c.invK8 + po4 * c.invK18 +
                    po4 * f.hK14K19 + po4 * f.h2K13K14K20 + f.mgOh);
        const long double mgChange = std::fabs(mgNew - mg);
        ca = caNew;
        mg = mgNew;
        const long double so4New = t.so4 / (ca * c.invK5 + 1.0L + mg * c.invK8 + f.hK23);
        const long double po4New =
            t.po4 / (f.po4Base + ca * c.invK15 + ca * f.hK14K16 + ca * f.h2K13K14K17 +
                     mg * c.invK18 + mg * f.hK14K19 + mg * f.h2K13K14K20);
        change += std::fabs(po4New - po4);
        change += mgChange;
        change += std::fabs(so4New - so4);
        so4 = so4New;
        po4 = po4New;
        const long double sum = co3 + ca + mg + so4 + po4;
        // A water without any of the five totals gives 0/0: nothing left to converge.
        if (change == 0.0L || change / sum < kSpeciationTolerance ||
            passes >= kSpeciationMaxPasses) {
            break;
        }
        // All five NaN is a fixed point (every later pass forms NaN from NaN); only a non-finite
        // or non-physical (negative) water gets here.
        if (std::isnan(sum) && std::isnan(co3) && std::isnan(ca) && std::isnan(mg) &&
            std::isnan(so4) && std::isnan(po4)) {
            break;
        }
    }
    return {co3, ca, mg, so4, po4, d, passes};
}

// The same loop for a water without phosphate (PO4 total +-0, phosphate factors 0). There
// every phosphate term is po4 x 0 or Ca x 0 or Mg x 0, a zero as long as Ca and Mg are finite,
// and adding a zero leaves the sums as they are (none of them can be -0: each starts from a value
// plus 1 or is a sum of absolute values), while PO4 stays at its total. Ca and Mg do stay finite
// when the totals and factors are finite and not negative, with dBase >= 1: every denominator is
// then at least 1 (or +inf), so each free value stays between 0 and its total.
[[gnu::noinline]] inline FreeValues
SolveFreeValuesWithoutPhosphate(const ConstantFactors& c, const PHFactors& f, const Totals& t) {
    long double co3 = t.dic, ca = t.ca, mg = t.mg, so4 = t.so4;
    long double d = 0;
    int passes = 0;
    for (;;) {
        ReadInvariantsAfresh();
        ++passes;
        d = f.dBase + f.dCa * ca + f.dMg * mg;
        const long double co3New = t.dic / d;
        long double change = std::fabs(co3New - co3);
        co3 = co3New;
        const long double caNew =
            t.ca / (co3 * f.hK2K3 + 1.0L + co3 * c.invK4 + so4 * c.invK5 + f.caOh);
        change += std::fabs(caNew - ca);
        ca = caNew;
        const long double mgNew =
            t.mg / (co3 * f.hK2K6 + 1.0L + co3 * c.invK7 + so4 * c.invK8 + f.mgOh);
        change += std::fabs(mgNew - mg);
        mg = mgNew;
        const long double so4New = t.so4 / (ca * c.invK5 + 1.0L + mg * c.invK8 + f.hK23);
        change += std::fabs(so4New - so4);
        so4 = so4New;
        const long double sum = co3 + ca + mg + so4 + t.po4;
        if (change == 0.0L || change / sum < kSpeciationTolerance ||
            passes >= kSpeciationMaxPasses) {
            break;
        }
    }
    return {co3, ca, mg, so4, t.po4, d, passes, true};
}

// What the loop leaves for totals or factors that are not finite: NaN free values, no pass.
inline FreeValues NotANumber() {
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    return {nan, nan, nan, nan, nan, nan, 0};
}

// Worst case: kSpeciationMaxPasses passes; none for totals, c(H+) or gamma H+ that are not
// finite (a pH search's NaN then ends that search at once).
inline FreeValues SolveFreeValues(const ConstantFactors& c, const PHFactors& f, const Totals& t) {
    if (!AllFinite(t) || !std::isfinite(f.h)) {
        return NotANumber();
    }
    if (t.withoutPhosphate && !c.hasPhosphate && c.bounded && f.bounded) {
        return SolveFreeValuesWithoutPhosphate(c, f, t);
    }
    return SolveFreeValuesGeneral(c, f, t);
}

// Carbonate alkalinity per mmol of DIC.
inline long double R1(const ConstantFactors& c, const PHFactors& f, const FreeValues& v) {
    return (2.0L * (1.0L + v.ca * c.invK4 + v.mg * c.invK7) + f.hK2 + v.ca * f.hK2K3 +
            v.mg * f.hK2K6) /
           v.d;
}

// The species formed from the free values.
struct Species {
    long double hco3, co2, caHco3, caCo3, caSo4, mgHco3, mgCo3, mgSo4, hpo4, h2po4, h3po4;
    long double caPo4, caHpo4, caH2po4, mgPo4, mgHpo4, mgH2po4, caOhC, mgOhC, hso4;
};

inline Species FormSpecies(const ConstantFactors& c, const PHFactors& f, const FreeValues& v) {
    const long double co3 = v.co3, ca = v.ca, mg = v.mg, so4 = v.so4, po4 = v.po4;
    const bool hasPhosphate = c.hasPhosphate;
    Species x;
    x.hco3 = co3 * f.hK2;
    x.co2 = co3 * f.h2K1K2;
    x.caHco3 = ca * co3 * f.hK2K3;
    x.caCo3 = ca * co3 * c.invK4;
    x.caSo4 = ca * so4 * c.invK5;
    x.mgHco3 = mg * co3 * f.hK2K6;
    x.mgCo3 = mg * co3 * c.invK7;
    x.mgSo4 = mg * so4 * c.invK8;
    x.hpo4 = hasPhosphate ? po4 * f.h / c.K14 : 0.0L;
    x.h2po4 = hasPhosphate ? po4 * f.h2 / c.K13K14 : 0.0L;
    x.h3po4 = hasPhosphate ? po4 * f.h3 / c.K12K13K14 : 0.0L;
    x.caPo4 = po4 * ca * c.invK15;
    x.caHpo4 = po4 * ca * f.hK14K16;
    x.caH2po4 = po4 * ca * f.h2K13K14K17;
    x.mgPo4 = po4 * mg * c.invK18;
    x.mgHpo4 = po4 * mg * f.hK14K19;
    x.mgH2po4 = po4 * mg * f.h2K13K14K20;
    x.caOhC = ca * f.caOh;
    x.mgOhC = mg * f.mgOh;
    x.hso4 = so4 * f.hK23;
    return x;
}

// Alkalinity of everything except the carbonate species.
inline long double R0(const PHFactors& f, const FreeValues& v, const Species& x) {
    return 2.0L * x.hpo4 + x.h2po4 + 3.0L * v.po4 + 3.0L * x.caPo4 + x.caH2po4 + 2.0L * x.caHpo4 +
           3.0L * x.mgPo4 + x.mgH2po4 + 2.0L * x.mgHpo4 + x.caOhC + x.mgOhC - x.hso4 + f.oh - f.h;
}

// r1 and r0 alone: what a search balances at a trial pH.
struct Alkalinity {
    long double r1 = 0, r0 = 0;
};

inline Alkalinity FormAlkalinity(const ConstantFactors& c, const PHFactors& f,
                                 const FreeValues& v) {
    if (v.withoutPhosphate) {
        // The nine phosphate terms in front are zeros that add up to +0, as in R0.
        return {R1(c, f, v), 0.0L + v.ca * f.caOh + v.mg * f.mgOh - v.so4 * f.hK23 + f.oh - f.h};
    }
    return {R1(c, f, v), R0(f, v, FormSpecies(c, f, v))};
}

// Writes the species slots 8-36 of `s` and forms every result of the speciation.
inline SpeciationResult Finish(const ConstantFactors& c, const PHFactors& f, const FreeValues& v,
                               SpeciesVector& s) {
    const Species x = FormSpecies(c, f, v);
    s[slot::H] = f.h;
    s[slot::Oh] = f.oh;
    s[slot::Co3] = v.co3;
    s[slot::Ca] = v.ca;
    s[slot::Mg] = v.mg;
    s[slot::So4] = v.so4;
    s[slot::Po4] = v.po4;
    s[slot::Hco3] = x.hco3;
    s[slot::Co2] = x.co2;
    s[slot::CaHco3] = x.caHco3;
    s[slot::CaCo3] = x.caCo3;
    s[slot::CaSo4] = x.caSo4;
    s[slot::MgHco3] = x.mgHco3;
    s[slot::MgCo3] = x.mgCo3;
    s[slot::MgSo4] = x.mgSo4;
    s[slot::Hpo4] = x.hpo4;
    s[slot::H2po4] = x.h2po4;
    s[slot::H3po4] = x.h3po4;
    s[slot::CaPo4] = x.caPo4;
    s[slot::CaHpo4] = x.caHpo4;
    s[slot::CaH2po4] = x.caH2po4;
    s[slot::MgPo4] = x.mgPo4;
    s[slot::MgHpo4] = x.mgHpo4;
    s[slot::MgH2po4] = x.mgH2po4;
    s[slot::CaOh] = x.caOhC;
    s[slot::MgOh] = x.mgOhC;
    s[slot::Hso4] = x.hso4;

    const long double na = s[slot::Na], kk = s[slot::K], cl = s[slot::Cl], no3 = s[slot::No3];
    const long double nh4 = s[slot::Nh4], fe = s[slot::Fe], mn = s[slot::Mn];
    const long double h = f.h, oh = f.oh, co3 = v.co3, ca = v.ca, mg = v.mg, so4 = v.so4,
                      po4 = v.po4;

    SpeciationResult r;
    r.passes = v.passes;
    r.r0 = R0(f, v, x);
    r.ionicStrength =
        0.5L * (na + kk + cl + no3 + h + oh + x.hco3 + x.caHco3 + x.mgHco3 + x.h2po4 + x.caPo4 +
                x.caH2po4 + x.mgPo4 + x.mgH2po4 + x.caOhC + x.mgOhC + x.hso4 + nh4) +
        2.0L * (co3 + ca + mg + so4 + x.hpo4 + fe + mn) + 4.5L * po4;
    r.r1 = R1(c, f, v);
    r.sumCations = 2.0L * (ca + mg + fe + mn) + na + kk + h + x.caHco3 + x.mgHco3 + nh4 +
                   x.caH2po4 + x.mgH2po4 + x.caOhC + x.mgOhC;
    r.sumAnions = 2.0L * (co3 + so4 + x.hpo4) + cl + no3 + oh + x.hco3 + x.h2po4 + 3.0L * po4 +
                  x.caPo4 + x.mgPo4 + x.hso4;
    return r;
}

inline constexpr long double kPHTolerance = 0.000001L;
// A bisection over 0..14 reaches 1e-6 in 24 halvings. A balance that is not a number moves
// neither end, so every later trial would repeat the same pH to the same NaN: the search ends
// at that trial instead. The guard is left for a balance that is finite at every trial, which
// always halves the bracket: worst case kPHSearchMaxTrials (24) trials, each a loop of at most
// kSpeciationMaxPasses passes in double precision, in extended precision, or both.
inline constexpr int kPHBisectionMaxPasses = 100;

using chem::SameBits;

// A pH as the computations in double precision take it, which is all they depend on, and so a
// key that finds their values again. Comparing it costs nothing, while the bits of a long double
// just passed on the stack can only be read back once the store is done.
inline double DoubleKey(long double pH) {
    return static_cast<double>(pH);
}

inline bool SameTotals(const Totals& a, const Totals& b) {
    return SameBits(a.dic, b.dic) && SameBits(a.ca, b.ca) && SameBits(a.mg, b.mg) &&
           SameBits(a.so4, b.so4) && SameBits(a.po4, b.po4);
}

// One trial of a pH search: the c(H+) factors of its pH, and the free values, r1 and r0 of the
// totals it was last solved for.
struct Trial {
    PHFactors factors;
    Totals totals;
    FreeValues values;
    Alkalinity alkalinity;
    bool solved = false;
};

inline void Solve(const ConstantFactors& c, const Totals& totals, Trial& t) {
    t.totals = totals;
    t.values = SolveFreeValues(c, t.factors, totals);
    ++speciationTally.calls;
    speciationTally.passes += t.values.passes;
    t.alkalinity = FormAlkalinity(c, t.factors, t.values);
    t.solved = true;
}

// ---- Probes in double precision --------------------------------------------------------------
//
// A probe only settles the sides of trials whose balance lies beyond a margin of some 1e-7 of
// the water's concentrations; it decides nothing by itself. The loop's convergence error, which
// the margin covers, is the same in any precision, and double precision rounds to 1e-16, so a
// probe is speciated in double: the same loop and sums, without the extended precision, and with
// the double exponential, in about a third of the time. Its values serve no result.

// The constant factors in double, as products and reciprocals: a probe multiplies where the
// extended speciation divides, which changes its values by a unit of their last place.
struct ProbeConstants {
    double K9 = 0, invK2 = 0, invK23 = 0, invK1K2 = 0, invK2K3 = 0, invK2K6 = 0;
    double K9invK21 = 0, K9invK22 = 0;
    double invK4 = 0, invK5 = 0, invK7 = 0, invK8 = 0;
    bool hasPhosphate = false;
    double invK14 = 0, invK13K14 = 0, invK12K13K14 = 0, invK15 = 0, invK18 = 0, invK14K16 = 0,
           invK14K19 = 0, invK13K14K17 = 0, invK13K14K20 = 0;
};

inline ProbeConstants MakeProbeConstants(const ConstantFactors& c) {
    auto inverse = [](long double x) { return static_cast<double>(1.0L / x); };
    ProbeConstants p;
    p.K9 = static_cast<double>(c.K9);
    p.invK2 = inverse(c.K2), p.invK23 = inverse(c.K23), p.invK1K2 = inverse(c.K1K2);
    p.invK2K3 = inverse(c.K2K3), p.invK2K6 = inverse(c.K2K6);
    p.K9invK21 = static_cast<double>(c.K9 / c.K21), p.K9invK22 = static_cast<double>(c.K9 / c.K22);
    p.invK4 = static_cast<double>(c.invK4), p.invK5 = static_cast<double>(c.invK5);
    p.invK7 = static_cast<double>(c.invK7), p.invK8 = static_cast<double>(c.invK8);
    p.hasPhosphate = c.hasPhosphate;
    if (c.hasPhosphate) {
        p.invK14 = inverse(c.K14), p.invK13K14 = inverse(c.K13K14);
        p.invK12K13K14 = inverse(c.K12K13K14);
        p.invK15 = static_cast<double>(c.invK15), p.invK18 = static_cast<double>(c.invK18);
        p.invK14K16 = inverse(c.K14K16), p.invK14K19 = inverse(c.K14K19);
        p.invK13K14K17 = inverse(c.K13K14K17), p.invK13K14K20 = inverse(c.K13K14K20);
    }
    return p;
}

// The factors of MakePHFactors in double.
struct ProbeFactors {
    double h = 0, oh = 0, h2 = 0, hK2 = 0, hK2K3 = 0, hK2K6 = 0, hK23 = 0;
    double dBase = 0, dCa = 0, dMg = 0, mgOh = 0, caOh = 0;
    double hK14K16 = 0, hK14K19 = 0, h2K13K14K17 = 0, h2K13K14K20 = 0, po4Base = 1.0;
};

inline ProbeFactors MakeProbeFactors(const ProbeConstants& c, double gammaH, double pH) {
    constexpr double kLn10Double = static_cast<double>(kLn10); // the engine's own value
    ProbeFactors f;
    const double h = std::exp(-pH * kLn10Double) * 1000.0 / gammaH;
    const double invH = 1.0 / h;
    f.h = h;
    f.oh = c.K9 * invH;
    f.h2 = h * h;
    f.hK2 = h * c.invK2, f.hK2K3 = h * c.invK2K3, f.hK2K6 = h * c.invK2K6, f.hK23 = h * c.invK23;
    f.dBase = f.hK2 + 1.0 + f.h2 * c.invK1K2;
    f.dCa = c.invK4 + f.hK2K3, f.dMg = c.invK7 + f.hK2K6;
    f.mgOh = c.K9invK22 * invH, f.caOh = c.K9invK21 * invH;
    if (c.hasPhosphate) {
        f.hK14K16 = h * c.invK14K16;
        f.hK14K19 = h * c.invK14K19;
        f.h2K13K14K17 = f.h2 * c.invK13K14K17;
        f.h2K13K14K20 = f.h2 * c.invK13K14K20;
        f.po4Base = h * c.invK14 + 1.0 + f.h2 * c.invK13K14 + f.h2 * h * c.invK12K13K14;
    }
    return f;
}

// The loop of SolveFreeValuesGeneral in double (phosphate terms zero without phosphate), and r1
// and r0 from its outcome.
struct ProbeValues {
    double co3 = 0, ca = 0, mg = 0, so4 = 0, po4 = 0, d = 0;
    int passes = 0;
    double r1 = 0, r0 = 0;
    bool clean = false; // no stopping test within kStopGuard of the tolerance
};

// How near the tolerance a stopping test of the loop in double precision may come and still be
// certain to go the same way in extended precision: the change it tests is a difference of free
// values that agree in both precisions to far better than 1e-10 of itself.
inline constexpr double kStopGuard = 1e-4;

// The loop in one lane (V = double) or in the two lanes of a vector (V = DoublePair, two probes of
// the same totals at two pH values): each lane does the same operations in the same order, so a
// probe ends with the same values to the bit either way, and keeps those of the pass at which
// its own loop stops. The phosphate terms are left out where they are zeros.
using DoublePair = double __attribute__((vector_size(16)));

using Mask = long long __attribute__((vector_size(16)));

template <class V> constexpr int kLanes = std::is_same_v<V, double> ? 1 : 2;

// The value of a factor in each lane (f1's in the second).
template <class V> V Lanes(double a, double b) {
    if constexpr (std::is_same_v<V, double>) {
        return a;
    } else {
        return V{a, b};
    }
}
template <class V> V Each(long double x) {
    return Lanes<V>(static_cast<double>(x), static_cast<double>(x));
}
inline double Lane(double x, int /*lane*/) {
    return x;
}
inline double Lane(DoublePair x, int lane) {
    return x[lane];
}
inline double Abs(double x) {
    return std::fabs(x);
}
inline DoublePair Abs(DoublePair x) {
    using Bits = long long __attribute__((vector_size(16)));
    return reinterpret_cast<DoublePair>(reinterpret_cast<Bits>(x) &
                                        Bits{0x7FFFFFFFFFFFFFFFLL, 0x7FFFFFFFFFFFFFFFLL});
}

template <bool kPhosphate, class V>
inline void ProbeLoop(const ProbeConstants& c0, const ProbeConstants& c1, const ProbeFactors& f0,
                      const ProbeFactors& f1, const Totals& t, ProbeValues& out0,
                      ProbeValues& out1) {
    const V dic = Each<V>(t.dic), caT = Each<V>(t.ca), mgT = Each<V>(t.mg);
    const V so4T = Each<V>(t.so4), po4T = Each<V>(t.po4), one = Each<V>(1.0L);
    const V dBase = Lanes<V>(f0.dBase, f1.dBase), dCa = Lanes<V>(f0.dCa, f1.dCa);
    const V dMg = Lanes<V>(f0.dMg, f1.dMg), hK2K3 = Lanes<V>(f0.hK2K3, f1.hK2K3);
    const V hK2K6 = Lanes<V>(f0.hK2K6, f1.hK2K6), caOh = Lanes<V>(f0.caOh, f1.caOh);
    const V mgOh = Lanes<V>(f0.mgOh, f1.mgOh), hK23 = Lanes<V>(f0.hK23, f1.hK23);
    const V invK4 = Lanes<V>(c0.invK4, c1.invK4), invK5 = Lanes<V>(c0.invK5, c1.invK5);
    const V invK7 = Lanes<V>(c0.invK7, c1.invK7), invK8 = Lanes<V>(c0.invK8, c1.invK8);
    const V invK15 = Lanes<V>(c0.invK15, c1.invK15), invK18 = Lanes<V>(c0.invK18, c1.invK18);
    const V hK14K16 = Lanes<V>(f0.hK14K16, f1.hK14K16);
    const V hK14K19 = Lanes<V>(f0.hK14K19, f1.hK14K19);
    const V h2K13K14K17 = Lanes<V>(f0.h2K13K14K17, f1.h2K13K14K17);
    const V h2K13K14K20 = Lanes<V>(f0.h2K13K14K20, f1.h2K13K14K20);
    const V po4Base = Lanes<V>(f0.po4Base, f1.po4Base);
    V co3 = dic, ca = caT, mg = mgT, so4 = so4T, po4 = po4T, d = Each<V>(0.0L);
    constexpr double kTolerance = static_cast<double>(kSpeciationTolerance);
    ProbeValues* out[2] = {&out0, &out1};
    bool clean[2] = {true, true}, done[2] = {false, false};
    for (int passes = 1;; ++passes) {
        d = dBase + dCa * ca + dMg * mg;
        const V co3New = dic / d;
        V change = Abs(co3New - co3);
        co3 = co3New;
        V caNew, mgNew;
        if constexpr (kPhosphate) {
            caNew = caT / (co3 * hK2K3 + one + co3 * invK4 + so4 * invK5 + po4 * invK15 +
                           po4 * hK14K16 + po4 * h2K13K14K17 + caOh);
            change += Abs(caNew - ca);
            mgNew = mgT / (co3 * hK2K6 + one + co3 * invK7 + so4 * invK8 + po4 * invK18 +
                           po4 * hK14K19 + po4 * h2K13K14K20 + mgOh);
            change += Abs(mgNew - mg);
        } else {
            caNew = caT / (co3 * hK2K3 + one + co3 * invK4 + so4 * invK5 + caOh);
            change += Abs(caNew - ca);
            mgNew = mgT / (co3 * hK2K6 + one + co3 * invK7 + so4 * invK8 + mgOh);
            change += Abs(mgNew - mg);
        }
        ca = caNew;
        mg = mgNew;
        const V so4New = so4T / (ca * invK5 + one + mg * invK8 + hK23);
        if constexpr (kPhosphate) {
            const V po4New = po4T / (po4Base + ca * invK15 + ca * hK14K16 + ca * h2K13K14K17 +
                                     mg * invK18 + mg * hK14K19 + mg * h2K13K14K20);
            change += Abs(so4New - so4) + Abs(po4New - po4);
            po4 = po4New;
        } else {
            change += Abs(so4New - so4);
        }
        so4 = so4New;
        const V sum = co3 + ca + mg + so4 + po4;
        const V ratio = change / sum;
        if constexpr (kLanes<V> == 2) {
            // The tests of both lanes at once (a comparison with NaN is false, as below); the
            // lanes are looked at one by one only at the pass where one of them stops.
            const V tolerance = Each<V>(kTolerance);
            const Mask near = ~(Abs(ratio - tolerance) > Each<V>(kStopGuard * kTolerance));
            const Mask stops = (change == Each<V>(0.0L)) | (ratio < tolerance) | (change != change);
            if (!(stops[0] | stops[1]) && passes < kSpeciationMaxPasses) {
                clean[0] = clean[0] && near[0] == 0;
                clean[1] = clean[1] && near[1] == 0;
                continue;
            }
        }
        bool all = true;
        for (int i = 0; i < kLanes<V>; ++i) {
            if (!done[i]) {
                const double r = Lane(ratio, i), dc = Lane(change, i);
                // NaN included: a test this near the tolerance may go the other way in extended
                // precision.
                clean[i] = clean[i] && std::fabs(r - kTolerance) > kStopGuard * kTolerance;
                if (dc == 0.0 || r < kTolerance || passes >= kSpeciationMaxPasses ||
                    std::isnan(dc)) {
                    *out[i] = ProbeValues{Lane(co3, i), Lane(ca, i), Lane(mg, i), Lane(so4, i),
                                          Lane(po4, i), Lane(d, i),  passes};
                    out[i]->clean = clean[i];
                    done[i] = true;
                }
            }
            all = all && done[i];
        }
        if (all) {
            return;
        }
    }
}

// r1 and r0 from the outcome of the loop.
inline void FormProbeAlkalinity(const ProbeConstants& c, const ProbeFactors& f, ProbeValues& v) {
    ++speciationTally.calls;
    ++speciationTally.inDouble;
    speciationTally.passes += v.passes;
    const double ca = v.ca, mg = v.mg, so4 = v.so4, po4 = v.po4;
    v.r1 = (2.0 * (1.0 + ca * c.invK4 + mg * c.invK7) + f.hK2 + ca * f.hK2K3 + mg * f.hK2K6) / v.d;
    v.r0 = ca * f.caOh + mg * f.mgOh - so4 * f.hK23 + f.oh - f.h;
    if (c.hasPhosphate) {
        v.r0 += 2.0 * po4 * f.h * c.invK14 + po4 * f.h2 * c.invK13K14 + 3.0 * po4 +
                po4 * ca * (3.0 * c.invK15 + f.h2K13K14K17 + 2.0 * f.hK14K16) +
                po4 * mg * (3.0 * c.invK18 + f.h2K13K14K20 + 2.0 * f.hK14K19);
    }
}

inline ProbeValues SolveProbe(const ProbeConstants& c, const ProbeFactors& f, const Totals& t) {
    ProbeValues v;
    if (c.hasPhosphate || t.po4 != 0.0L) {
        ProbeLoop<true, double>(c, c, f, f, t, v, v);
    } else {
        ProbeLoop<false, double>(c, c, f, f, t, v, v);
    }
    FormProbeAlkalinity(c, f, v);
    return v;
}

// SolveProbe at two pH values at once, each with its own constants (of one water: the same
// phosphate, at two temperatures, say).
inline void SolveProbePair(const ProbeConstants& c0, const ProbeConstants& c1,
                           const ProbeFactors& f0, const ProbeFactors& f1, const Totals& t,
                           ProbeValues& v0, ProbeValues& v1) {
    if (c0.hasPhosphate != c1.hasPhosphate) {
        v0 = SolveProbe(c0, f0, t);
        v1 = SolveProbe(c1, f1, t);
        return;
    }
    if (c0.hasPhosphate || t.po4 != 0.0L) {
        ProbeLoop<true, DoublePair>(c0, c1, f0, f1, t, v0, v1);
    } else {
        ProbeLoop<false, DoublePair>(c0, c1, f0, f1, t, v0, v1);
    }
    FormProbeAlkalinity(c0, f0, v0);
    FormProbeAlkalinity(c1, f1, v1);
}
inline void SolveProbePair(const ProbeConstants& c, const ProbeFactors& f0, const ProbeFactors& f1,
                           const Totals& t, ProbeValues& v0, ProbeValues& v1) {
    SolveProbePair(c, c, f0, f1, t, v0, v1);
}

// A water whose balance falls with pH, so that probes can settle anything: finite, with no total
// below zero (a negative DIC, as contradictory titrations can give, turns the carbonate term
// around, and the balance may then cross zero more than once). A non-finite water gives NaN at
// every pH, and its search ends at its first trial anyway.
inline bool Probeable(const Totals& totals, long double ta, long double dic) {
    return std::isfinite(ta) && Bounded(dic) && Bounded(totals.dic) && Bounded(totals.ca) &&
           Bounded(totals.mg) && Bounded(totals.so4) && Bounded(totals.po4);
}

// ---- Trials settled in double precision -------------------------------------------------------
//
// Where the loop in double precision takes the same passes as the extended one (no stopping test
// near the tolerance), the two differ by rounding alone: some units of double's last place,
// carried through the passes of a contracting loop. A balance in double beyond a thousandfold of
// that settles the side of the trial at the same pH exactly; only a trial whose balance lies
// within some 1e-11 of the water's concentrations of zero, and the last trial of a search, whose
// values are its result, need the extended loop.
inline constexpr long double kPrecisionAllowance = 1e-11L;

inline long double PrecisionAllowance(const ProbeValues& v, const ProbeFactors& f, const Totals& t,
                                      long double ta, long double dic) {
    // The water's concentrations bound every term of r0 but c(H+) and c(OH-).
    const long double water = std::fabs(ta) + 2.0L * std::fabs(dic) +
                              2.0L * (std::fabs(t.ca) + std::fabs(t.mg)) + std::fabs(t.so4) +
                              3.0L * std::fabs(t.po4);
    return kPrecisionAllowance * (water + std::fabs(dic * v.r1) + std::fabs(v.r0) + f.h + f.oh);
}

inline int SideInDouble(const ProbeValues& v, const ProbeFactors& f, const Totals& t,
                        long double ta, long double dic) {
    if (!v.clean) {
        return 0;
    }
    const long double g = ta - dic * v.r1 - v.r0;
    const long double allowance = PrecisionAllowance(v, f, t, ta, dic);
    return g > allowance ? 1 : g < -allowance ? -1 : 0;
}

// The side of the calcite saturation index that double precision settles (+1, -1, or 0), and
// the index it finds (`si`, also where it settles nothing). Free Ca++ and CO3-- agree with the
// extended ones to rounding as the balance does; an index beyond kSIPrecisionAllowance of zero,
// some thousandfold of that, has the sign of the extended one. Values near the end of double's
// range, where the two precisions part, settle nothing.
inline constexpr long double kSIPrecisionAllowance = 1e-9L;

inline int SISideInDouble(const ProbeValues& v, const EquilibriumConstants& k, long double& si) {
    si = std::numeric_limits<long double>::quiet_NaN();
    if (!v.clean || !(v.ca > 1e-280) || !(v.co3 > 1e-280) || !(v.ca < 1e280) || !(v.co3 < 1e280)) {
        return 0;
    }
    si = std::log10(v.ca * v.co3 / static_cast<double>(k[KIndex(10)]));
    return si > kSIPrecisionAllowance ? 1 : si < -kSIPrecisionAllowance ? -1 : 0;
}

// Trials in double precision for one constant set and gamma H+; the last two are kept. A
// search knows where its next trial likely lies (`next`, NaN for nowhere): a trial that is not
// kept is speciated together with that one, in the two lanes of a vector, which takes about as
// long as one alone.
class DoubleTrials {
public:
    DoubleTrials() = default;
    DoubleTrials(const ProbeConstants& c, long double gammaH)
        : c_(c), gammaH_(static_cast<double>(gammaH)) {}
    // The side of the balance at `pH` where double precision settles it, else 0. Only for a
    // water whose balance falls (Probeable), which the caller has checked.
    int Side(long double pH, const Totals& totals, long double ta, long double dic,
             long double next = kNowhere) {
        const Kept& k = Find(pH, totals, next);
        return SideInDouble(k.values, k.factors, totals, ta, dic);
    }
    const ProbeValues& At(long double pH, const Totals& totals) {
        return Find(pH, totals, kNowhere).values;
    }
    int estimates = 0; // speciation loops run in double

    static constexpr long double kNowhere = std::numeric_limits<long double>::quiet_NaN();

private:
    struct Kept {
        double pH = 0; // DoubleKey
        Totals totals;
        ProbeFactors factors;
        ProbeValues values;
        bool known = false;
    };
    int Index(double pH, const Totals& totals) const {
        for (int i = 0; i < 2; ++i) {
            if (kept_[i].known && kept_[i].pH == pH && SameTotals(kept_[i].totals, totals)) {
                return i;
            }
        }
        return -1;
    }
    void Note(Kept& k, double pH, const Totals& totals) {
        k.pH = pH;
        k.totals = totals;
        k.known = true;
        ++estimates;
    }
    const Kept& Find(long double pHExtended, const Totals& totals, long double nextExtended) {
        const double pH = DoubleKey(pHExtended), next = DoubleKey(nextExtended);
        if (const int i = Index(pH, totals); i >= 0) {
            return kept_[i];
        }
        if (!std::isnan(next) && next != pH && Index(next, totals) < 0) {
            Kept &a = kept_[0], &b = kept_[1];
            a.factors = MakeProbeFactors(c_, gammaH_, pH);
            b.factors = MakeProbeFactors(c_, gammaH_, next);
            SolveProbePair(c_, a.factors, b.factors, totals, a.values, b.values);
            Note(a, pH, totals);
            Note(b, next, totals);
            older_ = 0;
            return a;
        }
        Kept& k = kept_[older_];
        older_ = 1 - older_;
        k.factors = MakeProbeFactors(c_, gammaH_, pH);
        k.values = SolveProbe(c_, k.factors, totals);
        Note(k, pH, totals);
        return k;
    }

    ProbeConstants c_;
    double gammaH_ = 1.0;
    Kept kept_[2];
    int older_ = 0;
};

// Every trial formed afresh.
class FreshTrials {
public:
    // `probe`: the constants as MakeProbeConstants forms them, for the trials in double.
    FreshTrials(const ConstantFactors& c, const ProbeConstants& probe, long double gammaH)
        : c_(c), gammaH_(gammaH), double_(probe, gammaH) {}
    // The side of trial n's balance where double precision settles it, else 0 (a water that
    // Probeable accepts).
    int Side(int /*trial*/, long double pH, const Totals& totals, long double ta, long double dic,
             long double next = DoubleTrials::kNowhere) {
        return double_.Side(pH, totals, ta, dic, next);
    }
    int Estimates() const { return double_.estimates; }
    const ProbeValues& DoubleAt(long double pH, const Totals& totals) {
        return double_.At(pH, totals);
    }
    const Trial& Evaluate(int /*trial*/, long double pH, const Totals& totals) {
        MakePHFactors(c_, pH, gammaH_, t_.factors);
        Solve(c_, totals, t_);
        ++speciations;
        return t_;
    }
    int speciations = 0; // speciation loops run

private:
    const ConstantFactors& c_;
    long double gammaH_;
    DoubleTrials double_;
    Trial t_;
};

// The trials of consecutive searches with one constant set and gamma H+. The searches of a dose
// bisection retrace each other's first trials, and the more so the closer the doses come, so
// trial n keeps the last two pH values it met: a pH met again (to the bit) has its factors, and
// with totals met again (to the bit: the dose changed only sodium) its free values, r1 and r0.
//
// A cache holds 48 trials; the dose searches keep one per thread and reset it for each search
// (Reset) rather than clear that much memory every time.
class TrialCache {
public:
    // Forgets every trial: the constants or gamma H+ are new (`probe` as for FreshTrials).
    void Reset(const ConstantFactors& c, const ProbeConstants& probe, long double gammaH) {
        c_ = &c;
        gammaH_ = gammaH;
        double_ = DoubleTrials(probe, gammaH);
        for (Slot& slot : slots_) {
            slot.count = 0;
            slot.newest = 0;
        }
        speciations = 0;
    }
    // The side of trial n's balance where double precision settles it, else 0 (a water that
    // Probeable accepts); 0 also where the extended trial is kept already.
    int Side(int trial, long double pH, const Totals& totals, long double ta, long double dic,
             long double next = DoubleTrials::kNowhere) {
        if (trial < kTrials) {
            const Slot& s = slots_[static_cast<std::size_t>(trial)];
            const double key = DoubleKey(pH);
            for (int i = 0; i < s.count; ++i) {
                if (s.key[i] == key && SameBits(s.pH[i], pH) && s.trials[i].solved &&
                    SameTotals(s.trials[i].totals, totals)) {
                    return 0;
                }
            }
        }
        return double_.Side(pH, totals, ta, dic, next);
    }
    int Estimates() const { return double_.estimates; }
    const ProbeValues& DoubleAt(long double pH, const Totals& totals) {
        return double_.At(pH, totals);
    }
    const Trial& Evaluate(int trial, long double pH, const Totals& totals) {
        if (trial >= kTrials) {
            MakePHFactors(*c_, pH, gammaH_, beyond_.factors);
            Solve(*c_, totals, beyond_);
            ++speciations;
            return beyond_;
        }
        Slot& s = slots_[static_cast<std::size_t>(trial)];
        const double key = DoubleKey(pH);
        int i = 0;
        while (i < s.count && !(s.key[i] == key && SameBits(s.pH[i], pH))) {
            ++i;
        }
        if (i == s.count) {
            i = s.count < 2 ? s.count++ : 1 - s.newest;
            s.pH[i] = pH;
            s.key[i] = key;
            MakePHFactors(*c_, pH, gammaH_, s.trials[i].factors);
            s.trials[i].solved = false;
        }
        s.newest = i;
        Trial& t = s.trials[i];
        if (!t.solved || !SameTotals(t.totals, totals)) {
            Solve(*c_, totals, t);
            ++speciations;
        }
        return t;
    }
    int speciations = 0; // speciation loops run

private:
    static constexpr int kTrials = 24; // a bisection over 0..14 to 1e-6 makes 24 trials
    struct Slot {
        long double pH[2];
        double key[2]; // DoubleKey(pH): a pH that differs there differs, found without a stall
        Trial trials[2];
        int count = 0;
        int newest = 0;
    };
    const ConstantFactors* c_ = nullptr;
    long double gammaH_ = 1.0L;
    DoubleTrials double_;
    std::array<Slot, kTrials> slots_;
    Trial beyond_;
};

// The saturation index from free Ca and CO3 (CalciteSI reads them from the species slots).
inline long double SaturationIndex(long double ca, long double co3, const EquilibriumConstants& k) {
    if (ca == 0.0L || co3 == 0.0L) {
        return kNoSaturationIndex;
    }
    return Log10(ca * co3 / k[KIndex(10)]);
}

// Where a pH search ended: the pH it returns and its last trial (valid until the trials are
// asked for the same trial index again), or with a goal, possibly only the side of the goal.
struct SearchEnd {
    long double pH = 0;
    const Trial* last = nullptr;
    int trials = 0;      // trials of the bisection, settled ones included
    int speciations = 0; // trials evaluated in extended precision
    int side = 0;
};

// ---- Settled sides --------------------------------------------------------------------------
//
// A bisection's outcome depends only on the sequence of its side decisions. The balance
// g(pH) = TA - DIC r1 - r0 of a water of fixed totals falls with pH (its derivative is minus the
// buffer intensity, which is never negative), and the computed balance keeps to that function
// within the speciation loop's convergence error, some 1e-8 of the water's concentrations. So a
// balance computed at some pH beyond a margin far wider than that error settles the side of
// every trial on its own side of that pH: those trials need no speciation, and the bisection
// still takes the decisions it always took. Where the probes are placed (from estimates,
// secants) only decides how much is settled, never what is decided.

inline constexpr long double kInfinity = std::numeric_limits<long double>::infinity();
// Relative to the water's concentrations: six times the largest departure from a falling
// balance (1.6e-8) met on 35,000 random waters up to pH 13.5, 30 mmol/L Ca and SO4, 4,000 pH
// values each at steps of 1e-7 and 3e-5.
inline constexpr long double kBalanceMargin = 1e-7L;
// Rounding of the balance's own terms, as probes compute them in double precision (see
// ProbeSpeciation), their pH rounded to double included: some hundreds of units of its last
// place.
inline constexpr long double kBalanceRounding = 1e-13L;

// The balance of a trial, and whether it is beyond the margin of the water's concentrations.
inline long double Balance(const Trial& t, long double ta, long double dic) {
    return ta - dic * t.alkalinity.r1 - t.alkalinity.r0;
}
// The margin of a balance formed from r1, r0 and the c(H+) and c(OH-) factors h and oh.
inline long double BalanceMargin(const Totals& totals, long double ta, long double dic,
                                 long double r1, long double r0, long double h, long double oh) {
    const long double scale = std::fabs(ta) + 2.0L * std::fabs(dic) +
                              2.0L * (std::fabs(totals.ca) + std::fabs(totals.mg)) +
                              std::fabs(totals.so4) + 3.0L * std::fabs(totals.po4);
    const long double terms = std::fabs(ta) + std::fabs(dic * r1) + std::fabs(r0) + h + oh;
    return kBalanceMargin * scale + kBalanceRounding * terms;
}
inline long double BalanceMargin(const Trial& t, const Totals& totals, long double ta,
                                 long double dic) {
    return BalanceMargin(totals, ta, dic, t.alkalinity.r1, t.alkalinity.r0, t.factors.h,
                         t.factors.oh);
}

// The saturation index of a probe, which only has to settle a side with margins of 1e-5 and
// more: double precision serves, at a fraction of the cost of the extended logarithm. Only the
// searches to SI = 0 read it, and only for the probes that end up bounding the bracket, so the
// logarithm is taken when it is first read.
class ProbeSI {
public:
    void Note(long double ca, long double co3, const EquilibriumConstants& k) {
        none_ = ca == 0.0L || co3 == 0.0L;
        quotient_ = none_ ? 0.0L : ca * co3 / k[KIndex(10)];
        formed_ = false;
    }
    long double Value() const {
        if (!formed_) {
            si_ = none_ ? kNoSaturationIndex : std::log10(static_cast<double>(quotient_));
            formed_ = true;
        }
        return si_;
    }

private:
    long double quotient_ = 0;
    mutable long double si_ = 0;
    mutable bool formed_ = true;
    bool none_ = false;
};

// What is settled about one search before it runs: the balance is positive at every pH up to
// `low` and negative at every pH from `high` on, with the saturation index of the trials that
// showed it (0 before any did).
struct Settled {
    long double low = -kInfinity, high = kInfinity;
    ProbeSI atLow, atHigh;
    long double root = kInfinity; // where the probes put the root, if they found a slope
    bool Bracketed() const { return low > -kInfinity && high < kInfinity; }
    long double SILow() const { return atLow.Value(); }
    long double SIHigh() const { return atHigh.Value(); }
};

// A probe: its totals, factors and values as double precision left them; every use converts
// them to extended precision, which is exact.
struct Probe {
    Totals totals;
    ProbeFactors factors;
    ProbeValues values;
};

// One probe's speciation in double.
inline void ProbeSpeciation(const ProbeConstants& c, double gammaH, double pH, const Totals& t,
                            Probe& out) {
    out.totals = t;
    out.factors = MakeProbeFactors(c, gammaH, pH);
    out.values = SolveProbe(c, out.factors, t);
}

// The same for two pH values at once.
inline void ProbeSpeciationPair(const ProbeConstants& c, double gammaH, double pH0, double pH1,
                                const Totals& t, Probe& out0, Probe& out1) {
    out0.totals = out1.totals = t;
    out0.factors = MakeProbeFactors(c, gammaH, pH0);
    out1.factors = MakeProbeFactors(c, gammaH, pH1);
    SolveProbePair(c, out0.factors, out1.factors, t, out0.values, out1.values);
}

// The balance of a probe, and whether it is beyond the margin of the water's concentrations:
// those of a trial (above) with the probe's values.
inline long double Balance(const Probe& p, long double ta, long double dic) {
    return ta - dic * static_cast<long double>(p.values.r1) - static_cast<long double>(p.values.r0);
}
inline long double BalanceMargin(const Probe& p, const Totals& totals, long double ta,
                                 long double dic) {
    return BalanceMargin(totals, ta, dic, p.values.r1, p.values.r0, p.factors.h, p.factors.oh);
}

// Speciations at pH values of the caller's choosing, beside the trials of a search. The last
// two are kept: the probes either side of pH 7.8 of a dose that changes only sodium meet the
// same pH and totals pass after pass.
class Probes {
public:
    // `c`: the constants as MakeProbeConstants forms them.
    Probes(const ProbeConstants& c, long double gammaH)
        : c_(c), gammaH_(static_cast<double>(gammaH)) {}
    const Probe& At(long double pH, const Totals& totals) {
        if (const int kept = Kept(pH, totals); kept >= 0) {
            // The newest now, so that the next probe takes the other's place: AtPair relies on it.
            newest_ = kept;
            return t_[kept];
        }
        const int i = count_ < 2 ? count_++ : 1 - newest_;
        newest_ = i;
        pH_[i] = DoubleKey(pH);
        ProbeSpeciation(c_, gammaH_, pH_[i], totals, t_[i]);
        ++speciations;
        return t_[i];
    }
    // At(a) and At(b), the two speciated together where neither is kept; both stay valid until
    // the next call.
    std::pair<const Probe*, const Probe*> AtPair(long double a, long double b,
                                                 const Totals& totals) {
        if (Kept(a, totals) >= 0 || Kept(b, totals) >= 0 || DoubleKey(a) == DoubleKey(b)) {
            // At(b) leaves At(a)'s probe in place: two are kept.
            const Probe* first = &At(a, totals);
            return {first, &At(b, totals)};
        }
        pH_[0] = DoubleKey(a);
        pH_[1] = DoubleKey(b);
        count_ = 2;
        newest_ = 1;
        ProbeSpeciationPair(c_, gammaH_, pH_[0], pH_[1], totals, t_[0], t_[1]);
        speciations += 2;
        return {&t_[0], &t_[1]};
    }
    int speciations = 0; // speciation loops run

private:
    // The probe kept for this pH and these totals, or -1.
    int Kept(long double pH, const Totals& totals) const {
        for (int i = 0; i < count_; ++i) {
            if (pH_[i] == DoubleKey(pH) && SameTotals(t_[i].totals, totals)) {
                return i;
            }
        }
        return -1;
    }
    ProbeConstants c_;
    double gammaH_;
    double pH_[2] = {0, 0}; // DoubleKey: a probe depends on its pH in double alone
    Probe t_[2];
    int count_ = 0;
    int newest_ = 0;
};

// The bisection of SolvePHBisection on prepared constants. `trials.Evaluate(n, pH, totals)`
// supplies trial n = 0, 1, ... of this search; the reference must stay valid until the next
// call.
//
// With `goal` the search ends as soon as it is settled on which side of `goal` its pH lies:
// every later trial pH, and so the pH returned, lies within the bracket [lo, hi] (a midpoint
// never leaves it), so that side is settled once the bracket leaves `goal` out while trials
// would still follow. `side` is then -1 (below) or +1 (above), and pH and last are not set;
// otherwise `side` is 0.
//
// With `settled`, a trial on a settled side takes its decision unevaluated, and so does every
// trial whose side double precision settles (Trials::Side); the last trial is evaluated all the
// same, as its values are the result, unless `lastNeeded` is false: `last` is then null where
// that trial was not evaluated (EvaluateLast evaluates it).
// Evaluates the last trial of a complete search that left it unevaluated.
template <class Trials> void EvaluateLast(Trials& trials, SearchEnd& end, const Totals& totals) {
    end.last = &trials.Evaluate(end.trials - 1, end.pH, totals);
    ++end.speciations;
}

// The values of the bisection over 0..14 are multiples of 14 / 2^kGridBits until it ends (24
// halvings): held as integer multiples, each is formed as a long double exactly, the same value
// to the bit as the halving in long double arithmetic forms, and whether it lies on a settled
// side is a comparison of integers.
inline constexpr int kGridBits = 40;
using GridIndex = std::int64_t;
inline constexpr GridIndex kGridEnd = GridIndex{1} << kGridBits; // the index of pH 14
constexpr long double GridValue(GridIndex j) {
    return static_cast<long double>(14 * j) * 0x1p-40L;
}
static_assert(kGridBits == 40, "GridValue scales by 2^-kGridBits");
// The widest bracket (a power of two) narrower than the tolerance: the search ends there.
inline constexpr GridIndex kGridNarrow = [] {
    GridIndex w = kGridEnd;
    while (w > 0 && !(GridValue(w) < kPHTolerance)) {
        w /= 2;
    }
    return w;
}();
static_assert(kGridNarrow == GridIndex{1} << 16, "24 halvings of 0..14 reach the tolerance");
// The largest index whose value is at most x (-1 for none: x below 0 or NaN).
inline GridIndex LastAtMost(long double x) {
    if (!(x >= 0.0L)) {
        return -1;
    }
    if (x >= 14.0L) {
        return kGridEnd;
    }
    GridIndex j = static_cast<GridIndex>(x / 14.0L * static_cast<long double>(kGridEnd));
    while (j < kGridEnd && GridValue(j + 1) <= x) {
        ++j;
    }
    while (j >= 0 && GridValue(j) > x) {
        --j;
    }
    return j;
}
// The smallest index whose value is at least x (kGridEnd + 1 for none: x above 14 or NaN).
inline GridIndex FirstAtLeast(long double x) {
    if (!(x <= 14.0L)) {
        return kGridEnd + 1;
    }
    const GridIndex below = LastAtMost(x); // at most x; the next is above it, or equal
    return below >= 0 && GridValue(below) == x ? below : below + 1;
}

template <class Trials>
SearchEnd SearchPH(Trials& trials, SpeciesVector& species, long double ta, long double dic,
                   const long double* goal = nullptr, const Settled* settled = nullptr,
                   bool lastNeeded = true) {
    species[slot::Dic] = dic;
    const Totals totals = ReadTotals(species);
    // A trial at or below `low` is settled positive, one at or above `high` negative (which
    // wins where both hold).
    const GridIndex low = settled != nullptr ? LastAtMost(settled->low) : -1;
    const GridIndex high = settled != nullptr ? FirstAtLeast(settled->high) : kGridEnd + 1;
    // The bracket leaves `goal` out once hi < goal (hi at most belowGoal) or lo > goal (lo at
    // least aboveGoal); it is narrower than the tolerance once at most kGridNarrow wide.
    GridIndex belowGoal = -1, aboveGoal = kGridEnd + 1; // a NaN goal is never left out
    if (goal != nullptr && !std::isnan(*goal)) {
        belowGoal = FirstAtLeast(*goal) - 1;
        aboveGoal = LastAtMost(*goal) + 1;
    }
    GridIndex lo = 0, hi = kGridEnd, mid = 0;
    SearchEnd end;
    bool evaluated = false;
    // No trial in double is made for a water whose balance may not fall.
    const bool inDouble = Probeable(totals, ta, dic);
    // Where the probes put the root, and the pH of the first trial after the one at `mid` that no
    // settled side decides, if the root lies there (NaN: none).
    const long double root = settled == nullptr          ? DoubleTrials::kNowhere
                             : settled->root < kInfinity ? settled->root
                             : settled->Bracketed()      ? (settled->low + settled->high) / 2.0L
                                                         : DoubleTrials::kNowhere;
    auto following = [&] {
        if (std::isnan(root)) {
            return DoubleTrials::kNowhere;
        }
        GridIndex l = lo, h = hi, m = mid;
        for (int trial = end.trials;;) {
            const bool open = m > low && m < high;
            ((open ? root > GridValue(m) : m < high) ? l : h) = m;
            if (h - l <= kGridNarrow || ++trial >= kPHBisectionMaxPasses) {
                return DoubleTrials::kNowhere;
            }
            m = l + (h - l) / 2;
            if (m > low && m < high) {
                return GridValue(m);
            }
        }
    };
    for (;;) {
        mid = lo + (hi - lo) / 2;
        if (mid <= low || mid >= high) {
            // Settled: no speciation, and no branch on which side.
            evaluated = false;
            const bool negative = mid >= high;
            lo = negative ? lo : mid;
            hi = negative ? mid : hi;
            ++end.trials;
        } else {
            const long double pH = GridValue(mid);
            long double g = 1.0L;
            evaluated = true;
            const int side =
                inDouble ? trials.Side(end.trials, pH, totals, ta, dic, following()) : 0;
            if (side != 0) {
                evaluated = false;
                g = side;
            } else {
                end.last = &trials.Evaluate(end.trials, pH, totals);
                ++end.speciations;
                g = ta - dic * end.last->alkalinity.r1 - end.last->alkalinity.r0;
            }
            ++end.trials;
            if (std::isnan(g)) {
                break;
            }
            if (g > 0.0L) {
                lo = mid;
            }
            if (g < 0.0L) {
                hi = mid;
            }
            if (g == 0.0L) {
                lo = hi;
            }
        }
        if (hi - lo <= kGridNarrow || end.trials >= kPHBisectionMaxPasses) {
            break;
        }
        if (hi <= belowGoal || lo >= aboveGoal) {
            end.side = hi <= belowGoal ? -1 : 1;
            end.last = nullptr;
            return end;
        }
    }
    end.pH = GridValue(mid);
    if (!evaluated) {
        end.last = nullptr;
        if (lastNeeded) {
            EvaluateLast(trials, end, totals);
        }
    }
    return end;
}

// The bounds within which a search with `s` settled returns its pH: its last bracket is
// narrower than the tolerance and holds a trial on each side of the sign change, none of which
// lies on the wrong settled side.
inline long double ReturnedAbove(const Settled& s) {
    return s.low - kPHTolerance;
}
inline long double ReturnedBelow(const Settled& s) {
    return s.high + kPHTolerance;
}

// Records what a probe at `pH` settles.
inline void Record(Settled& s, const Probe& t, long double pH, const Totals& totals, long double ta,
                   long double dic, const EquilibriumConstants& k) {
    const long double g = Balance(t, ta, dic);
    const long double margin = BalanceMargin(t, totals, ta, dic);
    if (g > margin && pH > s.low) {
        s.low = pH;
        s.atLow.Note(static_cast<long double>(t.values.ca), static_cast<long double>(t.values.co3),
                     k);
    } else if (g < -margin && pH < s.high) {
        s.high = pH;
        s.atHigh.Note(static_cast<long double>(t.values.ca), static_cast<long double>(t.values.co3),
                      k);
    }
}

// Probes pairs of pH values around the root until both sides are settled (with `narrow`, within
// a few margins of each other) or `budget` probes are spent: the first pair `halfWidth` either
// side of `estimate`, every further pair around the root that the secant through the last two
// balances points to, wider when the last pair missed. `halfWidth` returns the half width that
// one and a half margins take at the slope the probes found, `s.root` the secant's root.
inline void SettleAround(Probes& probes, const Totals& totals, long double ta, long double dic,
                         const EquilibriumConstants& k, long double estimate,
                         long double& halfWidth, int budget, Settled& s, bool narrow = false) {
    if (!Probeable(totals, ta, dic)) {
        return;
    }
    long double centre = estimate;
    for (int spent = 0;
         spent + 2 <= budget && (!s.Bracketed() || (narrow && s.high - s.low > 4.0L * halfWidth));
         spent += 2) {
        const long double a = std::clamp(centre - halfWidth, 0.0L, 14.0L);
        const long double b = std::clamp(centre + halfWidth, 0.0L, 14.0L);
        if (!(a < b)) {
            break;
        }
        const auto [pa, pb] = probes.AtPair(a, b, totals);
        const Probe& ta0 = *pa;
        const long double ga = Balance(ta0, ta, dic);
        Record(s, ta0, a, totals, ta, dic, k);
        const Probe& tb0 = *pb;
        const long double gb = Balance(tb0, ta, dic);
        Record(s, tb0, b, totals, ta, dic, k);
        const long double m = (ga - gb) / (b - a);
        if (!(m > 0.0L) || !std::isfinite(m)) {
            break;
        }
        const long double next = a + ga / m;
        if (!std::isfinite(next)) {
            break;
        }
        // A secant step lands the nearer the root the shorter it was.
        const long double margin = BalanceMargin(tb0, totals, ta, dic);
        halfWidth = std::max(1.5L * margin / m, 2.0L * kPHTolerance);
        if (!s.Bracketed()) {
            halfWidth = std::max(halfWidth, std::fabs(next - centre) / 8.0L);
        }
        centre = next;
        s.root = centre;
    }
}

// The pH at which the balance of a water of this TA and DIC would vanish without ion pairs,
// sulfate and phosphate: where probes of the full balance start to look. A few Newton steps from
// `start` (steps of at most one pH unit) come close enough for a guess; being a guess, it is
// formed in double precision, which is several times faster than the extended one.
inline long double CarbonateOnlyPH(const ConstantFactors& c, long double gammaH, long double ta,
                                   long double dic, long double start = 7.0L) {
    constexpr double kLn10Double = 2.302585092994046;
    const double invK2 = static_cast<double>(1.0L / c.K2);
    const double invK1K2 = static_cast<double>(1.0L / c.K1K2);
    const double K9 = static_cast<double>(c.K9), scale = 1000.0 / static_cast<double>(gammaH);
    const double t = static_cast<double>(ta), dc = static_cast<double>(dic);
    double pH = std::clamp(static_cast<double>(start), 0.0, 14.0);
    if (!std::isfinite(pH)) {
        pH = 7.0;
    }
    for (int i = 0; i < 5; ++i) {
        const double h = std::exp(-pH * kLn10Double) * scale;
        const double invH = 1.0 / h;
        const double hK2 = h * invK2;
        const double d = hK2 + 1.0 + h * h * invK1K2;
        const double invD = 1.0 / d;
        const double oh = K9 * invH;
        const double g = t - dc * (2.0 + hK2) * invD - (oh - h);
        // d(alkalinity)/dh, and dh/dpH = -ln10 h.
        const double dAlk =
            dc * (d * invK2 - (2.0 + hK2) * (invK2 + 2.0 * h * invK1K2)) * invD * invD - oh * invH -
            1.0;
        const double step = std::clamp(g / (kLn10Double * h * dAlk), -1.0, 1.0);
        if (!std::isfinite(step)) {
            break;
        }
        pH = std::clamp(pH - step, 0.0, 14.0);
        if (std::fabs(step) < 0.0001) {
            break;
        }
    }
    return pH;
}

// The result of a complete search: only the pH returned leaves its species and sums behind.
inline PHSolution FinishSearch(const EquilibriumConstants& k, const ConstantFactors& c,
                               const SearchEnd& end, SpeciesVector& species) {
    const SpeciationResult r = Finish(c, end.last->factors, end.last->values, species);
    PHSolution out;
    out.pH = end.pH;
    out.ionicStrength = r.ionicStrength;
    out.sumCations = r.sumCations;
    out.sumAnions = r.sumAnions;
    out.si = CalciteSI(species, k);
    out.speciations = end.speciations;
    return out;
}

} // namespace zeb::chem::kernel
