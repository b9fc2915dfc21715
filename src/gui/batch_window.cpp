#include "gui/batch_window.h"

#include "app/project_file.h"
#include "gui/dialogs.h"
#include "gui/main_window.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <sstream>

namespace zeb::gui {

namespace {

QString FromStd(const std::string& s) {
    return QString::fromStdString(s);
}

constexpr int kHelpBatch = 22;

const QColor kErrorColor(0xF4, 0xCC, 0xCC);
const QColor kWarningColor(0xFF, 0xF2, 0xCC);

// The example campaign of a language, compiled into the program.
QString ExampleResource(app::Language language) {
    return language == app::Language::German ? QStringLiteral(":/examples/campaign_de.csv")
                                             : QStringLiteral(":/examples/campaign_en.csv");
}

// A reader over a file, or over a resource's bytes.
std::unique_ptr<batch::CsvReader> OpenReader(const QString& file) {
    if (file.startsWith(u':')) {
        QFile resource(file);
        if (!resource.open(QIODevice::ReadOnly))
            throw app::FileError(file.toStdString(), resource.errorString().toStdString());
        const QByteArray bytes = resource.readAll();
        return std::make_unique<batch::CsvReader>(
            std::make_unique<std::istringstream>(bytes.toStdString()), file.toStdString(),
            static_cast<std::uintmax_t>(bytes.size()));
    }
    return std::make_unique<batch::CsvReader>(std::filesystem::path(file.toStdString()));
}

} // namespace

// ---- model -------------------------------------------------------------------------------------

BatchTableModel::BatchTableModel(QObject* parent) : QAbstractTableModel(parent) {
    columns_ = batch::OutputColumns(language_, false);
}

void BatchTableModel::SetLanguage(app::Language language) {
    beginResetModel();
    language_ = language;
    columns_ = batch::OutputColumns(language, false);
    endResetModel();
}

void BatchTableModel::Clear() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void BatchTableModel::Append(std::vector<batch::BatchRow> rows) {
    if (rows.empty())
        return;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
    for (batch::BatchRow& r : rows)
        rows_.push_back(std::move(r));
    endInsertRows();
}

int BatchTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int BatchTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant BatchTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const batch::BatchRow& r = row(index.row());
    const batch::OutputColumn& c = columns_[static_cast<std::size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole:
        if (c.decimals < 0)
            return FromStd(c.text(r));
        if (const auto v = c.number(r))
            return FromStd(batch::NumberText(*v, c.decimals, language_));
        return QString();
    case Qt::UserRole:
        if (c.decimals < 0)
            return FromStd(c.text(r));
        if (const auto v = c.number(r))
            return static_cast<double>(*v);
        return QVariant();
    case Qt::TextAlignmentRole:
        return c.decimals < 0 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                              : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ToolTipRole: {
        QStringList lines;
        if (r.error)
            lines << FromStd(batch::MessageLine(*r.error, language_));
        for (const batch::RowMessage& w : r.warnings)
            lines << FromStd(batch::MessageLine(w, language_));
        return lines.isEmpty() ? QVariant() : QVariant(lines.join(u'\n'));
    }
    case Qt::BackgroundRole:
        if (r.error)
            return kErrorColor;
        if (!r.warnings.empty())
            return kWarningColor;
        return {};
    case Qt::ForegroundRole:
        // Waters over the Dc limits stand out in the columns of the Dc values.
        if (c.heading.starts_with("Dc") || c.decimals < 0) {
            const batch::DcLimit limit = batch::DcLimitOf(r);
            if (limit == batch::DcLimit::Above10 && c.heading.starts_with("Dc"))
                return QColor(Qt::red);
            if (limit == batch::DcLimit::Above5 && c.heading.starts_with("Dc"))
                return QColor(0xC0, 0x60, 0x00);
        }
        return {};
    default:
        return {};
    }
}

