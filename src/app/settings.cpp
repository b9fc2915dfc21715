#include "app/settings.h"

#include "app/cp1252.h"
#include "app/data_directory.h"
#include "app/project_file.h"

#include <cstdlib>
#include <unistd.h>

namespace zeb::app {

Language Settings::language() const {
    return languageLine == "ENGLISH" ? Language::English : Language::German;
}

std::string LanguageLine(Language language) {
    return language == Language::English ? "ENGLISH" : "DEUTSCH";
}

std::filesystem::path SettingsFilePath(const std::filesystem::path& programDirectory) {
    const std::filesystem::path beside = programDirectory / "ZEB.ini";
    std::error_code ec;
    if (std::filesystem::exists(beside, ec))
        return beside;
    // An installed program's directory (/usr/bin) holds no user's settings, even where the user
    // (root) could write there.
    if (DataDirectory(programDirectory).empty() && ::access(programDirectory.c_str(), W_OK) == 0)
        return beside;
    std::filesystem::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        config = std::filesystem::path(home) / ".config";
    else
        return beside;
    return config / "zeb" / "ZEB.ini";
}

std::optional<Settings> ReadSettings(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        return std::nullopt;
    // Three short lines; a file that is no regular file (a device, a pipe) or huge is not ours.
    constexpr size_t kMaxSettingsBytes = 64 * 1024;
    LineBuffer lines;
    if (ReadFileLines(file, lines, kMaxSettingsBytes, true) == LinesRead::NotRegular)
        return std::nullopt;
    Settings s;
    s.languageLine = Cp1252ToUtf8(lines[1]);
    s.workingDirectory = Cp1252ToUtf8(lines[2]);
    return s;
}

void WriteSettings(const std::filesystem::path& file, const Settings& settings) {
    std::error_code ec;
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path(), ec);
    LineBuffer lines;
    lines[1] = LanguageLine(settings.language());
    lines[2] = Utf8ToCp1252(settings.workingDirectory);
    WriteFileLines(file, lines, 3);
}

} // namespace zeb::app
