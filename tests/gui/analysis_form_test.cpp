// The analysis form and its check, driven as a user does: typing into fields, leaving them
// with Tab or Enter, answering the message boxes through scripted dialogs.
#include "result_test_support.h"

#include "app/project.h"
#include "gui/analysis_check_window.h"
#include "gui/analysis_form.h"

#include <QCheckBox>

using namespace zeb;
using namespace zeb::gui;

class AnalysisFormTest : public QObject {
    Q_OBJECT

    ScriptedDialogs* dialogs = nullptr;
    AnalysisForm* form = nullptr;

    QLineEdit* Edit(const char* name) { return gui::test::Entry(*form, name); }
    QString Text(const char* name) { return Edit(name)->text(); }
    QStringList Messages() { return gui::test::TakeMessages(*dialogs); }
    void Type(const char* name, const QString& text) { gui::test::Type(*form, name, text); }
    void Leave(const char* name) {
        Edit(name)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(Edit(name), Qt::Key_Tab);
    }

private slots:
    void init() {
        dialogs = new ScriptedDialogs;
        form = new AnalysisForm(*dialogs);
        form->ApplyTexts(app::Language::English);
        app::WaterAnalysis water;
        app::SetDefaultWater(water);
        form->LoadAnalysisForm(water);
        QVERIFY(gui::test::ShowActive(*form));
        dialogs->messages.clear();
    }
    void cleanup() {
        delete form;
        delete dialogs;
    }

