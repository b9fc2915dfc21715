#pragma once
// Shared by the result-window tests: the example project, the report front end with scripted
// dialogs, and label lookups.

#include "../common/test_support.h"

#include "app/project.h"
#include "app/project_file.h"
#include "gui/report_format_dialog.h"
#include "gui/report_output.h"
#include "gui/result_window.h"
#include "gui/scripted_dialogs.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <string>

namespace zeb::gui::test {

inline app::Project ExampleProject() {
    return zeb::test::Example();
}

inline ReportHeader FixedHeader() {
    return {"ZEB 4.1 project file (2012)", "/data/example.zeb", "06.12.2026 16:30:00"};
}

struct ReportFrontEnd {
    ScriptedDialogs dialogs;
    ReportFormatDialog format{dialogs};
    ReportOutput reports{dialogs, format};

    // The next "&Save" chooses `file` in the given format.
    void ScriptSave(const QString& file, bool excel = false) {
        dialogs.modalHandlers.append([file, excel](QDialog& window) {
            auto& format = static_cast<ReportFormatDialog&>(window);
            format.SetFileName(file);
            if (excel)
                format.findChild<QAbstractButton*>("radioExcel")->setChecked(true);
            else
                format.SelectStandard();
            format.findChild<QPushButton*>("buttonSave")->click();
        });
    }
};

inline QString LabelText(const QWidget& window, const QString& name) {
    const auto* label = window.findChild<QLabel*>(name);
    if (!label)
        qFatal("no label %s in %s", qPrintable(name), qPrintable(window.objectName()));
    return label->text();
}

inline void Click(QWidget& window, const char* button) {
    auto* b = window.findChild<QPushButton*>(button);
    if (!b)
        qFatal("no button %s", button);
    b->click();
}

inline QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// The lines of a saved report, without their CR LF.
inline QStringList SavedLines(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace zeb::gui::test
