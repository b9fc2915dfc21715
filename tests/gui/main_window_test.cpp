// The main window: start-up with its settings file, the project-file commands, the question
// before changes are lost, the Options dialog, language switching, menu, help and picture. With
// every window installed and the example open: each command opens its window under the caption
// of the command (with the suffix of its water or waters while shown), the editing protocol with
// its change check, an analysis typed from scratch surviving Save and Open, compile data, and a
// result window working on the project under the project's name.
#include "result_test_support.h"

#include "app/number_format.h"
#include "app/project_file.h"
#include "gui/jpeg_image.h"
#include "gui/main_window.h"
#include "gui/options_dialog.h"
#include "gui/saturation_window.h"
#include "gui/windows.h"
#include "results/saturation.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <memory>
#include <sys/stat.h>

using namespace zeb;
using namespace zeb::gui;
using namespace zeb::gui::test;

namespace {

void WriteBytes(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QString ExampleFile() {
    return QString::fromStdString(zeb::test::kExampleFile);
}

template <typename T> T* Child(QWidget& window, const char* name) {
    T* child = window.findChild<T*>(QLatin1String(name));
    if (!child)
        qWarning("no child %s", name);
    return child;
}

struct MenuEntry {
    const char* name;
    const char* german;
    const char* english;
    const char* shortcut;
};

// The captions and keys as the users know them; "-" stands for a separator.
const MenuEntry kMenu[] = {
    {"File", "&Datei", "&File", ""},
    {"Neu", "&Neu", "&New", "F2"},
    {"Oeffnen1", "Ö&ffnen...", "&Open...", "F3"},
    {"Speichern1", "&Speichern...", "&Save...", "Ctrl+S"},
    {"Speichernunter1", "Speichern &unter...", "Save &As...", "F4"},
    {"-", "", "", ""},
    {"Beenden1", "&Exit", "&Exit", ""},
    {"Edit", "&Eingabe", "&Edit", ""},
    {"AnalysenwerteA", "Analysendaten &A", "Analysis data &A", "Ctrl+A"},
    {"AnalysenwerteB", "Analysendaten &B", "Analysis data &B", "Ctrl+B"},
    {"AnalysenwerteC", "Analysendaten &C", "Analysis data &C", "Ctrl+C"},
    {"-", "", "", ""},
    {"Mischungsanteile", "&Mischungsanteile", "&Fractions of blend", "Ctrl+M"},
    {"Calculation", "&Berechnung", "&Calculation", ""},
    {"CalcitA", "Calcitsättigung &A", "State of saturation &A", "Ctrl+Alt+A"},
    {"CalcitB", "Calcitsättigung &B", "State of saturation &B", "Ctrl+Alt+B"},
    {"CalcitC", "Calcitsättigung &C", "State of saturation &C", "Ctrl+Alt+C"},
    {"CalcitM", "Calcitsättigung der &Mischung", "State of saturation &blend", "Ctrl+Alt+M"},
    {"-", "", "", ""},
    {"BlendAB", "Mischung A - B", "Blend A - B", "Shift+F2"},
    {"BlendAC", "Mischung A - C", "Blend A - C", "Shift+F3"},
    {"BlendBC", "Mischung B - C", "Blend B - C", "Shift+F4"},
    {"-", "", "", ""},
    {"SpeciesA", "Konzentrationen der &Ionenpaare A", "Concentrations of &ion pairs A", "Ctrl+F2"},
    {"SpeciesB", "Konzentrationen der I&onenpaare B", "Concentrations of i&on pairs B", "Ctrl+F3"},
    {"SpeciesC", "Konzentrationen der Io&nenpaare C", "Concentrations of io&n pairs C", "Ctrl+F4"},
    {"Extras", "E&xtras", "E&xtras", ""},
    {"Kohlensaeureformen1", "&Kohlensäureformen", "Carbonic &acid species", "F5"},
    {"Conditioning", "&Zusätze", "&Conditioning", "F6"},
    {"W216", "&W 216", "&W 216", "F7"},
    {"Konstanten", "Kon&stanten", "Con&stants", "F8"},
    {"Daten", "&Daten zusammenfügen", "Compile &Data", "Ctrl+D"},
    {"Stapelberechnung", "S&tapelberechnung", "&Batch calculation", "F11"},
    {"-", "", "", ""},
    {"Optionen", "&Optionen", "&Options", "F9"},
    {"Help", "?", "?", ""},
    {"Info1", "&Info...", "&Info...", ""},
    {"Help1", "&Hilfe", "&Help", "F1"},
};

// The menu bar as one list of (name, caption, shortcut) in the order shown.
QStringList MenuListing(MainWindow& window) {
    QStringList listing;
    for (QAction* top : window.menuBar()->actions()) {
        QMenu* menu = top->menu();
        listing << menu->objectName() + u'|' + menu->title() + u'|';
        for (QAction* action : menu->actions()) {
            if (action->isSeparator())
                listing << QStringLiteral("-||");
            else
                listing << action->objectName() + u'|' + action->text() + u'|' +
                               action->shortcut().toString(QKeySequence::PortableText);
        }
    }
    return listing;
}

QStringList ExpectedListing(app::Language language) {
    QStringList listing;
    for (const MenuEntry& e : kMenu) {
        if (QLatin1String(e.name) == QLatin1String("-"))
            listing << QStringLiteral("-||");
        else
            listing << QString::fromUtf8(e.name) + u'|' +
                           QString::fromUtf8(language == app::Language::German ? e.german
                                                                               : e.english) +
                           u'|' + QString::fromUtf8(e.shortcut);
    }
    return listing;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString programDir_;
    QString iniFile_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<MainWindow> window_;
    QString startDirectory_;

    MainWindow& Start(const QStringList& arguments = {}) {
        window_ = std::make_unique<MainWindow>(
            dialogs_, StartupOptions{programDir_.toStdString(), arguments});
        window_->show();
        return *window_;
    }
    QString Title(const QString& file) const { return QStringLiteral("ZEB 4.1 - ") + file; }
    void MakeModified(MainWindow& window) {
        window.project().water(app::WaterId::A).text = "changed";
        window.CheckModified();
    }
    // The program with every window installed and the example project open.
    void StartWithExample() {
        InstallWindows(Start());
        dialogs_.fileNames << ExampleFile();
        window_->Oeffnen1Click();
        dialogs_.messages.clear();
    }
    QString Status() { return window_->statusPanel(1)->text(); }
    void Trigger(Command command, std::function<void(QDialog&)> user) {
        dialogs_.modalHandlers.append(std::move(user));
        window_->action(command)->trigger();
        QVERIFY2(dialogs_.modalHandlers.isEmpty(), "the command did not open its window");
    }
    QStringList Messages() { return TakeMessages(dialogs_); }

private slots:
    void initTestCase() { startDirectory_ = QDir::currentPath(); }

    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        programDir_ = dir_->path() + QStringLiteral("/program");
        QVERIFY(QDir().mkpath(programDir_));
        iniFile_ = programDir_ + QStringLiteral("/ZEB.ini");
        // Never near a real ZEB.ini, even when the program directory should not be writable.
        qputenv("XDG_CONFIG_HOME", (dir_->path() + QStringLiteral("/config")).toLocal8Bit());
        dialogs_ = ScriptedDialogs();
    }

    void cleanup() {
        if (window_)
            window_->project().modified = false;
        window_.reset();
        QVERIFY2(dialogs_.unanswered.isEmpty(), qPrintable(dialogs_.unanswered.join(u'\n')));
        QDir::setCurrent(startDirectory_);
    }

    void startupWithoutSettingsCreatesThemInGerman() {
        MainWindow& window = Start();
        QCOMPARE(ReadBytes(iniFile_), "DEUTSCH\r\n" + programDir_.toUtf8() + "\r\n\r\n");
        QCOMPARE(window.language(), app::Language::German);
        QCOMPARE(window.windowTitle(), Title(programDir_ + QStringLiteral("/Untitled.zeb")));
        QCOMPARE(QDir::currentPath(), programDir_);
        QCOMPARE(window.optionsDialog().directory(), programDir_);
        QVERIFY(dialogs_.messages.isEmpty());
        QVERIFY(window.statusPanel(1)->text().isEmpty());
        QVERIFY(!window.statusPanel(2)->text().isEmpty());
        QVERIFY(!window.statusPanel(3)->text().isEmpty());
        // Every panel inside the window, each text with room to spare.
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int i = 0; i < 4; ++i) {
            QLabel* panel = window.statusPanel(i);
            QVERIFY2(panel->geometry().right() < window.statusBar()->width(),
                     qPrintable(QString::number(i)));
            QVERIFY(panel->width() >= panel->fontMetrics().horizontalAdvance(panel->text()) + 12);
        }
        QVERIFY(window.statusPanel(0)->width() > 400);
        QCOMPARE(window.centralWidget()->width(), 752);
    }

