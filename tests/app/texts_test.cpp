#include "app/texts.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace zeb::app {
namespace {

TEST(TextsTable, SortedUniqueAndComplete) {
    const auto table = TextTable();
    ASSERT_GT(table.size(), 700u);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const TextEntry& e = table[i];
        EXPECT_FALSE(e.german.empty()) << e.key;
        EXPECT_FALSE(e.english.empty()) << e.key;
        if (i > 0) {
            EXPECT_LT(table[i - 1].key, e.key) << "not sorted or duplicated at " << e.key;
        }
    }
}

struct Quoted {
    const char* key;
    const char* german;
    const char* english;
};

TEST(TextsLookup, ReturnsTheExactTexts) {
    // Texts whose every character counts and that no window test shows.
    const Quoted cases[] = {
        {"msg.rangeKs43",
         "Säurekapazität bis pH=4.3: Gültigkeitsbereich (>= 0.050 mmol/L) überschritten!",
         "Acid Capacity up to pH=4.3: range of validity (>= 0.05 mmol/L) exceeded!"},
        {"TForm17.radioExcel", "\"Excel\" (Trennzeichen: \";\")", "\"Excel\" (Separator: \";\")"},
        {"report.TForm4.iosInput", "IOS für Berechnung              ",
         "IOS for calculation (Input data)"},
    };
    for (const Quoted& c : cases) {
        EXPECT_EQ(GermanText(c.key), c.german) << c.key;
        EXPECT_EQ(EnglishText(c.key), c.english) << c.key;
        EXPECT_EQ(Text(c.key, Language::German), c.german) << c.key;
        EXPECT_EQ(Text(c.key, Language::English), c.english) << c.key;
    }
}

TEST(TextsLookup, UnknownKeyThrowsNamingIt) {
    for (auto lookup : {GermanText, EnglishText}) {
        try {
            lookup("TForm4.noSuchLabel");
            FAIL() << "no exception";
        } catch (const std::out_of_range& e) {
            EXPECT_NE(std::string(e.what()).find("TForm4.noSuchLabel"), std::string::npos);
        }
    }
    EXPECT_THROW(Text("", Language::English), std::out_of_range);
    // A prefix of an existing key is not a match.
    EXPECT_THROW(GermanText("menu.Oeffnen"), std::out_of_range);
}

} // namespace
} // namespace zeb::app
