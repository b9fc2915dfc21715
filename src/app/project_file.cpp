#include "app/project_file.h"

#include "app/cp1252.h"
#include "app/number_format.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <iomanip>
#include <locale>
#include <memory>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace zeb::app {

namespace {

using WaterMember = std::string WaterAnalysis::*;

struct WaterLine {
    int line;
    std::string_view label; // 10 characters (UTF-8 here, converted when written)
    WaterMember member;
    std::string_view unit;
};

// The value lines of the three waters ("label, A, B, C, unit").
const WaterLine kWaterLines[] = {
    {13, "   pH     ", &WaterAnalysis::pH, ""},
    {14, "   T pH   ", &WaterAnalysis::tempPH, "  oC"},
    {15, "   k      ", &WaterAnalysis::conductivity, "  mS/m"},
    {16, "   KS 4.3 ", &WaterAnalysis::ks43, "  mmol/L"},
    {17, "   KB 8.2 ", &WaterAnalysis::kb82, "  mmol/L"},
    {18, "   KS 8.2 ", &WaterAnalysis::ks82, "  mmol/L"},
    {19, "   T ti8.2", &WaterAnalysis::tempTitr82, "  oC"},
    {20, "   DIC    ", &WaterAnalysis::dic, "  mmol/L"},
    {21, "   T bew  ", &WaterAnalysis::tempCalc, "  oC"},
    {22, "   IOS    ", &WaterAnalysis::iosInput, "  mmol/L"},
    {23, "   DOC    ", &WaterAnalysis::toc, "  mg/L"},
    {24, "   c(O2)  ", &WaterAnalysis::oxygen, "  mg/L"},
    {25, "   c(Na)  ", &WaterAnalysis::cNa, "  mmol/L"},
    {26, "   c(K)   ", &WaterAnalysis::cK, "  mmol/L"},
    {27, "   c(Ca)  ", &WaterAnalysis::cCa, "  mmol/L"},
    {28, "   c(Mg)  ", &WaterAnalysis::cMg, "  mmol/L"},
    {29, "   c(Cl)  ", &WaterAnalysis::cCl, "  mmol/L"},
    {30, "   c(NO3) ", &WaterAnalysis::cNO3, "  mmol/L"},
    {31, "   c(SO4) ", &WaterAnalysis::cSO4, "  mmol/L"},
    {32, "   c(PO4) ", &WaterAnalysis::cPO4, "  mmol/L"},
    {33, "   c(NH4) ", &WaterAnalysis::cNH4, "  mmol/L"},
    {34, "   ß(Na)  ", &WaterAnalysis::massNa, "  mg/L"},
    {35, "   ß(K)   ", &WaterAnalysis::massK, "  mg/L"},
    {36, "   ß(Ca)  ", &WaterAnalysis::massCa, "  mg/L"},
    {37, "   ß(Mg)  ", &WaterAnalysis::massMg, "  mg/L"},
    {38, "   ß(Cl)  ", &WaterAnalysis::massCl, "  mg/L"},
    {39, "   ß(NO3) ", &WaterAnalysis::massNO3, "  mg/L"},
    {40, "   ß(SO4) ", &WaterAnalysis::massSO4, "  mg/L"},
    {41, "   ß(PO4) ", &WaterAnalysis::massPO4, "  mg/L"},
    {42, "   ß(NH4) ", &WaterAnalysis::massNH4, "  mg/L"},
    {44, "          ", &WaterAnalysis::blendPercent, "  %"},
    {82, "   Härte  ", &WaterAnalysis::hardnessMmol, "  mmol/L"},
    {83, "          ", &WaterAnalysis::hardnessDH, "  odH"},
    {87, "   T ti4.3", &WaterAnalysis::tempTitr43, "  oC"},
    {88, "   c(Fe)  ", &WaterAnalysis::cFe, "  mmol/L"},
    {89, "   c(Mn)  ", &WaterAnalysis::cMn, "  mmol/L"},
    {90, "   D(O2)  ", &WaterAnalysis::cO2Demand, "  mmol/L"},
    {91, "   c(Fe)  ", &WaterAnalysis::massFe, "  mg/L"},
    {92, "   c(Mn)  ", &WaterAnalysis::massMn, "  mg/L"},
    {93, "   D(O2)  ", &WaterAnalysis::massO2Demand, "  mg/L"},
};

struct ConditioningLine {
    int line;
    std::string_view label;
    std::string ConditioningData::*member;
    std::string_view unit;
};

const ConditioningLine kConditioningLines[] = {
    {48, "   tm     ", &ConditioningData::tm, "  mmol/L"},
    {49, "   tC     ", &ConditioningData::tC, "  mmol/L"},
    {50, "   T      ", &ConditioningData::T, "  oC"},
    {51, "   IOS    ", &ConditioningData::IOS, "  mmol/L"},
    {52, "   c(Na)  ", &ConditioningData::cNa, "  mmol/L"},
    {53, "   c(K)   ", &ConditioningData::cK, "  mmol/L"},
    {54, "   c(Ca)  ", &ConditioningData::cCa, "  mmol/L"},
    {55, "   c(Mg)  ", &ConditioningData::cMg, "  mmol/L"},
    {56, "   c(Cl)  ", &ConditioningData::cCl, "  mmol/L"},
    {57, "   c(NO3) ", &ConditioningData::cNO3, "  mmol/L"},
    {58, "   c(SO4) ", &ConditioningData::cSO4, "  mmol/L"},
    {59, "   c(PO4) ", &ConditioningData::cPO4, "  mmol/L"},
    {62, "   c(x)   ", &ConditioningData::cx, "  mol/m³"},
    {63, "   V(x)   ", &ConditioningData::Vx, "  L/m³"},
};

struct W216Line {
    int line;
    std::string_view label;
    int first, second; // indices into W216Data::values
    std::string_view unit;
};

const W216Line kW216Lines[] = {
    {68, "   c(O2)  ", W216Data::O2First, W216Data::O2Second, "  mg/L"},
    {70, "   KS 4.3 ", W216Data::Ks43First, W216Data::Ks43Second, "  mmol/L"},
    {71, "   c(Cl)  ", W216Data::ClFirst, W216Data::ClSecond, "  mmol/L"},
    {72, "   c(SO4) ", W216Data::SO4First, W216Data::SO4Second, "  mmol/L"},
    {74, "   c(PO4) ", W216Data::PO4First, W216Data::PO4Second, "  mmol/L"},
    {75, "   DOC    ", W216Data::DOCFirst, W216Data::DOCSecond, "  mmol/L"},
    {76, "   qA     ", W216Data::QAFirst, W216Data::QASecond, "  mmol/L"},
};

// Water I of the assessment on line 79, water II on line 80: shares in blends 1 and 2, letter.
struct ShareLine {
    int line, inBlend1, inBlend2, letter;
};
const ShareLine kShareLines[] = {
    {79, W216Data::Share1First, W216Data::Share1Second, W216Data::Letter1},
    {80, W216Data::Share2First, W216Data::Share2Second, W216Data::Letter2},
};

std::string ToFile(std::string_view utf8) {
    return Utf8ToCp1252(utf8);
}

// A value occupies exactly 8 columns; a shorter text (a field read from a short line) is padded
// with leading blanks so the following columns stay in place and the number reads the same.
std::string Column(const std::string& value) {
    std::string bytes = ToFile(value);
    if (bytes.size() < 8)
        bytes.insert(0, 8 - bytes.size(), ' ');
    return bytes;
}

// The tokens of the three waters, `width` characters each from `column` (counted from 1) at a
// distance of 8, as the reading takes them. A token is padded to its width only where another
// follows, and the line ends right after the last token that is not empty: a token the end of a
// short line had cut (or emptied) reads back exactly as it was, and an empty token between
// others leaves the next one in its column.
std::string TokenLine(size_t column, size_t width, const std::array<WaterAnalysis, 3>& waters,
                      std::string WaterAnalysis::*member) {
    size_t last = waters.size();
    while (last > 0 && (waters[last - 1].*member).empty())
        --last;
    std::string line(column - 1, ' ');
    for (size_t i = 0; i < last; ++i) {
        std::string bytes = ToFile(waters[i].*member);
        if (i + 1 < last) {
            if (bytes.size() < width)
                bytes.resize(width, ' ');
            bytes.append(8 - width, ' ');
        }
        line += bytes;
    }
    return line;
}

// Columns are counted from 1; a line shorter than the column gives a shorter (or empty) piece.
std::string Piece(const std::string& line, size_t column, size_t count) {
    if (line.size() < column)
        return {};
    return Cp1252ToUtf8(std::string_view(line).substr(column - 1, count));
}

std::string ValuePiece(const std::string& line, int index) {
    return CutValueText(Piece(line, 11 + 8 * index, 8));
}

std::string RestAfter(const std::string& line, size_t count) {
    return line.size() > count ? Cp1252ToUtf8(std::string_view(line).substr(count)) : std::string();
}

void ReadWaterFields(std::array<WaterAnalysis, 3>& waters, const LineBuffer& buffer) {
    for (int i = 0; i < 3; ++i) {
        WaterAnalysis& w = waters[i];
        w.text = RestAfter(buffer[9 + i], 11);
        for (const WaterLine& l : kWaterLines)
            w.*l.member = ValuePiece(buffer[l.line], i);
        w.dicMode = Piece(buffer[43], 16 + 8 * i, 3);
        w.condRefTemp = Piece(buffer[45], 17 + 8 * i, 2);
        w.iosMode = Piece(buffer[85], 16 + 8 * i, 3);
    }
}

bool HasOldPhosphateUnit(const LineBuffer& buffer) {
    return buffer[32].size() >= 43 && buffer[32].compare(34, 9, "  mmol/m\xB3") == 0;
}

std::string MmolPerM3ToMmolPerL(const std::string& text) {
    const long double x = ParseNumber(text) / 1000.0L;
    return FormatFixed(std::isfinite(x) ? x : 0.0L, 8, 3); // converted files keep their "0.000"
}

void ConvertOlderWaters(std::array<WaterAnalysis, 3>& waters, const LineBuffer& buffer) {
    if (HasOldPhosphateUnit(buffer))
        for (auto& w : waters)
            w.cPO4 = MmolPerM3ToMmolPerL(w.cPO4);
    if (buffer[19].size() >= 9 && buffer[19].compare(3, 6, "t titr") == 0)
        for (auto& w : waters)
            w.tempTitr43 = w.tempTitr82;
}

SystemReason ErrnoText(int err) {
    return ReasonOf(err);
}

// A file descriptor closed at the end of its scope.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// 0, or the errno of the failed write.
int WriteAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<size_t>(w);
    }
    return 0;
}

