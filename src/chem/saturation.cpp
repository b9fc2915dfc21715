#include "chem/saturation.h"

#include "chem/carbonate.h"
#include "chem/constants.h"
#include "chem/numeric.h"
#include "chem/speciation_kernel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace zeb::chem {
namespace {

constexpr long double kTolerance = 0.000001L;
constexpr long double kFloor = 0.000001L;
constexpr long double kPH78 = 7.8L;

struct ChemicalInfo {
    Chemical chemical;
    std::string_view name;
};
constexpr ChemicalInfo kChemicalNames[] = {
    {Chemical::CaCO3, "CaCO3"},   {Chemical::CaCO3MgO, "CaCO3MgO"}, {Chemical::CaOH2, "Ca(OH)2"},
    {Chemical::CO2, "CO2"},       {Chemical::NaOH, "NaOH"},         {Chemical::Na2CO3, "Na2CO3"},
    {Chemical::NaHCO3, "NaHCO3"},
};

// The SI of the searched pH from those of the two probes that settled its bracket: the searched
// pH lies at most a tolerance outside the bracket, where SI moves by less than kSISlope per pH
// unit (up to 4 met on 20,000 random waters: free CO3-- rises by up to h^-2, free Ca++ falls by
// up to h^-3 with phosphate); inside, SI is either monotonic or turns with a curvature below
// kSICurvature per pH unit squared; kSIMargin covers the loop's convergence error.
constexpr long double kSISlope = 10.0L;
constexpr long double kSICurvature = 100.0L;
constexpr long double kSIMargin = 0.00001L;
constexpr int kProbeBudget = 6;
// How fast the SI at the root of a dose can move with the ionic strength, per unit of the square
// root of the ionic strength in mol/L, which every activity coefficient follows with a slope of at
// most A z^2 (some 2.4 for a divalent ion): ten times the 3.5 met on 60,000 random waters and
// doses of all seven chemicals, ionic strengths 0-65 mmol/L.
constexpr long double kSIIonicSlope = 40.0L;
// The same for the searched pH: ten times the 2.2 met there; and what the bisection's grid adds
// where the root moves by next to nothing (1.7 tolerances met).
constexpr long double kPHIonicSlope = 20.0L;
constexpr long double kPHIonicSlack = 10.0L * kernel::kPHTolerance;
// A pH expected this far from 7.8 has its first probe kAsideFromPH78 from 7.8 (see SettlePH78).
constexpr long double kFarFromPH78 = 0.5L;
constexpr long double kAsideFromPH78 = 0.02L;
// A hinted pH nearer 7.8 has its first probe twice the move that the ionic strength allows its
// pH aside, where that is less than this.
constexpr long double kNearAsideLimit = 0.001L;
constexpr long double kNearPH78 = 0.0001L;
constexpr long double kEndMargin = 0.001L; // a searched pH this near 0 or 14 may be an end
constexpr long double kSidesAlkalinityLimit = 100.0L; // mmol/L, see DoseToTarget
// The secant steps that look for the root of CaCO3 to SI = 0 without a search before them, or
// with one at an ionic strength so far off that the SI at its root can have moved by more than
// kFarRootMove. They hand over to the probes either side of the root once a step is shorter than
// kSecantSettled errors of a searched SI; those lie kRootProbes such errors from it.
constexpr long double kFirstSecantStep = 0.1L; // mmol/L
constexpr int kSecantSteps = 8;
constexpr long double kFarRootMove = 0.001L;
constexpr long double kSecantSettled = 100.0L;
constexpr long double kRootProbes = 3.0L;
constexpr long double kSlopeSI = 2.0L; // see noteSI in DoseToTarget
// How much of the move of the lg of the calcite constant with the ionic strength the SI at the
// root of a dose follows: some 0.6 on the bench waters (see hintedRoot in DoseToTarget).
constexpr long double kCalciteShare = 0.6L;
// A search with no search at a nearby ionic strength before it starts its secant steps where the
// last such search on this thread found its root, rather than at dose 0: the columns of a water,
// and the waters of a campaign, lie close. A guess: it places probes only.
struct RootGuess {
    long double root = std::numeric_limits<long double>::quiet_NaN();
    long double slope = 0;
};
thread_local RootGuess lastRootFromScratch;

// Where the pH of a dose search's next pass is likely to lie: the pH of its carbonate system
// alone, moved by the offset that ion pairs gave the passes that set the ends of the dose
// bracket, interpolated by dose. It places probes only; a poor guess costs probes, never a
// different result.
class PHEstimate {
public:
    long double Offset(long double d) const {
        if (below_.known && above_.known && below_.dose != above_.dose) {
            // Between the two doses only: beyond them a line through offsets that differ by
            // little more than the probes' width runs off to any pH at all.
            const long double f =
                std::clamp((d - below_.dose) / (above_.dose - below_.dose), 0.0L, 1.0L);
            if (std::isfinite(f)) {
                return below_.offset + (above_.offset - below_.offset) * f;
            }
        }
        if (below_.known && above_.known) {
            return std::fabs(d - below_.dose) < std::fabs(d - above_.dose) ? below_.offset
                                                                           : above_.offset;
        }
        return below_.known ? below_.offset : above_.known ? above_.offset : 0.0L;
    }
    // Half the width of the first probe pair: half as much again as the last pass's probes
    // settled with, for the error of the guess.
    long double HalfWidth() const { return halfWidth_; }
    void NoteHalfWidth(long double halfWidth) {
        if (halfWidth > 0.0L && std::isfinite(halfWidth)) {
            halfWidth_ = 1.5L * halfWidth;
        }
    }
    void Note(long double dose, long double offset, int position) {
        if (std::isfinite(offset)) {
            Point& p = position < 0 ? below_ : above_;
            p = {dose, offset, true};
        }
    }
    // Starts from what a search at a nearby ionic strength ended with.
    void Seed(long double dose, long double offset, long double halfWidth) {
        if (std::isfinite(offset) && std::isfinite(dose)) {
            below_ = above_ = {dose, offset, true};
            below_.known = false;
            NoteHalfWidth(halfWidth / 1.5L);
        }
    }

private:
    struct Point {
        long double dose = 0, offset = 0;
        bool known = false;
    };
    Point below_, above_;
    long double halfWidth_ = 0.02L;
};

// The pH a pass settled on, as far as its probes tell.
long double PHOf(const kernel::Settled& s, long double guess) {
    return s.Bracketed()                ? (s.low + s.high) / 2.0L
           : s.low > -kernel::kInfinity ? s.low
           : s.high < kernel::kInfinity ? s.high
                                        : guess;
}

// What a settled bracket tells of the SI of the searched pH: the SI at its two ends, the smaller
// and the larger, where it has one at both, and how far from theirs the SI of the searched pH can
// lie. Formed once for the several uses a pass makes of it.
struct SIBounds {
    bool known = false;
    long double least = 0, most = 0, error = 0;
    bool inside = false; // the bracket lies near neither end of the range
};
SIBounds BoundsOf(const kernel::Settled& s) {
    SIBounds b;
    if (!s.Bracketed()) {
        return b;
    }
    const long double low = s.SILow(), high = s.SIHigh();
    if (!(std::isfinite(low) && std::isfinite(high) && low != kNoSaturationIndex &&
          high != kNoSaturationIndex)) {
        return b;
    }
    const long double width = s.high - s.low;
    b.known = true;
    b.least = std::min(low, high);
    b.most = std::max(low, high);
    b.error = kSISlope * 2.0L * kernel::kPHTolerance + kSICurvature * width * width + kSIMargin;
    b.inside = s.low > kEndMargin && s.high < 14.0L - kEndMargin;
    return b;
}

// The side of SI = 0 on which the SI of the searched pH lies, where a settled bracket fixes it
// (0: not settled). With `scale` 2 the side is that of the SI at the root itself, beyond the
// error of any searched pH (see DoseSides).
int SettleSI(const SIBounds& b, long double scale = 1.0L) {
    if (!b.known) {
        return 0;
    }
    const long double bound = scale * b.error;
    if (b.least > bound) {
        return 1;
    }
    if (b.most < -bound) {
        return -1;
    }
    return 0;
}

// Bounds of the SI at the root that a settled bracket gives (left as they are where it gives
// none): the root lies inside, near neither end of the range, where SI keeps within the bounds
// of SettleSI.
void NoteRootSI(const SIBounds& b, long double& low, long double& high) {
    if (!b.known || !b.inside) {
        return;
    }
    low = b.least - b.error;
    high = b.most + b.error;
}

// The side of pH 7.8 on which the searched pH lies, from probes two tolerances either side of it,
// the likelier side first; where neither settles it, the pH lies within a few margins of 7.8, and
// probes around 7.8 narrow the search (0: not settled). Once a pass has come that near, the
// passes after it (their doses closer still) start with such probes; `nearHalfWidth` carries
// their half width from pass to pass (0 before). Before that, a first probe at 7.8 + `aside`
// (none for 0) settles the side as one beside 7.8 would where the pH lies beyond it, and leaves
// the searches at the ionic strengths after this one a bound that settles theirs unprobed.
int SettlePH78(kernel::Probes& probes, const kernel::Totals& totals, long double ta,
               long double dic, const EquilibriumConstants& k, long double guess, long double aside,
               kernel::Settled& s, long double& nearHalfWidth) {
    if (!kernel::Probeable(totals, ta, dic)) {
        return 0;
    }
    auto side = [&s] {
        return kernel::ReturnedAbove(s) > kPH78 ? 1 : kernel::ReturnedBelow(s) < kPH78 ? -1 : 0;
    };
    if (nearHalfWidth == 0.0L && aside != 0.0L) {
        const long double pH = kPH78 + aside;
        kernel::Record(s, probes.At(pH, totals), pH, totals, ta, dic, k);
        if (side() != 0) {
            return side();
        }
    }
    if (nearHalfWidth == 0.0L) {
        const long double above = kPH78 + 2.0L * kernel::kPHTolerance;
        const long double below = kPH78 - 2.0L * kernel::kPHTolerance;
        const long double order[2] = {guess < kPH78 ? below : above, guess < kPH78 ? above : below};
        for (long double pH : order) {
            kernel::Record(s, probes.At(pH, totals), pH, totals, ta, dic, k);
            if (side() != 0) {
                return side();
            }
        }
        nearHalfWidth = kNearPH78;
    }
    long double halfWidth = nearHalfWidth;
    kernel::SettleAround(probes, totals, ta, dic, k, kPH78, halfWidth, kProbeBudget, s, true);
    nearHalfWidth = 1.5L * halfWidth;
    return side();
}

// Doses of CaCO3 whose side of SI = 0 is settled without a pass of their own. Dissolving calcite
// raises the calcite ion activity product: at fixed constants the speciation is an ideal
// mass-action equilibrium, whose free energy is strictly convex in the amounts of its
// components, so the chemical potential of the component added (Ca++ + CO3--) rises with its
// amount, and with it log(Ca x CO3) = SI + log K. The SI at the root of a dose thus rises with
// the dose, as long as the dose adds CaCO3 as such: TA + 2d and DIC + d above the floors that
// the bisection puts in their place below zero. A searched SI lies within kSearchedSIError of
// the SI at its root; a dose whose root SI is beyond that error settles every dose on its far
// side. A pass settles it when its searched SI, or the SI its probes bracket, lies beyond twice
// that error.
class DoseSides {
public:
    // Error of a searched SI: the searched pH lies within a tolerance of the bracket that holds
    // the root, and the loop's convergence error.
    static constexpr long double kSearchedSIError =
        kSISlope * 2.0L * kernel::kPHTolerance + kSIMargin;

