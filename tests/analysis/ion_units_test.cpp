#include "analysis/ion_units.h"

#include <gtest/gtest.h>

namespace zeb::analysis {
namespace {

TEST(IonUnits, OneMillimoleWeighsTheTabulatedMolarMass) {
    const struct {
        std::string_view name;
        std::string mass;
    } expected[] = {{"Na", "  22.990"},  {"K", "  39.100"},   {"Ca", "  40.080"},
                    {"Mg", "  24.305"},  {"Cl", "  35.457"},  {"NO3", "  62.008"},
                    {"SO4", "  96.006"}, {"PO4", "  94.970"}, {"NH4", "  18.007"},
                    {"Fe", "  55.845"},  {"Mn", "  54.938"}};
    ASSERT_EQ(IonRows().size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const IonRow& row = IonRows()[i];
        EXPECT_EQ(row.name, expected[i].name);
        EXPECT_EQ(MassText("   1.000", row.molarMass), expected[i].mass) << row.name;
        EXPECT_EQ(MmolText(expected[i].mass, row.molarMass), "   1.000") << row.name;
    }
}

TEST(IonUnits, ConversionKeepsTheSignAndRounds) {
    EXPECT_EQ(MassText("1.5", 40.08L), "  60.120");
    EXPECT_EQ(MmolText("2", 22.99L), "   0.087");
    EXPECT_EQ(MmolText("-2", 22.99L), "  -0.087");
    EXPECT_EQ(MassText("", 22.99L), "   0.000");
}

TEST(IonUnits, HardnessInMillimolesAndGermanDegrees) {
    EXPECT_EQ(Hardness("   1.500", "   0.000").mmol, "   1.500");
    EXPECT_EQ(Hardness("   1.500", "   0.000").dH, "   8.413");
    EXPECT_EQ(Hardness("   2.000", "   0.500").dH, "  14.021");
}

TEST(IonUnits, OxygenDemandOfAmmoniumIronAndManganese) {
    OxygenDemandTexts d = OxygenDemand("   1.000", "   0.000", "   0.000");
    EXPECT_EQ(d.mass, "   3.556");
    EXPECT_EQ(d.mmol, "   0.111");
    d = OxygenDemand("   0.500", "   2.000", "   1.000");
    // 1.7778 + 0.2862 + 0.2914 = 2.3554 mg/L
    EXPECT_EQ(d.mass, "   2.355");
    EXPECT_EQ(d.mmol, "   0.074");
}

} // namespace
} // namespace zeb::analysis
