#pragma once
// Help: HTML pages, one per help context and language, shown in a browser window that stays
// usable beside the modal window it was opened from. An installation reads them from its data
// directory (<prefix>/share/zeb/help); the program also carries them compiled in.

#include "app/texts.h"

#include <QDialog>
#include <QUrl>

#include <filesystem>

class QTextBrowser;

namespace zeb::gui {

// The page of a help context: the file <dataDirectory>/help/en/saturation.html when it exists,
// else the compiled-in "qrc:/help/en/saturation.html"; unknown contexts give the page of
// context 1, the main window.
QUrl HelpPageUrl(int helpContext, app::Language language,
                 const std::filesystem::path& dataDirectory = {});

// The help context of a widget: its own "helpContext" property or that of the nearest parent
// that has one; 1 when none has.
int HelpContextOf(const QWidget* widget);
void SetHelpContext(QWidget* widget, int helpContext);

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    void ShowPage(const QUrl& page);
    QUrl page() const;

private:
    QTextBrowser* browser_;
};

} // namespace zeb::gui
