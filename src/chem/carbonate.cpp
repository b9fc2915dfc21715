#include "chem/carbonate.h"

#include "chem/constants.h"
#include "chem/numeric.h"
#include "chem/saturation.h"
#include "chem/speciation.h"
#include "chem/speciation_kernel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace zeb::chem {
namespace {

constexpr long double kTolerance = 0.000001L;
constexpr long double kDicFloor = 0.000001L;
constexpr long double kEndPoint43 = 4.3L;
constexpr long double kEndPoint82 = 8.2L;
// CO2 partial pressure (mbar) of the titrated sample at the 4.3 end point.
constexpr long double kEndPointPco2 = 0.35L;
constexpr int kRowOneMaxPasses = 100;
constexpr int kRowTwoMaxPasses = 200;
// Ion pairs move the pH from that of the carbonate system alone by some hundredths.
constexpr long double kFirstProbeHalfWidth = 0.02L;
constexpr int kProbeBudget = kPHSearchProbes;

struct ConstantSet {
    EquilibriumConstants k;
    long double gammaH;
};

ConstantSet Constants(long double t, long double ionicStrength, bool withPhosphate) {
    ConstantSet c;
    ComputeConstants(t, ionicStrength, c.gammaH, c.k, withPhosphate);
    return c;
}

// DIC left in the sample at the 4.3 end point, in equilibrium with 0.35 mbar CO2.
long double EndPointDic(const ConstantSet& c) {
    const long double h = Pow10(-kEndPoint43) * 1000.0L / c.gammaH;
    const long double co3 = c.k[KIndex(11)] * kEndPointPco2 / (h * h);
    const long double hco3 = co3 * h / c.k[KIndex(2)];
    const long double co2 = hco3 * h / c.k[KIndex(1)];
    return co3 + hco3 + co2;
}

// TA from the acid capacity to 4.3: the titrant neutralised TA minus what the end point holds.
long double EndPointAlkalinity(SpeciesVector& s, const ConstantSet& c, long double ks43) {
    const long double dic4 = EndPointDic(c);
    s[slot::Dic] = dic4;
    const SpeciationResult r = Speciate(c.k, s, kEndPoint43, c.gammaH);
    return dic4 * r.r1 + (ks43 + r.r0);
}

// A constant set as the fixed-pH loops below take it, in extended and in double precision: formed
// once for the loops at 8.2 and at the measured pH where their temperatures are one.
struct ConstantForms {
    ConstantForms(const ConstantSet& cs, bool hasPhosphate)
        : factors(kernel::MakeConstantFactors(cs.k, hasPhosphate)),
          probe(kernel::MakeProbeConstants(factors)), gammaH(cs.gammaH) {}
    kernel::ConstantFactors factors;
    kernel::ProbeConstants probe;
    long double gammaH;
};

// r1 and r0 of the water at one pH and constant set, for the loops that speciate at a fixed pH
// with DIC as the only total that changes: the c(H+) factors are formed once instead of at every
// pass. The operations on each value are those of Speciate, so r1 and r0 are its own to the bit.
class FixedPHAlkalinity {
public:
    FixedPHAlkalinity(const ConstantForms& forms, long double pH)
        : forms_(&forms),
          probeFactors_(kernel::MakeProbeFactors(forms.probe, static_cast<double>(forms.gammaH),
                                                 static_cast<double>(pH))) {
        kernel::MakePHFactors(forms.factors, pH, forms.gammaH, f_);
    }
    kernel::Alkalinity At(const SpeciesVector& s) const {
        const kernel::FreeValues v =
            kernel::SolveFreeValues(forms_->factors, f_, kernel::ReadTotals(s));
        ++speciationTally.calls;
        speciationTally.passes += v.passes;
        return kernel::FormAlkalinity(forms_->factors, f_, v);
    }
    // The same in double precision, as a probe forms it: within the loop's convergence error
    // of At, for deciding what lies beyond that error; of this and `other` at once.
    void EstimateWith(const FixedPHAlkalinity& other, const SpeciesVector& s,
                      kernel::ProbeValues& mine, kernel::ProbeValues& others) const {
        kernel::SolveProbePair(forms_->probe, other.forms_->probe, probeFactors_,
                               other.probeFactors_, kernel::ReadTotals(s), mine, others);
    }
    const kernel::ProbeFactors& EstimateFactors() const { return probeFactors_; }

private:
    const ConstantForms* forms_;
    kernel::PHFactors f_;
    kernel::ProbeFactors probeFactors_;
};

// Where the r1 and r0 of FixedPHAlkalinity::Estimate settle the decisions of a pass of row 2
// (the side of its balance g and of r1 - 1 at the measured pH, and whether |g| < kTolerance ends
// the loop) without the extended values: g beyond the tolerance by the probes' margin for each
// of its two alkalinities, r1 - 1 beyond kSlopeMargin, far above any difference of the two
// precisions (2e-15 met).
constexpr long double kSlopeMargin = 0.000001L;

// How fast g and r1 - 1 can move with x between 0 and a small x, as a bound on their
// derivatives in DIC at fixed pH: a mmol/L of DIC adds at most 2 mmol/L to either alkalinity,
// and its pairs move r1 and r0 by far less (at most 1.96 and 0.38 met, x from 1e-12 to 0.1, on
// 20,000 random waters at three ionic strengths), so g moves by at most some 6 per mmol/L.
constexpr long double kDicSensitivity = 1000.0L;
// The convergence error of r1 in either precision, some 1e-6 of its value, with a wide berth.
constexpr long double kSlopeConvergence = 0.0001L;

struct RowTwoEstimate {
    long double g = 0, slope = 0;
    long double margin = 0; // of g, for each of its two alkalinities and the two precisions
    bool settled = false;
};

RowTwoEstimate EstimateRowTwo(const FixedPHAlkalinity& at82, const FixedPHAlkalinity& atPH,
                              const SpeciesVector& s, long double x,
                              const CarbonateMeasurements& m) {
    const kernel::Totals totals = kernel::ReadTotals(s);
    if (!kernel::Probeable(totals, 0.0L, x) || !std::isfinite(m.ks82 - m.kb82)) {
        return {};
    }
    kernel::ProbeValues e82, ePH;
    at82.EstimateWith(atPH, s, e82, ePH);
    RowTwoEstimate out;
    const long double r182 = e82.r1, r082 = e82.r0, r1pH = ePH.r1, r0pH = ePH.r0;
    const long double p = (r182 - 1.0L) * x + (m.ks82 - m.kb82) + r082;
    out.g = r1pH * x + r0pH - x - p;
    out.slope = r1pH - 1.0L;
    const long double water =
        2.0L * x + 2.0L * (totals.ca + totals.mg) + totals.so4 + 3.0L * totals.po4;
    const long double scale =
        std::fabs(r1pH * x + r0pH) + std::fabs(r182 * x + r082) + 2.0L * water;
    const long double terms = std::fabs(r1pH * x) + std::fabs(r0pH) + std::fabs(r182 * x) +
                              std::fabs(r082) + x + std::fabs(m.ks82 - m.kb82) +
                              at82.EstimateFactors().h + at82.EstimateFactors().oh +
                              atPH.EstimateFactors().h + atPH.EstimateFactors().oh;
    const long double margin = kernel::kBalanceMargin * scale + kernel::kBalanceRounding * terms;
    out.margin = margin;
    // Loops that took the extended loops' passes, as a rule: then the two precisions differ by
    // rounding alone.
    out.settled = e82.clean && ePH.clean && std::fabs(out.g) > kTolerance + margin &&
                  std::fabs(out.slope) > kSlopeMargin;
    return out;
}

// Whether a settled pass at x, with nothing balanced below it (lo = 0) and x halving, shows that
// every pass after it halves x again without reaching the tolerance, whatever the DIC in (0, x]:
// g and r1 - 1 keep their signs there, beyond the tolerance, when the estimate lies beyond it by
// the convergence errors at x and at any smaller DIC, the estimate's own margin, and what the
// sensitivity lets them move below x. The passes then run out and the fallback is the result.
bool HalvesToTheEnd(const RowTwoEstimate& e, long double x) {
    const long double moved = kDicSensitivity * x;
    return e.settled && e.g * e.slope > 0.0L &&
           std::fabs(e.g) > kTolerance + 3.0L * e.margin + moved &&
           std::fabs(e.slope) > kSlopeMargin + 2.0L * kSlopeConvergence + moved;
}

// Replaces `dic` by next(dic), floored, until it changes by less than the tolerance, `limit`
// passes have run, or it is NaN (which every later pass would repeat).
template <class Next> void IterateDic(long double& dic, int limit, Next next) {
    long double d = 0;
    int n = 0;
    do {
        long double x = next(dic);
        if (x <= 0.0L) {
            x = kDicFloor;
        }
        d = std::fabs(x - dic);
        dic = x;
        ++n;
    } while (!(d < kTolerance) && n < limit && !std::isnan(dic));
}

} // namespace

