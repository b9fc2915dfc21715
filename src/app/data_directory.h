#pragma once
// Where an installed ZEB keeps its help pages and example projects: <prefix>/share/zeb, found
// from the program's own directory, so an installation works wherever its prefix was moved
// and no build or source path is compiled into the programs.

#include <filesystem>

namespace zeb::app {

// The directory of the running program (/proc/self/exe); the current directory when that
// cannot be read.
std::filesystem::path ProgramDirectory();

// <programDirectory>/../share/zeb when it exists, else empty: a program run from its build
// directory has no data directory and uses its compiled-in help pages.
std::filesystem::path DataDirectory(const std::filesystem::path& programDirectory);

// The example projects of an installation; empty when not installed.
std::filesystem::path ExamplesDirectory(const std::filesystem::path& programDirectory);

} // namespace zeb::app
