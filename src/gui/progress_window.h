#pragma once
// The progress window (TProgress) of the long computations. A computation runs on a worker
// thread while the user-interface thread waits in a local event loop that takes no user input;
// the window appears only when the run lasts longer than half a second, so the short runs of
// every day do not flicker. The computations are pure functions of their inputs, so the thread
// they run on cannot change a digit of their results.

#include "gui/language.h"

#include <QDialog>

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

    // Runs `work` to its end and rethrows what it threw. The window shows a busy bar once
    // `showAfterMs` have passed and is hidden again before this returns.
    void Run(const std::function<void()>& work, int showAfterMs = 500);

    // Whether the window was shown during the last Run.
    bool shownInLastRun() const { return shownInLastRun_; }

private:
    std::unique_ptr<Ui::ProgressWindow> ui_;
    bool shownInLastRun_ = false;
};

// The result of `compute`, computed under the progress window.
template <class Compute> auto RunWithProgress(ProgressWindow& progress, Compute&& compute) {
    decltype(compute()) result{};
    progress.Run([&] { result = compute(); });
    return result;
}

} // namespace zeb::gui
