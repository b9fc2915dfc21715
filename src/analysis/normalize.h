#pragma once
// The analysis form's "normalise every field" step as a pure function on a record, so that the
// form, the analysis check and the command line all read an analysis the same way.

#include "app/project.h"

namespace zeb::analysis {

// What the analysis form does to its fields when it is shown, on "&OK" and before "&Test":
// 1. the single values, Fe, Mn and the derived rows get the entry-field rule (first comma to a
//    point, absolute value, 8 wide with 3 decimals);
// 2. every ion field is rewritten 8 wide with 3 decimals, keeping its sign;
// 3. the hardness is recomputed from the mmol/L values of Ca and Mg (mmol/L and degrees dH).
// Texts are not cut to the 10 characters of a stored value: the form holds them uncut.
void NormalizeAllFields(app::WaterAnalysis& water);

} // namespace zeb::analysis
