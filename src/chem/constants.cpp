#include "chem/constants.h"

#include "chem/numeric.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>

namespace zeb::chem {
namespace {

struct IonSize {
    std::size_t slot;
    long double chargeSquared;
    long double size; // ion size parameter a (Angstrom)
};

constexpr IonSize kIons[] = {
    {slot::H, 1.0L, 6.8L},       {slot::Oh, 1.0L, 4.2L},      {slot::Hco3, 1.0L, 1.5L},
    {slot::Co3, 4.0L, 4.1L},     {slot::Ca, 4.0L, 5.4L},      {slot::CaHco3, 1.0L, 5.4L},
    {slot::Mg, 4.0L, 6.2L},      {slot::MgHco3, 1.0L, 6.2L},  {slot::So4, 4.0L, 3.0L},
    {slot::H2po4, 1.0L, 1.5L},   {slot::Hpo4, 4.0L, 3.6L},    {slot::Po4, 9.0L, 4.1L},
    {slot::CaPo4, 1.0L, 5.4L},   {slot::CaH2po4, 1.0L, 5.4L}, {slot::MgPo4, 1.0L, 6.2L},
    {slot::MgH2po4, 1.0L, 6.2L}, {slot::CaOh, 1.0L, 5.4L},    {slot::MgOh, 1.0L, 6.2L},
    {slot::Hso4, 1.0L, 3.0L},
};

// One lg gamma term of a constant: +1 for a charged species in the denominator of the
// mass-action expression, -1 for one in the numerator. Applied in the listed order.
struct GammaTerm {
    int sign;
    std::size_t slot;
};

struct ConstantDef {
    long double lgK25;
    long double deltaH;  // J/mol
    long double deltaCp; // J/(mol K)
    long double factor;  // to mmol/L based units
    int termCount;
    GammaTerm terms[3];
};

constexpr long double kMmol = 1000.0L;
constexpr long double kMmol2 = 1000000.0L;

// clang-format off
constexpr ConstantDef kConstants[kConstantCount] = {
    /* K1  */ {-6.356L,   9250.0L,  -330.0L, kMmol,  2, {{-1, slot::H}, {-1, slot::Hco3}}},
    /* K2  */ {-10.329L,  14950.0L, -290.0L, kMmol,  3, {{-1, slot::H}, {-1, slot::Co3}, {+1, slot::Hco3}}},
    /* K3  */ {-1.121L,  -7950.0L,   0.0L,   kMmol,  3, {{-1, slot::Ca}, {-1, slot::Hco3}, {+1, slot::CaHco3}}},
    /* K4  */ {-3.2L,    -16000.0L, -430.0L, kMmol,  2, {{-1, slot::Ca}, {-1, slot::Co3}}},
    /* K5  */ {-2.31L,   -7600.0L,  -170.0L, kMmol,  2, {{-1, slot::Ca}, {-1, slot::So4}}},
    /* K6  */ {-1.068L,  -7250.0L,   0.0L,   kMmol,  3, {{-1, slot::Mg}, {-1, slot::Hco3}, {+1, slot::MgHco3}}},
    /* K7  */ {-2.947L,  -13000.0L, -70.0L,  kMmol,  2, {{-1, slot::Mg}, {-1, slot::Co3}}},
    /* K8  */ {-2.263L,  -18000.0L, -10.0L,  kMmol,  2, {{-1, slot::Mg}, {-1, slot::So4}}},
    /* K9  */ {-13.996L,  56532.0L, -197.0L, kMmol2, 2, {{-1, slot::H}, {-1, slot::Oh}}},
    /* K10 */ {-8.481L,  -10000.0L, -250.0L, kMmol2, 2, {{-1, slot::Ca}, {-1, slot::Co3}}},
    /* K11 */ {-18.156L,  4150.0L,  -460.0L, kMmol2, 3, {{-1, slot::Co3}, {-1, slot::H}, {-1, slot::H}}},
    /* K12 */ {-2.149L,  -7690.0L,  -160.0L, kMmol,  2, {{-1, slot::H}, {-1, slot::H2po4}}},
    /* K13 */ {-7.2L,     4080.0L,  -230.0L, kMmol,  3, {{-1, slot::H}, {-1, slot::Hpo4}, {+1, slot::H2po4}}},
    /* K14 */ {-11.959L,  4370.0L,  -510.0L, kMmol,  3, {{-1, slot::H}, {-1, slot::Po4}, {+1, slot::Hpo4}}},
    /* K15 */ {-6.462L,  -11500.0L,  0.0L,   kMmol,  3, {{-1, slot::Po4}, {-1, slot::Ca}, {+1, slot::CaPo4}}},
    /* K16 */ {-2.572L,  -12370.0L,  510.0L, kMmol,  2, {{-1, slot::Hpo4}, {-1, slot::Ca}}},
    /* K17 */ {-1.006L,  -13050.0L,  760.0L, kMmol,  3, {{-1, slot::H2po4}, {-1, slot::Ca}, {+1, slot::CaH2po4}}},
    /* K18 */ {-6.589L,  -13000.0L,  0.0L,   kMmol,  3, {{-1, slot::Po4}, {-1, slot::Mg}, {+1, slot::MgPo4}}},
    /* K19 */ {-2.878L,  -13870.0L,  510.0L, kMmol,  2, {{-1, slot::Hpo4}, {-1, slot::Mg}}},
    /* K20 */ {-1.521L,  -14250.0L,  740.0L, kMmol,  3, {{-1, slot::H2po4}, {-1, slot::Mg}, {+1, slot::MgH2po4}}},
    /* K21 */ {-1.34L,   -13000.0L, -50.0L,  kMmol,  3, {{-1, slot::Ca}, {-1, slot::Oh}, {+1, slot::CaOh}}},
    /* K22 */ {-2.22L,   -7000.0L,  -100.0L, kMmol,  3, {{-1, slot::Mg}, {-1, slot::Oh}, {+1, slot::MgOh}}},
    /* K23 */ {-2.024L,  -22000.0L,  100.0L, kMmol,  3, {{-1, slot::So4}, {-1, slot::H}, {+1, slot::Hso4}}},
};
// clang-format on

// R * ln 10 in J/(mol K), the divisor of every van 't Hoff coefficient.
constexpr long double kRLn10 = 19.144642L;
// 1/298.15 as the decimal literal the reference tables were computed with.
constexpr long double kInvT25 = 0.00335401643468053L;

} // namespace

ActivityModel ComputeActivityModel(long double t) {
    const long double tk = t + 273.15L;
    ActivityModel m;
    // The evaluation order is part of the model: the tables were produced with exactly it.
    m.epsilon = 87.74L - 0.40008L * t + (0.0009398L * t) * t - ((1.41e-06L * t) * t) * t;
    m.a = 1824300.0L / Power(tk * m.epsilon, 1.5L);
    m.b = 50.248L / Power(tk * m.epsilon, 0.5L);
    return m;
}

namespace {

// What the constants take from the temperature alone: lg K of each at zero ionic strength and
// the activity model. A search evaluates the constants of one water at a few temperatures over
// and over, at a new ionic strength each time, so the last few temperatures keep theirs.
struct TemperatureTerms {
    long double t = 0;
    std::array<long double, kConstantCount> lgK{};
    ActivityModel model;
};

// The last N entries of a computation, found again by the exact bits of its arguments; a new
// entry takes the place of the oldest.
template <class Entry, int N> class Recent {
public:
    template <class Match> Entry* Find(Match match) {
        for (int i = 0; i < count_; ++i) {
            if (match(entries_[static_cast<std::size_t>(i)])) {
                return &entries_[static_cast<std::size_t>(i)];
            }
        }
        return nullptr;
    }
    Entry& Add() {
        Entry& e = entries_[static_cast<std::size_t>(next_)];
        next_ = (next_ + 1) % N;
        count_ = std::min(count_ + 1, N);
        return e;
    }

private:
    std::array<Entry, N> entries_{};
    int count_ = 0, next_ = 0;
};

const TemperatureTerms& TermsAt(long double t) {
    thread_local Recent<TemperatureTerms, 4> kept;
    if (TemperatureTerms* e =
            kept.Find([t](const TemperatureTerms& e) { return SameBits(e.t, t); })) {
        return *e;
    }
    TemperatureTerms& e = kept.Add();
    e.t = t;
    const long double tk = t + 273.15L;
    const long double x1 = kInvT25 - 1.0L / tk;
    const long double x2 = std::log(tk / 298.15L) + 298.15L / tk - 1.0L;
    for (int i = 0; i < kConstantCount; ++i) {
        const ConstantDef& c = kConstants[i];
        long double lgK = c.lgK25 + (c.deltaH / kRLn10) * x1;
        if (c.deltaCp != 0.0L) {
            lgK = lgK + (c.deltaCp / kRLn10) * x2;
        }
        e.lgK[static_cast<std::size_t>(i)] = lgK;
    }
    e.model = ComputeActivityModel(t);
    return e;
}

// The ions in groups of the same charge and size, whose lg gamma is one and the same
// expression: each group's is formed once.
struct IonGroups {
    int count = 0;
    std::array<int, std::size(kIons)> groupOf{};
    std::array<std::size_t, std::size(kIons)> first{}; // an ion of each group
};
constexpr IonGroups kIonGroups = [] {
    IonGroups g;
    for (std::size_t i = 0; i < std::size(kIons); ++i) {
        int group = -1;
        for (int j = 0; j < g.count; ++j) {
            const IonSize& other = kIons[g.first[static_cast<std::size_t>(j)]];
            if (other.chargeSquared == kIons[i].chargeSquared && other.size == kIons[i].size) {
                group = j;
            }
        }
        if (group < 0) {
            group = g.count++;
            g.first[static_cast<std::size_t>(group)] = i;
        }
        g.groupOf[i] = group;
    }
    return g;
}();

void FillActivityCoefficients(const ActivityModel& m, long double ionicStrength,
                              ActivityCoefficients& lgGamma) {
    ClearVector50(lgGamma);
    const long double sqrtIm = std::sqrt(ionicStrength / 1000.0L);
    std::array<long double, std::size(kIons)> group{};
    for (int j = 0; j < kIonGroups.count; ++j) {
        const IonSize& ion = kIons[kIonGroups.first[static_cast<std::size_t>(j)]];
        group[static_cast<std::size_t>(j)] =
            (-m.a * ion.chargeSquared * sqrtIm) / (m.b * ion.size * sqrtIm + 1.0L);
    }
    for (std::size_t i = 0; i < std::size(kIons); ++i) {
        lgGamma[kIons[i].slot] = group[static_cast<std::size_t>(kIonGroups.groupOf[i])];
    }
}

} // namespace

void ComputeActivityCoefficients(long double t, long double ionicStrength,
                                 ActivityCoefficients& lgGamma) {
    FillActivityCoefficients(ComputeActivityModel(t), ionicStrength, lgGamma);
}

namespace {

void FormConstants(long double t, long double ionicStrength, long double& gammaH,
                   EquilibriumConstants& k, bool withPhosphate) {
    ClearVector50(k);
    const TemperatureTerms& terms = TermsAt(t);

    ActivityCoefficients lgGamma;
    FillActivityCoefficients(terms.model, ionicStrength, lgGamma);
    gammaH = Pow10(lgGamma[slot::H]);

    for (int i = 0; i < kConstantCount; ++i) {
        if (!withPhosphate && i >= static_cast<int>(KIndex(12)) &&
            i <= static_cast<int>(KIndex(20))) {
            continue;
        }
        const ConstantDef& c = kConstants[i];
        long double lgK = terms.lgK[static_cast<std::size_t>(i)];
        for (int j = 0; j < c.termCount; ++j) {
            lgK = c.terms[j].sign > 0 ? lgK + lgGamma[c.terms[j].slot]
                                      : lgK - lgGamma[c.terms[j].slot];
        }
        k[static_cast<std::size_t>(i)] = Pow10(lgK) * c.factor;
    }
}

} // namespace

// The columns of a water and their searches ask for the same constants more than once (every
// ionic-strength iteration starts at 0, and the temperatures of a water are often one): the
// last few sets are kept, by the exact bits of their arguments. The sets at ionic strength 0 are
// kept apart: the steps of one iteration would push them out before the next iteration asks
// for them again.
void ComputeConstants(long double t, long double ionicStrength, long double& gammaH,
                      EquilibriumConstants& k, bool withPhosphate) {
    struct Kept {
        long double t = 0, ionicStrength = 0;
        bool withPhosphate = false;
        long double gammaH = 0;
        EquilibriumConstants k{};
    };
    thread_local Recent<Kept, 8> kept;
    thread_local Recent<Kept, 4> atZero; // the temperatures of a water, with phosphate or not
    auto compute = [&](auto& ring) {
        if (const Kept* e = ring.Find([&](const Kept& e) {
                return e.withPhosphate == withPhosphate && SameBits(e.t, t) &&
                       SameBits(e.ionicStrength, ionicStrength);
            })) {
            gammaH = e->gammaH;
            k = e->k;
            return;
        }
        FormConstants(t, ionicStrength, gammaH, k, withPhosphate);
        Kept& e = ring.Add();
        e.t = t;
        e.ionicStrength = ionicStrength;
        e.withPhosphate = withPhosphate;
        e.gammaH = gammaH;
        e.k = k;
    };
    if (SameBits(ionicStrength, 0.0L)) {
        compute(atZero);
    } else {
        compute(kept);
    }
}

long double ConstantUnitFactor(int n) {
    return kConstants[KIndex(n)].factor;
}

long double ConstantLgK25(int n) {
    return kConstants[KIndex(n)].lgK25;
}

} // namespace zeb::chem
