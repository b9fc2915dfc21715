// zeb-cli diagram: the equilibrium diagram of a water or of the blend, or the blend series
// chart, written as PNG, SVG or PDF without a display.
#include "cli/common.h"
#include "diagram/chart.h"
#include "diagram/equilibrium.h"
#include "render/diagram_painter.h"
#include "results/blend_series.h"

#include <CLI/CLI.hpp>

#include <QPainter>

#include <memory>

namespace zeb::cli {

namespace {

struct DiagramOptions {
    std::string file;
    std::string water;
    std::vector<std::string> series;
    std::string axes = "ks43";
    int zoom = 0;
    int pathsColumn = 0;
    std::string lang;
    std::string out;
};

void Write(const DiagramOptions& o, const std::function<void(QPainter&)>& draw,
           const QString& title) {
    const QString out = QString::fromStdString(o.out);
    const std::optional<render::FileFormat> format = render::FormatOfFile(out);
    if (!format)
        throw CommandError(kExitUsage, o.out + ": the file name must end in .png, .svg or .pdf");
    const QString failure = render::WritePage(out, *format, draw, title);
    if (!failure.isEmpty())
        throw CommandError(kExitFailure, o.out + ": " + failure.toStdString());
}

void RunDiagram(const DiagramOptions& o) {
    if (o.water.empty() == o.series.empty())
        throw CommandError(kExitUsage,
                           "give either a water (A, B, C or M) or --series with two waters");
    const app::Project project = LoadProjectOrFail(o.file);
    const app::Language lang = ResolveLanguage(o.lang);
    render::EnsureGuiApplication();
    if (!o.series.empty()) {
        const char first = o.series[0][0], second = o.series[1][0];
        const diagram::SeriesChart chart = diagram::MakeSeriesChart(results::ComputeBlendSeries(
            project.water(WaterOf(first)), project.water(WaterOf(second)),
            results::Execution::Parallel));
        Write(
            o, [&](QPainter& p) { render::DrawSeries(p, chart, first, second, lang); },
            QString::fromStdString(diagram::TextsFor(chart, first, second, lang).title));
        return;
    }
    const char letter = o.water[0];
    const diagram::EquilibriumDiagram d =
        letter == 'M' ? diagram::ComputeBlendDiagram({project.water(app::WaterId::A),
                                                      project.water(app::WaterId::B),
                                                      project.water(app::WaterId::C)})
                      : diagram::ComputeWaterDiagram(project.water(WaterOf(letter)), o.water);
    render::EquilibriumView view;
    view.axes = o.axes == "hco3" ? diagram::Axes::Hco3Co2 : diagram::Axes::Ks43Co2;
    view.zoom = o.zoom;
    view.pathsColumn = o.pathsColumn - 1;
    view.language = lang;
    Write(
        o, [&](QPainter& p) { render::DrawEquilibrium(p, d, view); },
        QString::fromStdString(diagram::TextsFor(d, view.axes, lang).title));
}

} // namespace

void AddDiagramCommands(CLI::App& app) {
    auto o = std::make_shared<DiagramOptions>();
    auto* cmd = app.add_subcommand(
        "diagram", "Equilibrium diagram of a water (A, B, C) or the blend (M), or with --series "
                   "the blend series chart of two waters, as PNG, SVG or PDF");
    cmd->add_option("file", o->file, "Project file (.zeb)")->required();
    cmd->add_option("water", o->water, "Water A, B or C, or M for the blend")
        ->check(CLI::IsMember({"A", "B", "C", "M"}));
    cmd->add_option("--series", o->series, "The blend series of these two waters (A, B or C)")
        ->expected(2)
        ->check(CLI::IsMember({"A", "B", "C"}));
    cmd->add_option("--axes", o->axes,
                    "ks43: KS 4.3 against free CO2 in mg/L; hco3: c(HCO3-) against c(CO2)")
        ->check(CLI::IsMember({"ks43", "hco3"}))
        ->capture_default_str();
    cmd->add_option("--zoom", o->zoom,
                    "0 shows the water and its dosing paths, 4 the whole equilibrium curve")
        ->check(CLI::Range(0, diagram::kZoomLevels - 1))
        ->capture_default_str();
    cmd->add_option("--paths", o->pathsColumn,
                    "Column whose dosing paths are drawn (1-3; default the first computed)")
        ->check(CLI::Range(1, 3));
    cmd->add_option("--lang", o->lang, "Language of the texts (de, en)")
        ->check(CLI::IsMember({"de", "en"}));
    cmd->add_option("-o", o->out, "Output file: .png, .svg or .pdf")->required();
    cmd->callback([o] { RunDiagram(*o); });
}

} // namespace zeb::cli
