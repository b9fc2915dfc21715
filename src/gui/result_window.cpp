#include "gui/result_window.h"

#include "app/number_format.h"
#include "app/project.h"
#include "app/project_file.h"

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

void ResultWindow::UpdateCaption() {
    setWindowTitle(baseCaption_ + suffix_);
}

} // namespace zeb::gui