// The file a chain of symbolic links ends in, existing or not (a dangling link names the file
// to create). A loop ends with the last name reached; writing it then fails as the system says.
std::filesystem::path FollowLinks(std::filesystem::path file) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(file.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            break;
        std::error_code ec;
        const std::filesystem::path to = std::filesystem::read_symlink(file, ec);
        if (ec)
            break;
        file = to.is_absolute() ? to : file.parent_path() / to;
    }
    return file;
}

void CheckWidth(const std::string& value, std::string_view part, std::string_view field) {
    if (Utf8ToCp1252(value).size() > 8)
        throw ValueTooWideError(std::string(part), std::string(field), value);
}

std::string Trimmed(std::string_view label) {
    const auto b = label.find_first_not_of(' ');
    if (b == std::string_view::npos)
        return {};
    const auto e = label.find_last_not_of(' ');
    return std::string(label.substr(b, e - b + 1));
}

} // namespace

FileError::FileError(std::string fileName, std::string reason)
    : std::runtime_error(fileName + ": " + reason), fileName_(std::move(fileName)),
      reason_(std::move(reason)) {}

FileError::FileError(std::string fileName, SystemReason reason)
    : FileError(std::move(fileName), std::move(reason.text)) {
    errorNumber_ = reason.errorNumber;
}

