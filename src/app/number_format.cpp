#include "app/number_format.h"

#include "app/cp1252.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

namespace zeb::app {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The decimal image of |x| with 18 significant digits: digits "ddd..." and the exponent of the
// first digit (x = 0.d1d2... * 10^(exponent + 1)).
struct DecimalImage {
    std::string digits; // 18 digits, or empty for zero
    int exponent = 0;
};

// Powers of ten that a long double holds exactly: 10^27 = 5^27 * 2^27, and 5^27 < 2^64.
constexpr int kExactPowersOfTen = 27;
constexpr std::array<long double, kExactPowersOfTen + 1> kPowersOfTen = [] {
    std::array<long double, kExactPowersOfTen + 1> p{};
    p[0] = 1.0L;
    for (int i = 1; i <= kExactPowersOfTen; ++i)
        p[i] = p[i - 1] * 10.0L;
    return p;
}();

// 5^k for the exponents ImageInteger takes: 5^27 < 2^64.
constexpr std::array<std::uint64_t, kExactPowersOfTen + 1> kPowersOfFive = [] {
    std::array<std::uint64_t, kExactPowersOfTen + 1> p{};
    p[0] = 1;
    for (int i = 1; i <= kExactPowersOfTen; ++i)
        p[i] = p[i - 1] * 5;
    return p;
}();

// 10^k as an integer, k = 0..19.
constexpr std::array<std::uint64_t, 20> kIntegerPowersOfTen = [] {
    std::array<std::uint64_t, 20> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i)
        p[i] = p[i - 1] * 10;
    return p;
}();

// The 18 significant digits of x > 0 as an integer in [10^17, 10^18), where x * 10^(17 - p) is
// formed exactly in 128 bits: x = m 2^(e - 64) with the 64-bit significand m of the long double,
// and 10^(17 - p) = 5^(17 - p) 2^(17 - p) with 5^(17 - p) < 2^64. Rounded to the nearest, ties to
// even, as printf rounds the exact value; `p` is the decimal exponent of the first digit. Returns
// false for a value outside 1e-10..1e17, whose decimal exponent takes a wider product.
bool ImageInteger(long double x, std::uint64_t& digits, int& p) {
    if (!(x >= 1e-10L && x < 1e17L))
        return false;
    std::uint64_t m = 0;
    int e = 0; // x = m 2^(e - 64), m >= 2^63
    if constexpr (std::numeric_limits<long double>::digits == 64 && sizeof(long double) >= 10) {
        // The x87 extended format: the significand with its leading bit, then sign and exponent.
        std::uint16_t signAndExponent = 0;
        std::memcpy(&m, &x, sizeof m);
        std::memcpy(&signAndExponent, reinterpret_cast<const char*>(&x) + sizeof m,
                    sizeof signAndExponent);
        e = (signAndExponent & 0x7FFF) - 16382;
    } else {
        const long double fraction = std::frexp(x, &e); // in [0.5, 1)
        m = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
    }
    // 2^(e-1) <= x < 2^e: the first digit's exponent is this or one more.
    p = static_cast<int>(std::floor(static_cast<double>(e - 1) * 0.30102999566398120));
    constexpr std::uint64_t kLow = 100000000000000000ULL; // 10^17
    constexpr std::uint64_t kHigh = 10 * kLow;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int k = 17 - p; // digits = x * 10^k
        if (k < 0 || k > kExactPowersOfTen)
            return false;
        const unsigned __int128 n =
            static_cast<unsigned __int128>(m) * kPowersOfFive[static_cast<std::size_t>(k)];
        const int s = 64 - e - k; // digits = n / 2^s, s > 0 within the range above
        if (s <= 0 || s >= 128)
            return false;
        const unsigned __int128 q = n >> s;
        const unsigned __int128 rest = n - (q << s);
        const unsigned __int128 half = static_cast<unsigned __int128>(1) << (s - 1);
        const bool roundUp = rest > half || (rest == half && (q & 1) != 0);
        if (q < kLow) {
            --p;
            continue;
        }
        if (q >= kHigh) {
            ++p;
            continue;
        }
        digits = static_cast<std::uint64_t>(q) + (roundUp ? 1 : 0);
        if (digits == kHigh) {
            digits = kLow;
            ++p;
        }
        return true;
    }
    return false;
}

bool ImageDigits(long double x, DecimalImage& img) {
    std::uint64_t digits = 0;
    if (!ImageInteger(x, digits, img.exponent))
        return false;
    char text[24];
    const auto r = std::to_chars(text, text + sizeof text, digits);
    img.digits.assign(text, r.ptr);
    return true;
}

