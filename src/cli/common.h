#pragma once
// Shared pieces of the zeb-cli commands: exit codes, language choice, output.

#include "app/project_file.h"
#include "app/texts.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace zeb::cli {

enum ExitCode { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

// Thrown by a command to end the program with a message on stderr and an exit code.
class CommandError : public std::runtime_error {
public:
    CommandError(int code, const std::string& message) : std::runtime_error(message), code(code) {}
    int code;
};

// "de" or "en"; empty means the language of the settings file, else German.
app::Language ResolveLanguage(const std::string& option);

// Reads a project file (older files converted); throws CommandError(1) naming the file for I/O
// errors and files that are not projects. The buffer keeps lines 94 to 100 for a later save.
app::Project LoadProjectOrFail(const std::filesystem::path& file, app::LineBuffer& buffer);

// Prints UTF-8 lines with LF ends to stdout, or writes them to `outFile` as a report file is
// written (Windows-1252, CR LF) when it is not empty.
void EmitLines(const std::vector<std::string>& lines, const std::string& outFile);
using Json = nlohmann::ordered_json; // keeps keys in the order they are written
void EmitJson(const Json& json, const std::string& outFile);

// Numbers in JSON carry the full precision of a double.
inline double JsonNumber(long double x) {
    return static_cast<double>(x);
}

// Command registration; each lives in its own file.
void AddProjectCommands(CLI::App& app);
void AddChemCommands(CLI::App& app);
void AddResultCommands(CLI::App& app);
void AddBlendCommands(CLI::App& app);

} // namespace zeb::cli
