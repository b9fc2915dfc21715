#pragma once
// The stages of a long computation, counted as they finish, so that a progress bar on another
// thread can follow them. Counting changes nothing in what is computed.

#include <atomic>

namespace zeb::results {

class Progress {
public:
    void Step(int stages = 1) { done_.fetch_add(stages, std::memory_order_relaxed); }
    int done() const { return done_.load(std::memory_order_relaxed); }

private:
    std::atomic<int> done_{0};
};

// Steps the progress when there is one.
inline void Step(Progress* progress, int stages = 1) {
    if (progress)
        progress->Step(stages);
}

// State of saturation and saturation of the blend: the inputs, then per column the carbonate
// solution, Dc with pHc, "pH A", and the 14 doses of the seven chemicals to "SI0" and "pH78".
inline constexpr int kStagesPerSaturationColumn = 17;
inline constexpr int kSaturationStages = 1 + 3 * kStagesPerSaturationColumn; // 52

} // namespace zeb::results
