#pragma once
// The fixed-size arrays through which waters, constants and activity coefficients pass between
// the engine and its callers, and the slot numbers that give their elements a meaning.

#include <array>
#include <cstddef>

namespace zeb::chem {

// 50 extended values. Callers own every array; the engine never keeps one between calls.
using Vector50 = std::array<long double, 50>;
using Vector5 = std::array<long double, 5>;

// Concentrations in mmol/L by slot (see `slot`). The caller fills the totals and the inert ions
// and zeroes the rest; `Speciate` overwrites the species slots 8-36 (slot 22 is unused).
using SpeciesVector = Vector50;

// Conditional constants in concentration units: slot n - 1 holds Kn, n = 1..23 (mmol/L, with
// K9, K10 in (mmol/L)^2 and K11 in (mmol/L)^3 per mbar of CO2). Slots 23-49 stay 0.
using EquilibriumConstants = Vector50;

// lg gamma by species slot; 0 (gamma = 1) for neutral species and for the input slots.
using ActivityCoefficients = Vector50;

// Slot numbers of a SpeciesVector (and of ActivityCoefficients, which shares them).
namespace slot {
enum : std::size_t {
    Dic = 0,      // total dissolved inorganic carbon (input; set by the carbonate solver)
    CaTotal = 1,  // input
    MgTotal = 2,  // input
    So4Total = 3, // input
    Na = 4,       // input, +1
    K = 5,        // input, +1
    Cl = 6,       // input, -1
    No3 = 7,      // input, -1
    H = 8,        // speciation, +1
    Oh = 9,       // speciation, -1
    Co2 = 10,     // free carbonic acid, neutral
    Hco3 = 11,
    Co3 = 12, // free
    Ca = 13,  // free
    CaHco3 = 14,
    CaCo3 = 15,
    CaSo4 = 16,
    Mg = 17, // free
    MgHco3 = 18,
    MgCo3 = 19,
    MgSo4 = 20,
    So4 = 21, // free
    H3po4 = 23,
    H2po4 = 24,
    Hpo4 = 25,
    Po4 = 26, // free
    CaPo4 = 27,
    CaHpo4 = 28,
    CaH2po4 = 29,
    MgPo4 = 30,
    MgHpo4 = 31,
    MgH2po4 = 32,
    Po4Total = 33, // input
    CaOh = 34,
    MgOh = 35,
    Hso4 = 36,
    Nh4 = 39, // input, +1
    Fe = 47,  // iron(II), input, +2
    Mn = 48,  // manganese(II), input, +2
};
} // namespace slot

// Index of constant Kn (n = 1..23) in an EquilibriumConstants array.
constexpr std::size_t KIndex(int n) {
    return static_cast<std::size_t>(n - 1);
}

} // namespace zeb::chem
