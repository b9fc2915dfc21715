#include "batch/csv_reader.h"

#include "app/cp1252.h"
#include "app/project_file.h"

#include <csv.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace zeb::batch {

namespace {

constexpr std::size_t kChunk = 64 * 1024;
// No analysis value or water text comes near this; a longer field means a file that is not a
// campaign (or a quote never closed), which would otherwise be buffered whole.
constexpr std::size_t kMaxField = 1 << 20;
constexpr std::size_t kMaxCells = 4096;
constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        int follow = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF)
            follow = 1;
        else if (c >= 0xE0 && c <= 0xEF)
            follow = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            follow = 3;
        else
            return false;
        if (i + follow >= s.size())
            return false;
        for (int k = 1; k <= follow; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += follow + 1;
    }
    return true;
}

// The delimiter of the header line: the more frequent of ";" and "," outside quotes.
char DetectDelimiter(std::string_view head) {
    int semicolons = 0, commas = 0;
    bool quoted = false;
    for (char c : head) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r'))
            break;
        else if (!quoted && c == ';')
            ++semicolons;
        else if (!quoted && c == ',')
            ++commas;
    }
    return semicolons > commas ? ';' : ',';
}

} // namespace

std::string CellText(std::string_view bytes) {
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    return app::Cp1252ToUtf8(bytes);
}

CsvReader::CsvReader(const std::filesystem::path& file) : name_(file.string()) {
    auto in = std::make_unique<std::ifstream>(file, std::ios::binary);
    if (!*in)
        throw app::FileError(name_, std::strerror(errno));
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec))
        throw app::FileError(name_, std::strerror(EISDIR));
    size_ = std::filesystem::file_size(file, ec);
    if (ec)
        size_ = 0;
    in_ = std::move(in);
    Start();
}

CsvReader::CsvReader(std::unique_ptr<std::istream> in, std::string name, std::uintmax_t size)
    : in_(std::move(in)), name_(std::move(name)), size_(size) {
    Start();
}

CsvReader::~CsvReader() {
    if (parser_)
        csv_free(parser_.get());
}

void CsvReader::Start() {
    pending_.resize(kChunk);
    in_->read(pending_.data(), static_cast<std::streamsize>(kChunk));
    if (in_->bad())
        throw app::FileError(name_, std::strerror(errno ? errno : EIO));
    pending_.resize(static_cast<std::size_t>(in_->gcount()));
    bytesRead_ = pending_.size();
    if (pending_.starts_with(kBom)) {
        dialect_.byteOrderMark = true;
        pending_.erase(0, kBom.size());
    }
    dialect_.delimiter = DetectDelimiter(pending_);
    dialect_.decimalComma = dialect_.delimiter == ';';

    parser_ = std::make_unique<csv_parser>();
    // Not strict: a stray quote inside an unquoted field is kept as text, as spreadsheets do.
    if (csv_init(parser_.get(), CSV_APPEND_NULL) != 0)
        throw app::FileError(name_, "out of memory");
    csv_set_delim(parser_.get(), static_cast<unsigned char>(dialect_.delimiter));
}

void CsvReader::OnField(void* data, std::size_t length, void* self) {
    auto* r = static_cast<CsvReader*>(self);
    // No exception may cross the C parser: the overflow is reported after csv_parse returns.
    if (r->cells_.size() >= kMaxCells) {
        r->overflow_ = true;
        return;
    }
    r->cells_.push_back(data ? CellText(std::string_view(static_cast<const char*>(data), length))
                             : std::string());
}

void CsvReader::OnRecordEnd(int, void* self) {
    auto* r = static_cast<CsvReader*>(self);
    CsvRecord record;
    record.row = ++r->records_;
    record.cells = std::move(r->cells_);
    r->cells_.clear();
    r->ready_.push_back(std::move(record));
}

bool CsvReader::Fill() {
    if (finished_)
        return false;
    std::string chunk;
    if (!pending_.empty()) {
        chunk.swap(pending_);
    } else {
        chunk.resize(kChunk);
        in_->read(chunk.data(), static_cast<std::streamsize>(kChunk));
        if (in_->bad())
            throw app::FileError(name_, std::strerror(errno ? errno : EIO));
        chunk.resize(static_cast<std::size_t>(in_->gcount()));
        bytesRead_ += chunk.size();
    }
    if (chunk.empty()) {
        csv_fini(parser_.get(), OnField, OnRecordEnd, this);
        finished_ = true;
        return !ready_.empty();
    }
    if (csv_parse(parser_.get(), chunk.data(), chunk.size(), OnField, OnRecordEnd, this) !=
        chunk.size())
        throw app::FileError(name_, csv_strerror(csv_error(parser_.get())));
    if (overflow_)
        throw app::FileError(name_,
                             "record " + std::to_string(records_ + 1) + ": more than 4096 fields");
    if (csv_get_buffer_size(parser_.get()) > kMaxField)
        throw app::FileError(name_, "record " + std::to_string(records_ + 1) +
                                        ": field longer than 1 MiB (a quote not closed?)");
    return true;
}

bool CsvReader::Next(CsvRecord& record) {
    while (ready_.empty()) {
        if (!Fill())
            return false;
    }
    record = std::move(ready_.front());
    ready_.pop_front();
    return true;
}

} // namespace zeb::batch