ValueTooWideError::ValueTooWideError(std::string part, std::string field, std::string value)
    : std::runtime_error(part + ", " + field + ": \"" + value +
                         "\" does not fit the project file (8 characters)"),
      part_(std::move(part)), field_(std::move(field)), value_(std::move(value)) {}

Utf8TextError::Utf8TextError(std::string fileName, int line)
    : FileError(std::move(fileName), "UTF-8 text with characters that Windows-1252 cannot hold "
                                     "(line " +
                                         std::to_string(line) + ")"),
      line_(line) {}

std::string Utf8TextMessage(const Utf8TextError& error, Language lang) {
    return error.fileName() + std::string(Text("msg.utf8Line", lang)) +
           std::to_string(error.line()) + std::string(Text("msg.utf8NotCp1252", lang));
}

bool IsSignatureLine(std::string_view line) {
    return line == kSignature2012 || line == kSignature2001;
}

std::string SystemDateTimeText() {
    std::locale loc = std::locale::classic();
    try {
        loc = std::locale("");
    } catch (const std::exception&) {
        // An unusable locale setting leaves the classic formats.
    }
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    std::ostringstream out;
    out.imbue(loc);
    out << std::put_time(&tm, "%x %X");
    return out.str();
}

void WriteProjectLines(const Project& project, LineBuffer& buffer, std::string_view dateTime) {
    const auto& waters = project.parts.waters;
    for (int n = 1; n <= 93; ++n)
        buffer[n].clear();
    buffer[1] = std::string(kSignature2012);
    buffer[3] = "   ";
    buffer[5] = "   " + ToFile(project.fileName);
    buffer[7] = "   " + ToFile(dateTime);
    for (int i = 0; i < 3; ++i)
        buffer[9 + i] = "   Text " + std::string(1, WaterLetter(static_cast<WaterId>(i))) + ": " +
                        ToFile(waters[i].text);
    buffer[12] = "                 A       B       C ";
    for (const WaterLine& l : kWaterLines) {
        std::string line = ToFile(l.label);
        for (const auto& w : waters)
            line += Column(w.*l.member);
        buffer[l.line] = line + ToFile(l.unit);
    }
    buffer[43] = TokenLine(16, 3, waters, &WaterAnalysis::dicMode);
    buffer[45] = TokenLine(17, 2, waters, &WaterAnalysis::condRefTemp);
    buffer[85] = TokenLine(16, 3, waters, &WaterAnalysis::iosMode);

    const ConditioningData& c = project.parts.conditioning;
    buffer[46] = "   " + ToFile(c.text);
    for (const ConditioningLine& l : kConditioningLines)
        buffer[l.line] = ToFile(l.label) + Column(c.*l.member) + ToFile(l.unit);
    buffer[60] = "   " + ToFile(c.chemical);

    const W216Data& w216 = project.parts.w216;
    buffer[65] = "   " + ToFile(w216.reserved);
    buffer[66] = "   " + ToFile(w216.text);
    for (const W216Line& l : kW216Lines)
        buffer[l.line] = ToFile(l.label) + Column(w216.values[l.first]) +
                         Column(w216.values[l.second]) + ToFile(l.unit);
    for (const ShareLine& l : kShareLines)
        buffer[l.line] = std::string(10, ' ') + Column(w216.values[l.inBlend1]) +
                         Column(w216.values[l.inBlend2]) + "  % " + ToFile(w216.values[l.letter]);
}

