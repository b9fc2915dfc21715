#include "render/diagram_painter.h"

#include "app/number_format.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace zeb::render {

namespace {

using diagram::Axes;
using diagram::Frame;
using diagram::WaterPoint;

const QColor kInk(0x22, 0x22, 0x22);
const QColor kGrid(0xd8, 0xd8, 0xd8);
const QColor kAggressive(0xd6, 0xe6, 0xf3);
const QColor kDepositing(0xf4, 0xe6, 0xc8);
const QColor kCurve(0x1d, 0x3d, 0x5c);
const QColor kAggressiveText(0x1d, 0x4f, 0x7c);
const QColor kDepositingText(0x8a, 0x5a, 0x12);
const QColor kColumnColors[3] = {QColor(0xc0, 0x1c, 0x28), QColor(0x26, 0x8b, 0x3c),
                                 QColor(0x6a, 0x3d, 0x9a)};
const QColor kChemicalColors[7] = {QColor(0x8c, 0x51, 0x0a), QColor(0xbf, 0x6f, 0x00),
                                   QColor(0xd9, 0x3f, 0x8a), QColor(0x1f, 0x78, 0xb4),
                                   QColor(0x33, 0xa0, 0x2c), QColor(0x6a, 0x3d, 0x9a),
                                   QColor(0x00, 0x8b, 0x8b)};

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QFont Font(double pixels, bool bold = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(static_cast<int>(std::lround(pixels)));
    f.setBold(bold);
    return f;
}

QString Number(double v, int decimals) {
    return Q(app::FormatFixed(v, 1, decimals)).trimmed();
}

int DecimalsFor(const std::vector<double>& ticks) {
    if (ticks.size() < 2)
        return 1;
    const double step = ticks[1] - ticks[0];
    int decimals = 0;
    while (decimals < 4 && std::fabs(step * std::pow(10.0, decimals) -
                                     std::round(step * std::pow(10.0, decimals))) > 1e-6)
        ++decimals;
    return decimals;
}

// Maps data to page units inside `plot`.
struct Mapper {
    QRectF plot;
    diagram::Frame frame;
    QPointF operator()(double x, double y) const {
        return {plot.left() + (x - frame.x.min) / frame.x.span() * plot.width(),
                plot.bottom() - (y - frame.y.min) / frame.y.span() * plot.height()};
    }
};

double DrawHeader(QPainter& p, const HeaderLines& header) {
    double y = 22;
    p.setPen(kInk);
    p.setFont(Font(12, true));
    for (const std::string& line : header) {
        QString text = Q(line).trimmed();
        if (text.isEmpty())
            continue;
        p.drawText(QPointF(40, y), text);
        y += 17;
    }
    return header.empty() ? 0 : y - 4;
}

void DrawTitle(QPainter& p, double top, const QString& title, const QString& subtitle) {
    p.setPen(kInk);
    p.setFont(Font(21, true));
    p.drawText(QRectF(40, top + 8, kPageWidth - 80, 30), Qt::AlignLeft | Qt::AlignVCenter, title);
    p.setFont(Font(14));
    p.drawText(QRectF(40, top + 38, kPageWidth - 80, 22), Qt::AlignLeft | Qt::AlignVCenter,
               subtitle);
}

void DrawAxes(QPainter& p, const Mapper& m, const QString& xLabel, const QString& yLabel,
              bool grid = true) {
    const std::vector<double> xs = diagram::Ticks(m.frame.x);
    const std::vector<double> ys = diagram::Ticks(m.frame.y);
    const int xd = DecimalsFor(xs), yd = DecimalsFor(ys);
    p.setFont(Font(13));
    for (double x : xs) {
        const QPointF a = m(x, m.frame.y.min);
        if (grid) {
            p.setPen(QPen(kGrid, 1));
            p.drawLine(a, m(x, m.frame.y.max));
        }
        p.setPen(kInk);
        p.drawLine(a, a + QPointF(0, 5));
        p.drawText(QRectF(a.x() - 40, a.y() + 7, 80, 18), Qt::AlignHCenter | Qt::AlignTop,
                   Number(x, xd));
    }
    for (double y : ys) {
        const QPointF a = m(m.frame.x.min, y);
        if (grid) {
            p.setPen(QPen(kGrid, 1));
            p.drawLine(a, m(m.frame.x.max, y));
        }
        p.setPen(kInk);
        p.drawLine(a, a - QPointF(5, 0));
        p.drawText(QRectF(a.x() - 68, a.y() - 9, 60, 18), Qt::AlignRight | Qt::AlignVCenter,
                   Number(y, yd));
    }
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(m.plot);
    p.setFont(Font(15));
    p.drawText(QRectF(m.plot.left(), m.plot.bottom() + 28, m.plot.width(), 22), Qt::AlignCenter,
               xLabel);
    p.save();
    p.translate(m.plot.left() - 78, m.plot.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-m.plot.height() / 2, -11, m.plot.height(), 22), Qt::AlignCenter, yLabel);
    p.restore();
}

