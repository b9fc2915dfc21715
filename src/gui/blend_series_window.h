#pragma once
// The blend-series window (TForm15): pH and calcite dissolution capacity of two waters mixed in
// eleven proportions, 100 % / 0 % to 0 % / 100 % in steps of 10 %. The numbers come from
// results::ComputeBlendSeries.

#include "app/project.h"
#include "gui/result_window.h"
#include "results/blend_series.h"

#include <memory>
#include <optional>
#include <utility>

namespace Ui {
class BlendSeriesWindow;
}

namespace zeb::gui {

class ProgressWindow;

class BlendSeriesWindow : public ReportWindow {
    Q_OBJECT
public:
    BlendSeriesWindow(Dialogs& dialogs, ReportOutput& reports, ProgressWindow& progress,
                      QWidget* parent = nullptr);
    ~BlendSeriesWindow() override;

    // Refuses (message box, nothing computed) waters with a value outside the engine's domain;
    // the ids name them in the message.
    void Run(const app::WaterAnalysis& first, const app::WaterAnalysis& second,
             const ReportHeader& header, app::WaterId firstId = app::WaterId::A,
             app::WaterId secondId = app::WaterId::B);

    // "Blend A - B" (A - C, B - C): the caption carries " A / B" and the share labels the two
    // letters while the window is shown; the text labels name the pair.
    void Open(const app::Project& project, app::WaterId first, app::WaterId second,
              const ReportHeader& header);

    const results::BlendSeriesResult& result() const { return result_; }

    std::pair<char, char> pair() const { return pair_; }
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
    void SaveClick();

    std::unique_ptr<Ui::BlendSeriesWindow> ui_;
    ProgressWindow& progress_;

    // The pair the text labels name; the share labels carry the letters only while shown.
    std::pair<char, char> pair_{'A', 'B'};
    bool lettersOnShares_ = false;
    bool hasRun_ = false;
    ReportHeader header_;
    results::BlendSeriesResult result_;
};

} // namespace zeb::gui