QVariant BatchTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const batch::OutputColumn& c = columns_[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole) {
        // Long headings break before their formula or reference temperature, so the columns
        // stay as narrow as their numbers.
        QString heading = FromStd(c.heading);
        heading.replace(QStringLiteral(" |"), QStringLiteral("\n|"));
        heading.replace(QStringLiteral(" (25"), QStringLiteral("\n(25"));
        return c.unit.empty() ? heading : heading + QStringLiteral("\n[") + FromStd(c.unit) + u']';
    }
    return {};
}

// ---- window ------------------------------------------------------------------------------------

struct BatchWindow::Shared {
    std::mutex mutex;
    std::vector<batch::BatchRow> rows; // computed, not yet in the table
    std::int64_t total = 0;            // data rows of the file, once counted
    bool finished = false;
    QString message; // set when the file could not be read
    batch::BatchSummary summary;
};

BatchWindow::BatchWindow(Dialogs& dialogs,
                         std::function<void(app::WaterId, const app::WaterAnalysis&)> takeWater,
                         QWidget* parent)
    : ResultWindow(parent), dialogs_(dialogs), takeWater_(std::move(takeWater)),
      model_(new BatchTableModel(this)), proxy_(new QSortFilterProxyModel(this)),
      view_(new QTableView(this)), progress_(new QProgressBar(this)), status_(new QLabel(this)) {
    setObjectName(QStringLiteral("TBatch"));
    auto button = [this](const char* name) {
        auto* b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    open_ = button("buttonOpen");
    example_ = button("buttonExample");
    cancel_ = button("buttonCancel");
    export_ = button("buttonExport");
    toA_ = button("buttonToA");
    toB_ = button("buttonToB");
    toC_ = button("buttonToC");
    close_ = button("buttonClose");
    status_->setObjectName(QStringLiteral("labelStatus"));
    progress_->setObjectName(QStringLiteral("progress"));
    view_->setObjectName(QStringLiteral("table"));

    proxy_->setSourceModel(model_);
    proxy_->setSortRole(Qt::UserRole);
    view_->setModel(proxy_);
    view_->setSortingEnabled(true);
    view_->sortByColumn(0, Qt::AscendingOrder);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->verticalHeader()->setVisible(false);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->horizontalHeader()->setDefaultSectionSize(78);
    view_->setWordWrap(false);

    auto* top = new QHBoxLayout;
    for (QPushButton* b : {open_, example_, cancel_, export_})
        top->addWidget(b);
    top->addStretch();
    for (QPushButton* b : {toA_, toB_, toC_})
        top->addWidget(b);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status_, 1);
    bottom->addWidget(progress_);
    bottom->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(view_, 1);
    layout->addLayout(bottom);
    resize(1100, 560);

    connect(open_, &QPushButton::clicked, this, &BatchWindow::OpenClick);
    connect(example_, &QPushButton::clicked, this, &BatchWindow::ExampleClick);
    connect(cancel_, &QPushButton::clicked, this, &BatchWindow::CancelClick);
    connect(export_, &QPushButton::clicked, this, &BatchWindow::ExportClick);
    connect(toA_, &QPushButton::clicked, this, [this] { TakeClick(app::WaterId::A); });
    connect(toB_, &QPushButton::clicked, this, [this] { TakeClick(app::WaterId::B); });
    connect(toC_, &QPushButton::clicked, this, [this] { TakeClick(app::WaterId::C); });
    connect(close_, &QPushButton::clicked, this, &BatchWindow::accept);
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BatchWindow::UpdateButtons);
    ApplyTexts(app::Language::German);
    UpdateButtons();
}

BatchWindow::~BatchWindow() {
    Stop();
}

void BatchWindow::ApplyWindowTexts() {
    model_->SetLanguage(language());
    UpdateStatus();
}

void BatchWindow::done(int result) {
    Stop();
    ResultWindow::done(result);
}

void BatchWindow::Stop() {
    cancelRequested_ = true;
    if (worker_.joinable())
        worker_.join();
    TakeDelivered();
}