std::string_view InputPairName(InputPair pair) {
    static constexpr std::string_view kNames[2][3] = {
        {"KS4.3/KB8.2", "KS4.3/pH(T)", "KB8.2/pH(T)"},
        {"KS4.3/DIC", "DIC/pH(T)", "KB8.2/DIC"},
    };
    if (pair.row < 0 || pair.row > 2) {
        return {};
    }
    return kNames[pair.useDIC ? 1 : 0][pair.row];
}

// The constant sets of the three measurement temperatures. The constants are a function of
// temperature and ionic strength alone, and the three temperatures are often one: each distinct
// temperature gets its constants once.
struct MeasurementConstants {
    ConstantSet c43, c82, cpH;
    MeasurementConstants(const CarbonateMeasurements& m, long double ios, bool hasPhosphate)
        : c43(Constants(m.t43, ios, hasPhosphate)),
          c82(kernel::SameBits(m.t82, m.t43) ? c43 : Constants(m.t82, ios, hasPhosphate)),
          cpH(kernel::SameBits(m.tpH, m.t43)   ? c43
              : kernel::SameBits(m.tpH, m.t82) ? c82
                                               : Constants(m.tpH, ios, hasPhosphate)) {}
};

// check[0]: the pH at tpH of row 0's TA and DIC.
long double CheckPH(SpeciesVector& s, const ConstantSet& cpH, const CarbonateState& st,
                    PHHint* hint) {
    return SolvePHBisection(cpH.k, cpH.gammaH, s, st.ta[0], st.dic[0], hint).pH;
}

