#include "cli/common.h"

#include "app/cp1252.h"
#include "app/data_directory.h"
#include "app/settings.h"
#include "results/domain.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <unistd.h>

namespace zeb::cli {

namespace {

// Texts read from files are UTF-8 by construction; should one ever not be, its bad bytes become
// U+FFFD instead of ending the command with the JSON library's message.
std::string Dump(const Json& json) {
    return json.dump(2, ' ', false, Json::error_handler_t::replace);
}

} // namespace

app::Language ResolveLanguage(const std::string& option) {
    if (option == "en")
        return app::Language::English;
    if (option == "de")
        return app::Language::German;
    try {
        if (auto s = app::ReadSettings(app::SettingsFilePath(app::ProgramDirectory())))
            return s->language();
    } catch (const app::FileError&) {
        // An unreadable settings file only means the default language.
    }
    return app::Language::German;
}

app::Project LoadProjectOrFail(const std::filesystem::path& file, app::LineBuffer& buffer,
                               const std::string& lang) {
    app::Project project;
    try {
        if (!app::LoadProject(file, project, buffer))
            throw CommandError(kExitFailure, file.string() + ": not a ZEB project file");
    } catch (const app::Utf8TextError& e) {
        throw CommandError(kExitFailure, app::Utf8TextMessage(e, ResolveLanguage(lang)));
    } catch (const app::FileError& e) {
        throw CommandError(kExitFailure, e.fileName() + ": " + e.reason());
    }
    project.fileName = std::filesystem::absolute(file).string();
    return project;
}

app::Project LoadProjectOrFail(const std::filesystem::path& file, const std::string& lang) {
    app::LineBuffer buffer;
    return LoadProjectOrFail(file, buffer, lang);
}

void SaveProjectOrFail(const std::string& outFile, app::Project project, app::LineBuffer& buffer) {
    project.fileName = std::filesystem::absolute(outFile).string();
    try {
        app::SaveProject(outFile, project, buffer, app::SystemDateTimeText());
    } catch (const app::ValueTooWideError& e) {
        throw CommandError(kExitFailure, outFile + ": " + e.what() + "; nothing written");
    } catch (const app::FileError& e) {
        throw CommandError(kExitFailure, e.fileName() + ": " + e.reason());
    }
}

const CLI::Validator& FileName() {
    static const CLI::Validator check(
        [](const std::string& name) { return name.empty() ? "the file name is empty" : ""; },
        "FILE", "FileName");
    return check;
}

void RefuseOutsideDomain(const std::optional<results::DomainViolation>& violation,
                         const std::string& lang) {
    if (violation)
        throw CommandError(kExitDomain, results::DomainMessage(*violation, ResolveLanguage(lang)));
}

app::WaterId WaterOf(char letter) {
    return letter == 'B' ? app::WaterId::B : letter == 'C' ? app::WaterId::C : app::WaterId::A;
}

void AddOutputOptions(CLI::App& cmd, ReportOptions& o, const std::vector<std::string>& formats) {
    cmd.add_option("--format", o.format, "Output format")
        ->check(CLI::IsMember(formats))
        ->capture_default_str();
    cmd.add_option("--lang", o.lang, "Report language (de, en)")
        ->check(CLI::IsMember({"de", "en"}));
    cmd.add_option("-o", o.out, "Write to this file instead of stdout")->check(FileName());
}

void EmitLines(const std::vector<std::string>& lines, const std::string& outFile) {
    if (outFile.empty()) {
        for (const auto& l : lines)
            std::cout << l << '\n';
        return;
    }
    app::LineBuffer buffer;
    const int count = static_cast<int>(lines.size());
    if (count > app::LineBuffer::kCapacity)
        throw CommandError(kExitFailure, outFile + ": too many lines");
    for (int i = 0; i < count; ++i)
        buffer[i + 1] = app::Utf8ToCp1252(lines[i]);
    try {
        app::WriteFileLines(outFile, buffer, count);
    } catch (const app::FileError& e) {
        throw CommandError(kExitFailure, e.fileName() + ": " + e.reason());
    }
}

report::ReportFormat ReportFormatOf(const ReportOptions& o) {
    return o.format == "excel" ? report::ReportFormat::Excel : report::ReportFormat::Standard;
}

void EmitReport(const report::ReportText& text, const report::ReportLayout& layout,
                const ReportOptions& o) {
    EmitLines(report::ReportLines(text, layout, ReportFormatOf(o)), o.out);
}

void EmitJson(const Json& json, const std::string& outFile) {
    if (outFile.empty()) {
        std::cout << Dump(json) << '\n';
        return;
    }
    // JSON files stay UTF-8 with LF: they are for programs, not for report readers.
    try {
        app::WriteFileBytes(outFile, Dump(json) + "\n");
    } catch (const app::FileError& e) {
        throw CommandError(kExitFailure, e.fileName() + ": " + e.reason());
    }
}

std::size_t DisplayColumns(std::string_view s) {
    std::size_t n = 0;
    for (unsigned char c : s)
        n += (c & 0xC0) != 0x80;
    return n;
}

std::string PadRight(std::string_view s, std::size_t width) {
    std::string out(s);
    for (std::size_t n = DisplayColumns(s); n < width; ++n)
        out += ' ';
    return out;
}

std::string PadLeft(std::string_view s, std::size_t width) {
    std::string out;
    for (std::size_t n = DisplayColumns(s); n < width; ++n)
        out += ' ';
    return out + std::string(s);
}

} // namespace zeb::cli
