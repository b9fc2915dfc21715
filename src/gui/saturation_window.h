#pragma once
// The state-of-saturation window (TForm4): the carbonate system and the calcite saturation of
// one water, once per input pair of its family, with the dosage windows behind "SI=&0" and
// "&pH=7,8". The numbers come from results::ComputeSaturation; the window only formats them.

#include "app/project.h"
#include "gui/result_window.h"
#include "results/saturation.h"

#include <memory>

namespace Ui {
class SaturationWindow;
}

namespace zeb::gui {

class DosageWindows;
class ProgressWindow;

class SaturationWindow : public ReportWindow {
    Q_OBJECT
public:
    SaturationWindow(Dialogs& dialogs, ReportOutput& reports, DosageWindows& dosage,
                     ProgressWindow& progress, QWidget* parent = nullptr);
    ~SaturationWindow() override;

    // Computes the state of saturation of `water`, shows it here and in the dosage windows and
    // builds the report.
    // Refuses (message box, nothing computed) a water with a value outside the engine's domain;
    // `id` names the water in the message.
    void Run(const app::WaterAnalysis& water, const ReportHeader& header,
             app::WaterId id = app::WaterId::A);
    // The second half of Run: shows a computed result here and in the dosage windows.
    void Show(const app::WaterAnalysis& water, const results::WaterSaturation& result,
              const ReportHeader& header);

    // The command "State of saturation A" (B, C): the caption carries " A" while the window is
    // shown.
    void Open(const app::Project& project, app::WaterId id, const ReportHeader& header);

    const results::WaterSaturation& result() const { return result_; }
    const app::WaterAnalysis& water() const { return water_; }
    const ReportHeader& header() const { return header_; }

signals:
    // "Dia&gram": the diagram of what the window shows.
    void diagramRequested();

protected:
    void ApplyWindowTexts() override;
    void showEvent(QShowEvent* event) override;

private:
    void ShowResult();
    void ShowAgreement();
    void ShowTexts();
    void BuildReport();
    void SaveClick();
    void PrintClick();

    std::unique_ptr<Ui::SaturationWindow> ui_;
    DosageWindows& dosage_;
    ProgressWindow& progress_;

    bool hasRun_ = false;
    app::WaterAnalysis water_;
    ReportHeader header_;
    results::WaterSaturation result_;
};

} // namespace zeb::gui