// check[1]: the KB8.2 of row 1's TA and DIC.
long double CheckKB82(SpeciesVector& s, const FixedPHAlkalinity& at82, const CarbonateState& st) {
    s[slot::Dic] = st.dic[1];
    const kernel::Alkalinity r = at82.At(s);
    return (st.dic[1] * r.r1 + r.r0) - st.ta[1];
}

// check[2]: the KS4.3 that row 2's TA implies.
long double CheckKS43(SpeciesVector& s, const ConstantSet& c43, const CarbonateState& st) {
    const long double dic4 = EndPointDic(c43);
    s[slot::Dic] = dic4;
    const SpeciationResult r43 = Speciate(c43.k, s, kEndPoint43, c43.gammaH);
    return st.ta[2] - dic4 * r43.r1 - r43.r0;
}

CarbonateState SolveCarbonateSystem(bool useDIC, const SpeciesVector& species,
                                    const CarbonateMeasurements& m, long double ionicStrength,
                                    int onlyRow, PHHint* checkHint, bool withCheck) {
    CarbonateState st;
    ClearVector5(st.ta);
    ClearVector5(st.dic);
    ClearVector5(st.check);
    SpeciesVector s = species;
    auto wanted = [onlyRow](int row) { return onlyRow < 0 || onlyRow == row; };
    const bool hasPhosphate = s[slot::Po4Total] != 0.0L;

    const MeasurementConstants cs(m, ionicStrength, hasPhosphate);
    const ConstantSet &c43 = cs.c43, &c82 = cs.c82, &cpH = cs.cpH;
    // Every loop below speciates at 8.2 or at the measured pH with only DIC changing; each is
    // prepared when a row first needs it (the rows of one column need one of them, or both).
    std::optional<ConstantForms> forms82, formsPH;
    std::optional<FixedPHAlkalinity> fixed82, fixedPH;
    auto formsAt82 = [&]() -> const ConstantForms& {
        if (!forms82) {
            forms82.emplace(c82, hasPhosphate);
        }
        return *forms82;
    };
    auto at82 = [&]() -> const FixedPHAlkalinity& {
        if (!fixed82) {
            fixed82.emplace(formsAt82(), kEndPoint82);
        }
        return *fixed82;
    };
    auto atPH = [&]() -> const FixedPHAlkalinity& {
        if (!fixedPH) {
            if (kernel::SameBits(m.tpH, m.t82)) {
                fixedPH.emplace(formsAt82(), m.pH); // the same constants
            } else {
                fixedPH.emplace(formsPH.emplace(cpH, hasPhosphate), m.pH);
            }
        }
        return *fixedPH;
    };

    // Row 0 (row 1 of the KS/KB family starts from its TA and DIC)
    if (wanted(0) || (wanted(1) && !useDIC)) {
        st.ta[0] = EndPointAlkalinity(s, c43, m.ks43);
        if (!useDIC) {
            st.dic[0] = m.ks43 + m.kb82;
            IterateDic(st.dic[0], kRowZeroMaxPasses, [&](long double dic) {
                s[slot::Dic] = dic;
                const kernel::Alkalinity r = at82().At(s);
                return (st.ta[0] - m.ks82 + m.kb82 - r.r0) / r.r1;
            });
        } else {
            st.dic[0] = m.dic;
        }
    }
    if (wanted(0) && withCheck) {
        st.check[0] = CheckPH(s, cpH, st, checkHint);
    }

    // Row 1
    if (wanted(1) && !useDIC) {
        st.ta[1] = st.ta[0];
        st.dic[1] = st.dic[0];
        IterateDic(st.dic[1], kRowOneMaxPasses, [&](long double dic) {
            s[slot::Dic] = dic;
            const kernel::Alkalinity r = atPH().At(s);
            return (st.ta[1] - r.r0) / r.r1;
        });
    } else if (wanted(1)) {
        st.dic[1] = m.dic;
        s[slot::Dic] = m.dic;
        const kernel::Alkalinity rpH = atPH().At(s);
        st.ta[1] = m.dic * rpH.r1 + rpH.r0;
    }
    if (wanted(1) && withCheck) {
        st.check[1] = CheckKB82(s, at82(), st);
    }

    if (!wanted(2)) {
        return st;
    }
    // Row 2
    if (!useDIC) {
        long double lo = 0.0L, x = 50.0L, hi = 100.0L;
        long double g = 0;
        int n = 0;
        st.dic[2] = 50.0L;
        // Where no DIC balances, x runs to an end of the range; at 100 it stops moving once the
        // steps fall below its last digit, and every pass after that is the one before it; toward
        // 0 the passes end as soon as one shows that all after it halve x (HalvesToTheEnd).
        long double lastX = std::numeric_limits<long double>::quiet_NaN();
        long double lastEstimateX = lastX;
        kernel::Alkalinity r82, rpH;
        RowTwoEstimate estimate;
        do {
            ++n;
            s[slot::Dic] = x;
            // A pass that the estimate settles does not end the loop, so its TA is never the
            // result.
            if (!kernel::SameBits(x, lastEstimateX)) {
                estimate = EstimateRowTwo(at82(), atPH(), s, x, m);
                lastEstimateX = x;
            }
            long double slope = 0;
            if (estimate.settled) {
                g = estimate.g;
                slope = estimate.slope;
                if (lo == 0.0L && HalvesToTheEnd(estimate, x)) {
                    n = kRowTwoMaxPasses;
                    break;
                }
            } else {
                if (!kernel::SameBits(x, lastX)) {
                    r82 = at82().At(s);
                    rpH = atPH().At(s);
                    lastX = x;
                }
                const long double p = (r82.r1 - 1.0L) * x + (m.ks82 - m.kb82) + r82.r0;
                st.ta[2] = rpH.r1 * x + rpH.r0;
                g = st.ta[2] - x - p;
                slope = rpH.r1 - 1.0L;
            }
            if (std::isnan(g)) {
                // x would stay where it is and every later pass repeat this one: go straight
                // to the end of the passes, where the fallback takes over.
                n = kRowTwoMaxPasses;
                break;
            }
            if ((g < 0.0L && slope < 0.0L) || (g > 0.0L && slope > 0.0L)) {
                hi = x;
                x = (lo + x) / 2.0L;
            } else if ((g > 0.0L && slope < 0.0L) || (g < 0.0L && slope > 0.0L)) {
                lo = x;
                x = (hi + x) / 2.0L;
            }
        } while (!(std::fabs(g) < kTolerance) && n != kRowTwoMaxPasses);
        st.dic[2] = x;
        if (n == kRowTwoMaxPasses) {
            st.dic[2] = m.ks43 - 0.05L + m.kb82 - m.ks82;
            s[slot::Dic] = st.dic[2];
            const kernel::Alkalinity r = atPH().At(s);
            st.ta[2] = r.r1 * st.dic[2] + r.r0;
        }
    } else {
        st.dic[2] = m.dic;
        s[slot::Dic] = m.dic;
        const kernel::Alkalinity r = at82().At(s);
        st.ta[2] = r.r1 * m.dic + (m.ks82 - m.kb82) + r.r0;
    }

    if (withCheck) {
        st.check[2] = CheckKS43(s, c43, st);
    }
    return st;
}

