#include "gui/options_dialog.h"

#include "app/project_file.h"
#include "app/settings.h"
#include "gui/dialogs.h"
#include "ui_options_dialog.h"

#include <QDir>
#include <QFileSystemModel>
#include <QStorageInfo>

#include <algorithm>

namespace zeb::gui {

OptionsDialog::OptionsDialog(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), ui_(new Ui::OptionsDialog), dialogs_(dialogs),
      model_(new QFileSystemModel(this)) {
    ui_->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    // The volumes stand in for the drives of the drive selector.
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            roots.append(volume.rootPath());
    }
    roots.sort();
    roots.removeDuplicates();
    for (const QString& root : roots)
        ui_->DriveComboBox1->addItem(QDir::toNativeSeparators(root), root);

    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    ui_->DirectoryListBox1->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        ui_->DirectoryListBox1->hideColumn(column);

    connect(ui_->DriveComboBox1, &QComboBox::currentIndexChanged, this,
            &OptionsDialog::DriveComboBox1Change);
    connect(ui_->DirectoryListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &OptionsDialog::OnChange1);
    connect(ui_->buttonOk, &QPushButton::clicked, this, &OptionsDialog::SpracheSpeichern);
    connect(ui_->buttonCancel, &QPushButton::clicked, this, &OptionsDialog::reject);
    ui_->PageControl1->setCurrentIndex(0);
}

OptionsDialog::~OptionsDialog() = default;

int OptionsDialog::DriveIndexFor(const QString& directory) {
    const QString root = QStorageInfo(directory).rootPath();
    const QString drive = root.isEmpty() ? QDir::rootPath() : root;
    int index = ui_->DriveComboBox1->findData(drive);
    if (index < 0) {
        ui_->DriveComboBox1->addItem(QDir::toNativeSeparators(drive), drive);
        index = ui_->DriveComboBox1->count() - 1;
    }
    return index;
}

void OptionsDialog::ShowInList(const QString& directory) {
    updatingList_ = true;
    const int drive = DriveIndexFor(directory);
    ui_->DriveComboBox1->setCurrentIndex(drive);
    const QString root = ui_->DriveComboBox1->itemData(drive).toString();
    model_->setRootPath(root);
    ui_->DirectoryListBox1->setRootIndex(model_->index(root));
    const QModelIndex current = model_->index(directory);
    ui_->DirectoryListBox1->setCurrentIndex(current);
    if (current.isValid())
        ui_->DirectoryListBox1->scrollTo(current);
    updatingList_ = false;
}

void OptionsDialog::ChooseDirectory(const QString& directory) {
    listDirectory_ = directory;
    ui_->editDirectory->setText(QDir::toNativeSeparators(directory));
    QDir::setCurrent(directory);
}

void OptionsDialog::SetDirectory(const QString& directory) {
    const QString clean = QDir::cleanPath(QDir(directory).absolutePath());
    ShowInList(clean);
    ChooseDirectory(clean);
}

void OptionsDialog::DriveComboBox1Change(int index) {
    if (updatingList_ || index < 0)
        return;
    SetDirectory(ui_->DriveComboBox1->itemData(index).toString());
}

void OptionsDialog::OnChange1(const QModelIndex& current) {
    if (updatingList_ || !current.isValid())
        return;
    ChooseDirectory(model_->filePath(current));
}

void OptionsDialog::ApplyTexts(app::Language language) {
    language_ = language;
    ApplyTableTexts(*this, "TForm_Optionen", language);
    ui_->radioGerman->setChecked(language == app::Language::German);
    ui_->radioEnglish->setChecked(language == app::Language::English);
}

void OptionsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    remembered_.listDirectory = listDirectory_;
    remembered_.field = ui_->editDirectory->text();
    remembered_.drive = ui_->DriveComboBox1->currentIndex();
    remembered_.saveOptions = ui_->checkSaveOptions->isChecked();
    remembered_.german = ui_->radioGerman->isChecked();
    remembered_.english = ui_->radioEnglish->isChecked();
    remembered_.currentDirectory = QDir::currentPath();
}

void OptionsDialog::reject() {
    ShowInList(remembered_.listDirectory);
    updatingList_ = true;
    ui_->DriveComboBox1->setCurrentIndex(remembered_.drive);
    updatingList_ = false;
    listDirectory_ = remembered_.listDirectory;
    ui_->editDirectory->setText(remembered_.field);
    ui_->checkSaveOptions->setChecked(remembered_.saveOptions);
    ui_->radioGerman->setChecked(remembered_.german);
    ui_->radioEnglish->setChecked(remembered_.english);
    QDir::setCurrent(remembered_.currentDirectory);
    QDialog::reject();
}

void OptionsDialog::SpracheSpeichern() {
    const app::Language language =
        ui_->radioEnglish->isChecked() ? app::Language::English : app::Language::German;
    emit languageChosen(language);
    if (ui_->checkSaveOptions->isChecked()) {
        app::Settings settings;
        settings.languageLine = app::LanguageLine(language);
        settings.workingDirectory = listDirectory_.toStdString();
        try {
            app::WriteSettings(settingsFile_, settings);
        } catch (const app::FileError& e) {
            dialogs_.Message(this, FileErrorText(e, app::FileAccess::Write, language_),
                             MessageIcon::Warning, MessageButtons::Ok);
        }
    }
    accept();
}

} // namespace zeb::gui
