#pragma once
// The blend-fractions window (TForm7): the shares of waters A and B in the blend, C taking the
// rest. The main window puts the project's shares into the fields and stores them back; the
// share rules themselves are results::ApplyBlendShareRules.

#include "gui/result_window.h"

#include <array>
#include <memory>
#include <string>

namespace Ui {
class BlendFractionsWindow;
}

namespace zeb::gui {

class BlendFractionsWindow : public ResultWindow {
    Q_OBJECT
public:
    explicit BlendFractionsWindow(QWidget* parent = nullptr);
    ~BlendFractionsWindow() override;

    // The texts of A, B and C shown beside their shares when the window opens.
    void SetWaterTexts(const std::array<std::string, 3>& texts);
    // The texts of the share fields A, B and C.
    void SetShares(const std::array<std::string, 3>& shares);
    std::array<std::string, 3> shares() const;

    void convert1();     // normalise the fields
    void Button1Click(); // "&Run": the share rules
    void Button2Click(); // "&Cancel"
    void Button3Click(); // "&OK"

protected:
    void showEvent(QShowEvent* event) override; // FormActivate

private:
    std::unique_ptr<Ui::BlendFractionsWindow> ui_;
    std::array<std::string, 3> waterTexts_;
};

} // namespace zeb::gui
