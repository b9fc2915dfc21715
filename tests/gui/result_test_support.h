#pragma once
// Shared by the window tests: the example project, the report front end with scripted dialogs,
// lookups of labels, entries and buttons, and typing as a user does.

#include "../common/test_support.h"

#include "app/project.h"
#include "app/project_file.h"
#include "gui/report_format_dialog.h"
#include "gui/report_output.h"
#include "gui/result_window.h"
#include "gui/scripted_dialogs.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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

inline QLineEdit* Entry(QWidget& window, const QString& name) {
    auto* e = window.findChild<QLineEdit*>(name);
    if (!e)
        qFatal("no entry %s", qPrintable(name));
    return e;
}

// Focuses the entry as Tab would (selecting its text), types, and leaves it with Tab.
inline void Type(QWidget& window, const QString& name, const QString& text) {
    QLineEdit* e = Entry(window, name);
    e->setFocus(Qt::TabFocusReason);
    e->selectAll();
    QTest::keyClicks(e, text);
    QTest::keyClick(e, Qt::Key_Tab);
}

inline void ChooseRadio(QWidget& window, const char* name) {
    auto* r = window.findChild<QRadioButton*>(name);
    if (!r)
        qFatal("no radio button %s", name);
    r->click();
}

// Shows the window and waits until it has the focus, as a command's window has.
inline bool ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// The texts of the messages shown so far, which are forgotten.
inline QStringList TakeMessages(ScriptedDialogs& dialogs) {
    QStringList texts;
    for (const auto& m : dialogs.messages)
        texts << m.text;
    dialogs.messages.clear();
    return texts;
}

inline QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

inline QByteArray ReadBytes(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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
