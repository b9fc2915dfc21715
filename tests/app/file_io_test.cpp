// Reading and writing files: byte limits, UTF-8 project files, texts written back as read, and
// saves through links, onto devices and over files the user may not write.
#include "../common/test_support.h"

#include "app/cp1252.h"
#include "app/project_file.h"
#include "app/settings.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <thread>

using namespace zeb::app;
using namespace zeb::test;

namespace {

const fs::path kExample = kExampleFile;

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& l : lines)
        bytes += l + "\r\n";
    return bytes;
}

class ReadingTest : public testing::Test {
protected:
    Project Load(const fs::path& file) {
        Project p;
        LineBuffer buf;
        EXPECT_TRUE(LoadProject(file, p, buf)) << file;
        return p;
    }

    TempDir dir;
};

// An editor that saves UTF-8 changes the bytes, not the characters: the file reads as the
// Windows-1252 original, with or without a byte-order mark.
TEST_F(ReadingTest, Utf8ProjectFilesReadAsTheirWindows1252Original) {
    const std::string original = Slurp(kExample);
    ASSERT_NE(original.find('\xDF'), std::string::npos); // "ß" lines, columns after it
    Spit(dir / "utf8.zeb", Cp1252ToUtf8(original));
    Spit(dir / "bom.zeb", "\xEF\xBB\xBF" + Cp1252ToUtf8(original));
    Spit(dir / "ascii_bom.zeb", "\xEF\xBB\xBF"
                                "ZEB 4.1 project file (2012)\r\n");
    const Project want = Load(kExample);
    EXPECT_EQ(Load(dir / "utf8.zeb").parts, want.parts);
    EXPECT_EQ(Load(dir / "bom.zeb").parts, want.parts);
    EXPECT_EQ(Load(dir / "ascii_bom.zeb").water(WaterId::A).pH, "");
    EXPECT_EQ(want.water(WaterId::B).massNa, "  27.588");

    // Read as UTF-8, lines 94 to 100 travel on as Windows-1252 bytes.
    Project p;
    LineBuffer buf;
    ASSERT_TRUE(LoadProject(dir / "bom.zeb", p, buf));
    EXPECT_EQ(buf[1], "ZEB 4.1 project file (2012)");
    EXPECT_EQ(buf[34].substr(0, 5), "   \xDF(");
}

TEST_F(ReadingTest, Utf8CharactersAProjectCannotHoldAreRefused) {
    std::vector<std::string> lines = SplitLines(Cp1252ToUtf8(Slurp(kExample)), "\r\n");
    lines[9] = "   Text B: Zulauf → Behälter";
    Spit(dir / "arrow.zeb", JoinLines(lines));
    Project p;
    p.water(WaterId::A).pH = "   6.500";
    const ProjectParts before = p.parts;
    LineBuffer buf;
    buf[1] = "kept";
    try {
        LoadProject(dir / "arrow.zeb", p, buf);
        FAIL() << "read with a character Windows-1252 cannot hold";
    } catch (const Utf8TextError& e) {
        EXPECT_EQ(e.line(), 10);
        const std::string name = (dir / "arrow.zeb").string();
        EXPECT_EQ(Utf8TextMessage(e, Language::English),
                  name + " is a UTF-8 file; line 10 holds characters that a ZEB file "
                         "(Windows-1252) cannot store.");
        EXPECT_EQ(Utf8TextMessage(e, Language::German),
                  name + " ist eine UTF-8-Datei; Zeile 10 enthält Zeichen, die eine ZEB-Datei "
                         "(Windows-1252) nicht aufnehmen kann.");
    }
    EXPECT_EQ(p.parts, before);
    EXPECT_EQ(buf[1], "kept");
    // Not a project at all: no word about its characters.
    Spit(dir / "notes.txt", "Zulauf → Behälter\n");
    EXPECT_FALSE(LoadProject(dir / "notes.txt", p, buf));
}

