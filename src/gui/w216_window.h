#pragma once
// The W 216 window (TForm16): waters I and II, taken from A, B, C or typed as a minimum and a
// maximum, two blends of them and the weighted values P of seven parameters. Its inputs are
// the project's W216Data, loaded and stored by the main window; the numbers come from
// results::ComputeW216.

#include "app/project.h"
#include "gui/result_window.h"

#include <array>
#include <memory>
#include <string>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace Ui {
class W216Window;
}

class QStackedWidget;

namespace zeb::gui {

class W216Window : public ProjectReportWindow {
    Q_OBJECT
public:
    // `project` supplies the waters I and II are taken from and the report header.
    W216Window(Dialogs& dialogs, ReportOutput& reports, const app::Project& project,
               QWidget* parent = nullptr);
    ~W216Window() override;

    void LoadW216Form(const app::W216Data& data);
    void StoreW216Form(app::W216Data& data) const;

    void init();
    void CheckBox1(char letter); // source of I chosen
    void CheckBox2(char letter); // source of II chosen
    void CheckBox3();            // "min - max" chosen
    void run();
    void Button1Click(); // "&OK"
    void Button3Click(); // "Cance&l"
    void print();
    void save();

protected:
    void ApplyWindowTexts() override;
    void showEvent(QShowEvent* event) override;

private:
    app::W216Data ReadForm() const; // uncut
    void WriteValues(const app::W216Data& data);
    void ClearResults();
    void ShowMinMax(bool minMax);
    void StackTextRows();
    void LoadColumn(int column, char letter);
    void Select(QButtonGroup* group, char letter);
    char SelectedLetter(const QButtonGroup* group) const;
    void Normalize();
    void RememberMinMax();

    std::unique_ptr<Ui::W216Window> ui_;
    QStackedWidget* textRows_ = nullptr; // the waters' texts, or the text field of "min - max"

    // Entries of values[0 .. 17] of W216Data, in its order.
    std::array<QLineEdit*, 18> entries_{};
    QButtonGroup* sourceI_;
    QButtonGroup* sourceII_;
    bool minMax_ = false;
    bool loading_ = false;
    std::string reserved_;
    // The letters as loaded or last chosen, kept while no button shows them.
    std::string letterI_ = "A";
    std::string letterII_ = "B";
    // What was last typed in "min - max" mode, kept for the whole run of the program.
    std::array<std::string, 14> minMaxValues_;
};

} // namespace zeb::gui
