#include "diagram/equilibrium.h"

#include "chem/carbonate.h"
#include "chem/ionic_strength.h"
#include "diagram/chart.h"
#include "results/blend.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <thread>

namespace zeb::diagram {

namespace {

// The floor DoseToTarget puts under a vanishing TA or DIC.
constexpr long double kFloor = 0.000001L;

// What one mmol/L of a chemical does to the water: the TA and DIC changes of the dosage tables
// and the totals the dose adds to, per chem::Chemical.
struct Change {
    long double ta, dic, ca, mg, na;
};
constexpr Change kChanges[results::kChemicals] = {
    {2, 1, 1, 0, 0}, // CaCO3
    {4, 1, 1, 1, 0}, // CaCO3MgO
    {2, 0, 1, 0, 0}, // Ca(OH)2
    {0, 1, 0, 0, 0}, // CO2
    {1, 0, 0, 0, 1}, // NaOH
    {2, 1, 0, 0, 2}, // Na2CO3
    {1, 1, 0, 0, 1}, // NaHCO3
};

WaterPoint PointOf(const chem::SpeciesVector& species, const chem::PHSolution& ph, long double ta,
                   long double dic) {
    WaterPoint p;
    p.ks43 = ta;
    p.dic = dic;
    p.co2 = species[chem::slot::Co2];
    p.co2Mg = p.co2 * kCo2MolarMass;
    p.hco3 = species[chem::slot::Hco3];
    p.calcium = species[chem::slot::CaTotal];
    p.pH = ph.pH;
    p.si = ph.si;
    p.ionicStrength = ph.ionicStrength;
    return p;
}

// Solves the water with TA `ta` and DIC `dic` at the state's temperature, with the same ionic
// strength treatment as every window (iterated from 0, or the entered value).
WaterPoint Solve(chem::SpeciesVector species, long double ta, long double dic,
                 const ColumnState& state) {
    chem::SpeciesVector solved = species;
    chem::PHSolution ph;
    chem::PHHint hint;
    chem::IterateIonicStrength(
        state.ionicStrength.calculate, state.ionicStrength.entered, [&](long double ios) {
            solved = species;
            ph = chem::SolvePHBisection(solved, state.temperature, ios, ta, dic, &hint);
            return ph.ionicStrength;
        });
    return PointOf(solved, ph, ta, dic);
}

bool Usable(const WaterPoint& p) {
    return std::isfinite(p.ks43) && std::isfinite(p.co2) && std::isfinite(p.pH) && p.ks43 > 0 &&
           p.dic > 0 && p.pH > 0 && p.pH < 14 && p.si != chem::kNoSaturationIndex;
}

// The seven paths of a column, from the doses the dosage tables compute for it.
std::vector<DosePath> Paths(const ColumnState& state, const WaterPoint& start) {
    std::vector<DosePath> paths;
    const results::SolvedWater water{state.species, state.mValue, state.dic, state.temperature};
    for (chem::Chemical chemical : chem::kAllChemicals) {
        const chem::DoseResult dose =
            results::DoseWithIonicStrength(chemical, chem::Target::SI0, water, state.ionicStrength);
        const results::DosageValues values = results::DosageValuesFor(chemical, dose, water);
        DosePath path;
        path.chemical = chemical;
        path.doseMmol = values.doseMmol;
        path.doseMg = values.doseMg;
        path.points.push_back(start);
        for (int i = 1; i <= kPathSteps + 1; ++i)
            path.points.push_back(DosedPoint(
                state, chemical, dose.dose * i / static_cast<long double>(kPathSteps + 1)));
        paths.push_back(std::move(path));
    }
    return paths;
}

// The KS 4.3 span the curve is drawn over by default: the columns and their paths, padded.
void PointSpan(const std::vector<WaterColumn>& columns, long double& lo, long double& hi) {
    lo = columns.front().point.ks43;
    hi = lo;
    for (const WaterColumn& c : columns) {
        lo = std::min(lo, c.point.ks43);
        hi = std::max(hi, c.point.ks43);
        for (const DosePath& p : c.paths)
            for (const WaterPoint& w : p.points) {
                lo = std::min(lo, w.ks43);
                hi = std::max(hi, w.ks43);
            }
    }
}

// The curve of the reference column: dense around the water, coarse over the whole range
// from (almost) no calcium up to well beyond the water.
void AddCurve(EquilibriumDiagram& d, const ColumnState& state) {
    long double lo = 0, hi = 0;
    PointSpan(d.columns, lo, hi);
    const long double pad = std::max(0.25L * (hi - lo), 0.1L);
    // Calcium runs out where KS 4.3 has fallen by twice the water's calcium.
    const long double noCalcium = state.mValue - 2 * state.species[chem::slot::CaTotal];
    const long double wholeFrom = std::max(noCalcium, 0.0L) + 0.02L;
    // A round end, so the whole-curve view ends with the curve.
    const long double wholeTo = Rounded({0, static_cast<double>(std::max(8.0L, 2 * hi))}).max;
    std::vector<long double> dense;
    const long double denseFrom = std::max(lo - pad, wholeFrom);
    const long double denseTo = hi + pad;
    constexpr int kDense = 40;
    for (int i = 0; i <= kDense; ++i)
        dense.push_back(denseFrom + (denseTo - denseFrom) * i / kDense);
    d.curve = EquilibriumCurve(state, wholeFrom, wholeTo, 60, dense);
}

EquilibriumDiagram Assemble(std::array<ColumnState, 3> states, std::array<bool, 3> solved,
                            std::array<WaterPoint, 3> points, std::array<std::string, 3> names) {
    EquilibriumDiagram d;
    int first = -1;
    std::array<std::future<std::vector<DosePath>>, 3> paths;
    for (int k = 0; k < 3; ++k) {
        if (!solved[k] || !Usable(points[k]))
            continue;
        if (first < 0)
            first = k;
        paths[k] = std::async(std::launch::async, Paths, std::cref(states[k]), points[k]);
    }
    for (int k = 0; k < 3; ++k) {
        if (!paths[k].valid())
            continue;
        WaterColumn c;
        c.column = k;
        c.name = names[k];
        c.point = points[k];
        c.paths = paths[k].get();
        d.columns.push_back(std::move(c));
    }
    if (first < 0)
        return d;
    d.computed = true;
    d.curveColumn = first;
    d.temperature = states[first].temperature;
    AddCurve(d, states[first]);
    return d;
}

} // namespace

WaterPoint DosedPoint(const ColumnState& state, chem::Chemical chemical, long double dose) {
    const Change& c = kChanges[static_cast<int>(chemical)];
    chem::SpeciesVector species = state.species;
    species[chem::slot::CaTotal] += c.ca * dose;
    species[chem::slot::MgTotal] += c.mg * dose;
    species[chem::slot::Na] += c.na * dose;
    const long double ta = std::max(state.mValue + c.ta * dose, kFloor);
    const long double dic = std::max(state.dic + c.dic * dose, kFloor);
    return Solve(species, ta, dic, state);
}

bool EquilibriumPoint(const ColumnState& state, long double ks43, WaterPoint& point) {
    // CaCO3 dissolved (x > 0) or deposited (x < 0) takes KS 4.3 there: 2 x = ks43 - m.
    const long double x = (ks43 - state.mValue) / 2;
    chem::SpeciesVector species = state.species;
    species[chem::slot::CaTotal] += x;
    if (!(species[chem::slot::CaTotal] > 0) || !(ks43 > 0))
        return false;
    const long double dic = std::max(state.dic + x, kFloor);
    species[chem::slot::Dic] = dic; // the lower end of the CO2 search: all of it removed
    const results::SolvedWater water{species, ks43, dic, state.temperature};
    const chem::DoseResult co2 = results::DoseWithIonicStrength(
        chem::Chemical::CO2, chem::Target::SI0, water, state.ionicStrength);
    const long double total = std::max(dic + co2.dose, kFloor);
    point = Solve(species, ks43, total, state);
    return std::fabs(point.si) < EquilibriumDiagram::kCurveSiTolerance && Usable(point);
}

std::vector<WaterPoint> EquilibriumCurve(const ColumnState& state, long double from, long double to,
                                         int count, const std::vector<long double>& extra) {
    std::vector<long double> ks;
    for (int i = 0; i <= count; ++i)
        ks.push_back(from + (to - from) * i / count);
    ks.insert(ks.end(), extra.begin(), extra.end());
    std::sort(ks.begin(), ks.end());
    ks.erase(std::unique(ks.begin(), ks.end(),
                         [](long double a, long double b) { return std::fabs(a - b) < 1e-9L; }),
             ks.end());

    // Every point is its own search; spread them over the cores, keep the order.
    struct Slot {
        bool ok = false;
        WaterPoint p;
    };
    std::vector<Slot> slots(ks.size());
    const unsigned workers = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::future<void>> futures;
    for (unsigned w = 0; w < workers; ++w)
        futures.push_back(std::async(std::launch::async, [&, w] {
            for (std::size_t i = w; i < ks.size(); i += workers)
                slots[i].ok = EquilibriumPoint(state, ks[i], slots[i].p);
        }));
    for (auto& f : futures)
        f.get();
    std::vector<WaterPoint> curve;
    for (const Slot& s : slots)
        if (s.ok)
            curve.push_back(s.p);
    return curve;
}

EquilibriumDiagram ComputeWaterDiagram(const app::WaterAnalysis& water, std::string title) {
    const results::WaterInputs in = results::ParseWaterInputs(water);
    std::array<ColumnState, 3> states;
    std::array<bool, 3> solved{};
    std::array<WaterPoint, 3> points;
    std::array<std::string, 3> names;
    const auto headings = results::ColumnNames(in.useDic);
    const bool pass = results::PassesGuard(in);
    for (int k = 0; k < 3; ++k) {
        names[k] = std::string(headings[k]);
        if (!pass)
            continue;
        const results::ColumnSolution s = results::SolveColumn(in, k);
        states[k] = {s.species, s.mValue, s.dic, in.tCalc, in.ionicStrength};
        points[k] = PointOf(s.species, s.ph, s.mValue, s.dic);
        solved[k] = true;
    }
    EquilibriumDiagram d = Assemble(states, solved, points, names);
    d.text = water.text;
    d.title = std::move(title);
    if (!d.computed)
        d.temperature = in.tCalc;
    return d;
}

EquilibriumDiagram ComputeBlendDiagram(const std::array<app::WaterAnalysis, 3>& waters) {
    std::array<results::BlendWater, 3> parsed;
    for (int i = 0; i < 3; ++i)
        parsed[i] = results::ParseBlendWater(waters[i]);
    const std::optional<results::BlendState> blend = results::BlendFormation(parsed);
    std::array<ColumnState, 3> states;
    std::array<bool, 3> solved{};
    std::array<WaterPoint, 3> points;
    std::array<std::string, 3> names;
    for (int k = 0; k < 3; ++k) {
        const results::BlendColumn column = results::GetBlendColumn(k);
        // A blend column joins the pair of each water's own family.
        names[k] = std::string(column.ksKbName);
        if (std::any_of(parsed.begin(), parsed.end(),
                        [](const results::BlendWater& w) { return w.useDIC; }))
            names[k] += " | " + std::string(column.dicName);
        if (!blend)
            continue;
        chem::SpeciesVector species;
        const chem::PHSolution ph = results::SolveBlendPH(*blend, k, species);
        states[k] = {species,
                     blend->mValue[k],
                     blend->dicValue[k],
                     blend->blendTemp,
                     {blend->iterate, blend->ionicStrength}};
        points[k] = PointOf(species, ph, blend->mValue[k], blend->dicValue[k]);
        solved[k] = true;
    }
    EquilibriumDiagram d = Assemble(states, solved, points, names);
    d.title = "M";
    std::string text;
    for (int i = 0; i < 3; ++i) {
        if (!(parsed[i].share > 0))
            continue;
        if (!text.empty())
            text += " / ";
        text += waters[i].text;
    }
    d.text = text;
    if (blend && !d.computed)
        d.temperature = blend->blendTemp;
    return d;
}

} // namespace zeb::diagram
