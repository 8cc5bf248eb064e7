// Running catforge-cli from a test: the real program through the shell, or its commands in
// process as main() sets them up.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "CliCommands.h"
#include "support/TempDir.h"

inline std::string Quote(const std::string& text) {
    return "'" + text + "'";
}

// Runs the program with the arguments (shell words) in folder, stdout and stderr going to the
// named files (or nowhere); returns its exit status, -1 when it did not exit.
inline int RunCliProgram(const std::string& arguments, const std::string& out = "/dev/null",
                         const std::string& err = "/dev/null", const std::string& folder = ".") {
    const std::string command = "cd " + Quote(folder) + " && " CATFORGE_CLI_PATH " " + arguments +
                                " >" + Quote(out) + " 2>" + Quote(err);
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// catforge-cli run in a folder of our own (dir), its stdout and stderr kept in another.
class CCliFolderTest : public ::testing::Test {
protected:
    // Runs the program in dir; returns its exit status.
    int Run(const std::string& arguments) {
        return RunCliProgram(arguments, m_io.Path("stdout"), m_io.Path("stderr"), dir.Root());
    }
    std::string Stdout() const { return CTempDir::Read(m_io.Path("stdout")); }
    std::string Stderr() const { return CTempDir::Read(m_io.Path("stderr")); }
    CTempDir dir;

private:
    CTempDir m_io;
};

struct CliResult {
    int status = kExitOk;
    std::string out;
    std::string err;
};

// Runs the commands that add puts on the application, in process; a usage error gives
// kExitUsage with its text in err.
inline CliResult RunCliCommands(void (*add)(CLI::App&, CliContext&),
                                std::vector<std::string> args) {
    std::ostringstream out, err;
    CliContext context{out, err};
    CLI::App app;
    app.require_subcommand(1);
    add(app, context);
    std::reverse(args.begin(), args.end());
    int status = kExitUsage;
    try {
        app.parse(args);
        status = context.status;
    } catch (const CLI::ParseError& e) {
        err << e.what();
    }
    return {status, out.str(), err.str()};
}
