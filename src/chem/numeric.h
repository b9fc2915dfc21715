#pragma once
// Numeric helpers of the engine. Logarithms and powers of ten deliberately use the
// fifteen-digit value of ln 10, so that results agree with the reference tables to the last
// printed digit.

#include "chem/types.h"

#include <cmath>
#include <cstring>

namespace zeb::chem {

inline constexpr long double kLn10 = 2.30258509299405L;

void ClearVector50(Vector50& v);
void ClearVector5(Vector5& v);

// Whether a and b are the same extended value, bit for bit (the 80 bits of an x87 long double).
inline bool SameBits(long double a, long double b) {
    return std::memcmp(&a, &b, 10) == 0;
}

// exp(exponent * ln(base)); 0 when base is exactly 0. Negative bases are never passed.
inline long double Power(long double base, long double exponent) {
    if (base == 0.0L) {
        return 0.0L;
    }
    return std::exp(exponent * std::log(base));
}

// ln(x) / 2.30258509299405
inline long double Log10(long double x) {
    return std::log(x) / kLn10;
}

// exp(x * 2.30258509299405)
inline long double Pow10(long double x) {
    return std::exp(x * kLn10);
}

} // namespace zeb::chem
