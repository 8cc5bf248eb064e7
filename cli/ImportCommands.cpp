// Placeholder until normalize and import-cds exist.
#include "CliCommands.h"

void AddImportCommands(CLI::App&, CliContext&) {}
