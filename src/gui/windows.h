#pragma once
// Creates the command windows of the program and plugs them into the main window.

namespace zeb::gui {

class MainWindow;

// Each window module adds one call here, in the order the windows are created at start-up:
// TForm1, TForm2, TForm3, TForm4, TForm7, TForm8, TForm9, TForm10, TForm11, TForm12, TForm13,
// TForm15, TForm16, TForm30, TForm35, TForm40, TForm43 .. TForm46, TForm53 .. TForm55, TProgress.
// The main window itself creates TForm17, TForm_Info1 and TForm_Optionen.
void InstallWindows(MainWindow& main);

} // namespace zeb::gui
