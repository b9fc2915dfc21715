// zeb-cli batch: the waters of a campaign file computed in one run.
#include "batch/batch_output.h"
#include "batch/batch_run.h"
#include "cli/common.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace zeb::cli {

namespace {

struct BatchCommandOptions {
    std::string in;
    std::string out;
    std::string lang;
    bool doses = false;
};

// Rows done, rows per second and the time left (from the share of the file read) on one
// rewritten line of the terminal.
class ProgressBar {
public:
    void Show(const batch::BatchProgress& p) {
        const auto now = std::chrono::steady_clock::now();
        if (shown_ && now - last_ < std::chrono::milliseconds(100))
            return;
        last_ = now;
        shown_ = true;
        const double share =
            p.bytesTotal ? std::min(1.0, double(p.bytesRead) / double(p.bytesTotal)) : 0.0;
        constexpr int kWidth = 30;
        const int filled = static_cast<int>(share * kWidth);
        const double rate = p.seconds > 0 ? p.rows / p.seconds : 0;
        std::string line = "\r[" + std::string(filled, '#') + std::string(kWidth - filled, '.') +
                           "] " + std::to_string(p.rows) + " rows  " +
                           std::to_string(static_cast<long long>(rate)) + " rows/s";
        if (share > 0 && share < 1) {
            const long long left = std::llround(p.seconds * (1 - share) / share);
            char buf[32];
            std::snprintf(buf, sizeof buf, "  %lld:%02lld left", left / 60, left % 60);
            line += buf;
        }
        std::cerr << line << "\x1b[K" << std::flush;
    }
    // Clears the line before a message so the bar does not garble it.
    void Clear() {
        if (shown_)
            std::cerr << "\r\x1b[K";
    }

private:
    bool shown_ = false;
    std::chrono::steady_clock::time_point last_;
};

void RunBatchCommand(const BatchCommandOptions& o) {
    const app::Language language = ResolveLanguage(o.lang);
    if (!o.out.empty() && !batch::OutputFormatOf(o.out))
        throw CLI::ValidationError("-o", o.out + ": the extension must be .csv, .json or .xlsx");

    const bool terminal = isatty(STDERR_FILENO) != 0;
    ProgressBar bar;
    auto rowPrefix = [&](std::int64_t row) {
        return o.in + ": " +
               batch::MessageText({"", "", "msg.batchRow", {std::to_string(row)}}, language);
    };
    try {
        batch::CsvReader reader(o.in);
        std::unique_ptr<batch::BatchWriter> writer;
        if (o.out.empty()) {
            std::ios::sync_with_stdio(false);
            writer = batch::MakeCsvWriter(std::cout, language, o.doses, false);
        } else {
            writer = batch::MakeFileWriter(o.out, language, o.doses);
        }
        batch::BatchOptions options;
        options.doses = o.doses;
        options.pHA = batch::OutputFormatOf(o.out) == batch::OutputFormat::Json;
        const batch::BatchSummary summary = batch::RunBatch(
            reader, options,
            [&](const batch::ColumnMap& columns) {
                for (const batch::RowMessage& note : columns.notes())
                    std::cerr << o.in << ": " << batch::MessageLine(note, language) << '\n';
            },
            [&](const batch::BatchRow& row) {
                if (row.error || !row.warnings.empty()) {
                    if (terminal)
                        bar.Clear();
                    for (const batch::RowMessage& w : row.warnings)
                        std::cerr << rowPrefix(row.row) << ": " << batch::MessageLine(w, language)
                                  << '\n';
                    // A refusal names its row itself.
                    if (row.error && row.error->domain)
                        std::cerr << o.in << ": " << batch::MessageLine(*row.error, language)
                                  << '\n';
                    else if (row.error)
                        std::cerr << rowPrefix(row.row) << ": "
                                  << batch::MessageLine(*row.error, language) << '\n';
                }
                writer->Write(row);
            },
            [&](const batch::BatchProgress& p) {
                if (terminal)
                    bar.Show(p);
            });
        writer->Finish();
        if (terminal)
            bar.Clear();
        std::cerr << o.in << ": "
                  << batch::MessageText(
                         {"",
                          "",
                          "msg.batchSummary",
                          {std::to_string(summary.rows), std::to_string(summary.failed),
                           std::to_string(summary.withWarnings)}},
                         language)
                  << '\n';
    } catch (const app::FileError& e) {
        if (terminal)
            bar.Clear();
        throw CommandError(kExitFailure, e.fileName() + ": " + e.reason());
    } catch (const batch::ColumnError& e) {
        throw CommandError(kExitFailure, o.in + ": " + batch::MessageText(e.message, language));
    }
}

} // namespace

void AddBatchCommand(CLI::App& app) {
    auto o = std::make_shared<BatchCommandOptions>();
    auto* cmd = app.add_subcommand("batch", "Compute every water of a CSV file");
    cmd->add_option("file", o->in, "CSV file, one water per row")->required();
    cmd->add_option("-o", o->out, "Write to OUT.csv, OUT.json or OUT.xlsx instead of stdout");
    cmd->add_option("--lang", o->lang, "Language of headings and messages (de, en)")
        ->check(CLI::IsMember({"de", "en"}));
    cmd->add_flag("--doses", o->doses, "Also the doses of the seven chemicals");
    cmd->callback([o] { RunBatchCommand(*o); });
}

} // namespace zeb::cli
