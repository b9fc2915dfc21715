#include "gui/blend_series_window.h"

#include "gui/dialogs.h"
#include "gui/progress_window.h"
#include "gui/report_output.h"
#include "report/series_report.h"
#include "ui_blend_series_window.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

namespace zeb::gui {

namespace {

constexpr ReportPage kSeriesReportPages[] = {{8, 33}};

QString Letter(char c) {
    return QString(QChar::fromLatin1(c));
}

// The share header rows of the table are one text each, spaced for the columns of a
// proportional font; here every share stands over its own column, right-aligned like the values.
QStringList ShareTokens(const QString& row) {
    static const QRegularExpression share(QStringLiteral("\\d+ ?%"));
    QStringList tokens;
    for (const QRegularExpressionMatch& m : share.globalMatch(row))
        tokens.append(m.captured());
    return tokens;
}

} // namespace

BlendSeriesWindow::BlendSeriesWindow(Dialogs& dialogs, ReportOutput& reports,
                                     ProgressWindow& progress, QWidget* parent)
    : ReportWindow(dialogs, reports, parent), ui_(new Ui::BlendSeriesWindow), progress_(progress) {
    ui_->setupUi(this);
    StyleValueLabels(6);
    for (QLabel* label : findChildren<QLabel*>())
        if (label->objectName().startsWith(u"share"))
            label->setFont(ui_->valueTcalc_0->font());
    connect(ui_->buttonSave, &QPushButton::clicked, this, &BlendSeriesWindow::SaveClick);
    connect(ui_->buttonDiagram, &QPushButton::clicked, this, &BlendSeriesWindow::diagramRequested);
    connect(ui_->buttonPrint, &QPushButton::clicked, this,
            [this] { PrintReport(kSeriesReportPages); });
    ApplyTexts(app::Language::German);
}

BlendSeriesWindow::~BlendSeriesWindow() = default;

void BlendSeriesWindow::Open(const app::Project& project, app::WaterId first, app::WaterId second,
                             const ReportHeader& header) {
    pair_ = {app::WaterLetter(first), app::WaterLetter(second)};
    lettersOnShares_ = true;
    Run(project.water(first), project.water(second), header, first, second);
    RunModal(dialogs_, QStringLiteral(" %1 / %2").arg(Letter(pair_.first), Letter(pair_.second)));
    lettersOnShares_ = false;
    ShowTexts();
}

void BlendSeriesWindow::Run(const app::WaterAnalysis& first, const app::WaterAnalysis& second,
                            const ReportHeader& header, app::WaterId firstId,
                            app::WaterId secondId) {
    header_ = header;
    if (RefuseOutsideDomain(results::CheckSeriesDomain(first, firstId, second, secondId)))
        result_ = {};
    else
        result_ = RunWithProgress(progress_, results::kBlendSeriesSteps,
                                  [&first, &second](results::Progress* progress) {
                                      return results::ComputeBlendSeries(
                                          first, second, results::Execution::Serial, progress);
                                  });
    // The texts are inputs: shown even when nothing could be computed.
    result_.text1 = first.text;
    result_.text2 = second.text;
    hasRun_ = true;
    ShowResult();
    BuildReport();
}

void BlendSeriesWindow::ShowResult() {
    ui_->valueText1->setText(QString::fromStdString(result_.text1));
    ui_->valueText2->setText(QString::fromStdString(result_.text2));
    for (int j = 0; j < results::kBlendSeriesSteps; ++j) {
        const results::BlendSeriesColumn& c = result_.columns[j];
        const auto show = [&](const QString& row, long double x, int decimals) {
            auto* label = findChild<QLabel*>(QStringLiteral("value%1_%2").arg(row).arg(j));
            if (result_.computed)
                SetValue(*label, x, 6, decimals);
            else
                label->clear();
        };
        show(QStringLiteral("Tcalc"), c.tCalc, 1);
        show(QStringLiteral("Hardness"), c.hardness, 1);
        show(QStringLiteral("SO4"), c.so4Mg, 1);
        show(QStringLiteral("NO3"), c.no3Mg, 1);
        for (int k = 0; k < results::kBlendColumnCount; ++k) {
            show(QStringLiteral("PH%1").arg(k + 1), c.pH[k], 2);
            show(QStringLiteral("Dc%1").arg(k + 1), c.dcMg[k], 1);
        }
    }
    ShowTexts();
}

void BlendSeriesWindow::ApplyWindowTexts() {
    ShowTexts();
    if (hasRun_)
        BuildReport();
}

void BlendSeriesWindow::ShowTexts() {
    ui_->labelText1->setText(WindowText(std::string("labelText") + pair_.first));
    ui_->labelText2->setText(WindowText(std::string("labelText") + pair_.second));
    const QString fraction = WindowText("labelFraction");
    ui_->labelFraction1->setText(fraction +
                                 (lettersOnShares_ ? u' ' + Letter(pair_.first) : QString()));
    ui_->labelFraction2->setText(fraction +
                                 (lettersOnShares_ ? u' ' + Letter(pair_.second) : QString()));

    const QStringList first = ShareTokens(WindowText("sharesFirst"));
    const QStringList second = ShareTokens(WindowText("sharesSecond"));
    for (int j = 0; j < results::kBlendSeriesSteps; ++j) {
        findChild<QLabel*>(QStringLiteral("shareFirst%1").arg(j))->setText(first.value(j));
        findChild<QLabel*>(QStringLiteral("shareSecond%1").arg(j))->setText(second.value(j));
    }

    // Every run shows that a water may enter the third row with either family.
    const char* third = hasRun_ ? "rowPair3Both" : "rowPair3";
    ui_->rowPHPair1->setText(WindowText("rowPair1"));
    ui_->rowPHPair2->setText(WindowText("rowPair2"));
    ui_->rowPHPair3->setText(WindowText(third));
    ui_->rowDcPair1->setText(WindowText("rowPair1"));
    ui_->rowDcPair2->setText(WindowText("rowPair2"));
    ui_->rowDcPair3->setText(WindowText(third));

    ShowNotComputed(*ui_->labelStatus, hasRun_ && !result_.computed && !refused());
}

void BlendSeriesWindow::BuildReport() {
    report_ = report::BuildSeriesReport(result_, language(), header_.signature, header_.fileName,
                                        header_.dateTime);
}

void BlendSeriesWindow::SaveClick() {
    // The share rows of the "Excel" form keep their first field joined to the label.
    reports_.Save(this, [this](report::ReportFormat format) {
        return report::SeriesReportLines(report_, format);
    });
}

void BlendSeriesWindow::showEvent(QShowEvent* event) {
    ResultWindow::showEvent(event);
    ui_->Button1->setFocus();
}

} // namespace zeb::gui
