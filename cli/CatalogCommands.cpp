// compile, export and symbol, and the catalogue side of info.
#include <CLI/CLI.hpp>
#include <ostream>
#include <sstream>

#include "CatalogFormat.h"
#include "CliCommands.h"
#include "CliInteraction.h"
#include "SvgSymbolSurface.h"
#include "core/compile/CatalogReader.h"
#include "core/compile/Compile.h"
#include "core/io/AtomicFile.h"
#include "core/io/InputFile.h"
#include "core/model/CatforgeDoc.h"
#include "core/symbols/SymbolTables.h"

namespace {

struct CompileArgs {
    std::string definition;
    std::string output;
    std::string dataFile;
    bool quiet = false;
};

int RunCompile(CliContext& context, const CompileArgs& args) {
    CCliInteraction ui(context.err);
    ui.SetQuiet(args.quiet);
    if (!args.output.empty())
        ui.SetSaveFileName(args.output);
    CCatforgeDoc doc;
    doc.SetInteraction(&ui);
    if (!doc.OpenDocument(args.definition))
        return kExitRefused;
    EpochState epoch;
    CompileOptions options;
    options.dataFile = args.dataFile;
    return CompileDefinition(doc, epoch, ui, options) ? kExitOk : kExitRefused;
}

struct ExportArgs {
    std::string catalogue;
    std::string output;
    bool csv = false;
};

int RunExport(CliContext& context, const ExportArgs& args) {
    std::string bytes;
    std::string error;
    if (SameFile(args.output, args.catalogue)) {
        context.err << "error: \"" << args.output
                    << "\" is the catalogue being exported; the output needs another name.\n";
        return kExitRefused;
    }
    if (!ReadWholeFile(args.catalogue, bytes, &error)) {
        context.err << "error: " << error << '\n';
        return kExitRefused;
    }
    CompiledCatalog catalog;
    if (!ReadCompiledCatalog(bytes, catalog, error)) {
        context.err << "error: \"" << args.catalogue
                    << "\" is not a valid compiled catalogue: " << error << '\n';
        return kExitRefused;
    }
    const std::vector<std::string> symbolNames = UserSymbolNames(catalog.symbols.size());
    std::ostringstream csv;
    csv << "label,ra_deg,dec_deg,magnitude,major_axis_arcsec,minor_axis_arcsec,"
           "position_angle_deg,symbol,symbol_name,type,type_name,record\n";
    for (std::size_t i = 0; i < static_cast<std::size_t>(catalog.entryCount); ++i) {
        const CatalogEntry e = ReadCatalogEntry(bytes, catalog, i);
        csv << CsvField(e.label) << ',' << FormatKeyDegrees(e.raKey) << ','
            << FormatKeyDegrees(e.decKey) << ',' << FormatMagnitude(e.magnitude) << ','
            << e.majorAxis << ',' << e.minorAxis << ','
            << (e.positionAngle == -1 ? std::string() : std::to_string(e.positionAngle)) << ','
            << e.symbol << ',' << CsvField(SymbolName(e.symbol, symbolNames)) << ',' << e.type
            << ',' << CsvField(ObjectTypeName(e.type)) << ',' << CsvField(WithoutLineEnd(e.record))
            << '\n';
    }
    if (args.output.empty()) {
        context.out << csv.str();
        return kExitOk;
    }
    if (!WriteFileAtomically(args.output, csv.str(), &error)) {
        context.err << "error: " << error << '\n';
        return kExitRefused;
    }
    return kExitOk;
}

struct SymbolArgs {
    std::string text;
    std::string svg;
};

int RunSymbol(CliContext& context, const SymbolArgs& args) {
    SymbolProgram program;
    ParseSymbolInstructions(args.text, program);
    context.out << "Words (" << program.size() << "): " << FormatProgramWords(program)
                << "\nReads: " << FormatProgramReading(program) << '\n';
    if (args.svg.empty())
        return kExitOk;
    CSvgSymbolSurface surface;
    RunSymbolProgram(program, surface);
    std::string error;
    if (!WriteFileAtomically(args.svg, surface.Document(), &error)) {
        context.err << "error: " << error << '\n';
        return kExitRefused;
    }
    return kExitOk;
}

}  // namespace

void AddCatalogCommands(CLI::App& app, CliContext& context) {
    static CompileArgs compileArgs;
    auto* compile = app.add_subcommand("compile",
                                       "Compile a definition's data file into a "
                                       "Zenivo Data Catalog (.zdc)");
    compile->add_option("DEF", compileArgs.definition, "definition file (.zdd)")
        ->required()
        ->check(kFileName);
    compile
        ->add_option("-o,--output", compileArgs.output,
                     "catalogue to write (default: the definition's name with .zdc)")
        ->check(kFileName);
    compile
        ->add_option("--data", compileArgs.dataFile,
                     "data file to read instead of the one the definition names")
        ->check(kFileName);
    compile->add_flag("--quiet", compileArgs.quiet, "print nothing on success");
    compile->callback([&context] { context.status = RunCompile(context, compileArgs); });

    static ExportArgs exportArgs;
    auto* exportCommand = app.add_subcommand("export", "Write a compiled catalogue's entries");
    exportCommand->add_option("FILE", exportArgs.catalogue, "compiled catalogue (.zdc)")
        ->required()
        ->check(kFileName);
    exportCommand->add_flag("--csv", exportArgs.csv, "as comma-separated values")->required();
    exportCommand->add_option("-o,--output", exportArgs.output, "file to write (default stdout)")
        ->check(kFileName);
    exportCommand->callback([&context] { context.status = RunExport(context, exportArgs); });

    static SymbolArgs symbolArgs;
    auto* symbol = app.add_subcommand("symbol", "Compile a symbol instruction text and draw it");
    symbol->add_option("TEXT", symbolArgs.text, "instructions, e.g. \"16,CIR\"")->required();
    symbol->add_option("--svg", symbolArgs.svg, "draw the symbol sample into this SVG file")
        ->check(kFileName);
    symbol->callback([&context] { context.status = RunSymbol(context, symbolArgs); });
}
