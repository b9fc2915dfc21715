#include "results/blend_series.h"

namespace zeb::results {

namespace {

constexpr long double kMolarMassCaCO3 = 100.088L;
constexpr long double kMolarMassSO4 = 96.006L;
constexpr long double kMolarMassNO3 = 62.008L;

} // namespace

BlendSeriesResult ComputeBlendSeries(const app::WaterAnalysis& first,
                                     const app::WaterAnalysis& second) {
    BlendSeriesResult r;
    r.text1 = first.text;
    r.text2 = second.text;
    std::array<BlendWater, 2> waters{ParseBlendWater(first, 0.0L), ParseBlendWater(second, 0.0L)};
    if (!(waters[0].ks43 > 0.0L) || !(waters[1].ks43 > 0.0L))
        return r;
    r.computed = true;

    const bool iterate = AnyCalculatesIos(waters);
    const std::array<BlendWaterSolution, 2> solved{SolveBlendWater(waters[0], iterate),
                                                   SolveBlendWater(waters[1], iterate)};
    const std::array<const BlendWaterSolution*, 2> solutions{&solved[0], &solved[1]};

    chem::SpeciesVector species;
    for (int j = 0; j < kBlendSeriesSteps; ++j) {
        BlendSeriesColumn& col = r.columns[j];
        col.share1 = 100 - 10 * j;
        col.share2 = 10 * j;
        waters[0].share = col.share1;
        waters[1].share = col.share2;
        const BlendState blend = MixBlend(waters, solutions, iterate);
        col.tCalc = blend.blendTemp;
        col.hardness = blend.species[chem::slot::CaTotal] + blend.species[chem::slot::MgTotal];
        col.so4Mg = blend.species[chem::slot::So4Total] * kMolarMassSO4;
        col.no3Mg = blend.species[chem::slot::No3] * kMolarMassNO3;
        for (int k = 0; k < kBlendColumnCount; ++k) {
            col.pH[k] = SolveBlendPH(blend, k, species).pH;
            col.dcMg[k] =
                DoseBlend(blend, k, species, chem::Chemical::CaCO3, chem::Target::SI0).dose *
                kMolarMassCaCO3;
        }
    }
    return r;
}

} // namespace zeb::results
