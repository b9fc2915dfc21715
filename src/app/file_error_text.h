#pragma once
// The message of a file that cannot be read or written, in the interface language throughout.

#include "app/project_file.h"
#include "app/texts.h"

#include <optional>
#include <string>

namespace zeb::app {

// The C library's text for the error number in `language`; nullopt when the system has none in
// that language (no German locale installed, or an unknown error number).
std::optional<std::string> ReasonIn(int errorNumber, Language language);

enum class FileAccess { Read, Write };

// "x.zeb ist nicht beschreibbar: Keine Berechtigung". Where the system's reason exists only in
// English, it follows on a line of its own, so that no sentence mixes two languages.
std::string FileErrorMessage(const FileError& error, FileAccess access, Language language);

} // namespace zeb::app
