#include "results/species.h"

#include "chem/carbonate.h"
#include "chem/constants.h"
#include "chem/ionic_strength.h"
#include "chem/speciation.h"

#include <future>

namespace zeb::results {

namespace s = chem::slot;

const std::array<SpeciesRow, kSpeciesCount> kSpeciesRows = {{
    {"H+", s::H},
    {"OH-", s::Oh},
    {"CO2", s::Co2},
    {"HCO3-", s::Hco3},
    {"CO3--", s::Co3},
    {"Ca++", s::Ca},
    {"Mg++", s::Mg},
    {"SO4--", s::So4},
    {"CaHCO3+", s::CaHco3},
    {"CaCO3", s::CaCo3},
    {"CaSO4", s::CaSo4},
    {"MgHCO3+", s::MgHco3},
    {"MgCO3", s::MgCo3},
    {"MgSO4", s::MgSo4},
    {"HSO4-", s::Hso4},
    {"CaOH+", s::CaOh},
    {"MgOH+", s::MgOh},
    {"PO4---", s::Po4},
    {"H3PO4", s::H3po4},
    {"H2PO4-", s::H2po4},
    {"HPO4--", s::Hpo4},
    {"CaH2PO4+", s::CaH2po4},
    {"CaHPO4", s::CaHpo4},
    {"CaPO4-", s::CaPo4},
    {"MgH2PO4+", s::MgH2po4},
    {"MgHPO4", s::MgHpo4},
    {"MgPO4-", s::MgPo4},
}};

SpeciesColumn ComputeSpeciesColumn(const WaterInputs& in, int row) {
    SpeciesColumn out;
    chem::SpeciesVector species{};
    chem::SpeciationResult last;
    chem::PHHint checkHint, hint;
    auto step = [&](long double ionicStrength) {
        const chem::CarbonateState cs = chem::SolveCarbonateSystem(
            in.useDic, in.species, in.measured, ionicStrength, row, &checkHint);
        out.mValue = cs.ta[row];
        out.dic = cs.dic[row];
        species = in.species;
        // One constant set serves the pH search and the speciation at the pH it finds.
        chem::EquilibriumConstants k;
        long double gammaH = 1.0L;
        chem::ComputeConstants(in.tCalc, ionicStrength, gammaH, k);
        const chem::PHSolution ph =
            chem::SolvePHBisection(k, gammaH, species, out.mValue, out.dic, &hint);
        out.pH = ph.pH;
        last = chem::Speciate(k, species, ph.pH, gammaH);
        out.speciations += ph.speciations + 1;
        return last.ionicStrength;
    };
    out.passes =
        chem::IterateIonicStrength(in.ionicStrength.calculate, in.ionicStrength.entered, step)
            .passes;
    out.pValue = out.mValue - out.dic;
    out.anions = last.sumAnions;
    out.cations = last.sumCations;
    for (int i = 0; i < kSpeciesCount; ++i) {
        out.species[i] = species[kSpeciesRows[i].slot];
    }
    return out;
}

SpeciesResult ComputeSpecies(const app::WaterAnalysis& water, Execution execution,
                             Progress* progress) {
    SpeciesResult out;
    const WaterInputs in = ParseWaterInputs(water);
    out.useDic = in.useDic;
    if (!PassesGuard(in)) {
        return out;
    }
    out.computed = true;
    out.tCalc = in.tCalc;
    if (execution == Execution::Parallel) {
        std::array<std::future<SpeciesColumn>, kColumns> futures;
        for (int k = 0; k < kColumns; ++k) {
            futures[k] = std::async(std::launch::async, ComputeSpeciesColumn, std::cref(in), k);
        }
        for (int k = 0; k < kColumns; ++k) {
            out.columns[k] = futures[k].get();
            Step(progress);
        }
    } else {
        for (int k = 0; k < kColumns; ++k) {
            out.columns[k] = ComputeSpeciesColumn(in, k);
            Step(progress);
        }
    }
    for (const SpeciesColumn& c : out.columns) {
        out.speciations += c.speciations;
    }
    return out;
}

} // namespace zeb::results
