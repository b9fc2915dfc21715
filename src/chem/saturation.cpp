#include "chem/saturation.h"

#include "chem/carbonate.h"
#include "chem/constants.h"
#include "chem/numeric.h"
#include "chem/speciation_kernel.h"

#include <algorithm>
#include <cmath>

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
constexpr long double kNearPH78 = 0.0001L;

// Where the pH of a dose search's next pass is likely to lie: the pH of its carbonate system
// alone, moved by the offset that ion pairs gave the passes that set the ends of the dose
// bracket, interpolated by dose. It places probes only; a poor guess costs probes, never a
// different result.
class PHEstimate {
public:
    long double Offset(long double d) const {
        if (below_.known && above_.known && below_.dose != above_.dose) {
            const long double f = (d - below_.dose) / (above_.dose - below_.dose);
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

// The side of SI = 0 on which the SI of the searched pH lies, where a settled bracket fixes it
// (0: not settled).
int SettleSI(const kernel::Settled& s) {
    if (!s.Bracketed() || !std::isfinite(s.siLow) || !std::isfinite(s.siHigh) ||
        s.siLow == kNoSaturationIndex || s.siHigh == kNoSaturationIndex) {
        return 0;
    }
    const long double width = s.high - s.low;
    const long double bound =
        kSISlope * 2.0L * kernel::kPHTolerance + kSICurvature * width * width + kSIMargin;
    if (std::min(s.siLow, s.siHigh) > bound) {
        return 1;
    }
    if (std::max(s.siLow, s.siHigh) < -bound) {
        return -1;
    }
    return 0;
}

// The side of pH 7.8 on which the searched pH lies, from probes two tolerances either side of it,
// the likelier side first; where neither settles it, the pH lies within a few margins of 7.8, and
// probes around 7.8 narrow the search (0: not settled). Once a pass has come that near, the
// passes after it (their doses closer still) start with such probes; `nearHalfWidth` carries
// their half width from pass to pass (0 before).
int SettlePH78(kernel::Probes& probes, const kernel::Totals& totals, long double ta,
               long double dic, const EquilibriumConstants& k, long double guess,
               kernel::Settled& s, long double& nearHalfWidth) {
    if (!kernel::Probeable(totals, ta, dic)) {
        return 0;
    }
    auto side = [&s] {
        return kernel::ReturnedAbove(s) > kPH78 ? 1 : kernel::ReturnedBelow(s) < kPH78 ? -1 : 0;
    };
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
    ComputeConstants(t, ionicStrength, gammaH, k);
    const kernel::ConstantFactors c = kernel::MakeConstantFactors(k, s[slot::Po4Total] != 0.0L);
    kernel::TrialCache trials(c, gammaH);
    kernel::Probes probes(c, gammaH);
    PHEstimate estimate;
    DoseHints found;
    long double nearPH78 = 0.0L;
    long double pure = 7.0L; // pH of the carbonate system alone, of the last pass

    DoseResult out;
    long double d = 0.0L;
    int n = 1;
    bool last = false;
    do {
        ++n;
        d = (hi - lo) / 2.0L + lo;
        long double taNew = ta;
        long double dicNew = dic;
        // TA factor of the carbonate-carrying chemicals, used when TA would vanish.
        long double taFactor = 0.0L;
        switch (chemical) {
        case Chemical::CaOH2:
            taNew = ta + 2.0L * d;
            break;
        case Chemical::NaOH:
            taNew = ta + d;
            break;
        case Chemical::NaHCO3:
            taNew = ta + d;
            dicNew = dic + d;
            taFactor = 1.0L;
            break;
        case Chemical::Na2CO3:
            taNew = ta + 2.0L * d;
            dicNew = dic + d;
            taFactor = 2.0L;
            break;
        case Chemical::CaCO3MgO:
            taNew = ta + 4.0L * d;
            dicNew = dic + d;
            taFactor = 4.0L;
            break;
        case Chemical::CaCO3:
            taNew = ta + 2.0L * d;
            dicNew = dic + d;
            taFactor = 2.0L;
            break;
        case Chemical::CO2:
            dicNew = dic + d;
            break;
        }
        switch (chemical) {
        case Chemical::CaOH2:
        case Chemical::NaOH:
            if (taNew <= 0.0L) {
                taNew = kFloor;
            }
            break;
        case Chemical::NaHCO3:
        case Chemical::Na2CO3:
        case Chemical::CaCO3MgO:
        case Chemical::CaCO3:
            if (taNew <= 0.0L) {
                taNew = kFloor;
                dicNew = dic - ta / taFactor;
            }
            if (dicNew <= 0.0L) {
                dicNew = kFloor;
                taNew = ta - dic;
            }
            break;
        case Chemical::CO2:
            if (dicNew <= 0.0L) {
                dicNew = kFloor;
            }
            break;
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

        // A pass needs only the side of the target its value lies on. Probes settle it where
        // they can (see Settled); otherwise the search runs, and for pH 7.8 ends once the side is
        // known. The last pass, whose pH and ionic strength are the result, runs its search to
        // the end.
        s[slot::Dic] = dicNew;
        const kernel::Totals totals = kernel::ReadTotals(s);
        kernel::Settled settled;
        int position = 0;
        bool searched = false;
        kernel::SearchEnd end;
        const int pass = n - 2;
        const bool hinted = hints != nullptr && pass < hints->passes &&
                            kernel::SameBits(hints->dose[static_cast<std::size_t>(pass)], d);
        pure = kernel::CarbonateOnlyPH(c, gammaH, taNew, dicNew, pure);
        const long double guess =
            hinted ? hints->pH[static_cast<std::size_t>(pass)] : pure + estimate.Offset(d);
        // The pH the pass found, as far as it is known, for the guesses of later passes.
        long double passPH = kernel::kInfinity;
        if (target == Target::pH78) {
            position = SettlePH78(probes, totals, taNew, dicNew, k, guess, settled, nearPH78);
        } else {
            long double halfWidth = estimate.HalfWidth();
            kernel::SettleAround(probes, totals, taNew, dicNew, k, guess, halfWidth, kProbeBudget,
                                 settled);
            estimate.NoteHalfWidth(halfWidth);
            position = SettleSI(settled);
            if (position == 0 && settled.Bracketed() && settled.root < kernel::kInfinity) {
                // Too wide a bracket for the SI or for a short search: narrow it first.
                kernel::SettleAround(probes, totals, taNew, dicNew, k, settled.root, halfWidth,
                                     kProbeBudget, settled, true);
                position = SettleSI(settled);
            }
            passPH = PHOf(settled, guess);
        }
        if (position == 0) {
            const long double* settle = target == Target::pH78 ? &kPH78 : nullptr;
            end = kernel::SearchPH(trials, s, taNew, dicNew, settle, &settled);
            searched = true;
            position = end.side;
            if (position == 0) {
                const long double value =
                    target == Target::SI0
                        ? kernel::SaturationIndex(end.last->values.ca, end.last->values.co3, k)
                        : end.pH;
                const long double goal = target == Target::SI0 ? 0.0L : kPH78;
                position = value < goal ? -1 : value > goal ? 1 : 0;
                passPH = end.pH;
            }
        }
        if (passPH < kernel::kInfinity) {
            estimate.Note(d, passPH - pure, position);
        } else {
            // For pH 7.8 the side is what the next search needs first.
            passPH = position < 0 ? kPH78 - kNearPH78 : kPH78 + kNearPH78;
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
            if (!searched || end.side != 0) {
                end = kernel::SearchPH(trials, s, taNew, dicNew, nullptr, &settled);
            }
            const PHSolution ph = kernel::FinishSearch(k, c, end, s);
            out.pH = ph.pH;
            out.ionicStrength = ph.ionicStrength;
            out.si = ph.si;
        }
    } while (!last);

    out.speciations = trials.speciations + probes.speciations;
    if (hints != nullptr) {
        *hints = found;
    }
    out.dose = d;
    out.passes = n - 1;
    return out;
}

} // namespace zeb::chem
