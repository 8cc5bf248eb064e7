// catforge-cli: definitions and catalogues from the command line.
#include <unistd.h>
#include <CLI/CLI.hpp>

#include <iostream>

#include "CliCommands.h"

int main(int argc, char** argv) {
    CLI::App app{"Catforge: prepares Zenivo star-chart catalogues from fixed-column ASCII data"};
    app.set_version_flag("--version", "catforge-cli 2.0.1.0");
    app.require_subcommand(1);
    CliContext context{std::cout, std::cerr};
    context.errIsTerminal = ::isatty(STDERR_FILENO) == 1;
    AddDefinitionCommands(app, context);
    AddCatalogCommands(app, context);
    AddCheckCommand(app, context);
    AddImportCommands(app, context);
    AddPlotCommand(app, context);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? kExitOk : kExitUsage;
    }
    return context.status;
}
