#pragma once
// The W 216 assessment: two waters I and II (taken from A, B, C or typed as a minimum and a
// maximum), two blends of them, and for seven parameters a weighted value P per blend whose
// difference |P1 - P2| above 1 needs attention when the waters meet in a network.

#include "app/project.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace zeb::results {

inline constexpr int kW216RowCount = 7;
enum class W216Column { I = 0, II = 1 };

// The rows in window order: c(O2), KS 4.3, c(Cl), c(SO4), c(PO4), TOC, qA.
// Short names as zeb-cli writes them: "O2", "KS4.3", "Cl", "SO4", "PO4", "TOC", "qA".
std::string_view W216RowName(int row);

// The power law of row r (0..6) at the blend value c; a negative c enters as 0.
long double W216Weight(int row, long double c);

// Nearest whole number, halves to the even neighbour (the shares of the window).
long double RoundHalfEven(long double x);

// Row 7 of a column: (c(Cl) + 2 c(SO4)) / KS 4.3 as 8.3 text when KS 4.3 > 0, else empty.
std::string W216QAText(std::string_view ks43, std::string_view cl, std::string_view so4);
// Recomputes row 7 of both columns from their rows 2 to 4.
void UpdateW216QA(app::W216Data& data);

// The share check of both blends: share of I normalised; above 100 it becomes 100 with the
// message "msg.rangeFraction1" (blend 1) or "msg.rangeFraction2" (blend 2); both shares are
// written as whole numbers in width 8, II as 100 minus I. Returns the message keys in order.
std::vector<std::string_view> NormalizeW216Shares(app::W216Data& data);

// The value entries (rows 1 to 6 of both columns) normalised to 8.3, then row 7 recomputed.
void NormalizeW216Values(app::W216Data& data);

// Both of the above, as on showing the window, on "&OK" and at the start of "&Run".
std::vector<std::string_view> NormalizeW216Inputs(app::W216Data& data);

// Loads rows 1 to 6 of one column from a water's texts and computes its row 7.
void LoadW216Column(app::W216Data& data, W216Column column, const app::WaterAnalysis& water);

// "min - max" mode: the letter of I is "M" and both columns hold typed values.
bool W216MinMaxMode(const app::W216Data& data);

struct W216RowResult {
    long double valueI = 0, valueII = 0; // the two columns as read from their texts
    long double blend1 = 0, blend2 = 0;  // c1, c2
    long double p1 = 0, p2 = 0;
    long double difference = 0; // |P1 - P2|
    bool flagged = false;       // difference > 1
};

struct W216Result {
    // The inputs as the window shows them after the run: normalised, columns reloaded from
    // their waters, row 7 recomputed.
    app::W216Data inputs;
    bool minMax = false;
    std::string textI, textII; // the chosen waters' texts (water mode)
    // Shares in % as used: blend 1 I and II, blend 2 I and II.
    long double shareI1 = 0, shareII1 = 0, shareI2 = 0, shareII2 = 0;
    std::array<W216RowResult, kW216RowCount> rows{};
    std::vector<std::string_view> messageKeys; // range messages of the normalisation
};

// "&Run": normalise, reload each column from its chosen water, then both blends and the power
// laws. `waters` are A, B and C of the project.
W216Result ComputeW216(const app::W216Data& data, const std::array<app::WaterAnalysis, 3>& waters);

} // namespace zeb::results