// Places text near `anchor` where it overlaps nothing placed before. When there is no such
// place, a label that must be shown takes the first place inside `bounds`; others are left out.
std::optional<QRectF> PlaceLabel(QPainter& p, const QString& text, QPointF anchor,
                                 const QRectF& bounds, std::vector<QRectF>& taken, bool mustShow) {
    const QFontMetricsF fm(p.font());
    const QSizeF size(fm.horizontalAdvance(text) + 6, fm.height() + 2);
    // Beside the anchor first, then stepping away from it row by row, then farther out.
    std::vector<QPointF> offsets;
    for (double dx : {8.0, -8.0 - size.width(), 70.0, -70.0 - size.width()})
        for (int row = 0; row <= 12; ++row)
            for (int sign : {-1, 1}) {
                if (row == 0 && sign > 0)
                    continue;
                offsets.push_back({dx, -size.height() / 2 + sign * row * size.height()});
            }
    std::optional<QRectF> first;
    for (const QPointF& o : offsets) {
        const QRectF r(anchor + o, size);
        if (!bounds.contains(r))
            continue;
        if (!first)
            first = r;
        if (std::none_of(taken.begin(), taken.end(),
                         [&](const QRectF& t) { return t.intersects(r); })) {
            taken.push_back(r);
            return r;
        }
    }
    if (!mustShow)
        return std::nullopt;
    const QRectF r = first.value_or(QRectF(anchor + offsets.front(), size));
    taken.push_back(r);
    return r;
}

// A thin line from a point to its label when the label had to move away from it.
void DrawLeader(QPainter& p, QPointF anchor, const QRectF& label, const QColor& color) {
    const QPointF nearest(std::clamp(anchor.x(), label.left(), label.right()),
                          std::clamp(anchor.y(), label.top(), label.bottom()));
    if (std::hypot(nearest.x() - anchor.x(), nearest.y() - anchor.y()) < 12)
        return;
    p.setPen(QPen(color, 0.8));
    p.drawLine(anchor, nearest);
}

void DrawLabelBox(QPainter& p, const QRectF& r, const QString& text, const QColor& color) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 215));
    p.drawRect(r);
    p.setPen(color);
    p.drawText(r, Qt::AlignCenter, text);
}

void DrawMarker(QPainter& p, QPointF c, int shape, const QColor& color, double r = 6) {
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(color);
    switch (shape % 3) {
    case 0:
        p.drawEllipse(c, r, r);
        break;
    case 1:
        p.drawRect(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r));
        break;
    default: {
        const QPointF tri[3] = {c + QPointF(0, -r * 1.2), c + QPointF(r * 1.1, r * 0.8),
                                c + QPointF(-r * 1.1, r * 0.8)};
        p.drawPolygon(tri, 3);
    }
    }
}

QStringList Describe(const QString& heading, const WaterPoint& w, app::Language lang) {
    QStringList lines{heading};
    for (const std::string& s : diagram::PointDescription(w, lang))
        lines << Q(s);
    return lines;
}

