#include "results/saturation.h"

#include "app/number_format.h"
#include "app/texts.h"
#include "chem/ionic_strength.h"
#include "chem/numeric.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <limits>

namespace zeb::results {

namespace {

constexpr long double kPHAgreementLimit = 0.05L;
constexpr long double kSodiumMolarMass = 22.99L;

long double Value(const std::string& text) {
    return app::ParseNumber(text);
}

// What a mmol/L of each chemical adds to the water: m-value, DIC and sodium, per chem::Chemical.
struct ChemicalEffect {
    long double molarMass;
    long double mChange;
    long double dicChange;
    long double sodiumChange;
};
constexpr ChemicalEffect kEffects[kChemicals] = {
    {100.088L, 2, 1, 0}, // CaCO3
    {140.392L, 4, 1, 0}, // CaCO3MgO
    {74.078L, 2, 0, 0},  // Ca(OH)2
    {44.009L, 0, 1, 0},  // CO2
    {39.989L, 1, 0, 1},  // NaOH
    {105.988L, 2, 1, 2}, // Na2CO3
    {83.998L, 1, 1, 1},  // NaHCO3
};

const ChemicalEffect& Effect(chem::Chemical c) {
    return kEffects[static_cast<int>(c)];
}

constexpr chem::Target kTargetsInOrder[kTargets] = {chem::Target::SI0, chem::Target::pH78};

} // namespace

WaterInputs ParseWaterInputs(const app::WaterAnalysis& w) {
    WaterInputs in;
    chem::ClearVector50(in.species);
    in.species[chem::slot::Na] = Value(w.cNa);
    in.species[chem::slot::K] = Value(w.cK);
    in.species[chem::slot::CaTotal] = Value(w.cCa);
    in.species[chem::slot::MgTotal] = Value(w.cMg);
    in.species[chem::slot::Cl] = Value(w.cCl);
    in.species[chem::slot::No3] = Value(w.cNO3);
    in.species[chem::slot::So4Total] = Value(w.cSO4);
    in.species[chem::slot::Po4Total] = Value(w.cPO4);
    in.species[chem::slot::Nh4] = Value(w.cNH4);
    in.species[chem::slot::Fe] = Value(w.cFe);
    in.species[chem::slot::Mn] = Value(w.cMn);

    in.measured.ks43 = Value(w.ks43);
    in.measured.kb82 = Value(w.kb82);
    in.measured.ks82 = Value(w.ks82);
    in.measured.dic = Value(w.dic);
    in.measured.pH = Value(w.pH);
    in.measured.t43 = Value(w.tempTitr43);
    in.measured.t82 = Value(w.tempTitr82);
    in.measured.tpH = Value(w.tempPH);

    in.tCalc = Value(w.tempCalc);
    in.useDic = w.dicMode == "DIC";
    in.ionicStrength.calculate = w.iosMode == "IOS";
    in.ionicStrength.entered = Value(w.iosInput);
    return in;
}

bool PassesGuard(const WaterInputs& in) {
    return in.measured.pH > 2.0L && in.measured.ks43 > 0.0L;
}

std::array<std::string_view, kColumns> ColumnNames(bool useDic) {
    std::array<std::string_view, kColumns> names;
    for (int row = 0; row < kColumns; ++row) {
        names[row] = chem::InputPairName({row, useDic});
    }
    return names;
}

ColumnSolution SolveColumn(const WaterInputs& in, int row) {
    ColumnSolution s;
    chem::PHHint hint;
    // Only the check of the last pass is kept: it is formed once the iteration has ended.
    long double lastIonicStrength = 0;
    auto step = [&](long double ionicStrength) {
        s.carbonate = chem::SolveCarbonateSystem(in.useDic, in.species, in.measured, ionicStrength,
                                                 row, nullptr, false);
        lastIonicStrength = ionicStrength;
        s.mValue = s.carbonate.ta[row];
        s.dic = s.carbonate.dic[row];
        s.species = in.species;
        s.ph = chem::SolvePHBisection(s.species, in.tCalc, ionicStrength, s.mValue, s.dic, &hint);
        s.speciations += s.ph.speciations;
        return s.ph.ionicStrength;
    };
    s.passes =
        chem::IterateIonicStrength(in.ionicStrength.calculate, in.ionicStrength.entered, step)
            .passes;
    s.carbonate.check[static_cast<std::size_t>(row)] =
        chem::CarbonateCheck(in.species, in.measured, lastIonicStrength, row, s.carbonate);
    return s;
}

bool PHValuesDisagree(long double pH1, long double pH2, long double pH3) {
    return std::fabs(pH3 - pH2) > kPHAgreementLimit || std::fabs(pH3 - pH1) > kPHAgreementLimit;
}

std::string PHAgreementText(bool disagree) {
    return std::string(app::GermanText(disagree ? "TForm4.diffAbove" : "TForm4.diffBelow"));
}

chem::DoseResult DoseWithIonicStrength(chem::Chemical chemical, chem::Target target,
                                       const SolvedWater& water, const IonicStrengthMode& mode) {
    chem::DoseResult result;
    int speciations = 0;
    // Near the tolerance the ionic strength can fall into a two-value cycle that runs the whole
    // 50 passes; DoseToTarget is a pure function of its arguments, so a pass at an ionic
    // strength seen before gives bit for bit the result already known.
    struct Seen {
        long double ionicStrength;
        chem::DoseResult result;
    };
    std::array<Seen, 2> seen{};
    int seenCount = 0;
    chem::DoseHints hints;
    auto step = [&](long double ionicStrength) {
        for (int i = 0; i < std::min(seenCount, 2); ++i) {
            const Seen& s = seen[i];
            if (s.ionicStrength == ionicStrength &&
                std::signbit(s.ionicStrength) == std::signbit(ionicStrength)) {
                result = s.result;
                return result.ionicStrength;
            }
        }
        result = chem::DoseToTarget(chemical, target, water.species, water.mValue, water.dic,
                                    water.temperature, ionicStrength, &hints);
        speciations += result.speciations;
        seen[seenCount++ % 2] = {ionicStrength, result};
        return result.ionicStrength;
    };
    chem::IterateIonicStrength(mode.calculate, mode.entered, step);
    result.speciations = speciations;
    return result;
}

bool HasSodiumRow(chem::Chemical chemical) {
    return Effect(chemical).sodiumChange != 0;
}

long double MolarMass(chem::Chemical chemical) {
    return Effect(chemical).molarMass;
}

DosageValues DosageValuesFor(chem::Chemical chemical, const chem::DoseResult& dose,
                             const SolvedWater& water) {
    const ChemicalEffect& e = Effect(chemical);
    const long double d = dose.dose;
    DosageValues v;
    v.doseMmol = d;
    v.doseMg = d * e.molarMass;
    v.pH = dose.pH;
    v.ionicStrength = dose.ionicStrength;
    v.mValue = water.mValue + e.mChange * d;
    v.pValue = (water.mValue + e.mChange * d) - (water.dic + e.dicChange * d);
    if (e.sodiumChange != 0) {
        v.sodiumMg = (water.species[chem::slot::Na] + e.sodiumChange * d) * kSodiumMolarMass;
    }
    return v;
}

DosageColumn ComputeDosageColumn(const SolvedWater& water, const IonicStrengthMode& mode,
                                 Progress* progress) {
    DosageColumn out;
    for (chem::Target target : kTargetsInOrder) {
        for (chem::Chemical chemical : chem::kAllChemicals) {
            const chem::DoseResult r = DoseWithIonicStrength(chemical, target, water, mode);
            Step(progress);
            out.speciations += r.speciations;
            out.values[static_cast<int>(target)][static_cast<int>(chemical)] =
                DosageValuesFor(chemical, r, water);
        }
    }
    return out;
}

void DosageTables::SetColumn(int column, const DosageColumn& dosage) {
    for (int t = 0; t < kTargets; ++t) {
        for (int c = 0; c < kChemicals; ++c) {
            values[t][c][column] = dosage.values[t][c];
        }
    }
}

SaturationColumnResult ComputeSaturationColumn(const WaterInputs& in, int row, Dosage dosage,
                                               Progress* progress) {
    SaturationColumnResult out;
    const ColumnSolution s = SolveColumn(in, row);
    Step(progress);
    SaturationColumn& v = out.values;
    v.mValue = s.mValue;
    v.dic = s.dic;
    v.pValue = s.mValue - s.dic;
    v.anions = s.ph.sumAnions;
    v.cations = s.ph.sumCations;
    v.pH = s.ph.pH;
    v.si = s.ph.si;
    v.ionicStrength = s.ph.ionicStrength;
    out.calculated = s.carbonate.check[row];

    // Dc, pHc and "pH A" are the CaCO3 and CO2 doses to SI = 0, which the dosage tables compute
    // with exactly the same arguments; taking them from there spares two of the 44 searches.
    const SolvedWater water{s.species, s.mValue, s.dic, in.tCalc};
    if (dosage == Dosage::None) {
        const chem::DoseResult dc = DoseWithIonicStrength(chem::Chemical::CaCO3, chem::Target::SI0,
                                                          water, in.ionicStrength);
        v.pHc = dc.pH;
        v.dcMmol = dc.dose;
        v.dcMg = dc.dose * kCaCO3MolarMass;
        v.pHA = std::numeric_limits<long double>::quiet_NaN();
        out.speciations = s.speciations + dc.speciations;
        return out;
    }
    out.dosage = ComputeDosageColumn(water, in.ionicStrength, progress);
    const auto& si0 = out.dosage.values[static_cast<int>(chem::Target::SI0)];
    const DosageValues& caco3 = si0[static_cast<int>(chem::Chemical::CaCO3)];
    v.pHc = caco3.pH;
    v.dcMmol = caco3.doseMmol;
    v.dcMg = caco3.doseMmol * kCaCO3MolarMass;
    v.pHA = si0[static_cast<int>(chem::Chemical::CO2)].pH;
    Step(progress, 2); // Dc with pHc, and "pH A"
    out.speciations = s.speciations + out.dosage.speciations;
    return out;
}

WaterSaturation ComputeSaturation(const app::WaterAnalysis& water, Execution execution,
                                  Dosage dosage, Progress* progress) {
    WaterSaturation out = ComputeSaturation(ParseWaterInputs(water), execution, dosage, progress);
    out.conductivity = analysis::ComputeConductivityFigures(water);
    return out;
}

WaterSaturation ComputeSaturation(const WaterInputs& in, Execution execution, Dosage dosage,
                                  Progress* progress) {
    WaterSaturation out;
    Step(progress); // the inputs
    out.useDic = in.useDic;
    if (!PassesGuard(in)) {
        return out;
    }
    out.computed = true;
    out.tCalc = in.tCalc;

    std::array<SaturationColumnResult, kColumns> columns;
    if (execution == Execution::Parallel) {
        std::array<std::future<SaturationColumnResult>, kColumns> futures;
        for (int k = 0; k < kColumns; ++k) {
            futures[k] = std::async(std::launch::async, ComputeSaturationColumn, std::cref(in), k,
                                    dosage, progress);
        }
        for (int k = 0; k < kColumns; ++k) {
            columns[k] = futures[k].get();
        }
    } else {
        for (int k = 0; k < kColumns; ++k) {
            columns[k] = ComputeSaturationColumn(in, k, dosage, progress);
        }
    }

    for (int k = 0; k < kColumns; ++k) {
        out.columns[k] = columns[k].values;
        out.dosage.SetColumn(k, columns[k].dosage);
        out.speciations += columns[k].speciations;
    }
    out.pHCalculated = columns[0].calculated;
    out.pHMeasured = in.measured.pH;
    out.kb82Calculated = columns[1].calculated;
    out.kb82Measured = in.measured.kb82 - in.measured.ks82;
    out.ks43Calculated = columns[2].calculated;
    out.ks43Measured = in.measured.ks43;
    out.pHDisagree = PHValuesDisagree(out.columns[0].pH, out.columns[1].pH, out.columns[2].pH);
    out.pHAgreement = PHAgreementText(out.pHDisagree);
    return out;
}

} // namespace zeb::results