std::array<WaterAnalysis, 3> ReadProjectWaters(const LineBuffer& buffer) {
    std::array<WaterAnalysis, 3> waters;
    for (auto& w : waters)
        SetDefaultWater(w);
    ReadWaterFields(waters, buffer);
    ConvertOlderWaters(waters, buffer);
    return waters;
}

void ReadProjectLines(Project& project, const LineBuffer& buffer) {
    ProjectParts& p = project.parts;
    ReadWaterFields(p.waters, buffer);

    p.conditioning.text = RestAfter(buffer[46], 3);
    for (const ConditioningLine& l : kConditioningLines)
        p.conditioning.*l.member = ValuePiece(buffer[l.line], 0);
    p.conditioning.chemical = Piece(buffer[60], 4, 8);

    p.w216.text = RestAfter(buffer[66], 3);
    for (const W216Line& l : kW216Lines) {
        p.w216.values[l.first] = ValuePiece(buffer[l.line], 0);
        p.w216.values[l.second] = ValuePiece(buffer[l.line], 1);
    }
    for (const ShareLine& l : kShareLines) {
        p.w216.values[l.inBlend1] = ValuePiece(buffer[l.line], 0);
        p.w216.values[l.inBlend2] = ValuePiece(buffer[l.line], 1);
        p.w216.values[l.letter] = Piece(buffer[l.line], 31, 1);
    }

    project.TakeReferenceCopies();

    // Older files: converted after the reference copies, so the next change check marks the
    // project modified and the user is asked before the converted values are lost.
    ConvertOlderWaters(p.waters, buffer);
    if (HasOldPhosphateUnit(buffer)) {
        p.w216.values[W216Data::PO4First] = MmolPerM3ToMmolPerL(p.w216.values[W216Data::PO4First]);
        p.w216.values[W216Data::PO4Second] =
            MmolPerM3ToMmolPerL(p.w216.values[W216Data::PO4Second]);
    }
}

