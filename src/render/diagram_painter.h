#pragma once
// Draws the diagrams of src/diagram with QPainter, and writes them as PNG, SVG or PDF. Shared
// by the desktop program (window, printing) and zeb-cli (files, without a display).
//
// Everything is drawn on a logical page of kPageWidth x kPageHeight units; the caller's
// painter transform maps it to the device, so a screen, an image, an SVG and a PDF page show
// the same picture.

#include "app/texts.h"
#include "diagram/chart.h"
#include "diagram/equilibrium.h"

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QTransform>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPainter;

namespace zeb::render {

inline constexpr double kPageWidth = 1100;
inline constexpr double kPageHeight = 760;

// What the equilibrium diagram shows: which axes, how far zoomed out, and the column whose
// dosing paths are drawn.
struct EquilibriumView {
    diagram::Axes axes = diagram::Axes::Ks43Co2;
    int zoom = 0;
    int pathsColumn = -1; // -1: the curve's column
    app::Language language = app::Language::German;
};

// A drawn point with the text a tooltip shows for it, in page units.
struct Marker {
    QPointF position;
    QStringList lines;
};

// Lines drawn above the diagram (the report header when printed); empty for files.
using HeaderLines = std::vector<std::string>;

std::vector<Marker> DrawEquilibrium(QPainter& painter, const diagram::EquilibriumDiagram& d,
                                    const EquilibriumView& view, const HeaderLines& header = {});

std::vector<Marker> DrawSeries(QPainter& painter, const diagram::SeriesChart& chart, char first,
                               char second, app::Language language, const HeaderLines& header = {});

// Draws the page scaled into `target`, keeping its proportions, centred.
void DrawPageInto(QPainter& painter, const QRectF& target,
                  const std::function<void(QPainter&)>& drawPage);
// The page transform DrawPageInto uses, for mapping mouse positions back.
QTransform PageTransform(const QRectF& target);

enum class FileFormat { Png, Svg, Pdf };
// By the file name's extension, case-insensitive.
std::optional<FileFormat> FormatOfFile(const QString& fileName);

// Writes the page to `fileName`. PNG at 1650 x 1140 pixels, SVG at page size, PDF on an A4
// landscape page. Returns an empty string on success, otherwise the reason.
QString WritePage(const QString& fileName, FileFormat format,
                  const std::function<void(QPainter&)>& drawPage, const QString& title);

// A QGuiApplication for painting text where the program has none (zeb-cli): created on the
// offscreen platform, so no display is needed.
void EnsureGuiApplication();

} // namespace zeb::render
