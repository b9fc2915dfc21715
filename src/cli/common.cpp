#include "cli/common.h"

#include "app/cp1252.h"
#include "app/settings.h"

#include <iostream>
#include <unistd.h>

namespace zeb::cli {

namespace {

std::filesystem::path ProgramDirectory() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path() : exe.parent_path();
}

} // namespace

app::Language ResolveLanguage(const std::string& option) {
    if (option == "en")
        return app::Language::English;
    if (option == "de")
        return app::Language::German;
    try {
        if (auto s = app::ReadSettings(app::SettingsFilePath(ProgramDirectory())))
            return s->language();
    } catch (const app::FileError&) {
        // An unreadable settings file only means the default language.
    }
    return app::Language::German;
}

app::Project LoadProjectOrFail(const std::filesystem::path& file, app::LineBuffer& buffer) {
    app::Project project;
    try {
        if (!app::LoadProject(file, project, buffer))
            throw CommandError(kExitFailure, file.string() + ": not a ZEB project file");
    } catch (const app::FileError& e) {
        throw CommandError(kExitFailure, e.fileName() + ": " + e.reason());
    }
    project.fileName = std::filesystem::absolute(file).string();
    return project;
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

void EmitJson(const Json& json, const std::string& outFile) {
    if (outFile.empty()) {
        std::cout << json.dump(2) << '\n';
        return;
    }
    // JSON files stay UTF-8 with LF: they are for programs, not for report readers.
    try {
        app::WriteFileBytes(outFile, json.dump(2) + "\n");
    } catch (const app::FileError& e) {
        throw CommandError(kExitFailure, e.fileName() + ": " + e.reason());
    }
}

} // namespace zeb::cli
