// The engine's pH and dose searches settle most side decisions without speciating; their results
// must still be those of the plain searches to the last bit. 20,000 seeded random waters in four
// shares (one ctest entry each): every input pair, DIC and KB/KS families, computed and entered
// ionic strength, with and without phosphate, all chemicals to both targets, waters near the
// target and waters on the ends of the form's ranges. build/zeb_search_identity runs more of them.
#include "../common/search_identity.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint64_t kWaters = 20000;
constexpr std::uint64_t kShares = 4;

class SearchIdentity : public testing::TestWithParam<std::uint64_t> {};

TEST_P(SearchIdentity, EveryResultEqualsThePlainSearch) {
    const std::uint64_t share = kWaters / kShares;
    int differing = 0;
    for (std::uint64_t i = GetParam() * share; i < (GetParam() + 1) * share; ++i) {
        const std::string diff = zeb::test::CompareSearches(i);
        if (!diff.empty() && ++differing <= 5) {
            ADD_FAILURE() << "water " << i << ": " << diff;
        }
    }
    EXPECT_EQ(differing, 0);
}

INSTANTIATE_TEST_SUITE_P(Share, SearchIdentity, testing::Range<std::uint64_t>(0, kShares));

// Contradictory titrations give these waters a negative DIC, whose balance crosses zero three
// times: no side may be settled there, the plain bisection's root is the result.
TEST(SearchIdentityEdges, NegativeDicWatersKeepThePlainRoot) {
    for (std::uint64_t i : {33623u, 44303u}) {
        EXPECT_LT(zeb::test::MakeSearchCase(i).dic, 0.0L) << "water " << i;
        EXPECT_EQ(zeb::test::CompareSearches(i), "") << "water " << i;
    }
}

} // namespace
