#pragma once
// The saturation-of-the-blend window (TForm11): the blend of A, B and C in their stored shares,
// assessed column by column as one water, with the dosage windows behind "SI=&0" and "&pH=7,8".
// The numbers come from results::ComputeBlendSaturation.

#include "app/project.h"
#include "gui/result_window.h"
#include "results/blend_saturation.h"

#include <array>
#include <memory>

namespace Ui {
class BlendSaturationWindow;
}

namespace zeb::gui {

class DosageWindows;
class ProgressWindow;

class BlendSaturationWindow : public ReportWindow {
    Q_OBJECT
public:
    BlendSaturationWindow(Dialogs& dialogs, ReportOutput& reports, DosageWindows& dosage,
                          ProgressWindow& progress, QWidget* parent = nullptr);
    ~BlendSaturationWindow() override;

    void Run(const std::array<app::WaterAnalysis, 3>& waters, const ReportHeader& header);
    // "State of saturation blend": the caption carries " M" while shown.
    void Open(const app::Project& project, const ReportHeader& header);

    const results::BlendSaturation& result() const { return result_; }

    const ReportHeader& header() const { return header_; }

signals:
    // "Dia&gram": the diagram of what the window shows.
    void diagramRequested();

protected:
    void ApplyWindowTexts() override;
    void showEvent(QShowEvent* event) override;

private:
    void ShowResult();
    void ShowTexts();
    void BuildReport();

    std::unique_ptr<Ui::BlendSaturationWindow> ui_;
    DosageWindows& dosage_;
    ProgressWindow& progress_;

    bool hasRun_ = false;
    std::array<app::WaterAnalysis, 3> waters_;
    ReportHeader header_;
    results::BlendSaturation result_;
};

} // namespace zeb::gui
