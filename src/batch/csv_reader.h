#pragma once
// Reading a campaign file: CSV as spreadsheets and laboratory systems export it, one record at a
// time so a file of any length reads in constant memory.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <istream>
#include <memory>
#include <string>
#include <vector>

struct csv_parser;

namespace zeb::batch {

// How a file writes its records: "," or ";" between fields; with ";" the decimal separator may
// be a comma (German spreadsheets).
struct CsvDialect {
    char delimiter = ',';
    bool decimalComma = false;
    bool byteOrderMark = false; // UTF-8 with BOM
};

// One record with its cells in UTF-8 (Windows-1252 cells converted).
struct CsvRecord {
    std::int64_t row = 0; // 1 is the header
    std::vector<std::string> cells;
};

class CsvReader {
public:
    // Throws app::FileError naming the file when it cannot be opened.
    explicit CsvReader(const std::filesystem::path& file);
    // `name` stands for the file in messages; `size` (bytes) drives the progress estimate.
    CsvReader(std::unique_ptr<std::istream> in, std::string name, std::uintmax_t size);
    ~CsvReader();
    CsvReader(const CsvReader&) = delete;
    CsvReader& operator=(const CsvReader&) = delete;

    // The dialect is known once the first bytes are read: at construction.
    const CsvDialect& dialect() const { return dialect_; }
    const std::string& name() const { return name_; }

    // The next record (the header first); false at the end. Throws app::FileError when the file
    // cannot be read further or holds a field longer than any analysis needs.
    bool Next(CsvRecord& record);

    std::uintmax_t bytesRead() const { return bytesRead_; }
    std::uintmax_t size() const { return size_; }

private:
    void Start();
    bool Fill();
    static void OnField(void* data, std::size_t length, void* self);
    static void OnRecordEnd(int terminator, void* self);

    std::unique_ptr<std::istream> in_;
    std::string name_;
    std::uintmax_t size_ = 0;
    std::uintmax_t bytesRead_ = 0;
    std::unique_ptr<csv_parser> parser_;
    CsvDialect dialect_;
    std::string pending_; // bytes read for the detection, not yet parsed
    std::vector<std::string> cells_;
    std::deque<CsvRecord> ready_;
    std::int64_t records_ = 0;
    bool finished_ = false;
    bool overflow_ = false;
};

// The text of a cell in UTF-8: kept when it is valid UTF-8, otherwise read as Windows-1252.
std::string CellText(std::string_view bytes);

} // namespace zeb::batch
