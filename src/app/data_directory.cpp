#include "app/data_directory.h"

// The install layout's path from the program directory to the data directory, set by the build
// from its install directories (relative, so the installation stays relocatable).
#ifndef ZEB_DATA_FROM_BINDIR
#define ZEB_DATA_FROM_BINDIR "../share/zeb"
#endif

namespace zeb::app {

std::filesystem::path ProgramDirectory() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path(ec);
    return exe.parent_path();
}

std::filesystem::path DataDirectory(const std::filesystem::path& programDirectory) {
    if (programDirectory.empty())
        return {};
    const std::filesystem::path data = (programDirectory / ZEB_DATA_FROM_BINDIR).lexically_normal();
    std::error_code ec;
    if (!std::filesystem::is_directory(data, ec))
        return {};
    return data;
}

std::filesystem::path ExamplesDirectory(const std::filesystem::path& programDirectory) {
    const std::filesystem::path data = DataDirectory(programDirectory);
    if (data.empty())
        return {};
    std::error_code ec;
    const std::filesystem::path examples = data / "examples";
    return std::filesystem::is_directory(examples, ec) ? examples : std::filesystem::path();
}

} // namespace zeb::app
