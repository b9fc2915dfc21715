#pragma once
// The windows of the Edit and Extras menus: the analysis form with its check, the blend
// fractions, conditioning, W 216, the constants view, the carbonic acid species tool and the
// compile-data window.

namespace zeb::gui {

class AnalysisForm;
class BlendFractionsWindow;
class CarbonicWindow;
class CompileWindow;
class ConditioningWindow;
class ConstantsWindow;
class MainWindow;
class W216Window;

struct InputWindows {
    AnalysisForm* analysis;
    ConditioningWindow* conditioning;
    BlendFractionsWindow* blendFractions;
    CarbonicWindow* carbonic;
    ConstantsWindow* constants;
    W216Window* w216;
    CompileWindow* compile;
};

// Creates the windows as children of the main window, registers them for language and help, and
// gives the commands of the Edit and Extras menus their handlers (which enables them). The
// editing commands follow the copy protocol: the window works on the project's editingCopy,
// which goes back into the project unless the window was cancelled; then the change check.
InputWindows InstallInputWindows(MainWindow& main);

} // namespace zeb::gui
