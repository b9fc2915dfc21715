#pragma once
// Axes, ranges, ticks and label positions of the diagrams, in the units of the data. A renderer
// maps these to its page and draws; nothing here knows of pixels or fonts.

#include "app/texts.h"
#include "diagram/equilibrium.h"
#include "results/blend_series.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace zeb::diagram {

// The two ways to read the equilibrium diagram: KS 4.3 (mmol/L) against free CO2 (mg/L), or
// c(HCO3-) against c(CO2), both in mmol/L.
enum class Axes { Ks43Co2, Hco3Co2 };

double XOf(const WaterPoint& p, Axes axes);
double YOf(const WaterPoint& p, Axes axes);

struct Range {
    double min = 0, max = 1;
    double span() const { return max - min; }
    bool contains(double v) const { return v >= min && v <= max; }
};
struct Frame {
    Range x, y;
};

// Round numbers 1, 2, 2.5 or 5 x 10^n between the ends of `range`, about `wanted` of them.
std::vector<double> Ticks(Range range, int wanted = 6);
// `range` widened to whole steps of its ticks.
Range Rounded(Range range, int wanted = 6);

// Zoom levels of the equilibrium diagram: 0 shows the water and its paths, kZoomLevels - 1
// the whole curve; the levels between grow evenly from one to the other.
inline constexpr int kZoomLevels = 5;
Frame FocusFrame(const EquilibriumDiagram& d, Axes axes);
Frame WholeFrame(const EquilibriumDiagram& d, Axes axes);
Frame ZoomFrame(const EquilibriumDiagram& d, Axes axes, int level);

// The curve's y at x by linear interpolation between its points; nothing outside the curve.
std::optional<double> CurveYAt(const EquilibriumDiagram& d, Axes axes, double x);

// Where the labels of the two regions go: well above the curve (more carbonic acid than the
// equilibrium: SI < 0) and well below it (SI > 0). Absent when the region is not in the frame.
struct RegionLabels {
    std::optional<std::array<double, 2>> aggressive; // SI < 0
    std::optional<std::array<double, 2>> depositing; // SI > 0
};
RegionLabels PlaceRegionLabels(const EquilibriumDiagram& d, Axes axes, const Frame& frame);

// ---- texts (the interface language's, from the language table) ------------------------------

struct EquilibriumTexts {
    std::string title;      // "Kalk-Kohlensäure-Gleichgewicht A" ...
    std::string subtitle;   // the water's text and the temperature
    std::string xAxis;      // with unit
    std::string yAxis;      // with unit
    std::string aggressive; // "SI < 0 ..."
    std::string depositing; // "SI > 0 ..."
    std::string curve;      // "SI = 0 at 10.0 °C"
    std::string notComputed;
    std::string dosedTo;      // "dosed up to SI = 0"
    std::string pathsHeading; // followed by the column's name
};
EquilibriumTexts TextsFor(const EquilibriumDiagram& d, Axes axes, app::Language lang);

// "CaCO3  +12.345 mg/L" (the dose with sign, mg/L as the dosage window shows it).
std::string PathLabel(const DosePath& path, app::Language lang);
// The window label of a chemical ("CaCO3 MgO" for CaCO3MgO).
std::string ChemicalLabel(chem::Chemical chemical);
// The values shown when a point is hovered: one line each.
std::vector<std::string> PointDescription(const WaterPoint& p, app::Language lang);

// ---- blend series ------------------------------------------------------------------------

struct SeriesChart {
    bool computed = false;
    std::string text1, text2;
    std::array<double, results::kBlendSeriesSteps> share{}; // % of the first water, 100 .. 0
    std::array<std::array<double, results::kBlendSeriesSteps>, results::kBlendColumnCount> pH{};
    std::array<std::array<double, results::kBlendSeriesSteps>, results::kBlendColumnCount> dcMg{};
    Range shareRange{0, 100};
    Range pHRange, dcRange; // rounded, the Dc range always holds 0, 5 and 10 mg/L
    // Per column: the share of the first water at which Dc passes 0 (linear between the steps);
    // empty when it does not change sign.
    std::array<std::optional<double>, results::kBlendColumnCount> dcZeroShare{};
};
inline constexpr std::array<double, 2> kDcLimits{5.0, 10.0}; // mg/L CaCO3

SeriesChart MakeSeriesChart(const results::BlendSeriesResult& series);

struct SeriesTexts {
    std::string title, subtitle, xAxis, pHAxis, dcAxis, dcZero, notComputed;
    std::string pHLegend, dcLegend;     // followed by a column's name
    std::string aggressive, depositing; // the regions Dc > 0 and Dc < 0
    std::array<std::string, 2> limits;
    std::array<std::string, results::kBlendColumnCount> columns; // pair names of the columns
};
SeriesTexts TextsFor(const SeriesChart& chart, char first, char second, app::Language lang);

} // namespace zeb::diagram
