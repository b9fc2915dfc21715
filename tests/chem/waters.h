#pragma once
// Realistic waters shared by the engine tests.

#include "chem/types.h"

namespace zeb::chem::testing {

struct TestWater {
    SpeciesVector species{};
    long double ta = 0;  // mmol/L
    long double dic = 0; // mmol/L
};

// Hard, calcite-supersaturated groundwater.
inline TestWater HardWater() {
    TestWater w;
    w.species[slot::CaTotal] = 3.5L;
    w.species[slot::MgTotal] = 1.0L;
    w.species[slot::So4Total] = 1.2L;
    w.species[slot::Na] = 1.0L;
    w.species[slot::K] = 0.1L;
    w.species[slot::Cl] = 1.5L;
    w.species[slot::No3] = 0.3L;
    w.ta = 5.9L;
    w.dic = 6.3L;
    return w;
}

// Soft reservoir water, strongly undersaturated.
inline TestWater SoftWater() {
    TestWater w;
    w.species[slot::CaTotal] = 0.3L;
    w.species[slot::MgTotal] = 0.1L;
    w.species[slot::So4Total] = 0.2L;
    w.species[slot::Na] = 0.3L;
    w.species[slot::Cl] = 0.3L;
    w.ta = 0.5L;
    w.dic = 0.6L;
    return w;
}

// Hard water with phosphate, ammonium, iron and manganese: every term of the model in use.
inline TestWater PhosphateWater() {
    TestWater w = HardWater();
    w.species[slot::Po4Total] = 0.05L;
    w.species[slot::Nh4] = 0.02L;
    w.species[slot::Fe] = 0.01L;
    w.species[slot::Mn] = 0.005L;
    return w;
}

} // namespace zeb::chem::testing
