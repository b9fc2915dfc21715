#include "gui/dosage_window.h"

#include "gui/dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <span>
#include <stdexcept>
#include <string>

namespace zeb::gui {

namespace {

constexpr std::array<std::string_view, results::kChemicals> kChemicalKeys{
    "CaCO3", "CaCO3MgO", "CaOH2", "CO2", "NaOH", "Na2CO3", "NaHCO3"};

QString Name(std::string_view text) {
    return QString::fromUtf8(text.data(), text.size());
}

const char* UnitOf(DosageQuantity quantity, bool mg) {
    switch (quantity) {
    case DosageQuantity::Dose:
        return mg ? "mg/L" : "mmol/L";
    case DosageQuantity::PH:
        return "";
    case DosageQuantity::Sodium:
        return "mg/L";
    default:
        return "mmol/L";
    }
}

long double ValueOf(const results::DosageValues& v, DosageQuantity quantity, bool mg) {
    switch (quantity) {
    case DosageQuantity::Dose:
        return mg ? v.doseMg : v.doseMmol;
    case DosageQuantity::PH:
        return v.pH;
    case DosageQuantity::IonicStrength:
        return v.ionicStrength;
    case DosageQuantity::MValue:
        return v.mValue;
    case DosageQuantity::PValue:
        return v.pValue;
    case DosageQuantity::Sodium:
        return v.sodiumMg;
    }
    return 0;
}

// The buttons of the two dose windows, in their order, and the windows they open.
struct SubWindowButton {
    std::string_view button;
    std::string_view form;
};
constexpr SubWindowButton kSI0Buttons[] = {{"buttonPH", "TForm30"},
                                           {"buttonIos", "TForm40"},
                                           {"buttonM", "TForm44"},
                                           {"buttonP", "TForm45"},
                                           {"buttonNa", "TForm46"}};
constexpr SubWindowButton kPH78Buttons[] = {{"buttonIos", "TForm43"},
                                            {"buttonM", "TForm53"},
                                            {"buttonP", "TForm54"},
                                            {"buttonNa", "TForm55"}};

} // namespace

DosageWindow::DosageWindow(const DosageWindowKind& kind, Dialogs& dialogs, QWidget* parent)
    : ResultWindow(parent), kind_(kind), dialogs_(dialogs) {
    setObjectName(Name(kind.formName));
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(2);
    layout->addLayout(grid);

    heading_ = new QLabel(this);
    heading_->setObjectName("headingCalculatedUsing");
    grid->addWidget(heading_, 0, 1, 1, results::kColumns);
    for (int k = 0; k < results::kColumns; ++k) {
        headings_[k] = new QLabel(this);
        headings_[k]->setObjectName(QStringLiteral("headingColumn%1").arg(k + 1));
        headings_[k]->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        grid->addWidget(headings_[k], 1, k + 1);
    }

    int gridRow = 2;
    const auto addBlock = [&](bool mg) {
        for (chem::Chemical chemical : chem::kAllChemicals) {
            if (kind_.quantity == DosageQuantity::Sodium && !results::HasSodiumRow(chemical))
                continue;
            const QString key = Name(kChemicalKeys[static_cast<int>(chemical)]);
            Row row{chemical, mg, new QLabel(this), {}};
            // The mg/L block repeats the labels; only the first block carries the table's names.
            row.label->setObjectName(QStringLiteral("row") + key + (mg ? "Mg" : ""));
            grid->addWidget(row.label, gridRow, 0);
            for (int k = 0; k < results::kColumns; ++k) {
                row.values[k] = new QLabel(this);
                row.values[k]->setObjectName(QStringLiteral("value%1%2%3")
                                                 .arg(key, mg ? QStringLiteral("Mg") : QString())
                                                 .arg(k + 1));
                row.values[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
                grid->addWidget(row.values[k], gridRow, k + 1);
            }
            grid->addWidget(new QLabel(QString::fromUtf8(UnitOf(kind_.quantity, mg)), this),
                            gridRow, results::kColumns + 1);
            rows_.push_back(row);
            ++gridRow;
        }
    };
    addBlock(false);
    if (kind_.quantity == DosageQuantity::Dose) {
        grid->setRowMinimumHeight(gridRow++, 10);
        addBlock(true);
    }

    auto* buttons = new QHBoxLayout;
    layout->addSpacing(8);
    layout->addLayout(buttons);
    if (kind_.quantity == DosageQuantity::Dose) {
        const auto addButtons = [&](std::span<const SubWindowButton> list) {
            for (const SubWindowButton& b : list) {
                auto* button = new QPushButton(this);
                button->setObjectName(Name(b.button));
                button->setAutoDefault(false);
                buttons->addWidget(button);
            }
        };
        if (kind_.target == chem::Target::SI0)
            addButtons(kSI0Buttons);
        else
            addButtons(kPH78Buttons);
    }
    buttons->addStretch();
    auto* quit = new QPushButton(this);
    quit->setObjectName("buttonQuit");
    quit->setDefault(true);
    buttons->addWidget(quit);
    connect(quit, &QPushButton::clicked, this, &QDialog::accept);

    StyleValueLabels(8);
    ApplyTexts(app::Language::German);
}

void DosageWindow::SetSubWindow(std::string_view buttonName, DosageWindow& window) {
    auto* button = findChild<QPushButton*>(Name(buttonName));
    if (!button)
        throw std::invalid_argument("no button " + std::string(buttonName));
    connect(button, &QPushButton::clicked, this,
            [this, &window] { window.RunModal(dialogs_, captionSuffix()); });
}

void DosageWindow::SetFamily(bool useDic) {
    useDic_ = useDic;
    for (const Row& row : rows_)
        for (QLabel* value : row.values)
            value->clear();
    ApplyWindowTexts();
}

void DosageWindow::ShowValues(const results::DosageTables& tables) {
    for (const Row& row : rows_) {
        for (int k = 0; k < results::kColumns; ++k)
            SetValue(*row.values[k],
                     ValueOf(tables.at(kind_.target, row.chemical, k), kind_.quantity, row.mg));
    }
}

QLabel* DosageWindow::valueLabel(chem::Chemical chemical, int column, bool mg) const {
    for (const Row& row : rows_)
        if (row.chemical == chemical && row.mg == mg)
            return row.values.at(column);
    return nullptr;
}

void DosageWindow::ApplyWindowTexts() {
    ShowColumnHeadings(headings_, useDic_);
    for (const Row& row : rows_)
        row.label->setText(WindowText(std::string("row") +
                                      std::string(kChemicalKeys[static_cast<int>(row.chemical)])));
}

DosageWindows::DosageWindows(Dialogs& dialogs, QWidget* parent)
    : QObject(parent), dialogs_(dialogs) {
    for (int i = 0; i < kDosageWindowCount; ++i)
        windows_[i] = new DosageWindow(kDosageWindowKinds[i], dialogs, parent);
    for (const SubWindowButton& b : kSI0Buttons)
        at("TForm10").SetSubWindow(b.button, at(b.form));
    for (const SubWindowButton& b : kPH78Buttons)
        at("TForm9").SetSubWindow(b.button, at(b.form));
}

DosageWindows::~DosageWindows() {
    // Windows with a parent may be gone already; the others are ours.
    for (const QPointer<DosageWindow>& window : windows_)
        if (window && !window->parent())
            delete window.data();
}

DosageWindow& DosageWindows::at(std::string_view formName) const {
    for (const auto& window : windows_)
        if (window->kind().formName == formName)
            return *window;
    throw std::out_of_range("no dosage window " + std::string(formName));
}

void DosageWindows::Relabel(bool useDic) {
    for (const auto& window : windows_)
        window->SetFamily(useDic);
}

void DosageWindows::Show(const results::DosageTables& tables) {
    for (const auto& window : windows_)
        window->ShowValues(tables);
}

void DosageWindows::Open(chem::Target target, const QString& suffix) {
    of(target).RunModal(dialogs_, suffix);
}

} // namespace zeb::gui
