#pragma once
// The Options dialog (TForm_Optionen): working directory and interface language, written to
// ZEB.ini when "Save options" is ticked. OK applies the language through languageChosen, which
// the main window turns into SetGermanTexts / SetEnglishTexts.

#include "gui/language.h"

#include <QDialog>

#include <filesystem>
#include <memory>

class QFileSystemModel;
class QModelIndex;

namespace Ui {
class OptionsDialog;
}

namespace zeb::gui {

class Dialogs;

class OptionsDialog : public QDialog, public LanguageAware {
    Q_OBJECT
public:
    OptionsDialog(Dialogs& dialogs, QWidget* parent = nullptr);
    ~OptionsDialog() override;

    void SetSettingsFile(const std::filesystem::path& file) { settingsFile_ = file; }
    // Shows a directory in the drive selector, the directory list and the directory field, and
    // makes it the current directory, as choosing it in the list does.
    void SetDirectory(const QString& directory);
    // The directory list's directory: where New puts the untitled project.
    QString directory() const { return listDirectory_; }

    void ApplyTexts(app::Language language) override;

    // Cancel, and the window's close box: everything as it was when the dialog was opened.
    void reject() override;

signals:
    void languageChosen(app::Language language);

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct State {
        QString listDirectory;
        QString field;
        int drive = -1;
        bool saveOptions = true;
        bool german = true;
        bool english = false;
        QString currentDirectory;
    };

    void DriveComboBox1Change(int index);
    void OnChange1(const QModelIndex& current);
    void SpracheSpeichern();
    void ShowInList(const QString& directory);
    void ChooseDirectory(const QString& directory);
    int DriveIndexFor(const QString& directory);

    std::unique_ptr<Ui::OptionsDialog> ui_;
    Dialogs& dialogs_;
    QFileSystemModel* model_;
    std::filesystem::path settingsFile_;
    app::Language language_ = app::Language::German;
    QString listDirectory_;
    State remembered_;
    bool updatingList_ = false;
};

} // namespace zeb::gui