    explicit DoseSides(bool enabled) : enabled_(enabled) {}
    bool Enabled() const { return enabled_; }
    // The side of dose `d` (a dose that adds CaCO3 as such), or 0.
    int Side(long double d) const {
        if (!enabled_) {
            return 0;
        }
        return d >= above_ ? 1 : d <= below_ ? -1 : 0;
    }
    // What a pass at dose `d` settles: from its probes, or from its searched SI.
    void FromProbes(long double d, const SIBounds& b) { Note(d, SettleSI(b, 2.0L)); }
    void FromSearch(long double d, long double si) {
        Note(d, si > 2.0L * kSearchedSIError ? 1 : si < -2.0L * kSearchedSIError ? -1 : 0);
    }

private:
    void Note(long double d, int side) {
        if (!enabled_) {
            return;
        }
        if (side > 0 && d < above_) {
            above_ = d;
        } else if (side < 0 && d > below_) {
            below_ = d;
        }
    }
    bool enabled_;
    long double below_ = -kernel::kInfinity, above_ = kernel::kInfinity;
};

// TA and DIC after dose `d`, with the floors the bisection puts in place of values that would
// fall to zero or below; `asSuch` when no floor was needed.
struct Dosed {
    long double ta = 0, dic = 0;
    bool asSuch = true;
};

Dosed ApplyDose(Chemical chemical, long double d, long double ta, long double dic) {
    Dosed x{ta, dic, true};
    // TA factor of the carbonate-carrying chemicals, used when TA would vanish.
    long double taFactor = 0.0L;
    switch (chemical) {
    case Chemical::CaOH2:
        x.ta = ta + 2.0L * d;
        break;
    case Chemical::NaOH:
        x.ta = ta + d;
        break;
    case Chemical::NaHCO3:
        x.ta = ta + d;
        x.dic = dic + d;
        taFactor = 1.0L;
        break;
    case Chemical::Na2CO3:
        x.ta = ta + 2.0L * d;
        x.dic = dic + d;
        taFactor = 2.0L;
        break;
    case Chemical::CaCO3MgO:
        x.ta = ta + 4.0L * d;
        x.dic = dic + d;
        taFactor = 4.0L;
        break;
    case Chemical::CaCO3:
        x.ta = ta + 2.0L * d;
        x.dic = dic + d;
        taFactor = 2.0L;
        break;
    case Chemical::CO2:
        x.dic = dic + d;
        break;
    }
    switch (chemical) {
    case Chemical::CaOH2:
    case Chemical::NaOH:
        if (x.ta <= 0.0L) {
            x.ta = kFloor;
            x.asSuch = false;
        }
        break;
    case Chemical::NaHCO3:
    case Chemical::Na2CO3:
    case Chemical::CaCO3MgO:
    case Chemical::CaCO3:
        if (x.ta <= 0.0L) {
            x.ta = kFloor;
            x.dic = dic - ta / taFactor;
            x.asSuch = false;
        }
        if (x.dic <= 0.0L) {
            x.dic = kFloor;
            x.ta = ta - dic;
            x.asSuch = false;
        }
        break;
    case Chemical::CO2:
        if (x.dic <= 0.0L) {
            x.dic = kFloor;
            x.asSuch = false;
        }
        break;
    }
    return x;
}

// The totals of the water after dose `d`.
void ApplyDoseToTotals(Chemical chemical, long double d, long double ca, long double mg,
                       long double na, SpeciesVector& s) {
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
}

} // namespace

