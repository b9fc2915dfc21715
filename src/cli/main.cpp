// zeb-cli: the computations of the desktop program from the command line.
#include "app/texts.h"
#include "cli/common.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    CLI::App app{"ZEB 4.1 - calco-carbonic equilibrium of drinking water", "zeb-cli"};
    app.require_subcommand(1);
    app.footer("Exit status: 0 done; 1 a file could not be read or written, or is no project;\n"
               "2 usage error; 3 a value of the project lies outside the range in which the\n"
               "computation is defined (the message names the water, field, value and range).");
    // Below the version the same lines as the About window.
    app.set_version_flag("--version",
                         std::string("zeb-cli (ZEB) " ZEB_VERSION "\n") +
                             std::string(zeb::app::EnglishText("TForm_Info1.labelCopyright")) +
                             "\n" + std::string(zeb::app::EnglishText("TForm_Info1.labelLicense")));
    zeb::cli::AddProjectCommands(app);
    zeb::cli::AddChemCommands(app);
    zeb::cli::AddResultCommands(app);
    zeb::cli::AddBlendCommands(app);
    zeb::cli::AddDiagramCommands(app);
    zeb::cli::AddBatchCommand(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int rc = app.exit(e);
        return rc == 0 ? 0 : zeb::cli::kExitUsage;
    } catch (const zeb::cli::CommandError& e) {
        std::cerr << "zeb-cli: " << e.what() << '\n';
        return e.code;
    } catch (const std::exception& e) {
        std::cerr << "zeb-cli: " << e.what() << '\n';
        return zeb::cli::kExitFailure;
    }
    return zeb::cli::kExitOk;
}
