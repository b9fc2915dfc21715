// The batch window: its table model (values, marks, tool tips, sorting, languages), the
// background run with Cancel, export, and a row's water taken into the project.

#include "result_test_support.h"

#include "app/number_format.h"
#include "gui/batch_window.h"
#include "results/saturation.h"

#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTemporaryDir>

using namespace zeb;
using namespace zeb::gui;

namespace {

const char* kCampaign = "id;text;pH;ks43;kb82;massCa;cMg\n"
                        "W1;Brunnen 1;7,4;2,5;0,2;60;0,3\n"
                        "W2;Brunnen 2;sieben;2,5;0,2;60;0,3\n"
                        "W3;Brunnen 3;4,1;0,8;0,6;12;0,1\n"
                        "W4;Quelle;6,9;1,2;0,5;30;0,2\n";

} // namespace

class BatchWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::vector<std::pair<app::WaterId, app::WaterAnalysis>> taken;
    std::unique_ptr<BatchWindow> window;

    QString Write(const char* name, const char* bytes) {
        const QString file = dir.filePath(QLatin1String(name));
        zeb::test::Spit(file.toStdString(), bytes);
        return file;
    }
    int Column(const QString& heading) {
        const auto& m = window->model();
        for (int c = 0; c < m.columnCount(); ++c) {
            if (m.headerData(c, Qt::Horizontal).toString() == heading)
                return c;
        }
        return -1;
    }
    QVariant Cell(int row, int column, int role = Qt::DisplayRole) {
        return window->model().data(window->model().index(row, column), role);
    }

