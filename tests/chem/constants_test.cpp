#include "chem/constants.h"
#include "chem/numeric.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace zeb::chem {
namespace {

long double LgThermodynamic(int n, long double t) {
    EquilibriumConstants k;
    long double gammaH = 0;
    ComputeConstants(t, 0.0L, gammaH, k);
    return Log10(k[KIndex(n)] / ConstantUnitFactor(n));
}

TEST(ActivityModelTest, ParametersAt25) {
    const ActivityModel m = ComputeActivityModel(25.0L);
    EXPECT_NEAR(m.epsilon, 78.30334375, 1e-12);
    EXPECT_NEAR(m.a, 0.511415, 5e-7);
    EXPECT_NEAR(m.b, 0.328860, 5e-7);
}

TEST(ActivityModelTest, HydrogenAtTenMillimolar) {
    ActivityCoefficients lg;
    ComputeActivityCoefficients(25.0L, 10.0L, lg);
    EXPECT_NEAR(lg[slot::H], -0.041795, 5e-7);
    EXPECT_EQ(lg[slot::Co2], 0.0L);          // neutral
    EXPECT_LT(lg[slot::Po4], lg[slot::Co3]); // z^2 = 9 against 4

    EquilibriumConstants k;
    long double gammaH = 0;
    ComputeConstants(25.0L, 10.0L, gammaH, k);
    EXPECT_NEAR(gammaH, 0.90825, 5e-6);
}

TEST(ConstantsTest, ThermodynamicValuesAt25) {
    EquilibriumConstants k;
    long double gammaH = 0;
    ComputeConstants(25.0L, 0.0L, gammaH, k);
    EXPECT_EQ(gammaH, 1.0L);
    for (int n = 1; n <= kConstantCount; ++n) {
        SCOPED_TRACE(n);
        // The decimal literal for 1/298.15 leaves only a rounding residue at 25 degC.
        EXPECT_NEAR(LgThermodynamic(n, 25.0L), ConstantLgK25(n), 1e-12);
    }
    for (std::size_t i = kConstantCount; i < k.size(); ++i) {
        EXPECT_EQ(k[i], 0.0L);
    }
}

TEST(ConstantsTest, IonProductOfWaterAtRangeEnds) {
    EXPECT_NEAR(LgThermodynamic(9, 0.0L), -14.943, 5e-4);
    EXPECT_NEAR(LgThermodynamic(9, 90.0L), -12.411, 5e-4);
}

TEST(ConstantsTest, IonicStrengthRaisesConstantsWithChargedProducts) {
    EquilibriumConstants k0, k10;
    long double g0 = 0, g10 = 0;
    ComputeConstants(12.0L, 0.0L, g0, k0);
    ComputeConstants(12.0L, 10.0L, g10, k10);
    for (int n : {1, 9, 10, 11}) {
        SCOPED_TRACE(n);
        EXPECT_GT(k10[KIndex(n)], k0[KIndex(n)]);
    }
    // K11 counts the H+ term twice: its lg shift is lg gamma(CO3) + 2 lg gamma(H).
    ActivityCoefficients lg;
    ComputeActivityCoefficients(12.0L, 10.0L, lg);
    EXPECT_NEAR(Log10(k10[KIndex(11)] / k0[KIndex(11)]), -lg[slot::Co3] - 2 * lg[slot::H], 1e-15);
}

// Constant sets are kept and handed out again by the exact bits of their arguments: whatever was
// asked before, every set must be the one its own arguments give, phosphate constants only with
// phosphate.
TEST(ConstantsTest, SameSetsWhateverWasAskedBefore) {
    struct Ask {
        long double t, ionicStrength;
        bool withPhosphate;
    };
    std::vector<Ask> asks; // more than are kept, at ionic strength 0 and above it
    for (long double t : {10.0L, 25.0L, 40.0L})
        for (long double ios : {0.0L, 3.0L, std::nextafter(3.0L, 4.0L), 7.0L})
            for (bool po4 : {true, false})
                asks.push_back({t, ios, po4});
    struct Set {
        long double gammaH = 0;
        EquilibriumConstants k{};
    };
    auto compute = [](const Ask& a) {
        Set s;
        ComputeConstants(a.t, a.ionicStrength, s.gammaH, s.k, a.withPhosphate);
        return s;
    };
    std::vector<Set> first;
    for (const Ask& a : asks)
        first.push_back(compute(a));
    for (std::size_t i = 0; i < asks.size(); ++i) {
        EXPECT_EQ(first[i].k[KIndex(15)] != 0.0L, asks[i].withPhosphate) << i;
        for (std::size_t j = 0; j < i; ++j) {
            if (asks[i].t != asks[j].t ||
                (asks[i].ionicStrength == 0) != (asks[j].ionicStrength == 0))
                EXPECT_NE(first[i].k[KIndex(1)], first[j].k[KIndex(1)]) << i << " " << j;
        }
    }
    for (int round = 0; round < 3; ++round) {
        for (std::size_t i = 0; i < asks.size(); ++i) {
            // Forwards, backwards and out of order, so that some are still kept and some not.
            const std::size_t j = round == 0   ? i
                                  : round == 1 ? asks.size() - 1 - i
                                               : (i * 7) % asks.size();
            const Set again = compute(asks[j]);
            EXPECT_EQ(std::memcmp(&again.gammaH, &first[j].gammaH, 10), 0) << j;
            for (std::size_t n = 0; n < again.k.size(); ++n)
                ASSERT_EQ(std::memcmp(&again.k[n], &first[j].k[n], 10), 0) << j << " K index " << n;
        }
    }
}

// Every constant is a power of ten through Exp, which forms the library's expl inline: it must
// give the library's value to the bit, across the arguments of the constants and far beyond, at
// the edges of its own range and where the library handles overflow, underflow and the rest.
TEST(NumericTest, ExpIsTheLibrarysToTheBit) {
    std::mt19937_64 rng(20261207);
    auto uniform = [&rng] { return static_cast<long double>(rng() >> 11) * 0x1p-53L; };
    std::vector<long double> xs = {0.0L,
                                   -0.0L,
                                   0x1p-67L,
                                   -0x1p-67L,
                                   std::nextafter(0x1p-67L, 0.0L),
                                   0x1p15L,
                                   -0x1p15L,
                                   std::nextafter(0x1p15L, 0.0L),
                                   -std::nextafter(0x1p15L, 0.0L),
                                   11356.5L,
                                   -11355.0L,
                                   -11400.0L,
                                   -11460.0L,
                                   std::numeric_limits<long double>::denorm_min(),
                                   std::numeric_limits<long double>::infinity(),
                                   -std::numeric_limits<long double>::infinity(),
                                   std::numeric_limits<long double>::quiet_NaN()};
    for (int i = 0; i < 600000; ++i) {
        xs.push_back(400.0L * uniform() - 200.0L); // lg K times ln 10, and beyond
        xs.push_back(std::ldexp(1.0L + uniform(), static_cast<int>(rng() % 90) - 75) *
                     (rng() % 2 == 0 ? 1.0L : -1.0L)); // every magnitude of the range
        xs.push_back(23000.0L * uniform() - 11500.0L); // to overflow and underflow
    }
    int differing = 0;
    for (long double x : xs) {
        const long double got = Exp(x), want = std::exp(x);
        if (std::memcmp(&got, &want, 10) != 0 && !(std::isnan(got) && std::isnan(want)) &&
            ++differing <= 5)
            ADD_FAILURE() << "exp(" << static_cast<double>(x) << ")";
    }
    EXPECT_EQ(differing, 0) << "of " << xs.size();
}

} // namespace
} // namespace zeb::chem
