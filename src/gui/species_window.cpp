#include "gui/species_window.h"

#include "app/number_format.h"
#include "gui/dialogs.h"
#include "gui/progress_window.h"
#include "gui/report_output.h"
#include "report/species_report.h"
#include "ui_species_window.h"

#include <QLabel>
#include <QPushButton>

namespace zeb::gui {

namespace {

// The value rows of the species, in the order of results::kSpeciesRows.
constexpr std::array<std::string_view, results::kSpeciesCount> kSpeciesKeys{
    "H",     "OH",    "CO2",    "HCO3",    "CO3",    "Ca",    "Mg",      "SO4",    "CaHCO3",
    "CaCO3", "CaSO4", "MgHCO3", "MgCO3",   "MgSO4",  "HSO4",  "CaOH",    "MgOH",   "PO4",
    "H3PO4", "H2PO4", "HPO4",   "CaH2PO4", "CaHPO4", "CaPO4", "MgH2PO4", "MgHPO4", "MgPO4"};

// The report's page: the 64 lines of the report after the header.
constexpr ReportPage kSpeciesReportPages[] = {{8, 67}};

} // namespace

SpeciesWindow::SpeciesWindow(Dialogs& dialogs, ReportOutput& reports, ProgressWindow& progress,
                             QWidget* parent)
    : ReportWindow(dialogs, reports, parent), ui_(new Ui::SpeciesWindow), progress_(progress) {
    ui_->setupUi(this);
    StyleValueLabels(12);
    connect(ui_->buttonSave, &QPushButton::clicked, this,
            [this] { SaveReport(report::SpeciesReportLayout()); });
    connect(ui_->buttonPrint, &QPushButton::clicked, this,
            [this] { PrintReport(kSpeciesReportPages); });
    ApplyTexts(app::Language::German);
}

SpeciesWindow::~SpeciesWindow() = default;

void SpeciesWindow::Open(const app::Project& project, app::WaterId id, const ReportHeader& header) {
    Run(project.water(id), header, id);
    RunModal(dialogs_, QStringLiteral(" ") + QChar::fromLatin1(app::WaterLetter(id)));
}

void SpeciesWindow::Run(const app::WaterAnalysis& water, const ReportHeader& header,
                        app::WaterId id) {
    water_ = water;
    header_ = header;
    if (RefuseOutsideDomain(results::CheckWaterDomain(water, id)))
        result_ = {};
    else
        result_ =
            RunWithProgress(progress_, results::kColumns, [&water](results::Progress* progress) {
                return results::ComputeSpecies(water, results::Execution::Serial, progress);
            });
    hasRun_ = true;
    ShowResult();
    BuildReport();
}

void SpeciesWindow::ShowResult() {
    ui_->labelText->setText(QString::fromStdString(water_.text));
    for (int k = 0; k < results::kColumns; ++k) {
        const results::SpeciesColumn& c = result_.columns[k];
        const auto show = [&](std::string_view key, long double x) {
            auto* label = findChild<QLabel*>(QStringLiteral("value%1%2")
                                                 .arg(QString::fromUtf8(key.data(), key.size()))
                                                 .arg(k + 1));
            if (result_.computed)
                label->setText(QString::fromStdString(app::FormatScientific(x, 12)));
            else
                label->clear();
        };
        show("MValue", c.mValue);
        show("Dic", c.dic);
        show("PValue", c.pValue);
        show("Tcalc", result_.tCalc);
        show("PHTcalc", c.pH);
        show("Anions", c.anions);
        show("Cations", c.cations);
        for (int i = 0; i < results::kSpeciesCount; ++i)
            show(kSpeciesKeys[i], c.species[i]);
    }
    ShowTexts();
}

void SpeciesWindow::ApplyWindowTexts() {
    ShowTexts();
    if (hasRun_)
        BuildReport();
}

void SpeciesWindow::ShowTexts() {
    ShowColumnHeadings({ui_->headingColumn1, ui_->headingColumn2, ui_->headingColumn3},
                       result_.useDic);
    ShowNotComputed(*ui_->labelStatus, hasRun_ && !result_.computed && !refused());
}

void SpeciesWindow::BuildReport() {
    report_ = report::BuildSpeciesReport(result_, water_, language(), header_.signature,
                                         header_.fileName, header_.dateTime);
}

void SpeciesWindow::showEvent(QShowEvent* event) {
    ResultWindow::showEvent(event);
    ui_->Button1->setFocus();
}

} // namespace zeb::gui