private slots:
    void init() {
        dialogs = ScriptedDialogs();
        taken.clear();
        window = std::make_unique<BatchWindow>(
            dialogs,
            [this](app::WaterId id, const app::WaterAnalysis& w) { taken.emplace_back(id, w); });
        window->ApplyTexts(app::Language::English);
        window->Start(Write("campaign.csv", kCampaign));
        window->Wait();
    }

    void valuesEqualTheStateOfSaturation() {
        QCOMPARE(window->model().rowCount(), 4);
        const int si1 = Column(QStringLiteral("SI 1"));
        const int dc2 = Column(QStringLiteral("Dc 2\n[mg/L]"));
        QVERIFY(si1 > 0 && dc2 > 0);
        for (int row : {0, 2, 3}) {
            const batch::BatchRow& r = window->model().row(row);
            const results::WaterSaturation s = results::ComputeSaturation(r.water);
            QCOMPARE(Cell(row, si1).toString(),
                     QString::fromStdString(app::FormatFixed(s.columns[0].si, 0, 3)));
            QCOMPARE(Cell(row, dc2).toString(),
                     QString::fromStdString(app::FormatFixed(s.columns[1].dcMg, 0, 3)));
            QCOMPARE(Cell(row, si1, Qt::UserRole).toDouble(), static_cast<double>(s.columns[0].si));
        }
        QCOMPARE(Cell(1, si1).toString(), QString());
        QCOMPARE(window->statusText(),
                 QStringLiteral("campaign.csv: 4 waters, 1 failed, 1 with warnings"));
    }

    void marksRowsWithTheirMessages() {
        const QColor error(0xF4, 0xCC, 0xCC), warning(0xFF, 0xF2, 0xCC);
        QCOMPARE(Cell(0, 3, Qt::BackgroundRole), QVariant());
        QCOMPARE(Cell(0, 3, Qt::ToolTipRole), QVariant());
        QCOMPARE(Cell(1, 3, Qt::BackgroundRole).value<QColor>(), error);
        QCOMPARE(Cell(1, 0, Qt::ToolTipRole).toString(), QStringLiteral("pH sieben: not a number"));
        QCOMPARE(Cell(2, 0, Qt::BackgroundRole).value<QColor>(), warning);
        QCOMPARE(Cell(2, 0, Qt::ToolTipRole).toString(),
                 QStringLiteral("pH 4,1: pH-value: range of validity (>= 4,3) exceeded!"));
        // The soft water is far over the 10 mg/L limit.
        const int limit = Column(QStringLiteral("Dc limit"));
        QCOMPARE(Cell(2, limit).toString(), QStringLiteral("> 10 mg/L"));
        QCOMPARE(
            Cell(2, Column(QStringLiteral("Dc 1\n[mg/L]")), Qt::ForegroundRole).value<QColor>(),
            QColor(Qt::red));
    }

    void sortsByValueAndFollowsTheLanguage() {
        QTableView& view = window->view();
        const int si1 = Column(QStringLiteral("SI 1"));
        view.sortByColumn(si1, Qt::DescendingOrder);
        auto* proxy = qobject_cast<QSortFilterProxyModel*>(view.model());
        QVERIFY(proxy);
        double last = 1e9;
        for (int r = 0; r < proxy->rowCount(); ++r) {
            const QVariant v = proxy->index(r, si1).data(Qt::UserRole);
            if (!v.isValid())
                continue;
            QVERIFY(v.toDouble() <= last);
            last = v.toDouble();
        }
        window->ApplyTexts(app::Language::German);
        QCOMPARE(window->windowTitle(), QStringLiteral("Stapelberechnung"));
        QCOMPARE(window->model().headerData(0, Qt::Horizontal).toString(), QStringLiteral("Zeile"));
        QVERIFY(Cell(0, Column(QStringLiteral("SI 1"))).toString().contains(u','));
        QCOMPARE(Cell(1, 0, Qt::ToolTipRole).toString(), QStringLiteral("pH sieben: keine Zahl"));
    }

    void takesTheSelectedWaterIntoTheProject() {
        auto* toB = window->findChild<QPushButton*>(QStringLiteral("buttonToB"));
        QVERIFY(toB);
        QVERIFY(!toB->isEnabled());
        QTableView& view = window->view();
        view.sortByColumn(0, Qt::AscendingOrder);
        view.selectRow(1); // the row that failed has no water
        QVERIFY(!toB->isEnabled());
        view.selectRow(2);
        QVERIFY(toB->isEnabled());
        toB->click();
        QCOMPARE(taken.size(), std::size_t(1));
        QCOMPARE(taken[0].first, app::WaterId::B);
        QCOMPARE(taken[0].second.pH, std::string("   4.300"));
        QCOMPARE(taken[0].second.text, std::string("Brunnen 3"));
    }

    void exportsCsvAndXlsxOnly() {
        const QString csv = dir.filePath(QStringLiteral("out.csv"));
        const QString xlsx = dir.filePath(QStringLiteral("out.xlsx"));
        const QString txt = dir.filePath(QStringLiteral("out.txt"));
        dialogs.fileNames = {csv, xlsx, txt};
        for (int i = 0; i < 3; ++i)
            window->ExportClick();
        const auto lines = zeb::test::SplitLines(zeb::test::Slurp(csv.toStdString()), "\r\n");
        QCOMPARE(lines.size(), std::size_t(5));
        QVERIFY(lines[0].starts_with("\xEF\xBB\xBFRow,id,Text,"));
        QVERIFY(QFile::exists(xlsx));
        QVERIFY(!QFile::exists(txt));
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text,
                 txt + QStringLiteral(": the extension must be .csv or .xlsx"));
    }

    void cancelKeepsTheRowsDone() {
        window->ExampleClick();
        window->CancelClick();
        window->Wait();
        QVERIFY(window->model().rowCount() < 200);
        QVERIFY(window->statusText().endsWith(QStringLiteral("(cancelled)")));
        QVERIFY(window->statusText().startsWith(QStringLiteral("campaign_en.csv: ")));
    }

    void aRowOutsideTheDomainIsAnErrorRow() {
        window->Start(Write("hot.csv", "id;pH;ks43;tempCalc\nW1;7,4;2,5;10\nW2;7,4;2,5;1e6\n"));
        window->Wait();
        QCOMPARE(window->model().rowCount(), 2);
        const int si1 = Column(QStringLiteral("SI 1"));
        QVERIFY(!Cell(0, si1).toString().isEmpty());
        QCOMPARE(Cell(1, si1).toString(), QString());
        QCOMPARE(Cell(1, 0, Qt::BackgroundRole).value<QColor>(), QColor(0xF4, 0xCC, 0xCC));
        const QString refusal = QStringLiteral("Row 3: tempCalc = 1e6 is outside the range in "
                                               "which the calculation is defined (0 to 350 °C).");
        QCOMPARE(Cell(1, Column(QStringLiteral("Error"))).toString(), refusal);
        QVERIFY(Cell(1, 0, Qt::ToolTipRole).toString().startsWith(refusal + u'\n'));
        QCOMPARE(window->statusText(),
                 QStringLiteral("hot.csv: 2 waters, 1 failed, 1 with warnings"));
        window->ApplyTexts(app::Language::German);
        QVERIFY(Cell(1, Column(QStringLiteral("Fehler")))
                    .toString()
                    .startsWith(QStringLiteral("Zeile 3: tempCalc = 1e6 liegt außerhalb")));
    }

    void aFileWithoutFieldsIsRefused() {
        window->Start(Write("other.csv", "Probe;Datum\nA;1.1.2020\n"));
        window->Wait();
        QCOMPARE(window->model().rowCount(), 0);
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages[0].text.endsWith(
            QStringLiteral("other.csv: no column is named after a field of the analysis")));
    }
};

QTEST_MAIN(BatchWindowTest)
#include "batch_window_test.moc"
