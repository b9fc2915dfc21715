#pragma once
// One record of a campaign turned into a water analysis the way the analysis form would hold it
// after the values were typed in and confirmed: units completed, ranges checked, hardness and
// oxygen demand derived, every value in its 8.3 form.

#include "app/project.h"
#include "app/texts.h"
#include "batch/csv_reader.h"
#include "results/domain.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zeb::batch {

// A message about a row: a language-table key whose "%1", "%2", ... take `args`.
struct RowMessage {
    std::string column; // as the header names it; empty for the row as a whole
    std::string value;  // the cell's text
    std::string_view key;
    std::vector<std::string> args;
    // Set for a row outside the domain of the computations: the text is the refusal the
    // single-water commands give, with the part (key and args: "Row 7") in place of the water
    // and the violation's field and value as the file names them.
    std::optional<results::DomainViolation> domain = std::nullopt;
};
std::string MessageText(const RowMessage& message, app::Language language);
// "column value: message", or only the message when there is no column or the message names
// them itself.
std::string MessageLine(const RowMessage& message, app::Language language);

// Which header column feeds which field.
class ColumnMap {
public:
    // Matches the header's names to the water's field names (without regard to case; "id" is
    // the row's identifier). Throws std::invalid_argument with a RowMessage-style text key when
    // no column is known or a column is named twice (see ColumnError).
    static ColumnMap FromHeader(const std::vector<std::string>& header);

    int idColumn() const { return idColumn_; }
    // Per header column: the field's index in app::WaterAnalysisFields(), or -1.
    const std::vector<int>& fieldOfColumn() const { return fieldOfColumn_; }
    const std::vector<std::string>& names() const { return names_; }
    // Columns that are not read: unknown names, and the derived fields (hardness, oxygen
    // demand), which the analysis computes itself. Keys "msg.batchUnknownColumn" and
    // "msg.batchDerivedColumn".
    const std::vector<RowMessage>& notes() const { return notes_; }

private:
    int idColumn_ = -1;
    std::vector<int> fieldOfColumn_;
    std::vector<std::string> names_;
    std::vector<RowMessage> notes_;
};

// A header that cannot be used: the key says why, the argument names the column.
class ColumnError : public std::exception {
public:
    ColumnError(std::string_view key, std::string arg) : message{"", "", key, {std::move(arg)}} {}
    const char* what() const noexcept override { return "unusable header"; }
    RowMessage message;
};

struct WaterRow {
    std::string id;
    app::WaterAnalysis water;
    std::vector<RowMessage> warnings;
    std::optional<RowMessage> error; // set: the water could not be read; `water` is incomplete
};

// Reads one record. `dialect.decimalComma` lets a cell use "," as its decimal separator.
WaterRow ReadWaterRow(const ColumnMap& columns, const CsvDialect& dialect,
                      const std::vector<std::string>& cells);

} // namespace zeb::batch
