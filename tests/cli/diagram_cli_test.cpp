// zeb-cli diagram: each format is written without a display and carries the diagram's texts.
#include "../common/test_support.h"

#include <gtest/gtest.h>

namespace zeb::test {
namespace {

struct FormatCase {
    std::string args;      // after the project file
    std::string file;      // output name
    std::string signature; // first bytes of the file
    std::string text;      // a text of the diagram, found in the SVG or in pdftotext's output
};

TEST(CliDiagram, WritesEachFormat) {
    TempDir dir;
    const FormatCase cases[] = {
        {"A --lang en", "a.svg", "<?xml", "SI &lt; 0: calcite-dissolving (aggressive)"},
        {"M --lang de --axes hco3 --zoom 4", "m.svg", "<?xml", "c(HCO3-)  [mmol/L]"},
        {"--series A B --lang de", "series.svg", "<?xml", "Dc = 10 mg/L"},
        {"B --lang en --paths 3", "b.png", "\x89PNG", ""},
        {"--series A C --lang en", "series.png", "\x89PNG", ""},
        {"C --lang de", "c.pdf", "%PDF", "Kalk-Kohlensäure-Gleichgewicht"},
        {"--series B C --lang en", "series.pdf", "%PDF", "Share of water B"},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.args);
        const std::string out = dir.File(c.file);
        const CliRun run = Cli("diagram " + kExampleFile + " " + c.args + " -o " + out);
        ASSERT_EQ(run.status, 0);
        const std::string bytes = Slurp(out);
        ASSERT_GT(bytes.size(), 1000u);
        EXPECT_EQ(bytes.substr(0, c.signature.size()), c.signature);
        if (c.text.empty())
            continue;
        std::string text = bytes;
        if (c.file.ends_with(".pdf")) {
            FILE* p = popen(("pdftotext " + out + " -").c_str(), "r");
            text.clear();
            char buf[4096];
            for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;)
                text.append(buf, n);
            pclose(p);
        }
        EXPECT_NE(text.find(c.text), std::string::npos) << c.text;
    }
}

TEST(CliDiagram, RefusesWhatItCannotDraw) {
    TempDir dir;
    const std::string err = dir.File("err.txt");
    struct Case {
        std::string args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {"A -o " + dir.File("a.gif"), 2, "must end in .png, .svg or .pdf"},
        {"-o " + dir.File("a.svg"), 2, "either a water"},
        {"A --series A B -o " + dir.File("a.svg"), 2, "either a water"},
        {"D -o " + dir.File("a.svg"), 2, ""},
        {"A -o " + dir.File("missing/a.svg"), 1, "missing/a.svg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        EXPECT_EQ(Cli("diagram " + kExampleFile + " " + c.args, err).status, c.status);
        EXPECT_NE(Slurp(err).find(c.message), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(dir / "a.gif"));
}

} // namespace
} // namespace zeb::test
