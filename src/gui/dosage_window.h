#pragma once
// The eleven dosage windows: the doses of the seven chemicals up to SI = 0 (TForm10) and up to
// pH 7.8 (TForm9), and the water after them (pH, ionic strength, m-value, p-value, sodium).
// One class serves all eleven; each instance has its own objectName and shows one quantity of
// one target. They only display: the state-of-saturation and blend windows compute the tables
// and hand them over, so the windows show whichever of the two ran last.

#include "chem/saturation.h"
#include "gui/result_window.h"
#include "results/saturation.h"

#include <QPointer>
#include <QString>

#include <array>
#include <string_view>
#include <vector>

class QLabel;
class QPushButton;

namespace zeb::gui {

class Dialogs;

enum class DosageQuantity { Dose, PH, IonicStrength, MValue, PValue, Sodium };

struct DosageWindowKind {
    std::string_view formName;
    chem::Target target;
    DosageQuantity quantity;
};

inline constexpr int kDosageWindowCount = 11;
inline constexpr std::array<DosageWindowKind, kDosageWindowCount> kDosageWindowKinds{{
    {"TForm10", chem::Target::SI0, DosageQuantity::Dose},
    {"TForm30", chem::Target::SI0, DosageQuantity::PH},
    {"TForm40", chem::Target::SI0, DosageQuantity::IonicStrength},
    {"TForm44", chem::Target::SI0, DosageQuantity::MValue},
    {"TForm45", chem::Target::SI0, DosageQuantity::PValue},
    {"TForm46", chem::Target::SI0, DosageQuantity::Sodium},
    {"TForm9", chem::Target::pH78, DosageQuantity::Dose},
    {"TForm43", chem::Target::pH78, DosageQuantity::IonicStrength},
    {"TForm53", chem::Target::pH78, DosageQuantity::MValue},
    {"TForm54", chem::Target::pH78, DosageQuantity::PValue},
    {"TForm55", chem::Target::pH78, DosageQuantity::Sodium},
}};

class DosageWindow : public ResultWindow {
    Q_OBJECT
public:
    DosageWindow(const DosageWindowKind& kind, Dialogs& dialogs, QWidget* parent = nullptr);

    const DosageWindowKind& kind() const { return kind_; }

    // The column headings of the family; every value emptied.
    void SetFamily(bool useDic);
    void ShowValues(const results::DosageTables& tables);

    // The button `buttonName` ("buttonPH", "buttonIos", ...) opens `window` with this window's
    // caption suffix.
    void SetSubWindow(std::string_view buttonName, DosageWindow& window);

    // The value label of a chemical in column 0..2; `mg` the mg/L block of the dose windows.
    // Null for a chemical the window has no row for.
    QLabel* valueLabel(chem::Chemical chemical, int column, bool mg = false) const;

protected:
    void ApplyWindowTexts() override;

private:
    struct Row {
        chem::Chemical chemical;
        bool mg;
        QLabel* label;
        std::array<QLabel*, results::kColumns> values;
    };

    void AddButton(std::string_view name);

    DosageWindowKind kind_;
    Dialogs& dialogs_;
    bool useDic_ = false;
    std::array<QLabel*, results::kColumns> headings_{};
    std::vector<Row> rows_;
    std::vector<QPushButton*> buttons_;
    QLabel* heading_ = nullptr;
};

// The eleven windows, created together and shared by the state of saturation of one water and
// of the blend. The windows are children of `parent` when one is given; otherwise this object
// owns them.
class DosageWindows : public QObject {
    Q_OBJECT
public:
    explicit DosageWindows(Dialogs& dialogs, QWidget* parent = nullptr);
    ~DosageWindows() override;

    DosageWindow& at(std::string_view formName) const;
    DosageWindow& of(chem::Target target) const {
        return at(target == chem::Target::SI0 ? "TForm10" : "TForm9");
    }
    const std::array<QPointer<DosageWindow>, kDosageWindowCount>& all() const { return windows_; }

    // The headings of the family in all eleven windows, every value emptied.
    void Relabel(bool useDic);
    void Show(const results::DosageTables& tables);

    // The "SI=&0" and "&pH=7,8" buttons: the target's dose window, modally, carrying `suffix`
    // while it is open.
    void Open(chem::Target target, const QString& suffix);

private:
    Dialogs& dialogs_;
    std::array<QPointer<DosageWindow>, kDosageWindowCount> windows_;
};

} // namespace zeb::gui