namespace {

// A field as the windows label it, where the file's own label differs: the file keeps the old
// name "DOC" for the organic carbon, and "c(...)" for the masses of iron and manganese.
std::string FieldName(int line, std::string_view label) {
    switch (line) {
    case 23:
    case 75:
        return "TOC";
    case 44:
        return "%";
    case 83:
        return "odH";
    case 91:
        return "ß(Fe)";
    case 92:
        return "ß(Mn)";
    default:
        return Trimmed(label);
    }
}

} // namespace

void CheckValueWidths(const ProjectParts& parts) {
    for (int i = 0; i < 3; ++i) {
        const std::string part(1, WaterLetter(static_cast<WaterId>(i)));
        for (const WaterLine& l : kWaterLines)
            CheckWidth(parts.waters[i].*l.member, part, FieldName(l.line, l.label));
    }
    for (const ConditioningLine& l : kConditioningLines)
        CheckWidth(parts.conditioning.*l.member, "conditioning", Trimmed(l.label));
    for (const W216Line& l : kW216Lines) {
        CheckWidth(parts.w216.values[l.first], "W 216", FieldName(l.line, l.label));
        CheckWidth(parts.w216.values[l.second], "W 216", FieldName(l.line, l.label));
    }
    for (const ShareLine& l : kShareLines) {
        CheckWidth(parts.w216.values[l.inBlend1], "W 216", "%");
        CheckWidth(parts.w216.values[l.inBlend2], "W 216", "%");
    }
}

LinesRead ReadFileLines(const std::filesystem::path& file, LineBuffer& buffer, size_t maxBytes,
                        bool regularOnly) {
    struct stat st {};
    if (regularOnly && ::stat(file.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return LinesRead::NotRegular;
    // Opening a named pipe that nobody writes to would wait for a writer; opened without waiting,
    // such a pipe reads as empty, one with a writer as usual.
    const Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0)
        throw FileError(file.string(), ErrnoText(errno));
    if (::fstat(fd.get(), &st) != 0)
        throw FileError(file.string(), ErrnoText(errno));
    if (S_ISDIR(st.st_mode))
        throw FileError(file.string(), ErrnoText(EISDIR));
    if (regularOnly && !S_ISREG(st.st_mode))
        return LinesRead::NotRegular;
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        throw FileError(file.string(), ErrnoText(errno));

    LineBuffer read;
    int lineNo = 1;
    std::string line;
    size_t total = 0;
    bool ended = false;
    char chunk[8192];
    while (lineNo <= 100 && !ended) {
        // One byte more than allowed tells a file that ends at the limit from one that goes on.
        const size_t want = std::min(sizeof chunk, maxBytes + 1 - total);
        const ssize_t n = ::read(fd.get(), chunk, want);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(file.string(), ErrnoText(errno));
        }
        if (n == 0)
            break;
        for (ssize_t k = 0; k < n && lineNo <= 100; ++k) {
            if (total++ == maxBytes) {
                ended = true;
                break;
            }
            if (chunk[k] == '\n') {
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                read[lineNo++] = std::move(line);
                line.clear();
            } else {
                line.push_back(chunk[k]);
            }
        }
    }
    if (lineNo <= 100 && !line.empty()) {
        if (line.back() == '\r')
            line.pop_back();
        read[lineNo] = std::move(line);
    }
    // Lines past 100 of the buffer are not the file's; keep what the buffer carried there.
    for (int n = 1; n <= 100; ++n)
        buffer[n] = std::move(read[n]);
    return ended ? LinesRead::Cut : LinesRead::Complete;
}

bool ReadProjectFile(const std::filesystem::path& file, LineBuffer& buffer) {
    LineBuffer read;
    if (ReadFileLines(file, read) == LinesRead::Cut)
        return false;
    // Windows-1252 text with umlauts is practically never well-formed UTF-8 ("Ã¤" would have to
    // stand for "ä"), so a file that is must have been saved as UTF-8 by an editor.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    bool utf8 = read[1].starts_with(kByteOrderMark);
    if (utf8)
        read[1].erase(0, kByteOrderMark.size());
    bool nonAscii = false, wellFormed = true;
    for (int n = 1; n <= 100; ++n) {
        nonAscii = nonAscii || std::any_of(read[n].begin(), read[n].end(), [](char c) {
                       return static_cast<unsigned char>(c) >= 0x80;
                   });
        wellFormed = wellFormed && IsUtf8(read[n]);
    }
    utf8 = utf8 || (nonAscii && wellFormed);
    if (!IsSignatureLine(read[1]))
        return false;
    if (utf8) {
        for (int n = 1; n <= 100; ++n) {
            if (!FitsCp1252(read[n]))
                throw Utf8TextError(file.string(), n);
            read[n] = Utf8ToCp1252(read[n]);
        }
    }
    for (int n = 1; n <= 100; ++n)
        buffer[n] = std::move(read[n]);
    return true;
}

