#include "chem/ionic_strength.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace zeb::chem {
namespace {

TEST(IterateIonicStrengthTest, StopsAfterFiftyPassesKeepingTheLastValue) {
    int calls = 0;
    auto oscillating = [&](long double ios) {
        ++calls;
        return ios == 1.0L ? 2.0L : 1.0L;
    };
    const IonicStrengthIteration it = IterateIonicStrength(oscillating);
    EXPECT_EQ(it.passes, 50);
    EXPECT_EQ(calls, 50);
    EXPECT_EQ(it.ionicStrength, 2.0L); // pass 50 was fed 1.0
}

TEST(IterateIonicStrengthTest, StartsAtZeroAndStopsBelowTolerance) {
    std::vector<long double> seen;
    auto contracting = [&](long double ios) {
        seen.push_back(ios);
        return 0.5L * ios + 4.0L;
    };
    const IonicStrengthIteration it = IterateIonicStrength(contracting);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), 0.0L);
    EXPECT_LT(std::fabs(it.ionicStrength - seen.back()), 1e-6L);
    EXPECT_GE(std::fabs(seen.back() - seen[seen.size() - 2]), 1e-6L);
    EXPECT_NEAR(it.ionicStrength, 8.0, 2e-6);
}

TEST(IterateIonicStrengthTest, EnteredValueRunsOnce) {
    int calls = 0;
    const IonicStrengthIteration it = IterateIonicStrength(false, 5.0L, [&](long double ios) {
        ++calls;
        EXPECT_EQ(ios, 5.0L);
        return 7.5L;
    });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(it.ionicStrength, 7.5L);
}

} // namespace
} // namespace zeb::chem
