#include "batch/batch_output.h"

#include "app/number_format.h"
#include "app/project_file.h"
#include "chem/saturation.h"
#include "report/result_json.h"

#include <csv.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace zeb::batch {

namespace {

using app::Language;

std::string T(std::string_view key, Language language) {
    return std::string(app::Text(key, language));
}

std::string Joined(const std::vector<RowMessage>& messages, Language language) {
    std::string out;
    for (const RowMessage& m : messages) {
        if (!out.empty())
            out += " | ";
        out += MessageLine(m, language);
    }
    return out;
}

std::string PairsText(const BatchRow& row) {
    if (!row.hasWater)
        return {};
    std::string out;
    for (std::string_view name : results::ColumnNames(row.saturation.useDic)) {
        if (!out.empty())
            out += " | ";
        out += name;
    }
    return out;
}

std::string DcLimitText(const BatchRow& row) {
    switch (DcLimitOf(row)) {
    case DcLimit::Above10:
        return "> 10 mg/L";
    case DcLimit::Above5:
        return "> 5 mg/L";
    case DcLimit::None:
        break;
    }
    return {};
}

// Moves the finished temporary file over the target, so a failed run leaves no half file.
void Replace(const std::filesystem::path& temp, const std::filesystem::path& file) {
    std::error_code ec;
    std::filesystem::rename(temp, file, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        throw app::FileError(file.string(), ec.message());
    }
}

std::filesystem::path TempPathFor(const std::filesystem::path& file) {
    return std::filesystem::path(file.string() + ".part");
}

// ---- CSV -------------------------------------------------------------------------------------

class CsvWriter : public BatchWriter {
public:
    CsvWriter(std::ostream& out, Language language, bool doses, bool fileForm)
        : out_(out), language_(language), columns_(OutputColumns(language, doses)),
          delimiter_(language == Language::German ? ';' : ','), lineEnd_(fileForm ? "\r\n" : "\n") {
        if (fileForm)
            out_ << "\xEF\xBB\xBF";
        std::vector<std::string> cells;
        for (const OutputColumn& c : columns_)
            cells.push_back(HeadingWithUnit(c));
        WriteLine(cells);
    }

    void Write(const BatchRow& row) override {
        std::vector<std::string> cells;
        cells.reserve(columns_.size());
        for (const OutputColumn& c : columns_) {
            if (c.decimals < 0) {
                cells.push_back(c.text(row));
            } else {
                const auto v = c.number(row);
                cells.push_back(v ? NumberText(*v, c.decimals, language_) : std::string());
            }
        }
        WriteLine(cells);
    }

    void Finish() override { out_.flush(); }

private:
    void WriteLine(const std::vector<std::string>& cells) {
        std::string line;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i > 0)
                line += delimiter_;
            const std::string& cell = cells[i];
            if (cell.find_first_of(std::string("\"\r\n") + delimiter_) != std::string::npos) {
                std::string quoted(csv_write(nullptr, 0, cell.data(), cell.size()), '\0');
                csv_write(quoted.data(), quoted.size(), cell.data(), cell.size());
                line += quoted;
            } else {
                line += cell;
            }
        }
        out_ << line << lineEnd_;
    }

    std::ostream& out_;
    Language language_;
    std::vector<OutputColumn> columns_;
    char delimiter_;
    const char* lineEnd_;
};

// ---- JSON ------------------------------------------------------------------------------------

report::Json MessageJson(const RowMessage& m, Language language) {
    report::Json j;
    j["column"] = m.column;
    j["value"] = m.value;
    j["message"] = MessageText(m, language);
    return j;
}

class JsonWriter : public BatchWriter {
public:
    JsonWriter(std::ostream& out, Language language, bool doses)
        : out_(out), language_(language), doses_(doses) {
        out_ << "[";
    }

