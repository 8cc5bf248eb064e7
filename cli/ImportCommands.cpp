// normalize: pads a line-oriented data file to fixed-length records.
// import-cds: makes a definition from a VizieR/CDS ReadMe. By default the data file is found
// beside the ReadMe (NAME, also .gz, .dat, .txt, or its pieces NAME.00, NAME.01, ...; for a
// single-file table the ReadMe itself), copied into NAME-stem.fixed.ext beside the new
// definition, and the definition names that copy; --fixed chooses the copy's name, --data
// the data file, and --no-normalize names the data file as it is (its lines must already
// be of the ReadMe's length).
#include <CLI/CLI.hpp>
#include <filesystem>
#include <ostream>

#include "CliCommands.h"
#include "CliInteraction.h"
#include "core/import/CdsCatalogImport.h"
#include "core/import/DataNormalizer.h"
#include "core/model/CatforgeDoc.h"

namespace {

struct NormalizeArgs {
    std::string input;
    std::string output;
    int length = 0;
};

struct ImportArgs {
    std::string readMe;
    std::string file;
    std::string output;
    std::string data;
    std::string fixed;
    bool noNormalize = false;
};

void RunNormalize(CliContext& context, const NormalizeArgs& args) {
    CDataNormalizer normalizer(args.length);
    NormalizeReport report;
    if (!normalizer.Normalize(args.input, args.output, report)) {
        context.err << "error: " << normalizer.Error() << '\n';
        context.status = kExitRefused;
        return;
    }
    context.out << DescribeNormalization(args.input, args.output, report) << '\n';
}

void RunImport(CliContext& context, const ImportArgs& args) {
    CdsImportRequest request;
    request.m_strReadMe = args.readMe;
    request.m_strFile = args.file;
    request.m_strDataFile = args.data;
    request.m_bNormalize = !args.noNormalize;
    request.m_strFixedFile = args.fixed;
    request.m_strDefinitionFile = args.output;
    // By default the normalised copy goes beside the definition.
    request.m_strFixedFolder = std::filesystem::path(args.output).parent_path().string();
    if (request.m_strFixedFolder.empty())
        request.m_strFixedFolder = ".";
    CCliInteraction ui(context.err);
    CCatforgeDoc doc;
    doc.SetInteraction(&ui);
    doc.OnNewDocument();
    CdsImportResult result;
    std::string error;
    if (!ImportCdsCatalogue(request, doc, result, error)) {
        context.err << "error: " << error << '\n';
        context.status = kExitRefused;
        return;
    }
    if (!doc.OnSaveDocument(args.output)) {
        context.status = kExitRefused;
        return;
    }
    context.out << result.Text() << "\nWrote \"" << args.output << "\".\n";
}

}  // namespace

void AddImportCommands(CLI::App& app, CliContext& context) {
    static NormalizeArgs normalizeArgs;
    normalizeArgs = NormalizeArgs{};
    auto* normalize = app.add_subcommand(
        "normalize", "Pad every line of a data file (plain or gzip) to one length");
    normalize->add_option("DATA", normalizeArgs.input, "line-oriented data file")
        ->required()
        ->check(kFileName);
    normalize->add_option("-o,--output", normalizeArgs.output, "fixed-length file to write")
        ->required()
        ->check(kFileName);
    normalize
        ->add_option("--length", normalizeArgs.length,
                     "line length without end of line (default: the longest line)")
        ->check(CLI::Range(1, CDataNormalizer::kMaxLineLength));
    normalize->callback([&context] { RunNormalize(context, normalizeArgs); });

    static ImportArgs importArgs;
    importArgs = ImportArgs{};
    auto* import = app.add_subcommand(
        "import-cds", "Make a definition (.zdd) from a VizieR/CDS ReadMe and its data file");
    import->add_option("README", importArgs.readMe, "CDS ReadMe file")
        ->required()
        ->check(kFileName);
    import->add_option("--file", importArgs.file,
                       "described data file to import (needed when the ReadMe describes several)");
    import->add_option("-o,--output", importArgs.output, "definition file to write")
        ->required()
        ->check(kFileName);
    import
        ->add_option("--data", importArgs.data,
                     "data file to read (default: the described file beside the ReadMe, "
                     "also as .gz, .dat, .dat.gz, .txt or pieces NAME.00, NAME.01, ...)")
        ->check(kFileName);
    auto* fixed = import
                      ->add_option("--fixed", importArgs.fixed,
                                   "where to write the normalised data file (default: "
                                   "NAME.fixed.EXT beside the output)")
                      ->check(kFileName);
    import
        ->add_flag("--no-normalize", importArgs.noNormalize,
                   "name the data file as it is (its lines must already be of one length)")
        ->excludes(fixed);
    import->callback([&context] { RunImport(context, importArgs);
});
}
