#include "report/report_text.h"

#include "app/cp1252.h"
#include "app/project_file.h"

namespace zeb::report {

namespace {

// Characters, not bytes: a file name may hold umlauts.
std::string Utf8Substr(std::string_view s, size_t from, size_t count) {
    size_t i = 0, ch = 0, begin = s.size(), end = s.size();
    for (; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
            continue;
        if (ch == from)
            begin = i;
        if (ch == from + count) {
            end = i;
            break;
        }
        ++ch;
    }
    return begin >= end ? std::string() : std::string(s.substr(begin, end - begin));
}

size_t Utf8Length(std::string_view s) {
    size_t chars = 0;
    for (unsigned char c : s)
        chars += (c & 0xC0) != 0x80;
    return chars;
}

} // namespace

void FillReportHeader(ReportText& report, std::string_view signature, std::string_view fileName,
                      std::string_view dateTime) {
    report[3] = std::string(kIndent) + std::string(signature);
    report[6] = std::string(kIndent) + Utf8Substr(fileName, 0, 80);
    // A name of exactly 80 characters still gets its (empty) continuation line after the indent.
    report[7] = Utf8Length(fileName) >= 80 ? std::string(kIndent) + Utf8Substr(fileName, 80, 80)
                                           : std::string();
    report[9] = std::string(kIndent) + std::string(dateTime);
}

std::string ExcelLine(std::string_view line, bool numeric) {
    std::string s(line.size() > 8 ? line.substr(8) : std::string_view());
    s.push_back(';');
    if (!numeric)
        return s;
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        if (s[i] == ' ') {
            size_t j = i;
            while (j < s.size() && s[j] == ' ')
                ++j;
            if (j - i >= 2)
                out.push_back(';');
            else
                out.push_back(' ');
            i = j;
        } else {
            out.push_back(s[i] == '.' ? ',' : s[i]);
            ++i;
        }
    }
    return out;
}

std::vector<std::string> ReportLines(const ReportText& report, const ReportLayout& layout,
                                     ReportFormat format) {
    std::vector<std::string> lines;
    lines.reserve(layout.standardLines);
    for (int n = 1; n <= layout.standardLines; ++n) {
        std::string line = report[n];
        if (format == ReportFormat::Excel && n <= layout.excelLines) {
            line = ExcelLine(line, n >= layout.excelNumericStart);
            for (const ExcelInsert& ins : layout.inserts) {
                if (n < ins.first || n > ins.last)
                    continue;
                const auto semi = line.find(';');
                line.insert(semi == std::string::npos ? line.size() : semi, ins.text);
            }
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

void WriteReportFile(const std::filesystem::path& file, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& l : lines) {
        bytes += app::Utf8ToCp1252(l);
        bytes += "\r\n";
    }
    app::WriteFileBytes(file, bytes);
}

} // namespace zeb::report
