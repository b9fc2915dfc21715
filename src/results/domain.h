#pragma once
// The values for which the engine's formulas are defined, and the check a result window or
// command makes before it computes anything. Every limit is written down here, with the reason
// it follows from the formulas. Every value a project file written by the program can hold lies
// inside them except a temperature above 350 degC or a pH above 14 (which the analysis form lets
// through with its range message); a refusal otherwise meets a file edited by hand.

#include "app/project.h"
#include "app/texts.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace zeb::results {

struct DomainLimit {
    long double min = 0;
    long double max = 0;
    std::string_view unit; // as the reports write it ("mmol/L", "°C", "%", "mS/m"), or empty
};

// Temperature, degC. The activity model takes the relative permittivity of water from the
// polynomial 87.74 - 0.40008 t + 0.0009398 t^2 - 1.41e-6 t^3. Its derivative has no real root
// (0.0009398^2 * 4 < 4 * 3 * 1.41e-6 * 0.40008), so it falls steadily and reaches zero at
// 358.98 degC; beyond, Debye-Hueckel A and B are powers of a negative number (NaN), and near the
// root they grow without bound. 350 degC keeps a margin below the root. Below 0 degC the
// permittivity fit and the van 't Hoff constants leave liquid water, and the analysis form never
// gives a negative temperature (it stores absolute values).
inline constexpr DomainLimit kTemperatureLimit{0.0L, 350.0L, "°C"};

// Concentrations, capacities and DIC, mmol/L. The speciation divides each total by a sum of
// 1 and products of free values and constants: for totals >= 0 every such sum is >= 1, so each
// free value lies between 0 and its total and the loop contracts; a negative total can drive a
// sum through zero (a pole, then NaN). Upwards, the project file's 8-character columns hold at
// most 9999.999, and 10,000 mmol/L (10 mol/L) already lies beyond the solubility of every salt
// an analysis lists; far above it the ionic strength no longer settles and the iterations run
// to their pass limits (1,000,000 mmol/L costs fifty times the work of the example water).
inline constexpr DomainLimit kConcentrationLimit{0.0L, 10000.0L, "mmol/L"};

// Ionic strength entered for the calculation, mmol/L: its square root enters the activity
// model, so it must not be negative; the upper end as for concentrations.
inline constexpr DomainLimit kIonicStrengthLimit{0.0L, 10000.0L, "mmol/L"};

// Electrical conductivity, mS/m: used in ratios only; the upper end as the file's columns.
inline constexpr DomainLimit kConductivityLimit{0.0L, 10000.0L, "mS/m"};

// Volume of dosing solution per m3 of water, L/m3: a dilution factor 1 + V/1000, bounded like
// the concentrations it divides.
inline constexpr DomainLimit kVolumeLimit{0.0L, 10000.0L, "L/m³"};

// pH: c(H+) = 10^-pH * 1000 / gamma(H+) mmol/L enters the speciation; the pH searches work on
// the scale 0 to 14, and a measured pH outside it has no counterpart among the computed ones.
inline constexpr DomainLimit kPHLimit{0.0L, 14.0L, ""};

// Shares of a blend, %: after the blend-fractions window's own rules every share lies in 0 to
// 100 (negative shares become 0, a sum above 100 gives one water 100); the blend scales every
// quantity by the shares, so a share beyond them would blend more water than there is.
inline constexpr DomainLimit kShareLimit{0.0L, 100.0L, "%"};

// A value outside its limits: which water or part, which field, the value as stored.
struct DomainViolation {
    std::string part;  // "A", "B", "C", or a text key naming the part ("msg.domainConditioning")
    std::string field; // the field's label in the project file ("c(Ca)", "T bew")
    std::string value; // the stored text, blanks trimmed
    DomainLimit limit;
    // The field of a water (null for the conditioning inputs), for callers that know the field
    // by another name.
    std::string app::WaterAnalysis::*member = nullptr;
};

// The fields of one water that the computations read (text, modes and mg/L columns excepted;
// DIC only in DIC mode, the entered ionic strength only when it is not computed).
std::optional<DomainViolation> CheckWaterDomain(const app::WaterAnalysis& water, app::WaterId id);

// Saturation, species and check of one water.
std::optional<DomainViolation> CheckSingleWaterDomain(const app::Project& project, app::WaterId id);
// The blend of the stored shares: every water with a share other than 0, and the shares.
std::optional<DomainViolation> CheckBlendDomain(const std::array<app::WaterAnalysis, 3>& waters);
// The series of two waters.
std::optional<DomainViolation> CheckSeriesDomain(const app::WaterAnalysis& first,
                                                 app::WaterId firstId,
                                                 const app::WaterAnalysis& second,
                                                 app::WaterId secondId);
// The conditioning inputs as the window normalises them (absolute values).
std::optional<DomainViolation> CheckConditioningDomain(const app::ConditioningData& data);

// "Wasser A: c(Ca) = -1 liegt außerhalb ... (0 bis 10000 mmol/L)." in the language.
std::string DomainMessage(const DomainViolation& violation, app::Language lang);
// The same with the part named by the caller ("Zeile 7" of a campaign file).
std::string DomainMessage(const DomainViolation& violation, std::string_view partName,
                          app::Language lang);

} // namespace zeb::results
