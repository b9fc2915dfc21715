// The hot path of the engine runs thousands of times per command: it must not allocate.

#include "chem/carbonate.h"
#include "chem/constants.h"
#include "chem/saturation.h"
#include "chem/speciation.h"
#include "waters.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> gAllocations{0};
}

void* operator new(std::size_t size) {
    ++gAllocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace zeb::chem {
namespace {

TEST(AllocationTest, HotPathAllocatesNothing) {
    const testing::TestWater w = testing::PhosphateWater();
    EquilibriumConstants k;
    long double gammaH = 0;
    SpeciesVector s = w.species;
    s[slot::Dic] = w.dic;

    const long before = gAllocations.load();
    ComputeConstants(10.0L, 8.0L, gammaH, k);
    Speciate(k, s, 7.5L, gammaH);
    SolvePHBisection(s, 10.0L, 8.0L, w.ta, w.dic);
    DoseToTarget(Chemical::CaCO3, Target::SI0, s, w.ta, w.dic, 10.0L, 8.0L);
    DoseToTarget(Chemical::NaOH, Target::pH78, s, w.ta, w.dic, 10.0L, 8.0L);
    EXPECT_EQ(gAllocations.load(), before);
}

} // namespace
} // namespace zeb::chem
