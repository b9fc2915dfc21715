// The state-of-saturation window and the eleven dosage windows: what they show of the
// computation, their captions, headings and status line, and their reports.

#include "result_test_support.h"

#include "app/number_format.h"
#include "gui/dosage_window.h"
#include "gui/progress_window.h"
#include "gui/saturation_window.h"
#include "report/saturation_report.h"
#include "results/saturation.h"

#include <QPalette>
#include <QPrinter>
#include <QTemporaryDir>

using namespace zeb;
using namespace zeb::gui;
using namespace zeb::gui::test;

class SaturationWindowTest : public QObject {
    Q_OBJECT

    ReportFrontEnd front;
    ProgressWindow progress;
    DosageWindows dosage{front.dialogs};
    SaturationWindow window{front.dialogs, front.reports, dosage, progress};
    app::Project project = ExampleProject();

    QString Value(const char* row, int column) const {
        return LabelText(window, QStringLiteral("value%1%2").arg(row).arg(column));
    }

private slots:
    void init() {
        window.ApplyTexts(app::Language::German);
        for (DosageWindow* w : dosage.all())
            w->ApplyTexts(app::Language::German);
    }

    void showsTheComputationOfEveryWater() {
        for (app::WaterId id : app::kAllWaters) {
            const app::WaterAnalysis& water = project.water(id);
            window.Run(water, FixedHeader());
            const results::WaterSaturation r = results::ComputeSaturation(water);
            QVERIFY(r.computed);
            const auto F = [](long double x) { return Q(app::FormatFixed(x, 8, 3)); };
            for (int k = 0; k < 3; ++k) {
                const results::SaturationColumn& c = r.columns[k];
                const int col = k + 1;
                QCOMPARE(Value("MValue", col), F(c.mValue));
                QCOMPARE(Value("Dic", col), F(c.dic));
                QCOMPARE(Value("PValue", col), F(c.pValue));
                QCOMPARE(Value("Anions", col), F(c.anions));
                QCOMPARE(Value("Cations", col), F(c.cations));
                QCOMPARE(Value("Tcalc", col), F(r.tCalc));
                QCOMPARE(Value("PHTcalc", col), F(c.pH));
                QCOMPARE(Value("PHA", col), F(c.pHA));
                QCOMPARE(Value("SI", col), F(c.si));
                QCOMPARE(Value("PHc", col), F(c.pHc));
                QCOMPARE(Value("IosCalculated", col), F(c.ionicStrength));
                QCOMPARE(Value("DcMmol", col), F(c.dcMmol));
                QCOMPARE(Value("DcMg", col), F(c.dcMg));
            }
            QCOMPARE(Value("PHCalculated", 1), F(r.pHCalculated));
            QCOMPARE(Value("PHMeasured", 1), F(r.pHMeasured));
            QCOMPARE(Value("Kb82Calculated", 2), F(r.kb82Calculated));
            QCOMPARE(Value("Kb82Measured", 2), F(r.kb82Measured));
            QCOMPARE(Value("Ks43Calculated", 3), F(r.ks43Calculated));
            QCOMPARE(Value("Ks43Measured", 3), F(r.ks43Measured));
            QCOMPARE(LabelText(window, "labelText"), Q(water.text));

            // Every dosage window shows its quantity of the same run.
            for (DosageWindow* w : dosage.all()) {
                const chem::Target target = w->kind().target;
                for (chem::Chemical chemical : chem::kAllChemicals) {
                    for (int k = 0; k < 3; ++k) {
                        const results::DosageValues& v = r.dosage.at(target, chemical, k);
                        QLabel* label = w->valueLabel(chemical, k);
                        long double expected = 0;
                        switch (w->kind().quantity) {
                        case DosageQuantity::Dose:
                            expected = v.doseMmol;
                            QCOMPARE(w->valueLabel(chemical, k, true)->text(), F(v.doseMg));
                            break;
                        case DosageQuantity::PH:
                            expected = v.pH;
                            break;
                        case DosageQuantity::IonicStrength:
                            expected = v.ionicStrength;
                            break;
                        case DosageQuantity::MValue:
                            expected = v.mValue;
                            break;
                        case DosageQuantity::PValue:
                            expected = v.pValue;
                            break;
                        case DosageQuantity::Sodium:
                            expected = v.sodiumMg;
                            break;
                        }
                        if (w->kind().quantity == DosageQuantity::Sodium &&
                            !results::HasSodiumRow(chemical)) {
                            QVERIFY(!label);
                            continue;
                        }
                        QCOMPARE(label->text(), F(expected));
                    }
                }
            }

            // The report is the report of the same result.
            const report::ReportText expected = report::BuildSaturationReport(
                r, water, app::Language::German, FixedHeader().signature, FixedHeader().fileName,
                FixedHeader().dateTime);
            for (int n = 1; n <= report::ReportText::kCapacity; ++n)
                QCOMPARE(window.report()[n], expected[n]);
        }
    }

