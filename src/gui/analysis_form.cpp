#include "gui/analysis_form.h"

#include "analysis/check.h"
#include "analysis/ion_units.h"
#include "analysis/normalize.h"
#include "app/number_format.h"
#include "gui/analysis_check_window.h"
#include "gui/dialogs.h"
#include "gui/entry_fields.h"
#include "ui_analysis_form.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace zeb::gui {

namespace {

using W = app::WaterAnalysis;

struct FieldName {
    const char* control;
    std::string W::*member;
};

// Every entry of the form and the field it shows. The options are not entries; the blend share
// is edited elsewhere.
constexpr FieldName kFields[] = {
    {"Edit1", &W::text},          {"Edit2", &W::pH},          {"Edit3", &W::tempPH},
    {"Edit4", &W::conductivity},  {"Edit5", &W::ks43},        {"Edit34", &W::tempTitr43},
    {"Edit6", &W::kb82},          {"Edit7", &W::ks82},        {"Edit8", &W::tempTitr82},
    {"Edit25", &W::dic},          {"Edit9", &W::tempCalc},    {"Edit10", &W::iosInput},
    {"Edit30", &W::toc},          {"Edit31", &W::oxygen},     {"Edit11", &W::cNa},
    {"Edit12", &W::cK},           {"Edit13", &W::cCa},        {"Edit14", &W::cMg},
    {"Edit15", &W::cCl},          {"Edit16", &W::cNO3},       {"Edit17", &W::cSO4},
    {"Edit26", &W::cPO4},         {"Edit27", &W::cNH4},       {"Edit35", &W::cFe},
    {"Edit37", &W::cMn},          {"Edit18", &W::massNa},     {"Edit19", &W::massK},
    {"Edit20", &W::massCa},       {"Edit21", &W::massMg},     {"Edit22", &W::massCl},
    {"Edit23", &W::massNO3},      {"Edit24", &W::massSO4},    {"Edit28", &W::massPO4},
    {"Edit29", &W::massNH4},      {"Edit36", &W::massFe},     {"Edit38", &W::massMn},
    {"Edit32", &W::hardnessMmol}, {"Edit33", &W::hardnessDH}, {"Edit39", &W::cO2Demand},
    {"Edit40", &W::massO2Demand},
};

constexpr long double kMinPH = 4.3L;
constexpr long double kMinKs43 = 0.05L;
constexpr long double kMaxTemperature = 90.0L;
constexpr long double kMaxIonicStrength = 50.0L;
const std::string kZero = "   0.000";

} // namespace

AnalysisForm::AnalysisForm(Dialogs& dialogs, QWidget* parent)
    : ResultWindow(parent), ui_(new Ui::AnalysisForm), dialogs_(dialogs),
      check_(new AnalysisCheckWindow(dialogs, this)) {
    ui_->setupUi(this);
    for (const FieldName& f : kFields)
        bindings_.push_back({findChild<QLineEdit*>(QLatin1String(f.control)), f.member});
    auto entryOf = [this](std::string W::*member) {
        for (const Binding& b : bindings_) {
            if (b.member == member)
                return b.entry;
        }
        return static_cast<QLineEdit*>(nullptr);
    };
    for (const analysis::IonRow& row : analysis::IonRows())
        ions_.push_back({entryOf(row.mmol), entryOf(row.mass), row.molarMass});

    ui_->Edit1->setValidator(new Cp1252Validator(ui_->Edit1));
    const QList<QLineEdit*> derived{ui_->Edit32, ui_->Edit33, ui_->Edit39, ui_->Edit40};
    for (const Binding& b : bindings_) {
        if (!derived.contains(b.entry))
            EnterMovesFocus(b.entry);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{ui_->CheckBox1, ui_->CheckBox2,
                                                      ui_->RadioButton1, ui_->RadioButton2})
        EnterMovesFocus(w);

    for (const IonEntries& ion : ions_) {
        OnLeave(ion.mmol, [this] { ConvertIons(true); });
        OnLeave(ion.mass, [this] { ConvertIons(false); });
    }
    OnLeave(ui_->Edit2, [this] { LeavePH(); });
    for (QLineEdit* t : {ui_->Edit3, ui_->Edit34, ui_->Edit8, ui_->Edit9})
        OnLeave(t, [this, t] { LeaveTemperature(t); });
    OnLeave(ui_->Edit5, [this] { LeaveKs43(); });
    OnLeave(ui_->Edit10, [this] { LeaveIonicStrength(); });
    OnLeave(ui_->Edit6, [this] { LeaveExclusiveCapacity(ui_->Edit6, ui_->Edit7); });
    OnLeave(ui_->Edit7, [this] { LeaveExclusiveCapacity(ui_->Edit7, ui_->Edit6); });
    OnLeave(ui_->Edit25, [this] { LeaveDic(); });
    for (QLineEdit* e : {ui_->Edit4, ui_->Edit30, ui_->Edit31})
        OnLeave(e, [this, e] { Normalize(e); });
    OnLeave(ui_->CheckBox1, [this] { LeaveDicOption(); });
    OnLeave(ui_->CheckBox2, [this] { ShowIonicStrengthOption(true); });
    connect(ui_->CheckBox2, &QCheckBox::clicked, this, [this] { ShowIonicStrengthOption(true); });

    connect(ui_->buttonOk, &QPushButton::clicked, this, &AnalysisForm::OkClick);
    connect(ui_->buttonCancel, &QPushButton::clicked, this, &AnalysisForm::reject);
    connect(ui_->buttonTest, &QPushButton::clicked, this, &AnalysisForm::test);

    // Tcalc is the one temperature every result depends on, so it stands out.
    SetTextColor(ui_->labelTempCalc, Qt::red);
    SetTextColor(ui_->unitTempCalc, Qt::red);
    ShowIonicStrengthOption(false);
    ApplyTexts(app::Language::German);
}

