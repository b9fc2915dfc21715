#include "gui/w216_window.h"

#include "app/number_format.h"
#include "app/project_file.h"
#include "gui/dialogs.h"
#include "gui/entry_fields.h"
#include "gui/report_output.h"
#include "report/w216_report.h"
#include "results/w216.h"
#include "ui_w216_window.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>

namespace zeb::gui {

namespace {

using app::W216Data;

constexpr int kValueCount = 2 * results::kW216RowCount; // rows 1 to 7 of I and II
constexpr int kQAFirst = W216Data::QAFirst;
// Printed on one page: the header, then lines 8 to 34.
constexpr ReportPage kPages[] = {{8, 34}};

const QColor kGreen(0, 128, 0);

} // namespace

W216Window::W216Window(Dialogs& dialogs, ReportOutput& reports, const app::Project& project,
                       QWidget* parent)
    : ProjectReportWindow(dialogs, reports, project, parent), ui_(new Ui::W216Window),
      sourceI_(new QButtonGroup(this)), sourceII_(new QButtonGroup(this)) {
    ui_->setupUi(this);
    StackTextRows();
    StyleValueLabels(8);
    for (int row = 1; row <= results::kW216RowCount; ++row) {
        entries_[static_cast<size_t>(2 * (row - 1))] =
            findChild<QLineEdit*>(QStringLiteral("EditI%1").arg(row));
        entries_[static_cast<size_t>(2 * (row - 1) + 1)] =
            findChild<QLineEdit*>(QStringLiteral("EditII%1").arg(row));
    }
    entries_[W216Data::Share1First] = ui_->ShareI1;
    entries_[W216Data::Share2First] = ui_->ShareII1;
    entries_[W216Data::Share1Second] = ui_->ShareI2;
    entries_[W216Data::Share2Second] = ui_->ShareII2;

    for (int i = 0; i < static_cast<int>(entries_.size()); ++i) {
        QLineEdit* entry = entries_[static_cast<size_t>(i)];
        EnterMovesFocus(entry);
        if (i < kValueCount) {
            // DataMinMax1: results go, and typed extremes are kept for the next visit.
            connect(entry, &QLineEdit::textChanged, this, [this] {
                ClearResults();
                if (minMax_ && !loading_)
                    RememberMinMax();
            });
            if (i < kQAFirst) {
                // convert3
                OnLeave(entry, [this, entry] {
                    std::string text = ToStdString(entry->text());
                    app::NormalizeNumberText(text);
                    SetEntryText(entry, text);
                    app::W216Data data = ReadForm();
                    results::UpdateW216QA(data);
                    SetEntryText(entries_[kQAFirst], data.values[kQAFirst]);
                    SetEntryText(entries_[kQAFirst + 1], data.values[kQAFirst + 1]);
                });
            }
        } else {
            // Button2Click
            connect(entry, &QLineEdit::textChanged, this, &W216Window::ClearResults);
            OnLeave(entry, [this] { ClearResults(); });
        }
    }
    EnterMovesFocus(ui_->editText);
    ui_->editText->setValidator(new Cp1252Validator(ui_->editText));

    sourceI_->addButton(ui_->radioIA, 'A');
    sourceI_->addButton(ui_->radioIB, 'B');
    sourceI_->addButton(ui_->radioIC, 'C');
    sourceII_->addButton(ui_->radioIIA, 'A');
    sourceII_->addButton(ui_->radioIIB, 'B');
    sourceII_->addButton(ui_->radioIIC, 'C');
    connect(sourceI_, &QButtonGroup::idClicked, this,
            [this](int id) { CheckBox1(static_cast<char>(id)); });
    connect(sourceII_, &QButtonGroup::idClicked, this,
            [this](int id) { CheckBox2(static_cast<char>(id)); });
    // Not exclusive on its own, so that choosing a water can switch it off; a click on it
    // always means "min - max".
    ui_->radioMinMax->setAutoExclusive(false);
    connect(ui_->radioMinMax, &QRadioButton::clicked, this, &W216Window::CheckBox3);

    connect(ui_->buttonRun, &QPushButton::clicked, this, &W216Window::run);
    connect(ui_->buttonSave, &QPushButton::clicked, this, &W216Window::save);
    connect(ui_->buttonPrint, &QPushButton::clicked, this, &W216Window::print);
    connect(ui_->Button1, &QPushButton::clicked, this, &W216Window::Button1Click);
    connect(ui_->Button3, &QPushButton::clicked, this, &W216Window::Button3Click);

    app::W216Data defaults;
    app::SetDefaultW216(defaults);
    std::copy_n(defaults.values.begin(), kValueCount, minMaxValues_.begin());
    LoadW216Form(defaults);
    for (int i = kQAFirst; i < kValueCount; ++i)
        ShowReadOnly(entries_[static_cast<size_t>(i)], true);
    ApplyTexts(app::Language::German);
}

W216Window::~W216Window() = default;

void W216Window::ApplyWindowTexts() {
    // The result headings stand right-aligned over their values, with room to the heading
    // before them.
    for (QLabel* heading : {ui_->headingBlend1, ui_->headingBlend2, ui_->headingP1, ui_->headingP2,
                            ui_->headingDiff}) {
        heading->setMinimumWidth(0);
        heading->setMinimumWidth(heading->sizeHint().width() + 14);
    }
}

void W216Window::StackTextRows() {
    // The texts of waters I and II and the text field of "min - max" take turns in one place of
    // the size of the larger, so that the window keeps its size and its rows their places.
    while (QLayoutItem* item = ui_->textGrid->takeAt(0))
        delete item; // the widgets stay, to be laid out anew
    textRows_ = new QStackedWidget(this);
    textRows_->setObjectName(QStringLiteral("textRows"));
    const auto page = [this](std::initializer_list<std::pair<QWidget*, QWidget*>> rows) {
        auto* widget = new QWidget(textRows_);
        auto* grid = new QGridLayout(widget);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->setHorizontalSpacing(8);
        grid->setVerticalSpacing(2);
        int row = 0;
        for (const auto& [label, value] : rows) {
            grid->addWidget(label, row, 0);
            grid->addWidget(value, row, 1);
            ++row;
        }
        // The texts stand right beside their labels; what is left goes to the right.
        grid->setColumnStretch(1, 1);
        grid->setRowStretch(row, 1);
        textRows_->addWidget(widget);
    };
    page({{ui_->labelTextI, ui_->valueTextI}, {ui_->labelTextII, ui_->valueTextII}});
    page({{ui_->labelText, ui_->editText}});
    auto* main = static_cast<QBoxLayout*>(layout());
    const int at = main->indexOf(ui_->textGrid);
    main->removeItem(ui_->textGrid);
    delete ui_->textGrid;
    ui_->textGrid = nullptr;
    main->insertWidget(at, textRows_);
}

app::W216Data W216Window::ReadForm() const {
    app::W216Data data;
    data.reserved = reserved_;
    data.text = ToStdString(ui_->editText->text());
    for (size_t i = 0; i < entries_.size(); ++i)
        data.values[i] = ToStdString(entries_[i]->text());
    const char letterI = SelectedLetter(sourceI_);
    const char letterII = SelectedLetter(sourceII_);
    data.values[W216Data::Letter1] = minMax_ ? std::string("M") : std::string(1, letterI);
    data.values[W216Data::Letter2] = letterII ? std::string(1, letterII) : letterII_;
    if (!minMax_ && !letterI)
        data.values[W216Data::Letter1] = letterI_;
    return data;
}

void W216Window::WriteValues(const app::W216Data& data) {
    loading_ = true;
    for (size_t i = 0; i < entries_.size(); ++i)
        SetEntryText(entries_[i], data.values[i]);
    loading_ = false;
}

void W216Window::LoadW216Form(const app::W216Data& data) {
    reserved_ = data.reserved;
    letterI_ = data.values[W216Data::Letter1];
    letterII_ = data.values[W216Data::Letter2];
    ui_->editText->setText(ToQString(data.text));
    WriteValues(data);
    if (results::W216MinMaxMode(data)) {
        ShowMinMax(true);
    } else {
        ShowMinMax(false);
        // The columns show the chosen waters as they are now.
        for (auto [group, column, letter] :
             {std::tuple{sourceI_, 0, letterI_}, std::tuple{sourceII_, 1, letterII_}}) {
            if (letter.size() == 1 && letter[0] >= 'A' && letter[0] <= 'C') {
                Select(group, letter[0]);
                LoadColumn(column, letter[0]);
            }
        }
    }
    ClearResults();
}

void W216Window::StoreW216Form(app::W216Data& data) const {
    const app::W216Data form = ReadForm();
    for (size_t i = 0; i < entries_.size(); ++i)
        data.values[i] = app::CutValueText(form.values[i]);
    data.values[W216Data::Letter1] = form.values[W216Data::Letter1];
    data.values[W216Data::Letter2] = form.values[W216Data::Letter2];
    data.text = form.text;
}

void W216Window::Select(QButtonGroup* group, char letter) {
    if (QAbstractButton* button = group->button(letter))
        button->setChecked(true);
}

char W216Window::SelectedLetter(const QButtonGroup* group) const {
    const int id = group->checkedId();
    return id >= 'A' && id <= 'C' ? static_cast<char>(id) : '\0';
}

void W216Window::ShowMinMax(bool minMax) {
    minMax_ = minMax;
    ui_->radioMinMax->setChecked(minMax);
    if (minMax) {
        for (QButtonGroup* group : {sourceI_, sourceII_}) {
            // An exclusive group keeps one button checked; let go of it for a moment.
            group->setExclusive(false);
            for (QAbstractButton* b : group->buttons())
                b->setChecked(false);
            group->setExclusive(true);
        }
    }
    textRows_->setCurrentIndex(minMax ? 1 : 0);
    for (int i = 0; i < kQAFirst; ++i)
        ShowReadOnly(entries_[static_cast<size_t>(i)], !minMax);
}

void W216Window::LoadColumn(int column, char letter) {
    const app::WaterAnalysis& water = project_.water(static_cast<app::WaterId>(letter - 'A'));
    app::W216Data data = ReadForm();
    results::LoadW216Column(data, static_cast<results::W216Column>(column), water);
    WriteValues(data);
    (column == 0 ? ui_->valueTextI : ui_->valueTextII)->setText(ToQString(water.text));
    (column == 0 ? letterI_ : letterII_) = std::string(1, letter);
}

void W216Window::CheckBox1(char letter) {
    if (minMax_)
        ShowMinMax(false);
    Select(sourceI_, letter);
    LoadColumn(0, letter);
    if (!SelectedLetter(sourceII_)) {
        Select(sourceII_, 'B');
        LoadColumn(1, 'B');
    }
    ClearResults();
}

void W216Window::CheckBox2(char letter) {
    if (minMax_)
        ShowMinMax(false);
    Select(sourceII_, letter);
    LoadColumn(1, letter);
    if (!SelectedLetter(sourceI_)) {
        Select(sourceI_, 'A');
        LoadColumn(0, 'A');
    }
    ClearResults();
}

void W216Window::CheckBox3() {
    ShowMinMax(true);
    // DataMinMax2: the extremes last typed come back.
    app::W216Data data = ReadForm();
    std::copy(minMaxValues_.begin(), minMaxValues_.end(), data.values.begin());
    results::UpdateW216QA(data);
    WriteValues(data);
    ClearResults();
}

void W216Window::RememberMinMax() {
    for (int i = 0; i < kValueCount; ++i)
        minMaxValues_[static_cast<size_t>(i)] =
            ToStdString(entries_[static_cast<size_t>(i)]->text());
}

void W216Window::ClearResults() {
    for (int row = 1; row <= results::kW216RowCount; ++row) {
        for (const char* prefix :
             {"valueBlend1Row", "valueBlend2Row", "valueP1Row", "valueP2Row", "valueDiffRow"}) {
            if (auto* label = findChild<QLabel*>(QLatin1String(prefix) + QString::number(row)))
                label->clear();
        }
        if (auto* flag = findChild<QLabel*>(QStringLiteral("FlagRow%1").arg(row))) {
            flag->setText(WindowText("flagBelow"));
            SetTextColor(flag, kGreen);
        }
    }
}

void W216Window::Normalize() {
    app::W216Data data = ReadForm();
    const std::vector<std::string_view> messages = results::NormalizeW216Inputs(data);
    WriteValues(data);
    Inform(messages);
}

void W216Window::init() {
    Normalize();
    ClearResults();
    if (minMax_)
        RememberMinMax();
}

void W216Window::run() {
    const results::W216Result r = results::ComputeW216(ReadForm(), project_.parts.waters);
    WriteValues(r.inputs);
    if (minMax_)
        RememberMinMax();
    Inform(r.messageKeys);
    if (!r.minMax) {
        ui_->valueTextI->setText(ToQString(r.textI));
        ui_->valueTextII->setText(ToQString(r.textII));
    }
    for (int row = 1; row <= results::kW216RowCount; ++row) {
        const results::W216RowResult& x = r.rows[static_cast<size_t>(row - 1)];
        const QString n = QString::number(row);
        findChild<QLabel*>("valueBlend1Row" + n)->setText(FixedText(x.blend1, 8, 3));
        findChild<QLabel*>("valueBlend2Row" + n)->setText(FixedText(x.blend2, 8, 3));
        findChild<QLabel*>("valueP1Row" + n)->setText(FixedText(x.p1, 8, 3));
        findChild<QLabel*>("valueP2Row" + n)->setText(FixedText(x.p2, 8, 3));
        findChild<QLabel*>("valueDiffRow" + n)->setText(FixedText(x.difference, 8, 3));
        QLabel* flag = findChild<QLabel*>("FlagRow" + n);
        flag->setText(WindowText(x.flagged ? "flagAbove" : "flagBelow"));
        SetTextColor(flag, x.flagged ? QColor(Qt::red) : kGreen);
    }
    const ReportHeader header = CurrentHeader();
    report_ =
        report::BuildW216Report(r, language(), header.signature, header.fileName, header.dateTime);
}

void W216Window::Button1Click() {
    CommitFocusedControl(this);
    Normalize();
    accept();
}

void W216Window::Button3Click() {
    CommitFocusedControl(this);
    reject();
}

void W216Window::print() {
    PrintReport(kPages);
}

void W216Window::save() {
    SaveReport(report::W216ReportLayout());
}

void W216Window::showEvent(QShowEvent* event) {
    ResultWindow::showEvent(event);
    init();
}

} // namespace zeb::gui