long double CarbonateCheck(const SpeciesVector& species, const CarbonateMeasurements& m,
                           long double ionicStrength, int row, const CarbonateState& st) {
    SpeciesVector s = species;
    const bool hasPhosphate = s[slot::Po4Total] != 0.0L;
    const MeasurementConstants cs(m, ionicStrength, hasPhosphate);
    switch (row) {
    case 0:
        return CheckPH(s, cs.cpH, st, nullptr);
    case 1:
        return CheckKB82(s, FixedPHAlkalinity(ConstantForms(cs.c82, hasPhosphate), kEndPoint82),
                         st);
    case 2:
        return CheckKS43(s, cs.c43, st);
    default:
        return 0.0L;
    }
}

PHSolution SolvePHBisection(const EquilibriumConstants& k, long double gammaH,
                            SpeciesVector& species, long double ta, long double dic, PHHint* hint) {
    const kernel::ConstantFactors c =
        kernel::MakeConstantFactors(k, species[slot::Po4Total] != 0.0L);
    const kernel::ProbeConstants probeConstants = kernel::MakeProbeConstants(c);
    kernel::FreshTrials trials(c, probeConstants, gammaH);
    // Probes around the pH of the carbonate system alone settle the sides of most trials; a
    // search before this one tells how far ion pairs move the pH from there.
    species[slot::Dic] = dic;
    const kernel::Totals totals = kernel::ReadTotals(species);
    kernel::Probes probes(probeConstants, gammaH);
    kernel::Settled settled;
    const long double pure = kernel::CarbonateOnlyPH(c, gammaH, ta, dic);
    const bool hinted = hint != nullptr && hint->known;
    long double halfWidth = hinted ? hint->halfWidth : kFirstProbeHalfWidth;
    kernel::SettleAround(probes, totals, ta, dic, k, hinted ? pure + hint->offset : pure, halfWidth,
                         kProbeBudget, settled, true);
    PHSolution out = kernel::FinishSearch(
        k, c, kernel::SearchPH(trials, species, ta, dic, nullptr, &settled), species);
    out.speciations = trials.speciations + trials.Estimates() + probes.speciations;
    if (hint != nullptr) {
        const long double offset = out.pH - pure;
        // The distance moves less from pass to pass as the ionic strength settles, by a factor of
        // some twenty-five a pass: the next probes reach a twentieth of this move out.
        const long double moved = hinted ? 0.05L * std::fabs(offset - hint->offset) : 0.0L;
        hint->known = std::isfinite(offset) && std::isfinite(halfWidth);
        hint->offset = offset;
        hint->halfWidth = std::clamp(std::max(moved, halfWidth), 2.0L * kernel::kPHTolerance,
                                     kFirstProbeHalfWidth);
    }
    return out;
}

PHSolution SolvePHBisection(SpeciesVector& species, long double t, long double ionicStrength,
                            long double ta, long double dic, PHHint* hint) {
    const ConstantSet c = Constants(t, ionicStrength, species[slot::Po4Total] != 0.0L);
    return SolvePHBisection(c.k, c.gammaH, species, ta, dic, hint);
}

CarbonicFractionsResult CarbonicFractions(long double pH, long double t,
                                          long double ionicStrength) {
    const ConstantSet c = Constants(t, ionicStrength, false);
    const long double K1 = c.k[KIndex(1)], K2 = c.k[KIndex(2)], K9 = c.k[KIndex(9)];
    const long double h = Pow10(-pH) * 1000.0L / c.gammaH;
    CarbonicFractionsResult f;
    f.chargeFactor = (K1 * h + 2.0L * K1 * K2) / (h * h + K1 * h + K1 * K2);
    f.alpha0 = 1.0L / (K1 / h + 1.0L + K1 * K2 / (h * h));
    f.alpha1 = f.alpha0 * K1 / h;
    f.alpha2 = f.alpha1 * K2 / h;
    f.ohMinusH = K9 / h - h;
    return f;
}

} // namespace zeb::chem
