// Every number of the engine-driven results, bit for bit: the state of saturation, the species
// concentrations, the analysis check, the conditioning and the blends of the three example
// waters and of thirty synthetic ones, compared in hexadecimal with recorded values. Users check
// the results against reports to the last printed digit, so a faster engine must give the same
// bits. The diagnostic counts of Speciate calls are left out: they count work, which a faster
// engine may do less of. ZEB_RECORD_BIT_IDENTITY=1 rewrites the record (only from a build known
// to be right).

#include "analysis/check.h"
#include "app/number_format.h"
#include "app/project_file.h"
#include "results/blend_saturation.h"
#include "results/blend_series.h"
#include "results/conditioning.h"
#include "results/saturation.h"
#include "results/species.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace zeb;

const std::string kRecord = std::string(ZEB_TEST_DATA_DIR) + "/bit_identity.txt";

// One line of numbers: a label, then each value as %La (ints as they are).
struct Line {
    std::string text;
    Line& operator<<(long double x) {
        char b[48];
        std::snprintf(b, sizeof b, " %La", x);
        text += b;
        return *this;
    }
    Line& operator<<(int x) {
        text += " " + std::to_string(x);
        return *this;
    }
    template <class T, std::size_t N> Line& operator<<(const std::array<T, N>& a) {
        for (const T& x : a) {
            *this << x;
        }
        return *this;
    }
    // A struct (or array of structs) of nothing but long doubles.
    template <class T> Line& Plain(const T& x) {
        static_assert(sizeof(T) % sizeof(long double) == 0);
        const auto* p = reinterpret_cast<const long double*>(&x);
        for (std::size_t i = 0; i < sizeof(T) / sizeof(long double); ++i) {
            *this << p[i];
        }
        return *this;
    }
};

// A soft-to-hard spread at 0-40 degC: every third water with phosphate, every fourth from DIC,
// every fifth with the ionic strength entered, every other one with NH4, Fe and Mn.
app::WaterAnalysis Synthetic(int i) {
    std::minstd_rand rng(static_cast<unsigned>(i) + 1);
    auto v = [&](long double lo, long double hi) {
        return app::FormatFixed(lo + (hi - lo) * static_cast<long double>(rng() % 1001) / 1000.0L,
                                8, 3);
    };
    app::WaterAnalysis w;
    app::SetDefaultWater(w);
    const long double pH = 6.2L + 3.0L * static_cast<long double>((i * 7) % 30) / 29.0L;
    w.pH = app::FormatFixed(pH, 8, 3);
    w.tempPH = v(0, 40), w.tempTitr43 = v(0, 40), w.tempTitr82 = w.tempPH;
    w.tempCalc = app::FormatFixed(40.0L * i / 29.0L, 8, 3);
    w.ks43 = v(0.15L, 7.5L);
    (pH < 8.2L ? w.kb82 : w.ks82) = v(0.01L, pH < 8.2L ? 1.2L : 0.3L);
    w.cCa = v(0.1L, 4.5L), w.cMg = v(0.05L, 1.6L), w.cNa = v(0.1L, 3), w.cK = v(0.01L, 0.2L);
    w.cCl = v(0.1L, 2.5L), w.cNO3 = v(0, 0.8L), w.cSO4 = v(0.05L, 2.2L);
    if (i % 3 == 0) {
        w.cPO4 = v(0.001L, 0.05L);
    }
    if (i % 2 == 1) {
        w.cNH4 = v(0, 0.05L), w.cFe = v(0, 0.02L), w.cMn = v(0, 0.01L);
    }
    if (i % 4 == 1) {
        w.dicMode = "DIC";
        w.dic = app::FormatFixed(app::ParseNumber(w.ks43) * (1.0L + (i % 7) / 10.0L), 8, 3);
    }
    w.iosMode = i % 5 == 2 ? "ZEB" : "IOS";
    w.iosInput = v(0.5L, 20);
    w.blendPercent = std::to_string(20 + 10 * (i % 5));
    return w;
}

void Saturation(std::vector<std::string>& out, const std::string& label,
                const app::WaterAnalysis& w) {
    const results::WaterSaturation s = results::ComputeSaturation(w);
    const analysis::ConductivityFigures& f = s.conductivity;
    out.push_back((Line{label + " conductivity"}
                   << f.sumAnions << f.sumCations << f.balanceCations << f.balanceMean
                   << f.balanceMax << static_cast<int>(f.balanceMark) << f.mValueFromBalance
                   << f.sumIons << f.conductivityMeasured25 << f.conductivityCalculated
                   << f.conductivityDeviation << f.ionicStrengthFromConductivity)
                      .text);
    out.push_back((Line{label + " saturation"}
                   << static_cast<int>(s.computed) << s.tCalc << s.pHCalculated << s.pHMeasured
                   << s.ks43Calculated << s.ks43Measured << s.kb82Calculated << s.kb82Measured
                   << static_cast<int>(s.pHDisagree))
                      .Plain(s.columns)
                      .text);
    out.push_back(Line{label + " dosage"}.Plain(s.dosage).text);

    const results::SpeciesResult sp = results::ComputeSpecies(w);
    for (const results::SpeciesColumn& c : sp.columns) {
        out.push_back((Line{label + " species"} << c.mValue << c.dic << c.pValue << c.pH << c.anions
                                                << c.cations << c.species << c.passes)
                          .text);
    }

    const analysis::CarbonateCheck c = analysis::CheckAnalysis(w).carbonate;
    out.push_back((Line{label + " check"} << c.mValue << c.dic << c.pValue << c.anions << c.cations
                                          << c.ionicStrength << c.pH << c.pHCalculated
                                          << c.kb82Calculated << c.ks43Calculated)
                      .text);
}

