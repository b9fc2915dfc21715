#include "gui/diagram_window.h"

#include "gui/dialogs.h"
#include "gui/progress_window.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolTip>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace zeb::gui {

namespace {

constexpr double kHoverRadius = 9; // pixels

render::HeaderLines HeaderLinesOf(const ReportHeader& h) {
    return {h.signature, h.fileName, h.dateTime};
}

} // namespace

// ---- canvas ------------------------------------------------------------------------------------

DiagramCanvas::DiagramCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("canvas"));
    setMouseTracking(true);
    setMinimumSize(770, 532);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DiagramCanvas::SetPainter(Painter painter) {
    painter_ = std::move(painter);
    // The markers must match the new picture before it is first shown (and for tests that
    // never show it): draw once into nothing visible.
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter p(&scratch);
    page_ = render::PageTransform(QRectF(rect()));
    p.setTransform(page_);
    markers_ = painter_ ? painter_(p) : std::vector<render::Marker>{};
    update();
}

void DiagramCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    page_ = render::PageTransform(QRectF(rect()));
    p.setTransform(page_);
    if (painter_)
        markers_ = painter_(p);
}

const render::Marker* DiagramCanvas::MarkerAt(QPointF position) const {
    const render::Marker* best = nullptr;
    double bestDistance = kHoverRadius;
    for (const render::Marker& m : markers_) {
        const QPointF at = page_.map(m.position);
        const double distance = std::hypot(at.x() - position.x(), at.y() - position.y());
        if (distance <= bestDistance) {
            bestDistance = distance;
            best = &m;
        }
    }
    return best;
}

void DiagramCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (const render::Marker* m = MarkerAt(event->position()))
        QToolTip::showText(event->globalPosition().toPoint(), m->lines.join(u'\n'), this);
    else
        QToolTip::hideText();
}

// ---- window ------------------------------------------------------------------------------------

DiagramWindow::DiagramWindow(Dialogs& dialogs, ProgressWindow& progress, QWidget* parent)
    : ResultWindow(parent), dialogs_(dialogs), progress_(progress) {
    setObjectName(QStringLiteral("TFormDiagram"));
    canvas_ = new DiagramCanvas(this);
    radioKs43_ = new QRadioButton(this);
    radioKs43_->setObjectName(QStringLiteral("radioKs43"));
    radioKs43_->setChecked(true);
    radioHco3_ = new QRadioButton(this);
    radioHco3_->setObjectName(QStringLiteral("radioHco3"));
    labelPaths_ = new QLabel(this);
    labelPaths_->setObjectName(QStringLiteral("labelPaths"));
    comboPaths_ = new QComboBox(this);
    comboPaths_->setObjectName(QStringLiteral("comboPaths"));
    labelPaths_->setBuddy(comboPaths_);
    buttonZoomIn_ = new QPushButton(this);
    buttonZoomIn_->setObjectName(QStringLiteral("buttonZoomIn"));
    buttonZoomOut_ = new QPushButton(this);
    buttonZoomOut_->setObjectName(QStringLiteral("buttonZoomOut"));
    auto* buttonPrint = new QPushButton(this);
    buttonPrint->setObjectName(QStringLiteral("buttonPrint"));
    auto* buttonExport = new QPushButton(this);
    buttonExport->setObjectName(QStringLiteral("buttonExport"));
    auto* buttonQuit = new QPushButton(this);
    buttonQuit->setObjectName(QStringLiteral("buttonQuit"));
    for (QPushButton* b : {buttonZoomIn_, buttonZoomOut_, buttonPrint, buttonExport, buttonQuit})
        b->setAutoDefault(false);
    buttonQuit->setDefault(true);

    auto* controls = new QHBoxLayout;
    controls->addWidget(radioKs43_);
    controls->addWidget(radioHco3_);
    controls->addSpacing(16);
    controls->addWidget(labelPaths_);
    controls->addWidget(comboPaths_);
    controls->addSpacing(16);
    controls->addWidget(buttonZoomIn_);
    controls->addWidget(buttonZoomOut_);
    controls->addStretch();
    controls->addWidget(buttonPrint);
    controls->addWidget(buttonExport);
    controls->addWidget(buttonQuit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(canvas_, 1);
    layout->addLayout(controls);

    connect(radioKs43_, &QRadioButton::toggled, this, [this](bool on) {
        view_.axes = on ? diagram::Axes::Ks43Co2 : diagram::Axes::Hco3Co2;
        canvas_->SetPainter([this](QPainter& p) { return DrawOnCanvas(p); });
    });
    connect(comboPaths_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0)
            return;
        view_.pathsColumn = comboPaths_->itemData(index).toInt();
        canvas_->SetPainter([this](QPainter& p) { return DrawOnCanvas(p); });
    });
    connect(buttonZoomIn_, &QPushButton::clicked, this, [this] { Zoom(-1); });
    connect(buttonZoomOut_, &QPushButton::clicked, this, [this] { Zoom(+1); });
    connect(buttonPrint, &QPushButton::clicked, this, &DiagramWindow::PrintClick);
    connect(buttonExport, &QPushButton::clicked, this, &DiagramWindow::ExportClick);
    connect(buttonQuit, &QPushButton::clicked, this, &QDialog::accept);
    ApplyTexts(app::Language::German);
}

void DiagramWindow::OpenWater(const app::WaterAnalysis& water, char letter,
                              const ReportHeader& header) {
    const std::string title(1, letter);
    ShowEquilibrium(
        RunWithProgress(progress_, [&] { return diagram::ComputeWaterDiagram(water, title); }),
        header);
    RunModal(dialogs_, QStringLiteral(" ") + QChar::fromLatin1(letter));
}