// FormatFixed where the 18-digit image is an integer and the value rounded to `decimals` an
// integer number of 10^-decimals below 2^64: the same rounding on the same digits (the first
// digit dropped decides, half away from zero), without strings of digits. Returns false
// elsewhere.
bool FormatFixedFast(long double x, int width, int decimals, std::string& out) {
    std::uint64_t digits = 0;
    int p = 0;
    if (decimals > 18 || !ImageInteger(std::fabs(x), digits, p))
        return false;
    const int keep = p + 1 + decimals; // digits of the image up to the last decimal place
    if (keep > 19)
        return false;
    std::uint64_t q = 0; // the value in units of 10^-decimals, rounded
    if (keep >= 18) {
        q = digits * kIntegerPowersOfTen[static_cast<std::size_t>(keep - 18)];
    } else if (keep >= 0) {
        const std::uint64_t unit = kIntegerPowersOfTen[static_cast<std::size_t>(18 - keep)];
        q = digits / unit;
        if (digits % unit >= unit / 10 * 5)
            ++q;
    }
    const bool nonZero = q != 0;
    char text[48];
    char* end = text + sizeof text;
    char* begin = end;
    for (int written = 0; q != 0 || written <= decimals; ++written) {
        if (written == decimals && decimals > 0)
            *--begin = '.';
        *--begin = static_cast<char>('0' + q % 10);
        q /= 10;
    }
    if (x < 0 && nonZero)
        *--begin = '-';
    const auto length = static_cast<std::size_t>(end - begin);
    const std::size_t blanks = static_cast<std::size_t>(std::max(width, 0)) > length
                                   ? static_cast<std::size_t>(width) - length
                                   : 0;
    out.resize(blanks + length);
    std::fill_n(out.begin(), blanks, ' ');
    std::copy(begin, end, out.begin() + static_cast<std::ptrdiff_t>(blanks));
    return true;
}

DecimalImage MakeImage(long double x) {
    DecimalImage img;
    if (x == 0.0L || !std::isfinite(x))
        return img;
    if (ImageDigits(std::fabs(x), img))
        return img;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17Le", std::fabs(x));
    // buf = "d.ddddddddddddddddde+XX"
    const char* p = buf;
    img.digits.push_back(*p++);
    ++p; // point
    while (IsDigit(*p))
        img.digits.push_back(*p++);
    ++p; // 'e'
    img.exponent = std::atoi(p);
    return img;
}

// A plain decimal of at most 19 digits and 27 decimals ("12.345", "0.5", "7"): its digits and
// the power of ten are exact long doubles, so their one quotient is the correctly rounded value,
// as from_chars gives it. Returns false for any other form.
bool ReadPlainDecimal(std::string_view mantissa, long double& value) {
    std::uint64_t digits = 0;
    int count = 0, decimals = 0;
    bool afterPoint = false;
    for (char c : mantissa) {
        if (c == '.') {
            if (afterPoint)
                return false;
            afterPoint = true;
            continue;
        }
        if (!IsDigit(c))
            return false;
        if (digits != 0 || c != '0')
            ++count;
        if (count > 19)
            return false;
        digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
        if (afterPoint)
            ++decimals;
    }
    if (decimals > kExactPowersOfTen)
        return false;
    value = static_cast<long double>(digits);
    if (decimals > 0)
        value /= kPowersOfTen[static_cast<std::size_t>(decimals)];
    return true;
}

// Rounds `digits` (value 0.d1d2... scaled) to keep `keep` leading digits, half away from zero.
// Returns the kept digits; a carry out of the first digit grows the string by one and is
// reported through `carry`.
std::string RoundDigits(const std::string& digits, int keep, bool& carry) {
    carry = false;
    if (keep < 0)
        return {};
    std::string kept = digits.substr(0, std::min<size_t>(keep, digits.size()));
    while (static_cast<int>(kept.size()) < keep)
        kept.push_back('0');
    if (keep < static_cast<int>(digits.size()) && digits[keep] >= '5') {
        int i = keep - 1;
        while (i >= 0 && kept[i] == '9') {
            kept[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++kept[i];
        } else {
            kept.insert(kept.begin(), '1');
            carry = true;
        }
    }
    return kept;
}

std::string PadLeft(std::string s, int width) {
    if (static_cast<int>(s.size()) < width)
        s.insert(0, width - s.size(), ' ');
    return s;
}

} // namespace