// The outline of a line of `width` through `points`, cut to `area`, to be filled.
QPainterPath ClippedStroke(const std::vector<QPointF>& points, double width, Qt::PenStyle style,
                           const QPainterPath& area) {
    QPainterPath line;
    line.moveTo(points.front());
    for (std::size_t i = 1; i < points.size(); ++i)
        line.lineTo(points[i]);
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(style == Qt::SolidLine ? Qt::RoundCap : Qt::FlatCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    stroker.setDashPattern(style);
    return stroker.createStroke(line).intersected(area);
}

std::string PathsColumnName(const diagram::EquilibriumDiagram& d, int column) {
    for (const diagram::WaterColumn& c : d.columns)
        if (c.column == column)
            return d.title + ": " + c.name;
    return {};
}

} // namespace

// ---- equilibrium diagram ---------------------------------------------------------------------

std::vector<Marker> DrawEquilibrium(QPainter& p, const diagram::EquilibriumDiagram& d,
                                    const EquilibriumView& view, const HeaderLines& header) {
    std::vector<Marker> markers;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(QRectF(0, 0, kPageWidth, kPageHeight), Qt::white);
    const diagram::EquilibriumTexts texts = diagram::TextsFor(d, view.axes, view.language);
    const double top = DrawHeader(p, header);
    DrawTitle(p, top, Q(texts.title),
              texts.subtitle.empty() ? Q(texts.curve)
                                     : Q(texts.subtitle + "   —   " + texts.curve));

    const QRectF plot(110, top + 80, 720, kPageHeight - top - 80 - 70);
    if (!d.computed) {
        p.setPen(kInk);
        p.setFont(Font(16));
        p.drawText(plot, Qt::AlignCenter, Q(texts.notComputed));
        p.restore();
        return markers;
    }
    const Frame frame = diagram::ZoomFrame(d, view.axes, view.zoom);
    const Mapper m{plot, frame};

    // Regions: above the curve the water dissolves calcite, below it deposits calcite. Left of
    // the curve's first point there is no calcium left to be in equilibrium with.
    std::vector<QPointF> curve;
    for (const WaterPoint& w : d.curve)
        curve.push_back(m(diagram::XOf(w, view.axes), diagram::YOf(w, view.axes)));
    // Clipping is done on the geometry itself: not every SVG reader honours a clip path.
    QPainterPath plotArea;
    plotArea.addRect(plot);
    if (!curve.empty()) {
        QPainterPath above;
        above.moveTo(curve.front().x(), plot.top() - 1);
        for (const QPointF& c : curve)
            above.lineTo(c);
        above.lineTo(curve.back().x(), plot.top() - 1);
        above.closeSubpath();
        p.fillPath(above.intersected(plotArea), kAggressive);
        QPainterPath below;
        below.moveTo(curve.front().x(), plot.bottom() + 1);
        for (const QPointF& c : curve)
            below.lineTo(c);
        below.lineTo(curve.back().x(), plot.bottom() + 1);
        below.closeSubpath();
        p.fillPath(below.intersected(plotArea), kDepositing);
    }

    DrawAxes(p, m, Q(texts.xAxis), Q(texts.yAxis));

    if (curve.size() > 1)
        p.fillPath(ClippedStroke(curve, 3, Qt::SolidLine, plotArea), kCurve);

    std::vector<QRectF> taken;
    const diagram::RegionLabels regions = diagram::PlaceRegionLabels(d, view.axes, frame);
    p.setFont(Font(16, true));
    auto region = [&](const std::optional<std::array<double, 2>>& at, const QString& text,
                      const QColor& color) {
        if (!at)
            return;
        const QPointF c = m((*at)[0], (*at)[1]);
        const QFontMetricsF fm(p.font());
        QRectF r(0, 0, fm.horizontalAdvance(text) + 8, fm.height() + 4);
        r.moveCenter(c);
        r.moveLeft(std::clamp(r.left(), plot.left() + 4, plot.right() - 4 - r.width()));
        r.moveTop(std::clamp(r.top(), plot.top() + 4, plot.bottom() - 4 - r.height()));
        p.setPen(color);
        p.drawText(r, Qt::AlignCenter, text);
        taken.push_back(r);
    };
    region(regions.aggressive, Q(texts.aggressive), kAggressiveText);
    region(regions.depositing, Q(texts.depositing), kDepositingText);

    // The labels of the water's points have the first choice of place.
    struct WaterLabel {
        QPointF at;
        int column;
        QString text;
        QRectF rect;
    };
    std::vector<WaterLabel> waterLabels;
    p.setFont(Font(13, true));
    for (const diagram::WaterColumn& c : d.columns) {
        const QPointF at = m(diagram::XOf(c.point, view.axes), diagram::YOf(c.point, view.axes));
        const QString label = Q(d.title + ": " + c.name);
        markers.push_back({at, Describe(label, c.point, view.language)});
        if (plot.contains(at))
            waterLabels.push_back(
                {at, c.column, label, *PlaceLabel(p, label, at, plot, taken, true)});
    }

    // Dosing paths of one column, each to its end at SI = 0.
    int pathsColumn = view.pathsColumn;
    if (std::none_of(d.columns.begin(), d.columns.end(),
                     [&](const diagram::WaterColumn& c) { return c.column == pathsColumn; }))
        pathsColumn = d.curveColumn;
    p.setFont(Font(12));
    for (const diagram::WaterColumn& c : d.columns) {
        if (c.column != pathsColumn)
            continue;
        for (const diagram::DosePath& path : c.paths) {
            const QColor color = kChemicalColors[static_cast<int>(path.chemical)];
            std::vector<QPointF> pts;
            for (const WaterPoint& w : path.points)
                pts.push_back(m(diagram::XOf(w, view.axes), diagram::YOf(w, view.axes)));
            p.fillPath(ClippedStroke(pts, 2, Qt::DashLine, plotArea), color);
            if (plot.contains(pts.back())) {
                p.setPen(QPen(Qt::white, 1));
                p.setBrush(color);
                p.drawEllipse(pts.back(), 4.5, 4.5);
            }
            const QString label = Q(diagram::PathLabel(path, view.language));
            if (plot.contains(pts.back())) {
                if (const std::optional<QRectF> r =
                        PlaceLabel(p, label, pts.back(), plot, taken, false)) {
                    DrawLeader(p, pts.back(), *r, color);
                    DrawLabelBox(p, *r, label, color.darker(120));
                }
            }
            markers.push_back({pts.back(), Describe(label + "  (" + Q(texts.dosedTo) + ")",
                                                    path.points.back(), view.language)});
        }
    }

    // The water itself, once per column, on top of the paths; its labels were placed first.
    for (const WaterLabel& w : waterLabels) {
        DrawMarker(p, w.at, w.column, kColumnColors[w.column]);
        p.setFont(Font(13, true));
        DrawLeader(p, w.at, w.rect, kColumnColors[w.column]);
        DrawLabelBox(p, w.rect, w.text, kColumnColors[w.column]);
    }

    // Legend beside the plot.
    double y = plot.top() + 4;
    const double x = plot.right() + 24;
    p.setFont(Font(13));
    p.setPen(QPen(kCurve, 3));
    p.drawLine(QPointF(x, y + 9), QPointF(x + 28, y + 9));
    p.setPen(kInk);
    const QRectF curveText(x + 36, y, kPageWidth - x - 46, 40);
    p.drawText(curveText, Qt::TextWordWrap, Q(texts.curve));
    y += 48;
    for (const diagram::WaterColumn& c : d.columns) {
        DrawMarker(p, QPointF(x + 14, y + 9), c.column, kColumnColors[c.column], 5.5);
        p.setPen(kInk);
        p.drawText(QPointF(x + 36, y + 14), Q(d.title + ": " + c.name));
        y += 24;
    }
    y += 12;
    p.setFont(Font(13, true));
    p.drawText(QRectF(x, y, kPageWidth - x - 10, 40), Qt::TextWordWrap,
               Q(texts.pathsHeading) + Q(PathsColumnName(d, pathsColumn)));
    y += 44;
    p.setFont(Font(12));
    for (const diagram::WaterColumn& c : d.columns) {
        if (c.column != pathsColumn)
            continue;
        for (const diagram::DosePath& path : c.paths) {
            const QColor color = kChemicalColors[static_cast<int>(path.chemical)];
            p.setPen(QPen(color, 2, Qt::DashLine));
            p.drawLine(QPointF(x, y + 8), QPointF(x + 28, y + 8));
            p.setPen(kInk);
            p.drawText(QPointF(x + 36, y + 12), Q(diagram::PathLabel(path, view.language)));
            y += 20;
        }
    }
    p.restore();
    return markers;
}

