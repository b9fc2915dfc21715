#include "gui/result_windows.h"

#include "gui/blend_saturation_window.h"
#include "gui/blend_series_window.h"
#include "gui/diagram_window.h"
#include "gui/dosage_window.h"
#include "gui/main_window.h"
#include "gui/progress_window.h"
#include "gui/saturation_window.h"
#include "gui/species_window.h"

namespace zeb::gui {

namespace {

// Help contexts of the windows.
constexpr int kHelpSaturation = 12;
constexpr int kHelpSpecies = 14;
constexpr int kHelpBlendSeries = 13;
constexpr int kHelpDiagram = 21;

} // namespace

ResultWindows InstallResultWindows(MainWindow& main) {
    Dialogs& dialogs = main.dialogs();
    ReportOutput& reports = main.reports();
    ResultWindows w{};
    w.progress = new ProgressWindow(&main);
    w.dosage = new DosageWindows(dialogs, &main);
    w.saturation = new SaturationWindow(dialogs, reports, *w.dosage, *w.progress, &main);
    w.blendSaturation = new BlendSaturationWindow(dialogs, reports, *w.dosage, *w.progress, &main);
    w.species = new SpeciesWindow(dialogs, reports, *w.progress, &main);
    w.blendSeries = new BlendSeriesWindow(dialogs, reports, *w.progress, &main);

    main.RegisterWindow(w.saturation, kHelpSaturation);
    for (DosageWindow* window : w.dosage->all())
        main.RegisterWindow(window, kHelpSaturation);
    main.RegisterWindow(w.blendSaturation, kHelpSaturation);
    main.RegisterWindow(w.species, kHelpSpecies);
    main.RegisterWindow(w.blendSeries, kHelpBlendSeries);
    main.RegisterWindow(w.progress, kHelpSaturation);
    w.diagram = new DiagramWindow(dialogs, *w.progress, &main);
    main.RegisterWindow(w.diagram, kHelpDiagram);

    const auto header = [&main] {
        return CurrentReportHeader(main.reportHeaderLine(), main.project());
    };
    const auto water = [&main, w, header](Command command, app::WaterId id) {
        main.SetCommandHandler(
            command, [&main, w, header, id] { w.saturation->Open(main.project(), id, header()); });
    };
    water(Command::CalcitA, app::WaterId::A);
    water(Command::CalcitB, app::WaterId::B);
    water(Command::CalcitC, app::WaterId::C);
    main.SetCommandHandler(Command::CalcitM, [&main, w, header] {
        w.blendSaturation->Open(main.project(), header());
    });

    const auto series = [&main, w, header](Command command, app::WaterId first,
                                           app::WaterId second) {
        main.SetCommandHandler(command, [&main, w, header, first, second] {
            w.blendSeries->Open(main.project(), first, second, header());
        });
    };
    series(Command::BlendAB, app::WaterId::A, app::WaterId::B);
    series(Command::BlendAC, app::WaterId::A, app::WaterId::C);
    series(Command::BlendBC, app::WaterId::B, app::WaterId::C);

    const auto species = [&main, w, header](Command command, app::WaterId id) {
        main.SetCommandHandler(
            command, [&main, w, header, id] { w.species->Open(main.project(), id, header()); });
    };
    species(Command::SpeciesA, app::WaterId::A);
    species(Command::SpeciesB, app::WaterId::B);
    species(Command::SpeciesC, app::WaterId::C);

    // "Dia&gram" of the three windows: what the window shows, under its report header.
    QObject::connect(w.saturation, &SaturationWindow::diagramRequested, w.diagram, [w] {
        const QString suffix = w.saturation->captionSuffix().trimmed();
        const char letter = suffix.isEmpty() ? 'A' : suffix.back().toLatin1();
        w.diagram->OpenWater(w.saturation->water(), letter, w.saturation->header());
    });
    QObject::connect(w.blendSaturation, &BlendSaturationWindow::diagramRequested, w.diagram,
                     [&main, w] {
                         const app::Project& p = main.project();
                         w.diagram->OpenBlend({p.water(app::WaterId::A), p.water(app::WaterId::B),
                                               p.water(app::WaterId::C)},
                                              w.blendSaturation->header());
                     });
    QObject::connect(w.blendSeries, &BlendSeriesWindow::diagramRequested, w.diagram, [w] {
        const auto [first, second] = w.blendSeries->pair();
        w.diagram->OpenSeries(w.blendSeries->result(), first, second, w.blendSeries->header());
    });
    return w;
}

} // namespace zeb::gui