long double CalciteSI(const SpeciesVector& species, const EquilibriumConstants& k) {
    return kernel::SaturationIndex(species[slot::Ca], species[slot::Co3], k);
}

std::string_view ChemicalName(Chemical chemical) {
    for (const ChemicalInfo& c : kChemicalNames) {
        if (c.chemical == chemical) {
            return c.name;
        }
    }
    return {};
}

std::string_view TargetName(Target target) {
    return target == Target::SI0 ? "SI0" : "pH78";
}

std::optional<Chemical> ParseChemical(std::string_view name) {
    for (const ChemicalInfo& c : kChemicalNames) {
        if (c.name == name) {
            return c.chemical;
        }
    }
    return std::nullopt;
}

std::optional<Target> ParseTarget(std::string_view name) {
    if (name == "SI0") {
        return Target::SI0;
    }
    if (name == "pH78") {
        return Target::pH78;
    }
    return std::nullopt;
}

long double DoseLowerBound(Chemical chemical, const SpeciesVector& s) {
    switch (chemical) {
    case Chemical::CaOH2:
    case Chemical::CaCO3:
        return -s[slot::CaTotal];
    case Chemical::NaOH:
    case Chemical::NaHCO3:
        return -s[slot::Na];
    case Chemical::Na2CO3:
        return -s[slot::Na] / 2.0L;
    case Chemical::CaCO3MgO:
        return -std::min(s[slot::CaTotal], s[slot::MgTotal]);
    case Chemical::CO2:
        return -s[slot::Dic];
    }
    return 0.0L;
}

