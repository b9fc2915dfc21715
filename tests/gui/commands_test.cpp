// The commands of the menus in the main window with every window installed: each opens its
// window under the caption of the command (with the suffix of its water or waters while shown),
// the editing protocol with its change check, an analysis typed from scratch surviving Save and
// Open, compile data, and a result window working on the project under the project's name.

#include "result_test_support.h"

#include "app/number_format.h"
#include "gui/main_window.h"
#include "gui/saturation_window.h"
#include "gui/windows.h"
#include "results/saturation.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include <memory>

using namespace zeb;
using namespace zeb::gui;
using namespace zeb::gui::test;

class CommandsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> main;

    QString Status() { return main->statusPanel(1)->text(); }
    void Trigger(Command command, std::function<void(QDialog&)> user) {
        dialogs.modalHandlers.append(std::move(user));
        main->action(command)->trigger();
        QVERIFY2(dialogs.modalHandlers.isEmpty(), "the command did not open its window");
    }
    QStringList Messages() { return TakeMessages(dialogs); }

private slots:
    void init() {
        qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
        QVERIFY(QDir().mkpath(dir.filePath("program")));
        main = std::make_unique<MainWindow>(
            dialogs, StartupOptions{dir.filePath("program").toStdString(), {}});
        InstallWindows(*main);
        main->show();
        dialogs.fileNames << ExampleProject().fileName.c_str();
        main->Oeffnen1Click();
        dialogs.messages.clear();
    }
    void cleanup() {
        main.reset();
        QVERIFY2(dialogs.unanswered.isEmpty(), qPrintable(dialogs.unanswered.join(u'\n')));
    }

    void everyCommandOpensItsWindow_data() {
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("suffix");
        const struct {
            Command command;
            const char* window;
            const char* german;
            const char* english;
            const char* suffix; // carried while the command shows the window
        } rows[] = {
            {Command::AnalysenwerteA, "TForm1", "Analysendaten", "Analyis Data", " A"},
            {Command::AnalysenwerteC, "TForm1", "Analysendaten", "Analyis Data", " C"},
            {Command::Mischungsanteile, "TForm7", "Mischungsanteile", "Fractions of blend", ""},
            {Command::Kohlensaeureformen1, "TForm8", "Kohlensäureformen", "Carbonic acid species",
             ""},
            {Command::Conditioning, "TForm3", "Zusätze", "Conditioning", ""},
            {Command::W216, "TForm16", "W 216", "W 216", ""},
            {Command::Konstanten, "TForm13", "Konstanten", "Constants", ""},
            {Command::Daten, "TForm35", "Daten zusammenfügen", "Compile Data", ""},
            {Command::CalcitA, "TForm4", "Calcitsättigung", "State of saturation", " A"},
            {Command::CalcitB, "TForm4", "Calcitsättigung", "State of saturation", " B"},
            {Command::CalcitC, "TForm4", "Calcitsättigung", "State of saturation", " C"},
            {Command::CalcitM, "TForm11", "Calcitsättigung der Mischung",
             "State of saturation of blend", " M"},
            {Command::BlendAB, "TForm15", "Mischung", "Blend", " A / B"},
            {Command::BlendAC, "TForm15", "Mischung", "Blend", " A / C"},
            {Command::BlendBC, "TForm15", "Mischung", "Blend", " B / C"},
            {Command::SpeciesA, "TForm12", "Spezies Konzentrationen", "Species concentrations",
             " A"},
            {Command::SpeciesB, "TForm12", "Spezies Konzentrationen", "Species concentrations",
             " B"},
            {Command::SpeciesC, "TForm12", "Spezies Konzentrationen", "Species concentrations",
             " C"},
        };
        for (bool english : {false, true}) {
            for (const auto& r : rows)
                QTest::addRow("%s %s%s", english ? "en" : "de", r.window, r.suffix)
                    << english << int(r.command) << r.window
                    << QString::fromUtf8(english ? r.english : r.german) << r.suffix;
        }
    }
    void everyCommandOpensItsWindow() {
        QFETCH(bool, english);
        QFETCH(int, command);
        QFETCH(QString, window);
        QFETCH(QString, caption);
        QFETCH(QString, suffix);
        english ? main->SetEnglishTexts() : main->SetGermanTexts();
        QVERIFY(main->action(Command(command))->isEnabled());
        QString shownCaption;
        QDialog* shown = nullptr;
        Trigger(Command(command), [&](QDialog& w) {
            shown = &w;
            shownCaption = w.windowTitle();
            w.reject();
        });
        QCOMPARE(shown->objectName(), window);
        QCOMPARE(shownCaption, caption + suffix);
        QCOMPARE(shown->windowTitle(), caption); // the suffix removed again
        Messages();
    }

    void resultWindowShowsTheProjectsWaterUnderTheProjectsName() {
        Trigger(Command::CalcitB, [](QDialog& w) { w.reject(); });
        const auto& window = *main->findChild<SaturationWindow*>();
        const results::WaterSaturation r =
            results::ComputeSaturation(main->project().water(app::WaterId::B));
        QCOMPARE(LabelText(window, "valueSI2"), Q(app::FormatFixed(r.columns[1].si, 8, 3)));
        QCOMPARE(window.report()[3], "        " + main->reportHeaderLine());
        QCOMPARE(window.report()[6], "        " + main->project().fileName);
    }

    void analysisOkWithoutChangesIsNoChange() {
        Trigger(Command::AnalysenwerteB, [](QDialog& w) { Click(w, "buttonOk"); });
        QVERIFY(!main->project().modified);
        QCOMPARE(Status(), QString());
    }

    void analysisCancelKeepsTheWaterButGivesTheNotices() {
        const app::WaterAnalysis before = main->project().water(app::WaterId::A);
        Trigger(Command::AnalysenwerteA, [](QDialog& w) {
            w.findChild<QCheckBox*>("CheckBox2")->setChecked(false);
            Entry(w, "Edit10")->setText("0");
            Entry(w, "Edit9")->setText("0");
            Click(w, "buttonCancel");
        });
        QCOMPARE(main->project().water(app::WaterId::A), before);
        QCOMPARE(main->project().editingCopy.waters[0], before);
        QCOMPARE(Messages(), (QStringList{"Ionenstärke für Berechnung: 0 mmol/L",
                                          "Temperatur für Berechnung: 0 °C"}));
        QVERIFY(!main->project().modified);
    }

    void analysisTypedFromScratchSurvivesSaveAndOpen() {
        main->NeuClick();
        // Every entry of the form in tab order, typed as a chemist would.
        const std::pair<const char*, const char*> typed[] = {
            {"Edit1", "Neue Analyse, Brunnen 7"},
            {"Edit2", "7,45"},
            {"Edit3", "11.2"},
            {"Edit4", "64.3"},
            {"Edit5", "4.1"},
            {"Edit34", "11"},
            {"Edit6", "0.35"},
            {"Edit8", "11"},
            {"Edit25", "4.4"},
            {"Edit9", "10"},
            {"Edit30", "1.2"},
            {"Edit31", "8.9"},
            {"Edit18", "23"},
            {"Edit19", "3.9"},
            {"Edit20", "96.2"},
            {"Edit21", "14.6"},
            {"Edit22", "35.5"},
            {"Edit23", "12.4"},
            {"Edit24", "57.6"},
            {"Edit28", "0.19"},
            {"Edit29", "0.05"},
            {"Edit36", "0.2"},
            {"Edit38", "0.05"},
        };
        QStringList expected;
        Trigger(Command::AnalysenwerteC, [&](QDialog& w) {
            QVERIFY(ShowActive(w));
            w.findChild<QRadioButton*>("RadioButton1")->click();
            for (const auto& [name, text] : typed) {
                QLineEdit* e = Entry(w, name);
                e->setFocus(Qt::TabFocusReason);
                QTest::keyClicks(e, QString::fromUtf8(text));
                QTest::keyClick(e, Qt::Key_Return);
            }
            QCOMPARE(Entry(w, "Edit13")->text(), QString("   2.400")); // 96.2 / 40.08
            QCOMPARE(Entry(w, "Edit32")->text(), QString("   3.001"));
            for (QLineEdit* e : w.findChildren<QLineEdit*>())
                expected << e->objectName() + '=' + e->text();
            Click(w, "buttonOk");
        });
        QVERIFY(main->project().modified);
        QCOMPARE(Status(), QString("Geändert"));
        QCOMPARE(main->project().water(app::WaterId::C).condRefTemp, std::string("20"));

        const QString file = dir.filePath("brunnen7.zeb");
        dialogs.fileNames << file;
        QVERIFY(main->Speichernunter1Click());
        main->NeuClick();
        dialogs.fileNames << file;
        main->Oeffnen1Click();
        QStringList reopened;
        Trigger(Command::AnalysenwerteC, [&](QDialog& w) {
            for (QLineEdit* e : w.findChildren<QLineEdit*>())
                reopened << e->objectName() + '=' + e->text();
            QVERIFY(w.findChild<QRadioButton*>("RadioButton1")->isChecked());
            Click(w, "buttonOk");
        });
        QCOMPARE(reopened, expected);
        QVERIFY(!main->project().modified);
    }

    void blendCancelIsNoChange() {
        auto typeShares = [](const char* a, const char* button) {
            return [=](QDialog& w) {
                Entry(w, "Edit1")->setText(a);
                Entry(w, "Edit2")->setText("0");
                Click(w, button);
            };
        };
        const std::string stored = main->project().water(app::WaterId::A).blendPercent;
        Trigger(Command::Mischungsanteile, typeShares("15", "Button2"));
        QCOMPARE(main->project().water(app::WaterId::A).blendPercent, stored);
        QVERIFY(!main->project().modified);

        Trigger(Command::Mischungsanteile, typeShares("15", "Button3"));
        QCOMPARE(main->project().water(app::WaterId::A).blendPercent, std::string("  15.000"));
        QCOMPARE(main->project().water(app::WaterId::C).blendPercent, std::string("  85.000"));
        QVERIFY(main->project().modified);
    }

    void conditioningAndW216FollowTheProtocol() {
        const app::ConditioningData before = main->project().parts.conditioning;
        Trigger(Command::Conditioning, [](QDialog& w) {
            Click(w, "buttonDataB");
            Click(w, "Button3");
        });
        QCOMPARE(main->project().parts.conditioning, before);
        QVERIFY(!main->project().modified);

        Trigger(Command::W216, [](QDialog& w) {
            w.findChild<QRadioButton*>("radioIIC")->click();
            Click(w, "Button1");
        });
        QCOMPARE(main->project().parts.w216.values[app::W216Data::Letter2], std::string("C"));
        QVERIFY(main->project().modified);
    }

    void compileTheSameFileIntoAllThreeSlots() {
        const app::Project example = ExampleProject();
        const QString source = QString::fromStdString(example.fileName);
        const QString target = dir.filePath("compiled.zeb");
        dialogs.fileNames << source << source << source << target;
        Trigger(Command::Daten, [](QDialog& w) {
            for (const char* slot : {"1", "2", "3"}) {
                Click(w, (std::string("buttonFile") + slot).c_str());
                w.findChild<QRadioButton*>(
                     QString("radioData%1%2").arg(QChar('A' + slot[0] - '1')).arg(slot))
                    ->click();
            }
            QCOMPARE(LabelText(w, "textLabel3"), Q(ExampleProject().water(app::WaterId::C).text));
            Click(w, "buttonSaveAs");
            Click(w, "Button1");
        });
        const app::Project& p = main->project();
        QCOMPARE(p.fileName, target.toStdString());
        QCOMPARE(main->windowTitle(), "ZEB 4.1 - " + target);
        app::ProjectParts expected = app::ComposeProject(example.parts.waters);
        QCOMPARE(p.parts, expected);
        QCOMPARE(p.water(app::WaterId::B).blendPercent, std::string("   0.000"));
        QVERIFY(!p.modified);
        // The file holds the same, and line 5 names the project it was compiled from.
        app::Project reread;
        app::LineBuffer buffer;
        QVERIFY(app::LoadProject(target.toStdString(), reread, buffer));
        QCOMPARE(reread.parts, expected);
        QVERIFY(QString::fromStdString(buffer[5]).contains(QFileInfo(source).fileName()));
    }

    void compileQuitLeavesTheProject() {
        const app::ProjectParts before = main->project().parts;
        const std::string name = main->project().fileName;
        dialogs.fileNames << std::nullopt;
        Trigger(Command::Daten, [](QDialog& w) {
            Click(w, "buttonSaveAs"); // the file dialog closed without a choice
            Click(w, "Button1");
        });
        QCOMPARE(main->project().parts, before);
        QCOMPARE(main->project().fileName, name);
        QVERIFY(!main->project().modified);
    }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
