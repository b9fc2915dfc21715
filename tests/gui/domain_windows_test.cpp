// Result windows given a water with a value outside the range in which the computations are
// defined: the message in the window's language, and the window left empty as after a failed
// gate.

#include "result_test_support.h"

#include "gui/blend_saturation_window.h"
#include "gui/blend_series_window.h"
#include "gui/dosage_window.h"
#include "gui/progress_window.h"
#include "gui/saturation_window.h"
#include "gui/species_window.h"

using namespace zeb;
using namespace zeb::gui;
using namespace zeb::gui::test;

namespace {

const QString kGerman = "Wasser B: T bew = 1e6 liegt außerhalb des Bereichs, in dem die "
                        "Berechnung definiert ist (0 bis 350 °C).";
const QString kEnglish = "Water B: T bew = 1e6 is outside the range in which the calculation "
                         "is defined (0 to 350 °C).";

} // namespace

class DomainWindowsTest : public QObject {
    Q_OBJECT

    ReportFrontEnd front;
    ProgressWindow progress;
    DosageWindows dosage{front.dialogs};
    SaturationWindow saturation{front.dialogs, front.reports, dosage, progress};
    BlendSaturationWindow blend{front.dialogs, front.reports, dosage, progress};
    BlendSeriesWindow series{front.dialogs, front.reports, progress};
    SpeciesWindow species{front.dialogs, front.reports, progress};
    app::Project project = ExampleProject();

    app::WaterAnalysis Overheated() const {
        app::WaterAnalysis w = project.water(app::WaterId::B);
        w.tempCalc = "1e6";
        return w;
    }

    // The messages shown while `run` ran, with the windows in `language`.
    template <class Run> QStringList MessagesOf(app::Language language, Run run) {
        for (ResultWindow* w :
             std::initializer_list<ResultWindow*>{&saturation, &blend, &series, &species})
            w->ApplyTexts(language);
        TakeMessages(front.dialogs);
        run();
        return TakeMessages(front.dialogs);
    }

private slots:
    void cleanup() { QVERIFY(front.dialogs.unanswered.isEmpty()); }

    void refusalsNameWaterFieldValueAndRangeInTheWindowLanguage_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("message");
        QTest::newRow("de") << int(app::Language::German) << kGerman;
        QTest::newRow("en") << int(app::Language::English) << kEnglish;
    }
    void refusalsNameWaterFieldValueAndRangeInTheWindowLanguage() {
        QFETCH(int, language);
        QFETCH(QString, message);
        const auto lang = static_cast<app::Language>(language);

        saturation.Run(project.water(app::WaterId::A), FixedHeader());
        QVERIFY(saturation.result().computed);
        QCOMPARE(
            MessagesOf(lang, [&] { saturation.Run(Overheated(), FixedHeader(), app::WaterId::B); }),
            QStringList{message});
        QVERIFY(!saturation.result().computed);
        // The message said why; the gate's status line would not.
        QVERIFY(saturation.findChild<QLabel*>("labelStatus")->isHidden());
        QCOMPARE(LabelText(saturation, "valueMValue1"), QString());
        QCOMPARE(LabelText(saturation, "valueDcMg3"), QString());
        for (DosageWindow* w : dosage.all())
            QCOMPARE(w->valueLabel(chem::Chemical::NaOH, 0)->text(), QString());

        species.Run(project.water(app::WaterId::A), FixedHeader());
        QVERIFY(species.result().computed);
        QCOMPARE(
            MessagesOf(lang, [&] { species.Run(Overheated(), FixedHeader(), app::WaterId::B); }),
            QStringList{message});
        QVERIFY(!species.result().computed);

        QCOMPARE(MessagesOf(lang,
                            [&] {
                                series.Run(project.water(app::WaterId::A), Overheated(),
                                           FixedHeader(), app::WaterId::A, app::WaterId::B);
                            }),
                 QStringList{message});
        QVERIFY(!series.result().computed);

        std::array<app::WaterAnalysis, 3> waters = project.parts.waters;
        waters[1] = Overheated(); // B has a share of 60 %
        QCOMPARE(MessagesOf(lang, [&] { blend.Run(waters, FixedHeader()); }), QStringList{message});
        QVERIFY(!blend.result().computed);
    }

    void watersInsideTheRangeComputeWithoutMessage() {
        app::WaterAnalysis w = project.water(app::WaterId::A);
        w.ks82 = "   5.000"; // above KS 4.3: the analysis form lets it through
        w.tempCalc = "  95.000";
        QCOMPARE(MessagesOf(app::Language::German, [&] { saturation.Run(w, FixedHeader()); }),
                 QStringList{});
        QVERIFY(saturation.result().computed);
    }
};

QTEST_MAIN(DomainWindowsTest)
#include "domain_windows_test.moc"
