#pragma once
// Every message box, file dialog, print dialog and modal window of the program goes through
// Dialogs, so that the GUI tests can answer them from a script instead of blocking on a real
// modal loop. Windows receive the instance from the main window (MainWindow::dialogs()).

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <utility>

class QDialog;
class QMessageBox;
class QPrinter;
class QWidget;

namespace zeb::gui {

enum class MessageIcon { Information, Confirmation, Warning };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct FileDialogRequest {
    QString presetFile;    // the dialog starts in its directory with its name filled in
    QString filter;        // "description|pattern" as in the language table
    QString defaultSuffix; // appended to a name typed without extension, no dot
};

struct PrintDialogRequest {
    int minPage = 1;
    int maxPage = 1;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual MessageAnswer Message(QWidget* parent, const QString& text, MessageIcon icon,
                                  MessageButtons buttons) = 0;

    // nullopt when the dialog was closed without choosing a file.
    virtual std::optional<QString> OpenFileName(QWidget* parent,
                                                const FileDialogRequest& request) = 0;
    // The dialog itself never asks before replacing a file: callers ask in the program's words.
    virtual std::optional<QString> SaveFileName(QWidget* parent,
                                                const FileDialogRequest& request) = 0;

    // The printer carries the preset page range (printRange, fromPage, toPage) in and the
    // user's choice out. False when the user cancelled.
    virtual bool Print(QWidget* parent, QPrinter& printer, const PrintDialogRequest& request) = 0;

    // Shows a window modally and returns its QDialog::DialogCode.
    virtual int RunModal(QDialog& window) = 0;

    void Inform(QWidget* parent, const QString& text) {
        Message(parent, text, MessageIcon::Information, MessageButtons::Ok);
    }
};

// The real boxes and dialogs of Qt.
class QtDialogs : public Dialogs {
public:
    QtDialogs() = default;
    // Directories offered beside the user's own places in every file dialog (an installation's
    // example projects).
    explicit QtDialogs(QStringList places) : places_(std::move(places)) {}

    MessageAnswer Message(QWidget* parent, const QString& text, MessageIcon icon,
                          MessageButtons buttons) override;
    std::optional<QString> OpenFileName(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> SaveFileName(QWidget* parent, const FileDialogRequest& request) override;
    bool Print(QWidget* parent, QPrinter& printer, const PrintDialogRequest& request) override;
    int RunModal(QDialog& window) override;

private:
    QStringList places_;
};

// The box QtDialogs::Message shows (with the standard buttons in the language of Qt's installed
// translation).
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const QString& text, MessageIcon icon,
                                            MessageButtons buttons);

// "Programmdateien (*.zeb)|*.zeb" -> "Programmdateien (*.zeb)" for a Qt file dialog.
QString QtFileFilter(const QString& tableFilter);

} // namespace zeb::gui
