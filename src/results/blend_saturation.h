#pragma once
// State of calcite saturation of the blend of A, B and C in their stored shares: the blend
// assessed column by column as one water, with the dosage tables of the single water.

#include "app/project.h"
#include "results/blend.h"
#include "results/saturation.h"

#include <array>
#include <string>

namespace zeb::results {

struct BlendSaturationColumn {
    long double mValue = 0;        // row 1, mmol/L
    long double dic = 0;           // row 2, mmol/L
    long double pH = 0;            // row 4: pH at blendTemp
    long double pHA = 0;           // row 5: pH after CO2 up to SI = 0
    long double si = 0;            // row 6
    long double pHc = 0;           // row 7: pH after CaCO3 up to SI = 0
    long double ionicStrength = 0; // row 8: I' of the final pH solution, mmol/L
    long double dcMmol = 0;        // row 9
    long double dcMg = 0;          // row 10: row 9 x 100.088
};

struct BlendSaturation {
    bool computed = false; // false when the blend's gate failed: no value below is set
    std::array<long double, 3> shares{};   // parsed blendPercent of A, B, C
    std::array<std::string, 3> shareTexts; // blendPercent as stored
    std::array<std::string, 3> texts;      // the waters' texts
    BlendState blend;                      // row 3 is blend.blendTemp
    std::array<BlendSaturationColumn, kBlendColumnCount> columns{};
    DosageTables dosage; // the dosage windows' contents for the blend
    int speciations = 0; // diagnostic
};

// One column: pH solution, then every chemical to both targets; Dc, pHc and "pH A" are the
// CaCO3 and CO2 doses to SI = 0 of those tables.
struct BlendSaturationColumnResult {
    BlendSaturationColumn values;
    DosageColumn dosage;
    int speciations = 0;
};
BlendSaturationColumnResult ComputeBlendSaturationColumn(const BlendState& blend, int k,
                                                         Progress* progress = nullptr);

// Parallel execution runs the three columns on their own threads; the numbers are the same.
BlendSaturation ComputeBlendSaturation(const std::array<app::WaterAnalysis, 3>& waters,
                                       Execution execution = Execution::Serial,
                                       Progress* progress = nullptr);

} // namespace zeb::results
