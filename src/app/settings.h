#pragma once
// ZEB.ini: line 1 the interface language ("DEUTSCH" / "ENGLISH"), line 2 the working directory,
// line 3 empty. Windows-1252 with CR LF.

#include "app/texts.h"

#include <filesystem>
#include <optional>
#include <string>

namespace zeb::app {

struct Settings {
    std::string languageLine = "DEUTSCH"; // as read; anything but "ENGLISH" means German
    std::string workingDirectory;

    Language language() const;
};

std::string LanguageLine(Language language);

// Where ZEB.ini lives: in the program directory when it exists there or that directory is
// writable and not an installation's (no <prefix>/share/zeb beside it), otherwise
// $XDG_CONFIG_HOME/zeb (default ~/.config/zeb).
std::filesystem::path SettingsFilePath(const std::filesystem::path& programDirectory);

// nullopt when the file does not exist or is no regular file; throws FileError when it exists
// but cannot be read. Reads at most 64 KiB, line by line.
std::optional<Settings> ReadSettings(const std::filesystem::path& file);

// Writes the three lines, creating the directory when needed. Throws FileError.
void WriteSettings(const std::filesystem::path& file, const Settings& settings);

} // namespace zeb::app
