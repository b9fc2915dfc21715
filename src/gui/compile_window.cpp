#include "gui/compile_window.h"

#include "gui/dialogs.h"
#include "gui/entry_fields.h"
#include "ui_compile_window.h"

#include <QFileInfo>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

namespace zeb::gui {

namespace {

// Names without an extension get one the Open filter shows.
constexpr auto kProjectSuffix = "zeb";

} // namespace

CompileWindow::CompileWindow(Dialogs& dialogs, app::Project& project, QWidget* parent)
    : ResultWindow(parent), ui_(new Ui::CompileWindow), dialogs_(dialogs), project_(project) {
    ui_->setupUi(this);
    for (int n = 0; n < 3; ++n) {
        Slot& s = slots_[static_cast<size_t>(n)];
        const QString k = QString::number(n + 1);
        s.button = findChild<QPushButton*>("buttonFile" + k);
        s.fileLabel = findChild<QLabel*>("fileLabel" + k);
        s.textLabel = findChild<QLabel*>("textLabel" + k);
        s.textCaption = findChild<QLabel*>("labelText" + k);
        s.choices = {findChild<QRadioButton*>("radioDataA" + k),
                     findChild<QRadioButton*>("radioDataB" + k),
                     findChild<QRadioButton*>("radioDataC" + k)};
        for (QLabel* white : {s.fileLabel, s.textLabel}) {
            QPalette palette = white->palette();
            palette.setColor(QPalette::Window, Qt::white);
            white->setPalette(palette);
        }
        connect(s.button, &QPushButton::clicked, this, [this, n] { OpenSlot(n); });
        for (QRadioButton* choice : s.choices)
            connect(choice, &QRadioButton::clicked, this, [this, n] { kommentar_lesen(n); });
    }
    connect(ui_->buttonSaveAs, &QPushButton::clicked, this, &CompileWindow::save);
    connect(ui_->Button1, &QPushButton::clicked, this, &CompileWindow::Button1Click);
    ApplyTexts(app::Language::German);
}

CompileWindow::~CompileWindow() = default;

void CompileWindow::ApplyWindowTexts() {
    // Each group repeats the same texts, so the table's single control names do not reach them.
    for (Slot& s : slots_) {
        s.choices[0]->setText(WindowText("radioDataA"));
        s.choices[1]->setText(WindowText("radioDataB"));
        s.choices[2]->setText(WindowText("radioDataC"));
        s.textCaption->setText(WindowText("labelText"));
    }
}

void CompileWindow::FormActivate() {
    for (Slot& s : slots_) {
        s.choices[0]->setChecked(true);
        s.fileLabel->clear();
        s.textLabel->clear();
        for (app::WaterAnalysis& w : s.waters)
            app::SetDefaultWater(w);
        app::SetDefaultWater(s.selected);
    }
    originalFileName_ = project_.fileName;
    compiled_ = false;
    slots_[0].button->setFocus(Qt::OtherFocusReason);
}

void CompileWindow::OpenSlot(int slot) {
    Slot& s = slots_[static_cast<size_t>(slot)];
    const std::optional<QString> file = dialogs_.OpenFileName(
        this, {ToQString(project_.fileName), Tr("file.filterOpen"), kProjectSuffix});
    if (!file)
        return;
    if (!QFileInfo::exists(*file)) {
        dialogs_.Inform(this, *file + Tr("msg.fileMissing"));
        return;
    }
    s.fileLabel->setText(*file);
    bool isProject = false;
    try {
        isProject = app::ReadProjectFile(file->toStdString(), buffer_);
    } catch (const app::Utf8TextError& e) {
        dialogs_.Message(
            this, *file + Tr("msg.utf8Line") + QString::number(e.line()) + Tr("msg.utf8NotCp1252"),
            MessageIcon::Warning, MessageButtons::Ok);
        return;
    } catch (const app::FileError& e) {
        dialogs_.Message(this, FileErrorText(e, app::FileAccess::Read, language()),
                         MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    if (!isProject) {
        dialogs_.Message(this, *file + Tr("msg.notZebFile"), MessageIcon::Confirmation,
                         MessageButtons::Ok);
        return;
    }
    s.waters = app::ReadProjectWaters(buffer_);
    kommentar_lesen(slot);
}

void CompileWindow::kommentar_lesen(int slot) {
    Slot& s = slots_[static_cast<size_t>(slot)];
    if (s.fileLabel->text().isEmpty())
        return;
    for (size_t i = 0; i < s.choices.size(); ++i) {
        if (s.choices[i]->isChecked())
            s.selected = s.waters[i];
    }
    s.textLabel->setText(ToQString(s.selected.text));
}

void CompileWindow::save() {
    app::Project compiled;
    compiled.parts =
        app::ComposeProject({slots_[0].selected, slots_[1].selected, slots_[2].selected});
    // The file names the project it was compiled from.
    compiled.fileName = originalFileName_;
    try {
        // Before the file dialog: a value that cannot be written needs no file name.
        app::CheckValueWidths(compiled.parts);
    } catch (const app::ValueTooWideError& e) {
        dialogs_.Message(this,
                         Tr("msg.water") + ToQString(e.part()) + Tr("msg.valueTooWideField") +
                             ToQString(e.field()) + Tr("msg.valueTooWide"),
                         MessageIcon::Warning, MessageButtons::Ok);
        return;
    }

    const std::optional<QString> file = dialogs_.SaveFileName(
        this, {ToQString(project_.fileName), Tr("file.filterCompile"), kProjectSuffix});
    if (!file)
        return;
    if (QFileInfo::exists(*file) &&
        dialogs_.Message(this, *file + Tr("msg.fileExists"), MessageIcon::Confirmation,
                         MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    try {
        app::SaveProject(file->toStdString(), compiled, buffer_, app::SystemDateTimeText());
    } catch (const app::FileError& e) {
        dialogs_.Message(this, FileErrorText(e, app::FileAccess::Write, language()),
                         MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    project_.parts = compiled.parts;
    project_.fileName = file->toStdString();
    project_.modified = false;
    project_.TakeReferenceCopies();
    compiled_ = true;
}

void CompileWindow::Button1Click() {
    reject();
}

void CompileWindow::showEvent(QShowEvent* event) {
    ResultWindow::showEvent(event);
    FormActivate();
}

} // namespace zeb::gui
