#pragma once
// The open document: three water analyses, the conditioning and W 216 inputs, all held as the
// texts of their entry fields, plus the reference copies used to detect changes.

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace zeb::app {

// The analysis data of one water, fields in their declared (and file) order.
struct WaterAnalysis {
    std::string text;
    std::string pH, tempPH, tempCalc, conductivity, ks43, tempTitr43, kb82, ks82, tempTitr82, dic,
        toc, oxygen, iosInput;
    std::string cNa, cK, cCa, cMg, cCl, cNO3, cSO4, cPO4, cNH4, cFe, cMn, cO2Demand;
    std::string massNa, massK, massCa, massMg, massCl, massNO3, massSO4, massPO4, massNH4, massFe,
        massMn, massO2Demand;
    std::string condRefTemp; // "20" or "25"
    std::string dicMode;     // "DIC" computes from c(DIC), anything else ("KSB") from KB/KS
    std::string iosMode;     // "IOS" lets the program compute the ionic strength, else iosInput
    std::string blendPercent, hardnessMmol, hardnessDH;

    bool operator==(const WaterAnalysis&) const = default;
};

struct WaterField {
    std::string_view name;
    std::string WaterAnalysis::*member;
};
// All 44 fields in declared order, named as in the model.
std::span<const WaterField> WaterAnalysisFields();

// Inputs of the conditioning command.
struct ConditioningData {
    std::string text;
    std::string tm, tC, T, IOS, cNa, cK, cCa, cMg, cCl, cNO3, cSO4, cPO4;
    std::string chemical; // "CO2", "HCl", "NaOH", "Ca(OH)2", "NaHCO3", "CaCO3", "Na2CO3", ...
    std::string cx, Vx;   // concentration (mol/m3) and volume (L/m3) of the dosing solution

    bool operator==(const ConditioningData&) const = default;
};

struct ConditioningField {
    std::string_view name; // the label under which the project file stores the value
    std::string ConditioningData::*member;
};
// The 15 values after the text: tm, tC, T, IOS, c(Na) ... c(PO4), chemical, c(x), V(x).
std::span<const ConditioningField> ConditioningFields();

// Inputs of the W 216 assessment.
struct W216Data {
    // Indices into `values`.
    enum Index {
        O2First = 0,
        O2Second,
        Ks43First,
        Ks43Second,
        ClFirst,
        ClSecond,
        SO4First,
        SO4Second,
        PO4First,
        PO4Second,
        DOCFirst,
        DOCSecond,
        QAFirst,
        QASecond,
        Share1First,
        Share2First,
        Share1Second,
        Share2Second,
        Letter1,
        Letter2,
        ValueCount
    };
    std::string reserved; // never set by a command, only carried through the file
    std::string text;
    std::array<std::string, ValueCount> values;

    bool operator==(const W216Data&) const = default;
};

void SetDefaultWater(WaterAnalysis& water);
void SetDefaultConditioning(ConditioningData& data);
void SetDefaultW216(W216Data& data);

enum class WaterId { A = 0, B = 1, C = 2 };
constexpr std::array<WaterId, 3> kAllWaters{WaterId::A, WaterId::B, WaterId::C};
char WaterLetter(WaterId id);

// The five parts of a project that editing changes and the change check compares.
struct ProjectParts {
    std::array<WaterAnalysis, 3> waters;
    ConditioningData conditioning;
    W216Data w216;

    bool operator==(const ProjectParts&) const = default;
};

class Project {
public:
    Project();

    WaterAnalysis& water(WaterId id) { return parts.waters[static_cast<int>(id)]; }
    const WaterAnalysis& water(WaterId id) const { return parts.waters[static_cast<int>(id)]; }

    // Resets all five parts to their defaults and takes the reference copies.
    void SetDefaults();
    // Copies all five parts into referenceCopy.
    void TakeReferenceCopies();

    // Compares the parts with the reference copies (blend fractions excepted, which are compared
    // as the texts of the blend-fractions fields A and B). Sets `modified` when something differs,
    // never clears it. Returns whether a difference was found, i.e. whether the "modified" mark
    // belongs in the status bar now.
    bool CheckModified(std::string_view blendFieldA, std::string_view blendFieldB);

    ProjectParts parts;
    ProjectParts referenceCopy;
    ProjectParts editingCopy; // the piece an editing window works on
    std::string fileName;
    bool modified = false;
};

} // namespace zeb::app