    void Write(const BatchRow& row) override {
        report::Json j;
        j["row"] = row.row;
        j["id"] = row.id;
        j["text"] = row.water.text;
        report::Json warnings = report::Json::array();
        for (const RowMessage& m : row.warnings)
            warnings.push_back(MessageJson(m, language_));
        j["warnings"] = warnings;
        if (row.error)
            j["error"] = MessageJson(*row.error, language_);
        if (row.hasWater)
            j["check"] = report::CheckJson(row.check);
        if (row.saturation.computed) {
            const report::Json s = report::SaturationJson(row.saturation, doses_);
            for (const char* key : {"columns", "tCalc", "pH", "pHA", "si", "pHc", "ionicStrength",
                                    "dcMmol", "dcMg", "dosage"}) {
                if (s.contains(key) && (row.pHA || std::string_view(key) != "pHA"))
                    j[key] = s.at(key);
            }
        }
        out_ << (first_ ? "\n" : ",\n")
             << j.dump(-1, ' ', false, report::Json::error_handler_t::replace);
        first_ = false;
    }

    void Finish() override {
        out_ << (first_ ? "]\n" : "\n]\n");
        out_.flush();
    }

private:
    std::ostream& out_;
    Language language_;
    bool doses_;
    bool first_ = true;
};

// ---- files through a temporary -----------------------------------------------------------------

class StreamFileWriter : public BatchWriter {
public:
    StreamFileWriter(const std::filesystem::path& file, OutputFormat format, Language language,
                     bool doses)
        : file_(file), temp_(TempPathFor(file)), out_(temp_, std::ios::binary | std::ios::trunc) {
        if (!out_)
            throw app::FileError(file.string(), std::strerror(errno));
        inner_ = format == OutputFormat::Json ? MakeJsonWriter(out_, language, doses)
                                              : MakeCsvWriter(out_, language, doses, true);
    }
    ~StreamFileWriter() override {
        if (!finished_) {
            out_.close();
            std::error_code ec;
            std::filesystem::remove(temp_, ec);
        }
    }

    void Write(const BatchRow& row) override {
        inner_->Write(row);
        if (!out_)
            throw app::FileError(file_.string(), std::strerror(errno ? errno : EIO));
    }

    void Finish() override {
        inner_->Finish();
        out_.close();
        if (!out_)
            throw app::FileError(file_.string(), std::strerror(errno ? errno : EIO));
        finished_ = true;
        Replace(temp_, file_);
    }

private:
    std::filesystem::path file_, temp_;
    std::ofstream out_;
    std::unique_ptr<BatchWriter> inner_;
    bool finished_ = false;
};

// ---- .xlsx -----------------------------------------------------------------------------------

class XlsxWriter : public BatchWriter {
public:
    XlsxWriter(const std::filesystem::path& file, Language language, bool doses)
        : file_(file), temp_(TempPathFor(file)), language_(language),
          columns_(OutputColumns(language, doses)) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        const std::string dir = file.has_parent_path() ? file.parent_path().string() : ".";
        tmpdir_ = dir;
        options.tmpdir = tmpdir_.data();
        workbook_ = workbook_new_opt(temp_.string().c_str(), &options);
        if (!workbook_)
            throw app::FileError(file.string(), std::strerror(errno ? errno : EIO));
        heading_ = workbook_add_format(workbook_);
        format_set_bold(heading_);
        format_set_text_wrap(heading_);
        format_set_align(heading_, LXW_ALIGN_VERTICAL_TOP);
        for (const OutputColumn& c : columns_) {
            Formats f;
            for (int mark = 0; mark < 3; ++mark) {
                lxw_format* fmt = workbook_add_format(workbook_);
                if (c.decimals > 0)
                    format_set_num_format(fmt, ("0." + std::string(c.decimals, '0')).c_str());
                else if (c.decimals == 0)
                    format_set_num_format(fmt, "0");
                if (mark == 1)
                    format_set_bg_color(fmt, 0xFFE699); // over 5 mg/L: amber
                else if (mark == 2)
                    format_set_bg_color(fmt, 0xF4B084); // over 10 mg/L: red
                f[mark] = fmt;
            }
            formats_.push_back(f);
        }
        AddSheet();
    }
    ~XlsxWriter() override {
        if (workbook_) {
            workbook_close(workbook_);
            std::error_code ec;
            std::filesystem::remove(temp_, ec);
        }
    }

    void Write(const BatchRow& row) override {
        if (nextRow_ > LXW_ROW_MAX - 1)
            AddSheet();
        const int mark = static_cast<int>(DcLimitOf(row));
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            const OutputColumn& c = columns_[i];
            lxw_format* fmt = formats_[i][mark];
            const auto col = static_cast<lxw_col_t>(i);
            if (c.decimals < 0) {
                const std::string text = c.text(row);
                if (text.empty())
                    worksheet_write_blank(sheet_, nextRow_, col, mark ? fmt : nullptr);
                else
                    worksheet_write_string(sheet_, nextRow_, col, text.c_str(), fmt);
            } else if (const auto v = c.number(row)) {
                worksheet_write_number(sheet_, nextRow_, col, static_cast<double>(*v), fmt);
            } else if (mark) {
                worksheet_write_blank(sheet_, nextRow_, col, fmt);
            }
        }
        ++nextRow_;
    }

    void Finish() override {
        const lxw_error error = workbook_close(workbook_);
        workbook_ = nullptr;
        if (error != LXW_NO_ERROR) {
            std::error_code ec;
            std::filesystem::remove(temp_, ec);
            throw app::FileError(file_.string(), lxw_strerror(error));
        }
        Replace(temp_, file_);
    }