TEST_F(ReadingTest, ReadingEndsAfterAByteLimit) {
    LineBuffer buf;
    EXPECT_EQ(ReadFileLines("/dev/zero", buf, 1000), LinesRead::Cut);
    EXPECT_EQ(buf[1].size(), 1000u);
    Project p;
    EXPECT_FALSE(LoadProject("/dev/zero", p, buf));

    // 100 lines of 2 KiB are a project still; one line past the limit is none.
    const std::string sig = "ZEB 4.1 project file (2012)\r\n";
    std::string lines = sig;
    for (int n = 2; n <= 100; ++n)
        lines += std::string(2048, 'x') + "\r\n";
    Spit(dir / "long.zeb", lines + std::string(kMaxProjectFileBytes, 'y'));
    EXPECT_TRUE(LoadProject(dir / "long.zeb", p, buf));
    Spit(dir / "huge.zeb", sig + std::string(kMaxProjectFileBytes, 'y'));
    EXPECT_FALSE(LoadProject(dir / "huge.zeb", p, buf));

    // A named pipe nobody writes to does not hold the reading up.
    ASSERT_EQ(::mkfifo((dir / "pipe.zeb").c_str(), 0600), 0);
    EXPECT_FALSE(LoadProject(dir / "pipe.zeb", p, buf));

    // Exactly at the limit the file has ended.
    Spit(dir / "exact.txt", "ab\ncd");
    EXPECT_EQ(ReadFileLines(dir / "exact.txt", buf, 5), LinesRead::Complete);
    EXPECT_EQ(buf[2], "cd");
    EXPECT_EQ(ReadFileLines(dir / "exact.txt", buf, 4), LinesRead::Cut);
}

class SettingsFileTest : public testing::Test {
protected:
    TempDir dir;
    fs::path ini = dir / "ZEB.ini";
};

TEST_F(SettingsFileTest, AnythingButARegularFileCountsAsMissing) {
    fs::create_symlink("/dev/zero", ini);
    EXPECT_FALSE(ReadSettings(ini).has_value());
    fs::remove(ini);
    ASSERT_EQ(::mkfifo(ini.c_str(), 0600), 0); // no writer: opening it would block
    EXPECT_FALSE(ReadSettings(ini).has_value());
    fs::remove(ini);
    fs::create_directory(ini);
    EXPECT_FALSE(ReadSettings(ini).has_value());
    fs::remove(ini);
    fs::create_symlink(dir / "missing.ini", ini);
    EXPECT_FALSE(ReadSettings(ini).has_value());
}

TEST_F(SettingsFileTest, ReadsNoMoreThan64KiB) {
    Spit(ini, "ENGLISH\r\n/tmp/" + std::string(200000, 'x'));
    auto s = ReadSettings(ini);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->language(), Language::English);
    EXPECT_EQ(s->workingDirectory.size(), 64u * 1024 - 9);
    Spit(ini, std::string(200000, 'E'));
    s = ReadSettings(ini);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->language(), Language::German);
    EXPECT_EQ(s->workingDirectory, "");
}

class SavingTest : public testing::Test {
protected:
    mode_t Mode(const fs::path& f) {
        struct stat st {};
        ::stat(f.c_str(), &st);
        return st.st_mode & 07777;
    }

    TempDir dir;
};

TEST_F(SavingTest, ReplacedFileKeepsItsPermissionBitsAndOwner) {
    for (mode_t mode : {0600, 0640, 0664, 0700}) {
        Spit(dir / "p.zeb", "old");
        ::chmod((dir / "p.zeb").c_str(), mode);
        WriteFileBytes(dir / "p.zeb", "new");
        EXPECT_EQ(Slurp(dir / "p.zeb"), "new");
        EXPECT_EQ(Mode(dir / "p.zeb"), mode);
    }
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown((dir / "p.zeb").c_str(), 65534, 65534), 0);
        WriteFileBytes(dir / "p.zeb", "newer");
        struct stat st {};
        ::stat((dir / "p.zeb").c_str(), &st);
        EXPECT_EQ(st.st_uid, 65534u);
        EXPECT_EQ(st.st_gid, 65534u);
    }
    // A new file gets the usual permissions.
    const mode_t mask = ::umask(022);
    WriteFileBytes(dir / "fresh.zeb", "x");
    ::umask(mask);
    EXPECT_EQ(Mode(dir / "fresh.zeb"), 0644);
    // Nothing of the temporary files is left.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 2);
}

