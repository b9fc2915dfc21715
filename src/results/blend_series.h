#pragma once
// Blend series of two waters: pH and calcite dissolution capacity of eleven blends, from 100 %
// of the first water to 100 % of the second in steps of 10 %.

#include "app/project.h"
#include "results/blend.h"
#include "results/saturation.h"

#include <array>
#include <string>

namespace zeb::results {

inline constexpr int kBlendSeriesSteps = 11;

struct BlendSeriesColumn {
    int share1 = 0, share2 = 0; // % of the first and second water
    long double tCalc = 0;      // degC
    long double hardness = 0;   // c(Ca) + c(Mg), mmol/L
    long double so4Mg = 0;      // mg/L
    long double no3Mg = 0;      // mg/L
    std::array<long double, kBlendColumnCount> pH{};
    std::array<long double, kBlendColumnCount> dcMg{}; // Dc x 100.088, mg/L
};

struct BlendSeriesResult {
    bool computed = false; // false when KS 4.3 <= 0 in either water
    std::string text1, text2;
    std::array<BlendSeriesColumn, kBlendSeriesSteps> columns{};
};

// Both waters are solved once (ionic strength iterated when either asks for it), then mixed in
// the eleven proportions; the stored blend fractions play no part. Parallel execution spreads
// the eleven blends over threads; the numbers are the same.
// One progress stage per blend.
BlendSeriesResult ComputeBlendSeries(const app::WaterAnalysis& first,
                                     const app::WaterAnalysis& second,
                                     Execution execution = Execution::Serial,
                                     Progress* progress = nullptr);

} // namespace zeb::results
