#pragma once
// Small pieces the input windows share: converting texts, Enter acting as Tab, running code
// when the user leaves a control, colouring labels, and keeping text entries storable.

#include <QColor>
#include <QString>
#include <QValidator>

#include <functional>
#include <string>
#include <string_view>

class QLabel;
class QLineEdit;
class QWidget;

namespace zeb::gui {

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string ToStdString(const QString& text) {
    return text.toStdString();
}

// The return key moves the focus to the next control of the tab order, as Tab does, so that an
// analysis can be typed in one go from the number pad.
void EnterMovesFocus(QWidget* control);

// Calls `onLeave` whenever the control loses the focus to another control of its window. Focus
// lost because another window (a message box) came up does not count: the user has not left
// the control, and checking again would repeat the message.
void OnLeave(QWidget* control, std::function<void()> onLeave);

// Runs the leave action of the control that has the focus in `window` now, as leaving it would
// (an entry only when it was edited since). A button pressed by its access key (Alt+O) or by
// Enter as the default button does not take the focus, so without this the value being typed
// would reach what the button does unconverted, beside a stale partner in another unit.
void CommitFocusedControl(QWidget* window);

// Makes the entry read-only or editable, and look it: a field the user cannot type into has the
// window's colour behind its text.
void ShowReadOnly(QLineEdit* entry, bool readOnly);

// Label text colour; an invalid colour restores the palette's normal one.
void SetTextColor(QWidget* label, const QColor& color);

// Sets the text of an entry the way the program does (not as a user edit): the entry counts as
// unmodified afterwards, and nothing happens when the text is already there.
void SetEntryText(QLineEdit* entry, const std::string& text);

// Text entries take only characters that the project file (Windows-1252) can store, so nothing
// typed is lost on saving. Others are dropped as they are typed or pasted.
class Cp1252Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

} // namespace zeb::gui
