#include "gui/blend_fractions_window.h"

#include "app/number_format.h"
#include "gui/entry_fields.h"
#include "results/blend.h"
#include "ui_blend_fractions_window.h"

#include <QLineEdit>
#include <QPushButton>

namespace zeb::gui {

BlendFractionsWindow::BlendFractionsWindow(QWidget* parent)
    : ResultWindow(parent), ui_(new Ui::BlendFractionsWindow) {
    ui_->setupUi(this);
    for (QLineEdit* e : {ui_->Edit1, ui_->Edit2, ui_->Edit3, ui_->Edit4})
        EnterMovesFocus(e);
    // C and the sum are always computed.
    ShowReadOnly(ui_->Edit3, true);
    ShowReadOnly(ui_->Edit4, true);
    connect(ui_->Button1, &QPushButton::clicked, this, &BlendFractionsWindow::Button1Click);
    connect(ui_->Button2, &QPushButton::clicked, this, &BlendFractionsWindow::Button2Click);
    connect(ui_->Button3, &QPushButton::clicked, this, &BlendFractionsWindow::Button3Click);
    ApplyTexts(app::Language::German);
}

BlendFractionsWindow::~BlendFractionsWindow() = default;

void BlendFractionsWindow::SetWaterTexts(const std::array<std::string, 3>& texts) {
    waterTexts_ = texts;
}

void BlendFractionsWindow::SetShares(const std::array<std::string, 3>& shares) {
    ui_->Edit1->setText(ToQString(shares[0]));
    ui_->Edit2->setText(ToQString(shares[1]));
    ui_->Edit3->setText(ToQString(shares[2]));
    // The sum of what is loaded, not what the last Run left in the field.
    long double sum = 0;
    for (const std::string& share : shares)
        sum += app::ParseNumber(share);
    ui_->Edit4->setText(ToQString(app::FormatFixed(sum, 8, 3)));
}

std::array<std::string, 3> BlendFractionsWindow::shares() const {
    return {ToStdString(ui_->Edit1->text()), ToStdString(ui_->Edit2->text()),
            ToStdString(ui_->Edit3->text())};
}

namespace {

results::BlendShareFields Read(const Ui::BlendFractionsWindow& ui) {
    return {ToStdString(ui.Edit1->text()), ToStdString(ui.Edit2->text()),
            ToStdString(ui.Edit3->text()), ToStdString(ui.Edit4->text())};
}

void Write(Ui::BlendFractionsWindow& ui, const results::BlendShareFields& f) {
    ui.Edit1->setText(ToQString(f.a));
    ui.Edit2->setText(ToQString(f.b));
    ui.Edit3->setText(ToQString(f.c));
    ui.Edit4->setText(ToQString(f.sum));
}

} // namespace

void BlendFractionsWindow::convert1() {
    Write(*ui_, results::NormalizeBlendShareFields(Read(*ui_)));
    ui_->Edit1->setFocus(Qt::OtherFocusReason);
}

void BlendFractionsWindow::Button1Click() {
    Write(*ui_, results::ApplyBlendShareRules(Read(*ui_)));
}

void BlendFractionsWindow::Button2Click() {
    convert1();
    reject();
}

void BlendFractionsWindow::Button3Click() {
    Button1Click();
    accept();
}

void BlendFractionsWindow::showEvent(QShowEvent* event) {
    ResultWindow::showEvent(event);
    ui_->Label18->setText(ToQString(waterTexts_[0]));
    ui_->Label19->setText(ToQString(waterTexts_[1]));
    ui_->Label20->setText(ToQString(waterTexts_[2]));
    convert1();
}

} // namespace zeb::gui
