// Compares the engine's pH and dose searches with the plain ones on many seeded random waters
// (the test runs 20,000 of them):
//
//   build/zeb_search_identity [COUNT [FIRST]]     # default 1000000 waters from index 0
//
// Prints the progress every 10,000 waters, each differing water (index and values) and the
// total; exits with 1 when any differs.

#include "../tests/common/search_identity.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    const std::uint64_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
    const std::uint64_t first = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 0;
    const auto start = std::chrono::steady_clock::now();
    std::uint64_t differing = 0;
    for (std::uint64_t i = first; i < first + count; ++i) {
        const std::string diff = zeb::test::CompareSearches(i);
        if (!diff.empty()) {
            ++differing;
            std::printf("water %llu differs: %s\n", static_cast<unsigned long long>(i),
                        diff.c_str());
        }
        if ((i - first + 1) % 10000 == 0 || i + 1 == first + count) {
            const double s =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::printf("%llu waters compared (indices %llu-%llu), %llu differing, %.0f s\n",
                        static_cast<unsigned long long>(i - first + 1),
                        static_cast<unsigned long long>(first), static_cast<unsigned long long>(i),
                        static_cast<unsigned long long>(differing), s);
            std::fflush(stdout);
        }
    }
    return differing == 0 ? 0 : 1;
}
