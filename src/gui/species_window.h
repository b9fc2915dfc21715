#pragma once
// The species-concentrations window (TForm12): every species of the ion-pair model of one water
// after its carbonate system has been solved, once per input pair of its family. The numbers
// come from results::ComputeSpecies.

#include "app/project.h"
#include "gui/result_window.h"
#include "results/species.h"

#include <memory>

namespace Ui {
class SpeciesWindow;
}

namespace zeb::gui {

class ProgressWindow;

class SpeciesWindow : public ReportWindow {
    Q_OBJECT
public:
    SpeciesWindow(Dialogs& dialogs, ReportOutput& reports, ProgressWindow& progress,
                  QWidget* parent = nullptr);
    ~SpeciesWindow() override;

    // Refuses (message box, nothing computed) a water with a value outside the engine's domain;
    // `id` names the water in the message.
    void Run(const app::WaterAnalysis& water, const ReportHeader& header,
             app::WaterId id = app::WaterId::A);
    // "Concentrations of ion pairs A" (B, C): the caption carries " A" while shown.
    void Open(const app::Project& project, app::WaterId id, const ReportHeader& header);

    const results::SpeciesResult& result() const { return result_; }

protected:
    void ApplyWindowTexts() override;
    void showEvent(QShowEvent* event) override;

private:
    void ShowResult();
    void ShowTexts();
    void BuildReport();

    std::unique_ptr<Ui::SpeciesWindow> ui_;
    ProgressWindow& progress_;

    bool hasRun_ = false;
    app::WaterAnalysis water_;
    ReportHeader header_;
    results::SpeciesResult result_;
};

} // namespace zeb::gui
