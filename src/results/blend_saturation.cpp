#include "results/blend_saturation.h"

#include <future>

namespace zeb::results {

BlendSaturationColumnResult ComputeBlendSaturationColumn(const BlendState& blend, int k,
                                                         Progress* progress) {
    BlendSaturationColumnResult out;
    BlendSaturationColumn& v = out.values;
    chem::SpeciesVector species;
    const chem::PHSolution ph = SolveBlendPH(blend, k, species);
    Step(progress);
    v.mValue = blend.mValue[k];
    v.dic = blend.dicValue[k];
    v.pH = ph.pH;
    v.si = ph.si;
    v.ionicStrength = ph.ionicStrength;

    // The dosage tables dose CaCO3 and CO2 to SI = 0 with exactly the arguments that Dc, pHc
    // and "pH A" need, so those rows are taken from there.
    const SolvedWater water{species, blend.mValue[k], blend.dicValue[k], blend.blendTemp};
    out.dosage = ComputeDosageColumn(water, {blend.iterate, blend.ionicStrength}, progress);
    const auto& si0 = out.dosage.values[static_cast<int>(chem::Target::SI0)];
    const DosageValues& caco3 = si0[static_cast<int>(chem::Chemical::CaCO3)];
    v.pHc = caco3.pH;
    v.dcMmol = caco3.doseMmol;
    v.dcMg = caco3.doseMmol * kCaCO3MolarMass;
    v.pHA = si0[static_cast<int>(chem::Chemical::CO2)].pH;
    Step(progress, 2); // Dc with pHc, and "pH A"
    out.speciations = ph.speciations + out.dosage.speciations;
    return out;
}

BlendSaturation ComputeBlendSaturation(const std::array<app::WaterAnalysis, 3>& waters,
                                       Execution execution, Progress* progress) {
    BlendSaturation out;
    std::array<BlendWater, 3> parsed;
    for (int i = 0; i < 3; ++i) {
        parsed[i] = ParseBlendWater(waters[i]);
        out.shares[i] = parsed[i].share;
        out.shareTexts[i] = waters[i].blendPercent;
        out.texts[i] = waters[i].text;
    }
    const std::optional<BlendState> blend = BlendFormation(parsed);
    Step(progress);
    if (!blend)
        return out;
    out.computed = true;
    out.blend = *blend;

    std::array<BlendSaturationColumnResult, kBlendColumnCount> columns;
    if (execution == Execution::Parallel) {
        std::array<std::future<BlendSaturationColumnResult>, kBlendColumnCount> futures;
        for (int k = 0; k < kBlendColumnCount; ++k)
            futures[k] = std::async(std::launch::async, ComputeBlendSaturationColumn,
                                    std::cref(out.blend), k, progress);
        for (int k = 0; k < kBlendColumnCount; ++k)
            columns[k] = futures[k].get();
    } else {
        for (int k = 0; k < kBlendColumnCount; ++k)
            columns[k] = ComputeBlendSaturationColumn(out.blend, k, progress);
    }
    for (int k = 0; k < kBlendColumnCount; ++k) {
        out.columns[k] = columns[k].values;
        out.dosage.SetColumn(k, columns[k].dosage);
        out.speciations += columns[k].speciations;
    }
    return out;
}

} // namespace zeb::results
