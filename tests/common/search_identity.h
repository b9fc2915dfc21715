#pragma once
// One random water's searches, the engine's against the plain ones (plain_searches.h): the
// carbonate system (all rows, and the row of the case alone), the pH search of one input pair's
// TA and DIC, then one dose search (chemical and target cycling with
// the index), every fifth on a water first brought to the target by the engine itself, so that
// its dose lies near zero. Shared by the test and by bench/tools/search_identity.cpp.

#include "plain_searches.h"
#include "random_waters.h"

#include "chem/carbonate.h"
#include "chem/ionic_strength.h"
#include "results/saturation.h"

#include <cstdint>
#include <cstring>
#include <random>
#include <sstream>
#include <string>

namespace zeb::test {

struct SearchCase {
    SpeciesVector species{};
    long double ta = 0, dic = 0, t = 0, ionicStrength = 0;
    Chemical chemical = Chemical::CaCO3;
    Target target = Target::SI0;
};

inline SearchCase MakeSearchCase(std::uint64_t index) {
    const results::WaterInputs in = results::ParseWaterInputs(RandomWater(index));
    std::mt19937_64 rng(index ^ 0x2545F4914F6CDD1DULL);
    SearchCase c;
    c.species = in.species;
    c.t = in.tCalc;
    c.ionicStrength = in.ionicStrength.calculate
                          ? 40.0L * static_cast<long double>(rng() >> 11) * 0x1p-53L
                          : in.ionicStrength.entered;
    const int row = static_cast<int>(index % 3);
    const CarbonateState st =
        SolveCarbonateSystem(in.useDic, in.species, in.measured, c.ionicStrength);
    c.ta = st.ta[row];
    c.dic = st.dic[row];
    c.chemical = kAllChemicals[index % 7];
    c.target = (index / 7) % 2 == 0 ? Target::SI0 : Target::pH78;
    return c;
}

inline bool SameBits(long double a, long double b) {
    return std::memcmp(&a, &b, 10) == 0;
}

// Dose, pH, ionic strength and SI the same to the bit.
inline bool SameDose(const DoseResult& x, const DoseResult& y) {
    return SameBits(x.dose, y.dose) && SameBits(x.pH, y.pH) &&
           SameBits(x.ionicStrength, y.ionicStrength) && SameBits(x.si, y.si);
}

// "" when every value agrees to the bit, else what differs.
inline std::string CompareSearches(std::uint64_t index) {
    SearchCase c = MakeSearchCase(index);
    std::ostringstream diff;
    EquilibriumConstants k;
    long double gammaH = 0;
    ComputeConstants(c.t, c.ionicStrength, gammaH, k);
    // A nearby ionic strength, whose searches pass their hints on as the iteration does.
    const long double nearby = c.ionicStrength * 1.001L + (index % 2 == 0 ? 0.01L : 1.0L);
    SpeciesVector plain = c.species;
    const PHSolution b = PlainSolvePH(k, gammaH, plain, c.ta, c.dic);
    PHHint hint;
    {
        EquilibriumConstants kNearby;
        long double gammaNearby = 0;
        ComputeConstants(c.t, nearby, gammaNearby, kNearby);
        SpeciesVector s = c.species;
        SolvePHBisection(kNearby, gammaNearby, s, c.ta, c.dic, &hint);
    }
    SpeciesVector fast = c.species;
    for (PHHint* h : {static_cast<PHHint*>(nullptr), &hint}) {
        fast = c.species;
        const PHSolution a = SolvePHBisection(k, gammaH, fast, c.ta, c.dic, h);
        const bool speciesSame = std::memcmp(fast.data(), plain.data(), sizeof fast) == 0;
        if (!SameBits(a.pH, b.pH) || !SameBits(a.ionicStrength, b.ionicStrength) ||
            !SameBits(a.sumCations, b.sumCations) || !SameBits(a.sumAnions, b.sumAnions) ||
            !SameBits(a.si, b.si) || !speciesSame) {
            diff << "pH search" << (h != nullptr ? " with hint" : "") << ": pH "
                 << static_cast<double>(a.pH) << " vs " << static_cast<double>(b.pH) << "; ";
        }
    }

    // The carbonate system, all rows at once and the case's row alone.
    const results::WaterInputs in = results::ParseWaterInputs(RandomWater(index));
    const CarbonateState full =
        SolveCarbonateSystem(in.useDic, in.species, in.measured, c.ionicStrength);
    const int row = static_cast<int>(index % 3);
    const CarbonateState one =
        SolveCarbonateSystem(in.useDic, in.species, in.measured, c.ionicStrength, row);
    PHHint checkHint;
    SolveCarbonateSystem(in.useDic, in.species, in.measured, nearby, row, &checkHint);
    const CarbonateState hinted =
        SolveCarbonateSystem(in.useDic, in.species, in.measured, c.ionicStrength, row, &checkHint);
    // Without the check, which is formed afterwards, as the iteration of a column does.
    CarbonateState deferred = SolveCarbonateSystem(in.useDic, in.species, in.measured,
                                                   c.ionicStrength, row, nullptr, false);
    deferred.check[static_cast<std::size_t>(row)] =
        CarbonateCheck(in.species, in.measured, c.ionicStrength, row, deferred);
    const CarbonateState ref =
        PlainSolveCarbonateSystem(in.useDic, in.species, in.measured, c.ionicStrength);
    auto sameRow = [&ref](const CarbonateState& x, int i) {
        return SameBits(x.ta[i], ref.ta[i]) && SameBits(x.dic[i], ref.dic[i]) &&
               SameBits(x.check[i], ref.check[i]);
    };
    for (int i = 0; i < 3; ++i) {
        if (!sameRow(full, i) ||
            (i == row && (!sameRow(one, i) || !sameRow(hinted, i) || !sameRow(deferred, i)))) {
            diff << "carbonate row " << i << ": TA " << static_cast<double>(full.ta[i]) << " vs "
                 << static_cast<double>(ref.ta[i]) << "; ";
        }
    }

    SpeciesVector water = fast;
    if (index % 5 == 4) {
        // Near equilibrium: the water after the engine's own dose to the target.
        if (c.target == Target::SI0) {
            const DoseResult eq = DoseToTarget(Chemical::CaCO3, Target::SI0, water, c.ta, c.dic,
                                               c.t, c.ionicStrength);
            c.ta += 2.0L * eq.dose;
            c.dic += eq.dose;
            water[slot::CaTotal] += eq.dose;
        } else {
            const DoseResult eq = DoseToTarget(Chemical::NaOH, Target::pH78, water, c.ta, c.dic,
                                               c.t, c.ionicStrength);
            c.ta += eq.dose;
            water[slot::Na] += eq.dose;
        }
    }
    const DoseResult y =
        PlainDoseToTarget(c.chemical, c.target, water, c.ta, c.dic, c.t, c.ionicStrength);
    // Alone, and with the hints of a search at a nearby ionic strength, as the iteration of the
    // ionic strength passes them on; and at the end of a chain of three, whose hints carry what
    // each search took over from the one before.
    DoseHints hints, chained;
    DoseToTarget(c.chemical, c.target, water, c.ta, c.dic, c.t, nearby, &hints);
    for (long double step : {c.ionicStrength * 1.03L + 0.5L, nearby}) {
        DoseToTarget(c.chemical, c.target, water, c.ta, c.dic, c.t, step, &chained);
    }
    for (const DoseResult& x :
         {DoseToTarget(c.chemical, c.target, water, c.ta, c.dic, c.t, c.ionicStrength),
          DoseToTarget(c.chemical, c.target, water, c.ta, c.dic, c.t, c.ionicStrength, &hints),
          DoseToTarget(c.chemical, c.target, water, c.ta, c.dic, c.t, c.ionicStrength, &chained)}) {
        if (!SameDose(x, y) || x.passes != y.passes) {
            diff << ChemicalName(c.chemical) << " " << TargetName(c.target) << ": dose "
                 << static_cast<double>(x.dose) << " vs " << static_cast<double>(y.dose) << ", pH "
                 << static_cast<double>(x.pH) << " vs " << static_cast<double>(y.pH) << "; ";
        }
    }
    // Every twentieth water: the whole iteration of the ionic strength as the results run it,
    // each pass taking over what the one before found, against plain searches.
    if (index % 20 == 3) {
        const results::SolvedWater solved{water, c.ta, c.dic, c.t};
        const DoseResult x =
            results::DoseWithIonicStrength(c.chemical, c.target, solved, {true, 0.0L});
        DoseResult y;
        IterateIonicStrength(true, 0.0L, [&](long double ionicStrength) {
            y = PlainDoseToTarget(c.chemical, c.target, water, c.ta, c.dic, c.t, ionicStrength);
            return y.ionicStrength;
        });
        if (!SameDose(x, y)) {
            diff << ChemicalName(c.chemical) << " " << TargetName(c.target)
                 << " over the iteration of the ionic strength: dose "
                 << static_cast<double>(x.dose) << " vs " << static_cast<double>(y.dose) << "; ";
        }
    }
    return diff.str();
}

} // namespace zeb::test