private:
    using Formats = std::array<lxw_format*, 3>;

    // A worksheet holds 1,048,576 rows; a longer campaign continues on the next sheet.
    void AddSheet() {
        ++sheets_;
        std::string name = T("batch.sheetName", language_);
        if (sheets_ > 1)
            name += " " + std::to_string(sheets_);
        sheet_ = workbook_add_worksheet(workbook_, name.c_str());
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            const OutputColumn& c = columns_[i];
            const double width =
                c.decimals < 0 ? (i == 2 || i + 2 >= columns_.size() ? 30 : 12) : 11;
            worksheet_set_column(sheet_, static_cast<lxw_col_t>(i), static_cast<lxw_col_t>(i),
                                 width, nullptr);
            worksheet_write_string(sheet_, 0, static_cast<lxw_col_t>(i), HeadingWithUnit(c).c_str(),
                                   heading_);
        }
        worksheet_set_row(sheet_, 0, 45, nullptr);
        worksheet_freeze_panes(sheet_, 1, 0);
        nextRow_ = 1;
    }

    std::filesystem::path file_, temp_;
    Language language_;
    std::vector<OutputColumn> columns_;
    std::string tmpdir_;
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_format* heading_ = nullptr;
    std::vector<Formats> formats_;
    lxw_row_t nextRow_ = 1;
    int sheets_ = 0;
};

} // namespace

