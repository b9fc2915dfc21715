#pragma once
// Seeded analyses spread over what the analysis form accepts: pH from 4.3, temperatures 0-90 degC,
// KS 4.3 from 0.05 mmol/L, an entered ionic strength 0-50 mmol/L, soft to very hard waters, with
// and without phosphate, from KB/KS or from DIC. Every eighth water sits on the ends of those
// ranges. The same index always gives the same analysis, so a failure names its water.

#include "app/number_format.h"
#include "app/project.h"

#include <algorithm>
#include <cstdint>
#include <random>

namespace zeb::test {

inline app::WaterAnalysis RandomWater(std::uint64_t index) {
    std::mt19937_64 rng(index * 0x9E3779B97F4A7C15ULL + 12345);
    auto uniform = [&](long double lo, long double hi) {
        return lo + (hi - lo) * static_cast<long double>(rng() >> 11) * 0x1p-53L;
    };
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<std::uint64_t>(n)); };
    auto text = [](long double x) { return app::FormatFixed(x, 8, 3); };
    const bool edge = index % 8 == 7;
    // An end of [lo, hi] for an edge water, else a value between them.
    auto value = [&](long double lo, long double hi) {
        return edge && pick(2) == 0 ? (pick(2) == 0 ? lo : hi) : uniform(lo, hi);
    };

    app::WaterAnalysis w;
    app::SetDefaultWater(w);
    const long double pH = pick(6) == 0 ? value(4.3L, 11.0L) : value(6.0L, 9.5L);
    w.pH = text(pH);
    w.tempPH = text(value(0, 90));
    w.tempTitr43 = text(pick(2) == 0 ? value(0, 90) : uniform(8, 25));
    w.tempTitr82 = pick(2) == 0 ? w.tempPH : text(value(0, 90));
    w.tempCalc = text(value(0, 90));
    const long double ks43 = pick(4) == 0 ? value(0.05L, 0.5L) : value(0.05L, 12.0L);
    w.ks43 = text(ks43);
    if (pH < 8.2L) {
        w.kb82 = text(value(0.0L, std::max(0.02L, ks43 * (8.2L - pH) * 0.8L)));
    } else {
        w.ks82 = text(value(0.0L, ks43 * 0.4L));
    }
    w.dic = text(value(0.05L, 15.0L));
    w.cCa = text(pick(10) == 0 ? value(0, 0.05L) : value(0, 8));
    w.cMg = text(value(0, 3));
    w.cNa = text(value(0, 15));
    w.cK = text(value(0, 1));
    w.cCl = text(value(0, 12));
    w.cNO3 = text(value(0, 2));
    w.cSO4 = text(value(0, 8));
    w.cPO4 = text(pick(3) == 0 ? value(0.001L, 0.5L) : 0.0L);
    if (pick(2) == 0) {
        w.cNH4 = text(value(0, 0.5L));
        w.cFe = text(value(0, 0.2L));
        w.cMn = text(value(0, 0.1L));
    }
    w.dicMode = pick(4) == 0 ? "DIC" : "KSB";
    w.iosMode = pick(5) == 0 ? "ZEB" : "IOS";
    w.iosInput = text(value(0, 50));
    return w;
}

} // namespace zeb::test