AnalysisForm::~AnalysisForm() = default;

void AnalysisForm::ApplyWindowTexts() {
    check_->ApplyTexts(language());
}

app::WaterAnalysis AnalysisForm::ReadForm() const {
    app::WaterAnalysis water;
    for (const Binding& b : bindings_)
        water.*b.member = ToStdString(b.entry->text());
    water.condRefTemp = ui_->RadioButton1->isChecked() ? "20" : "25";
    water.dicMode = ui_->CheckBox1->isChecked() ? "DIC" : "KSB";
    water.iosMode = ui_->CheckBox2->isChecked() ? "IOS" : "ZEB";
    return water;
}

void AnalysisForm::WriteForm(const app::WaterAnalysis& water) {
    for (const Binding& b : bindings_)
        SetEntryText(b.entry, water.*b.member);
}

void AnalysisForm::LoadAnalysisForm(const app::WaterAnalysis& water) {
    WriteForm(water);
    ui_->CheckBox1->setChecked(water.dicMode == "DIC");
    ui_->CheckBox2->setChecked(water.iosMode == "IOS");
    if (water.condRefTemp == "20")
        ui_->RadioButton1->setChecked(true);
    else
        ui_->RadioButton2->setChecked(true);
    ShowIonicStrengthOption(false);
}

void AnalysisForm::StoreAnalysisForm(app::WaterAnalysis& water) const {
    const app::WaterAnalysis form = ReadForm();
    for (const Binding& b : bindings_)
        water.*b.member = app::CutValueText(form.*b.member);
    // Only value texts are cut; the description of the water has a line of its own in the file.
    water.text = form.text;
    water.condRefTemp = form.condRefTemp;
    water.dicMode = form.dicMode;
    water.iosMode = form.iosMode;
}

void AnalysisForm::NormalizeAllFields() {
    app::WaterAnalysis water = ReadForm();
    analysis::NormalizeAllFields(water);
    WriteForm(water);
}

void AnalysisForm::Normalize(QLineEdit* entry) {
    std::string text = ToStdString(entry->text());
    app::NormalizeNumberText(text);
    SetEntryText(entry, text);
}

long double AnalysisForm::Value(const QLineEdit* entry) const {
    return app::ParseNumber(ToStdString(entry->text()));
}

void AnalysisForm::Inform(std::string_view messageKey) {
    dialogs_.Inform(this, TextFor(messageKey, language()));
}

void AnalysisForm::ConvertIons(bool fromMmol) {
    for (size_t i = 0; i < ions_.size(); ++i) {
        const IonEntries& ion = ions_[i];
        QLineEdit* typed = fromMmol ? ion.mmol : ion.mass;
        if (!typed->isModified())
            continue;
        Normalize(typed);
        const std::string text = ToStdString(typed->text());
        SetEntryText(fromMmol ? ion.mass : ion.mmol, fromMmol
                                                         ? analysis::MassText(text, ion.molarMass)
                                                         : analysis::MmolText(text, ion.molarMass));
        const std::string_view name = analysis::IonRows()[i].name;
        if (name == "Ca" || name == "Mg")
            UpdateHardness();
        else if (name == "NH4" || name == "Fe" || name == "Mn")
            UpdateOxygenDemand();
    }
}

