#include "results/constants_table.h"

#include <gtest/gtest.h>

namespace zeb::results {
namespace {

TEST(ConstantsTableTest, ThermodynamicValuesAt25) {
    ConstantsInput in{"25", "0"};
    const ConstantsView view = RunConstantsView(in);
    EXPECT_EQ(view.clamps, InputClamp::None);
    EXPECT_EQ(in.temperature, "  25.000");
    EXPECT_EQ(view.table.gammaH, 1.0L);
    const struct {
        int line;
        double lgK;
    } expected[] = {{1, -6.356},   {2, -10.329},  {9, -13.996}, {10, -8.481},
                    {11, -18.156}, {14, -11.959}, {23, -2.024}};
    for (const auto& e : expected) {
        EXPECT_NEAR(view.table.lgK[e.line - 1], e.lgK, 1e-12) << e.line;
    }
}

TEST(ConstantsTableTest, InputCheckClampsAndNormalises) {
    ConstantsInput in{"95", "-60,5"};
    const ConstantsView view = RunConstantsView(in);
    EXPECT_EQ(view.clamps, InputClamp::Temperature | InputClamp::IonicStrength);
    EXPECT_EQ(in.temperature, "  90.000");
    EXPECT_EQ(in.ionicStrength, "  50.000");
    EXPECT_EQ(view.table.temperature, 90.0L);
    EXPECT_EQ(view.table.ionicStrength, 50.0L);
    EXPECT_EQ(ClampMessages(view.clamps, app::Language::English),
              (std::vector<std::string>{"Temperature: range of validity (0-90 °C) exceeded!",
                                        "Ionic strength: range of validity (0-50 mmol/L) "
                                        "exceeded!"}));
    // The computation uses the value as the field shows it, with three decimals.
    ConstantsInput rounded{"12,34567", "3"};
    EXPECT_EQ(RunConstantsView(rounded).table.temperature, 12.346L);
    // Exactly at the limit is inside the range.
    ConstantsInput edge{"90", "50"};
    EXPECT_EQ(CheckConstantsInput(edge), InputClamp::None);
}

TEST(CarbonicToolTest, EqualFractionsAtPK1) {
    CarbonicInput in{"6,356", "25", "0"};
    const CarbonicView view = RunCarbonicTool(in);
    EXPECT_EQ(in.pH, "   6.356");
    const CarbonicSpeciesValues& v = view.values;
    EXPECT_LT(v.fractionCO2, 0.5L);
    EXPECT_LT(v.fractionHCO3, 0.5L);
    EXPECT_GT(v.fractionCO2, 0.4999L);
    EXPECT_NEAR(v.fractionCO2 + v.fractionHCO3 + v.fractionCO3, 1.0, 1e-15);
    EXPECT_NEAR(v.chargeFactor, v.fractionHCO3 + 2 * v.fractionCO3, 1e-15);
}

TEST(CarbonicToolTest, PHIsNotLimitedButTemperatureIs) {
    CarbonicInput in{"14.5", "100", "10"};
    const CarbonicView view = RunCarbonicTool(in);
    EXPECT_EQ(view.clamps, InputClamp::Temperature);
    EXPECT_EQ(view.values.pH, 14.5L);
    EXPECT_EQ(view.values.temperature, 90.0L);
    EXPECT_EQ(ClampMessageKeys(view.clamps),
              (std::vector<std::string_view>{"msg.rangeTemperature"}));
    CarbonicInput neutral{"7", "25", "0"};
    EXPECT_NEAR(RunCarbonicTool(neutral).values.ohMinusH, 0.0, 1e-6);
}

} // namespace
} // namespace zeb::results
