#pragma once
// The batch window: a campaign file's waters with their results in a sortable table, computed
// in the background with progress and Cancel; rows with warnings or errors marked, their
// messages as tool tips; export to CSV or .xlsx; a row's water taken into water A, B or C.

#include "batch/batch_output.h"
#include "batch/batch_run.h"
#include "gui/result_window.h"

#include <QAbstractTableModel>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace zeb::app {
class Project;
}

namespace zeb::gui {

class Dialogs;
class MainWindow;

// The rows of a campaign as a table: the columns of the batch output in the window's language.
// Qt::UserRole gives the value to sort by (the number, or the text).
class BatchTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit BatchTableModel(QObject* parent = nullptr);

    void SetLanguage(app::Language language);
    void Clear();
    void Append(std::vector<batch::BatchRow> rows);
    const std::vector<batch::BatchRow>& rows() const { return rows_; }
    const batch::BatchRow& row(int index) const { return rows_[static_cast<std::size_t>(index)]; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    app::Language language_ = app::Language::German;
    std::vector<batch::OutputColumn> columns_;
    std::vector<batch::BatchRow> rows_;
};

class BatchWindow : public ResultWindow {
    Q_OBJECT
public:
    // `takeWater` puts a water into A, B or C of the project and runs the change check.
    BatchWindow(Dialogs& dialogs,
                std::function<void(app::WaterId, const app::WaterAnalysis&)> takeWater,
                QWidget* parent = nullptr);
    ~BatchWindow() override;

    void OpenClick();    // "&Open..."
    void ExampleClick(); // the example campaign of the language
    void CancelClick();  // stops the computation; rows done stay
    void ExportClick();  // "&Export..."
    void TakeClick(app::WaterId id);

    // Starts computing `file` (a path or a resource); rows arrive while the event loop runs.
    void Start(const QString& file);
    bool running() const { return worker_.joinable() && !finished_; }
    // Waits for the computation to end (tests, closing).
    void Wait();

    BatchTableModel& model() { return *model_; }
    QTableView& view() { return *view_; }
    QString statusText() const;

protected:
    void ApplyWindowTexts() override;
    void done(int result) override;

private:
    struct Shared; // rows handed from the worker to the window

    void Stop();
    void TakeDelivered();
    void Finished(const QString& message);
    void UpdateButtons();
    void UpdateStatus();
    int SelectedRow() const;

    Dialogs& dialogs_;
    std::function<void(app::WaterId, const app::WaterAnalysis&)> takeWater_;
    BatchTableModel* model_;
    QSortFilterProxyModel* proxy_;
    QTableView* view_;
    QProgressBar* progress_;
    QLabel* status_;
    QPushButton *open_, *example_, *cancel_, *export_, *toA_, *toB_, *toC_, *close_;

    std::shared_ptr<Shared> shared_;
    std::thread worker_;
    std::atomic<bool> cancelRequested_{false};
    bool finished_ = true;
    QString fileName_;
    QString endMessage_;
    std::int64_t total_ = 0;
};

// Creates the window and connects it to Extras -> batch calculation.
void InstallBatchWindow(MainWindow& main);

} // namespace zeb::gui
