#include "gui/report_format_dialog.h"

#include "gui/dialogs.h"
#include "ui_report_format_dialog.h"

#include <QFileInfo>

namespace zeb::gui {

ReportFormatDialog::ReportFormatDialog(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), ui_(new Ui::ReportFormatDialog), dialogs_(dialogs) {
    ui_->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    connect(ui_->buttonSave, &QPushButton::clicked, this, &ReportFormatDialog::SaveClick);
    connect(ui_->editFileName, &QLineEdit::textChanged, this,
            &ReportFormatDialog::UpdateSaveButton);
    connect(ui_->radioStandard, &QRadioButton::toggled, this,
            &ReportFormatDialog::UpdateSaveButton);
    connect(ui_->radioExcel, &QRadioButton::toggled, this, &ReportFormatDialog::UpdateSaveButton);
    UpdateSaveButton();
}

ReportFormatDialog::~ReportFormatDialog() = default;

void ReportFormatDialog::SetFileName(const QString& fileName) {
    ui_->editFileName->setText(fileName);
}

QString ReportFormatDialog::fileName() const {
    return ui_->editFileName->text().trimmed();
}

std::optional<report::ReportFormat> ReportFormatDialog::format() const {
    if (ui_->radioStandard->isChecked())
        return report::ReportFormat::Standard;
    if (ui_->radioExcel->isChecked())
        return report::ReportFormat::Excel;
    return std::nullopt;
}

void ReportFormatDialog::SelectStandard() {
    ui_->radioStandard->setChecked(true);
}

void ReportFormatDialog::SelectFormat(report::ReportFormat format) {
    (format == report::ReportFormat::Excel ? ui_->radioExcel : ui_->radioStandard)
        ->setChecked(true);
}

void ReportFormatDialog::ApplyTexts(app::Language language) {
    language_ = language;
    ApplyTableTexts(*this, "TForm17", language);
}

void ReportFormatDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui_->editFileName->setFocus();
}

void ReportFormatDialog::UpdateSaveButton() {
    // Without a name or a format there is nothing sensible to write.
    ui_->buttonSave->setEnabled(format().has_value() && !fileName().isEmpty());
}

void ReportFormatDialog::SaveClick() {
    const QString name = fileName();
    if (name.isEmpty() || !format())
        return;
    if (QFileInfo::exists(name)) {
        const MessageAnswer answer =
            dialogs_.Message(this, name + TextFor("msg.fileExists", language_),
                             MessageIcon::Confirmation, MessageButtons::YesNo);
        if (answer != MessageAnswer::Yes)
            return; // the dialog stays open with the name for another try
    }
    accept();
}

} // namespace zeb::gui