    // Fields typed in turn ("name=text"), then what every named field shows and the messages.
    void typingRewritesTheFieldAndItsPartners_data() {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("calcium in mmol/L gives mass and hardness")
            << QStringList{"Edit13=1,5"}
            << QStringList{"Edit13=   1.500", "Edit20=  60.120", "Edit32=   1.500",
                           "Edit33=   8.413"}
            << QStringList{};
        QTest::newRow("negative mass becomes positive")
            << QStringList{"Edit18=-2"} << QStringList{"Edit18=   2.000", "Edit11=   0.087"}
            << QStringList{};
        QTest::newRow("ammonium feeds the oxygen demand")
            << QStringList{"Edit29=1"}
            << QStringList{"Edit27=   0.056", "Edit40=   3.556", "Edit39=   0.111"}
            << QStringList{};
        QTest::newRow("base capacity clears acid capacity")
            << QStringList{"Edit7=0.4", "Edit6=0,2"}
            << QStringList{"Edit6=   0.200", "Edit7=   0.000"} << QStringList{};
        QTest::newRow("acid capacity clears base capacity")
            << QStringList{"Edit6=0.2", "Edit7=0.3"}
            << QStringList{"Edit7=   0.300", "Edit6=   0.000"} << QStringList{};
        QTest::newRow("pH below 4.3")
            << QStringList{"Edit2=4.2"} << QStringList{"Edit2=   4.300"}
            << QStringList{"pH-value: range of validity (>= 4,3) exceeded!"};
        QTest::newRow("pH at 4.3")
            << QStringList{"Edit2=4.3"} << QStringList{"Edit2=   4.300"} << QStringList{};
        QTest::newRow("temperature above 90 kept")
            << QStringList{"Edit34=95"} << QStringList{"Edit34=  95.000"}
            << QStringList{"Temperature: range of validity (0-90 °C) exceeded!"};
        QTest::newRow("KS 4.3 below 0.05")
            << QStringList{"Edit5=-0.01"} << QStringList{"Edit5=   0.050"}
            << QStringList{"Acid Capacity up to pH=4.3: range of validity (>= 0.05 mmol/L) "
                           "exceeded!"};
    }
    void typingRewritesTheFieldAndItsPartners() {
        QFETCH(QStringList, typed);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, messages);
        for (const QString& t : typed)
            Type(qPrintable(t.section('=', 0, 0)), t.section('=', 1));
        for (const QString& s : shown)
            QCOMPARE(s.section('=', 0, 0) + '=' + Text(qPrintable(s.section('=', 0, 0))), s);
        QCOMPARE(Messages(), messages);
    }

    void leavingAnUnchangedFieldConvertsNothing() {
        app::WaterAnalysis water;
        app::SetDefaultWater(water);
        water.cCa = "   1.000";
        water.massCa = "  99.000"; // disagrees on purpose
        water.ks82 = "   0.300";
        form->LoadAnalysisForm(water);
        for (const char* field : {"Edit13", "Edit20", "Edit6"})
            Leave(field);
        QCOMPARE(Text("Edit13"), QString("   1.000"));
        QCOMPARE(Text("Edit20"), QString("  99.000"));
        QCOMPARE(Text("Edit7"), QString("   0.300")); // the acid capacity stays
    }

    void dicOptionNeedsAValue() {
        auto* dicOption = form->findChild<QCheckBox*>("CheckBox1");
        dicOption->setFocus(Qt::TabFocusReason);
        QTest::keyClick(dicOption, Qt::Key_Space);
        QVERIFY(dicOption->isChecked());
        QTest::keyClick(dicOption, Qt::Key_Tab);
        QVERIFY(!dicOption->isChecked());
        QCOMPARE(Messages(), QStringList{"Calculation using c(DIC) requires a value > 0 mmol/L"});

        Type("Edit25", "2.5");
        dicOption->setFocus(Qt::TabFocusReason);
        QTest::keyClick(dicOption, Qt::Key_Space);
        QTest::keyClick(dicOption, Qt::Key_Return); // Enter moves on like Tab
        QVERIFY(dicOption->isChecked());
        // Clearing the value later unchecks the option without a word.
        Edit("Edit25")->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(Edit("Edit25"), "0");
        QTest::keyClick(Edit("Edit25"), Qt::Key_Tab);
        QVERIFY(!dicOption->isChecked());
        QVERIFY(dialogs->messages.isEmpty());
    }

    void manualIonicStrength() {
        auto* option = form->findChild<QCheckBox*>("CheckBox2");
        QVERIFY(option->isChecked());
        QVERIFY(!Edit("Edit10")->isEnabled());
        auto* label = form->findChild<QLabel*>("labelIosInput");
        const QColor normal = label->palette().color(QPalette::WindowText);
        option->setFocus(Qt::TabFocusReason);
        QTest::keyClick(option, Qt::Key_Space);
        QTest::keyClick(option, Qt::Key_Tab);
        QVERIFY(Edit("Edit10")->isEnabled());
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::red));
        QTest::keyClick(Edit("Edit9"), Qt::Key_Return);
        QVERIFY(Edit("Edit10")->hasFocus());
        QTest::keyClicks(Edit("Edit10"), "60");
        QTest::keyClick(Edit("Edit10"), Qt::Key_Return);
        QCOMPARE(Messages(),
                 QStringList{"Ionic strength: range of validity (0-50 mmol/L) exceeded!"});
        QCOMPARE(Text("Edit10"), QString("  60.000"));

        option->setFocus(Qt::TabFocusReason);
        QTest::keyClick(option, Qt::Key_Space);
        QVERIFY(!Edit("Edit10")->isEnabled());
        QCOMPARE(Text("Edit10"), QString("   0.000"));
        QCOMPARE(label->palette().color(QPalette::WindowText), normal);
    }

    void enterFollowsTheTabOrder() {
        const QStringList order{"Edit2", "Edit3", "RadioButton1", "RadioButton2", "Edit4", "Edit5"};
        Edit("Edit2")->setFocus(Qt::TabFocusReason);
        for (int i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget()->objectName(), order[i]);
        }
        Edit("Edit31")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(Edit("Edit31"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("Edit18"));
        Edit("Edit38")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(Edit("Edit38"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("buttonTest"));
    }

    void loadAndStoreRoundTrip() {
        app::WaterAnalysis water;
        app::SetDefaultWater(water);
        water.text = "Brunnen 3, Probe vom 12.3. (the text is never cut)";
        water.condRefTemp = "20";
        water.dicMode = "DIC";
        water.iosMode = "ZEB";
        water.iosInput = "  12.500";
        water.blendPercent = "  40.000";
        water.cMn = "1234567890123"; // cut to 10 when stored
        form->LoadAnalysisForm(water);
        QVERIFY(form->findChild<QRadioButton*>("RadioButton1")->isChecked());
        QVERIFY(Edit("Edit10")->isEnabled());
        app::WaterAnalysis stored;
        stored.blendPercent = "  40.000";
        form->StoreAnalysisForm(stored);
        water.cMn = "1234567890";
        QCOMPARE(stored, water);
    }

    void textEntryKeepsWhatTheFileCanStore() {
        Edit("Edit1")->setFocus(Qt::TabFocusReason);
        // Typed one character at a time, as a keyboard with these keys would.
        const QString typed = QString::fromUtf8("Wasser ä€ 😀 α");
        for (qsizetype i = 0; i < typed.size(); ++i) {
            const qsizetype n = typed[i].isHighSurrogate() ? 2 : 1;
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed.mid(i, n));
            QApplication::sendEvent(Edit("Edit1"), &press);
            i += n - 1;
        }
        QCOMPARE(Text("Edit1"), QString::fromUtf8("Wasser ä€  "));
    }

    void checkWindowIonicStrengthLoop() {
        form->findChild<QCheckBox*>("CheckBox2")->setChecked(false);
        Edit("Edit10")->setEnabled(true);
        Edit("Edit10")->setText("5");
        QStringList seen;
        auto typeAndConfirm = [&](const QString& typed) {
            return [&, typed](QDialog& window) {
                auto* field = window.findChild<QLineEdit*>("editIosInput");
                QVERIFY(field->isVisible());
                seen << field->text();
                if (!typed.isEmpty()) {
                    field->selectAll();
                    QTest::keyClicks(field, typed);
                }
                window.findChild<QPushButton*>("buttonOk")->click();
            };
        };
        dialogs->modalHandlers << typeAndConfirm("12") << typeAndConfirm(QString());
        form->findChild<QPushButton*>("buttonTest")->click();
        QCOMPARE(dialogs->modalWindows, (QStringList{"TForm2", "TForm2"}));
        QCOMPARE(seen, (QStringList{"   5.000", "  12.000"}));
        QCOMPARE(Text("Edit10"), QString("  12.000"));

        // With the ionic strength computed, the check has no field for it.
        form->findChild<QCheckBox*>("CheckBox2")->setChecked(true);
        dialogs->modalHandlers << [](QDialog& window) {
            QVERIFY(!window.findChild<QLineEdit*>("editIosInput")->isVisible());
            window.reject();
        };
        form->findChild<QPushButton*>("buttonTest")->click();
        QCOMPARE(dialogs->modalWindows.size(), 3);
    }

    void checkWindowFigures() {
        app::WaterAnalysis water;
        app::SetDefaultWater(water);
        water.conductivity = "  50.000";
        water.condRefTemp = "20";
        water.pH = "   7.500";
        water.ks43 = "   2.000";
        form->LoadAnalysisForm(water);
        dialogs->modalHandlers << [](QDialog& window) {
            QCOMPARE(window.findChild<QLabel*>("valueECMeasured")->text(), QString("  55.800"));
            QCOMPARE(window.findChild<QLabel*>("columnHeading1")->text(), QString("KS4.3/KB8.2"));
            QVERIFY(!window.findChild<QLabel*>("valueMValue1")->text().isEmpty());
            window.reject();
        };
        form->findChild<QPushButton*>("buttonTest")->click();
        QVERIFY(dialogs->unanswered.isEmpty());
    }
};

QTEST_MAIN(AnalysisFormTest)
#include "analysis_form_test.moc"
