#include "app/cp1252.h"
#include "app/number_format.h"

#include <gtest/gtest.h>

#include <cctype>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

using namespace zeb::app;

namespace {

struct NormalizeCase {
    const char* typed;
    const char* stored;
};

class NormalizeTest : public testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizeTest, GivesTheStoredForm) {
    std::string text = GetParam().typed;
    NormalizeNumberText(text);
    EXPECT_EQ(text, GetParam().stored) << "typed: \"" << GetParam().typed << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    TypedTexts, NormalizeTest,
    testing::Values(NormalizeCase{"7,5", "   7.500"}, NormalizeCase{"7.5", "   7.500"},
                    NormalizeCase{"-2", "   2.000"}, NormalizeCase{"", "   0.000"},
                    NormalizeCase{"1e2", " 100.000"}, NormalizeCase{"3,14159", "   3.142"},
                    NormalizeCase{"12345,6789", "12345.679"}, NormalizeCase{"2.0005", "   2.001"},
                    NormalizeCase{"7.5 ", "   7.500"}, NormalizeCase{"1,5,3", "   1.500"},
                    NormalizeCase{"abc", "   0.000"}, NormalizeCase{"  +4.25E-1", "   0.425"},
                    NormalizeCase{"0,0005", "   0.001"}, NormalizeCase{"0.00049", "   0.000"}),
    // Named after the typed text, so that one case can be chosen by name.
    [](const testing::TestParamInfo<NormalizeCase>& info) {
        std::string name;
        for (const char* c = info.param.typed; *c; ++c) {
            if (std::isalnum(static_cast<unsigned char>(*c)))
                name += *c;
            else
                name += *c == ','   ? "_comma_"
                        : *c == '.' ? "_point_"
                        : *c == '-' ? "_minus_"
                        : *c == '+' ? "_plus_"
                                    : "_blank_";
        }
        return name.empty() ? std::string("empty") : name;
    });

TEST(ParseNumber, ReportsWhereReadingStopped) {
    int pos = -1;
    EXPECT_EQ(ParseNumber("   7.000", &pos), 7.0L);
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(ParseNumber("7.5 ", &pos), 7.5L);
    EXPECT_EQ(pos, 4);
    EXPECT_EQ(ParseNumber("", &pos), 0.0L);
    EXPECT_EQ(pos, 1);
    EXPECT_EQ(ParseNumber("1,5", &pos), 1.0L);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(ParseNumber("-0.125"), -0.125L);
    EXPECT_EQ(ParseNumber("5."), 5.0L);
    EXPECT_EQ(ParseNumber(".5"), 0.5L);
    EXPECT_EQ(ParseNumber("-5.e-1", &pos), -0.5L); // a bare point before an exponent
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(ParseNumber("2e"), 2.0L);
}

TEST(ParseNumber, ReadsFullExtendedPrecision) {
    EXPECT_EQ(ParseNumber("0.1"), 0.1L);
    EXPECT_EQ(ParseNumber("100.088"), 100.088L);
}

TEST(FormatFixed, RoundsHalfAwayFromZeroAndNeverCuts) {
    EXPECT_EQ(FormatFixed(7.0L, 8, 3), "   7.000");
    EXPECT_EQ(FormatFixed(-0.0125L, 8, 3), "  -0.013");
    EXPECT_EQ(FormatFixed(-0.0004L, 8, 3), "   0.000");
    EXPECT_EQ(FormatFixed(9.9996L, 8, 3), "  10.000");
    EXPECT_EQ(FormatFixed(99.5L, 8, 0), "     100");
    EXPECT_EQ(FormatFixed(123456789.0L, 8, 3), "123456789.000");
    EXPECT_EQ(FormatFixed(6.3560004L, 8, 6), "6.356000");
    EXPECT_EQ(FormatFixed(0.5L, 6, 1), "   0.5");
    EXPECT_EQ(FormatFixed(1e-9L, 8, 3), "   0.000");
}

