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
                        long double ta, long double dic, long double t, long double ionicStrength) {
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

        // A pass needs only the side of the target its value lies on; the last pass, whose pH
        // and ionic strength are the result, gets its species and sums as well. For pH 7.8 the
        // side is known long before the pH itself, and the search ends there; the last pass,
        // known only after the bracket has moved, then runs its search again to the end.
        const long double* settle = target == Target::pH78 ? &kPH78 : nullptr;
        kernel::SearchEnd end = kernel::SearchPH(trials, s, taNew, dicNew, settle);
        out.speciations += end.trials;

        // Value below the target: an acid must be dosed less (removed), a base dosed more.
        const bool acid = chemical == Chemical::CO2;
        int position = end.side; // -1, 0, +1: below, on, above the target
        if (position == 0) {
            const long double value =
                target == Target::SI0
                    ? kernel::SaturationIndex(end.last->values.ca, end.last->values.co3, k)
                    : end.pH;
            const long double goal = target == Target::SI0 ? 0.0L : kPH78;
            position = value < goal ? -1 : value > goal ? 1 : 0;
        }
        if (position < 0) {
            (acid ? hi : lo) = d;
        } else if (position > 0) {
            (acid ? lo : hi) = d;
        }
        last = std::fabs(lo - hi) < kTolerance || n == kDoseMaxPassCounter;
        if (last) {
            if (end.side != 0) {
                end = kernel::SearchPH(trials, s, taNew, dicNew);
                out.speciations += end.trials;
            }
            const PHSolution ph = kernel::FinishSearch(k, c, end, s);
            out.pH = ph.pH;
            out.ionicStrength = ph.ionicStrength;
            out.si = ph.si;
        }
    } while (!last);

    out.dose = d;
    out.passes = n - 1;
    return out;
}

} // namespace zeb::chem
