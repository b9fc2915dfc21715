#include "gui/entry_fields.h"

#include "app/cp1252.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>
#include <QWidget>

namespace zeb::gui {

namespace {

class EnterFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        // The next control of the window's tab order. Qt's Tab passes a group of radio buttons
        // as one stop; Enter visits each of them, as the windows' orders list them.
        auto* control = static_cast<QWidget*>(watched);
        QWidget* window = control->window();
        for (QWidget* next = control->nextInFocusChain(); next && next != control;
             next = next->nextInFocusChain()) {
            // Qt takes the Tab stop away from the unchecked buttons of a radio group.
            const bool radio = qobject_cast<QRadioButton*>(next) != nullptr;
            const Qt::FocusPolicy stop = radio ? Qt::ClickFocus : Qt::TabFocus;
            if (next->window() == window && (next->focusPolicy() & stop) && next->isVisible() &&
                next->isEnabled() && !next->focusProxy()) {
                next->setFocus(Qt::TabFocusReason);
                break;
            }
        }
        return true;
    }
};

constexpr const char* kLeaveFilterName = "zebLeaveAction";

class LeaveFilter : public QObject {
public:
    LeaveFilter(QObject* parent, std::function<void()> onLeave)
        : QObject(parent), onLeave_(std::move(onLeave)) {
        setObjectName(QLatin1String(kLeaveFilterName));
    }
    void Leave() { onLeave_(); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                onLeave_();
        }
        return false;
    }

private:
    std::function<void()> onLeave_;
};

} // namespace

void EnterMovesFocus(QWidget* control) {
    control->installEventFilter(new EnterFilter(control));
}

void OnLeave(QWidget* control, std::function<void()> onLeave) {
    control->installEventFilter(new LeaveFilter(control, std::move(onLeave)));
}

void CommitFocusedControl(QWidget* window) {
    QWidget* focus = window->focusWidget();
    if (!focus || focus->window() != window)
        return;
    if (const auto* entry = qobject_cast<QLineEdit*>(focus); entry && !entry->isModified())
        return;
    for (QObject* child : focus->children()) {
        if (child->objectName() == QLatin1String(kLeaveFilterName))
            static_cast<LeaveFilter*>(child)->Leave();
    }
}

void ShowReadOnly(QLineEdit* entry, bool readOnly) {
    entry->setReadOnly(readOnly);
    const QPalette normal =
        entry->parentWidget() ? entry->parentWidget()->palette() : QApplication::palette();
    QPalette palette = entry->palette();
    palette.setColor(QPalette::Base, normal.color(readOnly ? QPalette::Window : QPalette::Base));
    entry->setPalette(palette);
}

void SetTextColor(QWidget* label, const QColor& color) {
    QPalette palette = label->palette();
    const QColor normal = label->parentWidget()
                              ? label->parentWidget()->palette().color(QPalette::WindowText)
                              : QApplication::palette().color(QPalette::WindowText);
    palette.setColor(QPalette::WindowText, color.isValid() ? color : normal);
    label->setPalette(palette);
}

void SetEntryText(QLineEdit* entry, const std::string& text) {
    const QString value = ToQString(text);
    if (entry->text() != value)
        entry->setText(value);
    entry->setModified(false);
}

QValidator::State Cp1252Validator::validate(QString& input, int& pos) const {
    QString kept;
    kept.reserve(input.size());
    int removedBeforeCursor = 0;
    int index = 0;
    // Walk by code point so that a character outside the BMP goes as a whole.
    for (auto it = input.cbegin(); it != input.cend();) {
        const int width = it->isHighSurrogate() && (it + 1) != input.cend() ? 2 : 1;
        const QString character(it, width);
        if (app::FitsCp1252(character.toStdString()))
            kept += character;
        else if (index < pos)
            removedBeforeCursor += width;
        index += width;
        it += width;
    }
    if (kept.size() != input.size()) {
        input = kept;
        pos -= removedBeforeCursor;
    }
    return Acceptable;
}

} // namespace zeb::gui
