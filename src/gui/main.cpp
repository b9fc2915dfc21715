// zeb: the desktop program.
#include "gui/dialogs.h"
#include "gui/language.h"
#include "gui/main_window.h"
#include "gui/windows.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(
        zeb::gui::TextFor("TForm20.applicationTitle", zeb::app::Language::German));
    QApplication::setApplicationVersion(QStringLiteral("4.1"));
    QApplication::setDesktopFileName(QStringLiteral("zeb"));

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();

    zeb::gui::QtDialogs dialogs;
    zeb::gui::MainWindow window(dialogs,
                                {QApplication::applicationDirPath().toStdString(), arguments});
    zeb::gui::InstallWindows(window);
    window.show();
    return app.exec();
}
