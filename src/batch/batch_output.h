#pragma once
// The results of a campaign as a table: the columns with their headings and units, and the
// three files they are written to (CSV in the language's conventions, JSON for programs, .xlsx
// for spreadsheets). Writers take one row at a time, so output never holds the campaign.

#include "app/texts.h"
#include "batch/batch_run.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace zeb::batch {

struct OutputColumn {
    std::string heading; // in the language of the table
    std::string unit;    // empty for a pure number or text
    int decimals = -1;   // -1: a text column
    std::function<std::optional<long double>(const BatchRow&)> number;
    std::function<std::string(const BatchRow&)> text;
};
// Row, id, text, the check, for each of the three columns pH(Tcalc), SI, pHc, Dc (mmol/L and
// mg/L) and IOS, the Dc limit; with `doses` the dose of each chemical to SI = 0 and to pH 7.8 in
// each column (mg/L); then warnings and error.
std::vector<OutputColumn> OutputColumns(app::Language language, bool doses);

// "heading [unit]".
std::string HeadingWithUnit(const OutputColumn& column);
// A number as the table shows it: the column's decimals, "," as decimal separator in German.
std::string NumberText(long double value, int decimals, app::Language language);

enum class OutputFormat { Csv, Json, Xlsx };
// From the extension (".csv", ".json", ".xlsx", any case); nullopt for anything else.
std::optional<OutputFormat> OutputFormatOf(const std::filesystem::path& file);

class BatchWriter {
public:
    virtual ~BatchWriter() = default;
    virtual void Write(const BatchRow& row) = 0;
    // Completes the file; throws app::FileError when it could not be written.
    virtual void Finish() = 0;
};

// CSV: German ";" and decimal comma, English "," and point; RFC 4180 quoting, UTF-8.
// `fileForm` writes a byte order mark and CR LF line ends (for spreadsheets); else LF.
std::unique_ptr<BatchWriter> MakeCsvWriter(std::ostream& out, app::Language language, bool doses,
                                           bool fileForm);
// A JSON array, one object per line, every number at full precision.
std::unique_ptr<BatchWriter> MakeJsonWriter(std::ostream& out, app::Language language, bool doses);
// An .xlsx workbook; throws app::FileError when the file cannot be created.
std::unique_ptr<BatchWriter> MakeXlsxWriter(const std::filesystem::path& file,
                                            app::Language language, bool doses);

// Opens `file` and writes it in the format of its extension. Output to a file goes through a
// temporary file that replaces `file` only when complete.
std::unique_ptr<BatchWriter> MakeFileWriter(const std::filesystem::path& file,
                                            app::Language language, bool doses);

} // namespace zeb::batch