    void startupWithVanishedWorkingDirectory() {
        const QByteArray ini = "ENGLISH\r\n" + dir_->path().toUtf8() + "/gone\r\n\r\n";
        WriteBytes(iniFile_, ini);
        MainWindow& window = Start();
        QCOMPARE(dialogs_.messages.size(), 1);
        QCOMPARE(dialogs_.messages[0].text, dir_->path() + QStringLiteral("/gone does not exist."));
        QCOMPARE(dialogs_.messages[0].icon, MessageIcon::Information);
        QCOMPARE(window.language(), app::Language::English);
        QCOMPARE(window.windowTitle(), Title(programDir_ + QStringLiteral("/Untitled.zeb")));
        QCOMPARE(ReadBytes(iniFile_), ini); // reported, not rewritten
    }

    // A settings file that is no regular file is neither read nor written: a pipe without a
    // writer would block the start, a device would never end.
    void startupWithSettingsThatAreNoFile() {
        for (const char* kind : {"device", "pipe"}) {
            QFile::remove(iniFile_);
            if (QByteArray(kind) == "device")
                QVERIFY(QFile::link(QStringLiteral("/dev/zero"), iniFile_));
            else
                QCOMPARE(::mkfifo(iniFile_.toLocal8Bit().constData(), 0600), 0);
            MainWindow& window = Start();
            QCOMPARE(window.language(), app::Language::German);
            QVERIFY(dialogs_.messages.isEmpty());
            QFileInfo info(iniFile_);
            QVERIFY(info.isSymLink() || !info.isFile());
            window_.reset();
        }
    }

