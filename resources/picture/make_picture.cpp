// Draws the picture of the main window and the program icon: the calco-carbonic equilibrium
// curve (free carbon dioxide in equilibrium with calcite over the acid capacity KS 4.3) of pure
// calcium hydrogen carbonate waters, computed by the program's own engine.
//
//   cmake --build <build> --target zeb_picture
//   <build>/zeb_picture resources/picture/equilibrium.jpg resources/zeb.png packaging/icons

#include "chem/engine.h"

#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>
#include <vector>

namespace {

struct Point {
    double ks43; // mmol/L
    double co2;  // mg/L
};

// Equilibrium free CO2 of a water holding only Ca(HCO3)2 with KS 4.3 = m at temperature t.
double EquilibriumCO2(double m, double t) {
    using namespace zeb::chem;
    SpeciesVector species{};
    species[slot::CaTotal] = m / 2;
    const long double ionicStrength = 1.5L * m; // mmol/L for Ca++ and 2 HCO3-
    const DoseResult dose =
        DoseToTarget(Chemical::CO2, Target::SI0, species, m, m, t, ionicStrength);
    SpeciesVector solved = species;
    SolvePHBisection(solved, t, ionicStrength, m, m + dose.dose);
    return static_cast<double>(solved[slot::Co2]) * 44.009;
}

std::vector<Point> Curve(double t) {
    std::vector<Point> points;
    for (double m = 0.05; m <= 8.0001; m += 0.05)
        points.push_back({m, EquilibriumCO2(m, t)});
    return points;
}

QPainterPath CurvePath(const std::vector<Point>& points, const QRectF& plot, double xMax,
                       double yMax) {
    QPainterPath path;
    path.moveTo(plot.left(), plot.bottom());
    for (const Point& p : points)
        path.lineTo(plot.left() + p.ks43 / xMax * plot.width(),
                    plot.bottom() - p.co2 / yMax * plot.height());
    return path;
}

void DrawPicture(const QString& file) {
    QImage image(752, 564, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, image.height());
    background.setColorAt(0, QColor(0xf7, 0xf5, 0xee));
    background.setColorAt(1, QColor(0xe4, 0xec, 0xf1));
    painter.fillRect(image.rect(), background);

    const QRectF plot(96, 150, 600, 340);
    const double xMax = 8.0, yMax = 160.0;
    const std::vector<Point> cold = Curve(10.0);
    const std::vector<Point> warm = Curve(25.0);

    // Above the curve the water dissolves calcite (SI < 0), below it deposits calcite (SI > 0).
    painter.fillRect(plot, QColor(0xcf, 0xe1, 0xee));
    painter.save();
    painter.setClipRect(plot);
    QPainterPath below = CurvePath(cold, plot, xMax, yMax);
    below.lineTo(plot.right(), plot.bottom());
    below.closeSubpath();
    painter.fillPath(below, QColor(0xf1, 0xe2, 0xc4));
    painter.restore();

    painter.setPen(QPen(QColor(0xff, 0xff, 0xff, 160), 1));
    for (int x = 1; x < 8; ++x)
        painter.drawLine(QPointF(plot.left() + x / xMax * plot.width(), plot.top()),
                         QPointF(plot.left() + x / xMax * plot.width(), plot.bottom()));
    for (int y = 20; y < yMax; y += 20)
        painter.drawLine(QPointF(plot.left(), plot.bottom() - y / yMax * plot.height()),
                         QPointF(plot.right(), plot.bottom() - y / yMax * plot.height()));

    painter.save();
    painter.setClipRect(plot);
    painter.setPen(QPen(QColor(0x8a, 0x6d, 0x3b), 2, Qt::DashLine));
    painter.drawPath(CurvePath(warm, plot, xMax, yMax));
    painter.setPen(QPen(QColor(0x1d, 0x3d, 0x5c), 3.5));
    painter.drawPath(CurvePath(cold, plot, xMax, yMax));
    painter.restore();

    painter.setPen(QPen(QColor(0x33, 0x33, 0x33), 1.5));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    QFont font(QStringLiteral("DejaVu Sans"), 10);
    painter.setFont(font);
    for (int x = 0; x <= 8; ++x)
        painter.drawText(
            QRectF(plot.left() + x / xMax * plot.width() - 20, plot.bottom() + 6, 40, 18),
            Qt::AlignCenter, QString::number(x));
    for (int y = 0; y <= yMax; y += 20)
        painter.drawText(
            QRectF(plot.left() - 48, plot.bottom() - y / yMax * plot.height() - 9, 40, 18),
            Qt::AlignRight | Qt::AlignVCenter, QString::number(y));
    painter.drawText(QRectF(plot.left(), plot.bottom() + 28, plot.width(), 20), Qt::AlignCenter,
                     QStringLiteral("KS 4.3  [mmol/L]"));
    painter.save();
    painter.translate(plot.left() - 62, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-120, -10, 240, 20), Qt::AlignCenter, QStringLiteral("c(CO2)  [mg/L]"));
    painter.restore();

