#pragma once
// Species concentrations of one water: the free ions and ion pairs of the speciation model after
// the carbonate system has been solved, for each input pair of the water's family.

#include "app/project.h"
#include "results/saturation.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace zeb::results {

inline constexpr int kSpeciesCount = 27;

// The species rows of the window (rows 8 to 34) in their order: the name used in JSON output and
// the SpeciesVector slot the value comes from.
struct SpeciesRow {
    std::string_view name;
    std::size_t slot;
};
extern const std::array<SpeciesRow, kSpeciesCount> kSpeciesRows;

struct SpeciesColumn {
    long double mValue = 0;                           // mmol/L
    long double dic = 0;                              // mmol/L
    long double pValue = 0;                           // m-value - DIC, mmol/L
    long double pH = 0;                               // pH(Tcalc)
    long double anions = 0;                           // meq/L, last speciation
    long double cations = 0;                          // meq/L, last speciation
    std::array<long double, kSpeciesCount> species{}; // mmol/L, in kSpeciesRows order
    int passes = 0;                                   // ionic-strength passes
    int speciations = 0;                              // diagnostic
};

struct SpeciesResult {
    bool computed = false; // false when pH <= 2 or KS 4.3 <= 0
    bool useDic = false;
    long double tCalc = 0;
    std::array<SpeciesColumn, kColumns> columns{};
    int speciations = 0; // diagnostic
};

// Pair `row`: SolveCarbonateSystem, SolvePHBisection at Tcalc, ComputeConstants and Speciate at
// the pH found, with the ionic strength of that last speciation fed back (from 0, in "IOS" mode)
// or one pass at the entered ionic strength.
SpeciesColumn ComputeSpeciesColumn(const WaterInputs& in, int row);

// One progress stage per column.
SpeciesResult ComputeSpecies(const app::WaterAnalysis& water,
                             Execution execution = Execution::Serial, Progress* progress = nullptr);

} // namespace zeb::results
