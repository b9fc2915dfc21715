#pragma once
// The conditioning window (TForm3): one chemical dosed into a water, with or without the
// dilution by the dosing solution. Its inputs are the project's ConditioningData, loaded and
// stored by the main window; the numbers come from results::ComputeConditioning.

#include "app/project.h"
#include "gui/result_window.h"

#include <memory>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace Ui {
class ConditioningWindow;
}

class QStackedWidget;

namespace zeb::gui {

class ConditioningWindow : public ProjectReportWindow {
    Q_OBJECT
public:
    // `project` supplies the waters of "Data A/B/C" and the report header.
    ConditioningWindow(Dialogs& dialogs, ReportOutput& reports, const app::Project& project,
                       QWidget* parent = nullptr);
    ~ConditioningWindow() override;

    void LoadConditioningForm(const app::ConditioningData& data);
    void StoreConditioningForm(app::ConditioningData& data) const;

    void init();
    void Button2Click(); // clears the outputs
    void Button1Click(); // "&OK"
    void Button3Click(); // "Cance&l"
    void run();
    void DataA() { TakeWater(app::WaterId::A); }
    void DataB() { TakeWater(app::WaterId::B); }
    void DataC() { TakeWater(app::WaterId::C); }
    void ohneVerduennung();
    void mitVerduennung();
    void print();
    void save();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QStackedWidget* doseLabels_ = nullptr; // "Dosage" or "Concentration of solution"
    struct Binding {
        QLineEdit* entry;
        std::string app::ConditioningData::*member;
    };

    app::ConditioningData ReadForm() const; // uncut
    void WriteEntries(const app::ConditioningData& data);
    void NormalizeInputs();
    void TakeWater(app::WaterId id);

    std::unique_ptr<Ui::ConditioningWindow> ui_;
    std::vector<Binding> bindings_;
    std::vector<std::pair<QRadioButton*, std::string_view>> chemicals_;
    std::vector<QLabel*> outputs_;
};

} // namespace zeb::gui
