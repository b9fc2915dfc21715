#include "gui/windows.h"

#include "gui/batch_window.h"
#include "gui/input_windows.h"
#include "gui/main_window.h"
#include "gui/result_windows.h"

namespace zeb::gui {

void InstallWindows(MainWindow& main) {
    // Install<Window>(main) calls go here as the windows are written.
    InstallInputWindows(main);
    InstallResultWindows(main);
    InstallBatchWindow(main);
}

} // namespace zeb::gui
