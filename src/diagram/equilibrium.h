#pragma once
// The calco-carbonic equilibrium diagram of one water or of the blend: the equilibrium curve of
// the water's own family at its calculation temperature, the water's state in each column, and
// the way each chemical dosed up to SI = 0 moves it. Everything is computed by the engine; the
// renderers only scale and draw these numbers.

#include "app/project.h"
#include "chem/saturation.h"
#include "chem/types.h"
#include "results/saturation.h"

#include <array>
#include <string>
#include <vector>

namespace zeb::diagram {

inline constexpr long double kCo2MolarMass = 44.009L; // g/mol, as the dosage tables use

// One state of a water as the diagram plots it.
struct WaterPoint {
    long double ks43 = 0;    // total alkalinity (m-value), mmol/L
    long double dic = 0;     // mmol/L
    long double co2 = 0;     // free carbonic acid, mmol/L (species slot Co2)
    long double co2Mg = 0;   // the same in mg/L
    long double hco3 = 0;    // free hydrogen carbonate, mmol/L (species slot Hco3)
    long double calcium = 0; // total calcium, mmol/L
    long double pH = 0;
    long double si = 0;
    long double ionicStrength = 0; // mmol/L
};

// A chemical dosed from the water's point up to SI = 0: the dose of the dosage tables and the
// states on the way there (first the water itself, last the water after the whole dose).
struct DosePath {
    chem::Chemical chemical = chem::Chemical::CaCO3;
    long double doseMmol = 0;
    long double doseMg = 0;
    std::vector<WaterPoint> points;
};

struct WaterColumn {
    int column = 0;   // 0..2
    std::string name; // the input pair's heading, "KS4.3/KB8.2" ...
    WaterPoint point;
    std::vector<DosePath> paths; // the seven chemicals in the dosage tables' order
};

struct EquilibriumDiagram {
    bool computed = false; // false when the water's gate failed or no column could be computed
    std::string text;      // the water's text (for the blend: the three texts joined)
    std::string title;     // "A", "B", "C" or "M"
    long double temperature = 0; // degC: Tcalc, or the blend's temperature
    // The curve belongs to the family of the first column that could be computed.
    int curveColumn = 0;
    std::vector<WaterPoint> curve; // SI = 0, sorted by KS 4.3
    std::vector<WaterColumn> columns;
    // Curve points are kept only when the search met SI = 0 this closely.
    static constexpr long double kCurveSiTolerance = 0.0001L;
};

// The state of one column as the engine leaves it: everything the curve and the paths need.
struct ColumnState {
    chem::SpeciesVector species{}; // the water's totals (speciated)
    long double mValue = 0, dic = 0, temperature = 0;
    results::IonicStrengthMode ionicStrength;
};

// The water of `state` at KS 4.3 = ks43 after dissolving (or depositing) CaCO3 and adding (or
// removing) CO2 until SI = 0; false when calcium would go negative or the search did not meet
// SI = 0 (for example when no DIC is left to remove).
bool EquilibriumPoint(const ColumnState& state, long double ks43, WaterPoint& point);

// The water of `state` with TA, DIC and the totals of Ca, Mg and Na changed by `dose` mmol/L of
// `chemical`, solved with the state's ionic-strength treatment.
WaterPoint DosedPoint(const ColumnState& state, chem::Chemical chemical, long double dose);

// The curve over [from, to] (mmol/L KS 4.3), `count` points evenly spaced, plus `extra` points
// (sorted, duplicates removed). Points the search cannot place are left out.
std::vector<WaterPoint> EquilibriumCurve(const ColumnState& state, long double from, long double to,
                                         int count, const std::vector<long double>& extra = {});

// Number of intermediate states drawn along each dosing path (both ends excluded).
inline constexpr int kPathSteps = 8;

EquilibriumDiagram ComputeWaterDiagram(const app::WaterAnalysis& water, std::string title);
EquilibriumDiagram ComputeBlendDiagram(const std::array<app::WaterAnalysis, 3>& waters);

} // namespace zeb::diagram
