#include "gui/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

namespace zeb::gui {

namespace {

std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogRequest& request,
                                     const QStringList& places, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent);
    if (!places.isEmpty()) {
        QList<QUrl> urls = dialog.sidebarUrls();
        for (const QString& place : places)
            urls << QUrl::fromLocalFile(place);
        dialog.setSidebarUrls(urls);
    }
    dialog.setAcceptMode(mode);
    // Open accepts a name that does not exist, so that the program can say so in its own words.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilter(QtFileFilter(request.filter));
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.presetFile.isEmpty()) {
        const QFileInfo preset(request.presetFile);
        dialog.setDirectory(preset.absolutePath());
        dialog.selectFile(preset.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front();
}

} // namespace

QString QtFileFilter(const QString& tableFilter) {
    const qsizetype bar = tableFilter.indexOf(u'|');
    if (bar < 0)
        return tableFilter;
    const QString description = tableFilter.left(bar);
    const QString pattern = tableFilter.mid(bar + 1);
    if (description.contains(u'(' + pattern + u')'))
        return description;
    return description + QStringLiteral(" (") + pattern + u')';
}

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const QString& text, MessageIcon icon,
                                            MessageButtons buttons) {
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    if (icon == MessageIcon::Confirmation)
        boxIcon = QMessageBox::Question;
    else if (icon == MessageIcon::Warning)
        boxIcon = QMessageBox::Warning;
    QMessageBox::StandardButtons set = QMessageBox::Ok;
    if (buttons == MessageButtons::YesNo)
        set = QMessageBox::Yes | QMessageBox::No;
    else if (buttons == MessageButtons::YesNoCancel)
        set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    return std::make_unique<QMessageBox>(boxIcon, QApplication::applicationName(), text, set,
                                         parent);
}

MessageAnswer QtDialogs::Message(QWidget* parent, const QString& text, MessageIcon icon,
                                 MessageButtons buttons) {
    const std::unique_ptr<QMessageBox> box = MakeMessageBox(parent, text, icon, buttons);
    switch (box->exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    default:
        // Escape in a Yes/No box means No.
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
    }
}

std::optional<QString> QtDialogs::OpenFileName(QWidget* parent, const FileDialogRequest& request) {
    return RunFileDialog(parent, request, places_, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogs::SaveFileName(QWidget* parent, const FileDialogRequest& request) {
    return RunFileDialog(parent, request, places_, QFileDialog::AcceptSave);
}

bool QtDialogs::Print(QWidget* parent, QPrinter& printer, const PrintDialogRequest& request) {
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(request.minPage, request.maxPage);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setFromTo(printer.fromPage(), printer.toPage());
    dialog.setPrintRange(static_cast<QAbstractPrintDialog::PrintRange>(printer.printRange()));
    return dialog.exec() == QDialog::Accepted;
}

int QtDialogs::RunModal(QDialog& window) {
    return window.exec();
}

} // namespace zeb::gui