    void headingsFollowTheFamily_data() {
        QTest::addColumn<QString>("dicMode");
        QTest::addColumn<QStringList>("headings");
        QTest::newRow("KS/KB") << "KSB" << QStringList{"KS4.3/KB8.2", "KS4.3/pH(T)", "KB8.2/pH(T)"};
        QTest::newRow("DIC") << "DIC" << QStringList{"KS4.3/DIC", "DIC/pH(T)", "KB8.2/DIC"};
    }
    void headingsFollowTheFamily() {
        QFETCH(QString, dicMode);
        QFETCH(QStringList, headings);
        app::WaterAnalysis water = project.water(app::WaterId::A);
        water.dicMode = dicMode.toStdString();
        water.dic = "   0.500";
        window.Run(water, FixedHeader());
        for (int k = 0; k < 3; ++k) {
            const QString name = QStringLiteral("headingColumn%1").arg(k + 1);
            QCOMPARE(LabelText(window, name), headings[k]);
            for (DosageWindow* w : dosage.all())
                QCOMPARE(LabelText(*w, name), headings[k]);
        }
    }

    void pHAgreementTurnsRedBeyondFiveHundredths_data() {
        QTest::addColumn<double>("pH1");
        QTest::addColumn<double>("pH2");
        QTest::addColumn<double>("pH3");
        QTest::addColumn<bool>("red");
        QTest::newRow("agree") << 7.50 << 7.52 << 7.54 << false;
        QTest::newRow("3 vs 1 by 0.06") << 7.50 << 7.50 << 7.56 << true;
        QTest::newRow("3 vs 2 by 0.06") << 7.53 << 7.50 << 7.56 << true;
    }
    void pHAgreementTurnsRedBeyondFiveHundredths() {
        QFETCH(double, pH1);
        QFETCH(double, pH2);
        QFETCH(double, pH3);
        QFETCH(bool, red);
        const app::WaterAnalysis& water = project.water(app::WaterId::A);
        results::WaterSaturation r = results::ComputeSaturation(water);
        r.columns[0].pH = pH1;
        r.columns[1].pH = pH2;
        r.columns[2].pH = pH3;
        r.pHDisagree = results::PHValuesDisagree(pH1, pH2, pH3);
        window.Show(water, r, FixedHeader());
        auto* diff = window.findChild<QLabel*>("labelDiff");
        auto* row = window.findChild<QLabel*>("rowPHTcalc");
        QCOMPARE(diff->text(), red ? QString("Diff. > 0,05") : QString("Diff. < 0,05"));
        const QColor normal = window.palette().color(QPalette::WindowText);
        const QColor expected = red ? QColor(Qt::red) : normal;
        QCOMPARE(diff->palette().color(QPalette::WindowText), expected);
        QCOMPARE(row->palette().color(QPalette::WindowText), expected);
    }

    void dosageWindowsCarryTheWaterWhileOpen() {
        QStringList captions;
        auto record = [&captions](QDialog& w) { captions << w.windowTitle(); };
        front.dialogs.modalHandlers = {
            [&](QDialog& w) {
                record(w);
                Click(w, "buttonSI0");
                Click(w, "buttonPH78");
            },
            [&](QDialog& w) {
                record(w);
                Click(w, "buttonPH");
            },
            record,
            [&](QDialog& w) {
                record(w);
                Click(w, "buttonNa");
            },
            record,
        };
        window.Open(project, app::WaterId::B, FixedHeader());
        QCOMPARE(captions,
                 (QStringList{"Calcitsättigung B", "Chemikalienbedarf bis SI=0 B",
                              "pH-Wert nach Dosierung bis SI=0 B", "Chemikalienbedarf bis pH=7.8 B",
                              "c(Na) nach Dosierung bis pH=7.8 B"}));
        QVERIFY(front.dialogs.unanswered.isEmpty());
        // Every caption is back to its text before the command.
        QCOMPARE(window.windowTitle(), QString("Calcitsättigung"));
        QCOMPARE(dosage.at("TForm10").windowTitle(), QString("Chemikalienbedarf bis SI=0"));
        QCOMPARE(dosage.at("TForm30").windowTitle(), QString("pH-Wert nach Dosierung bis SI=0"));
        QCOMPARE(dosage.at("TForm9").windowTitle(), QString("Chemikalienbedarf bis pH=7.8"));
        QCOMPARE(dosage.at("TForm55").windowTitle(), QString("c(Na) nach Dosierung bis pH=7.8"));
    }