void BatchWindow::Wait() {
    if (worker_.joinable())
        worker_.join();
    TakeDelivered();
}

void BatchWindow::OpenClick() {
    const auto file =
        dialogs_.OpenFileName(this, {fileName_.startsWith(u':') ? QString() : fileName_,
                                     WindowText("filterOpen"), QStringLiteral("csv")});
    if (file)
        Start(*file);
}

void BatchWindow::ExampleClick() {
    Start(ExampleResource(language()));
}

void BatchWindow::CancelClick() {
    cancelRequested_ = true;
}

void BatchWindow::Start(const QString& file) {
    Stop();
    model_->Clear();
    fileName_ = file;
    endMessage_.clear();
    total_ = 0;
    cancelRequested_ = false;
    finished_ = false;
    shared_ = std::make_shared<Shared>();
    progress_->setRange(0, 0);
    progress_->setValue(0);
    QPointer<BatchWindow> self(this);
    worker_ = std::thread([self, shared = shared_, file, cancel = &cancelRequested_] {
        auto deliver = [self] {
            QMetaObject::invokeMethod(
                self.data(),
                [self] {
                    if (self)
                        self->TakeDelivered();
                },
                Qt::QueuedConnection);
        };
        try {
            // Counting the rows first gives the progress bar its end; reading is cheap beside
            // the chemistry.
            {
                auto counter = OpenReader(file);
                batch::CsvRecord record;
                std::int64_t rows = -1;
                while (counter->Next(record))
                    ++rows;
                std::lock_guard lock(shared->mutex);
                shared->total = std::max<std::int64_t>(rows, 0);
            }
            auto reader = OpenReader(file);
            batch::BatchOptions options;
            options.pHA = false; // the table has no "pH A" column
            options.cancel = cancel;
            options.blockRows = 2 * std::max(1u, std::thread::hardware_concurrency());
            std::vector<batch::BatchRow> block;
            const batch::BatchSummary summary = batch::RunBatch(
                *reader, options, {}, [&](const batch::BatchRow& row) { block.push_back(row); },
                [&](const batch::BatchProgress&) {
                    {
                        std::lock_guard lock(shared->mutex);
                        for (batch::BatchRow& r : block)
                            shared->rows.push_back(std::move(r));
                    }
                    block.clear();
                    deliver();
                });
            std::lock_guard lock(shared->mutex);
            shared->summary = summary;
        } catch (const app::FileError& e) {
            std::lock_guard lock(shared->mutex);
            shared->message = QString::fromStdString(e.fileName() + ": " + e.reason());
        } catch (const batch::ColumnError& e) {
            // The key is resolved in the window's language when the message is shown.
            std::lock_guard lock(shared->mutex);
            shared->message = QString::fromStdString(std::string(e.message.key)) + u'\x1f' +
                              QString::fromStdString(e.message.args[0]);
        }
        {
            std::lock_guard lock(shared->mutex);
            shared->finished = true;
        }
        deliver();
    });
    UpdateButtons();
    UpdateStatus();
}

void BatchWindow::TakeDelivered() {
    if (!shared_)
        return;
    std::vector<batch::BatchRow> rows;
    bool finished = false;
    QString message;
    {
        std::lock_guard lock(shared_->mutex);
        rows.swap(shared_->rows);
        total_ = shared_->total;
        finished = shared_->finished;
        message = shared_->message;
    }
    model_->Append(std::move(rows));
    if (total_ > 0) {
        progress_->setRange(0, static_cast<int>(std::min<std::int64_t>(total_, INT32_MAX)));
        progress_->setValue(static_cast<int>(std::min<std::int64_t>(model_->rowCount(), total_)));
    }
    if (finished && !finished_) {
        finished_ = true;
        if (worker_.joinable())
            worker_.join();
        progress_->setRange(0, 1);
        progress_->setValue(message.isEmpty() ? 1 : 0);
        // Widths from the first rows only, so a long campaign does not stall the window.
        view_->horizontalHeader()->setResizeContentsPrecision(200);
        view_->resizeColumnsToContents();
        if (!message.isEmpty())
            Finished(message);
    }
    UpdateButtons();
    UpdateStatus();
}

