// zeb: the desktop program.
#include "app/data_directory.h"
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

    // An installation offers its example projects in the file dialogs.
    QStringList places;
    const auto examples =
        zeb::app::ExamplesDirectory(QApplication::applicationDirPath().toStdString());
    if (!examples.empty())
        places << QString::fromStdString(examples.string());
    zeb::gui::QtDialogs dialogs(places);
    zeb::gui::MainWindow window(dialogs,
                                {QApplication::applicationDirPath().toStdString(), arguments});
    zeb::gui::InstallWindows(window);
    window.show();
    return app.exec();
}