// ---- blend series ------------------------------------------------------------------------

std::vector<Marker> DrawSeries(QPainter& p, const diagram::SeriesChart& chart, char first,
                               char second, app::Language language, const HeaderLines& header) {
    std::vector<Marker> markers;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(QRectF(0, 0, kPageWidth, kPageHeight), Qt::white);
    const diagram::SeriesTexts texts = diagram::TextsFor(chart, first, second, language);
    const double top = DrawHeader(p, header);
    DrawTitle(p, top, Q(texts.title), Q(texts.subtitle));
    const QRectF plot(110, top + 80, kPageWidth - 220, kPageHeight - top - 80 - 150);
    if (!chart.computed) {
        p.setPen(kInk);
        p.setFont(Font(16));
        p.drawText(plot, Qt::AlignCenter, Q(texts.notComputed));
        p.restore();
        return markers;
    }
    // Share of the first water falls from 100 % at the left to 0 % at the right.
    const Mapper pHMap{plot, {{chart.shareRange.max, chart.shareRange.min}, chart.pHRange}};
    const Mapper dcMap{plot, {{chart.shareRange.max, chart.shareRange.min}, chart.dcRange}};

    // Aggressive blends (Dc > 0) are shaded like the aggressive region of the other diagram.
    p.fillRect(QRectF(dcMap(100, chart.dcRange.max), dcMap(0, 0)).normalized(),
               kAggressive.lighter(104));
    p.fillRect(QRectF(dcMap(100, 0), dcMap(0, chart.dcRange.min)).normalized(),
               kDepositing.lighter(104));

    p.setFont(Font(14, true));
    p.setPen(kAggressiveText);
    p.drawText(QRectF(plot.left() + 10, plot.top() + 6, plot.width() / 2, 20),
               Qt::AlignLeft | Qt::AlignVCenter, Q(texts.aggressive));
    p.setPen(kDepositingText);
    p.drawText(QRectF(plot.left() + 10, plot.bottom() - 26, plot.width() / 2, 20),
               Qt::AlignLeft | Qt::AlignVCenter, Q(texts.depositing));

    // Left axis pH (with the grid), right axis Dc; the x axis reads 100 .. 0.
    {
        Mapper left{plot, {{100, 0}, chart.pHRange}};
        const std::vector<double> xs = diagram::Ticks({0, 100}, 10);
        p.setFont(Font(13));
        for (double v : xs) {
            const QPointF a = pHMap(v, chart.pHRange.min);
            p.setPen(QPen(kGrid, 1));
            p.drawLine(a, pHMap(v, chart.pHRange.max));
            p.setPen(kInk);
            p.drawText(QRectF(a.x() - 30, a.y() + 7, 60, 18), Qt::AlignHCenter | Qt::AlignTop,
                       Number(v, 0));
        }
        const std::vector<double> ys = diagram::Ticks(chart.pHRange);
        const int yd = std::max(1, DecimalsFor(ys));
        for (double v : ys) {
            const QPointF a = left(100, v);
            p.setPen(QPen(kGrid, 1));
            p.drawLine(a, left(0, v));
            p.setPen(kInk);
            p.drawText(QRectF(a.x() - 68, a.y() - 9, 60, 18), Qt::AlignRight | Qt::AlignVCenter,
                       Number(v, yd));
        }
        const std::vector<double> ds = diagram::Ticks(chart.dcRange);
        const int dd = DecimalsFor(ds);
        for (double v : ds) {
            const QPointF a = dcMap(0, v);
            p.setPen(kInk);
            p.drawLine(a, a + QPointF(5, 0));
            p.drawText(QRectF(a.x() + 8, a.y() - 9, 60, 18), Qt::AlignLeft | Qt::AlignVCenter,
                       Number(v, dd));
        }
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRect(plot);
        p.setFont(Font(15));
        p.drawText(QRectF(plot.left(), plot.bottom() + 28, plot.width(), 22), Qt::AlignCenter,
                   Q(texts.xAxis));
        p.save();
        p.translate(plot.left() - 78, plot.center().y());
        p.rotate(-90);
        p.drawText(QRectF(-plot.height() / 2, -11, plot.height(), 22), Qt::AlignCenter,
                   Q(texts.pHAxis));
        p.restore();
        p.save();
        p.translate(plot.right() + 82, plot.center().y());
        p.rotate(90);
        p.drawText(QRectF(-plot.height() / 2, -11, plot.height(), 22), Qt::AlignCenter,
                   Q(texts.dcAxis));
        p.restore();
    }

    // Dc = 0 and the limits.
    p.setFont(Font(12, true));
    auto level = [&](double v, const QString& label, const QColor& color, Qt::PenStyle style) {
        if (!chart.dcRange.contains(v))
            return;
        const QPointF a = dcMap(100, v), b = dcMap(0, v);
        p.setPen(QPen(color, 1.8, style));
        p.drawLine(a, b);
        const QFontMetricsF fm(p.font());
        const double w = fm.horizontalAdvance(label) + 8;
        DrawLabelBox(p, QRectF(b.x() - w - 4, b.y() - 19, w, 17), label, color);
    };
    level(0, Q(texts.dcZero), kInk, Qt::SolidLine);
    level(diagram::kDcLimits[0], Q(texts.limits[0]), QColor(0xd9, 0x7a, 0x00), Qt::DashLine);
    level(diagram::kDcLimits[1], Q(texts.limits[1]), QColor(0xc0, 0x1c, 0x28), Qt::DashLine);

    // The columns: pH solid, Dc dashed, one colour per column.
    const QString firstLetter(QChar::fromLatin1(first)), secondLetter(QChar::fromLatin1(second));
    for (int k = 0; k < results::kBlendColumnCount; ++k) {
        const QColor color = kColumnColors[k];
        std::vector<QPointF> pH, dc;
        for (int j = 0; j < results::kBlendSeriesSteps; ++j) {
            pH.push_back(pHMap(chart.share[j], chart.pH[k][j]));
            dc.push_back(dcMap(chart.share[j], chart.dcMg[k][j]));
            const QString step = Number(chart.share[j], 0) + " % " + firstLetter + " / " +
                                 Number(100 - chart.share[j], 0) + " % " + secondLetter;
            markers.push_back(
                {pH.back(),
                 {step, Q(texts.columns[k]), Q(texts.pHAxis) + "  " + Number(chart.pH[k][j], 3)}});
            markers.push_back(
                {dc.back(),
                 {step, Q(texts.columns[k]), "Dc  " + Number(chart.dcMg[k][j], 3) + " mg/L"}});
        }
        p.setPen(QPen(color, 2.4));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(pH.data(), static_cast<int>(pH.size()));
        p.setPen(QPen(color, 2.4, Qt::DashLine));
        p.drawPolyline(dc.data(), static_cast<int>(dc.size()));
        for (const QPointF& c : pH)
            DrawMarker(p, c, k, color, 4.5);
        for (const QPointF& c : dc) {
            p.setPen(QPen(color, 1.8));
            p.setBrush(Qt::white);
            p.drawEllipse(c, 4, 4);
        }
        if (chart.dcZeroShare[k]) {
            const QPointF c = dcMap(*chart.dcZeroShare[k], 0);
            p.setPen(QPen(color, 1.2, Qt::DotLine));
            p.drawLine(QPointF(c.x(), plot.top()), QPointF(c.x(), plot.bottom()));
            p.setFont(Font(12, true));
            p.setPen(color);
            const QString share = Number(*chart.dcZeroShare[k], 1) + " % " + firstLetter;
            const double w = QFontMetricsF(p.font()).horizontalAdvance(share) + 8;
            const double left = c.x() + 4 + w > plot.right() ? c.x() - 4 - w : c.x() + 4;
            DrawLabelBox(p, QRectF(left, plot.top() + 30 + 20 * k, w, 17), share, color);
        }
    }

    // Legend below.
    p.setFont(Font(12));
    double y = plot.bottom() + 64;
    for (int k = 0; k < results::kBlendColumnCount; ++k) {
        const double x = plot.left() + k * (plot.width() / 3);
        const QColor color = kColumnColors[k];
        p.setPen(QPen(color, 2.4));
        p.drawLine(QPointF(x, y + 8), QPointF(x + 28, y + 8));
        DrawMarker(p, QPointF(x + 14, y + 8), k, color, 4.5);
        p.setPen(kInk);
        p.drawText(QPointF(x + 34, y + 12), Q(texts.pHLegend) + Q(texts.columns[k]));
        p.setPen(QPen(color, 2.4, Qt::DashLine));
        p.drawLine(QPointF(x, y + 32), QPointF(x + 28, y + 32));
        p.setPen(kInk);
        p.drawText(QPointF(x + 34, y + 36), Q(texts.dcLegend) + Q(texts.columns[k]));
    }
    p.restore();
    return markers;
}

