// The input windows: the analysis form with its check, the blend-fractions, conditioning, W 216,
// constants and carbonic-acid windows, driven as a user does: typing, leaving fields with Tab or
// Enter, clicking, answering messages through scripted dialogs.

#include "result_test_support.h"

#include "app/number_format.h"
#include "gui/analysis_check_window.h"
#include "gui/analysis_form.h"
#include "gui/blend_fractions_window.h"
#include "gui/carbonic_window.h"
#include "gui/conditioning_window.h"
#include "gui/constants_window.h"
#include "gui/w216_window.h"

#include <QCheckBox>
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

// Types into the entry without leaving it, as a user does before confirming with the keyboard.
void TypeOnly(QWidget& window, const char* name, const QString& text) {
    QLineEdit* e = Entry(window, name);
    e->setFocus(Qt::TabFocusReason);
    e->selectAll();
    QTest::keyClicks(e, text);
}

// Alt+<key>: the button acts without taking the focus, as its access key makes it do.
void PressAccessKey(QWidget& window, Qt::Key key) {
    QTest::keyClick(window.focusWidget(), key, Qt::AltModifier);
    QTest::qWait(150); // the click is animated
}

} // namespace

class InputWindowsTest : public QObject {
    Q_OBJECT

    ReportFrontEnd front;
    app::Project project = ExampleProject();

    QStringList Messages() { return TakeMessages(front.dialogs); }

    // The analysis form, with the default water and English texts, shown anew for every test.
    ScriptedDialogs formDialogs;
    std::unique_ptr<AnalysisForm> form;
    QLineEdit* Edit(const char* name) { return Entry(*form, name); }
    QString Text(const char* name) { return Edit(name)->text(); }
    QStringList FormMessages() { return TakeMessages(formDialogs); }
    void TypeIn(const char* name, const QString& text) { Type(*form, name, text); }
    void Leave(const char* name) {
        Edit(name)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(Edit(name), Qt::Key_Tab);
    }

private slots:
    void init() {
        formDialogs = ScriptedDialogs();
        form = std::make_unique<AnalysisForm>(formDialogs);
        form->ApplyTexts(app::Language::English);
        app::WaterAnalysis water;
        app::SetDefaultWater(water);
        form->LoadAnalysisForm(water);
        QVERIFY(ShowActive(*form));
        formDialogs.messages.clear();
    }
    void cleanup() { form.reset(); }

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

    void conditioningRunsAndStoresTheFieldBeingEdited() {
        ConditioningWindow window(front.dialogs, front.reports, project);
        app::ConditioningData data;
        app::SetDefaultConditioning(data);
        window.LoadConditioningForm(data);
        Show(window);
        Click(window, "buttonDataB");
        TypeOnly(window, "Edit13", "1");
        PressAccessKey(window, Qt::Key_R);
        QCOMPARE(LabelText(window, "valueMValue"), QString("   8.150"));
        // Leaving the unchanged entry afterwards keeps the results: they belong to its value.
        QTest::keyClick(Entry(window, "Edit13"), Qt::Key_Tab);
        QCOMPARE(LabelText(window, "valueMValue"), QString("   8.150"));
        TypeOnly(window, "Edit13", "2,5");
        PressAccessKey(window, Qt::Key_O);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        window.StoreConditioningForm(data);
        QCOMPARE(data.cx, std::string("   2.500"));
    }

    void blendFractionsOkTakesTheShareBeingEdited() {
        BlendFractionsWindow window;
        window.SetShares({"0", "0", "0"});
        Show(window);
        TypeOnly(window, "Edit1", "40");
        PressAccessKey(window, Qt::Key_O);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(window.shares(), (std::array<std::string, 3>{"  40.000", "   0.000", "  60.000"}));
    }

