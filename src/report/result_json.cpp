#include "report/result_json.h"

namespace zeb::report {

namespace {

template <class Column, class Get> Json PerColumn(const std::array<Column, 3>& columns, Get get) {
    return JsonNumbers({get(columns[0]), get(columns[1]), get(columns[2])});
}

} // namespace

Json JsonNumbers(const std::array<long double, 3>& values) {
    Json a = Json::array();
    for (long double v : values)
        a.push_back(JsonNumber(v));
    return a;
}

Json ColumnNamesJson(bool useDic) {
    Json a = Json::array();
    for (std::string_view n : results::ColumnNames(useDic))
        a.push_back(std::string(n));
    return a;
}

Json DosageJson(const results::DosageTables& d) {
    using V = results::DosageValues;
    Json tables = Json::object();
    for (auto [target, name] :
         {std::pair{chem::Target::SI0, "SI0"}, std::pair{chem::Target::pH78, "pH78"}}) {
        Json chemicals = Json::object();
        // A structured binding cannot be captured before C++20 compilers catch up (clang 14).
        const chem::Target t = target;
        for (chem::Chemical c : chem::kAllChemicals) {
            auto get = [&](long double V::*q) {
                return JsonNumbers({d.at(t, c, 0).*q, d.at(t, c, 1).*q, d.at(t, c, 2).*q});
            };
            Json j;
            j["doseMmol"] = get(&V::doseMmol);
            j["doseMg"] = get(&V::doseMg);
            j["pH"] = get(&V::pH);
            j["ionicStrength"] = get(&V::ionicStrength);
            j["mValue"] = get(&V::mValue);
            j["pValue"] = get(&V::pValue);
            if (results::HasSodiumRow(c))
                j["sodiumMg"] = get(&V::sodiumMg);
            chemicals[std::string(chem::ChemicalName(c))] = j;
        }
        tables[name] = chemicals;
    }
    return tables;
}

Json CheckJson(const analysis::AnalysisCheck& c) {
    const analysis::ConductivityFigures& f = c.figures;
    Json j;
    j["sumAnions"] = JsonNumber(f.sumAnions);
    j["sumCations"] = JsonNumber(f.sumCations);
    j["balanceCations"] = JsonNumber(f.balanceCations);
    j["balanceMean"] = JsonNumber(f.balanceMean);
    j["balanceMax"] = JsonNumber(f.balanceMax);
    j["balanceMark"] = std::string(analysis::BalanceMarkText(f.balanceMark));
    j["mValueFromBalance"] = JsonNumber(f.mValueFromBalance);
    j["sumIons"] = JsonNumber(f.sumIons);
    j["conductivityMeasured25"] = JsonNumber(f.conductivityMeasured25);
    j["conductivityCalculated"] = JsonNumber(f.conductivityCalculated);
    j["conductivityDeviation"] = JsonNumber(f.conductivityDeviation);
    j["ionicStrengthFromConductivity"] = JsonNumber(f.ionicStrengthFromConductivity);
    const analysis::CarbonateCheck& k = c.carbonate;
    Json carbonate;
    carbonate["computed"] = k.computed;
    carbonate["columns"] = ColumnNamesJson(k.useDic);
    if (k.computed) {
        carbonate["mValue"] = JsonNumbers(k.mValue);
        carbonate["dic"] = JsonNumbers(k.dic);
        carbonate["pValue"] = JsonNumbers(k.pValue);
        carbonate["anions"] = JsonNumbers(k.anions);
        carbonate["cations"] = JsonNumbers(k.cations);
        carbonate["ionicStrength"] = JsonNumbers(k.ionicStrength);
        carbonate["pH"] = JsonNumbers(k.pH);
        carbonate["pHAgreement"] = k.pHAgreement;
        carbonate["pHCalculated"] = JsonNumber(k.pHCalculated);
        carbonate["pHMeasured"] = JsonNumber(k.pHMeasured);
        carbonate["kb82Calculated"] = JsonNumber(k.kb82Calculated);
        carbonate["kb82Measured"] = JsonNumber(k.kb82Measured);
        carbonate["ks43Calculated"] = JsonNumber(k.ks43Calculated);
        carbonate["ks43Measured"] = JsonNumber(k.ks43Measured);
    }
    j["carbonate"] = carbonate;
    return j;
}

Json SaturationJson(const results::WaterSaturation& r, bool withDosage) {
    using C = results::SaturationColumn;
    Json j;
    j["computed"] = r.computed;
    j["columns"] = ColumnNamesJson(r.useDic);
    if (!r.computed)
        return j;
    j["mValue"] = PerColumn(r.columns, [](const C& c) { return c.mValue; });
    j["dic"] = PerColumn(r.columns, [](const C& c) { return c.dic; });
    j["pValue"] = PerColumn(r.columns, [](const C& c) { return c.pValue; });
    j["anions"] = PerColumn(r.columns, [](const C& c) { return c.anions; });
    j["cations"] = PerColumn(r.columns, [](const C& c) { return c.cations; });
    j["pHCalculated"] = JsonNumber(r.pHCalculated);
    j["pHMeasured"] = JsonNumber(r.pHMeasured);
    j["kb82Calculated"] = JsonNumber(r.kb82Calculated);
    j["kb82Measured"] = JsonNumber(r.kb82Measured);
    j["ks43Calculated"] = JsonNumber(r.ks43Calculated);
    j["ks43Measured"] = JsonNumber(r.ks43Measured);
    j["tCalc"] = JsonNumber(r.tCalc);
    j["pH"] = PerColumn(r.columns, [](const C& c) { return c.pH; });
    j["pHA"] = PerColumn(r.columns, [](const C& c) { return c.pHA; });
    j["si"] = PerColumn(r.columns, [](const C& c) { return c.si; });
    j["pHc"] = PerColumn(r.columns, [](const C& c) { return c.pHc; });
    j["ionicStrength"] = PerColumn(r.columns, [](const C& c) { return c.ionicStrength; });
    j["dcMmol"] = PerColumn(r.columns, [](const C& c) { return c.dcMmol; });
    j["dcMg"] = PerColumn(r.columns, [](const C& c) { return c.dcMg; });
    j["pHAgreement"] = r.pHAgreement;
    if (withDosage)
        j["dosage"] = DosageJson(r.dosage);
    return j;
}

} // namespace zeb::report