long double ParseNumber(std::string_view text, int* errorPos) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const size_t mantissaStart = i;
    size_t end = i; // end of the longest readable prefix
    while (i < n && IsDigit(text[i]))
        ++i;
    bool haveDigits = i > mantissaStart;
    if (haveDigits)
        end = i;
    if (i < n && text[i] == '.') {
        size_t j = i + 1;
        while (j < n && IsDigit(text[j]))
            ++j;
        if (haveDigits || j > i + 1) {
            haveDigits = true;
            i = j;
            end = i;
        }
    }
    if (haveDigits && i < n && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-'))
            ++j;
        const size_t expDigits = j;
        while (j < n && IsDigit(text[j]))
            ++j;
        if (j > expDigits) {
            i = j;
            end = i;
        }
    }
    long double value = 0.0L;
    if (haveDigits) {
        // A plain decimal ("5." and ".5" included) is read in place; any other form by from_chars,
        // which does not take "5." or ".5" forms with a bare point in every library version.
        const std::string_view written = text.substr(mantissaStart, end - mantissaStart);
        if (!ReadPlainDecimal(written, value)) {
            std::string mantissa(written);
            if (!mantissa.empty() && mantissa.front() == '.')
                mantissa.insert(0, "0");
            const auto dot = mantissa.find('.');
            if (dot != std::string::npos &&
                (dot + 1 == mantissa.size() || !IsDigit(mantissa[dot + 1])))
                mantissa.insert(dot + 1, "0");
            std::from_chars(mantissa.data(), mantissa.data() + mantissa.size(), value);
        }
        if (negative)
            value = -value;
    }
    if (errorPos) {
        if (haveDigits && end == n)
            *errorPos = 0;
        else
            *errorPos = static_cast<int>(haveDigits ? end : i) + 1;
    }
    return value;
}

std::string FormatFixed(long double x, int width, int decimals) {
    if (!std::isfinite(x))
        return std::string(static_cast<size_t>(std::max(width, 0)), ' ');
    if (decimals < 0)
        decimals = 0;
    if (std::string fast; FormatFixedFast(x, width, decimals, fast))
        return fast;
    const DecimalImage img = MakeImage(x);
    std::string intPart, fracPart;
    bool nonZero = false;
    if (!img.digits.empty()) {
        bool carry = false;
        const int keep = img.exponent + 1 + decimals; // digits up to the last decimal place
        std::string kept = RoundDigits(img.digits, keep, carry);
        int intDigits = img.exponent + 1 + (carry ? 1 : 0);
        if (keep < 0 || kept.empty()) {
            kept.clear();
            intDigits = 0;
        }
        // Place the kept digits: intDigits of them before the point (may be <= 0).
        std::string all = kept;
        if (intDigits <= 0) {
            all.insert(0, static_cast<size_t>(-intDigits) + 1, '0');
            intDigits = 1;
        }
        intPart = all.substr(0, intDigits);
        fracPart = all.substr(intDigits);
        while (static_cast<int>(fracPart.size()) < decimals)
            fracPart.push_back('0');
        fracPart.resize(decimals);
        size_t firstNonZero = intPart.find_first_not_of('0');
        intPart = firstNonZero == std::string::npos ? "0" : intPart.substr(firstNonZero);
        nonZero = intPart != "0" || fracPart.find_first_not_of('0') != std::string::npos;
    } else {
        intPart = "0";
        fracPart.assign(decimals, '0');
    }
    std::string s;
    if (x < 0 && nonZero)
        s.push_back('-');
    s += intPart;
    if (decimals > 0) {
        s.push_back('.');
        s += fracPart;
    }
    return PadLeft(s, width);
}

std::string FormatScientific(long double x, int width) {
    if (!std::isfinite(x))
        return std::string(static_cast<size_t>(std::max(width, 0)), ' ');
    int significant = width - 8;
    if (significant < 2)
        significant = 2;
    if (significant > 18)
        significant = 18;
    const DecimalImage img = MakeImage(x);
    std::string digits;
    int exponent = 0;
    if (img.digits.empty()) {
        digits.assign(significant, '0');
    } else {
        bool carry = false;
        digits = RoundDigits(img.digits, significant, carry);
        exponent = img.exponent;
        if (carry) {
            digits.pop_back();
            ++exponent;
        }
    }
    std::string s(1, x < 0 && !img.digits.empty() ? '-' : ' ');
    s.push_back(digits[0]);
    s.push_back('.');
    s.append(digits, 1, std::string::npos);
    s.push_back('E');
    s.push_back(exponent < 0 ? '-' : '+');
    char exp[16];
    std::snprintf(exp, sizeof exp, "%04d", exponent < 0 ? -exponent : exponent);
    s += exp;
    return PadLeft(s, width);
}

void NormalizeNumberText(std::string& text) {
    const auto comma = text.find(',');
    if (comma != std::string::npos)
        text[comma] = '.';
    text = NormalizedNumber(ParseNumber(text));
}

std::string NormalizedNumber(long double typed) {
    // A text too large for any number ("1e99999") becomes 0, as it always has.
    const long double x = std::fabs(typed);
    return FormatFixed(std::isfinite(x) ? x : 0.0L, 8, 3);
}

std::string CutValueText(std::string_view text) {
    return Utf8Prefix(text, 10);
}

} // namespace zeb::app
