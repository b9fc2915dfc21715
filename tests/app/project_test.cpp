// The project: its defaults and change check, the project file, and the settings file.
#include "../common/test_support.h"

#include "app/cp1252.h"
#include "app/data_directory.h"
#include "app/file_error_text.h"
#include "app/number_format.h"
#include "app/project.h"
#include "app/project_file.h"
#include "app/settings.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace zeb::app;
using namespace zeb::test;

namespace {

const fs::path kExample = kExampleFile;

class ProjectFileTest : public testing::Test {
protected:
    Project RoundTrip(const Project& p) {
        LineBuffer out;
        SaveProject(dir / "rt.zeb", p, out, "01.01.2026 12:00:00");
        Project back;
        LineBuffer in;
        EXPECT_TRUE(LoadProject(dir / "rt.zeb", back, in));
        return back;
    }

    TempDir dir;
};

TEST_F(ProjectFileTest, DefaultProjectRoundTripsAndHasItsColumns) {
    Project p;
    p.fileName = (dir / "Untitled.zeb").string();
    LineBuffer buf;
    WriteProjectLines(p, buf, "now");
    EXPECT_EQ(buf[1], "ZEB 4.1 project file (2012)");
    EXPECT_EQ(buf[13], "   pH        7.000   7.000   7.000");
    EXPECT_EQ(buf[34], Utf8ToCp1252("   ß(Na)     0.000   0.000   0.000  mg/L"));
    EXPECT_EQ(buf[43], "               KSB     KSB     KSB");
    EXPECT_EQ(buf[45], "                25      25      25");
    EXPECT_EQ(buf[60], "   CaCO3");
    EXPECT_EQ(buf[79], "               100       0  % A");
    EXPECT_EQ(buf[80], "                 0     100  % B");
    EXPECT_EQ(RoundTrip(p).parts, p.parts);
}

TEST_F(ProjectFileTest, EveryFieldSurvivesWithItsOwnValue) {
    Project p;
    int n = 1;
    for (auto& w : p.parts.waters) {
        for (const WaterField& f : WaterAnalysisFields())
            w.*f.member = FormatFixed(n++ * 1.001L, 8, 3);
        w.text = "Brunnen Süd ä ö ü ß ³  ";
        w.condRefTemp = "20";
        w.dicMode = "DIC";
        w.iosMode = "ZEB";
    }
    p.parts.waters[1].condRefTemp = "25";
    for (const ConditioningField& f : ConditioningFields())
        p.parts.conditioning.*f.member = FormatFixed(n++ * 1.001L, 8, 3);
    p.parts.conditioning.chemical = "CaCO3MgO";
    p.parts.conditioning.text = "Zusatz für Härte  ";
    for (int i = 0; i < W216Data::Letter1; ++i)
        p.parts.w216.values[i] = FormatFixed(n++ * 1.001L, 8, 3);
    p.parts.w216.values[W216Data::Letter1] = "C";
    p.parts.w216.values[W216Data::Letter2] = "A";
    p.parts.w216.text = "Prüfung W 216";
    EXPECT_EQ(RoundTrip(p).parts, p.parts);
}

TEST_F(ProjectFileTest, OlderFilesAreConvertedAfterTheReferenceCopiesLinesAfter93Kept) {
    LineBuffer buf;
    ReadFileLines(kExample, buf);
    buf[1] = std::string(kSignature2001);
    buf[97] = "   Bemerkung";
    buf[32] = "   c(PO4)   25.000   0.000 500.000  mmol/m\xB3";
    buf[74] = "   c(PO4)    5.000  12.000  mmol/m\xB3";
    buf[19] = "   t titr    8.000  11.000   9.500  oC";
    // What an older file holds on line 87 is not a temperature of KS 4.3: it gives way to the one
    // titration temperature of line 19.
    buf[87] = "   T ti4.3  20.000  21.000  22.000  oC";
    std::string bytes;
    for (int i = 1; i <= 100; ++i)
        bytes += buf[i] + "\r\n";
    Spit(dir / "old.zeb", bytes);

    Project p;
    LineBuffer in;
    ASSERT_TRUE(LoadProject(dir / "old.zeb", p, in));
    EXPECT_EQ(p.water(WaterId::A).cPO4, "   0.025");
    EXPECT_EQ(p.water(WaterId::C).cPO4, "   0.500");
    EXPECT_EQ(p.parts.w216.values[W216Data::PO4First], "   0.005");
    EXPECT_EQ(p.parts.w216.values[W216Data::PO4Second], "   0.012");
    EXPECT_EQ(p.water(WaterId::A).tempTitr43, "   8.000");
    EXPECT_EQ(p.water(WaterId::B).tempTitr43, "  11.000");
    EXPECT_EQ(p.water(WaterId::C).tempTitr43, "   9.500");
    EXPECT_EQ(p.water(WaterId::B).tempTitr82, "  11.000");
    EXPECT_EQ(p.referenceCopy.waters[0].cPO4, "  25.000");
    EXPECT_TRUE(p.CheckModified(p.referenceCopy.waters[0].blendPercent,
                                p.referenceCopy.waters[1].blendPercent));

    // Saved as a current file; the lines after 93 travel through the buffer.
    SaveProject(dir / "new.zeb", p, in, "now");
    LineBuffer again;
    ReadFileLines(dir / "new.zeb", again);
    EXPECT_EQ(again[1], "ZEB 4.1 project file (2012)");
    EXPECT_EQ(again[97], "   Bemerkung");
}

TEST_F(ProjectFileTest, ShortAndLfOnlyFilesReadMissingLinesAsEmpty) {
    Spit(dir / "short.zeb", "ZEB 4.1 project file (2012)\n\n   \n\n\n\n\n\n   Text A: kurz\n"
                            "\n\n\n   pH        8.100");
    Project p;
    LineBuffer buf;
    ASSERT_TRUE(LoadProject(dir / "short.zeb", p, buf));
    EXPECT_EQ(p.water(WaterId::A).text, "kurz");
    EXPECT_EQ(p.water(WaterId::A).pH, "   8.100");
    EXPECT_EQ(p.water(WaterId::B).pH, "");
    EXPECT_EQ(p.water(WaterId::A).ks43, "");
    // Empty fields are written 8 wide, so the columns of the next reading stay in place.
    const Project back = RoundTrip(p);
    EXPECT_EQ(back.water(WaterId::A).pH, "   8.100");
    EXPECT_EQ(back.water(WaterId::C).pH, "        ");
    EXPECT_EQ(ParseNumber(back.water(WaterId::B).ks43), 0.0L);
}

TEST_F(ProjectFileTest, TokensOfShortLinesAreWrittenBackAsRead) {
    struct Case {
        int line;
        std::string bytes;
        std::string WaterAnalysis::*member;
        std::array<const char*, 3> read;
    };
    const Case cases[] = {
        {43, "               KSB     KS", &WaterAnalysis::dicMode, {"KSB", "KS", ""}},
        {43, "               DIC     KSB", &WaterAnalysis::dicMode, {"DIC", "KSB", ""}},
        {43, "", &WaterAnalysis::dicMode, {"", "", ""}},
        {85, "               IOS     ", &WaterAnalysis::iosMode, {"IOS", "", ""}},
        {85, "               ZEB     IOS     Z", &WaterAnalysis::iosMode, {"ZEB", "IOS", "Z"}},
        {45, "                20      2", &WaterAnalysis::condRefTemp, {"20", "2", ""}},
        {45, "                ", &WaterAnalysis::condRefTemp, {"", "", ""}},
    };
    LineBuffer example;
    ReadFileLines(kExample, example);
    for (const Case& c : cases) {
        LineBuffer lines = example;
        lines[c.line] = c.bytes;
        std::string bytes;
        for (int i = 1; i <= 100; ++i)
            bytes += lines[i] + "\r\n";
        Spit(dir / "short.zeb", bytes);
        Project p;
        LineBuffer in;
        ASSERT_TRUE(LoadProject(dir / "short.zeb", p, in));
        for (int i = 0; i < 3; ++i)
            ASSERT_EQ(p.parts.waters[i].*c.member, c.read[i]) << c.bytes << " " << i;
        const Project back = RoundTrip(p);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(back.parts.waters[i].*c.member, c.read[i]) << c.bytes << " " << i;
    }
    // A token emptied in one water (taken from a short file) keeps the next water's in place.
    Project p;
    p.parts.waters[0].dicMode = "";
    p.parts.waters[1].dicMode = "DIC";
    LineBuffer out;
    WriteProjectLines(p, out, "now");
    EXPECT_EQ(out[43], "                       DIC     KSB");
    EXPECT_EQ(RoundTrip(p).parts.waters[1].dicMode, "DIC");
}

TEST_F(ProjectFileTest, BadFilesLeaveTheProjectAsItWas) {
    Project p;
    p.water(WaterId::A).pH = "   6.500";
    const ProjectParts before = p.parts;
    LineBuffer buf;
    buf[95] = "kept";

    Spit(dir / "notes.txt", "Hello\r\nworld\r\n");
    EXPECT_FALSE(LoadProject(dir / "notes.txt", p, buf));
    EXPECT_EQ(buf[95], "kept");

    try {
        LoadProject(dir / "missing.zeb", p, buf);
        FAIL() << "no error for a missing file";
    } catch (const FileError& e) {
        EXPECT_EQ(e.fileName(), (dir / "missing.zeb").string());
        EXPECT_EQ(e.reason(), "No such file or directory");
    }
    EXPECT_THROW(LoadProject(dir.path, p, buf), FileError);
    EXPECT_EQ(p.parts, before);
}

TEST_F(ProjectFileTest, HugeFileIsReadOnlyUpToLine100) {
    {
        std::ofstream out(dir / "huge.zeb", std::ios::binary);
        out << "ZEB 4.1 project file (2012)\r\n";
        const std::string line = "   c(Na)     1.000   2.000   3.000  mmol/L\r\n";
        for (int i = 0; i < 1000000; ++i)
            out << line;
    }
    Project p;
    LineBuffer buf;
    ASSERT_TRUE(LoadProject(dir / "huge.zeb", p, buf));
    EXPECT_EQ(p.water(WaterId::B).cNa, "   2.000");
    EXPECT_EQ(buf[101], "");
}

TEST_F(ProjectFileTest, TooWideValueWritesNothing) {
    Spit(dir / "keep.zeb", "old contents\r\n");
    Project p;
    p.water(WaterId::B).cCa = "12345.679";
    LineBuffer buf;
    try {
        SaveProject(dir / "keep.zeb", p, buf, "now");
        FAIL() << "a 9-character value was written";
    } catch (const ValueTooWideError& e) {
        EXPECT_EQ(e.part(), "B");
        EXPECT_EQ(e.field(), "c(Ca)");
    }
    // Named as the windows label them, not by the file's older labels.
    p.water(WaterId::B).cCa = "   1.000";
    for (auto [member, name] :
         {std::pair{&WaterAnalysis::toc, "TOC"}, std::pair{&WaterAnalysis::massFe, "ß(Fe)"}}) {
        Project q = p;
        q.water(WaterId::C).*member = "123456.789";
        try {
            SaveProject(dir / "keep.zeb", q, buf, "now");
            FAIL() << name;
        } catch (const ValueTooWideError& e) {
            EXPECT_EQ(e.field(), name);
        }
    }
    EXPECT_EQ(Slurp(dir / "keep.zeb"), "old contents\r\n");
}

TEST_F(ProjectFileTest, FailedWriteKeepsTheOldFileAndSaysWhy) {
    LineBuffer scratch;
    EXPECT_THROW(SaveProject(dir / "no/such/dir/p.zeb", Project(), scratch, "now"), FileError);
    // Replacing a directory by a file fails at the rename; the temporary file must not remain.
    fs::create_directories(dir / "occupied.zeb" / "x");
    LineBuffer buf;
    EXPECT_THROW(SaveProject(dir / "occupied.zeb", Project(), buf, "now"), FileError);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

TEST_F(ProjectFileTest, FileErrorsSpeakTheInterfaceLanguage) {
    LineBuffer buf;
    Project p;
    try {
        LoadProject(dir / "missing.zeb", p, buf);
        FAIL() << "no error for a missing file";
    } catch (const FileError& e) {
        const std::string name = (dir / "missing.zeb").string();
        EXPECT_EQ(e.errorNumber(), ENOENT);
        EXPECT_EQ(FileErrorMessage(e, FileAccess::Read, Language::English),
                  name + " cannot be read: No such file or directory");
        // ./test generates the German locale; without it the reason gets a line of its own.
        if (ReasonIn(ENOENT, Language::German))
            EXPECT_EQ(FileErrorMessage(e, FileAccess::Read, Language::German),
                      name + " ist nicht lesbar: Datei oder Verzeichnis nicht gefunden");
        else
            EXPECT_EQ(FileErrorMessage(e, FileAccess::Read, Language::German),
                      name + " ist nicht lesbar.\nNo such file or directory");
    }
    // A reason without an error number cannot be translated: never inside the German sentence.
    EXPECT_EQ(
        FileErrorMessage(FileError("p.zeb", "disk on fire"), FileAccess::Write, Language::German),
        "p.zeb ist nicht beschreibbar.\ndisk on fire");
}

TEST(ComposeProject, TakesTheSelectedWatersWithDefaultsElsewhere) {
    std::array<WaterAnalysis, 3> sel;
    for (auto& w : sel)
        SetDefaultWater(w);
    sel[1].text = "aus Datei 2";
    sel[1].blendPercent = "  50.000";
    const ProjectParts parts = ComposeProject(sel);
    EXPECT_EQ(parts.waters[1].text, "aus Datei 2");
    EXPECT_EQ(parts.waters[1].blendPercent, "   0.000");
    EXPECT_EQ(parts.conditioning.chemical, "CaCO3");
    EXPECT_EQ(parts.w216.values[W216Data::Share2Second], "     100");
}

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

TEST_F(SettingsTest, AnInstallationKeepsSettingsInTheUserConfig) {
    fs::create_directories(dir / "bin");
    fs::create_directories(dir / "share/zeb/examples");
    EXPECT_EQ(DataDirectory(dir / "bin"), dir / "share/zeb");
    EXPECT_EQ(ExamplesDirectory(dir / "bin"), dir / "share/zeb/examples");
    EXPECT_TRUE(DataDirectory(dir.path).empty()); // a build directory has none
    EXPECT_TRUE(ExamplesDirectory(dir.path).empty());

    setenv("XDG_CONFIG_HOME", (dir / "cfg").c_str(), 1);
    EXPECT_EQ(SettingsFilePath(dir / "bin"), dir / "cfg/zeb/ZEB.ini");
    Spit(dir / "bin/ZEB.ini", "ENGLISH\r\n/tmp\r\n\r\n"); // one placed there is still used
    EXPECT_EQ(SettingsFilePath(dir / "bin"), dir / "bin/ZEB.ini");
    unsetenv("XDG_CONFIG_HOME");
}

} // namespace
