#include "gui/progress_window.h"

#include "ui_progress_window.h"

#include <QEventLoop>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>
#include <exception>
#include <thread>

namespace zeb::gui {

ProgressWindow::ProgressWindow(QWidget* parent) : QDialog(parent), ui_(new Ui::ProgressWindow) {
    ui_->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    setWindowModality(Qt::ApplicationModal);
    ApplyTexts(app::Language::German);
}

ProgressWindow::~ProgressWindow() = default;

void ProgressWindow::ApplyTexts(app::Language language) {
    ApplyTableTexts(*this, "TProgress", language);
}

void ProgressWindow::Run(const std::function<void(results::Progress&)>& work, int stages,
                         int showAfterMs) {
    shownInLastRun_ = false;
    results::Progress progress;
    QProgressBar* bar = ui_->ProgressBar1;
    bar->setRange(0, stages);
    bar->setValue(0);
    const auto follow = [&] { bar->setValue(std::clamp(progress.done(), 0, stages)); };
    // The stages finish on the worker; the bar reads their count on this thread.
    QTimer followTimer;
    followTimer.setInterval(40);
    connect(&followTimer, &QTimer::timeout, this, follow);
    QEventLoop loop;
    QTimer showTimer;
    showTimer.setSingleShot(true);
    connect(&showTimer, &QTimer::timeout, this, [&] {
        follow();
        show();
        shownInLastRun_ = true;
        followTimer.start();
    });

    std::exception_ptr failure;
    // The worker posts the end of the run to the loop; a post that arrives before exec() starts
    // waits in the queue, so the loop cannot miss it.
    std::thread worker([&] {
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    showTimer.start(showAfterMs);
    // No user input while the computation runs: a second command cannot start in between.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    showTimer.stop();
    followTimer.stop();
    bar->setValue(stages);
    if (isVisible())
        hide();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace zeb::gui
