#include "gui/blend_saturation_window.h"

#include "gui/dialogs.h"
#include "gui/dosage_window.h"
#include "gui/progress_window.h"
#include "gui/report_output.h"
#include "report/blend_report.h"
#include "ui_blend_saturation_window.h"

#include <QLabel>
#include <QPushButton>

namespace zeb::gui {

namespace {

// Lines 50, 51 and 100 stand on two pages each.
constexpr ReportPage kBlendReportPages[] = {{8, 51}, {50, 100}, {100, 150}};

const QString kBlendSuffix = QStringLiteral(" M");

} // namespace

BlendSaturationWindow::BlendSaturationWindow(Dialogs& dialogs, ReportOutput& reports,
                                             DosageWindows& dosage, ProgressWindow& progress,
                                             QWidget* parent)
    : ReportWindow(dialogs, reports, parent), ui_(new Ui::BlendSaturationWindow), dosage_(dosage),
      progress_(progress) {
    ui_->setupUi(this);
    StyleValueLabels(8);
    // The blend's dosage windows always name the blend, whatever this caption
    // carries.
    connect(ui_->buttonSI0, &QPushButton::clicked, this,
            [this] { dosage_.Open(chem::Target::SI0, kBlendSuffix); });
    connect(ui_->buttonPH78, &QPushButton::clicked, this,
            [this] { dosage_.Open(chem::Target::pH78, kBlendSuffix); });
    connect(ui_->buttonSave, &QPushButton::clicked, this,
            [this] { SaveReport(report::BlendReportLayout()); });
    connect(ui_->buttonDiagram, &QPushButton::clicked, this,
            &BlendSaturationWindow::diagramRequested);
    connect(ui_->buttonPrint, &QPushButton::clicked, this,
            [this] { PrintReport(kBlendReportPages); });
    ApplyTexts(app::Language::German);
}

BlendSaturationWindow::~BlendSaturationWindow() = default;

void BlendSaturationWindow::Open(const app::Project& project, const ReportHeader& header) {
    Run(project.parts.waters, header);
    RunModal(dialogs_, kBlendSuffix);
}

void BlendSaturationWindow::Run(const std::array<app::WaterAnalysis, 3>& waters,
                                const ReportHeader& header) {
    waters_ = waters;
    header_ = header;
    if (RefuseOutsideDomain(results::CheckBlendDomain(waters)))
        result_ = {};
    else
        result_ = RunWithProgress(progress_, results::kSaturationStages,
                                  [&waters](results::Progress* progress) {
                                      return results::ComputeBlendSaturation(
                                          waters, results::Execution::Parallel, progress);
                                  });
    hasRun_ = true;
    // A blend mixes the families of its waters: its dosage columns are headed
    // with the DIC family.
    dosage_.Relabel(true);
    if (result_.computed)
        dosage_.Show(result_.dosage);
    ShowResult();
    BuildReport();
}

void BlendSaturationWindow::ShowResult() {
    // Shares and texts are inputs: shown even when the blend could not be formed.
    QLabel* shares[] = {ui_->valueShareA, ui_->valueShareB, ui_->valueShareC};
    QLabel* texts[] = {ui_->valueTextA, ui_->valueTextB, ui_->valueTextC};
    for (int i = 0; i < 3; ++i) {
        shares[i]->setText(QString::fromStdString(waters_[i].blendPercent));
        texts[i]->setText(QString::fromStdString(waters_[i].text));
    }
    const std::array<std::array<QLabel*, results::kColumns>, 10> rows{{
        {ui_->valueMValue1, ui_->valueMValue2, ui_->valueMValue3},
        {ui_->valueDic1, ui_->valueDic2, ui_->valueDic3},
        {ui_->valueTcalc1, ui_->valueTcalc2, ui_->valueTcalc3},
        {ui_->valuePHTcalc1, ui_->valuePHTcalc2, ui_->valuePHTcalc3},
        {ui_->valuePHA1, ui_->valuePHA2, ui_->valuePHA3},
        {ui_->valueSI1, ui_->valueSI2, ui_->valueSI3},
        {ui_->valuePHc1, ui_->valuePHc2, ui_->valuePHc3},
        {ui_->valueIosCalculated1, ui_->valueIosCalculated2, ui_->valueIosCalculated3},
        {ui_->valueDcMmol1, ui_->valueDcMmol2, ui_->valueDcMmol3},
        {ui_->valueDcMg1, ui_->valueDcMg2, ui_->valueDcMg3},
    }};
    for (int k = 0; k < results::kColumns; ++k) {
        const results::BlendSaturationColumn& v = result_.columns[k];
        const long double values[] = {v.mValue, v.dic, result_.blend.blendTemp, v.pH,     v.pHA,
                                      v.si,     v.pHc, v.ionicStrength,         v.dcMmol, v.dcMg};
        for (int r = 0; r < 10; ++r) {
            if (result_.computed)
                SetValue(*rows[r][k], values[r]);
            else
                rows[r][k]->clear();
        }
    }
    ShowTexts();
}

void BlendSaturationWindow::ApplyWindowTexts() {
    ShowTexts();
    if (hasRun_)
        BuildReport();
}

void BlendSaturationWindow::ShowTexts() {
    ShowNotComputed(*ui_->labelStatus, hasRun_ && !result_.computed && !refused());
}

void BlendSaturationWindow::BuildReport() {
    report_ = report::BuildBlendReport(result_, language(), header_.signature, header_.fileName,
                                       header_.dateTime);
}

void BlendSaturationWindow::showEvent(QShowEvent* event) {
    ResultWindow::showEvent(event);
    ui_->Button1->setFocus();
}

} // namespace zeb::gui
