#include "gui/scripted_dialogs.h"

#include <QDialog>

namespace zeb::gui {

MessageAnswer ScriptedDialogs::Message(QWidget*, const QString& text, MessageIcon icon,
                                       MessageButtons buttons) {
    messages.append({text, icon, buttons});
    if (buttons == MessageButtons::Ok)
        return answers.isEmpty() ? MessageAnswer::Ok : answers.takeFirst();
    if (!answers.isEmpty())
        return answers.takeFirst();
    unanswered.append(QStringLiteral("question: ") + text);
    return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
}

std::optional<QString> ScriptedDialogs::OpenFileName(QWidget*, const FileDialogRequest& request) {
    fileRequests.append(request);
    if (fileNames.isEmpty()) {
        unanswered.append(QStringLiteral("open dialog"));
        return std::nullopt;
    }
    return fileNames.takeFirst();
}

std::optional<QString> ScriptedDialogs::SaveFileName(QWidget*, const FileDialogRequest& request) {
    fileRequests.append(request);
    if (fileNames.isEmpty()) {
        unanswered.append(QStringLiteral("save dialog"));
        return std::nullopt;
    }
    return fileNames.takeFirst();
}

bool ScriptedDialogs::Print(QWidget*, QPrinter& printer, const PrintDialogRequest& request) {
    printRequests.append(request);
    if (printHandlers.isEmpty()) {
        unanswered.append(QStringLiteral("print dialog"));
        return false;
    }
    return printHandlers.takeFirst()(printer, request);
}

int ScriptedDialogs::RunModal(QDialog& window) {
    modalWindows.append(window.objectName());
    window.setResult(QDialog::Rejected);
    window.show();
    if (modalHandlers.isEmpty())
        unanswered.append(QStringLiteral("window ") + window.objectName());
    else
        modalHandlers.takeFirst()(window);
    if (window.isVisible())
        window.reject();
    return window.result();
}

} // namespace zeb::gui
