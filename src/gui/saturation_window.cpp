#include "gui/saturation_window.h"

#include "gui/dialogs.h"
#include "gui/dosage_window.h"
#include "gui/progress_window.h"
#include "gui/report_output.h"
#include "report/saturation_report.h"
#include "ui_saturation_window.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>

namespace zeb::gui {

namespace {

void SetRed(QLabel& label, bool red) {
    // An empty palette hands the label back to the window's colours.
    QPalette palette;
    if (red)
        palette.setColor(QPalette::WindowText, Qt::red);
    label.setPalette(palette);
}

} // namespace

SaturationWindow::SaturationWindow(Dialogs& dialogs, ReportOutput& reports, DosageWindows& dosage,
                                   ProgressWindow& progress, QWidget* parent)
    : ReportWindow(dialogs, reports, parent), ui_(new Ui::SaturationWindow), dosage_(dosage),
      progress_(progress) {
    ui_->setupUi(this);
    StyleValueLabels(8);
    connect(ui_->buttonSI0, &QPushButton::clicked, this,
            [this] { dosage_.Open(chem::Target::SI0, captionSuffix()); });
    connect(ui_->buttonPH78, &QPushButton::clicked, this,
            [this] { dosage_.Open(chem::Target::pH78, captionSuffix()); });
    connect(ui_->buttonSave, &QPushButton::clicked, this, &SaturationWindow::SaveClick);
    connect(ui_->buttonDiagram, &QPushButton::clicked, this, &SaturationWindow::diagramRequested);
    connect(ui_->buttonPrint, &QPushButton::clicked, this, &SaturationWindow::PrintClick);
    ApplyTexts(app::Language::German);
}

SaturationWindow::~SaturationWindow() = default;

void SaturationWindow::Open(const app::Project& project, app::WaterId id,
                            const ReportHeader& header) {
    Run(project.water(id), header, id);
    RunModal(dialogs_, QStringLiteral(" ") + QChar::fromLatin1(app::WaterLetter(id)));
}

void SaturationWindow::Run(const app::WaterAnalysis& water, const ReportHeader& header,
                           app::WaterId id) {
    if (RefuseOutsideDomain(results::CheckWaterDomain(water, id))) {
        Show(water, results::WaterSaturation{}, header);
        return;
    }
    // The three columns run on threads of their own; their numbers are those of a serial run.
    Show(water,
         RunWithProgress(progress_, results::kSaturationStages,
                         [&water](results::Progress* progress) {
                             return results::ComputeSaturation(water, results::Execution::Parallel,
                                                               results::Dosage::Tables, progress);
                         }),
         header);
}

void SaturationWindow::Show(const app::WaterAnalysis& water, const results::WaterSaturation& result,
                            const ReportHeader& header) {
    water_ = water;
    header_ = header;
    result_ = result;
    hasRun_ = true;
    dosage_.Relabel(result_.useDic);
    if (result_.computed)
        dosage_.Show(result_.dosage);
    ShowResult();
    BuildReport();
}

void SaturationWindow::ShowResult() {
    for (QLabel* label : findChildren<QLabel*>())
        if (label->objectName().startsWith(u"value"))
            label->clear();
    ui_->labelText->setText(QString::fromStdString(water_.text));
    if (result_.computed) {
        const auto& c = result_.columns;
        const std::array<std::array<QLabel*, results::kColumns>, 14> rows{{
            {ui_->valueMValue1, ui_->valueMValue2, ui_->valueMValue3},
            {ui_->valueDic1, ui_->valueDic2, ui_->valueDic3},
            {ui_->valuePValue1, ui_->valuePValue2, ui_->valuePValue3},
            {ui_->valueAnions1, ui_->valueAnions2, ui_->valueAnions3},
            {ui_->valueCations1, ui_->valueCations2, ui_->valueCations3},
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
            const results::SaturationColumn& v = c[k];
            const long double values[] = {v.mValue,        v.dic,    v.pValue, v.anions, v.cations,
                                          result_.tCalc,   v.pH,     v.pHA,    v.si,     v.pHc,
                                          v.ionicStrength, v.dcMmol, v.dcMg};
            for (int r = 0; r < 13; ++r)
                SetValue(*rows[r][k], values[r]);
        }
        SetValue(*ui_->valuePHCalculated1, result_.pHCalculated);
        SetValue(*ui_->valuePHMeasured1, result_.pHMeasured);
        SetValue(*ui_->valueKs43Calculated3, result_.ks43Calculated);
        SetValue(*ui_->valueKs43Measured3, result_.ks43Measured);
        SetValue(*ui_->valueKb82Calculated2, result_.kb82Calculated);
        SetValue(*ui_->valueKb82Measured2, result_.kb82Measured);
    }
    ShowTexts();
}

void SaturationWindow::ShowAgreement() {
    const bool red = result_.computed && result_.pHDisagree;
    ui_->labelDiff->setText(!result_.computed ? QString()
                            : red             ? WindowText("diffAbove")
                                              : WindowText("diffBelow"));
    SetRed(*ui_->labelDiff, red);
    SetRed(*ui_->rowPHTcalc, red);
}

void SaturationWindow::ApplyWindowTexts() {
    ShowTexts();
    // A report saved after switching the language speaks the new language.
    if (hasRun_)
        BuildReport();
}

void SaturationWindow::ShowTexts() {
    ShowColumnHeadings({ui_->headingColumn1, ui_->headingColumn2, ui_->headingColumn3},
                       result_.useDic);
    ShowAgreement();
    ShowNotComputed(*ui_->labelStatus, hasRun_ && !result_.computed && !refused());
}

void SaturationWindow::BuildReport() {
    report_ = report::BuildSaturationReport(result_, water_, language(), header_.signature,
                                            header_.fileName, header_.dateTime);
}

void SaturationWindow::showEvent(QShowEvent* event) {
    ResultWindow::showEvent(event);
    ui_->buttonQuit->setFocus();
}

void SaturationWindow::SaveClick() {
    SaveReport(report::SaturationReportLayout());
}

void SaturationWindow::PrintClick() {
    PrintReport(kSaturationReportPages);
}

} // namespace zeb::gui
