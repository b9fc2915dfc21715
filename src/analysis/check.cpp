#include "analysis/check.h"

#include "analysis/normalize.h"
#include "app/number_format.h"
#include "app/texts.h"
#include "chem/conductivity.h"
#include "results/saturation.h"

namespace zeb::analysis {

namespace {

// A conductivity measured at 20 degC, referred to 25 degC.
constexpr long double kConductivity20To25 = 1.116L;

long double Value(const std::string& text) {
    return app::ParseNumber(text);
}

} // namespace

BalanceMark MarkBalance(long double difference, long double sumIons) {
    BalanceMark mark = BalanceMark::None;
    if (difference > 5.0L && sumIons >= 4.0L) {
        mark = BalanceMark::Above5;
    }
    if (difference > 10.0L && sumIons < 4.0L) {
        mark = BalanceMark::Above10;
    }
    return mark;
}

std::string_view BalanceMarkText(BalanceMark mark) {
    switch (mark) {
    case BalanceMark::Above5:
        return app::GermanText("TForm2.unitAbove5");
    case BalanceMark::Above10:
        return app::GermanText("TForm2.unitAbove10");
    case BalanceMark::None:
        break;
    }
    return app::GermanText("TForm2.unitPercent");
}

ConductivityFigures ComputeConductivityFigures(const app::WaterAnalysis& w) {
    chem::ConductivityInput in;
    in.kappa25 = Value(w.conductivity);
    if (w.condRefTemp == "20") {
        in.kappa25 *= kConductivity20To25;
    }
    in.ks43 = Value(w.ks43);
    in.po4 = Value(w.cPO4);
    in.so4 = Value(w.cSO4);
    in.cl = Value(w.cCl);
    in.no3 = Value(w.cNO3);
    in.ca = Value(w.cCa);
    in.mg = Value(w.cMg);
    in.na = Value(w.cNa);
    in.k = Value(w.cK);
    in.nh4 = Value(w.cNH4);
    in.fe = Value(w.cFe);
    in.mn = Value(w.cMn);
    in.pH = Value(w.pH);
    in.tpH = Value(w.tempPH);
    const chem::ConductivityResult r = chem::ComputeConductivity(in);

    ConductivityFigures f;
    f.sumAnions = r.sumAnions;
    f.sumCations = r.sumCations;
    f.balanceCations = r.balanceCations;
    f.balanceMean = r.balanceMean;
    f.balanceMax = r.balanceMax;
    f.balanceMark = MarkBalance(r.balanceMean, r.sumIons);
    f.mValueFromBalance = 2.0L * (in.ca + in.mg) + in.na + in.k - 2.0L * in.so4 - in.cl - in.no3;
    f.sumIons = r.sumIons;
    f.conductivityMeasured25 = in.kappa25;
    f.conductivityCalculated = r.kappaCalc;
    f.conductivityDeviation = r.kappaDeviation;
    f.ionicStrengthFromConductivity = r.iosKappa;
    return f;
}

AnalysisCheck CheckAnalysis(const app::WaterAnalysis& stored) {
    app::WaterAnalysis water = stored;
    NormalizeAllFields(water);

    AnalysisCheck check;
    check.figures = ComputeConductivityFigures(water);
    check.manualIonicStrength = water.iosMode != "IOS";
    check.ionicStrengthText = water.iosInput;

    const results::WaterInputs in = results::ParseWaterInputs(water);
    CarbonateCheck& c = check.carbonate;
    c.useDic = in.useDic;
    if (!results::PassesGuard(in)) {
        return check;
    }
    c.computed = true;
    std::array<chem::CarbonateState, 3> states;
    for (int k = 0; k < 3; ++k) {
        const results::ColumnSolution s = results::SolveColumn(in, k);
        states[k] = s.carbonate;
        c.mValue[k] = s.mValue;
        c.dic[k] = s.dic;
        c.pValue[k] = s.mValue - s.dic;
        c.anions[k] = s.ph.sumAnions;
        c.cations[k] = s.ph.sumCations;
        c.ionicStrength[k] = s.ph.ionicStrength;
        c.pH[k] = s.ph.pH;
    }
    c.pHDisagree = results::PHValuesDisagree(c.pH[0], c.pH[1], c.pH[2]);
    c.pHAgreement = results::PHAgreementText(c.pHDisagree);
    c.pHCalculated = states[0].check[0];
    c.pHMeasured = in.measured.pH;
    c.kb82Calculated = states[1].check[1];
    c.kb82Measured = in.measured.kb82 - in.measured.ks82;
    c.ks43Calculated = states[2].check[2];
    c.ks43Measured = in.measured.ks43;
    return check;
}

} // namespace zeb::analysis