TEST_F(SavingTest, SymbolicLinksAreFollowedToTheFileTheyName) {
    fs::create_directory(dir / "sub");
    Spit(dir / "real.zeb", "old");
    fs::create_symlink("../real.zeb", dir / "sub/link.zeb");
    fs::create_symlink("sub/link.zeb", dir / "chain.zeb");
    WriteFileBytes(dir / "chain.zeb", "new");
    EXPECT_TRUE(fs::is_symlink(dir / "chain.zeb"));
    EXPECT_TRUE(fs::is_symlink(dir / "sub/link.zeb"));
    EXPECT_EQ(Slurp(dir / "real.zeb"), "new");
    // A link to a file not yet there creates that file.
    fs::create_symlink("later.zeb", dir / "dangling.zeb");
    WriteFileBytes(dir / "dangling.zeb", "created");
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.zeb"));
    EXPECT_EQ(Slurp(dir / "later.zeb"), "created");
    // A loop is the system's error, named by the file given.
    fs::create_symlink("loop2", dir / "loop1");
    fs::create_symlink("loop1", dir / "loop2");
    try {
        WriteFileBytes(dir / "loop1", "x");
        FAIL() << "written through a loop of links";
    } catch (const FileError& e) {
        EXPECT_EQ(e.fileName(), (dir / "loop1").string());
        EXPECT_EQ(e.reason(), "Too many levels of symbolic links");
    }
}

// The reason WriteFileBytes gives for `file`, or "" when it wrote, as an unprivileged user
// (root may write any file).
std::string ReasonAsUser(const fs::path& file, std::string_view bytes) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return "no pipe";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        std::string reason;
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            reason = "no user";
        try {
            if (reason.empty())
                WriteFileBytes(file, bytes);
        } catch (const FileError& e) {
            reason = e.fileName() == file.string() ? e.reason() : "named " + e.fileName();
        }
        if (::write(pipeFds[1], reason.data(), reason.size()) < 0)
            ::_exit(2);
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string reason;
    char buf[256];
    for (ssize_t n; (n = ::read(pipeFds[0], buf, sizeof buf)) > 0;)
        reason.append(buf, static_cast<size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return reason;
}

// A read-only file in a writable directory could be replaced; it is refused as writing it
// directly would be.
TEST_F(SavingTest, FileTheUserMayNotWriteIsRefused) {
    ::chmod(dir.path.c_str(), 0777);
    const fs::path file = dir / "ro.zeb";
    Spit(file, "old");
    ::chmod(file.c_str(), 0444);
    EXPECT_EQ(ReasonAsUser(file, "new"), "Permission denied");
    EXPECT_EQ(Slurp(file), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

// A file the user may write in a directory the user may not: written in place.
TEST_F(SavingTest, WritableFileInAReadOnlyDirectoryIsWrittenInPlace) {
    const fs::path file = dir / "rw.zeb";
    Spit(file, "old contents");
    ::chmod(file.c_str(), 0666);
    ::chmod(dir.path.c_str(), 0555);
    EXPECT_EQ(ReasonAsUser(file, "new"), "");
    EXPECT_EQ(ReasonAsUser(dir / "other.zeb", "x"), "Permission denied");
    ::chmod(dir.path.c_str(), 0755);
    EXPECT_EQ(Slurp(file), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

TEST_F(SavingTest, DevicesAndPipesAreWrittenDirectly) {
    WriteFileBytes("/dev/null", "nothing");
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    const fs::path fifo = dir / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string got;
    std::thread reader([&] { got = Slurp(fifo); });
    WriteFileLines(
        fifo,
        [] {
            LineBuffer b;
            b[1] = "one";
            b[2] = "two";
            return b;
        }(),
        2);
    reader.join();
    EXPECT_EQ(got, "one\r\ntwo\r\n");
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST_F(SavingTest, NamesThatCannotBeWritten) {
    const std::pair<fs::path, std::string> cases[] = {
        {"", "No such file or directory"},
        {dir.path, "Is a directory"},
        {dir / "no/such/dir.zeb", "No such file or directory"},
    };
    for (const auto& [name, reason] : cases) {
        try {
            WriteFileBytes(name, "x");
            ADD_FAILURE() << "written: " << name;
        } catch (const FileError& e) {
            EXPECT_EQ(e.fileName(), name.string());
            EXPECT_EQ(e.reason(), reason) << name;
        }
    }
}

} // namespace
