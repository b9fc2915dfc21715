#include "analysis/normalize.h"

#include "app/number_format.h"

namespace zeb::analysis {

namespace {

using Field = std::string app::WaterAnalysis::*;

// In the order in which the form works through them.
constexpr Field kNormalized[] = {
    &app::WaterAnalysis::pH,           &app::WaterAnalysis::tempPH,
    &app::WaterAnalysis::conductivity, &app::WaterAnalysis::ks43,
    &app::WaterAnalysis::kb82,         &app::WaterAnalysis::ks82,
    &app::WaterAnalysis::tempTitr82,   &app::WaterAnalysis::tempCalc,
    &app::WaterAnalysis::iosInput,     &app::WaterAnalysis::dic,
    &app::WaterAnalysis::toc,          &app::WaterAnalysis::oxygen,
    &app::WaterAnalysis::hardnessMmol, &app::WaterAnalysis::hardnessDH,
    &app::WaterAnalysis::tempTitr43,   &app::WaterAnalysis::cFe,
    &app::WaterAnalysis::massFe,       &app::WaterAnalysis::cMn,
    &app::WaterAnalysis::massMn,       &app::WaterAnalysis::cO2Demand,
    &app::WaterAnalysis::massO2Demand,
};

constexpr Field kIons[] = {
    &app::WaterAnalysis::cNa,     &app::WaterAnalysis::cK,      &app::WaterAnalysis::cCa,
    &app::WaterAnalysis::cMg,     &app::WaterAnalysis::cCl,     &app::WaterAnalysis::cNO3,
    &app::WaterAnalysis::cSO4,    &app::WaterAnalysis::massNa,  &app::WaterAnalysis::massK,
    &app::WaterAnalysis::massCa,  &app::WaterAnalysis::massMg,  &app::WaterAnalysis::massCl,
    &app::WaterAnalysis::massNO3, &app::WaterAnalysis::massSO4, &app::WaterAnalysis::cPO4,
    &app::WaterAnalysis::cNH4,    &app::WaterAnalysis::massPO4, &app::WaterAnalysis::massNH4,
    &app::WaterAnalysis::cFe,     &app::WaterAnalysis::cMn,     &app::WaterAnalysis::massFe,
    &app::WaterAnalysis::massMn,
};

// Degrees of German hardness per mmol/L of Ca + Mg.
constexpr long double kMmolPerDegreeDH = 0.1783L;

} // namespace

void NormalizeAllFields(app::WaterAnalysis& water) {
    for (Field f : kNormalized) {
        app::NormalizeNumberText(water.*f);
    }
    for (Field f : kIons) {
        water.*f = app::FormatFixed(app::ParseNumber(water.*f), 8, 3);
    }
    const long double hardness = app::ParseNumber(water.cCa) + app::ParseNumber(water.cMg);
    water.hardnessMmol = app::FormatFixed(hardness, 8, 3);
    water.hardnessDH = app::FormatFixed(hardness / kMmolPerDegreeDH, 8, 3);
}

} // namespace zeb::analysis
