#pragma once
// Interface language of the windows. A window that shows language-dependent texts implements
// LanguageAware and is registered with MainWindow::RegisterWindow; SetGermanTexts and
// SetEnglishTexts then call ApplyTexts on every registered window at once.

#include "app/file_error_text.h"
#include "app/texts.h"

#include <QString>

#include <string_view>

class QWidget;

namespace zeb::gui {

class LanguageAware {
public:
    virtual ~LanguageAware() = default;
    virtual void ApplyTexts(app::Language language) = 0;
};

// A text of the language table as a QString.
QString TextFor(std::string_view key, app::Language language);

// The message of a file that cannot be read or written (app::FileErrorMessage) as a QString.
QString FileErrorText(const app::FileError& error, app::FileAccess access, app::Language language);

// Sets every "<formName>.<name>" text of the table on the child of `window` whose objectName is
// <name> (labels, buttons, check boxes, radio buttons, group boxes, tab pages) and
// "<formName>.Caption" as the window title. Keys without such a child are left to the window's
// own code. Returns the number of texts applied.
int ApplyTableTexts(QWidget& window, std::string_view formName, app::Language language);

} // namespace zeb::gui
