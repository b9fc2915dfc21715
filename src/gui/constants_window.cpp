#include "gui/constants_window.h"

#include "gui/dialogs.h"
#include "gui/entry_fields.h"
#include "ui_constants_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zeb::gui {

ConstantsWindow::ConstantsWindow(Dialogs& dialogs, QWidget* parent)
    : ResultWindow(parent), ui_(new Ui::ConstantsWindow), dialogs_(dialogs) {
    ui_->setupUi(this);
    EnterMovesFocus(ui_->Edit1);
    EnterMovesFocus(ui_->Edit2);
    connect(ui_->Button1, &QPushButton::clicked, this, &ConstantsWindow::Button1Click);
    connect(ui_->Button2, &QPushButton::clicked, this, &ConstantsWindow::Button2Click);
    ApplyTexts(app::Language::German);
}

ConstantsWindow::~ConstantsWindow() = default;

void ConstantsWindow::ApplyWindowTexts() {
    for (int n = 1; n <= 23; ++n) {
        if (auto* unit = findChild<QLabel*>(QStringLiteral("unitK%1").arg(n)))
            unit->setText(TextFor(results::ConstantUnitKey(n), language()));
    }
}

results::ConstantsInput ConstantsWindow::ReadInput() const {
    return {ToStdString(ui_->Edit1->text()), ToStdString(ui_->Edit2->text())};
}

void ConstantsWindow::WriteInput(const results::ConstantsInput& input) {
    ui_->Edit1->setText(ToQString(input.temperature));
    ui_->Edit2->setText(ToQString(input.ionicStrength));
}

void ConstantsWindow::Inform(results::InputClamp clamps) {
    for (const std::string& message : results::ClampMessages(clamps, language()))
        dialogs_.Inform(this, ToQString(message));
}

void ConstantsWindow::convert1() {
    results::ConstantsInput input = ReadInput();
    const results::InputClamp clamps = results::CheckConstantsInput(input);
    WriteInput(input);
    Inform(clamps);
}

void ConstantsWindow::Button1Click() {
    accept();
}

void ConstantsWindow::Button2Click() {
    results::ConstantsInput input = ReadInput();
    const results::ConstantsView view = results::RunConstantsView(input);
    WriteInput(input);
    Inform(view.clamps);
    for (int n = 1; n <= 23; ++n) {
        if (auto* value = findChild<QLabel*>(QStringLiteral("Label%1").arg(n)))
            value->setText(FixedText(view.table.lgK[static_cast<size_t>(n - 1)], 8, 6));
    }
}

void ConstantsWindow::showEvent(QShowEvent* event) {
    ResultWindow::showEvent(event);
    convert1();
    ui_->Edit1->setFocus(Qt::OtherFocusReason);
}

} // namespace zeb::gui
