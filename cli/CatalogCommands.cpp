// Placeholder until the compile commands exist.
#include <ostream>

#include "CliCommands.h"

void AddCatalogCommands(CLI::App&, CliContext&) {}

int RunCatalogInfo(CliContext& context, const std::string& path, int) {
    context.err << "error: cannot read compiled catalogues yet: " << path << '\n';
    return kExitRefused;
}