void BatchWindow::Finished(const QString& message) {
    // A header that names no field comes as "key<US>argument"; file errors as plain text.
    QString text = message;
    const auto sep = message.indexOf(u'\x1f');
    if (sep >= 0) {
        const std::string key = message.left(sep).toStdString();
        batch::RowMessage m{"", "", key, {message.mid(sep + 1).toStdString()}};
        text = fileName_ + QStringLiteral(": ") + FromStd(batch::MessageText(m, language()));
    }
    endMessage_ = text;
    dialogs_.Inform(this, text);
}

void BatchWindow::UpdateButtons() {
    const bool busy = running();
    cancel_->setEnabled(busy);
    export_->setEnabled(!busy && model_->rowCount() > 0);
    const int row = SelectedRow();
    const bool hasWater = row >= 0 && model_->row(row).hasWater;
    for (QPushButton* b : {toA_, toB_, toC_})
        b->setEnabled(hasWater);
}

QString BatchWindow::statusText() const {
    return status_->text();
}

void BatchWindow::UpdateStatus() {
    if (fileName_.isEmpty()) {
        status_->setText(WindowText("statusNoFile"));
        return;
    }
    const QString name = QFileInfo(fileName_).fileName();
    if (!endMessage_.isEmpty()) {
        status_->setText(endMessage_);
        return;
    }
    std::int64_t failed = 0, warned = 0;
    for (const batch::BatchRow& r : model_->rows()) {
        failed += r.error.has_value();
        warned += !r.warnings.empty();
    }
    if (running()) {
        status_->setText(WindowText("statusRunning")
                             .arg(name)
                             .arg(model_->rowCount())
                             .arg(static_cast<qlonglong>(total_)));
        return;
    }
    QString text = name + QStringLiteral(": ") +
                   FromStd(batch::MessageText({"",
                                               "",
                                               "msg.batchSummary",
                                               {std::to_string(model_->rowCount()),
                                                std::to_string(failed), std::to_string(warned)}},
                                              language()));
    if (model_->rowCount() < total_)
        text += QStringLiteral(" (") + WindowText("statusCancelled") + u')';
    status_->setText(text);
}

int BatchWindow::SelectedRow() const {
    const QModelIndexList selected = view_->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return -1;
    return proxy_->mapToSource(selected.first()).row();
}

void BatchWindow::ExportClick() {
    const auto file =
        dialogs_.SaveFileName(this, {QString(), WindowText("filterExport"), QStringLiteral("csv")});
    if (!file)
        return;
    const std::filesystem::path path(file->toStdString());
    const auto format = batch::OutputFormatOf(path);
    if (!format || *format == batch::OutputFormat::Json) {
        dialogs_.Inform(this, *file + WindowText("msgExtension"));
        return;
    }
    try {
        auto writer = batch::MakeFileWriter(path, language(), false);
        for (const batch::BatchRow& r : model_->rows())
            writer->Write(r);
        writer->Finish();
    } catch (const app::FileError& e) {
        dialogs_.Inform(this, FromStd(e.fileName() + ": " + e.reason()));
    }
}

void BatchWindow::TakeClick(app::WaterId id) {
    const int row = SelectedRow();
    if (row < 0 || !model_->row(row).hasWater)
        return;
    takeWater_(id, model_->row(row).water);
}

void InstallBatchWindow(MainWindow& main) {
    auto* window = new BatchWindow(
        main.dialogs(),
        [&main](app::WaterId id, const app::WaterAnalysis& water) {
            main.project().water(id) = water;
            main.CheckModified();
        },
        &main);
    main.RegisterWindow(window, kHelpBatch);
    main.SetCommandHandler(Command::Stapelberechnung, [&main, window] { main.RunModal(*window); });
}

} // namespace zeb::gui
