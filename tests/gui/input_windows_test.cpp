// The blend-fractions, conditioning, W 216, constants and carbonic-acid windows, driven as a
// user does: typing, leaving fields, clicking, answering messages through scripted dialogs.

#include "result_test_support.h"

#include "app/number_format.h"
#include "gui/blend_fractions_window.h"
#include "gui/carbonic_window.h"
#include "gui/conditioning_window.h"
#include "gui/constants_window.h"
#include "gui/w216_window.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace zeb;
using namespace zeb::gui;
using namespace zeb::gui::test;

namespace {

void Show(QWidget& w) {
    QVERIFY(ShowActive(w));
}

} // namespace

class InputWindowsTest : public QObject {
    Q_OBJECT

    ReportFrontEnd front;
    app::Project project = ExampleProject();

    QStringList Messages() { return TakeMessages(front.dialogs); }

private slots:
    void blendShareRules_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("rest to C")
            << "30"
            << "50" << QStringList{"  30.000", "  50.000", "  20.000", "     100"};
        QTest::newRow("A larger") << "70"
                                  << "50"
                                  << QStringList{" 100.000", "   0.000", "   0.000", "     100"};
        QTest::newRow("comma") << "12,5"
                               << "0"
                               << QStringList{"  12.500", "   0.000", "  87.500", "     100"};
    }
    void blendShareRules() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QStringList, expected);
        BlendFractionsWindow window;
        window.SetWaterTexts({"Talsperre", "Brunnen 3", "Quelle"});
        window.SetShares({"0", "0", "0"});
        Show(window);
        QCOMPARE(LabelText(window, "Label19"), QString("Brunnen 3"));
        QVERIFY(Entry(window, "Edit1")->hasFocus());
        QTest::keyClicks(Entry(window, "Edit1"), a);
        QTest::keyClick(Entry(window, "Edit1"), Qt::Key_Return);
        QVERIFY(Entry(window, "Edit2")->hasFocus());
        Entry(window, "Edit2")->selectAll();
        QTest::keyClicks(Entry(window, "Edit2"), b);
        Click(window, "Button3");
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QStringList shown;
        for (const char* e : {"Edit1", "Edit2", "Edit3", "Edit4"})
            shown << Entry(window, e)->text();
        QCOMPARE(shown, expected);
    }

    void blendNegativeShareOnRun() {
        BlendFractionsWindow window;
        Show(window);
        Entry(window, "Edit1")->setText("-10");
        Entry(window, "Edit2")->setText("40");
        Click(window, "Button1");
        QCOMPARE(window.shares(), (std::array<std::string, 3>{"   0.000", "  40.000", "  60.000"}));
        QVERIFY(window.isVisible());
    }

    void conditioningCalciumCarbonateWithoutDilution() {
        ConditioningWindow window(front.dialogs, front.reports, project);
        app::ConditioningData data;
        app::SetDefaultConditioning(data);
        window.LoadConditioningForm(data);
        Show(window);
        Click(window, "buttonDataB"); // KS 4.3 6.2: m 6.15
        QCOMPARE(Entry(window, "Edit2")->text(), QString("   6.150"));
        QVERIFY(!Entry(window, "Edit14")->isEnabled());
        Type(window, "Edit13", "1");
        Click(window, "buttonRun");
        QCOMPARE(LabelText(window, "valueMValue"), QString("   8.150"));
        QCOMPARE(LabelText(window, "valueCa"), QString("   4.600"));
        QVERIFY(!LabelText(window, "valuePH").isEmpty());
        QCOMPARE(window.report()[27], std::string("        CaCO3"));
        QTemporaryDir dir;
        const QString file = dir.filePath("conditioning.txt");
        front.ScriptSave(file);
        Click(window, "buttonSave");
        const QStringList saved = SavedLines(file);
        QCOMPARE(saved.size(), 52);
        QCOMPARE(saved[33], QString("        BERECHNETE DATEN NACH DER DOSIERUNG"));
        // Leaving an entry or choosing a chemical clears what no longer belongs to the inputs.
        Type(window, "Edit13", "2");
        QVERIFY(LabelText(window, "valueMValue").isEmpty());
        Click(window, "buttonRun");
        ChooseRadio(window, "radioHCl");
        QVERIFY(LabelText(window, "valuePH").isEmpty());
        Click(window, "Button1");
        window.StoreConditioningForm(data);
        QCOMPARE(data.chemical, std::string("HCl"));
        QCOMPARE(data.cx, std::string("   2.000"));
        QCOMPARE(data.text, project.water(app::WaterId::B).text);
    }

    void conditioningDilutionModes() {
        ConditioningWindow window(front.dialogs, front.reports, project);
        app::ConditioningData data;
        app::SetDefaultConditioning(data);
        data.tm = "   2.000";
        data.tC = "   0.000";
        data.cCa = "   1.000";
        data.IOS = "   5.050";
        data.cx = " 100.000";
        data.Vx = "  10.000";
        window.LoadConditioningForm(data);
        Show(window);
        QVERIFY(window.findChild<QRadioButton*>("radioWithDilution")->isChecked());
        QVERIFY(!window.findChild<QLabel*>("labelDosage")->isVisible());
        ChooseRadio(window, "radioNaOH");
        Click(window, "buttonRun");
        // x = 1 mmol/L, every concentration divided by 1.01.
        QCOMPARE(LabelText(window, "valueMValue"), QString("   2.970")); // (2 + 1) / 1.01
        QCOMPARE(LabelText(window, "valueCa"), QString("   0.990"));
        QCOMPARE(LabelText(window, "valueDic"), QString("   0.001")); // the floor
        QCOMPARE(window.report()[31].substr(0, 17), std::string("        V(x)     "));

        ChooseRadio(window, "radioWithoutDilution");
        QCOMPARE(Entry(window, "Edit14")->text(), QString("   0.000"));
        QVERIFY(!Entry(window, "Edit14")->isEnabled());
        QVERIFY(window.findChild<QLabel*>("labelDosage")->isVisible());

        data.Vx = "0";
        window.LoadConditioningForm(data);
        QVERIFY(window.findChild<QRadioButton*>("radioWithDilution")->isChecked());
    }

    void conditioningTemperatureOutOfRange() {
        ConditioningWindow window(front.dialogs, front.reports, project);
        Show(window);
        Messages();
        Type(window, "Edit4", "95");
        Click(window, "buttonRun");
        QCOMPARE(Messages(),
                 QStringList{"Temperatur: Gültigkeitsbereich (0-90 °C) überschritten!"});
        QCOMPARE(Entry(window, "Edit4")->text(), QString("  95.000"));
    }

    void w216WatersAndFlags() {
        W216Window window(front.dialogs, front.reports, project);
        app::W216Data data;
        app::SetDefaultW216(data); // I = A in blend 1, II = B in blend 2
        window.LoadW216Form(data);
        window.ApplyTexts(app::Language::English);
        Show(window);
        QCOMPARE(Entry(window, "EditI1")->text(), QString("  10.800"));
        QCOMPARE(Entry(window, "EditII1")->text(), QString("   2.500"));
        QVERIFY(Entry(window, "EditI1")->isReadOnly());
        QCOMPARE(LabelText(window, "valueTextII"), Q(project.water(app::WaterId::B).text));
        Click(window, "buttonRun");
        // Blend 1 is water I, blend 2 water II.
        QCOMPARE(LabelText(window, "valueBlend1Row2"), QString("   0.450"));
        QCOMPARE(LabelText(window, "valueBlend2Row2"), QString("   6.200"));
        QCOMPARE(LabelText(window, "FlagRow2"), QString(" > 1!"));
        QCOMPARE(window.findChild<QLabel*>("FlagRow2")->palette().color(QPalette::WindowText),
                 QColor(Qt::red));
        QTemporaryDir dir;
        const QString pdf = dir.filePath("w216.pdf");
        front.dialogs.printHandlers << [&](QPrinter& printer, const PrintDialogRequest&) {
            printer.setOutputFileName(pdf);
            return true;
        };
        Click(window, "buttonPrint");
        QVERIFY(QFileInfo(pdf).size() > 0);
        QCOMPARE(LabelText(window, "FlagRow6"), QString(" <= 1")); // TOC 2.1 and 0.8
        QCOMPARE(window.findChild<QLabel*>("FlagRow6")->palette().color(QPalette::WindowText),
                 QColor(0, 128, 0));

        // Choosing C for II reloads that column and clears the results.
        ChooseRadio(window, "radioIIC");
        QCOMPARE(Entry(window, "EditII2")->text(), QString("   2.800"));
        QVERIFY(LabelText(window, "valueDiffRow1").isEmpty());
        Click(window, "Button1");
        window.StoreW216Form(data);
        QCOMPARE(data.values[app::W216Data::Letter1], std::string("A"));
        QCOMPARE(data.values[app::W216Data::Letter2], std::string("C"));
    }

    void w216MinMax() {
        W216Window window(front.dialogs, front.reports, project);
        Show(window);
        Messages();
        ChooseRadio(window, "radioMinMax");
        QVERIFY(!window.findChild<QRadioButton*>("radioIA")->isChecked());
        QVERIFY(!Entry(window, "EditI1")->isReadOnly());
        QVERIFY(Entry(window, "EditI7")->isReadOnly());
        Type(window, "EditI1", "10");
        Type(window, "EditII1", "2");
        Type(window, "EditI2", "0");
        QCOMPARE(Entry(window, "EditI7")->text(), QString()); // KS 4.3 = 0: no qA
        Type(window, "ShareI1", "120");
        Click(window, "buttonRun");
        QCOMPARE(Messages(),
                 QStringList{"Anteil in Mischung 1: Gültigkeitsbereich (0-100 %) überschritten!"});
        QCOMPARE(Entry(window, "ShareI1")->text(), QString("     100"));
        QCOMPARE(Entry(window, "ShareII1")->text(), QString("       0"));
        QCOMPARE(LabelText(window, "valueDiffRow1"), QString("   1.430"));
        QCOMPARE(LabelText(window, "FlagRow1"), QString(" > 1!"));

        // A water and back: the typed extremes return.
        ChooseRadio(window, "radioIB");
        QCOMPARE(Entry(window, "EditI1")->text(), QString("   2.500"));
        ChooseRadio(window, "radioMinMax");
        QCOMPARE(Entry(window, "EditI1")->text(), QString("  10.000"));
        QCOMPARE(Entry(window, "EditII1")->text(), QString("   2.000"));
        app::W216Data data;
        window.StoreW216Form(data);
        QCOMPARE(data.values[app::W216Data::Letter1], std::string("M"));
    }

    void constantsClampTheTemperature() {
        ConstantsWindow window(front.dialogs);
        Show(window);
        Type(window, "Edit1", "95");
        Type(window, "Edit2", "0");
        Messages();
        Click(window, "Button2");
        QCOMPARE(Messages(),
                 QStringList{"Temperatur: Gültigkeitsbereich (0-90 °C) überschritten!"});
        QCOMPARE(Entry(window, "Edit1")->text(), QString("  90.000"));
        const results::ConstantsTable at90 = results::ComputeConstantsTable(90, 0);
        QCOMPARE(LabelText(window, "Label1"), Q(app::FormatFixed(at90.lgK[0], 8, 6)));
        Type(window, "Edit1", "25");
        Click(window, "Button2");
        QCOMPARE(LabelText(window, "Label1"), QString("-6.356000"));
        QVERIFY(Messages().isEmpty());
    }

    void carbonicSpeciesAtTheFirstConstant() {
        CarbonicWindow window(front.dialogs);
        Show(window);
        Type(window, "Edit1", "6,356");
        QVERIFY(Entry(window, "Edit2")->hasFocus());
        QTest::keyClicks(Entry(window, "Edit2"), "25");
        QTest::keyClick(Entry(window, "Edit2"), Qt::Key_Return);
        QVERIFY(Entry(window, "Edit3")->hasFocus());
        Click(window, "Berechnen");
        QCOMPARE(Entry(window, "Edit1")->text(), QString("   6.356"));
        QCOMPARE(LabelText(window, "Label2").left(5), QString("0.499"));
        QCOMPARE(LabelText(window, "Label3").left(5), QString("0.499"));
    }
};

QTEST_MAIN(InputWindowsTest)
#include "input_windows_test.moc"
