#pragma once
// The main window (TForm20): owns the Project, the main menu, start-up, the project-file
// commands, the question before changes are lost, language switching and help.
//
// How the other windows plug in (each window module offers an Install function that
// windows.cpp calls once at start-up):
//
//   - Create the window with the main window as parent, then
//       main.RegisterWindow(window, helpContext);
//     This sets the help context F1 opens, and when the window implements LanguageAware its
//     ApplyTexts(Language) runs now and on every SetGermanTexts / SetEnglishTexts.
//   - Give the menu command its handler, which also enables it:
//       main.SetCommandHandler(Command::CalcitA, [&] { ... });
//   - Show windows only through main.RunModal(window) (or the helpers below), and ask every
//     message and file dialog through main.dialogs(), so the GUI tests can script them.
//   - Editing commands (analysis data, blend fractions, conditioning, W 216) use
//     RunEditingWindow: it clears `modified` first when asked, adds the caption suffix, loads,
//     runs the window, stores unless it was cancelled, runs CheckModified and removes the suffix.
//   - Result commands use RunResultWindow(window, " A", [&] { window.run(water); }).
//   - Result windows print and save through main.reports() (see report_output.h).
//   - The blend-fractions window supplies the texts of its A and B fields to the change check
//     with SetBlendFieldsSource, and reloads them from project().referenceCopy whenever
//     projectReplaced() is emitted (start-up, New, Open and when a project is compiled).
//   - Compile data calls CheckChanges(), runs its window, and then NotifyProjectReplaced()
//     and UpdateTitle() with the project's fileName.

#include "app/project.h"
#include "app/project_file.h"
#include "app/texts.h"
#include "gui/help_window.h"
#include "gui/language.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QTimer;
class QTranslator;

namespace zeb::gui {

class AboutDialog;
class Dialogs;
class OptionsDialog;
class ReportFormatDialog;
class ReportOutput;

// The commands of the main menu in menu order; the QAction of each carries the command's name
// as objectName ("Neu", "Oeffnen1", "CalcitA", ...).
enum class Command {
    Neu,
    Oeffnen1,
    Speichern1,
    Speichernunter1,
    Beenden1,
    AnalysenwerteA,
    AnalysenwerteB,
    AnalysenwerteC,
    Mischungsanteile,
    CalcitA,
    CalcitB,
    CalcitC,
    CalcitM,
    BlendAB,
    BlendAC,
    BlendBC,
    SpeciesA,
    SpeciesB,
    SpeciesC,
    Kohlensaeureformen1,
    Conditioning,
    W216,
    Konstanten,
    Daten,
    Stapelberechnung,
    Optionen,
    Info1,
    Help1,
};
inline constexpr int kCommandCount = static_cast<int>(Command::Help1) + 1;

struct StartupOptions {
    std::filesystem::path programDirectory; // where ZEB.ini is looked for first
    QStringList arguments;                  // command-line arguments after the program name
};

// The editing protocol of one editing window.
struct EditingHooks {
    std::function<void()> load;      // project part -> editing copy -> window
    std::function<void()> store;     // window -> editing copy -> project (not after Cancel)
    std::function<void()> cancelled; // project part -> editing copy (after Cancel)
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Dialogs& dialogs, StartupOptions options, QWidget* parent = nullptr);
    ~MainWindow() override;

    // --- plug-in points -----------------------------------------------------------------
    void RegisterWindow(QWidget* window, int helpContext);
    void SetCommandHandler(Command command, std::function<void()> handler);
    QAction* action(Command command) const;

    app::Project& project() { return project_; }
    const app::Project& project() const { return project_; }
    Dialogs& dialogs() { return dialogs_; }
    ReportOutput& reports() { return *reports_; }
    app::Language language() const { return language_; }
    QString Tr(std::string_view key) const { return TextFor(key, language_); }

    int RunModal(QDialog& window);
    int RunEditingWindow(QDialog& window, const QString& captionSuffix, bool clearModified,
                         const EditingHooks& hooks);
    void RunResultWindow(QDialog& window, const QString& captionSuffix,
                         const std::function<void()>& run);

    // The texts of the blend-fractions window's A and B fields, for the change check.
    void SetBlendFieldsSource(std::function<std::pair<std::string, std::string>()> source);
    void NotifyProjectReplaced() { emit projectReplaced(); }

    // --- the program's own operations ----------------------------------------------------
    void Initialisieren();
    void UpdateTitle(const std::string& fileName);
    void CheckModified();
    // The question before changes are lost. True when the command may go on (the project was
    // saved, or the user chose not to save); false on Cancel or when saving failed.
    bool CheckChanges();
    bool CheckChangesNeu() { return CheckChanges(); }
    void SetGermanTexts();
    void SetEnglishTexts();
    void ShowHelp(int helpContext);

    void NeuClick();
    void Oeffnen1Click();
    bool Speichern1Click();
    bool Speichernunter1Click();
    void Beenden1Click();
    void OptionenClick();
    void Info1Click();
    void Help1Click();

    // Status bar panels 0 to 3.
    QLabel* statusPanel(int index) const { return panels_.at(static_cast<size_t>(index)); }
    OptionsDialog& optionsDialog() { return *options_; }
    ReportFormatDialog& reportFormatDialog() { return *reportFormat_; }
    HelpWindow* helpWindow() const { return help_; }
    std::filesystem::path settingsFile() const { return settingsFile_; }
    std::string reportHeaderLine() const { return reportHeaderLine_; }

signals:
    void languageChanged(app::Language language);
    void projectReplaced();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override; // Form20Close
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenu();
    void BuildStatusBar();
    void ApplyLanguage(app::Language language);
    void ApplyQtTranslation(app::Language language);
    void FormActivate(); // timer tick: date and time
    void ClearModifiedMark();
    bool OpenProjectFile(const QString& file);
    bool WriteProject(const QString& file);
    std::filesystem::path DefaultWorkingDirectory() const;
    QString UntitledIn(const QString& directory) const;
    void ShowFileError(const app::FileError& error, app::FileAccess access);

    Dialogs& dialogs_;
    StartupOptions startup_;
    QString argumentFile_; // the one command-line argument, made absolute before start-up
    app::Project project_;
    app::LineBuffer lineBuffer_;
    app::Language language_ = app::Language::German;
    std::filesystem::path settingsFile_;
    std::string reportHeaderLine_;
    bool initialised_ = false;

    std::array<QAction*, kCommandCount> actions_{};
    std::array<std::function<void()>, kCommandCount> handlers_;
    QList<QMenu*> menus_;
    std::array<QLabel*, 4> panels_{};
    QLabel* subtitle_ = nullptr;
    QTimer* clock_ = nullptr;
    // Qt's own texts (standard buttons, file and print dialogs) in German; installed while the
    // interface is German.
    QTranslator* qtTexts_ = nullptr;
    bool qtTextsInstalled_ = false;
    QList<QPointer<QWidget>> windows_;
    std::function<std::pair<std::string, std::string>()> blendFields_;

    OptionsDialog* options_ = nullptr;
    ReportFormatDialog* reportFormat_ = nullptr;
    AboutDialog* about_ = nullptr;
    QPointer<HelpWindow> help_;
    std::unique_ptr<ReportOutput> reports_;
};

} // namespace zeb::gui
