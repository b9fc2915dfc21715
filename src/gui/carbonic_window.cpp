#include "gui/carbonic_window.h"

#include "gui/dialogs.h"
#include "gui/entry_fields.h"
#include "ui_carbonic_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zeb::gui {

CarbonicWindow::CarbonicWindow(Dialogs& dialogs, QWidget* parent)
    : ResultWindow(parent), ui_(new Ui::CarbonicWindow), dialogs_(dialogs) {
    ui_->setupUi(this);
    for (QLineEdit* e : {ui_->Edit1, ui_->Edit2, ui_->Edit3})
        EnterMovesFocus(e);
    connect(ui_->Button1, &QPushButton::clicked, this, &CarbonicWindow::Button1Click);
    connect(ui_->Berechnen, &QPushButton::clicked, this, &CarbonicWindow::BerechnenClick);
    ApplyTexts(app::Language::German);
}

CarbonicWindow::~CarbonicWindow() = default;

results::CarbonicInput CarbonicWindow::ReadInput() const {
    return {ToStdString(ui_->Edit1->text()), ToStdString(ui_->Edit2->text()),
            ToStdString(ui_->Edit3->text())};
}

void CarbonicWindow::WriteInput(const results::CarbonicInput& input) {
    ui_->Edit1->setText(ToQString(input.pH));
    ui_->Edit2->setText(ToQString(input.temperature));
    ui_->Edit3->setText(ToQString(input.ionicStrength));
}

void CarbonicWindow::Inform(results::InputClamp clamps) {
    for (const std::string& message : results::ClampMessages(clamps, language()))
        dialogs_.Inform(this, ToQString(message));
}

void CarbonicWindow::convert1() {
    results::CarbonicInput input = ReadInput();
    const results::InputClamp clamps = results::CheckCarbonicInput(input);
    WriteInput(input);
    Inform(clamps);
}

void CarbonicWindow::Button1Click() {
    accept();
}

void CarbonicWindow::BerechnenClick() {
    results::CarbonicInput input = ReadInput();
    const results::CarbonicView view = results::RunCarbonicTool(input);
    WriteInput(input);
    Inform(view.clamps);
    const results::CarbonicSpeciesValues& v = view.values;
    ui_->Label1->setText(FixedText(v.chargeFactor, 8, 8));
    ui_->Label2->setText(FixedText(v.fractionCO2, 8, 8));
    ui_->Label3->setText(FixedText(v.fractionHCO3, 8, 8));
    ui_->Label4->setText(FixedText(v.fractionCO3, 8, 8));
    ui_->Label5->setText(FixedText(v.ohMinusH, 8, 8));
}

void CarbonicWindow::showEvent(QShowEvent* event) {
    ResultWindow::showEvent(event);
    convert1();
    ui_->Edit1->setFocus(Qt::OtherFocusReason);
}

} // namespace zeb::gui
