// check: the data check of a definition's data file, one line per problem and a summary.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <sstream>

#include "CatalogFormat.h"
#include "CliCommands.h"
#include "CliInteraction.h"
#include "core/compile/DataCheck.h"
#include "core/io/AtomicFile.h"
#include "core/model/CatforgeDoc.h"

namespace {

struct CheckArgs {
    std::string definition;
    std::string dataFile;
    std::string csv;
    bool failOnProblems = false;
};

int RunCheck(CliContext& context, const CheckArgs& args) {
    CCliInteraction ui(context.err);
    CCatforgeDoc doc;
    doc.SetInteraction(&ui);
    if (!doc.OpenDocument(args.definition))
        return kExitRefused;
    std::ostringstream csv;
    csv << "record,field,text,problem\n";
    DataCheckSummary summary;
    const auto print = [&](const DataProblem& problem) {
        context.out << "record " << problem.record << ", " << problem.field << " \"" << problem.text
                    << "\": " << DescribeProblem(problem) << '\n';
        if (!args.csv.empty()) {
            csv << problem.record << ',' << CsvField(problem.field) << ',' << CsvField(problem.text)
                << ',' << CsvField(DescribeProblem(problem)) << '\n';
        }
    };
    if (!CheckData(doc, args.dataFile, ui, print, summary))
        return kExitRefused;
    context.out << "Checked " << summary.records << (summary.records == 1 ? " record" : " records")
                << ":\n";
    std::uint64_t total = 0;
    for (std::size_t k = 0; k < kDataProblemKinds; ++k) {
        context.out << "  " << DescribeCount(static_cast<DataProblemKind>(k), summary.counts[k])
                    << '\n';
        total += summary.counts[k];
    }
    if (!args.csv.empty()) {
        std::string error;
        if (!WriteFileAtomically(args.csv, csv.str(), &error)) {
            context.err << "error: " << error << '\n';
            return kExitRefused;
        }
    }
    return args.failOnProblems && total > 0 ? kExitProblemsFound : kExitOk;
}

}  // namespace

void AddCheckCommand(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<CheckArgs>();
    auto* check = app.add_subcommand(
        "check",
        "Check a definition's data file: blank positions, nulls read as 0, positions "
        "out of range, cut labels, minutes or seconds of 60 or more");
    check->add_option("DEF", args->definition, "definition file (.zdd)")->required();
    check->add_option("--data", args->dataFile,
                      "data file to read instead of the one the definition names");
    check->add_option("--csv", args->csv, "also write the problems as CSV to this file");
    check->add_flag("--fail-on-problems", args->failOnProblems,
                    "exit with status 3 when the check finds any problem");
    check->callback([&context, args] { context.status = RunCheck(context, *args); });
}