void DiagramWindow::OpenBlend(const std::array<app::WaterAnalysis, 3>& waters,
                              const ReportHeader& header) {
    ShowEquilibrium(
        RunWithProgress(progress_, [&] { return diagram::ComputeBlendDiagram(waters); }), header);
    RunModal(dialogs_, QStringLiteral(" M"));
}

void DiagramWindow::OpenSeries(const results::BlendSeriesResult& series, char first, char second,
                               const ReportHeader& header) {
    ShowSeries(series, first, second, header);
    RunModal(dialogs_,
             QStringLiteral(" %1 / %2").arg(QChar::fromLatin1(first), QChar::fromLatin1(second)));
}

void DiagramWindow::ShowEquilibrium(diagram::EquilibriumDiagram d, const ReportHeader& header) {
    mode_ = Mode::Equilibrium;
    equilibrium_ = std::move(d);
    header_ = header;
    view_.zoom = 0;
    view_.pathsColumn = equilibrium_.curveColumn;
    FillPathColumns();
    UpdateControls();
    canvas_->SetPainter([this](QPainter& p) { return DrawOnCanvas(p); });
}

void DiagramWindow::ShowSeries(const results::BlendSeriesResult& series, char first, char second,
                               const ReportHeader& header) {
    mode_ = Mode::Series;
    series_ = diagram::MakeSeriesChart(series);
    first_ = first;
    second_ = second;
    header_ = header;
    UpdateControls();
    canvas_->SetPainter([this](QPainter& p) { return DrawOnCanvas(p); });
}

void DiagramWindow::FillPathColumns() {
    const QSignalBlocker block(comboPaths_);
    comboPaths_->clear();
    for (const diagram::WaterColumn& c : equilibrium_.columns)
        comboPaths_->addItem(QString::fromStdString(c.name), c.column);
    const int index = comboPaths_->findData(view_.pathsColumn);
    comboPaths_->setCurrentIndex(index < 0 ? 0 : index);
}

void DiagramWindow::UpdateControls() {
    const bool equilibrium = mode_ == Mode::Equilibrium;
    for (QWidget* w : std::initializer_list<QWidget*>{radioKs43_, radioHco3_, labelPaths_,
                                                      comboPaths_, buttonZoomIn_, buttonZoomOut_})
        w->setVisible(equilibrium);
    const bool computed = equilibrium && equilibrium_.computed;
    for (QWidget* w : std::initializer_list<QWidget*>{radioKs43_, radioHco3_, comboPaths_})
        w->setEnabled(computed);
    buttonZoomIn_->setEnabled(computed && view_.zoom > 0);
    buttonZoomOut_->setEnabled(computed && view_.zoom < diagram::kZoomLevels - 1);
}

void DiagramWindow::Zoom(int step) {
    view_.zoom = std::clamp(view_.zoom + step, 0, diagram::kZoomLevels - 1);
    UpdateControls();
    canvas_->SetPainter([this](QPainter& p) { return DrawOnCanvas(p); });
}

void DiagramWindow::ApplyWindowTexts() {
    view_.language = language();
    if (canvas_)
        canvas_->SetPainter([this](QPainter& p) { return DrawOnCanvas(p); });
}

std::vector<render::Marker> DiagramWindow::DrawOnCanvas(QPainter& painter) const {
    if (mode_ == Mode::Series)
        return render::DrawSeries(painter, series_, first_, second_, language());
    return render::DrawEquilibrium(painter, equilibrium_, view_);
}

void DiagramWindow::Draw(QPainter& painter, const render::HeaderLines& header) const {
    if (mode_ == Mode::Series)
        render::DrawSeries(painter, series_, first_, second_, language(), header);
    else
        render::DrawEquilibrium(painter, equilibrium_, view_, header);
}

QString DiagramWindow::Export(const QString& fileName) const {
    const std::optional<render::FileFormat> format = render::FormatOfFile(fileName);
    if (!format)
        return WindowText("msgUnknownFormat");
    return render::WritePage(
        fileName, *format, [this](QPainter& p) { Draw(p, {}); }, windowTitle());
}

void DiagramWindow::PrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setPrintRange(QPrinter::AllPages);
    if (!dialogs_.Print(this, printer, {1, 1}))
        return;
    // Printed with the header of the reports: signature, project file, date and time.
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    render::DrawPageInto(painter, QRectF(painter.viewport()),
                         [&](QPainter& p) { Draw(p, HeaderLinesOf(header_)); });
    painter.end();
}

void DiagramWindow::ExportClick() {
    const std::optional<QString> file = dialogs_.SaveFileName(
        this, {lastExport_, WindowText("filterExport"), QStringLiteral("png")});
    if (!file)
        return;
    if (QFileInfo::exists(*file) &&
        dialogs_.Message(this, *file + TextFor("msg.fileExists", language()),
                         MessageIcon::Confirmation, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    lastExport_ = *file;
    const std::optional<render::FileFormat> format = render::FormatOfFile(*file);
    if (!format) {
        dialogs_.Message(this, *file + WindowText("msgUnknownFormat"), MessageIcon::Warning,
                         MessageButtons::Ok);
        return;
    }
    const QString failure = Export(*file);
    if (!failure.isEmpty())
        dialogs_.Message(this, *file + TextFor("msg.cannotWrite", language()) + failure,
                         MessageIcon::Warning, MessageButtons::Ok);
}

} // namespace zeb::gui
