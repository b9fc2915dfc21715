#pragma once
// The carbonic acid species tool (TForm8): the distribution of a pure carbonate system over CO2,
// HCO3 and CO3 at a pH, a temperature and an ionic strength. The values come from
// results::RunCarbonicTool; the typed values stay while the program runs.

#include "gui/result_window.h"
#include "results/constants_table.h"

#include <memory>

namespace Ui {
class CarbonicWindow;
}

namespace zeb::gui {

class Dialogs;

class CarbonicWindow : public ResultWindow {
    Q_OBJECT
public:
    explicit CarbonicWindow(Dialogs& dialogs, QWidget* parent = nullptr);
    ~CarbonicWindow() override;

    void convert1();       // the input check
    void Button1Click();   // "&Quit"
    void BerechnenClick(); // "&Run"

protected:
    void showEvent(QShowEvent* event) override;

private:
    results::CarbonicInput ReadInput() const;
    void WriteInput(const results::CarbonicInput& input);
    void Inform(results::InputClamp clamps);

    std::unique_ptr<Ui::CarbonicWindow> ui_;
    Dialogs& dialogs_;
};

} // namespace zeb::gui
