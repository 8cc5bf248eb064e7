// The subcommands of catforge-cli. Each Add*Commands registers its subcommands on the app;
// a subcommand's callback stores its exit status in the shared result.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <iosfwd>
#include <string>

// Exit statuses: 0 done, 1 refused (bad input, failed operation), 2 usage error, 3 check
// found problems (only with --fail-on-problems).
inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitProblemsFound = 3;

// For file name options: an empty name is a usage error rather than "no file".
inline const CLI::Validator kFileName(
    [](std::string& name) { return name.empty() ? std::string("empty file name") : std::string(); },
    "");

struct CliContext {
    std::ostream& out;
    std::ostream& err;
    int status = kExitOk;
    // err goes to a terminal: long operations may show their progress there.
    bool errIsTerminal = false;
};

// Exit status of an operation stopped by Ctrl+C.
inline constexpr int kExitInterrupted = 130;

// info (definition files), create
void AddDefinitionCommands(CLI::App& app, CliContext& context);

// compile, export, symbol; and the catalogue side of info.
void AddCatalogCommands(CLI::App& app, CliContext& context);
// Prints a compiled catalogue (.zdc) for info; entries: how many entries to decode and print.
// Returns the exit status.
int RunCatalogInfo(CliContext& context, const std::string& path, int entries);

// check
void AddCheckCommand(CLI::App& app, CliContext& context);
// plot
void AddPlotCommand(CLI::App& app, CliContext& context);

// normalize, import-cds
void AddImportCommands(CLI::App& app, CliContext& context);

// A size of memory: digits with an optional K, M or G (binary multiples); false when the text
// is none or the size is 0.
[[nodiscard]] bool ParseMemorySize(const std::string& text, std::uint64_t& bytes);