    // The sum shows what is loaded, and the computed fields cannot be typed into.
    void blendFractionsSumAndComputedFields() {
        BlendFractionsWindow window;
        window.SetShares({"   0.000", "   0.000", "   0.000"}); // as after New
        Show(window);
        QCOMPARE(Entry(window, "Edit4")->text(), QString("   0.000"));
        for (const char* computed : {"Edit3", "Edit4"}) {
            QVERIFY(Entry(window, computed)->isReadOnly());
            QCOMPARE(Entry(window, computed)->palette().color(QPalette::Base),
                     window.palette().color(QPalette::Window));
        }
        QTest::keyClicks(Entry(window, "Edit3"), "5");
        QCOMPARE(Entry(window, "Edit3")->text(), QString("   0.000"));
        window.SetShares({"  30.000", "  50.000", "  20.000"});
        window.hide();
        Show(window);
        QCOMPARE(Entry(window, "Edit4")->text(), QString(" 100.000"));
    }

    // Switching modes moves nothing: the window keeps its size, its entries their places.
    void conditioningAndW216KeepTheirSize() {
        ConditioningWindow conditioning(front.dialogs, front.reports, project);
        Show(conditioning);
        const QSize size = conditioning.size();
        const QPoint dose = Entry(conditioning, "Edit13")->pos();
        for (int i = 0; i < 3; ++i) {
            ChooseRadio(conditioning, "radioWithDilution");
            QCoreApplication::processEvents();
            QCOMPARE(conditioning.size(), size);
            ChooseRadio(conditioning, "radioWithoutDilution");
            QCoreApplication::processEvents();
            QCOMPARE(conditioning.size(), size);
            QCOMPARE(Entry(conditioning, "Edit13")->pos(), dose);
        }

        W216Window w216(front.dialogs, front.reports, project);
        Show(w216);
        const QSize w216Size = w216.size();
        const QPoint firstRow = Entry(w216, "EditI1")->mapTo(&w216, QPoint());
        const QColor window = w216.palette().color(QPalette::Window);
        // In water mode the values are the waters': they look as read-only as they are.
        QCOMPARE(Entry(w216, "EditI1")->palette().color(QPalette::Base), window);
        ChooseRadio(w216, "radioMinMax");
        QCoreApplication::processEvents();
        QCOMPARE(w216.size(), w216Size);
        QCOMPARE(Entry(w216, "EditI1")->mapTo(&w216, QPoint()), firstRow);
        QVERIFY(Entry(w216, "editText")->isVisible());
        QVERIFY(Entry(w216, "EditI1")->palette().color(QPalette::Base) != window);
        QCOMPARE(Entry(w216, "EditI7")->palette().color(QPalette::Base), window);
        ChooseRadio(w216, "radioIA");
        QCoreApplication::processEvents();
        QCOMPARE(w216.size(), w216Size);
        QVERIFY(!Entry(w216, "editText")->isVisible());
        QCOMPARE(Entry(w216, "EditI1")->palette().color(QPalette::Base), window);
        Messages();
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

    // Row 7 follows the value being typed when OK comes from the keyboard, as after Tab.
    void w216OkTakesTheValueBeingEdited() {
        W216Window tabbed(front.dialogs, front.reports, project);
        Show(tabbed);
        ChooseRadio(tabbed, "radioMinMax");
        Type(tabbed, "EditI1", "10");
        Type(tabbed, "EditI2", "2");
        const QString afterTab = Entry(tabbed, "EditI7")->text();
        QVERIFY(!afterTab.isEmpty());
        tabbed.hide();

        W216Window window(front.dialogs, front.reports, project);
        Show(window);
        ChooseRadio(window, "radioMinMax");
        Type(window, "EditI1", "10");
        TypeOnly(window, "EditI2", "2");
        PressAccessKey(window, Qt::Key_O);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        app::W216Data data;
        window.StoreW216Form(data);
        QCOMPARE(data.values[1 * 2], std::string("   2.000")); // I, row 2
        QCOMPARE(Q(data.values[6 * 2]), afterTab);             // I, row 7
        Messages();
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
            TypeIn(qPrintable(t.section('=', 0, 0)), t.section('=', 1));
        for (const QString& s : shown)
            QCOMPARE(s.section('=', 0, 0) + '=' + Text(qPrintable(s.section('=', 0, 0))), s);
        QCOMPARE(FormMessages(), messages);
    }

    // Ca 2 typed in mmol/L and confirmed from the keyboard: never beside the old mass.
    void confirmingCommitsTheFieldBeingEdited_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Alt+O") << int(Qt::Key_O);
        QTest::newRow("Alt+T") << int(Qt::Key_T);
        QTest::newRow("Alt+C") << int(Qt::Key_C);
    }
    void confirmingCommitsTheFieldBeingEdited() {
        QFETCH(int, key);
        QString massDuringCheck;
        formDialogs.modalHandlers << [&](QDialog& check) {
            massDuringCheck = Text("Edit20");
            check.reject();
        };
        TypeOnly(*form, "Edit13", "2");
        PressAccessKey(*form, Qt::Key(key));
        QCOMPARE(Text("Edit13"), QString("   2.000"));
        QCOMPARE(Text("Edit20"), QString("  80.160"));
        QCOMPARE(Text("Edit32"), QString("   2.000")); // the hardness follows
        if (key == Qt::Key_T) {
            QCOMPARE(massDuringCheck, QString("  80.160"));
        } else {
            formDialogs.modalHandlers.clear();
            QVERIFY(!form->isVisible());
        }
        app::WaterAnalysis water;
        form->StoreAnalysisForm(water);
        QCOMPARE(water.massCa, std::string("  80.160"));
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
        QCOMPARE(FormMessages(),
                 QStringList{"Calculation using c(DIC) requires a value > 0 mmol/L"});

        TypeIn("Edit25", "2.5");
        dicOption->setFocus(Qt::TabFocusReason);
        QTest::keyClick(dicOption, Qt::Key_Space);
        QTest::keyClick(dicOption, Qt::Key_Return); // Enter moves on like Tab
        QVERIFY(dicOption->isChecked());
        // Clearing the value later unchecks the option without a word.
        Edit("Edit25")->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(Edit("Edit25"), "0");
        QTest::keyClick(Edit("Edit25"), Qt::Key_Tab);
        QVERIFY(!dicOption->isChecked());
        QVERIFY(formDialogs.messages.isEmpty());
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
        QCOMPARE(FormMessages(),
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
        formDialogs.modalHandlers << typeAndConfirm("12") << typeAndConfirm(QString());
        form->findChild<QPushButton*>("buttonTest")->click();
        QCOMPARE(formDialogs.modalWindows, (QStringList{"TForm2", "TForm2"}));
        QCOMPARE(seen, (QStringList{"   5.000", "  12.000"}));
        QCOMPARE(Text("Edit10"), QString("  12.000"));

        // With the ionic strength computed, the check has no field for it.
        form->findChild<QCheckBox*>("CheckBox2")->setChecked(true);
        formDialogs.modalHandlers << [](QDialog& window) {
            QVERIFY(!window.findChild<QLineEdit*>("editIosInput")->isVisible());
            window.reject();
        };
        form->findChild<QPushButton*>("buttonTest")->click();
        QCOMPARE(formDialogs.modalWindows.size(), 3);
    }

    void checkWindowFigures() {
        app::WaterAnalysis water;
        app::SetDefaultWater(water);
        water.conductivity = "  50.000";
        water.condRefTemp = "20";
        water.pH = "   7.500";
        water.ks43 = "   2.000";
        form->LoadAnalysisForm(water);
        formDialogs.modalHandlers << [](QDialog& window) {
            QCOMPARE(window.findChild<QLabel*>("valueECMeasured")->text(), QString("  55.800"));
            QCOMPARE(window.findChild<QLabel*>("columnHeading1")->text(), QString("KS4.3/KB8.2"));
            QVERIFY(!window.findChild<QLabel*>("valueMValue1")->text().isEmpty());
            window.reject();
        };
        form->findChild<QPushButton*>("buttonTest")->click();
        QVERIFY(formDialogs.unanswered.isEmpty());
    }
};

QTEST_MAIN(InputWindowsTest)
#include "input_windows_test.moc"
