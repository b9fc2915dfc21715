#include "gui/language.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>
#include <QWidget>

#include <string>

namespace zeb::gui {

QString TextFor(std::string_view key, app::Language language) {
    const std::string_view text = app::Text(key, language);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString FileErrorText(const app::FileError& error, app::FileAccess access, app::Language language) {
    return QString::fromStdString(app::FileErrorMessage(error, access, language));
}

namespace {

bool SetWidgetText(QWidget& widget, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        button->setText(text);
        return true;
    }
    if (auto* label = qobject_cast<QLabel*>(&widget)) {
        label->setText(text);
        return true;
    }
    if (auto* group = qobject_cast<QGroupBox*>(&widget)) {
        group->setTitle(text);
        return true;
    }
    // A tab page: its parent is the tab widget's internal stack.
    if (auto* stack = qobject_cast<QStackedWidget*>(widget.parentWidget())) {
        if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget())) {
            tabs->setTabText(tabs->indexOf(&widget), text);
            return true;
        }
    }
    return false;
}

} // namespace

int ApplyTableTexts(QWidget& window, std::string_view formName, app::Language language) {
    const std::string prefix = std::string(formName) + '.';
    int applied = 0;
    for (const app::TextEntry& entry : app::TextTable()) {
        if (!entry.key.starts_with(prefix))
            continue;
        const std::string_view name = entry.key.substr(prefix.size());
        const std::string_view raw =
            language == app::Language::German ? entry.german : entry.english;
        const QString text = QString::fromUtf8(raw.data(), static_cast<qsizetype>(raw.size()));
        if (name == "Caption") {
            window.setWindowTitle(text);
            ++applied;
            continue;
        }
        const QString objectName =
            QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
        if (auto* child = window.findChild<QWidget*>(objectName);
            child && SetWidgetText(*child, text))
            ++applied;
    }
    return applied;
}

} // namespace zeb::gui