    void failedGateShowsWhyAndEmptiesEverything() {
        window.Run(project.water(app::WaterId::A), FixedHeader());
        app::WaterAnalysis water = project.water(app::WaterId::A);
        water.pH = "   1.500";
        water.text = "acid";
        window.Run(water, FixedHeader());
        QVERIFY(!window.result().computed);
        QCOMPARE(LabelText(window, "labelText"), QString("acid"));
        QCOMPARE(LabelText(window, "labelStatus"),
                 QString("Nichts berechnet: pH ≤ 2 oder KS 4.3 ≤ 0"));
        QCOMPARE(Value("MValue", 1), QString());
        QCOMPARE(Value("DcMg", 3), QString());
        QCOMPARE(LabelText(window, "labelDiff"), QString());
        QCOMPARE(LabelText(window, "headingColumn1"), QString("KS4.3/KB8.2"));
        for (DosageWindow* w : dosage.all())
            QCOMPARE(w->valueLabel(chem::Chemical::NaOH, 0)->text(), QString());

        window.ApplyTexts(app::Language::English);
        QCOMPARE(LabelText(window, "labelStatus"),
                 QString("Nothing computed: pH ≤ 2 or KS 4.3 ≤ 0"));
        window.Run(project.water(app::WaterId::A), FixedHeader());
        QVERIFY(window.findChild<QLabel*>("labelStatus")->isHidden());
    }

    void languageSwitchRelabelsWindowAndReport() {
        window.Run(project.water(app::WaterId::A), FixedHeader());
        QVERIFY(Q(window.report()[48]).contains("m-Wert"));
        window.ApplyTexts(app::Language::English);
        dosage.at("TForm10").ApplyTexts(app::Language::English);
        QCOMPARE(window.windowTitle(), QString("State of saturation"));
        QCOMPARE(LabelText(window, "rowPHTcalc"), QString("pH(Tcalc)"));
        QCOMPARE(window.findChild<QPushButton*>("buttonSave")->text(), QString("&Save"));
        QVERIFY(Q(window.report()[48]).contains("m-value"));
        QCOMPARE(LabelText(dosage.at("TForm10"), "rowNa2CO3Mg"), QString("Na2CO3"));
        QCOMPARE(dosage.at("TForm10").findChild<QPushButton*>("buttonM")->text(),
                 QString("&m-value"));
    }

    void saveAndPrintGoThroughTheReportFrontEnd() {
        QTemporaryDir dir;
        window.Run(project.water(app::WaterId::A), FixedHeader());
        const QString file = dir.filePath("a.txt");
        front.ScriptSave(file);
        Click(window, "buttonSave");
        const QStringList lines = SavedLines(file);
        QCOMPARE(lines.size(), 259);
        QCOMPARE(lines[47], QString::fromLatin1(window.report()[48].c_str()));
        QCOMPARE(front.reports.rememberedName(&window), file);

        const QString pdf = dir.filePath("a.pdf");
        front.dialogs.printHandlers.append([&](QPrinter& printer, const PrintDialogRequest& r) {
            if (r.minPage != 1 || r.maxPage != 5)
                return false;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setPrintRange(QPrinter::AllPages);
            return true;
        });
        Click(window, "buttonPrint");
        QFile out(pdf);
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QByteArray bytes = out.readAll();
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"), 3);
        QVERIFY(front.dialogs.unanswered.isEmpty());
    }
};

QTEST_MAIN(SaturationWindowTest)
#include "saturation_window_test.moc"