    font.setPointSize(13);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0x1d, 0x3d, 0x5c));
    painter.drawText(QPointF(plot.left() + 40, plot.top() + 40), QStringLiteral("SI < 0"));
    painter.setPen(QColor(0x8a, 0x6d, 0x3b));
    painter.drawText(QPointF(plot.right() - 110, plot.bottom() - 30), QStringLiteral("SI > 0"));
    font.setPointSize(10);
    font.setBold(false);
    painter.setFont(font);
    painter.setPen(QColor(0x1d, 0x3d, 0x5c));
    painter.drawText(QPointF(plot.left() + 40, plot.top() + 66), QStringLiteral("SI = 0, 10 °C"));
    painter.setPen(QColor(0x8a, 0x6d, 0x3b));
    painter.drawText(QPointF(plot.left() + 40, plot.top() + 84), QStringLiteral("SI = 0, 25 °C"));
    painter.end();
    image.save(file, "JPEG", 90);
}

// The icon in 128 units: a rounded tile, the region of calcite deposition below the 10 °C
// curve, the curve and the name. Every part is a filled outline already cut to the tile, so
// the SVG needs neither a font nor clipping, which not every SVG renderer supports.
struct IconScene {
    QPainterPath tile, below, curve, name;
};

const QColor kTileColor(0xcf, 0xe1, 0xee);
const QColor kBelowColor(0xf1, 0xe2, 0xc4);
const QColor kInkColor(0x1d, 0x3d, 0x5c);

IconScene MakeIconScene() {
    IconScene scene;
    scene.tile.addRoundedRect(QRectF(4, 4, 120, 120), 22, 22);
    const QRectF plot(4, 24, 120, 100);
    const QPainterPath curve = CurvePath(Curve(10.0), plot, 8.0, 160.0);
    QPainterPath below = curve;
    below.lineTo(plot.right(), plot.bottom());
    below.closeSubpath();
    scene.below = below.intersected(scene.tile);
    QPainterPathStroker stroker;
    stroker.setWidth(7);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    scene.curve = stroker.createStroke(curve).intersected(scene.tile);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(29);
    font.setBold(true);
    const QFontMetricsF metrics(font);
    const QRectF box(14, 12, 100, 40);
    scene.name.addText(
        QPointF(box.left(), box.top() + (box.height() - metrics.height()) / 2 + metrics.ascent()),
        font, QStringLiteral("ZEB"));
    return scene;
}

void DrawIcon(const IconScene& scene, int size, const QString& file) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 128.0, size / 128.0);
    painter.fillPath(scene.tile, kTileColor);
    painter.fillPath(scene.below, kBelowColor);
    painter.fillPath(scene.curve, kInkColor);
    painter.fillPath(scene.name, kInkColor);
    painter.end();
    image.save(file, "PNG");
}

QString SvgPathData(const QPainterPath& path) {
    QString d;
    const auto number = [](double v) { return QString::number(v, 'f', 2); };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.type == QPainterPath::MoveToElement) {
            d += QStringLiteral("M%1 %2").arg(number(e.x), number(e.y));
        } else if (e.type == QPainterPath::LineToElement) {
            d += QStringLiteral("L%1 %2").arg(number(e.x), number(e.y));
        } else if (e.type == QPainterPath::CurveToElement) {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            d += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                     .arg(number(e.x), number(e.y), number(c2.x), number(c2.y), number(end.x),
                          number(end.y));
            i += 2;
        }
    }
    return d;
}

void WriteIconSvg(const IconScene& scene, const QString& file) {
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    const QString svg =
        QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"128\" height=\"128\" "
                       "viewBox=\"0 0 128 128\">\n"
                       " <path d=\"%1\" fill=\"%2\"/>\n"
                       " <path d=\"%3\" fill=\"%4\"/>\n"
                       " <path d=\"%5\" fill=\"%6\"/>\n"
                       " <path d=\"%7\" fill=\"%6\"/>\n"
                       "</svg>\n")
            .arg(SvgPathData(scene.tile), kTileColor.name(), SvgPathData(scene.below),
                 kBelowColor.name(), SvgPathData(scene.curve), kInkColor.name(),
                 SvgPathData(scene.name));
    out.write(svg.toUtf8());
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3 && argc != 4)
        return 2;
    DrawPicture(QString::fromLocal8Bit(argv[1]));
    const IconScene icon = MakeIconScene();
    DrawIcon(icon, 128, QString::fromLocal8Bit(argv[2]));
    // The installed icon theme sizes besides the 128 pixels the program carries.
    if (argc == 4) {
        const QString dir = QString::fromLocal8Bit(argv[3]);
        DrawIcon(icon, 48, dir + QStringLiteral("/zeb-48.png"));
        DrawIcon(icon, 256, dir + QStringLiteral("/zeb-256.png"));
        WriteIconSvg(icon, dir + QStringLiteral("/zeb.svg"));
    }
    return 0;
}
