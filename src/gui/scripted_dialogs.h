#pragma once
// Dialogs for the GUI tests: answers come from queues filled by the test, every message and
// request is recorded, and nothing ever waits for a person. Whatever arrives without a scripted
// answer is answered in the most cautious way (No / Cancel / nothing chosen) and listed in
// `unanswered`, so a test can insist that its script covered everything.

#include "gui/dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace zeb::gui {

class ScriptedDialogs : public Dialogs {
public:
    struct MessageRecord {
        QString text;
        MessageIcon icon;
        MessageButtons buttons;
    };

    MessageAnswer Message(QWidget* parent, const QString& text, MessageIcon icon,
                          MessageButtons buttons) override;
    std::optional<QString> OpenFileName(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> SaveFileName(QWidget* parent, const FileDialogRequest& request) override;
    bool Print(QWidget* parent, QPrinter& printer, const PrintDialogRequest& request) override;
    // Shows the window (so that its activation code runs), hands it to the next modal handler,
    // which plays the user (fills fields, clicks buttons), and closes it as the window's close
    // box would when the handler left it open.
    int RunModal(QDialog& window) override;

    // Scripts, consumed front first.
    QList<MessageAnswer> answers; // for questions; boxes with only OK need none
    QList<std::optional<QString>> fileNames;
    QList<std::function<bool(QPrinter&, const PrintDialogRequest&)>> printHandlers;
    QList<std::function<void(QDialog&)>> modalHandlers;

    // Records.
    QList<MessageRecord> messages;
    QList<FileDialogRequest> fileRequests;
    QList<PrintDialogRequest> printRequests;
    QStringList modalWindows; // objectNames of the windows run modally
    QStringList unanswered;
};

} // namespace zeb::gui
