// The progress window: shown only for runs longer than its delay, the user-interface thread
// kept free of input meanwhile, and results identical to a run on the calling thread.

#include "result_test_support.h"

#include "gui/progress_window.h"
#include "results/saturation.h"

#include <chrono>
#include <stdexcept>
#include <thread>

using namespace zeb;
using namespace zeb::gui;

class ProgressWindowTest : public QObject {
    Q_OBJECT

    ProgressWindow progress;

private slots:
    void appearsOnlyForLongRuns() {
        bool visibleDuring = false;
        progress.Run([] {});
        QVERIFY(!progress.shownInLastRun());
        progress.Run(
            [&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(600));
                visibleDuring = true;
            },
            200);
        QVERIFY(progress.shownInLastRun());
        QVERIFY(visibleDuring);
        QVERIFY(!progress.isVisible());
        QCOMPARE(progress.windowTitle(), QString("Berechnung läuft ..."));
    }

    void rethrowsWhatTheWorkThrew() {
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 progress.Run([] { throw std::runtime_error("x"); }));
    }

    void resultsAreThoseOfTheCallingThread() {
        const app::Project project = gui::test::ExampleProject();
        for (app::WaterId id : app::kAllWaters) {
            const app::WaterAnalysis& water = project.water(id);
            const results::WaterSaturation here = results::ComputeSaturation(water);
            const results::WaterSaturation there =
                RunWithProgress(progress, [&] { return results::ComputeSaturation(water); });
            for (int k = 0; k < 3; ++k) {
                QVERIFY(here.columns[k].pH == there.columns[k].pH);
                QVERIFY(here.columns[k].dcMmol == there.columns[k].dcMmol);
                QVERIFY(here.columns[k].ionicStrength == there.columns[k].ionicStrength);
            }
        }
    }
};

QTEST_MAIN(ProgressWindowTest)
#include "progress_window_test.moc"
