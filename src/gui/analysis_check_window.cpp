#include "gui/analysis_check_window.h"

#include "app/number_format.h"
#include "gui/dialogs.h"
#include "gui/entry_fields.h"
#include "ui_analysis_check_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>

namespace zeb::gui {

namespace {

constexpr long double kMaxIonicStrength = 50.0L;

void SetNumber(QLabel* label, long double x, int decimals = 3) {
    label->setText(FixedText(x, 8, decimals));
}

} // namespace

AnalysisCheckWindow::AnalysisCheckWindow(Dialogs& dialogs, QWidget* parent)
    : ResultWindow(parent), ui_(new Ui::AnalysisCheckWindow), dialogs_(dialogs) {
    ui_->setupUi(this);
    StyleValueLabels(8);
    connect(ui_->buttonOk, &QPushButton::clicked, this, &AnalysisCheckWindow::OkClick);
    ApplyTexts(app::Language::German);
}

AnalysisCheckWindow::~AnalysisCheckWindow() = default;

void AnalysisCheckWindow::Show(const analysis::AnalysisCheck& check) {
    check_ = check;
    const analysis::ConductivityFigures& f = check.figures;
    SetNumber(ui_->valueSumNegative, f.sumAnions);
    SetNumber(ui_->valueSumPositive, f.sumCations);
    SetNumber(ui_->valueDiffCations, f.balanceCations, 1);
    SetNumber(ui_->valueDiffMean, f.balanceMean, 1);
    SetNumber(ui_->valueDiffMax, f.balanceMax, 1);
    SetNumber(ui_->valueMChargeBalance, f.mValueFromBalance);
    SetNumber(ui_->valueECMeasured, f.conductivityMeasured25);
    SetNumber(ui_->valueECCalculated, f.conductivityCalculated);
    SetNumber(ui_->valueECDiff, f.conductivityDeviation, 1);
    SetNumber(ui_->valueIosFromEC, f.ionicStrengthFromConductivity);

    // The field is there only while the ionic strength is entered by hand.
    const bool manual = check.manualIonicStrength;
    ui_->rowIosInput->setVisible(manual);
    ui_->editIosInput->setVisible(manual);
    ui_->unitIosInput->setVisible(manual);
    ui_->editIosInput->setEnabled(manual);
    ui_->editIosInput->setText(ToQString(check.ionicStrengthText));
    const QColor ioColor = manual ? QColor(Qt::red) : QColor();
    SetTextColor(ui_->rowIosCalculated, ioColor);
    SetTextColor(ui_->unitIosCalculated, ioColor);

    const analysis::CarbonateCheck& c = check.carbonate;
    const std::array<QLabel*, 3> m{ui_->valueMValue1, ui_->valueMValue2, ui_->valueMValue3};
    const std::array<QLabel*, 3> dic{ui_->valueDic1, ui_->valueDic2, ui_->valueDic3};
    const std::array<QLabel*, 3> p{ui_->valuePValue1, ui_->valuePValue2, ui_->valuePValue3};
    const std::array<QLabel*, 3> an{ui_->valueAnions1, ui_->valueAnions2, ui_->valueAnions3};
    const std::array<QLabel*, 3> cat{ui_->valueCations1, ui_->valueCations2, ui_->valueCations3};
    const std::array<QLabel*, 3> ios{ui_->valueIosCalculated1, ui_->valueIosCalculated2,
                                     ui_->valueIosCalculated3};
    const std::array<QLabel*, 3> ph{ui_->valuePHTcalc1, ui_->valuePHTcalc2, ui_->valuePHTcalc3};
    const std::array<QLabel*, 6> single{ui_->valuePHCalculated,   ui_->valuePHMeasured,
                                        ui_->valueKb82Calculated, ui_->valueKb82Measured,
                                        ui_->valueKs43Calculated, ui_->valueKs43Measured};
    for (int k = 0; k < 3; ++k) {
        for (QLabel* label : {m[k], dic[k], p[k], an[k], cat[k], ios[k], ph[k]})
            label->clear();
    }
    for (QLabel* label : single)
        label->clear();
    if (c.computed) {
        for (int k = 0; k < 3; ++k) {
            SetNumber(m[k], c.mValue[k]);
            SetNumber(dic[k], c.dic[k]);
            SetNumber(p[k], c.pValue[k]);
            SetNumber(an[k], c.anions[k]);
            SetNumber(cat[k], c.cations[k]);
            SetNumber(ios[k], c.ionicStrength[k]);
            SetNumber(ph[k], c.pH[k]);
        }
        SetNumber(ui_->valuePHCalculated, c.pHCalculated);
        SetNumber(ui_->valuePHMeasured, c.pHMeasured);
        SetNumber(ui_->valueKb82Calculated, c.kb82Calculated);
        SetNumber(ui_->valueKb82Measured, c.kb82Measured);
        SetNumber(ui_->valueKs43Calculated, c.ks43Calculated);
        SetNumber(ui_->valueKs43Measured, c.ks43Measured);
    }
    ShowMarks();
}

void AnalysisCheckWindow::ShowMarks() {
    const analysis::ConductivityFigures& f = check_.figures;
    const bool marked = f.balanceMark != analysis::BalanceMark::None;
    const char* unitKey = f.balanceMark == analysis::BalanceMark::Above5    ? "unitAbove5"
                          : f.balanceMark == analysis::BalanceMark::Above10 ? "unitAbove10"
                                                                            : "unitPercent";
    ui_->unitDiffMean->setText(WindowText(unitKey));
    SetTextColor(ui_->rowDiffMean, marked ? QColor(Qt::red) : QColor());
    SetTextColor(ui_->unitDiffMean, marked ? QColor(Qt::red) : QColor());

    ShowColumnHeadings({ui_->columnHeading1, ui_->columnHeading2, ui_->columnHeading3},
                       check_.carbonate.useDic);

    const bool disagree = check_.carbonate.computed && check_.carbonate.pHDisagree;
    ui_->labelAgreement->setText(WindowText(disagree ? "diffAbove" : "diffBelow"));
    SetTextColor(ui_->labelAgreement, disagree ? QColor(Qt::red) : QColor());
}

void AnalysisCheckWindow::ApplyWindowTexts() {
    ShowMarks();
}

QString AnalysisCheckWindow::ionicStrengthText() const {
    return ui_->editIosInput->text();
}

void AnalysisCheckWindow::showEvent(QShowEvent* event) {
    ResultWindow::showEvent(event);
    if (ui_->editIosInput->isVisible() && ui_->editIosInput->isEnabled())
        ui_->editIosInput->setFocus(Qt::OtherFocusReason);
    else
        ui_->buttonOk->setFocus(Qt::OtherFocusReason);
}

void AnalysisCheckWindow::OkClick() {
    std::string text = ToStdString(ui_->editIosInput->text());
    app::NormalizeNumberText(text);
    ui_->editIosInput->setText(ToQString(text));
    if (app::ParseNumber(text) > kMaxIonicStrength)
        dialogs_.Inform(this, TextFor("msg.rangeIonicStrength", language()));
    accept();
}

} // namespace zeb::gui