    // A UTF-8 project with a character Windows-1252 cannot hold is refused in both languages,
    // naming the line; the open project stays.
    void openingAUtf8ProjectThatCannotBeStored() {
        QByteArray bytes = QString::fromLatin1(ReadBytes(ExampleFile())).toUtf8();
        const int at = bytes.indexOf("   Text B: ");
        QVERIFY(at >= 0);
        bytes.insert(at + 11, "\xE2\x86\x92 "); // U+2192
        const QString file = dir_->path() + QStringLiteral("/arrow.zeb");
        WriteBytes(file, bytes);
        const std::pair<const char*, QString> cases[] = {
            {"DEUTSCH", file + QStringLiteral(" ist eine UTF-8-Datei; Zeile 10 enthält Zeichen, "
                                              "die eine ZEB-Datei (Windows-1252) nicht aufnehmen "
                                              "kann.")},
            {"ENGLISH", file + QStringLiteral(" is a UTF-8 file; line 10 holds characters that a "
                                              "ZEB file (Windows-1252) cannot store.")},
        };
        for (const auto& [language, message] : cases) {
            WriteBytes(iniFile_, QByteArray(language) + "\r\n" + programDir_.toUtf8() + "\r\n\r\n");
            MainWindow& window = Start();
            dialogs_.fileNames << file;
            window.Oeffnen1Click();
            QCOMPARE(Messages(), QStringList{message});
            QCOMPARE(window.project().water(app::WaterId::A).pH, "   7.000");
            QCOMPARE(window.windowTitle(), Title(programDir_ + QStringLiteral("/Untitled.zeb")));
            window_.reset();
        }
    }

