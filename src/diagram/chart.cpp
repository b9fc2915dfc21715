#include "diagram/chart.h"

#include "app/number_format.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zeb::diagram {

namespace {

std::string T(std::string_view key, app::Language lang) {
    return std::string(app::Text(key, lang));
}

// Trims the blanks a fixed-width value text carries.
std::string Trimmed(std::string s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

std::string Number(long double v, int decimals) {
    return Trimmed(app::FormatFixed(v, 1, decimals));
}

double TickStep(Range range, int wanted) {
    const double span = range.span() > 0 ? range.span() : std::max(std::fabs(range.max), 1.0);
    const double raw = span / std::max(wanted, 1);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (m * magnitude >= raw)
            return m * magnitude;
    return 10 * magnitude;
}

Range Padded(Range r, double fraction) {
    const double span = r.span() > 0 ? r.span() : std::max(std::fabs(r.max) * 0.2, 0.1);
    return {r.min - span * fraction, r.max + span * fraction};
}

void Include(Frame& f, double x, double y) {
    f.x.min = std::min(f.x.min, x);
    f.x.max = std::max(f.x.max, x);
    f.y.min = std::min(f.y.min, y);
    f.y.max = std::max(f.y.max, y);
}

Frame Empty() {
    constexpr double inf = std::numeric_limits<double>::infinity();
    return {{inf, -inf}, {inf, -inf}};
}

// Concentrations cannot fall below 0, so a range reaching below 0 stops there.
Frame Finish(Frame f) {
    if (!(f.x.min <= f.x.max))
        f = {{0, 1}, {0, 1}};
    f.x = Rounded(Padded(f.x, 0.08));
    f.y = Rounded(Padded(f.y, 0.08));
    f.x.min = std::max(f.x.min, 0.0);
    f.y.min = std::max(f.y.min, 0.0);
    return f;
}

} // namespace

double XOf(const WaterPoint& p, Axes axes) {
    return static_cast<double>(axes == Axes::Ks43Co2 ? p.ks43 : p.hco3);
}

double YOf(const WaterPoint& p, Axes axes) {
    return static_cast<double>(axes == Axes::Ks43Co2 ? p.co2Mg : p.co2);
}

std::vector<double> Ticks(Range range, int wanted) {
    const double step = TickStep(range, wanted);
    std::vector<double> ticks;
    const double eps = step * 1e-9;
    for (double v = std::ceil((range.min - eps) / step) * step; v <= range.max + eps; v += step)
        ticks.push_back(std::fabs(v) < eps ? 0.0 : v);
    return ticks;
}

Range Rounded(Range range, int wanted) {
    const double step = TickStep(range, wanted);
    return {std::floor(range.min / step + 1e-9) * step, std::ceil(range.max / step - 1e-9) * step};
}

Frame FocusFrame(const EquilibriumDiagram& d, Axes axes) {
    Frame f = Empty();
    for (const WaterColumn& c : d.columns) {
        Include(f, XOf(c.point, axes), YOf(c.point, axes));
        for (const DosePath& p : c.paths)
            for (const WaterPoint& w : p.points)
                Include(f, XOf(w, axes), YOf(w, axes));
    }
    return Finish(f);
}

Frame WholeFrame(const EquilibriumDiagram& d, Axes axes) {
    Frame f = Empty();
    for (const WaterPoint& w : d.curve)
        Include(f, XOf(w, axes), YOf(w, axes));
    for (const WaterColumn& c : d.columns) {
        Include(f, XOf(c.point, axes), YOf(c.point, axes));
        for (const DosePath& p : c.paths)
            for (const WaterPoint& w : p.points)
                Include(f, XOf(w, axes), YOf(w, axes));
    }
    // Both axes from 0: the whole curve as a chemist draws it. The curve is computed up to a
    // round KS 4.3, so x ends there rather than past the curve's end.
    f.x.min = 0;
    f.y.min = 0;
    const Range x = Rounded(f.x);
    f = Finish(f);
    if (axes == Axes::Ks43Co2)
        f.x = x;
    return f;
}

Frame ZoomFrame(const EquilibriumDiagram& d, Axes axes, int level) {
    level = std::clamp(level, 0, kZoomLevels - 1);
    const Frame focus = FocusFrame(d, axes);
    if (level == 0)
        return focus;
    const Frame whole = WholeFrame(d, axes);
    if (level == kZoomLevels - 1)
        return whole;
    const double t = static_cast<double>(level) / (kZoomLevels - 1);
    auto mix = [t](Range a, Range b) {
        return Rounded(Range{a.min + (b.min - a.min) * t, a.max + (b.max - a.max) * t});
    };
    Frame f{mix(focus.x, whole.x), mix(focus.y, whole.y)};
    f.x.min = std::max(f.x.min, 0.0);
    f.y.min = std::max(f.y.min, 0.0);
    return f;
}

std::optional<double> CurveYAt(const EquilibriumDiagram& d, Axes axes, double x) {
    for (std::size_t i = 1; i < d.curve.size(); ++i) {
        const double x0 = XOf(d.curve[i - 1], axes), x1 = XOf(d.curve[i], axes);
        if ((x >= x0 && x <= x1) || (x >= x1 && x <= x0)) {
            const double y0 = YOf(d.curve[i - 1], axes), y1 = YOf(d.curve[i], axes);
            if (x1 == x0)
                return y0;
            return y0 + (y1 - y0) * (x - x0) / (x1 - x0);
        }
    }
    return std::nullopt;
}

RegionLabels PlaceRegionLabels(const EquilibriumDiagram& d, Axes axes, const Frame& frame) {
    // Candidates on a grid inside the frame, kept clear of its edges; each region takes the
    // candidate farthest from the curve on its side (in fractions of the frame's height).
    RegionLabels labels;
    double bestAbove = 0.08, bestBelow = 0.08;
    constexpr int kSteps = 8;
    for (int i = 1; i < kSteps; ++i) {
        const double x = frame.x.min + frame.x.span() * i / kSteps;
        const std::optional<double> curveY = CurveYAt(d, axes, x);
        for (int j = 1; j < kSteps; ++j) {
            const double y = frame.y.min + frame.y.span() * j / kSteps;
            if (!curveY)
                continue;
            const double distance = (y - *curveY) / frame.y.span();
            if (distance > bestAbove) {
                bestAbove = distance;
                labels.aggressive = std::array<double, 2>{x, y};
            }
            if (-distance > bestBelow) {
                bestBelow = -distance;
                labels.depositing = std::array<double, 2>{x, y};
            }
        }
    }
    return labels;
}

// ---- texts ---------------------------------------------------------------------------------

EquilibriumTexts TextsFor(const EquilibriumDiagram& d, Axes axes, app::Language lang) {
    EquilibriumTexts t;
    t.title =
        T("TFormDiagram.titleEquilibrium", lang) + "  " +
        (d.title == "M" ? T("TFormDiagram.blend", lang) : T("TFormDiagram.water", lang) + d.title);
    t.subtitle = Trimmed(d.text);
    t.xAxis = T(axes == Axes::Ks43Co2 ? "TFormDiagram.axisKs43" : "TFormDiagram.axisHco3", lang);
    t.yAxis = T(axes == Axes::Ks43Co2 ? "TFormDiagram.axisFreeCo2" : "TFormDiagram.axisCo2", lang);
    t.aggressive = T("TFormDiagram.regionAggressive", lang);
    t.depositing = T("TFormDiagram.regionDepositing", lang);
    t.curve = T("TFormDiagram.curve", lang) + Number(d.temperature, 1) + " °C";
    t.notComputed = T("TFormDiagram.notComputed", lang);
    t.dosedTo = T("TFormDiagram.dosedTo", lang);
    t.pathsHeading = T("TFormDiagram.pathsHeading", lang);
    return t;
}

std::string ChemicalLabel(chem::Chemical chemical) {
    return chemical == chem::Chemical::CaCO3MgO ? "CaCO3 MgO"
                                                : std::string(chem::ChemicalName(chemical));
}

std::string PathLabel(const DosePath& path, app::Language) {
    const std::string sign = path.doseMg > 0 ? "+" : "";
    return ChemicalLabel(path.chemical) + "  " + sign + Number(path.doseMg, 3) + " mg/L";
}

std::vector<std::string> PointDescription(const WaterPoint& p, app::Language lang) {
    return {
        T("TFormDiagram.hoverKs43", lang) + "  " + Number(p.ks43, 3) + " mmol/L",
        T("TFormDiagram.hoverDic", lang) + "  " + Number(p.dic, 3) + " mmol/L",
        T("TFormDiagram.hoverFreeCo2", lang) + "  " + Number(p.co2Mg, 3) + " mg/L  (" +
            Number(p.co2, 3) + " mmol/L)",
        T("TFormDiagram.hoverHco3", lang) + "  " + Number(p.hco3, 3) + " mmol/L",
        T("TFormDiagram.hoverCa", lang) + "  " + Number(p.calcium, 3) + " mmol/L",
        T("TFormDiagram.hoverPH", lang) + "  " + Number(p.pH, 3),
        T("TFormDiagram.hoverSI", lang) + "  " + Number(p.si, 3),
    };
}

// ---- blend series --------------------------------------------------------------------------

SeriesChart MakeSeriesChart(const results::BlendSeriesResult& series) {
    SeriesChart c;
    c.computed = series.computed;
    c.text1 = Trimmed(series.text1);
    c.text2 = Trimmed(series.text2);
    Range pH{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    Range dc{0, kDcLimits.back()};
    for (int j = 0; j < results::kBlendSeriesSteps; ++j) {
        const results::BlendSeriesColumn& step = series.columns[j];
        c.share[j] = step.share1;
        for (int k = 0; k < results::kBlendColumnCount; ++k) {
            c.pH[k][j] = static_cast<double>(step.pH[k]);
            c.dcMg[k][j] = static_cast<double>(step.dcMg[k]);
            pH.min = std::min(pH.min, c.pH[k][j]);
            pH.max = std::max(pH.max, c.pH[k][j]);
            dc.min = std::min(dc.min, c.dcMg[k][j]);
            dc.max = std::max(dc.max, c.dcMg[k][j]);
        }
    }
    if (!c.computed)
        pH = {6, 9};
    c.pHRange = Rounded(Padded(pH, 0.05));
    c.dcRange = Rounded(Padded(dc, 0.05));
    for (int k = 0; k < results::kBlendColumnCount; ++k) {
        for (int j = 0; j < results::kBlendSeriesSteps && c.computed; ++j) {
            const double b = c.dcMg[k][j];
            if (b == 0) {
                c.dcZeroShare[k] = c.share[j];
                break;
            }
            if (j == 0)
                continue;
            const double a = c.dcMg[k][j - 1];
            if ((a < 0) != (b < 0)) {
                c.dcZeroShare[k] = c.share[j - 1] + (c.share[j] - c.share[j - 1]) * a / (a - b);
                break;
            }
        }
    }
    return c;
}

SeriesTexts TextsFor(const SeriesChart& c, char first, char second, app::Language lang) {
    SeriesTexts t;
    t.title = T("TFormDiagram.titleSeries", lang) + "  " + first + " / " + second;
    t.subtitle = c.text1 + "  /  " + c.text2;
    t.xAxis = T("TFormDiagram.axisShare", lang) + first + " [%]";
    t.pHAxis = T("TFormDiagram.axisPH", lang);
    t.dcAxis = T("TFormDiagram.axisDc", lang);
    t.dcZero = "Dc = 0";
    t.limits = {"Dc = 5 mg/L", "Dc = 10 mg/L"};
    t.columns = {T("TForm15.rowPair1", lang), T("TForm15.rowPair2", lang),
                 T("TForm15.rowPair3Both", lang)};
    t.notComputed = T("TForm15.statusNotComputed", lang);
    t.pHLegend = T("TFormDiagram.legendPH", lang);
    t.dcLegend = T("TFormDiagram.legendDc", lang);
    t.aggressive = T("TFormDiagram.seriesAggressive", lang);
    t.depositing = T("TFormDiagram.seriesDepositing", lang);
    return t;
}

} // namespace zeb::diagram
