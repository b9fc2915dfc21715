#include "results/constants_table.h"

#include "app/number_format.h"
#include "chem/carbonate.h"
#include "chem/constants.h"
#include "chem/numeric.h"

namespace zeb::results {

std::vector<std::string_view> ClampMessageKeys(InputClamp set) {
    std::vector<std::string_view> keys;
    if (HasClamp(set, InputClamp::Temperature)) {
        keys.push_back("msg.rangeTemperature");
    }
    if (HasClamp(set, InputClamp::IonicStrength)) {
        keys.push_back("msg.rangeIonicStrength");
    }
    return keys;
}

std::vector<std::string> ClampMessages(InputClamp set, app::Language lang) {
    std::vector<std::string> texts;
    for (std::string_view key : ClampMessageKeys(set)) {
        texts.emplace_back(app::Text(key, lang));
    }
    return texts;
}

CheckedValue CheckEntryField(std::string& text, long double limit) {
    app::NormalizeNumberText(text);
    CheckedValue v;
    v.value = app::ParseNumber(text);
    if (limit >= 0.0L && v.value > limit) {
        v.value = limit;
        v.clamped = true;
    }
    text = app::FormatFixed(v.value, 8, 3);
    // The computation reads the field, i.e. the value as shown with 3 decimals.
    v.value = app::ParseNumber(text);
    return v;
}

namespace {

InputClamp CheckTemperatureAndIonicStrength(std::string& temperature, std::string& ionicStrength) {
    InputClamp clamps = InputClamp::None;
    if (CheckEntryField(temperature, kMaxTemperature).clamped) {
        clamps = clamps | InputClamp::Temperature;
    }
    if (CheckEntryField(ionicStrength, kMaxIonicStrength).clamped) {
        clamps = clamps | InputClamp::IonicStrength;
    }
    return clamps;
}

} // namespace

InputClamp CheckConstantsInput(ConstantsInput& input) {
    return CheckTemperatureAndIonicStrength(input.temperature, input.ionicStrength);
}

ConstantsTable ComputeConstantsTable(long double temperature, long double ionicStrength) {
    ConstantsTable table;
    table.temperature = temperature;
    table.ionicStrength = ionicStrength;
    chem::EquilibriumConstants k;
    chem::ComputeConstants(temperature, ionicStrength, table.gammaH, k);
    for (int n = 1; n <= chem::kConstantCount; ++n) {
        table.lgK[chem::KIndex(n)] = chem::Log10(k[chem::KIndex(n)] / chem::ConstantUnitFactor(n));
    }
    return table;
}

ConstantsView RunConstantsView(ConstantsInput& input) {
    ConstantsView view;
    view.clamps = CheckConstantsInput(input);
    view.table = ComputeConstantsTable(app::ParseNumber(input.temperature),
                                       app::ParseNumber(input.ionicStrength));
    return view;
}

std::string ConstantLineKey(int n) {
    return "TForm13.lineK" + std::to_string(n);
}

std::string_view ConstantUnitKey(int n) {
    if (n == 9 || n == 10) {
        return "TForm13.unitMolL2";
    }
    if (n == 11) {
        return "TForm13.unitMolL3Bar";
    }
    return "TForm13.unitMolL";
}

InputClamp CheckCarbonicInput(CarbonicInput& input) {
    CheckEntryField(input.pH, -1.0L);
    return CheckTemperatureAndIonicStrength(input.temperature, input.ionicStrength);
}

CarbonicSpeciesValues ComputeCarbonicSpecies(long double pH, long double temperature,
                                             long double ionicStrength) {
    const chem::CarbonicFractionsResult f = chem::CarbonicFractions(pH, temperature, ionicStrength);
    CarbonicSpeciesValues v;
    v.pH = pH;
    v.temperature = temperature;
    v.ionicStrength = ionicStrength;
    v.chargeFactor = f.chargeFactor;
    v.fractionCO2 = f.alpha0;
    v.fractionHCO3 = f.alpha1;
    v.fractionCO3 = f.alpha2;
    v.ohMinusH = f.ohMinusH;
    return v;
}

CarbonicView RunCarbonicTool(CarbonicInput& input) {
    CarbonicView view;
    view.clamps = CheckCarbonicInput(input);
    // The window checks its fields once more after showing the values; the first check has
    // already made them canonical and in range, so that second pass changes nothing.
    view.values =
        ComputeCarbonicSpecies(app::ParseNumber(input.pH), app::ParseNumber(input.temperature),
                               app::ParseNumber(input.ionicStrength));
    return view;
}

} // namespace zeb::results
