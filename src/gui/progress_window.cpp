#include "gui/progress_window.h"

#include "ui_progress_window.h"

#include <QEventLoop>
#include <QTimer>

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

void ProgressWindow::Run(const std::function<void()>& work, int showAfterMs) {
    shownInLastRun_ = false;
    QEventLoop loop;
    QTimer showTimer;
    showTimer.setSingleShot(true);
    connect(&showTimer, &QTimer::timeout, this, [this] {
        // The number of steps is not known in advance: a busy bar.
        ui_->ProgressBar1->setRange(0, 0);
        show();
        shownInLastRun_ = true;
    });

    std::exception_ptr failure;
    // The worker posts the end of the run to the loop; a post that arrives before exec() starts
    // waits in the queue, so the loop cannot miss it.
    std::thread worker([&] {
        try {
            work();
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
    if (isVisible()) {
        ui_->ProgressBar1->setRange(0, 1);
        ui_->ProgressBar1->setValue(1);
        hide();
    }
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace zeb::gui