void Conditioning(std::vector<std::string>& out, const std::string& label, app::ConditioningData d,
                  int i) {
    d.chemical = results::ConditioningChemicalToken(results::kConditioningChemicals[i % 9]);
    const bool dilution = i % 2 == 0;
    d.cx = dilution ? "  150.000" : "   0.400", d.Vx = dilution ? "   2.000" : "   0.000";
    const results::ConditioningResult r = results::ComputeConditioning(d, dilution);
    out.push_back((Line{label + " conditioning"} << r.dose << r.dilutionFactor << r.mValue << r.dic
                                                 << r.pValue << r.ionicStrength << r.pH << r.si
                                                 << r.chargeBalance << r.dc)
                      .Plain(r.ions)
                      .text);
}

void Blends(std::vector<std::string>& out, const std::string& label,
            const std::array<app::WaterAnalysis, 3>& w) {
    const results::BlendSaturation b = results::ComputeBlendSaturation(w);
    out.push_back((Line{label + " blend"} << static_cast<int>(b.computed) << b.shares
                                          << b.blend.mValue << b.blend.dicValue << b.blend.blendTemp
                                          << b.blend.ionicStrength << b.blend.species)
                      .Plain(b.columns)
                      .Plain(b.dosage)
                      .text);
    const results::BlendSeriesResult s = results::ComputeBlendSeries(w[0], w[1]);
    for (const results::BlendSeriesColumn& c : s.columns) {
        out.push_back((Line{label + " series"} << c.share1 << c.share2 << c.tCalc << c.hardness
                                               << c.so4Mg << c.no3Mg << c.pH << c.dcMg)
                          .text);
    }
}

std::vector<std::string> ComputeAll() {
    std::vector<std::string> out;
    app::Project project;
    app::LineBuffer buffer;
    EXPECT_TRUE(app::LoadProject(std::string(ZEB_SOURCE_DIR) + "/resources/examples/example.zeb",
                                 project, buffer));
    std::array<app::WaterAnalysis, 3> examples;
    for (int k = 0; k < 3; ++k) {
        examples[k] = project.water(static_cast<app::WaterId>(k));
        const std::string label(1, static_cast<char>('A' + k));
        Saturation(out, label, examples[k]);
        Conditioning(out, label, project.parts.conditioning, k);
    }
    Blends(out, "ABC", examples);

    std::vector<app::WaterAnalysis> synthetic;
    for (int i = 0; i < 30; ++i) {
        synthetic.push_back(Synthetic(i));
        const std::string label = "S" + std::to_string(i);
        Saturation(out, label, synthetic[i]);
        app::ConditioningData d;
        app::SetDefaultConditioning(d);
        results::TakeConditioningFromWater(d, synthetic[i]);
        Conditioning(out, label, d, i);
    }
    for (int i = 0; i < 4; ++i) {
        Blends(out, "S" + std::to_string(i) + "+",
               {synthetic[3 * i], synthetic[3 * i + 4], synthetic[3 * i + 11]});
    }
    return out;
}

TEST(BitIdentityTest, ResultsMatchTheRecordBitForBit) {
    const std::vector<std::string> actual = ComputeAll();
    if (std::getenv("ZEB_RECORD_BIT_IDENTITY") != nullptr) {
        std::ofstream file(kRecord);
        for (const std::string& line : actual) {
            file << line << '\n';
        }
        GTEST_SKIP() << "recorded " << actual.size() << " lines to " << kRecord;
    }
    std::ifstream file(kRecord);
    ASSERT_TRUE(file) << kRecord;
    std::vector<std::string> expected;
    for (std::string line; std::getline(file, line);) {
        expected.push_back(line);
    }
    ASSERT_EQ(actual.size(), expected.size());
    int mismatches = 0;
    for (std::size_t i = 0; i < actual.size() && mismatches < 5; ++i) {
        if (actual[i] != expected[i]) {
            ++mismatches;
            ADD_FAILURE() << "line " << i + 1 << "\n  got:      " << actual[i]
                          << "\n  recorded: " << expected[i];
        }
    }
}

} // namespace
