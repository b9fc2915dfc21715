#include "gui/result_window.h"

#include "app/number_format.h"
#include "app/project.h"
#include "app/project_file.h"
#include "gui/dialogs.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>

#include <utility>

namespace zeb::gui {

ReportHeader CurrentReportHeader(std::string signature, const app::Project& project) {
    return {std::move(signature), project.fileName, app::SystemDateTimeText()};
}

QString FixedText(long double x, int width, int decimals) {
    return QString::fromStdString(app::FormatFixed(x, width, decimals));
}

void SetValue(QLabel& label, long double x, int width, int decimals) {
    label.setText(FixedText(x, width, decimals));
}

ResultWindow::ResultWindow(QWidget* parent) : QDialog(parent) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void ResultWindow::SetCaptionSuffix(const QString& suffix) {
    suffix_ = suffix;
    UpdateCaption();
}

void ResultWindow::RunModal(Dialogs& dialogs, const QString& suffix) {
    SetCaptionSuffix(suffix);
    dialogs.RunModal(*this);
    ClearCaptionSuffix();
}

void ResultWindow::ApplyTexts(app::Language language) {
    language_ = language;
    const std::string form = objectName().toStdString();
    ApplyTableTexts(*this, form, language);
    baseCaption_ = TextFor(form + ".Caption", language);
    UpdateCaption();
    ApplyWindowTexts();
}

QString ResultWindow::WindowText(std::string_view name) const {
    return TextFor(objectName().toStdString() + '.' + std::string(name), language_);
}

void ResultWindow::StyleValueLabels(int characters) {
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const int width = QFontMetrics(fixed).horizontalAdvance(QString(characters, u'0'));
    for (QLabel* label : findChildren<QLabel*>()) {
        if (!label->objectName().startsWith(u"value"))
            continue;
        label->setFont(fixed);
        label->setMinimumWidth(width);
    }
}

void ResultWindow::ShowColumnHeadings(const std::array<QLabel*, 3>& headings, bool useDic) {
    static constexpr std::string_view kKsKb[] = {"headingKs43Kb82", "headingKs43PH",
                                                 "headingKb82PH"};
    static constexpr std::string_view kDic[] = {"headingKs43Dic", "headingDicPH", "headingKb82Dic"};
    for (std::size_t k = 0; k < headings.size(); ++k)
        headings[k]->setText(WindowText(useDic ? kDic[k] : kKsKb[k]));
}

void ResultWindow::ShowNotComputed(QLabel& status, bool notComputed) {
    status.setText(notComputed ? WindowText("statusNotComputed") : QString());
    status.setVisible(notComputed);
}

void ResultWindow::UpdateCaption() {
    setWindowTitle(baseCaption_ + suffix_);
}

ReportWindow::ReportWindow(Dialogs& dialogs, ReportOutput& reports, QWidget* parent)
    : ResultWindow(parent), dialogs_(dialogs), reports_(reports) {}

void ReportWindow::Inform(const std::vector<std::string_view>& messageKeys) {
    for (std::string_view key : messageKeys)
        dialogs_.Inform(this, TextFor(key, language()));
}

bool ReportWindow::RefuseOutsideDomain(const std::optional<results::DomainViolation>& violation) {
    refused_ = violation.has_value();
    if (!violation)
        return false;
    dialogs_.Inform(this, QString::fromStdString(results::DomainMessage(*violation, language())));
    return true;
}

void ReportWindow::SaveReport(const report::ReportLayout& layout) {
    reports_.Save(this, report_, layout);
}

void ReportWindow::PrintReport(std::span<const ReportPage> pages) {
    reports_.Print(this, report_, pages);
}

ProjectReportWindow::ProjectReportWindow(Dialogs& dialogs, ReportOutput& reports,
                                         const app::Project& project, QWidget* parent)
    : ReportWindow(dialogs, reports, parent), project_(project), header_([&project] {
          return CurrentReportHeader(std::string(app::kSignature2012), project);
      }) {}

void ProjectReportWindow::SetReportHeaderSource(std::function<ReportHeader()> source) {
    header_ = std::move(source);
}

} // namespace zeb::gui
