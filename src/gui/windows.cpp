#include "gui/windows.h"

#include "gui/main_window.h"

namespace zeb::gui {

void InstallWindows(MainWindow& main) {
    // Install<Window>(main) calls go here as the windows are written.
    (void)main;
}

} // namespace zeb::gui
