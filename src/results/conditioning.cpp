#include "results/conditioning.h"

#include "app/number_format.h"
#include "chem/carbonate.h"
#include "chem/ionic_strength.h"
#include "chem/numeric.h"
#include "chem/saturation.h"

#include <cmath>

namespace zeb::results {

namespace {

using app::ConditioningData;

constexpr long double kMaxTemperature = 90.0L;   // degC
constexpr long double kMaxIonicStrength = 50.0L; // mmol/L
// A water without carbonate has no pH of its own; the solver needs some DIC to work on.
constexpr long double kDicFloor = 0.001L;
// Correction of the m-value for the acid that takes the sample from its pH to 4.3.
constexpr long double kMValueCorrection = 0.05L;
constexpr std::string_view kZeroVolume = "   0.000";

constexpr std::string_view kTokens[] = {"CO2",   "HCl",    "NaOH",     "Ca(OH)2", "NaHCO3",
                                        "CaCO3", "Na2CO3", "CaCO3MgO", "CaCl2"};

std::array<std::string*, 14> NumericFields(ConditioningData& d) {
    return {&d.tm,  &d.tC,  &d.T,    &d.IOS,  &d.cNa,  &d.cK, &d.cCa,
            &d.cMg, &d.cCl, &d.cNO3, &d.cSO4, &d.cPO4, &d.cx, &d.Vx};
}

} // namespace

std::string_view ConditioningChemicalToken(ConditioningChemical chemical) {
    return kTokens[static_cast<int>(chemical)];
}

ConditioningChemical ParseConditioningChemical(std::string_view token) {
    for (ConditioningChemical c : kConditioningChemicals) {
        if (ConditioningChemicalToken(c) == token)
            return c;
    }
    return ConditioningChemical::CaCO3;
}

bool ConditioningWithDilution(const ConditioningData& data) {
    return data.Vx != kZeroVolume;
}

void SelectWithoutDilution(ConditioningData& data) {
    if (app::ParseNumber(data.Vx) > 0.0L)
        data.Vx = std::string(kZeroVolume);
}

std::vector<std::string_view> NormalizeConditioningInputs(ConditioningData& data) {
    for (std::string* f : NumericFields(data))
        app::NormalizeNumberText(*f);
    std::vector<std::string_view> messages;
    if (app::ParseNumber(data.T) > kMaxTemperature)
        messages.push_back("msg.rangeTemperature");
    if (app::ParseNumber(data.IOS) > kMaxIonicStrength)
        messages.push_back("msg.rangeIonicStrength");
    return messages;
}

void TakeConditioningFromWater(ConditioningData& data, const app::WaterAnalysis& water) {
    const long double ks43 = app::ParseNumber(water.ks43);
    const long double kb82 = app::ParseNumber(water.kb82);
    const long double ks82 = app::ParseNumber(water.ks82);
    data.text = water.text;
    data.tm = app::FormatFixed(ks43 - kMValueCorrection, 8, 3);
    data.tC = app::FormatFixed(ks43 - kMValueCorrection + kb82 - ks82, 8, 3);
    data.T = water.tempCalc;
    data.IOS = water.iosInput;
    data.cNa = water.cNa;
    data.cK = water.cK;
    data.cCa = water.cCa;
    data.cMg = water.cMg;
    data.cCl = water.cCl;
    data.cNO3 = water.cNO3;
    data.cSO4 = water.cSO4;
    data.cPO4 = water.cPO4;
}

ConditioningResult ComputeConditioning(const ConditioningData& data, bool withDilution) {
    ConditioningResult r;
    r.inputs = data;
    r.messageKeys = NormalizeConditioningInputs(r.inputs);
    r.withDilution = withDilution;
    r.chemical = ParseConditioningChemical(r.inputs.chemical);

    const ConditioningData& in = r.inputs;
    auto num = [](const std::string& s) { return app::ParseNumber(s); };
    const long double m = num(in.tm), dic = num(in.tC), t = num(in.T), ios = num(in.IOS);
    const long double na = num(in.cNa), k = num(in.cK), ca = num(in.cCa), mg = num(in.cMg);
    const long double cl = num(in.cCl), no3 = num(in.cNO3), so4 = num(in.cSO4), po4 = num(in.cPO4);
    const long double cx = num(in.cx), vx = num(in.Vx);

    const long double ratio = vx / 1000.0L; // L/m3 -> m3 per m3
    const long double dil = 1.0L + ratio;
    const long double x = withDilution ? cx * ratio : cx;
    r.dose = x;
    r.dilutionFactor = dil;

    ConditioningIons& ions = r.ions;
    ions = {na / dil, k / dil, ca / dil, mg / dil, cl / dil, no3 / dil, so4 / dil, po4 / dil};
    long double mNew = 0.0L, dicNew = 0.0L;
    // A changed ion is taken from its undiluted value so that it is diluted once.
    switch (r.chemical) {
    case ConditioningChemical::CO2:
        mNew = m / dil;
        dicNew = (dic + x) / dil;
        break;
    case ConditioningChemical::HCl:
        mNew = (m - x) / dil;
        dicNew = dic / dil;
        ions.cl = (cl + x) / dil;
        break;
    case ConditioningChemical::NaOH:
        mNew = (m + x) / dil;
        dicNew = dic / dil;
        ions.na = (na + x) / dil;
        break;
    case ConditioningChemical::CaOH2:
        mNew = (m + 2.0L * x) / dil;
        dicNew = dic / dil;
        ions.ca = (ca + x) / dil;
        break;
    case ConditioningChemical::NaHCO3:
        mNew = (m + x) / dil;
        dicNew = (dic + x) / dil;
        ions.na = (na + x) / dil;
        break;
    case ConditioningChemical::CaCO3:
        mNew = (m + 2.0L * x) / dil;
        dicNew = (dic + x) / dil;
        ions.ca = (ca + x) / dil;
        break;
    case ConditioningChemical::Na2CO3:
        mNew = (m + 2.0L * x) / dil;
        dicNew = (dic + x) / dil;
        ions.na = (na + 2.0L * x) / dil;
        break;
    case ConditioningChemical::CaCO3MgO:
        mNew = (m + 4.0L * x) / dil;
        dicNew = (dic + x) / dil;
        ions.ca = (ca + x) / dil;
        ions.mg = (mg + x) / dil;
        break;
    case ConditioningChemical::CaCl2:
        mNew = m / dil;
        dicNew = dic / dil;
        ions.ca = (ca + x) / dil;
        ions.cl = (cl + 2.0L * x) / dil;
        break;
    }

    chem::SpeciesVector species;
    chem::ClearVector50(species);
    species[chem::slot::CaTotal] = ions.ca;
    species[chem::slot::MgTotal] = ions.mg;
    species[chem::slot::So4Total] = ions.so4;
    species[chem::slot::Na] = ions.na;
    species[chem::slot::K] = ions.k;
    species[chem::slot::Cl] = ions.cl;
    species[chem::slot::No3] = ions.no3;
    species[chem::slot::Po4Total] = ions.po4;

    if (dicNew < kDicFloor)
        dicNew = kDicFloor;
    r.mValue = mNew;
    r.dic = dicNew;
    r.pValue = mNew - dicNew;

    // Both loops start from the entered (diluted) ionic strength rather than from 0, and each
    // pass feeds back the ionic strength the previous one returned.
    long double current = ios / dil;
    chem::PHSolution ph;
    chem::PHHint hint;
    long double change = 0.0L;
    int passes = 0;
    do {
        ph = chem::SolvePHBisection(species, t, current, mNew, dicNew, &hint);
        change = current - ph.ionicStrength;
        current = ph.ionicStrength;
        ++passes;
    } while (!(std::fabs(change) < chem::kIonicStrengthTolerance) &&
             passes < chem::kIonicStrengthMaxPasses);
    r.ionicStrength = ph.ionicStrength;
    r.pH = ph.pH;
    r.si = ph.si;
    r.chargeBalance = ph.sumCations - ph.sumAnions;

    chem::DoseResult dc;
    passes = 0;
    do {
        dc = chem::DoseToTarget(chem::Chemical::CaCO3, chem::Target::SI0, species, mNew, dicNew, t,
                                current);
        change = current - dc.ionicStrength;
        current = dc.ionicStrength;
        ++passes;
    } while (!(std::fabs(change) < chem::kIonicStrengthTolerance) &&
             passes < chem::kIonicStrengthMaxPasses);
    r.dc = dc.dose;
    return r;
}

} // namespace zeb::results