std::vector<OutputColumn> OutputColumns(Language language, bool doses) {
    std::vector<OutputColumn> columns;
    auto text = [&](std::string heading, std::function<std::string(const BatchRow&)> get) {
        columns.push_back({std::move(heading), "", -1, {}, std::move(get)});
    };
    auto number = [&](std::string heading, std::string unit, int decimals,
                      std::function<std::optional<long double>(const BatchRow&)> get) {
        columns.push_back({std::move(heading), std::move(unit), decimals, std::move(get), {}});
    };
    number(T("batch.colRow", language), "", 0,
           [](const BatchRow& r) { return static_cast<long double>(r.row); });
    text("id", [](const BatchRow& r) { return r.id; });
    text(T("batch.colText", language), [](const BatchRow& r) { return r.water.text; });
    auto checked = [](auto get) {
        return [get](const BatchRow& r) -> std::optional<long double> {
            if (!r.hasWater)
                return std::nullopt;
            return get(r.check.figures);
        };
    };
    using F = analysis::ConductivityFigures;
    number(T("batch.colBalance", language), "%", 1,
           checked([](const F& f) { return f.balanceCations; }));
    number(T("batch.colECMeasured", language), "mS/m", 3,
           checked([](const F& f) { return f.conductivityMeasured25; }));
    number(T("batch.colECCalculated", language), "mS/m", 3,
           checked([](const F& f) { return f.conductivityCalculated; }));
    text(T("batch.colPairs", language), PairsText);

    using C = results::SaturationColumn;
    struct Quantity {
        std::string heading;
        const char* unit;
        long double C::*member;
    };
    const Quantity quantities[] = {
        {T("batch.colPH", language), "", &C::pH},
        {"SI", "", &C::si},
        {"pHc", "", &C::pHc},
        {"Dc", "mmol/L", &C::dcMmol},
        {"Dc", "mg/L", &C::dcMg},
        {"IOS", "mmol/L", &C::ionicStrength},
    };
    for (int k = 0; k < results::kColumns; ++k) {
        for (const Quantity& q : quantities) {
            number(q.heading + " " + std::to_string(k + 1), q.unit, 3,
                   [k, m = q.member](const BatchRow& r) -> std::optional<long double> {
                       if (!r.saturation.computed)
                           return std::nullopt;
                       return r.saturation.columns[k].*m;
                   });
        }
    }
    text(T("batch.colDcLimit", language), DcLimitText);
    if (doses) {
        for (chem::Target target : {chem::Target::SI0, chem::Target::pH78}) {
            const std::string targetName = target == chem::Target::SI0 ? "SI = 0" : "pH 7.8";
            for (chem::Chemical chemical : chem::kAllChemicals) {
                for (int k = 0; k < results::kColumns; ++k) {
                    RowMessage heading{"",
                                       "",
                                       "batch.colDose",
                                       {std::string(chem::ChemicalName(chemical)), targetName}};
                    number(MessageText(heading, language) + " " + std::to_string(k + 1), "mg/L", 3,
                           [=](const BatchRow& r) -> std::optional<long double> {
                               if (!r.saturation.computed || !r.doses)
                                   return std::nullopt;
                               return r.saturation.dosage.at(target, chemical, k).doseMg;
                           });
                }
            }
        }
    }
    text(T("batch.colWarnings", language),
         [language](const BatchRow& r) { return Joined(r.warnings, language); });
    text(T("batch.colError", language), [language](const BatchRow& r) {
        return r.error ? MessageLine(*r.error, language) : std::string();
    });
    return columns;
}

std::string HeadingWithUnit(const OutputColumn& column) {
    return column.unit.empty() ? column.heading : column.heading + " [" + column.unit + "]";
}

std::string NumberText(long double value, int decimals, Language language) {
    std::string text = app::FormatFixed(value, 0, decimals);
    if (language == Language::German) {
        std::replace(text.begin(), text.end(), '.', ',');
    }
    return text;
}

std::optional<OutputFormat> OutputFormatOf(const std::filesystem::path& file) {
    std::string ext = file.extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".csv")
        return OutputFormat::Csv;
    if (ext == ".json")
        return OutputFormat::Json;
    if (ext == ".xlsx")
        return OutputFormat::Xlsx;
    return std::nullopt;
}

std::unique_ptr<BatchWriter> MakeCsvWriter(std::ostream& out, Language language, bool doses,
                                           bool fileForm) {
    return std::make_unique<CsvWriter>(out, language, doses, fileForm);
}

std::unique_ptr<BatchWriter> MakeJsonWriter(std::ostream& out, Language language, bool doses) {
    return std::make_unique<JsonWriter>(out, language, doses);
}

std::unique_ptr<BatchWriter> MakeXlsxWriter(const std::filesystem::path& file, Language language,
                                            bool doses) {
    return std::make_unique<XlsxWriter>(file, language, doses);
}

std::unique_ptr<BatchWriter> MakeFileWriter(const std::filesystem::path& file, Language language,
                                            bool doses) {
    const OutputFormat format = OutputFormatOf(file).value_or(OutputFormat::Csv);
    if (format == OutputFormat::Xlsx)
        return MakeXlsxWriter(file, language, doses);
    return std::make_unique<StreamFileWriter>(file, format, language, doses);
}

} // namespace zeb::batch