void WriteFileBytes(const std::filesystem::path& file, std::string_view bytes) {
    if (file.empty())
        throw FileError(file.string(), ErrnoText(ENOENT));
    struct stat st {};
    if (::stat(file.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            throw FileError(file.string(), ErrnoText(EISDIR));
        // A device or pipe cannot be replaced, and has no directory to hold a temporary file.
        if (!S_ISREG(st.st_mode)) {
            const Fd fd(::open(file.c_str(), O_WRONLY | O_CLOEXEC));
            if (fd.get() < 0)
                throw FileError(file.string(), ErrnoText(errno));
            if (const int err = WriteAll(fd.get(), bytes))
                throw FileError(file.string(), ErrnoText(err));
            return;
        }
        // Replacing needs only the directory's permission; the user expects the file's own.
        if (::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0)
            throw FileError(file.string(), ErrnoText(errno));
    } else if (errno != ENOENT) {
        throw FileError(file.string(), ErrnoText(errno));
    }
    const bool exists = S_ISREG(st.st_mode);
    const std::filesystem::path target = FollowLinks(file);

    const std::filesystem::path dir = target.has_parent_path() ? target.parent_path() : ".";
    std::string tmpl = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    const int tmp = ::mkstemp(tmpl.data());
    if (tmp < 0) {
        // A writable file in a directory the user may not write: written in place, as an editor
        // would, rather than not at all.
        if (exists && (errno == EACCES || errno == EPERM)) {
            const Fd fd(::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
            if (fd.get() < 0)
                throw FileError(file.string(), ErrnoText(errno));
            if (int err = WriteAll(fd.get(), bytes); err || ::fsync(fd.get()) != 0)
                throw FileError(file.string(), ErrnoText(err ? err : errno));
            return;
        }
        throw FileError(file.string(), ErrnoText(errno));
    }
    int err = WriteAll(tmp, bytes);
    if (!err && ::fsync(tmp) != 0)
        err = errno;
    if (!err) {
        // mkstemp creates the file for its owner only.
        mode_t mode = st.st_mode & 07777;
        if (!exists) {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        } else if (::fchown(tmp, st.st_uid, st.st_gid) != 0) {
            // Only root may give a file away: the user's own file keeps the user as owner.
        }
        if (::fchmod(tmp, mode) != 0)
            err = errno;
    }
    if (::close(tmp) != 0 && !err)
        err = errno;
    if (!err && std::rename(tmpl.c_str(), target.c_str()) != 0)
        err = errno;
    if (err) {
        std::remove(tmpl.c_str());
        throw FileError(file.string(), ErrnoText(err));
    }
}

void WriteFileLines(const std::filesystem::path& file, const LineBuffer& buffer, int count) {
    std::string bytes;
    for (int n = 1; n <= count; ++n) {
        bytes += buffer[n];
        bytes += "\r\n";
    }
    WriteFileBytes(file, bytes);
}

bool LoadProject(const std::filesystem::path& file, Project& project, LineBuffer& buffer) {
    // A file that is not a project leaves the buffer as it was, so none of its lines can reach
    // lines 94 to 100 of the next saved project.
    if (!ReadProjectFile(file, buffer))
        return false;
    ReadProjectLines(project, buffer);
    return true;
}

void SaveProject(const std::filesystem::path& file, const Project& project, LineBuffer& buffer,
                 std::string_view dateTime) {
    CheckValueWidths(project.parts);
    WriteProjectLines(project, buffer, dateTime);
    WriteFileLines(file, buffer, 100);
}

ProjectParts ComposeProject(const std::array<WaterAnalysis, 3>& selected) {
    ProjectParts parts;
    parts.waters = selected;
    for (auto& w : parts.waters)
        w.blendPercent = "   0.000";
    SetDefaultConditioning(parts.conditioning);
    SetDefaultW216(parts.w216);
    return parts;
}

} // namespace zeb::app
