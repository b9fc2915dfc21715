// The result commands of the Calculation menu in the main window: enabled, each opens its
// window with the caption suffix of its water or waters in both languages, and every caption
// returns to its text before the command.

#include "result_test_support.h"

#include "app/number_format.h"
#include "gui/main_window.h"
#include "gui/result_windows.h"
#include "gui/saturation_window.h"
#include "results/saturation.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>

#include <memory>

using namespace zeb;
using namespace zeb::gui;
using namespace zeb::gui::test;

class ResultCommandsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> main;
    ResultWindows windows{};

    // Runs the command and returns the window's objectName and caption while it was shown.
    QStringList Trigger(Command command) {
        QStringList shown;
        dialogs.modalHandlers.append(
            [&shown](QDialog& w) { shown << w.objectName() << w.windowTitle(); });
        main->action(command)->trigger();
        return shown;
    }

private slots:
    void initTestCase() {
        qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
        QVERIFY(QDir().mkpath(dir.filePath("program")));
        main = std::make_unique<MainWindow>(
            dialogs, StartupOptions{dir.filePath("program").toStdString(), {}});
        windows = InstallResultWindows(*main);
        main->show();
        const app::Project example = ExampleProject();
        main->project().parts = example.parts;
        main->project().fileName = example.fileName;
    }

    void cleanupTestCase() {
        main.reset();
        QVERIFY2(dialogs.unanswered.isEmpty(), qPrintable(dialogs.unanswered.join(u'\n')));
    }

    void commandsOpenTheirWindowsWithTheSuffix_data() {
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        struct Row {
            Command command;
            const char* form;
            const char* german;
            const char* english;
        };
        const Row rows[] = {
            {Command::CalcitA, "TForm4", "Calcitsättigung A", "State of saturation A"},
            {Command::CalcitB, "TForm4", "Calcitsättigung B", "State of saturation B"},
            {Command::CalcitC, "TForm4", "Calcitsättigung C", "State of saturation C"},
            {Command::CalcitM, "TForm11", "Calcitsättigung der Mischung M",
             "State of saturation of blend M"},
            {Command::BlendAB, "TForm15", "Mischung A / B", "Blend A / B"},
            {Command::BlendAC, "TForm15", "Mischung A / C", "Blend A / C"},
            {Command::BlendBC, "TForm15", "Mischung B / C", "Blend B / C"},
            {Command::SpeciesA, "TForm12", "Spezies Konzentrationen A", "Species concentrations A"},
            {Command::SpeciesB, "TForm12", "Spezies Konzentrationen B", "Species concentrations B"},
            {Command::SpeciesC, "TForm12", "Spezies Konzentrationen C", "Species concentrations C"},
        };
        for (bool english : {false, true})
            for (const Row& r : rows)
                QTest::addRow("%s %s", english ? "en" : "de", r.english)
                    << english << static_cast<int>(r.command) << r.form
                    << QString::fromUtf8(english ? r.english : r.german);
    }
    void commandsOpenTheirWindowsWithTheSuffix() {
        QFETCH(bool, english);
        QFETCH(int, command);
        QFETCH(QString, window);
        QFETCH(QString, caption);
        if (english)
            main->SetEnglishTexts();
        else
            main->SetGermanTexts();
        QAction* action = main->action(static_cast<Command>(command));
        QVERIFY(action->isEnabled());
        QCOMPARE(Trigger(static_cast<Command>(command)), (QStringList{window, caption}));
        auto* shown = main->findChild<QDialog*>(window);
        // " A / B" or " A" removed again.
        QCOMPARE(shown->windowTitle(), caption.chopped(window == "TForm15" ? 6 : 2));
    }

    void saturationShowsTheProjectsWaterUnderTheProjectsName() {
        main->SetGermanTexts();
        Trigger(Command::CalcitB);
        const app::WaterAnalysis& b = main->project().water(app::WaterId::B);
        const results::WaterSaturation r = results::ComputeSaturation(b);
        QCOMPARE(LabelText(*windows.saturation, "valueSI2"),
                 Q(app::FormatFixed(r.columns[1].si, 8, 3)));
        QCOMPARE(windows.saturation->report()[3], "        " + main->reportHeaderLine());
        QCOMPARE(windows.saturation->report()[6], "        " + main->project().fileName);
    }
};

QTEST_MAIN(ResultCommandsTest)
#include "result_commands_test.moc"
