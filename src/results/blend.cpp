#include "results/blend.h"

#include "app/number_format.h"
#include "chem/ionic_strength.h"
#include "chem/numeric.h"
#include "results/saturation.h"

#include <algorithm>
#include <vector>

namespace zeb::results {

namespace {

constexpr long double kFullShare = 100.0L;
constexpr long double kPercent = 0.01L;
constexpr long double kMinBlendPH = 2.0L;

// The share fields are read with the comma accepted but the sign kept, so that a typed
// negative share meets the rule that turns it into 0.
long double ReadShare(std::string_view text) {
    std::string s(text);
    if (auto comma = s.find(','); comma != std::string::npos)
        s[comma] = '.';
    return app::ParseNumber(s);
}

std::string Share(long double x) {
    return app::FormatFixed(x, 8, 3);
}

void PutIons(chem::SpeciesVector& s, long double ca, long double mg, long double so4,
             long double na, long double k, long double cl, long double no3, long double po4) {
    s[chem::slot::CaTotal] = ca;
    s[chem::slot::MgTotal] = mg;
    s[chem::slot::So4Total] = so4;
    s[chem::slot::Na] = na;
    s[chem::slot::K] = k;
    s[chem::slot::Cl] = cl;
    s[chem::slot::No3] = no3;
    s[chem::slot::Po4Total] = po4;
}

} // namespace

BlendShareFields NormalizeBlendShareFields(const BlendShareFields& fields) {
    BlendShareFields out = fields;
    app::NormalizeNumberText(out.a);
    app::NormalizeNumberText(out.b);
    out.c = Share(app::ParseNumber(fields.c));
    out.sum = Share(app::ParseNumber(fields.sum));
    return out;
}

BlendShareFields ApplyBlendShareRules(const BlendShareFields& fields) {
    long double a = std::max(ReadShare(fields.a), 0.0L);
    long double b = std::max(ReadShare(fields.b), 0.0L);
    // A tie goes to A: without that, 60/60 would leave C at -20 while the sum shows 100.
    if (a + b > kFullShare && a >= b) {
        a = kFullShare;
        b = 0.0L;
    }
    if (a + b > kFullShare && b > a) {
        a = 0.0L;
        b = kFullShare;
    }
    const long double c = kFullShare - a - b;
    return {Share(a), Share(b), Share(c), app::FormatFixed(a + b + c, 8, 0)};
}

BlendWater ParseBlendWater(const app::WaterAnalysis& water) {
    return ParseBlendWater(water, app::ParseNumber(water.blendPercent));
}

BlendWater ParseBlendWater(const app::WaterAnalysis& w, long double share) {
    auto num = [](const std::string& s) { return app::ParseNumber(s); };
    BlendWater b;
    b.pH = num(w.pH);
    b.tempPH = num(w.tempPH);
    b.tempCalc = num(w.tempCalc);
    b.ks43 = num(w.ks43);
    b.tempTitr43 = num(w.tempTitr43);
    b.kb82 = num(w.kb82);
    b.ks82 = num(w.ks82);
    b.tempTitr82 = num(w.tempTitr82);
    b.dic = num(w.dic);
    b.iosInput = num(w.iosInput);
    b.cNa = num(w.cNa);
    b.cK = num(w.cK);
    b.cCa = num(w.cCa);
    b.cMg = num(w.cMg);
    b.cCl = num(w.cCl);
    b.cNO3 = num(w.cNO3);
    b.cSO4 = num(w.cSO4);
    b.cPO4 = num(w.cPO4);
    b.share = share;
    b.useDIC = w.dicMode == "DIC";
    b.calculateIos = w.iosMode == "IOS";
    return b;
}

BlendColumn GetBlendColumn(int k) {
    return {k, chem::InputPairName({k, false}), chem::InputPairName({k, true})};
}

BlendWaterSolution SolveBlendWater(const BlendWater& w, bool iterate) {
    chem::SpeciesVector species;
    chem::ClearVector50(species);
    PutIons(species, w.cCa, w.cMg, w.cSO4, w.cNa, w.cK, w.cCl, w.cNO3, w.cPO4);
    chem::CarbonateMeasurements m;
    m.ks43 = w.ks43;
    m.kb82 = w.kb82;
    m.ks82 = w.ks82;
    m.dic = w.dic;
    m.pH = w.pH;
    m.t43 = w.tempTitr43;
    m.t82 = w.tempTitr82;
    m.tpH = w.tempPH;

    BlendWaterSolution sol;
    if (!iterate) {
        const chem::CarbonateState cs =
            chem::SolveCarbonateSystem(w.useDIC, species, m, w.iosInput);
        for (int k = 0; k < kBlendColumnCount; ++k) {
            sol.ta[k] = cs.ta[k];
            sol.dic[k] = cs.dic[k];
        }
        sol.ionicStrength = w.iosInput;
        return sol;
    }
    for (int k = 0; k < kBlendColumnCount; ++k) {
        chem::CarbonateState cs;
        chem::PHHint checkHint, hint;
        const chem::IonicStrengthIteration it = chem::IterateIonicStrength([&](long double ios) {
            cs = chem::SolveCarbonateSystem(w.useDIC, species, m, ios, k, &checkHint);
            return chem::SolvePHBisection(species, w.tempCalc, ios, cs.ta[k], cs.dic[k], &hint)
                .ionicStrength;
        });
        sol.ta[k] = cs.ta[k];
        sol.dic[k] = cs.dic[k];
        sol.ionicStrength = it.ionicStrength;
    }
    return sol;
}

BlendState MixBlend(std::span<const BlendWater> waters,
                    std::span<const BlendWaterSolution* const> solutions, bool iterate) {
    BlendState b;
    b.iterate = iterate;
    chem::ClearVector50(b.species);
    for (std::size_t i = 0; i < waters.size(); ++i) {
        const BlendWaterSolution* sol = i < solutions.size() ? solutions[i] : nullptr;
        if (!sol)
            continue;
        for (int k = 0; k < kBlendColumnCount; ++k) {
            b.mValue[k] += sol->ta[k] * waters[i].share;
            b.dicValue[k] += sol->dic[k] * waters[i].share;
        }
    }
    for (int k = 0; k < kBlendColumnCount; ++k) {
        b.mValue[k] *= kPercent;
        b.dicValue[k] *= kPercent;
    }

    long double temp = 0, ios = 0, ca = 0, mg = 0, so4 = 0, na = 0, k = 0, cl = 0, no3 = 0, po4 = 0;
    for (std::size_t i = 0; i < waters.size(); ++i) {
        const BlendWater& w = waters[i];
        const BlendWaterSolution* sol = i < solutions.size() ? solutions[i] : nullptr;
        const long double f = w.share;
        temp += w.tempCalc * f;
        ios += (sol ? sol->ionicStrength : w.iosInput) * f;
        ca += w.cCa * f;
        mg += w.cMg * f;
        so4 += w.cSO4 * f;
        na += w.cNa * f;
        k += w.cK * f;
        cl += w.cCl * f;
        no3 += w.cNO3 * f;
        po4 += w.cPO4 * f;
    }
    b.blendTemp = temp * kPercent;
    b.ionicStrength = ios * kPercent;
    PutIons(b.species, ca * kPercent, mg * kPercent, so4 * kPercent, na * kPercent, k * kPercent,
            cl * kPercent, no3 * kPercent, po4 * kPercent);
    return b;
}

bool AnyCalculatesIos(std::span<const BlendWater> waters) {
    return std::any_of(waters.begin(), waters.end(),
                       [](const BlendWater& w) { return w.calculateIos; });
}

std::optional<BlendState> BlendFormation(std::span<const BlendWater> waters) {
    const bool someWater = std::any_of(waters.begin(), waters.end(), [](const BlendWater& w) {
        return w.pH > kMinBlendPH && w.ks43 > 0.0L;
    });
    const bool someShare = std::any_of(waters.begin(), waters.end(),
                                       [](const BlendWater& w) { return w.share > 0.0L; });
    if (!someWater || !someShare)
        return std::nullopt;

    const bool iterate = AnyCalculatesIos(waters);
    std::vector<BlendWaterSolution> storage(waters.size());
    std::vector<const BlendWaterSolution*> solutions(waters.size(), nullptr);
    for (std::size_t i = 0; i < waters.size(); ++i) {
        if (waters[i].ks43 > 0.0L && waters[i].pH > 0.0L) {
            storage[i] = SolveBlendWater(waters[i], iterate);
            solutions[i] = &storage[i];
        }
    }
    return MixBlend(waters, solutions, iterate);
}

chem::PHSolution SolveBlendPH(const BlendState& blend, int k, chem::SpeciesVector& species) {
    species = blend.species;
    chem::PHSolution ph;
    chem::PHHint hint;
    chem::IterateIonicStrength(blend.iterate, blend.ionicStrength, [&](long double ios) {
        ph = chem::SolvePHBisection(species, blend.blendTemp, ios, blend.mValue[k],
                                    blend.dicValue[k], &hint);
        return ph.ionicStrength;
    });
    return ph;
}

chem::DoseResult DoseBlend(const BlendState& blend, int k, const chem::SpeciesVector& species,
                           chem::Chemical chemical, chem::Target target) {
    return DoseWithIonicStrength(chemical, target,
                                 {species, blend.mValue[k], blend.dicValue[k], blend.blendTemp},
                                 {blend.iterate, blend.ionicStrength});
}

} // namespace zeb::results
