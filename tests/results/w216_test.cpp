#include "results/w216.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace zeb::results {
namespace {

using app::W216Data;

W216Data MinMax() {
    W216Data d;
    app::SetDefaultW216(d); // blend 1 = I, blend 2 = II
    d.values[W216Data::Letter1] = "M";
    return d;
}

const std::array<app::WaterAnalysis, 3> kNoWaters{};

TEST(W216Test, FlagAboveOneOnly) {
    W216Data d = MinMax();
    d.values[W216Data::O2First] = "10";
    d.values[W216Data::O2Second] = "2";
    d.values[W216Data::DOCFirst] = "3"; // P = 0.5 c + 0.5: 2 against 1
    d.values[W216Data::DOCSecond] = "1";
    const W216Result r = ComputeW216(d, kNoWaters);
    ASSERT_TRUE(r.minMax);
    const W216RowResult& o2 = r.rows[0];
    EXPECT_EQ(o2.blend1, 10.0L);
    EXPECT_EQ(o2.blend2, 2.0L);
    EXPECT_NEAR(o2.p1, 3.835, 5e-4);
    EXPECT_NEAR(o2.p2, 2.405, 5e-4);
    EXPECT_NEAR(o2.difference, 1.430, 5e-4);
    EXPECT_TRUE(o2.flagged);
    EXPECT_EQ(r.rows[5].difference, 1.0L);
    EXPECT_FALSE(r.rows[5].flagged);
    EXPECT_EQ(r.rows[2].p1, 0.0L); // zero values give P = 0
    for (int row = 0; row < kW216RowCount; ++row)
        EXPECT_EQ(W216Weight(row, -2.0L), W216Weight(row, 0.0L)) << W216RowName(row);
}

// The weights of the worksheet, worked out here with std::pow from its coefficients.
TEST(W216Test, WeightsFollowTheWorksheetsPowerLaws) {
    const std::function<double(double)> laws[kW216RowCount] = {
        [](double c) { return 1.967 * std::pow(c, 0.29); },
        [](double c) { return 1.509 * std::pow(c, 0.556); },
        [](double c) { return 0.609 * std::pow(c, 0.818); },
        [](double c) { return 1.643 * std::pow(c, 0.59); },
        [](double c) { return 0.612 * std::pow(1000 * c, 0.443); },
        [](double c) { return 0.5 * c + 0.5; },
        [](double c) { return 1.998 * std::pow(c, 0.379); },
    };
    for (int row = 0; row < kW216RowCount; ++row) {
        for (double c : {0.004, 0.5, 2.0, 37.5}) {
            const double expected = laws[row](c);
            EXPECT_NEAR(static_cast<double>(W216Weight(row, c)), expected, 1e-12 * expected)
                << W216RowName(row) << " at " << c;
        }
    }
}

TEST(W216Test, SharesAreCheckedRoundedAndCompleted) {
    const struct {
        const char *blend1I, *blend2I, *expected;
        std::vector<std::string_view> messages;
    } cases[] = {
        {"120", "30", "     100       0      30      70", {"msg.rangeFraction1"}},
        {"40", "150,5", "      40      60     100       0", {"msg.rangeFraction2"}},
        {"50.5", "51.5", "      50      50      52      48", {}}, // halves to even
        {"-2.5", "99.4", "       2      98      99       1", {}},
    };
    for (const auto& c : cases) {
        W216Data d = MinMax();
        d.values[W216Data::Share1First] = c.blend1I;
        d.values[W216Data::Share1Second] = c.blend2I;
        EXPECT_EQ(NormalizeW216Shares(d), c.messages) << c.blend1I;
        EXPECT_EQ(d.values[W216Data::Share1First] + d.values[W216Data::Share2First] +
                      d.values[W216Data::Share1Second] + d.values[W216Data::Share2Second],
                  c.expected);
    }
}

TEST(W216Test, RowSevenFromRowsTwoToFour) {
    W216Data d = MinMax();
    d.values[W216Data::Ks43First] = "2";
    d.values[W216Data::ClFirst] = "1";
    d.values[W216Data::SO4First] = "0.75";
    d.values[W216Data::Ks43Second] = "0";
    d.values[W216Data::QASecond] = "  99.000"; // never typed: recomputed
    d.values[W216Data::Share1First] = "50";
    const W216Result r = ComputeW216(d, kNoWaters);
    EXPECT_EQ(r.inputs.values[W216Data::QAFirst], "   1.250");
    EXPECT_EQ(r.inputs.values[W216Data::QASecond], "");
    EXPECT_EQ(r.rows[6].blend1, 0.625L); // mixed linearly, the empty one as 0
}

TEST(W216Test, WaterModeReloadsColumnsFromTheirWaters) {
    std::array<app::WaterAnalysis, 3> waters;
    for (auto& w : waters)
        app::SetDefaultWater(w);
    waters[2].text = "Quelle";
    waters[2].oxygen = "   9.500";
    waters[2].ks43 = "   2.000";
    waters[2].cCl = "   1.000";
    waters[2].cSO4 = "   0.500";
    waters[0].toc = "   4.000";
    W216Data d;
    app::SetDefaultW216(d);
    d.values[W216Data::Letter1] = "C";
    d.values[W216Data::Letter2] = "A";
    d.values[W216Data::O2First] = "   1.000"; // stale, replaced by C's value
    const W216Result r = ComputeW216(d, waters);
    EXPECT_FALSE(r.minMax);
    EXPECT_EQ(r.textI, "Quelle");
    EXPECT_EQ(r.rows[0].valueI, 9.5L);
    EXPECT_EQ(r.inputs.values[W216Data::QAFirst], "   1.000");
    EXPECT_EQ(r.rows[5].blend2, 4.0L);
}

} // namespace
} // namespace zeb::results
