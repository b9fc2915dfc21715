#pragma once
// The text report of a result window: 300 fixed-width lines, printed page by page or saved as
// "Standard" text or as "Excel" text with ";" fields and decimal commas.

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zeb::report {

inline constexpr std::string_view kIndent = "        ";

// Lines are numbered from 1; lines a report does not write stay empty. UTF-8 in memory.
class ReportText {
public:
    static constexpr int kCapacity = 300;
    std::string& operator[](int lineNo) { return lines_.at(lineNo - 1); }
    const std::string& operator[](int lineNo) const { return lines_.at(lineNo - 1); }
    void Clear() { lines_.fill({}); }

private:
    std::array<std::string, kCapacity> lines_;
};

// The header every report shares: line 3 the signature line, line 6 the first 80 characters of
// the project file name, line 7 characters 81 to 160 (when the name is that long), line 9 the
// date and time; each after the 8-blank indent.
void FillReportHeader(ReportText& report, std::string_view signature, std::string_view fileName,
                      std::string_view dateTime);

// A text inserted before the first ";" of lines first..last (alignment of a table's
// columns in the spreadsheet).
struct ExcelInsert {
    int first, last;
    std::string_view text;
};

// What differs between windows in the "Excel" form.
struct ReportLayout {
    int standardLines;     // lines written, in both formats
    int excelLines;        // lines converted
    int excelNumericStart; // first line whose points become commas and blank runs ";"
    std::vector<ExcelInsert> inserts;
};

enum class ReportFormat { Standard, Excel };

// The lines as saved: "Standard" lines 1..standardLines as they are; "Excel" the converted copy.
std::vector<std::string> ReportLines(const ReportText& report, const ReportLayout& layout,
                                     ReportFormat format);

// One line of the "Excel" conversion: the indent removed and ";" appended; in the numeric part
// points become commas and every run of two or more blanks one ";".
std::string ExcelLine(std::string_view line, bool numeric);

// Writes the lines in Windows-1252 with CR LF (replacing the file as a whole). Throws
// app::FileError.
void WriteReportFile(const std::filesystem::path& file, const std::vector<std::string>& lines);

} // namespace zeb::report
