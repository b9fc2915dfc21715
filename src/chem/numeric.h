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
// Taken by reference, values that lie in memory are compared where they lie: a copy through the
// x87 would store them again and read the store back before it is done.
inline bool SameBits(const long double& a, const long double& b) {
    return std::memcmp(&a, &b, 10) == 0;
}

// e^x in extended precision: the C library's expl to the bit, in half its time.
//
// For 2^-67 <= |x| < 2^15 the library forms it on the x87 as 2^f 2^n, with n = rint(x log2 e)
// and f = ((rint(x) c1 - n) + c1 (x - rint(x))) + c2 x, where log2 e is split into c1, short
// enough that rint(x) c1 is exact, and c2 for the rest; f2xm1 and fscale form the powers. Around
// that it sets the rounding to nearest for the two rint by reloading the control word twice, and
// its wrapper checks for overflow: with the call, that is half its time. The same instructions in
// the same order on the same operands give the same value: where the rounding already is to
// nearest (the x87's default, which nothing here changes) and the value is a finite number other
// than 0, Exp forms it inline; every other case goes to the library.
inline long double Exp(long double x) {
#if defined(__GNUC__) && defined(__x86_64__)
    constexpr long double kLog2EHigh = 0xB8AAp-15L;            // c1
    constexpr long double kLog2ELow = 0xECA5705FC2EEFA20p-81L; // c2
    const long double magnitude = std::fabs(x);
    if (magnitude >= 0x1p-67L && magnitude < 0x1p15L) {
        unsigned short control = 0;
        asm volatile("fnstcw %0" : "=m"(control));
        if ((control & 0x0C00) == 0) {
            long double r;
            // Stack after each step, top first (x the argument, xi = rint(x)).
            asm("fldl2e\n\t"              // log2e, x
                "fmul %%st(1), %%st\n\t"  // x log2e, x
                "frndint\n\t"             // n, x
                "fld %%st(1)\n\t"         // x, n, x
                "frndint\n\t"             // xi, n, x
                "fld %%st(1)\n\t"         // n, xi, n, x
                "fldt %[high]\n\t"        // c1, n, xi, n, x
                "fld %%st(2)\n\t"         // xi, c1, n, xi, n, x
                "fmul %%st(1), %%st\n\t"  // xi c1, c1, n, xi, n, x
                "fsubp %%st, %%st(2)\n\t" // c1, xi c1 - n, xi, n, x
                "fld %%st(4)\n\t"         // x, c1, xi c1 - n, xi, n, x
                "fsub %%st(3), %%st\n\t"  // x - xi, c1, xi c1 - n, xi, n, x
                "fmulp %%st, %%st(1)\n\t" // c1 (x - xi), xi c1 - n, xi, n, x
                "faddp %%st, %%st(1)\n\t" // (xi c1 - n) + c1 (x - xi), xi, n, x
                "fldt %[low]\n\t"         // c2, ..., xi, n, x
                "fmul %%st(4), %%st\n\t"  // c2 x, ..., xi, n, x
                "faddp %%st, %%st(1)\n\t" // f, xi, n, x
                "f2xm1\n\t"               // 2^f - 1, xi, n, x
                "fld1\n\t"                // 1, 2^f - 1, xi, n, x
                "faddp %%st, %%st(1)\n\t" // 2^f, xi, n, x
                "fstp %%st(1)\n\t"        // 2^f, n, x
                "fscale\n\t"              // 2^f 2^n, n, x
                "fstp %%st(1)\n\t"        // 2^f 2^n, x
                "fstp %%st(1)"            // 2^f 2^n
                : "=t"(r)
                : "0"(x), [high] "m"(kLog2EHigh), [low] "m"(kLog2ELow)
                : "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)");
            if (r != 0.0L && std::isfinite(r)) {
                return r;
            }
        }
    }
#endif
    return std::exp(x);
}

// exp(exponent * ln(base)); 0 when base is exactly 0. Negative bases are never passed.
inline long double Power(long double base, long double exponent) {
    if (base == 0.0L) {
        return 0.0L;
    }
    return Exp(exponent * std::log(base));
}

// ln(x) / 2.30258509299405
inline long double Log10(long double x) {
    return std::log(x) / kLn10;
}

// exp(x * 2.30258509299405)
inline long double Pow10(long double x) {
    return Exp(x * kLn10);
}

} // namespace zeb::chem
