#pragma once
// Shared pieces of the zeb-cli commands: exit codes, language choice, output.

#include "app/project_file.h"
#include "app/texts.h"
#include "report/report_text.h"
#include "report/result_json.h"

#include <array>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace CLI {
class App;
class Validator;
} // namespace CLI

namespace zeb::results {
struct DomainViolation;
} // namespace zeb::results

namespace zeb::cli {

// 3: a value of the project lies outside the range in which the computation is defined.
enum ExitCode { kExitOk = 0, kExitFailure = 1, kExitUsage = 2, kExitDomain = 3 };

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
// `lang` ("de", "en" or empty as for ResolveLanguage) is the language of the message for a UTF-8
// file with characters a project cannot store.
app::Project LoadProjectOrFail(const std::filesystem::path& file, app::LineBuffer& buffer,
                               const std::string& lang = "");
app::Project LoadProjectOrFail(const std::filesystem::path& file, const std::string& lang = "");

// Writes `project` to `outFile` under that name; throws CommandError(1) when a value is too wide
// for the file (nothing written) or the file cannot be written.
void SaveProjectOrFail(const std::string& outFile, app::Project project, app::LineBuffer& buffer);

// The check of an option or argument that names a file: an empty name is a usage error.
const CLI::Validator& FileName();

// Throws CommandError(kExitDomain) with the message in the language of `lang` (as for
// ResolveLanguage) when there is a violation; the command then computes nothing.
void RefuseOutsideDomain(const std::optional<results::DomainViolation>& violation,
                         const std::string& lang);

// 'A', 'B' or 'C' (the options accept nothing else).
app::WaterId WaterOf(char letter);

// The options of a command that prints a report: the project file, "--format", "--lang" and "-o".
struct ReportOptions {
    std::string file;
    std::string format = "text";
    std::string lang;
    std::string out;
};
// Adds "--format" (one of `formats`), "--lang" and "-o" to `cmd`.
void AddOutputOptions(CLI::App& cmd, ReportOptions& o, const std::vector<std::string>& formats);

// Prints UTF-8 lines with LF ends to stdout, or writes them to `outFile` as a report file is
// written (Windows-1252, CR LF) when it is not empty.
void EmitLines(const std::vector<std::string>& lines, const std::string& outFile);
// The report as the window's "&Save" writes it in the chosen format, or to stdout.
void EmitReport(const report::ReportText& text, const report::ReportLayout& layout,
                const ReportOptions& o);
report::ReportFormat ReportFormatOf(const ReportOptions& o);

using report::DosageJson;
using report::Json;
using report::JsonNumber;
using report::JsonNumbers;
void EmitJson(const Json& json, const std::string& outFile);

// Display width of UTF-8 text ("°" is one column), and text padded to a width with blanks.
std::size_t DisplayColumns(std::string_view s);
std::string PadRight(std::string_view s, std::size_t width);
std::string PadLeft(std::string_view s, std::size_t width);

// Command registration; each lives in its own file.
void AddProjectCommands(CLI::App& app);
void AddChemCommands(CLI::App& app);
void AddResultCommands(CLI::App& app);
void AddBlendCommands(CLI::App& app);
void AddDiagramCommands(CLI::App& app);
void AddBatchCommand(CLI::App& app);

} // namespace zeb::cli
