#pragma once
// The constants view and the carbonic acid species tool: their input check and the values
// they show. The windows and zeb-cli both go through here, so they show the same numbers.

#include "app/texts.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace zeb::results {

// Which inputs the check had to clamp to the range of validity (bit set).
enum class InputClamp : unsigned { None = 0, Temperature = 1u << 0, IonicStrength = 1u << 1 };

constexpr InputClamp operator|(InputClamp a, InputClamp b) {
    return static_cast<InputClamp>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr bool HasClamp(InputClamp set, InputClamp flag) {
    return (static_cast<unsigned>(set) & static_cast<unsigned>(flag)) != 0;
}

inline constexpr long double kMaxTemperature = 90.0L;   // degC
inline constexpr long double kMaxIonicStrength = 50.0L; // mmol/L

// Language-table keys of the messages for the clamps in `set`, in the order the fields are
// checked (temperature before ionic strength): "msg.rangeTemperature",
// "msg.rangeIonicStrength".
std::vector<std::string_view> ClampMessageKeys(InputClamp set);
// The same messages as texts of `lang`; one information box each.
std::vector<std::string> ClampMessages(InputClamp set, app::Language lang);

// The check of one entry field: normalise the typed text (comma, absolute value, 8.3), clamp
// at `limit` when the value is above it, write the value back as 8.3 text. Returns the value
// read back from the field and whether it was clamped. A negative limit means no limit (pH).
struct CheckedValue {
    long double value = 0;
    bool clamped = false;
};
CheckedValue CheckEntryField(std::string& text, long double limit);

// --- constants view -----------------------------------------------------------------------

// The two entry fields, as typed; the window starts with "0" in both.
struct ConstantsInput {
    std::string temperature = "0";   // degC
    std::string ionicStrength = "0"; // mmol/L
};

// Checks both fields in window order and rewrites them.
InputClamp CheckConstantsInput(ConstantsInput& input);

struct ConstantsTable {
    long double temperature = 0;   // degC, as used
    long double ionicStrength = 0; // mmol/L, as used
    long double gammaH = 0;        // activity coefficient of H+
    // Line n (1..23) at index n - 1: lg of the conditional constant Kn in mol/L units
    // (shown 8 wide with 6 decimals).
    std::array<long double, 23> lgK{};
};

ConstantsTable ComputeConstantsTable(long double temperature, long double ionicStrength);

// "&Run": the check, then the table from the checked fields.
struct ConstantsView {
    ConstantsTable table;
    InputClamp clamps = InputClamp::None;
};
ConstantsView RunConstantsView(ConstantsInput& input);

// Language-table keys of line n (1..23): the numbered mass-action text ("TForm13.lineK<n>")
// and the unit ("TForm13.unitMolL", "TForm13.unitMolL2" for lines 9 and 10,
// "TForm13.unitMolL3Bar" for line 11).
std::string ConstantLineKey(int n);
std::string_view ConstantUnitKey(int n);

// --- carbonic acid species tool -------------------------------------------------------------

struct CarbonicInput {
    std::string pH = "0";            // no limit
    std::string temperature = "0";   // degC
    std::string ionicStrength = "0"; // mmol/L
};

InputClamp CheckCarbonicInput(CarbonicInput& input);

// Shown 8 wide with 8 decimals, in this order.
struct CarbonicSpeciesValues {
    long double pH = 0, temperature = 0, ionicStrength = 0; // as used
    long double chargeFactor = 0;                           // equivalents per mmol of DIC
    long double fractionCO2 = 0;
    long double fractionHCO3 = 0;
    long double fractionCO3 = 0;
    long double ohMinusH = 0; // c(OH-) - c(H+), mmol/L
};

CarbonicSpeciesValues ComputeCarbonicSpecies(long double pH, long double temperature,
                                             long double ionicStrength);

struct CarbonicView {
    CarbonicSpeciesValues values;
    InputClamp clamps = InputClamp::None;
};
CarbonicView RunCarbonicTool(CarbonicInput& input);

} // namespace zeb::results
