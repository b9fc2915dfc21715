#pragma once
// The analysis check: charge balance, measured against calculated conductivity, ionic strength
// from the conductivity, and the carbonate system computed from each input pair of the family.

#include "app/project.h"

#include <array>
#include <string>
#include <string_view>

namespace zeb::analysis {

// The mark of a charge-balance difference: above 5 % counts for waters with at least 4 mmol/L of
// ions, above 10 % for thinner ones.
enum class BalanceMark { None, Above5, Above10 };
BalanceMark MarkBalance(long double difference, long double sumIons);
// The unit label of the check window: "%", "> 5 %" or "> 10 %".
std::string_view BalanceMarkText(BalanceMark mark);

// Sections 1 to 3 of the check, without complexation.
struct ConductivityFigures {
    long double sumAnions = 0;                   // S-, meq/L
    long double sumCations = 0;                  // S+, meq/L
    long double balanceCations = 0;              // |(S- - S+)/S+|*100, %
    long double balanceMean = 0;                 // |(S- - S+)/(S- + S+)|*200, %
    long double balanceMax = 0;                  // |(S- - S+)/max(S-,S+)|*100, %
    BalanceMark balanceMark = BalanceMark::None; // of balanceMean
    long double mValueFromBalance = 0;           // 2(Ca + Mg) + Na + K - 2 SO4 - Cl - NO3
    long double sumIons = 0;                     // mmol/L
    long double conductivityMeasured25 = 0;      // entered, x 1.116 when referred to 20 degC; mS/m
    long double conductivityCalculated = 0;      // mS/m
    long double conductivityDeviation = 0;       // %
    long double ionicStrengthFromConductivity = 0; // mmol/L
};
// From the analysis as it stands (no normalisation).
ConductivityFigures ComputeConductivityFigures(const app::WaterAnalysis& water);

// Section 4: the carbonate system, with complexation.
struct CarbonateCheck {
    bool computed = false; // false when pH <= 2 or KS 4.3 <= 0
    bool useDic = false;
    std::array<long double, 3> mValue{}, dic{}, pValue{}, anions{}, cations{};
    std::array<long double, 3> ionicStrength{}; // I' of the last pH solution
    std::array<long double, 3> pH{};            // pH(Tcalc)
    bool pHDisagree = false;
    std::string pHAgreement;
    long double pHCalculated = 0, pHMeasured = 0;
    long double kb82Calculated = 0, kb82Measured = 0;
    long double ks43Calculated = 0, ks43Measured = 0;
};

struct AnalysisCheck {
    ConductivityFigures figures;
    // The "IOS for calculation" row, shown only when the ionic strength is entered by hand.
    bool manualIonicStrength = false;
    std::string ionicStrengthText; // the analysis form's ionic strength field
    CarbonateCheck carbonate;
};

// "&Test" of the analysis form: works on a copy of `water` after NormalizeAllFields.
AnalysisCheck CheckAnalysis(const app::WaterAnalysis& water);

} // namespace zeb::analysis
