#pragma once
// The diagram window (TFormDiagram): the calco-carbonic equilibrium diagram of a water or of the
// blend, or the blend series chart, drawn by the shared renderer. It prints on the program's
// print path (landscape, with the report header) and exports PNG, SVG and PDF.

#include "diagram/chart.h"
#include "diagram/equilibrium.h"
#include "gui/result_window.h"
#include "render/diagram_painter.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace zeb::gui {

class ProgressWindow;

// Paints one diagram page scaled to its size and shows a point's values while the mouse is on it.
class DiagramCanvas : public QWidget {
    Q_OBJECT
public:
    using Painter = std::function<std::vector<render::Marker>(QPainter&)>;
    explicit DiagramCanvas(QWidget* parent = nullptr);
    void SetPainter(Painter painter);
    // The marker nearest to `position` (widget coordinates) within a few pixels.
    const render::Marker* MarkerAt(QPointF position) const;
    const std::vector<render::Marker>& markers() const { return markers_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    Painter painter_;
    std::vector<render::Marker> markers_;
    QTransform page_;
};

class DiagramWindow : public ResultWindow {
    Q_OBJECT
public:
    DiagramWindow(Dialogs& dialogs, ProgressWindow& progress, QWidget* parent = nullptr);

    // The equilibrium diagram of one water ("A", "B", "C") or the blend ("M").
    void OpenWater(const app::WaterAnalysis& water, char letter, const ReportHeader& header);
    void OpenBlend(const std::array<app::WaterAnalysis, 3>& waters, const ReportHeader& header);
    // The chart of a computed blend series.
    void OpenSeries(const results::BlendSeriesResult& series, char first, char second,
                    const ReportHeader& header);

    // Computes and shows without running modally (the Open functions do both).
    void ShowEquilibrium(diagram::EquilibriumDiagram d, const ReportHeader& header);
    void ShowSeries(const results::BlendSeriesResult& series, char first, char second,
                    const ReportHeader& header);

    const render::EquilibriumView& view() const { return view_; }
    DiagramCanvas& canvas() { return *canvas_; }
    const diagram::EquilibriumDiagram& equilibrium() const { return equilibrium_; }
    const diagram::SeriesChart& series() const { return series_; }

    // Writes the shown diagram; returns an empty string or the reason of the failure.
    QString Export(const QString& fileName) const;

protected:
    void ApplyWindowTexts() override;

private:
    enum class Mode { Equilibrium, Series };
    void Draw(QPainter& painter, const render::HeaderLines& header) const;
    std::vector<render::Marker> DrawOnCanvas(QPainter& painter) const;
    void UpdateControls();
    void FillPathColumns();
    void PrintClick();
    void ExportClick();
    void Zoom(int step);

    Dialogs& dialogs_;
    ProgressWindow& progress_;
    DiagramCanvas* canvas_ = nullptr;
    QRadioButton* radioKs43_ = nullptr;
    QRadioButton* radioHco3_ = nullptr;
    QLabel* labelPaths_ = nullptr;
    QComboBox* comboPaths_ = nullptr;
    QPushButton* buttonZoomIn_ = nullptr;
    QPushButton* buttonZoomOut_ = nullptr;

    Mode mode_ = Mode::Equilibrium;
    diagram::EquilibriumDiagram equilibrium_;
    diagram::SeriesChart series_;
    char first_ = 'A', second_ = 'B';
    render::EquilibriumView view_;
    ReportHeader header_;
    QString lastExport_;
};

} // namespace zeb::gui
