#include "../common/test_support.h"

#include "app/project.h"
#include "app/project_file.h"
#include "app/settings.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace zeb::app;
using namespace zeb::test;

namespace {

TEST(WaterAnalysis, Defaults) {
    WaterAnalysis w;
    SetDefaultWater(w);
    EXPECT_EQ(w.text, "");
    EXPECT_EQ(w.pH, "   7.000");
    EXPECT_EQ(w.tempCalc, "  10.000");
    EXPECT_EQ(w.ks43, "   0.100");
    EXPECT_EQ(w.cMg, "   0.000");
    EXPECT_EQ(w.condRefTemp + w.dicMode + w.iosMode, "25KSBIOS");
}

class CheckModifiedTest : public testing::Test {
protected:
    bool Check() {
        return p.CheckModified(p.referenceCopy.waters[0].blendPercent,
                               p.referenceCopy.waters[1].blendPercent);
    }
    Project p;
};

TEST_F(CheckModifiedTest, EqualTextsAreUnchanged) {
    EXPECT_FALSE(Check());
    EXPECT_FALSE(p.modified);
    p.water(WaterId::A).pH = "7";
    p.water(WaterId::A).pH = "   7.000";
    EXPECT_FALSE(Check());
}

TEST_F(CheckModifiedTest, AnyPartMarksTheProjectAndTheCheckNeverClears) {
    p.parts.w216.values[W216Data::Letter2] = "C";
    EXPECT_TRUE(Check());
    EXPECT_TRUE(p.modified);
    p.parts.w216.values[W216Data::Letter2] = "B";
    EXPECT_FALSE(Check()); // nothing differs any more: no mark, but the flag stays
    EXPECT_TRUE(p.modified);

    Project q;
    q.parts.conditioning.chemical = "HCl";
    EXPECT_TRUE(q.CheckModified("   0.000", "   0.000"));
}

TEST_F(CheckModifiedTest, BlendFractionsAreComparedThroughTheWindowFields) {
    p.water(WaterId::C).blendPercent = "  99.000"; // the project's own value is not compared
    EXPECT_FALSE(Check());
    EXPECT_TRUE(p.CheckModified("  50.000", "   0.000"));
    Project q;
    EXPECT_TRUE(q.CheckModified("   0.000", "  10.000"));
}

class SettingsTest : public testing::Test {
protected:
    TempDir dir;
};

TEST_F(SettingsTest, WritesThreeLinesAndReadsTwo) {
    const fs::path ini = dir / "ZEB.ini";
    EXPECT_FALSE(ReadSettings(ini).has_value());
    WriteSettings(ini, {"ENGLISH", "/home/labor/Wässer"});
    EXPECT_EQ(Slurp(ini), "ENGLISH\r\n/home/labor/W\xE4sser\r\n\r\n");
    const auto s = ReadSettings(ini);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->language(), Language::English);
    EXPECT_EQ(s->workingDirectory, "/home/labor/Wässer");
}

TEST_F(SettingsTest, UnknownLanguageMeansGerman) {
    Spit(dir / "ZEB.ini", "english\r\n/tmp\r\nextra\r\n");
    EXPECT_EQ(ReadSettings(dir / "ZEB.ini")->language(), Language::German);
}

TEST_F(SettingsTest, FallsBackToTheUserConfigWhenTheProgramDirectoryIsNotWritable) {
    EXPECT_EQ(SettingsFilePath(dir.path), dir / "ZEB.ini");
    setenv("XDG_CONFIG_HOME", (dir / "cfg").c_str(), 1);
    EXPECT_EQ(SettingsFilePath("/proc/self"), dir / "cfg/zeb/ZEB.ini");
    unsetenv("XDG_CONFIG_HOME");
}

} // namespace
