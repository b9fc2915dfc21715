#pragma once
// The ionic-strength iteration shared by every command: the program finds the ionic strength
// of a water by feeding the value its last speciation returned back into the computation.

#include <cmath>
#include <concepts>
#include <type_traits>

namespace zeb::chem {

inline constexpr long double kIonicStrengthTolerance = 0.000001L; // mmol/L
inline constexpr int kIonicStrengthMaxPasses = 50;

struct IonicStrengthIteration {
    long double ionicStrength = 0; // I' returned by the last step, mmol/L
    int passes = 0;                // steps run (1..50)
};

// An engine step: runs the command's computation at ionic strength I (mmol/L) and returns the
// ionic strength I' (mmol/L) of the water it last speciated. Results other than I' travel
// through the callable's own captures.
template <class Step>
concept IonicStrengthStep = std::invocable<Step&, long double> &&
                            std::convertible_to < std::invoke_result_t<Step&, long double>,
long double > ;

// Starts at I = 0 and runs `step` until I changes by less than 1e-6 mmol/L or 50 steps have
// run, without notice of non-convergence. A step that is given a NaN and returns NaN ends the
// iteration too: every step is a pure function of I, so the steps that would follow could only
// repeat it. The callable is taken by reference: nothing is copied or allocated.
template <IonicStrengthStep Step> IonicStrengthIteration IterateIonicStrength(Step&& step) {
    IonicStrengthIteration it;
    long double ios = 0.0L;
    long double change = 0.0L;
    bool repeats = false;
    do {
        const long double next = static_cast<long double>(step(ios));
        repeats = std::isnan(ios) && std::isnan(next);
        change = ios - next;
        ios = next;
        ++it.passes;
    } while (!(std::fabs(change) < kIonicStrengthTolerance) &&
             it.passes < kIonicStrengthMaxPasses && !repeats);
    it.ionicStrength = ios;
    return it;
}

// The two modes of an analysis: with `calculate` (iosMode "IOS") the iteration above;
// otherwise one step with the entered ionic strength. Either way the result carries the I'
// that the last step returned.
template <IonicStrengthStep Step>
IonicStrengthIteration IterateIonicStrength(bool calculate, long double entered, Step&& step) {
    if (calculate) {
        return IterateIonicStrength(step);
    }
    IonicStrengthIteration it;
    it.ionicStrength = static_cast<long double>(step(entered));
    it.passes = 1;
    return it;
}

} // namespace zeb::chem
