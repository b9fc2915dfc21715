#pragma once
// The constants view (TForm13): the 23 conditional equilibrium constants at a temperature and
// an ionic strength the user types. The values come from results::RunConstantsView; the typed
// values stay while the program runs.

#include "gui/result_window.h"
#include "results/constants_table.h"

#include <memory>

namespace Ui {
class ConstantsWindow;
}

namespace zeb::gui {

class Dialogs;

class ConstantsWindow : public ResultWindow {
    Q_OBJECT
public:
    explicit ConstantsWindow(Dialogs& dialogs, QWidget* parent = nullptr);
    ~ConstantsWindow() override;

    void convert1();     // the input check
    void Button1Click(); // "&Quit"
    void Button2Click(); // "&Run"

protected:
    void ApplyWindowTexts() override;
    void showEvent(QShowEvent* event) override;

private:
    results::ConstantsInput ReadInput() const;
    void WriteInput(const results::ConstantsInput& input);
    void Inform(results::InputClamp clamps);

    std::unique_ptr<Ui::ConstantsWindow> ui_;
    Dialogs& dialogs_;
};

} // namespace zeb::gui
