#include "gui/conditioning_window.h"

#include "app/number_format.h"
#include "app/project_file.h"
#include "gui/dialogs.h"
#include "gui/entry_fields.h"
#include "gui/report_output.h"
#include "report/conditioning_report.h"
#include "results/conditioning.h"
#include "ui_conditioning_window.h"

#include <limits>

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>

namespace zeb::gui {

namespace {

using C = app::ConditioningData;

struct FieldName {
    const char* control;
    std::string C::*member;
};

constexpr FieldName kFields[] = {
    {"Edit1", &C::text},  {"Edit2", &C::tm},   {"Edit3", &C::tC},    {"Edit4", &C::T},
    {"Edit5", &C::IOS},   {"Edit6", &C::cNa},  {"Edit7", &C::cK},    {"Edit8", &C::cCa},
    {"Edit9", &C::cMg},   {"Edit10", &C::cCl}, {"Edit11", &C::cNO3}, {"Edit12", &C::cSO4},
    {"Edit15", &C::cPO4}, {"Edit13", &C::cx},  {"Edit14", &C::Vx},
};

// The radio buttons of the chemicals in the order of results::kConditioningChemicals.
constexpr const char* kChemicalButtons[] = {"radioCO2",    "radioHCl",      "radioNaOH",
                                            "radioCaOH2",  "radioNaHCO3",   "radioCaCO3",
                                            "radioNa2CO3", "radioCaCO3MgO", "radioCaCl2"};

// Printed on one page: the header, then lines 8 to 52.
constexpr ReportPage kPages[] = {{8, 52}};

} // namespace

ConditioningWindow::ConditioningWindow(Dialogs& dialogs, ReportOutput& reports,
                                       const app::Project& project, QWidget* parent)
    : ProjectReportWindow(dialogs, reports, project, parent), ui_(new Ui::ConditioningWindow) {
    ui_->setupUi(this);
    StyleValueLabels(8);
    for (const FieldName& f : kFields) {
        auto* entry = findChild<QLineEdit*>(QLatin1String(f.control));
        bindings_.push_back({entry, f.member});
        EnterMovesFocus(entry);
        // Results go when an input changes; leaving an entry untouched keeps them.
        OnLeave(entry, [this, entry] {
            if (entry->isModified())
                Button2Click();
        });
    }
    ui_->Edit1->setValidator(new Cp1252Validator(ui_->Edit1));
    // One of the two labels of the dose shows, by the dilution mode. They take turns in one place
    // as wide as the wider, so that switching the mode moves nothing and the window keeps its
    // size (showing one before hiding the other would widen the window for good).
    doseLabels_ = new QStackedWidget(this);
    ui_->layout3->removeWidget(ui_->labelConcentration);
    delete ui_->layout3->replaceWidget(ui_->labelDosage, doseLabels_);
    doseLabels_->addWidget(ui_->labelDosage);
    doseLabels_->addWidget(ui_->labelConcentration);

    auto* chemicalGroup = new QButtonGroup(this);
    for (size_t i = 0; i < std::size(kChemicalButtons); ++i) {
        auto* button = findChild<QRadioButton*>(QLatin1String(kChemicalButtons[i]));
        chemicalGroup->addButton(button);
        chemicals_.emplace_back(
            button, results::ConditioningChemicalToken(results::kConditioningChemicals[i]));
        connect(button, &QRadioButton::clicked, this, &ConditioningWindow::Button2Click);
    }
    auto* modeGroup = new QButtonGroup(this);
    modeGroup->addButton(ui_->radioWithoutDilution);
    modeGroup->addButton(ui_->radioWithDilution);
    connect(ui_->radioWithoutDilution, &QRadioButton::clicked, this,
            &ConditioningWindow::ohneVerduennung);
    connect(ui_->radioWithDilution, &QRadioButton::clicked, this,
            &ConditioningWindow::mitVerduennung);

    outputs_ = {ui_->valueChargeBalance,
                ui_->valueIos,
                ui_->valuePH,
                ui_->valueNa,
                ui_->valueK,
                ui_->valueCa,
                ui_->valueMg,
                ui_->valueMValue,
                ui_->valueDic,
                ui_->valuePValue,
                ui_->valueDc,
                ui_->valueSI,
                ui_->valueCl,
                ui_->valueNO3,
                ui_->valueSO4,
                ui_->valuePO4};

    connect(ui_->buttonDataA, &QPushButton::clicked, this, &ConditioningWindow::DataA);
    connect(ui_->buttonDataB, &QPushButton::clicked, this, &ConditioningWindow::DataB);
    connect(ui_->buttonDataC, &QPushButton::clicked, this, &ConditioningWindow::DataC);
    connect(ui_->buttonRun, &QPushButton::clicked, this, &ConditioningWindow::run);
    connect(ui_->buttonSave, &QPushButton::clicked, this, &ConditioningWindow::save);
    connect(ui_->buttonPrint, &QPushButton::clicked, this, &ConditioningWindow::print);
    connect(ui_->Button1, &QPushButton::clicked, this, &ConditioningWindow::Button1Click);
    connect(ui_->Button3, &QPushButton::clicked, this, &ConditioningWindow::Button3Click);

    app::ConditioningData defaults;
    app::SetDefaultConditioning(defaults);
    LoadConditioningForm(defaults);
    ApplyTexts(app::Language::German);
}

ConditioningWindow::~ConditioningWindow() = default;

app::ConditioningData ConditioningWindow::ReadForm() const {
    app::ConditioningData data;
    for (const Binding& b : bindings_)
        data.*b.member = ToStdString(b.entry->text());
    for (const auto& [button, token] : chemicals_) {
        if (button->isChecked())
            data.chemical = std::string(token);
    }
    return data;
}

void ConditioningWindow::WriteEntries(const app::ConditioningData& data) {
    for (const Binding& b : bindings_)
        SetEntryText(b.entry, data.*b.member);
}

void ConditioningWindow::LoadConditioningForm(const app::ConditioningData& data) {
    WriteEntries(data);
    // The mode is not stored: a volume means the dose comes as a solution.
    if (results::ConditioningWithDilution(data)) {
        ui_->radioWithDilution->setChecked(true);
        mitVerduennung();
    } else {
        ui_->radioWithoutDilution->setChecked(true);
        ohneVerduennung();
    }
    const std::string_view token =
        results::ConditioningChemicalToken(results::ParseConditioningChemical(data.chemical));
    for (const auto& [button, t] : chemicals_)
        button->setChecked(t == token);
}

void ConditioningWindow::StoreConditioningForm(app::ConditioningData& data) const {
    const app::ConditioningData form = ReadForm();
    for (const Binding& b : bindings_)
        data.*b.member = app::CutValueText(form.*b.member);
    data.text = form.text;
    data.chemical = form.chemical;
}

void ConditioningWindow::NormalizeInputs() {
    app::ConditioningData data = ReadForm();
    const std::vector<std::string_view> messages = results::NormalizeConditioningInputs(data);
    WriteEntries(data);
    Inform(messages);
}

void ConditioningWindow::init() {
    Button2Click();
    NormalizeInputs();
}

void ConditioningWindow::Button2Click() {
    for (QLabel* label : outputs_)
        label->clear();
}

void ConditioningWindow::Button1Click() {
    CommitFocusedControl(this);
    NormalizeInputs();
    accept();
}

void ConditioningWindow::Button3Click() {
    CommitFocusedControl(this);
    reject();
}

void ConditioningWindow::TakeWater(app::WaterId id) {
    app::ConditioningData data = ReadForm();
    results::TakeConditioningFromWater(data, project_.water(id));
    WriteEntries(data);
    Button2Click();
}

void ConditioningWindow::ohneVerduennung() {
    app::ConditioningData data = ReadForm();
    results::SelectWithoutDilution(data);
    SetEntryText(ui_->Edit14, data.Vx);
    ui_->Edit14->setEnabled(false);
    ui_->labelVolume->setEnabled(false);
    ui_->unitVolume->setEnabled(false);
    doseLabels_->setCurrentWidget(ui_->labelDosage);
    Button2Click();
}

void ConditioningWindow::mitVerduennung() {
    ui_->Edit14->setEnabled(true);
    ui_->labelVolume->setEnabled(true);
    ui_->unitVolume->setEnabled(true);
    doseLabels_->setCurrentWidget(ui_->labelConcentration);
    Button2Click();
}

void ConditioningWindow::run() {
    CommitFocusedControl(this);
    const app::ConditioningData form = ReadForm();
    if (RefuseOutsideDomain(results::CheckConditioningDomain(form))) {
        // Nothing computed: the results of an earlier run do not stand for these inputs.
        for (auto* output : outputs_)
            SetValue(*output, std::numeric_limits<long double>::quiet_NaN());
        report_.Clear();
        return;
    }
    const results::ConditioningResult r =
        results::ComputeConditioning(form, ui_->radioWithDilution->isChecked());
    WriteEntries(r.inputs);
    Inform(r.messageKeys);
    const std::array<long double, 16> values{
        r.chargeBalance, r.ionicStrength, r.pH,       r.ions.na, r.ions.k, r.ions.ca,
        r.ions.mg,       r.mValue,        r.dic,      r.pValue,  r.dc,     r.si,
        r.ions.cl,       r.ions.no3,      r.ions.so4, r.ions.po4};
    for (size_t i = 0; i < outputs_.size(); ++i)
        SetValue(*outputs_[i], values[i]);
    const ReportHeader header = CurrentHeader();
    report_ = report::BuildConditioningReport(r, language(), header.signature, header.fileName,
                                              header.dateTime);
}

void ConditioningWindow::print() {
    PrintReport(kPages);
}

void ConditioningWindow::save() {
    SaveReport(report::ConditioningReportLayout());
}

void ConditioningWindow::showEvent(QShowEvent* event) {
    ResultWindow::showEvent(event);
    init();
    ui_->Edit1->setFocus(Qt::OtherFocusReason);
}

} // namespace zeb::gui
