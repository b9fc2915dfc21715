#pragma once
// Shared by the tests: the example project, file contents, a temporary directory per test and,
// where the build names zeb-cli, a run of it.

#include "app/project_file.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zeb::test {

namespace fs = std::filesystem;

inline const std::string kExampleFile = ZEB_SOURCE_DIR "/resources/examples/example.zeb";

// The example project as a front end loads it, under its file name.
inline const app::Project& Example() {
    static const app::Project project = [] {
        app::Project p;
        app::LineBuffer buffer;
        if (!app::LoadProject(kExampleFile, p, buffer))
            throw std::runtime_error("example project not readable");
        p.fileName = kExampleFile;
        return p;
    }();
    return project;
}

inline app::WaterAnalysis ExampleWater(app::WaterId id) {
    return Example().water(id);
}

inline std::string Slurp(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void Spit(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// The lines of a text, each ended by `end` (a last line without it is dropped).
inline std::vector<std::string> SplitLines(const std::string& text, const std::string& end = "\n") {
    std::vector<std::string> lines;
    for (size_t from = 0, to; (to = text.find(end, from)) != std::string::npos;
         from = to + end.size())
        lines.push_back(text.substr(from, to - from));
    return lines;
}

// An empty directory of its own, removed with everything in it at the end of the scope.
struct TempDir {
    TempDir() {
        static std::atomic<int> count{0};
        path = fs::temp_directory_path() /
               ("zeb_test_" + std::to_string(getpid()) + "_" + std::to_string(count++));
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempDir() { fs::remove_all(path); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    fs::path operator/(const fs::path& name) const { return path / name; }
    std::string File(const std::string& name) const { return (path / name).string(); }

    fs::path path;
};

#ifdef ZEB_CLI_PATH
struct CliRun {
    int status;
    std::string out;
};

// zeb-cli with `args` (shell words); stdout captured, stderr to `errFile`.
inline CliRun Cli(const std::string& args, const std::string& errFile = "/dev/null") {
    const std::string cmd = std::string(ZEB_CLI_PATH) + " " + args + " 2>" + errFile;
    FILE* p = popen(cmd.c_str(), "r");
    std::string out;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;)
        out.append(buf, n);
    const int rc = pclose(p);
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, out};
}
#endif

} // namespace zeb::test
