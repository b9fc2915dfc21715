// The range in which the computations are defined: what is refused, what still computes, and
// the message naming the water, field, value and range.
#include "../common/test_support.h"

#include "results/domain.h"

#include <gtest/gtest.h>

namespace {

using namespace zeb;
using app::WaterAnalysis;
using app::WaterId;

struct WaterCase {
    const char* name;
    std::string WaterAnalysis::*member;
    const char* value;
    const char* refusedField; // nullptr: computes
};

class WaterDomain : public testing::TestWithParam<WaterCase> {};

TEST_P(WaterDomain, RefusesOnlyValuesOutsideTheFormulas) {
    WaterAnalysis w = test::ExampleWater(WaterId::B);
    w.dicMode = "DIC";
    w.iosMode = "";
    w.*GetParam().member = GetParam().value;
    const auto v = results::CheckWaterDomain(w, WaterId::B);
    if (GetParam().refusedField == nullptr) {
        EXPECT_FALSE(v) << results::DomainMessage(*v, app::Language::English);
        return;
    }
    ASSERT_TRUE(v);
    EXPECT_EQ(v->part, "B");
    EXPECT_EQ(v->field, GetParam().refusedField);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, WaterDomain,
    testing::Values(
        // What the analysis form lets through, with or without its range message.
        WaterCase{"Hot", &WaterAnalysis::tempCalc, "  95.000", nullptr},
        WaterCase{"HottestDefined", &WaterAnalysis::tempCalc, " 350.000", nullptr},
        WaterCase{"IonicStrengthAboveMessage", &WaterAnalysis::iosInput, " 500.000", nullptr},
        WaterCase{"Ks82AboveKs43", &WaterAnalysis::ks82, "   5.000", nullptr},
        WaterCase{"WidestColumn", &WaterAnalysis::cCa, "9999.999", nullptr},
        WaterCase{"Empty", &WaterAnalysis::cNa, "", nullptr},
        WaterCase{"Zero", &WaterAnalysis::dic, "   0.000", nullptr},
        // What only a file edited by hand can hold.
        WaterCase{"Overheated", &WaterAnalysis::tempCalc, "1e6", "T bew"},
        WaterCase{"AbsoluteZero", &WaterAnalysis::tempPH, "-273.15", "T pH"},
        WaterCase{"Freezing", &WaterAnalysis::tempTitr43, "-0.001", "T ti4.3"},
        WaterCase{"NegativeIonicStrength", &WaterAnalysis::iosInput, "-5", "IOS"},
        WaterCase{"NegativeDic", &WaterAnalysis::dic, "-1", "DIC"},
        WaterCase{"BeyondLongDoubleOfDouble", &WaterAnalysis::cCa, "1e400", "c(Ca)"},
        WaterCase{"NearLongDoubleMax", &WaterAnalysis::cMg, "1e4932", "c(Mg)"},
        WaterCase{"Concentrated", &WaterAnalysis::cCl, "10000.01", "c(Cl)"},
        WaterCase{"NegativeCapacity", &WaterAnalysis::kb82, "-0.5", "KB 8.2"},
        WaterCase{"PHAboveScale", &WaterAnalysis::pH, "14.5", "pH"},
        WaterCase{"NegativeConductivity", &WaterAnalysis::conductivity, "-1", "k"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DomainTest, ExampleProjectComputesEverywhere) {
    const app::Project& p = test::Example();
    for (WaterId id : app::kAllWaters)
        EXPECT_FALSE(results::CheckSingleWaterDomain(p, id));
    EXPECT_FALSE(results::CheckBlendDomain(p.parts.waters));
    EXPECT_FALSE(results::CheckSeriesDomain(p.water(WaterId::A), WaterId::A, p.water(WaterId::C),
                                            WaterId::C));
    EXPECT_FALSE(results::CheckConditioningDomain(p.parts.conditioning));
}

TEST(DomainTest, ValuesTheModeLeavesUnusedAreNotChecked) {
    WaterAnalysis w = test::ExampleWater(WaterId::A);
    w.iosMode = "IOS";
    w.iosInput = "-5";
    w.dicMode = "KSB";
    w.dic = "-1";
    EXPECT_FALSE(results::CheckWaterDomain(w, WaterId::A));
    w.dicMode = "DIC";
    EXPECT_EQ(results::CheckWaterDomain(w, WaterId::A)->field, "DIC");
}

TEST(DomainTest, BlendChecksSharesAndTheWatersItMixes) {
    std::array<WaterAnalysis, 3> waters = test::Example().parts.waters;
    waters[2].cCa = "-1"; // C has the share 0: it is not mixed
    EXPECT_FALSE(results::CheckBlendDomain(waters));
    waters[2].blendPercent = "1e30";
    auto v = results::CheckBlendDomain(waters);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->part, "C");
    EXPECT_EQ(v->field, "%");
    waters[2].blendPercent = "  10.000";
    v = results::CheckBlendDomain(waters);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->field, "c(Ca)");
}

TEST(DomainTest, ConditioningChecksMagnitudesAsTheWindowNormalisesThem) {
    app::ConditioningData c = test::Example().parts.conditioning;
    c.T = "-20"; // the window makes it 20
    EXPECT_FALSE(results::CheckConditioningDomain(c));
    c.T = "-400";
    const auto v = results::CheckConditioningDomain(c);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->field, "T");
    EXPECT_EQ(v->value, "-400");
}

TEST(DomainTest, MessageNamesWaterFieldValueAndRangeInBothLanguages) {
    WaterAnalysis w = test::ExampleWater(WaterId::A);
    w.tempCalc = "  1e6 ";
    const auto v = results::CheckWaterDomain(w, WaterId::A);
    ASSERT_TRUE(v);
    EXPECT_EQ(results::DomainMessage(*v, app::Language::German),
              "Wasser A: T bew = 1e6 liegt außerhalb des Bereichs, in dem die Berechnung "
              "definiert ist (0 bis 350 °C).");
    EXPECT_EQ(results::DomainMessage(*v, app::Language::English),
              "Water A: T bew = 1e6 is outside the range in which the calculation is defined "
              "(0 to 350 °C).");
    app::ConditioningData c = test::Example().parts.conditioning;
    c.IOS = "1e5";
    EXPECT_EQ(results::DomainMessage(*results::CheckConditioningDomain(c), app::Language::English),
              "Conditioning: IOS = 1e5 is outside the range in which the calculation is defined "
              "(0 to 10000 mmol/L).");
}

} // namespace