DoseResult DoseToTarget(Chemical chemical, Target target, const SpeciesVector& species,
                        long double ta, long double dic, long double t, long double ionicStrength,
                        DoseHints* hints) {
    SpeciesVector s = species;
    const long double ca = species[slot::CaTotal];
    const long double mg = species[slot::MgTotal];
    const long double na = species[slot::Na];
    long double lo = DoseLowerBound(chemical, species);
    long double hi = kDoseUpperBound;

    // Temperature and ionic strength stay fixed over the passes, so one constant set serves
    // every pH search, and a trial pH that an earlier search met has its factors ready (and,
    // when the dose changed only sodium, its free values).
    EquilibriumConstants k;
    long double gammaH = 1.0L;
    ComputeConstants(t, ionicStrength, gammaH, k, s[slot::Po4Total] != 0.0L);
    const kernel::ConstantFactors c = kernel::MakeConstantFactors(k, s[slot::Po4Total] != 0.0L);
    thread_local kernel::TrialCache trials;
    const kernel::ProbeConstants probeConstants = kernel::MakeProbeConstants(c);
    trials.Reset(c, probeConstants, gammaH);
    kernel::Probes probes(probeConstants, gammaH);
    PHEstimate estimate;
    DoseHints found;
    found.ionicStrength = ionicStrength;
    found.calcite = k[KIndex(10)];
    // How far the value of a pass may have moved since the search that left the hints, and how
    // far beyond the target its bounds must then lie.
    const long double ionicMove = hints != nullptr
                                      ? std::fabs(std::sqrt(ionicStrength / 1000.0L) -
                                                  std::sqrt(hints->ionicStrength / 1000.0L))
                                      : kernel::kInfinity;
    const long double valueMove = target == Target::SI0 ? kSIIonicSlope * ionicMove
                                                        : kPHIonicSlope * ionicMove + kPHIonicSlack;
    const long double goal = target == Target::SI0 ? 0.0L : kPH78;
    const long double beyond = target == Target::SI0 ? DoseSides::kSearchedSIError : 0.0L;
    long double nearPH78 = 0.0L;
    long double pure = 7.0L; // pH of the carbonate system alone, of the last pass
    // How far the pH of a dose has moved from that of the same dose at the nearby ionic strength,
    // as far as the last hinted pass found: the passes move alike.
    long double hintShift = 0.0L;
    long double shrink = 0.0L;

    // CaCO3 to SI = 0 settles whole ranges of doses (DoseSides), on a water whose balance
    // probes can settle and whose every dose has its root inside 0..14, where the searched SI
    // is that of the root: TA - 2 DIC, which CaCO3 leaves as it is, must stay far from the
    // c(OH-) and c(H+) of the ends of the range (1000 mmol/L). The SI of two doses near the
    // root, as found here, tells the next search at a nearby ionic strength where to settle
    // them first.
    s[slot::Dic] = dic;
    DoseSides sides(chemical == Chemical::CaCO3 && target == Target::SI0 &&
                    kernel::Probeable(kernel::ReadTotals(s), ta, dic) &&
                    std::fabs(ta) < kSidesAlkalinityLimit && dic < kSidesAlkalinityLimit);
    struct DoseSI {
        long double dose = 0, si = 0;
    };
    std::array<DoseSI, 2> near{};
    int nearCount = 0;
    // Only an SI well beyond the error of a searched one tells the slope: the passes nearest the
    // root lie closer together in dose than their SI values are certain.
    auto noteSI = [&](long double dose, long double si) {
        if (std::isfinite(si) && si != kNoSaturationIndex &&
            std::fabs(si) > kSlopeSI * DoseSides::kSearchedSIError) {
            near[nearCount++ % 2] = {dose, si};
        }
    };

    // The settled bracket of the pH search of dose `dose` (TA and DIC as dosed, totals in s),
    // from probes around where the pH is expected; returns what it tells of the SI.
    auto settleAround = [&](long double taNew, long double dicNew, const kernel::Totals& totals,
                            long double guess, kernel::Settled& settled, bool narrow) {
        long double halfWidth = estimate.HalfWidth();
        kernel::SettleAround(probes, totals, taNew, dicNew, k, guess, halfWidth, kProbeBudget,
                             settled, narrow);
        estimate.NoteHalfWidth(halfWidth);
        SIBounds bounds = BoundsOf(settled);
        if (!narrow && SettleSI(bounds) == 0 && settled.Bracketed() &&
            settled.root < kernel::kInfinity) {
            // Too wide a bracket for the SI or for a short search: narrow it first.
            kernel::SettleAround(probes, totals, taNew, dicNew, k, settled.root, halfWidth,
                                 kProbeBudget, settled, true);
            bounds = BoundsOf(settled);
        }
        return bounds;
    };

    // Probes the SI of dose `dose` for DoseSides; returns the SI the probes bracket (NaN where
    // they did not).
    auto probeDose = [&](long double dose) {
        const long double nan = std::numeric_limits<long double>::quiet_NaN();
        const Dosed x = ApplyDose(chemical, dose, ta, dic);
        if (!x.asSuch || !(dose > lo && dose < hi)) {
            return nan;
        }
        ApplyDoseToTotals(chemical, dose, ca, mg, na, s);
        s[slot::Dic] = x.dic;
        const kernel::Totals totals = kernel::ReadTotals(s);
        pure = kernel::CarbonateOnlyPH(c, gammaH, x.ta, x.dic, pure);
        const long double guess = pure + estimate.Offset(dose);
        kernel::Settled settled;
        sides.FromProbes(dose, settleAround(x.ta, x.dic, totals, guess, settled, false));
        if (!settled.Bracketed() || settled.SILow() == kNoSaturationIndex ||
            settled.SIHigh() == kNoSaturationIndex) {
            return nan;
        }
        const long double si = (settled.SILow() + settled.SIHigh()) / 2.0L;
        estimate.Note(dose, PHOf(settled, guess) - pure, si < 0.0L ? -1 : 1);
        noteSI(dose, si);
        return si;
    };

    // Settles the doses either side of `centre`, where the SI is expected to cross zero, rising
    // by `slope` per mmol/L: a dose each side, at kRootProbes times the error of a searched SI if
    // the root lies there; then, as long as a side stays open, around the root that the secant
    // through the two SI values points to.
    auto settleAroundRoot = [&](long double centre, long double slope) {
        long double delta = kRootProbes * DoseSides::kSearchedSIError / slope;
        for (int round = 0; round < 3 && std::isfinite(centre) && std::isfinite(delta); ++round) {
            const long double a = centre - delta, b = centre + delta;
            const long double siA = sides.Side(a) < 0 ? kernel::kInfinity : probeDose(a);
            const long double siB = sides.Side(b) > 0 ? kernel::kInfinity : probeDose(b);
            if (sides.Side(a) < 0 && sides.Side(b) > 0) {
                break;
            }
            if (!std::isfinite(siA) || !std::isfinite(siB) || !(siB > siA)) {
                break;
            }
            centre = a - siA * (b - a) / (siB - siA);
            delta *= 2.0L;
        }
    };
    const bool rootHinted = sides.Enabled() && hints != nullptr && hints->slope > 0.0L &&
                            std::isfinite(hints->slope) && std::isfinite(hints->root);
    if (rootHinted) {
        estimate.Seed(hints->root, hints->rootOffset, hints->halfWidth);
    }
    // Where the root of the search at the other ionic strength is expected now: the calcite
    // constant has moved with the activity coefficients, and the SI at that root with it, by a
    // share of its move (the ion pairs give back the rest), which the slope turns into a dose.
    long double hintedRoot = rootHinted ? hints->root : 0.0L;
    if (rootHinted && hints->calcite > 0.0L) {
        const long double moved = std::log10(static_cast<double>(hints->calcite / k[KIndex(10)]));
        if (std::isfinite(moved)) {
            hintedRoot -= kCalciteShare * moved / hints->slope;
        }
    }
    if (rootHinted && valueMove <= kFarRootMove) {
        // The root of a search at a nearby ionic strength.
        settleAroundRoot(hintedRoot, hints->slope);
    } else if (sides.Enabled()) {
        // Otherwise secant steps on the SI of probed doses find the root first: from the root of
        // the search far off, or from the last root found so (RootGuess), or from dose 0. The steps
        // follow 10^(SI/2) - 1, the activities' geometric mean over its value at saturation: near
        // linear in the dose where calcite dissolves as such. Steps place probes only: double
        // precision serves.
        auto ratio = [](long double si) {
            return static_cast<long double>(std::pow(10.0, static_cast<double>(si) / 2.0)) - 1.0L;
        };
        long double d0 = 0.0L, d1 = kFirstSecantStep;
        long double si0 = 0, si1 = 0;
        // From a root found before, with the slope found there: the first step is the one that
        // slope asks for, and the probes go straight around where it lands once that is near.
        // Returns whether they did.
        auto fromRoot = [&](long double root, long double known) {
            d0 = root;
            si0 = probeDose(d0);
            const long double step = -si0 / known;
            if (std::fabs(step) < kSecantSettled * DoseSides::kSearchedSIError / known) {
                settleAroundRoot(d0 + step, known);
                return true;
            }
            if (std::isfinite(step)) {
                d1 = d0 + step;
                si1 = probeDose(d1);
            } else {
                si1 = std::numeric_limits<long double>::quiet_NaN();
            }
            return false;
        };
        const RootGuess guess = lastRootFromScratch;
        bool settledFirst = false, started = false;
        if (rootHinted) {
            settledFirst = fromRoot(hintedRoot, hints->slope);
            started = true;
        } else if (std::isfinite(guess.root) && guess.slope > 0.0L) {
            settledFirst = fromRoot(guess.root, guess.slope);
            // Not where the water cannot take the guess (beyond its doses, or where TA or DIC
            // would fall to the floor).
            started = settledFirst || (std::isfinite(si0) && std::isfinite(si1));
        }
        if (!started) {
            d0 = 0.0L;
            d1 = kFirstSecantStep;
            si0 = probeDose(d0);
            si1 = probeDose(d1);
        }
        for (int step = 0; step < kSecantSteps && !settledFirst; ++step) {
            const long double r0 = ratio(si0), r1 = ratio(si1);
            const long double next = d1 - r1 * (d1 - d0) / (r1 - r0);
            const long double slope = (si1 - si0) / (d1 - d0);
            if (!std::isfinite(next) || !std::isfinite(slope) || !(slope > 0.0L)) {
                break;
            }
            if (std::fabs(next - d1) < kSecantSettled * DoseSides::kSearchedSIError / slope) {
                settleAroundRoot(next, slope);
                break;
            }
            d0 = d1;
            si0 = si1;
            d1 = next;
            si1 = probeDose(d1);
        }
    }

    DoseResult out;
    long double d = 0.0L;
    int n = 1;
    bool last = false;
    do {
        ++n;
        d = (hi - lo) / 2.0L + lo;
        const Dosed x = ApplyDose(chemical, d, ta, dic);
        // Most passes of a search to SI = 0 lie on a side that DoseSides settles, for a dose that
        // adds CaCO3 as such: they only move an end of the bracket, and are taken here without the
        // rest of a pass; the last pass, whose values are the result, is not.
        if (x.asSuch) {
            if (const int side = sides.Side(d); side != 0) {
                const long double oldLo = lo, oldHi = hi;
                (side < 0 ? lo : hi) = d;
                if (!(std::fabs(lo - hi) < kTolerance || n == kDoseMaxPassCounter)) {
                    const auto at = static_cast<std::size_t>(n - 2);
                    found.moved[at] = found.low[at] = found.high[at] = found.pH[at] =
                        std::numeric_limits<long double>::quiet_NaN();
                    found.dose[at] = d;
                    found.passes = n - 1;
                    continue;
                }
                lo = oldLo;
                hi = oldHi;
            }
        }
        const long double taNew = x.ta;
        const long double dicNew = x.dic;
        ApplyDoseToTotals(chemical, d, ca, mg, na, s);

        // A pass needs only the side of the target its value lies on. A dose that DoseSides
        // settles needs no pass, nor does one whose SI at the root the search at the nearby ionic
        // strength put beyond what the move of the ionic strength can undo; otherwise probes
        // settle it where they can (see Settled), and where they cannot the search runs, and for
        // pH 7.8 ends once the side is known. The last pass, whose pH and ionic strength are the
        // result, runs its search to the end.
        s[slot::Dic] = dicNew;
        const kernel::Totals totals = kernel::ReadTotals(s);
        kernel::Settled settled;
        int position = x.asSuch ? sides.Side(d) : 0;
        const bool bySides = position != 0;
        bool searched = false;
        kernel::SearchEnd end;
        const int pass = n - 2;
        const std::size_t at = static_cast<std::size_t>(pass);
        found.moved[at] = found.low[at] = found.high[at] =
            std::numeric_limits<long double>::quiet_NaN();
        const bool hinted = hints != nullptr && pass < hints->passes &&
                            kernel::SameBits(hints->dose[at], d) && std::isfinite(hints->pH[at]);
        // The value of the same dose at the nearby ionic strength, and how far it can have moved
        // since, may settle the side of this one's.
        if (!bySides && hinted) {
            const long double low = hints->low[at] - valueMove;
            const long double high = hints->high[at] + valueMove;
            position = low > goal + beyond ? 1 : high < goal - beyond ? -1 : 0;
            if (position != 0) {
                found.low[at] = low;
                found.high[at] = high;
            }
        }
        const bool unprobed = position != 0;
        // The pH the pass found, as far as it is known, for the guesses of later passes.
        long double passPH = kernel::kInfinity;
        long double guess = 0.0L;
        if (!unprobed) {
            pure = kernel::CarbonateOnlyPH(c, gammaH, taNew, dicNew, pure);
            // The same dose at the nearby ionic strength tells the pH best, even beside passes
            // either side of the root at this one (which miss for a dose far from the root, or
            // one whose TA or DIC is floored).
            if (hinted) {
                // The pH of a dose moves from one ionic strength to the next much as it moved
                // between the two before, scaled by how the movements have shrunk so far.
                const long double before = hints->moved[at];
                guess = hints->pH[at] +
                        (std::isfinite(before) && shrink != 0.0L ? shrink * before : hintShift);
            } else {
                guess = pure + estimate.Offset(d);
            }
            if (target == Target::pH78) {
                // Aside by far more than the pH can move before the next search, as long as
                // that is little: where the pH lies that far from 7.8, it keeps its side then.
                const long double expected = pure + estimate.Offset(d);
                long double aside = 0.0L;
                if (std::fabs(expected - kPH78) > kFarFromPH78) {
                    aside = expected > kPH78 ? kAsideFromPH78 : -kAsideFromPH78;
                } else if (hinted && 2.0L * valueMove < kNearAsideLimit) {
                    aside = guess > kPH78 ? 2.0L * valueMove : -2.0L * valueMove;
                }
                position =
                    SettlePH78(probes, totals, taNew, dicNew, k, guess, aside, settled, nearPH78);
                found.low[at] = kernel::ReturnedAbove(settled);
                found.high[at] = kernel::ReturnedBelow(settled);
            } else {
                const SIBounds bounds = settleAround(taNew, dicNew, totals, guess, settled, false);
                position = SettleSI(bounds);
                passPH = PHOf(settled, guess);
                NoteRootSI(bounds, found.low[at], found.high[at]);
                if (x.asSuch) {
                    sides.FromProbes(d, bounds);
                }
            }
            if (position == 0) {
                const long double* settle = target == Target::pH78 ? &kPH78 : nullptr;
                // Only the last pass needs the values of its last trial; the others need its SI
                // (pH 7.8: its pH), whose side double precision settles as a rule.
                end = kernel::SearchPH(trials, s, taNew, dicNew, settle, &settled, false);
                searched = true;
                position = end.side;
                if (position == 0) {
                    long double value = end.pH;
                    if (target == Target::SI0) {
                        if (end.last == nullptr &&
                            kernel::SISideInDouble(trials.DoubleAt(end.pH, totals), k, value) ==
                                0) {
                            kernel::EvaluateLast(trials, end, totals);
                        }
                        if (end.last != nullptr) {
                            value = kernel::SaturationIndex(end.last->values.ca,
                                                            end.last->values.co3, k);
                        }
                    }
                    position = value < goal ? -1 : value > goal ? 1 : 0;
                    passPH = end.pH;
                    if (target == Target::pH78) {
                        found.low[at] = found.high[at] = end.pH;
                    }
                    if (target == Target::SI0) {
                        if (value != kNoSaturationIndex && end.pH > kEndMargin &&
                            end.pH < 14.0L - kEndMargin) {
                            if (x.asSuch) {
                                sides.FromSearch(d, value);
                            }
                            // A searched SI, in double precision or extended.
                            const long double error =
                                DoseSides::kSearchedSIError + kernel::kSIPrecisionAllowance;
                            found.low[at] = value - error;
                            found.high[at] = value + error;
                        }
                        noteSI(d, value);
                    }
                }
            }
            if (passPH < kernel::kInfinity) {
                estimate.Note(d, passPH - pure, position);
                if (hinted) {
                    const long double moved = passPH - hints->pH[at];
                    if (std::isfinite(moved)) {
                        found.moved[at] = moved;
                        hintShift = moved;
                        const long double before = hints->moved[at];
                        const long double ratio = moved / before;
                        if (std::isfinite(ratio) && std::fabs(ratio) < 4.0L) {
                            shrink = ratio;
                        }
                    }
                }
            } else {
                // For pH 7.8 the side is what the next search needs first.
                passPH = position < 0 ? kPH78 - kNearPH78 : kPH78 + kNearPH78;
            }
        } else {
            // Not searched: no pH, but for the next search at a nearby ionic strength that of
            // the search before, whose SI bounds this pass carries on.
            passPH = bySides ? std::numeric_limits<long double>::quiet_NaN() : hints->pH[at];
        }
        found.dose[static_cast<std::size_t>(pass)] = d;
        found.pH[static_cast<std::size_t>(pass)] = passPH;
        found.passes = pass + 1;

        // Value below the target: an acid must be dosed less (removed), a base dosed more.
        const bool acid = chemical == Chemical::CO2;
        if (position < 0) {
            (acid ? hi : lo) = d;
        } else if (position > 0) {
            (acid ? lo : hi) = d;
        }
        last = std::fabs(lo - hi) < kTolerance || n == kDoseMaxPassCounter;
        if (last) {
            if (unprobed) {
                pure = kernel::CarbonateOnlyPH(c, gammaH, taNew, dicNew, pure);
                settleAround(taNew, dicNew, totals, pure + estimate.Offset(d), settled, true);
            }
            if (!searched || end.side != 0) {
                end = kernel::SearchPH(trials, s, taNew, dicNew, nullptr, &settled);
            } else if (end.last == nullptr) {
                kernel::EvaluateLast(trials, end, totals);
            }
            const PHSolution ph = kernel::FinishSearch(k, c, end, s);
            out.pH = ph.pH;
            out.ionicStrength = ph.ionicStrength;
            out.si = ph.si;
        }
    } while (!last);

    // Where the SI crossed zero, and how fast it rose there.
    if (nearCount >= 2 && near[0].dose != near[1].dose) {
        found.root = d;
        found.slope = (near[1].si - near[0].si) / (near[1].dose - near[0].dose);
        found.rootOffset = out.pH - pure;
        found.halfWidth = estimate.HalfWidth();
        if (!rootHinted && std::isfinite(found.slope) && found.slope > 0.0L) {
            lastRootFromScratch = {found.root, found.slope};
        }
    }
    out.speciations = trials.speciations + trials.Estimates() + probes.speciations;
    if (hints != nullptr) {
        *hints = found;
    }
    out.dose = d;
    out.passes = n - 1;
    return out;
}

} // namespace zeb::chem