    void startupArguments_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        const QString example = QFileInfo(ExampleFile()).absoluteFilePath();
        QTest::newRow("one project") << QStringList{example} << example << QString();
        QTest::newRow("two arguments") << QStringList{example, example} << QString() << QString();
        QTest::newRow("not a project")
            << QStringList{QStringLiteral(ZEB_TEST_DATA_DIR "/../../CMakeLists.txt")} << QString()
            << QStringLiteral("CMakeLists.txt konnte nicht gelesen werden.");
    }

    void startupArguments() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, title);
        QFETCH(QString, message);
        MainWindow& window = Start(arguments);
        if (title.isEmpty())
            title = programDir_ + QStringLiteral("/Untitled.zeb");
        QCOMPARE(window.windowTitle(), Title(title));
        if (message.isEmpty()) {
            QVERIFY(dialogs_.messages.isEmpty());
        } else {
            QCOMPARE(dialogs_.messages.size(), 1);
            QVERIFY(dialogs_.messages[0].text.endsWith(message));
            QCOMPARE(dialogs_.messages[0].icon, MessageIcon::Confirmation);
        }
        if (arguments.size() == 1 && message.isEmpty())
            QCOMPARE(window.project().water(app::WaterId::A).text, "Talsperre Rohwasser (weich)");
        else
            QCOMPARE(window.project().water(app::WaterId::A).pH, "   7.000");
    }

    void saveAsksForANameOnlyForTheUntitledProject() {
        MainWindow& window = Start();
        const QString file = dir_->path() + QStringLiteral("/first.zeb");
        dialogs_.fileNames << file;
        QVERIFY(window.Speichern1Click());
        QCOMPARE(dialogs_.fileRequests.size(), 1);
        QCOMPARE(dialogs_.fileRequests[0].presetFile,
                 programDir_ + QStringLiteral("/Untitled.zeb"));
        QCOMPARE(dialogs_.fileRequests[0].defaultSuffix, QStringLiteral("zeb"));
        QCOMPARE(window.windowTitle(), Title(file));
        QVERIFY(ReadBytes(file).startsWith("ZEB 4.1 project file (2012)\r\n"));

        MakeModified(window);
        QCOMPARE(window.statusPanel(1)->text(), QStringLiteral("Geändert"));
        QVERIFY(window.Speichern1Click());
        QCOMPARE(dialogs_.fileRequests.size(), 1); // no dialog for a named project
        QVERIFY(ReadBytes(file).contains("   Text A: changed\r\n"));
        QVERIFY(!window.project().modified);
        QVERIFY(window.statusPanel(1)->text().isEmpty());
    }

    void saveAsOntoAnExistingFileAnsweredNoWritesNothing() {
        MainWindow& window = Start();
        const QString file = dir_->path() + QStringLiteral("/existing.zeb");
        WriteBytes(file, "keep me");
        const QString title = window.windowTitle();
        dialogs_.fileNames << file;
        dialogs_.answers << MessageAnswer::No;
        QVERIFY(!window.Speichernunter1Click());
        QCOMPARE(dialogs_.messages.size(), 1);
        QCOMPARE(dialogs_.messages[0].text,
                 file + QStringLiteral(" existiert bereits. Wollen Sie die Datei überschreiben?"));
        QCOMPARE(dialogs_.messages[0].buttons, MessageButtons::YesNo);
        QCOMPARE(ReadBytes(file), QByteArray("keep me"));
        QCOMPARE(window.windowTitle(), title);

        dialogs_.fileNames << std::nullopt; // dialog closed without a name
        QVERIFY(!window.Speichernunter1Click());
        QCOMPARE(window.windowTitle(), title);
        QVERIFY(!QFile::exists(programDir_ + QStringLiteral("/Untitled.zeb")));
    }

    void failedSavesKeepTheProjectAndItsName() {
        MainWindow& window = Start();
        const QString title = window.windowTitle();
        MakeModified(window);
        // A directory that does not exist: the system's reason, the name unchanged.
        const QString bad = dir_->path() + QStringLiteral("/missing/p.zeb");
        dialogs_.fileNames << bad;
        QVERIFY(!window.Speichernunter1Click());
        QCOMPARE(dialogs_.messages.size(), 1);
        // The reason in German too (./test generates the German locale).
        QCOMPARE(dialogs_.messages[0].text,
                 bad + QStringLiteral(" ist nicht beschreibbar: Datei oder Verzeichnis nicht "
                                      "gefunden"));
        QCOMPARE(window.windowTitle(), title);
        QCOMPARE(window.project().fileName,
                 (programDir_ + QStringLiteral("/Untitled.zeb")).toStdString());
        QVERIFY(window.project().modified);

        // A value wider than the file's columns: nothing written, the field named.
        window.project().water(app::WaterId::B).ks43 = "123456.000";
        const QString good = dir_->path() + QStringLiteral("/p.zeb");
        dialogs_.fileNames << good;
        QVERIFY(!window.Speichernunter1Click());
        QCOMPARE(dialogs_.messages.size(), 2);
        QVERIFY(dialogs_.messages[1].text.startsWith(QStringLiteral("Wasser B, Feld ")));
        QVERIFY(dialogs_.messages[1].text.endsWith(
            QStringLiteral(" passt nicht in die Projektdatei (8 Zeichen).")));
        QVERIFY(!QFile::exists(good));
        QVERIFY(window.project().modified);

        // Yes to the question, then no name: New must not throw the changes away.
        dialogs_.answers << MessageAnswer::Yes;
        dialogs_.fileNames << std::nullopt;
        window.NeuClick();
        QCOMPARE(window.project().water(app::WaterId::A).text, "changed");
        QVERIFY(window.project().modified);
    }

    void exitWithChangesCancelledKeepsRunning() {
        MainWindow& window = Start();
        MakeModified(window);
        dialogs_.answers << MessageAnswer::Cancel;
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QCOMPARE(dialogs_.messages.size(), 1);
        QCOMPARE(dialogs_.messages[0].text, QStringLiteral("Änderungen speichern in ") +
                                                programDir_ + QStringLiteral("/Untitled.zeb"));
        QCOMPARE(dialogs_.messages[0].buttons, MessageButtons::YesNoCancel);
        QCOMPARE(window.statusPanel(1)->text(), QStringLiteral("Geändert"));
        QCOMPARE(window.project().water(app::WaterId::A).text, "changed");

        dialogs_.answers << MessageAnswer::No;
        QVERIFY(window.close());
    }

    void newAndOpenReplaceTheProject() {
        MainWindow& window = Start();
        int replaced = 0;
        connect(&window, &MainWindow::projectReplaced, this, [&] { ++replaced; });
        dialogs_.fileNames << ExampleFile();
        window.Oeffnen1Click();
        QCOMPARE(dialogs_.fileRequests[0].filter, QStringLiteral("Programmdateien (*.zeb)|*.zeb"));
        QCOMPARE(window.project().water(app::WaterId::B).text, "Brunnen 3 Grundwasser (hart)");
        QCOMPARE(replaced, 1);

        MakeModified(window);
        dialogs_.answers << MessageAnswer::No;
        window.NeuClick();
        QCOMPARE(window.windowTitle(), Title(programDir_ + QStringLiteral("/Untitled.zeb")));
        QCOMPARE(window.project().water(app::WaterId::B).text, "");
        QVERIFY(!window.project().modified);
        QCOMPARE(replaced, 2);
    }

    void menuCaptionsAndShortcuts_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("German") << static_cast<int>(app::Language::German);
        QTest::newRow("English") << static_cast<int>(app::Language::English);
    }

    void menuCaptionsAndShortcuts() {
        QFETCH(int, language);
        MainWindow& window = Start();
        if (language == static_cast<int>(app::Language::English))
            window.SetEnglishTexts();
        QCOMPARE(MenuListing(window), ExpectedListing(static_cast<app::Language>(language)));
        // Only the commands whose windows exist are enabled.
        QVERIFY(window.action(Command::Speichernunter1)->isEnabled());
        QVERIFY(window.action(Command::Optionen)->isEnabled());
    }

    void englishWithoutSaveOptionsLeavesTheSettingsFile() {
        MainWindow& window = Start();
        const QByteArray ini = ReadBytes(iniFile_);
        MakeModified(window);
        const QString title = window.windowTitle();
        dialogs_.modalHandlers << [](QDialog& options) {
            Child<QCheckBox>(options, "checkSaveOptions")->setChecked(false);
            Child<QRadioButton>(options, "radioEnglish")->setChecked(true);
            Child<QAbstractButton>(options, "buttonOk")->click();
        };
        window.OptionenClick();
        QCOMPARE(dialogs_.modalWindows, QStringList{QStringLiteral("TForm_Optionen")});
        QCOMPARE(window.language(), app::Language::English);
        QCOMPARE(window.action(Command::Neu)->text(), QStringLiteral("&New"));
        QCOMPARE(window.optionsDialog().windowTitle(), QStringLiteral("Options"));
        QCOMPARE(ReadBytes(iniFile_), ini);
        QCOMPARE(window.windowTitle(), title);
        // The mark keeps its language until the next change check.
        QCOMPARE(window.statusPanel(1)->text(), QStringLiteral("Geändert"));
        window.CheckModified();
        QCOMPARE(window.statusPanel(1)->text(), QStringLiteral("Modified"));

        dialogs_.modalHandlers << [](QDialog& options) {
            Child<QRadioButton>(options, "radioGerman")->setChecked(true);
            Child<QCheckBox>(options, "checkSaveOptions")->setChecked(true);
            Child<QAbstractButton>(options, "buttonOk")->click();
        };
        window.OptionenClick();
        QCOMPARE(ReadBytes(iniFile_), ini); // German and the same directory, written again
        QCOMPARE(window.action(Command::Neu)->text(), QStringLiteral("&Neu"));
    }

    // Chosen with the keyboard and confirmed with Alt+O: the directory and the language chosen
    // are the ones applied and saved, as with the mouse.
    void optionsFromTheKeyboard() {
        MainWindow& window = Start();
        const QString other = dir_->path() + QStringLiteral("/other");
        QVERIFY(QDir().mkpath(other));
        dialogs_.modalHandlers << [&](QDialog& options) {
            options.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&options));
            auto* list = Child<QTreeView>(options, "DirectoryListBox1");
            auto* model = qobject_cast<QFileSystemModel*>(list->model());
            list->setFocus(Qt::TabFocusReason);
            list->setCurrentIndex(model->index(other));
            Child<QTabWidget>(options, "PageControl1")->setCurrentIndex(1);
            auto* english = Child<QRadioButton>(options, "radioEnglish");
            english->setFocus(Qt::TabFocusReason);
            QTest::keyClick(english, Qt::Key_Space);
            QTest::keyClick(english, Qt::Key_O, Qt::AltModifier);
            QTRY_VERIFY(!options.isVisible());
        };
        window.OptionenClick();
        QCOMPARE(window.language(), app::Language::English);
        QCOMPARE(ReadBytes(iniFile_), "ENGLISH\r\n" + other.toUtf8() + "\r\n\r\n");
    }

    void optionsCancelRestoresDirectoryAndLanguage() {
        MainWindow& window = Start();
        const QString other = dir_->path() + QStringLiteral("/other");
        QVERIFY(QDir().mkpath(other));
        dialogs_.modalHandlers << [&](QDialog& options) {
            auto* list = Child<QTreeView>(options, "DirectoryListBox1");
            auto* model = qobject_cast<QFileSystemModel*>(list->model());
            list->setCurrentIndex(model->index(other));
            QCOMPARE(QDir::currentPath(), other);
            QCOMPARE(Child<QLineEdit>(options, "editDirectory")->text(), other);
            Child<QRadioButton>(options, "radioEnglish")->setChecked(true);
            Child<QCheckBox>(options, "checkSaveOptions")->setChecked(false);
            Child<QAbstractButton>(options, "buttonCancel")->click();
        };
        window.OptionenClick();
        OptionsDialog& options = window.optionsDialog();
        QCOMPARE(options.directory(), programDir_);
        QCOMPARE(Child<QLineEdit>(options, "editDirectory")->text(), programDir_);
        QCOMPARE(QDir::currentPath(), programDir_);
        QVERIFY(Child<QRadioButton>(options, "radioGerman")->isChecked());
        QVERIFY(Child<QCheckBox>(options, "checkSaveOptions")->isChecked());
        QCOMPARE(window.language(), app::Language::German);
    }

    void helpOpensThePageOfTheWindowInTheLanguage() {
        MainWindow& window = Start();
        window.SetEnglishTexts();
        window.Help1Click();
        QVERIFY(window.helpWindow());
        QCOMPARE(window.helpWindow()->page(), QUrl(QStringLiteral("qrc:/help/en/main.html")));

        OptionsDialog& options = window.optionsDialog();
        options.show();
        QTest::keyClick(&options, Qt::Key_F1);
        QCOMPARE(window.helpWindow()->page(), QUrl(QStringLiteral("qrc:/help/en/options.html")));
        options.hide();

        // Every help context of the program has a page in both languages.
        for (int context : {1, 2, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20}) {
            for (auto language : {app::Language::German, app::Language::English}) {
                const QUrl page = HelpPageUrl(context, language);
                QFile file(QLatin1Char(':') + page.path());
                QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(page.toString()));
                QVERIFY(file.readAll().contains("<h1>"));
            }
        }
        QVERIFY(HelpPageUrl(12, app::Language::German).path().endsWith(u"/de/saturation.html"));
    }

    // Installed as <prefix>/bin/zeb beside <prefix>/share/zeb: the program directory is not the
    // user's even though it is writable, and the installed help pages are read.
    void installedProgramUsesTheUserConfigAndItsDataDirectory() {
        const QString help = dir_->path() + QStringLiteral("/share/zeb/help/en");
        QVERIFY(QDir().mkpath(help));
        const QString page = help + QStringLiteral("/main.html");
        WriteBytes(page, "<h1>installed</h1>");
        MainWindow& window = Start();
        QVERIFY(!QFile::exists(iniFile_));
        const QString ini = dir_->path() + QStringLiteral("/config/zeb/ZEB.ini");
        QCOMPARE(ReadBytes(ini), "DEUTSCH\r\n" + QDir::homePath().toUtf8() + "\r\n\r\n");
        QCOMPARE(QDir::currentPath(), QDir::homePath());

        window.SetEnglishTexts();
        window.Help1Click();
        QCOMPARE(window.helpWindow()->page(), QUrl::fromLocalFile(page));
        window.SetGermanTexts(); // no German page installed: the compiled-in one
        window.Help1Click();
        QCOMPARE(window.helpWindow()->page(), QUrl(QStringLiteral("qrc:/help/de/main.html")));
    }

    // Qt's own texts follow the interface language at once: the buttons of a question and of the
    // help window.
    void qtStandardTextsFollowTheLanguage() {
        MainWindow& window = Start();
        window.Help1Click();
        const auto* close = window.helpWindow()->findChild<QDialogButtonBox*>();
        QVERIFY(close);
        const auto buttonTexts = [&] {
            // Qt posts its language-change events to the open windows.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
            const std::unique_ptr<QMessageBox> box =
                MakeMessageBox(&window, QStringLiteral("?"), MessageIcon::Confirmation,
                               MessageButtons::YesNoCancel);
            return QStringList{box->button(QMessageBox::Yes)->text(),
                               box->button(QMessageBox::No)->text(),
                               box->button(QMessageBox::Cancel)->text(),
                               close->button(QDialogButtonBox::Close)->text()};
        };
        const QStringList german{QStringLiteral("&Ja"), QStringLiteral("&Nein"),
                                 QStringLiteral("Abbrechen"), QStringLiteral("Schlie\u00dfen")};
        QCOMPARE(buttonTexts(), german);
        window.SetEnglishTexts();
        QCOMPARE(buttonTexts(), (QStringList{QStringLiteral("&Yes"), QStringLiteral("&No"),
                                             QStringLiteral("Cancel"), QStringLiteral("Close")}));
        window.SetGermanTexts();
        QCOMPARE(buttonTexts(), german);
    }

    void pictureIsDecodedWithLibjpeg() {
        QFile file(QStringLiteral(":/picture/equilibrium.jpg"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QImage picture = DecodeJpeg(file.readAll());
        QCOMPARE(picture.size(), QSize(752, 564));
        // Top left is the light background, the plot's upper left the blue of SI < 0.
        QVERIFY(qGray(picture.pixel(5, 5)) > 200);
        QVERIFY(qBlue(picture.pixel(110, 300)) > qRed(picture.pixel(110, 300)));

        QVERIFY(DecodeJpeg(QByteArray("not a picture at all")).isNull());
        QVERIFY(DecodeJpeg(QByteArray()).isNull());
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
        StartWithExample();
        QFETCH(bool, english);
        QFETCH(int, command);
        QFETCH(QString, window);
        QFETCH(QString, caption);
        QFETCH(QString, suffix);
        english ? window_->SetEnglishTexts() : window_->SetGermanTexts();
        QVERIFY(window_->action(Command(command))->isEnabled());
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
        StartWithExample();
        Trigger(Command::CalcitB, [](QDialog& w) { w.reject(); });
        const auto& window = *window_->findChild<SaturationWindow*>();
        const results::WaterSaturation r =
            results::ComputeSaturation(window_->project().water(app::WaterId::B));
        QCOMPARE(LabelText(window, "valueSI2"), Q(app::FormatFixed(r.columns[1].si, 8, 3)));
        QCOMPARE(window.report()[3], "        " + window_->reportHeaderLine());
        QCOMPARE(window.report()[6], "        " + window_->project().fileName);
    }

    void analysisOkWithoutChangesIsNoChange() {
        StartWithExample();
        Trigger(Command::AnalysenwerteB, [](QDialog& w) { Click(w, "buttonOk"); });
        QVERIFY(!window_->project().modified);
        QCOMPARE(Status(), QString());
    }

    void analysisCancelKeepsTheWaterButGivesTheNotices() {
        StartWithExample();
        const app::WaterAnalysis before = window_->project().water(app::WaterId::A);
        Trigger(Command::AnalysenwerteA, [](QDialog& w) {
            w.findChild<QCheckBox*>("CheckBox2")->setChecked(false);
            Entry(w, "Edit10")->setText("0");
            Entry(w, "Edit9")->setText("0");
            Click(w, "buttonCancel");
        });
        QCOMPARE(window_->project().water(app::WaterId::A), before);
        QCOMPARE(window_->project().editingCopy.waters[0], before);
        QCOMPARE(Messages(), (QStringList{"Ionenstärke für Berechnung: 0 mmol/L",
                                          "Temperatur für Berechnung: 0 °C"}));
        QVERIFY(!window_->project().modified);
    }

    void analysisTypedFromScratchSurvivesSaveAndOpen() {
        StartWithExample();
        window_->NeuClick();
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
        QVERIFY(window_->project().modified);
        QCOMPARE(Status(), QString("Geändert"));
        QCOMPARE(window_->project().water(app::WaterId::C).condRefTemp, std::string("20"));

        const QString file = dir_->filePath("brunnen7.zeb");
        dialogs_.fileNames << file;
        QVERIFY(window_->Speichernunter1Click());
        window_->NeuClick();
        dialogs_.fileNames << file;
        window_->Oeffnen1Click();
        QStringList reopened;
        Trigger(Command::AnalysenwerteC, [&](QDialog& w) {
            for (QLineEdit* e : w.findChildren<QLineEdit*>())
                reopened << e->objectName() + '=' + e->text();
            QVERIFY(w.findChild<QRadioButton*>("RadioButton1")->isChecked());
            Click(w, "buttonOk");
        });
        QCOMPARE(reopened, expected);
        QVERIFY(!window_->project().modified);
    }

    void blendCancelIsNoChange() {
        StartWithExample();
        auto typeShares = [](const char* a, const char* button) {
            return [=](QDialog& w) {
                Entry(w, "Edit1")->setText(a);
                Entry(w, "Edit2")->setText("0");
                Click(w, button);
            };
        };
        const std::string stored = window_->project().water(app::WaterId::A).blendPercent;
        Trigger(Command::Mischungsanteile, typeShares("15", "Button2"));
        QCOMPARE(window_->project().water(app::WaterId::A).blendPercent, stored);
        QVERIFY(!window_->project().modified);

        Trigger(Command::Mischungsanteile, typeShares("15", "Button3"));
        QCOMPARE(window_->project().water(app::WaterId::A).blendPercent, std::string("  15.000"));
        QCOMPARE(window_->project().water(app::WaterId::C).blendPercent, std::string("  85.000"));
        QVERIFY(window_->project().modified);
    }

    void conditioningAndW216FollowTheProtocol() {
        StartWithExample();
        const app::ConditioningData before = window_->project().parts.conditioning;
        Trigger(Command::Conditioning, [](QDialog& w) {
            Click(w, "buttonDataB");
            Click(w, "Button3");
        });
        QCOMPARE(window_->project().parts.conditioning, before);
        QVERIFY(!window_->project().modified);

        Trigger(Command::W216, [](QDialog& w) {
            w.findChild<QRadioButton*>("radioIIC")->click();
            Click(w, "Button1");
        });
        QCOMPARE(window_->project().parts.w216.values[app::W216Data::Letter2], std::string("C"));
        QVERIFY(window_->project().modified);
    }

    void compileTheSameFileIntoAllThreeSlots() {
        StartWithExample();
        const app::Project example = ExampleProject();
        const QString source = QString::fromStdString(example.fileName);
        const QString target = dir_->filePath("compiled.zeb");
        dialogs_.fileNames << source << source << source << target;
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
        const app::Project& p = window_->project();
        QCOMPARE(p.fileName, target.toStdString());
        QCOMPARE(window_->windowTitle(), "ZEB 4.1 - " + target);
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
        StartWithExample();
        const app::ProjectParts before = window_->project().parts;
        const std::string name = window_->project().fileName;
        dialogs_.fileNames << std::nullopt;
        Trigger(Command::Daten, [](QDialog& w) {
            Click(w, "buttonSaveAs"); // the file dialog closed without a choice
            Click(w, "Button1");
        });
        QCOMPARE(window_->project().parts, before);
        QCOMPARE(window_->project().fileName, name);
        QVERIFY(!window_->project().modified);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
