#pragma once
// State of calcite saturation of one water, column by column for the three input pairs of its
// family, with the doses of the seven chemicals up to SI = 0 and up to pH 7.8.
//
// Everything here is a pure function of its arguments: the three columns share no mutable state,
// so they may run on separate threads and still give bit-identical numbers.

#include "analysis/check.h"
#include "app/project.h"
#include "chem/carbonate.h"
#include "chem/saturation.h"
#include "chem/types.h"
#include "results/progress.h"

#include <array>
#include <string>
#include <string_view>

namespace zeb::results {

inline constexpr int kColumns = 3;
inline constexpr int kChemicals = 7;
inline constexpr int kTargets = 2;

enum class Execution { Serial, Parallel };

// How the ionic strength of a water is found: iterated by the program from 0 (iosMode "IOS"),
// or one pass with the entered value.
struct IonicStrengthMode {
    bool calculate = false;
    long double entered = 0; // mmol/L, used when !calculate
};

// The numbers a single-water command reads from a WaterAnalysis.
struct WaterInputs {
    chem::SpeciesVector species{}; // totals and inert ions in mmol/L; DIC slot 0
    chem::CarbonateMeasurements measured;
    long double tCalc = 0; // degC
    bool useDic = false;   // dicMode "DIC": the DIC family of input pairs
    IonicStrengthMode ionicStrength;
};
WaterInputs ParseWaterInputs(const app::WaterAnalysis& water);

// The gate of every single-water command: pH > 2 and KS 4.3 > 0.
bool PassesGuard(const WaterInputs& in);

// The column headings of a family: "KS4.3/KB8.2", "KS4.3/pH(T)", "KB8.2/pH(T)" or with DIC
// "KS4.3/DIC", "DIC/pH(T)", "KB8.2/DIC".
std::array<std::string_view, kColumns> ColumnNames(bool useDic);

// One input pair solved at the calculation temperature, after the ionic-strength treatment.
struct ColumnSolution {
    chem::CarbonateState carbonate; // of the last pass
    chem::PHSolution ph;            // the last pH solution at Tcalc
    chem::SpeciesVector species{};  // the water speciated at ph.pH
    long double mValue = 0;         // the pair's total alkalinity, mmol/L
    long double dic = 0;            // the pair's DIC, mmol/L
    int passes = 0;                 // ionic-strength passes
    int speciations = 0;            // Speciate calls of the pH searches (diagnostic)
};
// SolveCarbonateSystem then SolvePHBisection for pair `row` (0..2), repeated from ionic strength
// 0 with the returned value until it settles (mode.calculate), otherwise once at the entered one.
ColumnSolution SolveColumn(const WaterInputs& in, int row);

// The pH agreement of the three pH(Tcalc) values: they disagree when column 3 differs from
// column 2 or from column 1 by more than 0.05 (columns 1 and 2 are not compared).
bool PHValuesDisagree(long double pH1, long double pH2, long double pH3);
// "Diff. > 0,05" or "Diff. < 0,05" (the same in both languages).
std::string PHAgreementText(bool disagree);

// ---- Dosage -----------------------------------------------------------------------------

// The water a dose is computed for: one column's solved state.
struct SolvedWater {
    chem::SpeciesVector species{}; // totals of the water (Na slot: its sodium), speciated
    long double mValue = 0;        // total alkalinity, mmol/L
    long double dic = 0;           // mmol/L
    long double temperature = 0;   // degC
};

// One chemical, one target, one column.
struct DosageValues {
    long double doseMmol = 0;      // mmol/L (negative: removal)
    long double doseMg = 0;        // mg/L, dose x molar mass
    long double pH = 0;            // after the dose
    long double ionicStrength = 0; // after the dose, mmol/L
    long double mValue = 0;        // m + m-value change, mmol/L
    long double pValue = 0;        // (m + m change) - (DIC + DIC change), mmol/L
    long double sodiumMg = 0;      // (c(Na) + sodium change) x 22.99, mg/L; sodium chemicals only
};

// Both targets and all seven chemicals of one column, [target][chemical] in the order of
// chem::Target and chem::kAllChemicals.
struct DosageColumn {
    std::array<std::array<DosageValues, kChemicals>, kTargets> values{};
    int speciations = 0; // diagnostic
};

// DoseToTarget with the ionic-strength treatment of the water: from 0 with the returned value
// fed back until it settles (mode.calculate), otherwise one call at the entered value.
chem::DoseResult DoseWithIonicStrength(chem::Chemical chemical, chem::Target target,
                                       const SolvedWater& water, const IonicStrengthMode& mode);

// The row values of one dose: mg/L, and the m-value, p-value and sodium after it.
DosageValues DosageValuesFor(chem::Chemical chemical, const chem::DoseResult& dose,
                             const SolvedWater& water);

// The dosage tables of one column: every chemical to "SI0" and to "pH78", with the water after
// the dose. Shared by the single water and the blend.
// One progress stage per dose.
DosageColumn ComputeDosageColumn(const SolvedWater& water, const IonicStrengthMode& mode,
                                 Progress* progress = nullptr);

// Only NaOH, Na2CO3 and NaHCO3 have a sodium row.
bool HasSodiumRow(chem::Chemical chemical);
// g/mol used for the mg/L dose.
long double MolarMass(chem::Chemical chemical);

// The dosage windows' contents: [target][chemical][column].
struct DosageTables {
    std::array<std::array<std::array<DosageValues, kColumns>, kChemicals>, kTargets> values{};
    const DosageValues& at(chem::Target target, chem::Chemical chemical, int column) const {
        return values[static_cast<int>(target)][static_cast<int>(chemical)][column];
    }
    void SetColumn(int column, const DosageColumn& dosage);
};

// ---- State of saturation ------------------------------------------------------------------

inline constexpr long double kCaCO3MolarMass = 100.088L;

struct SaturationColumn {
    long double mValue = 0;        // row 1, mmol/L
    long double dic = 0;           // row 2, mmol/L
    long double pValue = 0;        // row 3: m-value - DIC, mmol/L
    long double anions = 0;        // row 4, meq/L
    long double cations = 0;       // row 5, meq/L
    long double pH = 0;            // row 13: pH(Tcalc)
    long double pHA = 0;           // row 14: pH after CO2 up to SI = 0
    long double si = 0;            // row 15
    long double pHc = 0;           // row 16: pH after CaCO3 up to SI = 0
    long double ionicStrength = 0; // row 17: I' of the last pH solution, mmol/L
    long double dcMmol = 0;        // row 18
    long double dcMg = 0;          // row 19: row 18 x 100.088
};

// How much of the dosage a state of saturation computes. The columns' own rows need only the
// CaCO3 dose to SI = 0 (Dc, pHc) and, for "pH A", the CO2 dose to SI = 0; a batch over many
// waters that wants pH(Tcalc), SI, pHc and Dc can leave out the 42 doses of the tables.
enum class Dosage {
    Tables, // every row and the dosage tables
    None,   // the rows without "pH A" (NaN) and without the tables (left empty)
};

// One column with everything computed from it.
struct SaturationColumnResult {
    SaturationColumn values;
    long double calculated = 0; // the pair's third quantity: pH (col 1), KB 8.2 (2), KS 4.3 (3)
    DosageColumn dosage;
    int speciations = 0; // diagnostic: Speciate calls of pH searches and doses
};
// kStagesPerSaturationColumn progress stages with the tables.
SaturationColumnResult ComputeSaturationColumn(const WaterInputs& in, int row,
                                               Dosage dosage = Dosage::Tables,
                                               Progress* progress = nullptr);

struct WaterSaturation {
    bool computed = false; // false when the gate failed: no value below is set
    bool useDic = false;
    long double tCalc = 0; // row 12
    std::array<SaturationColumn, kColumns> columns{};
    long double pHCalculated = 0, pHMeasured = 0;     // rows 6, 7 (column 1)
    long double ks43Calculated = 0, ks43Measured = 0; // rows 8, 9 (column 3)
    long double kb82Calculated = 0, kb82Measured = 0; // rows 10, 11 (column 2); KB8.2 - KS8.2
    bool pHDisagree = false;
    std::string pHAgreement; // "Diff. < 0,05" / "Diff. > 0,05"
    DosageTables dosage;
    // Charge balance of the analysis (ions only), for the report.
    analysis::ConductivityFigures conductivity;
    int speciations = 0; // diagnostic
};

// kSaturationStages progress stages when the inputs pass the guard, one when they do not.
WaterSaturation ComputeSaturation(const app::WaterAnalysis& water,
                                  Execution execution = Execution::Serial,
                                  Dosage dosage = Dosage::Tables, Progress* progress = nullptr);
// The same from parsed inputs, without the conductivity figures (left empty): for batches.
WaterSaturation ComputeSaturation(const WaterInputs& in, Execution execution, Dosage dosage,
                                  Progress* progress = nullptr);

} // namespace zeb::results