TEST(FormatFixed, DoesNotDependOnTheLocale) {
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "no German locale installed";
    EXPECT_EQ(FormatFixed(7.5L, 8, 3), "   7.500");
    EXPECT_EQ(ParseNumber("7.5"), 7.5L);
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(FormatScientific, FourSignificantDigitsInWidth12) {
    EXPECT_EQ(FormatScientific(1000.0L, 12), " 1.000E+0003");
    EXPECT_EQ(FormatScientific(-2.34567e-5L, 12), "-2.346E-0005");
    EXPECT_EQ(FormatScientific(0.0L, 12), " 0.000E+0000");
    EXPECT_EQ(FormatScientific(9.99951L, 12), " 1.000E+0001");
    EXPECT_EQ(FormatScientific(3.0L, 9), " 3.0E+0000"); // at least two significant digits
}

TEST(FormatFixed, ValuesThatAreNotNumbersStayBlank) {
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const long double inf = std::numeric_limits<long double>::infinity();
    for (long double x : {nan, -nan, inf, -inf}) {
        EXPECT_EQ(FormatFixed(x, 8, 3), "        ");
        EXPECT_EQ(FormatFixed(x, 0, 1), "");
        EXPECT_EQ(FormatScientific(x, 12), "            ");
    }
    // A zero stays a zero, so the two can be told apart.
    EXPECT_EQ(FormatFixed(0.0L, 8, 3), "   0.000");
}

// Numbers are read and imaged without the C library where the arithmetic is exact; the texts
// must stay those that strtold and printf give, ties at the nineteenth digit included, and the
// fixed form must round the digits printf gives.
TEST(NumberTexts, SameAsTheCLibraryToTheLastDigit) {
    std::mt19937_64 rng(11);
    auto image = [](long double x) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17Le", std::fabs(x));
        const int e = std::atoi(std::strchr(buf, 'e') + 1);
        std::string d;
        for (const char* p = buf; *p != 'e'; ++p)
            if (*p != '.')
                d += *p;
        char out[64];
        std::snprintf(out, sizeof out, "%c%c.%sE%c%04d", x < 0 ? '-' : ' ', d[0], d.c_str() + 1,
                      e < 0 ? '-' : '+', std::abs(e));
        return std::string(out);
    };
    // The fixed form: printf's 18-digit image rounded at the last decimal, half away from zero.
    auto fixed = [](long double x, int decimals) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17Le", std::fabs(x));
        const int e = std::atoi(std::strchr(buf, 'e') + 1);
        std::string digits; // of 0.ddd... * 10^(e + 1)
        for (const char* p = buf; *p != 'e'; ++p)
            if (*p != '.')
                digits += *p;
        digits.insert(0, static_cast<std::size_t>(std::max(0, -e) + decimals + 2), '0');
        const int point = std::max(0, -e) + decimals + 2 + e + 1; // digits before the point
        digits.append(static_cast<std::size_t>(
                          std::max(0, point + decimals + 1 - static_cast<int>(digits.size()))),
                      '0');
        std::string kept = digits.substr(0, static_cast<std::size_t>(point + decimals));
        if (digits[static_cast<std::size_t>(point + decimals)] >= '5') {
            int i = static_cast<int>(kept.size()) - 1;
            for (; kept[static_cast<std::size_t>(i)] == '9'; --i)
                kept[static_cast<std::size_t>(i)] = '0';
            ++kept[static_cast<std::size_t>(i)];
        }
        std::string whole = kept.substr(0, static_cast<std::size_t>(point));
        whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size() - 1));
        const std::string part = kept.substr(static_cast<std::size_t>(point));
        const bool zero = kept.find_first_not_of('0') == std::string::npos;
        return std::string(x < 0 && !zero ? "-" : "") + whole + (decimals > 0 ? "." + part : "");
    };
    int wrong = 0;
    for (int i = 0; i < 40000; ++i) {
        const long double bits = std::ldexp(static_cast<long double>(rng() | (1ULL << 63)),
                                            static_cast<int>(rng() % 160) - 164);
        const long double decimal = static_cast<long double>(rng() % 1000000000000ULL) /
                                    std::pow(10.0L, static_cast<int>(rng() % 20));
        const long double tie = std::ldexp(static_cast<long double>((rng() >> 2) * 2 + 1),
                                           -static_cast<int>(rng() % 70));
        for (long double x : {bits, -bits, decimal, std::nextafter(decimal, 0.0L), tie}) {
            if (FormatScientific(x, 26) != image(x) && ++wrong <= 5)
                ADD_FAILURE() << FormatScientific(x, 26) << " vs " << image(x);
            const int decimals = static_cast<int>(rng() % 19);
            if (x != 0 && std::fabs(x) < 1e25L &&
                FormatFixed(x, 0, decimals) != fixed(x, decimals) && ++wrong <= 5)
                ADD_FAILURE() << FormatFixed(x, 0, decimals) << " vs " << fixed(x, decimals);
        }
        std::string text = std::to_string(rng() % 100000000000000000ULL);
        const int decimals = static_cast<int>(rng() % 30);
        if (decimals > 0) {
            while (static_cast<int>(text.size()) <= decimals)
                text.insert(0, "0");
            text.insert(text.size() - static_cast<std::size_t>(decimals), ".");
        }
        long double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        const long double read = ParseNumber(text);
        if (std::memcmp(&read, &expected, 10) != 0 && ++wrong <= 5)
            ADD_FAILURE() << "reading " << text;
    }
    EXPECT_EQ(wrong, 0);
}

TEST(CutValueText, KeepsTenCharactersNeverPartOfOne) {
    EXPECT_EQ(CutValueText("123456789012"), "1234567890");
    EXPECT_EQ(CutValueText("   7.000"), "   7.000");
    EXPECT_EQ(CutValueText("xäääääää"), "xäääääää");
    EXPECT_EQ(CutValueText("xääääääääää"), "xäääääääää");
    EXPECT_EQ(CutValueText("€€€€€€€€€€€€"), "€€€€€€€€€€");
    // A byte that is no UTF-8 counts as one character, as it is read and written.
    EXPECT_EQ(CutValueText("\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4"),
              "\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4\xE4");
}

TEST(Utf8, WellFormedOnly) {
    const std::pair<const char*, bool> cases[] = {
        {"", true},
        {"Härte 7 °dH €", true},
        {"\xF0\x9F\x92\xA7", true},  // U+1F4A7
        {"H\xE4rte", false},         // Windows-1252
        {"\xC3", false},             // cut short
        {"\xC0\xAF", false},         // overlong "/"
        {"\xE0\x80\xAF", false},     // overlong "/"
        {"\xED\xA0\x80", false},     // a surrogate
        {"\xF4\x90\x80\x80", false}, // past U+10FFFF
        {"\xC3\xA4\x80", false},     // a stray continuation byte
    };
    for (const auto& [text, utf8] : cases)
        EXPECT_EQ(IsUtf8(text), utf8) << text;
}

} // namespace
