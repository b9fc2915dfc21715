#pragma once
// Project files: 100 fixed-column lines, Windows-1252, CR LF. The project is composed into a
// LineBuffer and read back from one; file access happens only in the Load/Save functions.

#include "app/project.h"
#include "app/texts.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zeb::app {

inline constexpr std::string_view kSignature2012 = "ZEB 4.1 project file (2012)";
inline constexpr std::string_view kSignature2001 = "ZEB project file (2001)";
bool IsSignatureLine(std::string_view line);

// Lines are numbered from 1 as in the file; the buffer holds 300 of them as Windows-1252 bytes,
// so that the fixed columns count characters of the file.
class LineBuffer {
public:
    static constexpr int kCapacity = 300;
    std::string& operator[](int lineNo) { return lines_.at(lineNo - 1); }
    const std::string& operator[](int lineNo) const { return lines_.at(lineNo - 1); }
    void Clear() { lines_.fill({}); }

private:
    std::array<std::string, kCapacity> lines_;
};

// The C library's error number with its text in the C locale (English).
struct SystemReason {
    int errorNumber = 0;
    std::string text;
};
SystemReason ReasonOf(int errorNumber);

// A file that cannot be read or written: the file name and the system's reason.
class FileError : public std::runtime_error {
public:
    FileError(std::string fileName, std::string reason);
    FileError(std::string fileName, SystemReason reason);
    const std::string& fileName() const { return fileName_; }
    // In English; file_error_text.h gives it in the interface language.
    const std::string& reason() const { return reason_; }
    int errorNumber() const { return errorNumber_; } // 0 when the C library gave none

private:
    std::string fileName_;
    std::string reason_;
    int errorNumber_ = 0;
};

// A value text too wide for the 8-character columns of the project file.
class ValueTooWideError : public std::runtime_error {
public:
    ValueTooWideError(std::string part, std::string field, std::string value);
    const std::string& part() const { return part_; }   // "A", "B", "C", "conditioning", "W 216"
    const std::string& field() const { return field_; } // the label of the value in the file
    const std::string& value() const { return value_; }

private:
    std::string part_, field_, value_;
};

// The current date and time in the system's formats (short date, blank, long time).
std::string SystemDateTimeText();

// Fills lines 1 to 93 from the project; `dateTime` goes to line 7. Lines 94 to 100 are left as
// they are in the buffer.
void WriteProjectLines(const Project& project, LineBuffer& buffer, std::string_view dateTime);

// Fills the five parts from the lines of a file whose signature was accepted, takes the reference
// copies and then converts older files. fileName and modified are the caller's.
void ReadProjectLines(Project& project, const LineBuffer& buffer);

// The water part of ReadProjectLines, with the same conversions of older files.
std::array<WaterAnalysis, 3> ReadProjectWaters(const LineBuffer& buffer);

// Throws ValueTooWideError for the first value text wider than 8 characters.
void CheckValueWidths(const ProjectParts& parts);

// The bytes of a project file's first 100 lines: about 4 KiB in a real file, far more with long
// texts; a file that needs more than this before its 100th line ends is no project file.
inline constexpr std::size_t kMaxProjectFileBytes = 256 * 1024;

enum class LinesRead {
    Complete,  // the file ended, or its 100th line did
    Cut,       // `maxBytes` were read before that; the buffer holds what was read
    NotRegular // only regular files were asked for; the buffer is untouched
};

// Reads the first 100 lines (missing lines empty) into the buffer as the file's bytes; CR LF and
// LF line ends are both accepted. Reads no more than `maxBytes` bytes, so a device or an endless
// file ends the reading too; a named pipe without a writer reads as empty. With `regularOnly`,
// anything but a regular file (a device, a pipe) is not read at all. Throws FileError.
LinesRead ReadFileLines(const std::filesystem::path& file, LineBuffer& buffer,
                        std::size_t maxBytes = kMaxProjectFileBytes, bool regularOnly = false);

// A project file in UTF-8 holding a character that Windows-1252, and so a project, cannot store.
class Utf8TextError : public FileError {
public:
    Utf8TextError(std::string fileName, int line);
    int line() const { return line_; }

private:
    int line_;
};
// The message for it in the interface language, beginning with the file name.
std::string Utf8TextMessage(const Utf8TextError& error, Language lang);

// Reads the first 100 lines of a project file as Windows-1252 bytes. A file saved as UTF-8 by an
// editor (it starts with a byte-order mark, or it is well-formed UTF-8 with non-ASCII characters)
// is converted, so its fixed columns count characters as in any other project file. Returns
// whether line 1 is a signature line, and only then fills the buffer; a file longer than
// kMaxProjectFileBytes before its 100th line is no project. Throws FileError, or
// Utf8TextError for a UTF-8 project with a character Windows-1252 cannot hold.
bool ReadProjectFile(const std::filesystem::path& file, LineBuffer& buffer);

// Writes the bytes to `file`. A regular file is replaced through a temporary file in its
// directory, only when complete, so a failed write leaves the old file as it was; the new file
// keeps the old one's permission bits (and owner where the system allows). A symbolic link is
// followed and its target written. A file that exists but could not be opened for writing is
// refused as the system would refuse it; a device or pipe is written directly. Throws FileError
// naming `file`.
void WriteFileBytes(const std::filesystem::path& file, std::string_view bytes);

// Writes lines 1 to `count` with CR LF as WriteFileBytes does. Throws FileError.
void WriteFileLines(const std::filesystem::path& file, const LineBuffer& buffer, int count);

// Open: reads the file as ReadProjectFile does; if line 1 is a signature line fills the project
// (which keeps its fileName and modified flag) and returns true; otherwise leaves it and the
// buffer untouched and returns false. Throws FileError or Utf8TextError.
bool LoadProject(const std::filesystem::path& file, Project& project, LineBuffer& buffer);

// Save: checks the value widths, composes the lines with the project's current fileName on line
// 5 and writes them to `file`. The project itself is not changed. Throws ValueTooWideError
// (nothing written) or FileError.
void SaveProject(const std::filesystem::path& file, const Project& project, LineBuffer& buffer,
                 std::string_view dateTime);

// The new project of the compile-data command: the selected waters with blend fractions
// "   0.000", default conditioning and W 216 data.
ProjectParts ComposeProject(const std::array<WaterAnalysis, 3>& selected);

} // namespace zeb::app