// ---- pages and files -------------------------------------------------------------------------

QTransform PageTransform(const QRectF& target) {
    const double scale = std::min(target.width() / kPageWidth, target.height() / kPageHeight);
    QTransform t;
    t.translate(target.left() + (target.width() - kPageWidth * scale) / 2,
                target.top() + (target.height() - kPageHeight * scale) / 2);
    t.scale(scale, scale);
    return t;
}

void DrawPageInto(QPainter& painter, const QRectF& target,
                  const std::function<void(QPainter&)>& drawPage) {
    painter.save();
    painter.setTransform(PageTransform(target), true);
    drawPage(painter);
    painter.restore();
}

std::optional<FileFormat> FormatOfFile(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == u"png")
        return FileFormat::Png;
    if (suffix == u"svg")
        return FileFormat::Svg;
    if (suffix == u"pdf")
        return FileFormat::Pdf;
    return std::nullopt;
}

QString WritePage(const QString& fileName, FileFormat format,
                  const std::function<void(QPainter&)>& drawPage, const QString& title) {
    // Each writer reports failure differently; probing the file first gives one reason for all.
    {
        QFile probe(fileName);
        if (!probe.open(QIODevice::WriteOnly))
            return probe.errorString();
    }
    switch (format) {
    case FileFormat::Png: {
        QImage image(1650, 1140, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            DrawPageInto(painter, QRectF(image.rect()), drawPage);
        }
        if (!image.save(fileName, "PNG"))
            return QStringLiteral("PNG");
        return {};
    }
    case FileFormat::Svg: {
        QSvgGenerator svg;
        svg.setFileName(fileName);
        svg.setSize(QSize(static_cast<int>(kPageWidth), static_cast<int>(kPageHeight)));
        svg.setViewBox(QRectF(0, 0, kPageWidth, kPageHeight));
        svg.setTitle(title);
        svg.setResolution(96);
        QPainter painter;
        if (!painter.begin(&svg))
            return QStringLiteral("SVG");
        drawPage(painter);
        painter.end();
        return {};
    }
    case FileFormat::Pdf: {
        QPdfWriter pdf(fileName);
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("ZEB 4.1"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        pdf.setResolution(300);
        QPainter painter;
        if (!painter.begin(&pdf))
            return QStringLiteral("PDF");
        DrawPageInto(painter, QRectF(painter.viewport()), drawPage);
        painter.end();
        return {};
    }
    }
    return {};
}

void EnsureGuiApplication() {
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "zeb-cli";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's notes (no XDG_RUNTIME_DIR and the like) are no business of a script's stderr; only
    // real failures get through.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            fprintf(stderr, "%s\n", qPrintable(text));
    });
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace zeb::render
