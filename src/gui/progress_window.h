#pragma once
// The progress window (TProgress) of the long computations. A computation runs on a worker
// thread while the user-interface thread waits in a local event loop that takes no user input;
// the window appears only when the run lasts longer than half a second, so the short runs of
// every day do not flicker. The computations are pure functions of their inputs, so the thread
// they run on cannot change a digit of their results.

#include "gui/language.h"
#include "results/progress.h"

#include <QDialog>

#include <concepts>
#include <functional>
#include <memory>

namespace Ui {
class ProgressWindow;
}

namespace zeb::gui {

class ProgressWindow : public QDialog, public LanguageAware {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent = nullptr);
    ~ProgressWindow() override;

    void ApplyTexts(app::Language language) override;

    // Runs `work` to its end and rethrows what it threw. Once `showAfterMs` have passed the
    // window shows a bar from 0 to `stages` that advances as `work` steps its Progress; the bar
    // is set to its maximum and the window hidden again before this returns. With no stages
    // (0) the bar only shows that work goes on.
    void Run(const std::function<void(results::Progress&)>& work, int stages,
             int showAfterMs = 500);

    // Whether the window was shown during the last Run.
    bool shownInLastRun() const { return shownInLastRun_; }

private:
    std::unique_ptr<Ui::ProgressWindow> ui_;
    bool shownInLastRun_ = false;
};

// The result of `compute`, computed under the progress window.
// `compute` without stages of its own: the bar (0 to 0) shows that work goes on.
template <class Compute>
requires std::invocable<Compute&>
auto RunWithProgress(ProgressWindow& window, Compute&& compute) {
    decltype(compute()) result{};
    window.Run([&](results::Progress&) { result = compute(); }, 0);
    return result;
}

// `compute` is called with the results::Progress it steps through its `stages`.
template <class Compute>
auto RunWithProgress(ProgressWindow& window, int stages, Compute&& compute) {
    results::Progress* none = nullptr;
    decltype(compute(none)) result{};
    window.Run([&](results::Progress& progress) { result = compute(&progress); }, stages);
    return result;
}

} // namespace zeb::gui
