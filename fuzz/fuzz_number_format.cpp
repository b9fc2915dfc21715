// Number texts: reading any text, and showing any value at any width, never fails and never shows
// a value that is not a number.
#include "app/number_format.h"
#include "fuzz_support.h"

#include <algorithm>
#include <cmath>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zeb;
    if (size < 2)
        return 0;
    const int width = data[0] % 40;
    const int decimals = data[1] % 20;
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

    int errorPos = -1;
    const long double x = app::ParseNumber(text, &errorPos);
    if (errorPos < 0 || static_cast<std::size_t>(errorPos) > text.size() + 1)
        std::abort();

    // The input's bytes as a double too, so that NaN, infinities and subnormals are shown as
    // well (every bit pattern of a double is a value arithmetic can produce).
    double bits = 0;
    std::memcpy(&bits, text.data(), std::min(text.size(), sizeof bits));
    const long double raw = bits;
    for (long double v : {x, raw, -x}) {
        const std::string fixed = app::FormatFixed(v, width, decimals);
        const std::string sci = app::FormatScientific(v, width);
        if (fuzz::ShowsNonNumber(fixed) || fuzz::ShowsNonNumber(sci))
            std::abort();
        if (fixed.size() < static_cast<std::size_t>(width) ||
            sci.size() < static_cast<std::size_t>(width))
            std::abort();
        // A shown value reads back as itself to the decimals shown.
        if (std::isfinite(v) && std::fabs(v) < 1e15L) {
            const long double back = app::ParseNumber(fixed);
            if (std::fabs(back - v) > 0.51L * std::pow(10.0L, -decimals) + 1e-15L * std::fabs(v))
                std::abort();
        }
    }

    std::string normalized(text);
    app::NormalizeNumberText(normalized);
    if (fuzz::ShowsNonNumber(normalized) || app::ParseNumber(normalized) < 0)
        std::abort();
    const std::string cut = app::CutValueText(text);
    if (cut.size() > text.size())
        std::abort();
    return 0;
}
