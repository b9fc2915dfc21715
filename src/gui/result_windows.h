#pragma once
// The result windows of the Calculation menu and the windows they share: the eleven dosage
// windows and the progress window.

namespace zeb::gui {

class BlendSaturationWindow;
class BlendSeriesWindow;
class DiagramWindow;
class DosageWindows;
class MainWindow;
class ProgressWindow;
class SaturationWindow;
class SpeciesWindow;

struct ResultWindows {
    SaturationWindow* saturation;
    DosageWindows* dosage;
    BlendSaturationWindow* blendSaturation;
    SpeciesWindow* species;
    BlendSeriesWindow* blendSeries;
    ProgressWindow* progress;
    DiagramWindow* diagram;
};

// Creates the windows as children of the main window, registers them for language and help, and
// gives the result commands of the Calculation menu their handlers (which enables them).
ResultWindows InstallResultWindows(MainWindow& main);

} // namespace zeb::gui
