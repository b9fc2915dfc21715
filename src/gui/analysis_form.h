#pragma once
// The analysis form (TForm1): the laboratory analysis of one water as the texts of its entry
// fields, with the unit conversions of the ions, hardness and oxygen demand, the ranges of
// validity checked as the user leaves a field, and "&Test" for the analysis check. One form
// serves waters A, B and C in turn; the main window loads it, runs it and stores it back.

#include "app/project.h"
#include "gui/result_window.h"

#include <memory>
#include <string>
#include <vector>

class QLineEdit;

namespace Ui {
class AnalysisForm;
}

namespace zeb::gui {

class AnalysisCheckWindow;
class Dialogs;

class AnalysisForm : public ResultWindow {
    Q_OBJECT
public:
    explicit AnalysisForm(Dialogs& dialogs, QWidget* parent = nullptr);
    ~AnalysisForm() override;

    // Every stored text into its field; the options from the record's tokens. The ionic
    // strength field and its labels follow the loaded option.
    void LoadAnalysisForm(const app::WaterAnalysis& water);
    // Every field back into the record, cut to the 10 characters of a stored value, and the
    // options as tokens. The blend share is not on the form and stays as it is.
    void StoreAnalysisForm(app::WaterAnalysis& water) const;

    // Normalises every field, reformats the ions and recomputes the hardness.
    void NormalizeAllFields();

    // "&Test": the analysis check of the form as it stands, again and again while the check
    // window hands back a changed ionic strength.
    void test();

    AnalysisCheckWindow& checkWindow() { return *check_; }

protected:
    void ApplyWindowTexts() override;
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    struct Binding {
        QLineEdit* entry;
        std::string app::WaterAnalysis::*member;
    };
    struct IonEntries {
        QLineEdit* mmol;
        QLineEdit* mass;
        long double molarMass;
    };

    // The form's texts as a record, uncut, with the options as tokens.
    app::WaterAnalysis ReadForm() const;
    void WriteForm(const app::WaterAnalysis& water);

    void Normalize(QLineEdit* entry);
    long double Value(const QLineEdit* entry) const;
    void Inform(std::string_view messageKey);

    void ConvertIons(bool fromMmol);
    void UpdateHardness();
    void UpdateOxygenDemand();
    void LeaveExclusiveCapacity(QLineEdit* left, QLineEdit* other);
    void LeavePH();
    void LeaveTemperature(QLineEdit* entry);
    void LeaveKs43();
    void LeaveIonicStrength();
    void LeaveDic();
    void LeaveDicOption();
    // Manual ionic strength: its field enabled and its labels red; computed: disabled, black
    // and, when `clearValue`, set to zero.
    void ShowIonicStrengthOption(bool clearValue);
    void OkClick();

    std::unique_ptr<Ui::AnalysisForm> ui_;
    Dialogs& dialogs_;
    AnalysisCheckWindow* check_;
    std::vector<Binding> bindings_;
    std::vector<IonEntries> ions_;
};

} // namespace zeb::gui