void AnalysisForm::UpdateHardness() {
    const analysis::HardnessTexts h =
        analysis::Hardness(ToStdString(ui_->Edit13->text()), ToStdString(ui_->Edit14->text()));
    SetEntryText(ui_->Edit32, h.mmol);
    SetEntryText(ui_->Edit33, h.dH);
}

void AnalysisForm::UpdateOxygenDemand() {
    const analysis::OxygenDemandTexts d =
        analysis::OxygenDemand(ToStdString(ui_->Edit29->text()), ToStdString(ui_->Edit36->text()),
                               ToStdString(ui_->Edit38->text()));
    SetEntryText(ui_->Edit39, d.mmol);
    SetEntryText(ui_->Edit40, d.mass);
}

void AnalysisForm::LeaveExclusiveCapacity(QLineEdit* left, QLineEdit* other) {
    // A water either needs base or acid to reach pH 8.2, never both.
    if (!left->isModified())
        return;
    Normalize(left);
    SetEntryText(other, kZero);
}

void AnalysisForm::LeavePH() {
    Normalize(ui_->Edit2);
    if (Value(ui_->Edit2) < kMinPH) {
        Inform("msg.rangePH");
        SetEntryText(ui_->Edit2, app::FormatFixed(kMinPH, 8, 3));
    }
}

void AnalysisForm::LeaveTemperature(QLineEdit* entry) {
    Normalize(entry);
    if (Value(entry) > kMaxTemperature)
        Inform("msg.rangeTemperature");
}

void AnalysisForm::LeaveKs43() {
    Normalize(ui_->Edit5);
    if (Value(ui_->Edit5) < kMinKs43) {
        Inform("msg.rangeKs43");
        SetEntryText(ui_->Edit5, app::FormatFixed(kMinKs43, 8, 3));
    }
}

void AnalysisForm::LeaveIonicStrength() {
    Normalize(ui_->Edit10);
    if (Value(ui_->Edit10) > kMaxIonicStrength)
        Inform("msg.rangeIonicStrength");
}

void AnalysisForm::LeaveDic() {
    Normalize(ui_->Edit25);
    if (Value(ui_->Edit25) == 0)
        ui_->CheckBox1->setChecked(false);
}

void AnalysisForm::LeaveDicOption() {
    if (!ui_->CheckBox1->isChecked())
        return;
    Normalize(ui_->Edit25);
    if (Value(ui_->Edit25) == 0) {
        ui_->CheckBox1->setChecked(false);
        Inform("msg.dicRequiresValue");
    }
}

void AnalysisForm::ShowIonicStrengthOption(bool clearValue) {
    const bool manual = !ui_->CheckBox2->isChecked();
    const QColor color = manual ? QColor(Qt::red) : QColor();
    SetTextColor(ui_->labelIosInput, color);
    SetTextColor(ui_->unitIosInput, color);
    ui_->Edit10->setEnabled(manual);
    if (!manual && clearValue)
        SetEntryText(ui_->Edit10, kZero);
}

void AnalysisForm::test() {
    CommitFocusedControl(this);
    for (;;) {
        NormalizeAllFields();
        check_->Show(analysis::CheckAnalysis(ReadForm()));
        const int result = dialogs_.RunModal(*check_);
        const QString text = check_->ionicStrengthText();
        const bool changed = text != ui_->Edit10->text();
        SetEntryText(ui_->Edit10, ToStdString(text));
        // A changed ionic strength confirmed with OK is checked again at once.
        if (result != QDialog::Accepted || !changed)
            return;
    }
}

void AnalysisForm::OkClick() {
    CommitFocusedControl(this);
    NormalizeAllFields();
    accept();
}

void AnalysisForm::showEvent(QShowEvent* event) {
    ResultWindow::showEvent(event);
    NormalizeAllFields();
    ui_->Edit1->setFocus(Qt::OtherFocusReason);
}

void AnalysisForm::done(int result) {
    // Cancel and Escape too: the notices below look at the value as it would be stored.
    CommitFocusedControl(this);
    // Notices only: the form closes either way, but a zero here is rarely meant.
    if (!ui_->CheckBox2->isChecked() && Value(ui_->Edit10) == 0)
        Inform("msg.iosZero");
    if (Value(ui_->Edit9) == 0)
        Inform("msg.tcalcZero");
    ResultWindow::done(result);
}

} // namespace zeb::gui
