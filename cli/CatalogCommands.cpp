// compile, export and symbol, and the catalogue side of info.
#include <CLI/CLI.hpp>
#include <atomic>
#include <csignal>
#include <ostream>
#include <sstream>

#include "CatalogFormat.h"
#include "CliCommands.h"
#include "CliInteraction.h"
#include "SvgSymbolSurface.h"
#include "core/compile/CatalogReader.h"
#include "core/compile/Compile.h"
#include "core/io/AtomicFile.h"
#include "core/io/FileReading.h"
#include "core/io/InputFile.h"
#include "core/model/CatforgeDoc.h"
#include "core/symbols/SymbolTables.h"

bool ParseMemorySize(const std::string& text, std::uint64_t& bytes) {
    std::size_t i = 0;
    std::uint64_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        const auto digit = static_cast<std::uint64_t>(text[i] - '0');
        if (value > (UINT64_MAX - digit) / 10)
            return false;
        value = value * 10 + digit;
        ++i;
    }
    if (i == 0)
        return false;
    unsigned shift = 0;
    if (i + 1 == text.size()) {
        switch (text[i]) {
            case 'K':
            case 'k':
                shift = 10;
                break;
            case 'M':
            case 'm':
                shift = 20;
                break;
            case 'G':
            case 'g':
                shift = 30;
                break;
            default:
                return false;
        }
    } else if (i != text.size()) {
        return false;
    }
    if (value == 0 || value > (UINT64_MAX >> shift))
        return false;
    bytes = value << shift;
    return true;
}

namespace {

struct CompileArgs {
    std::string definition;
    std::string output;
    std::string dataFile;
    std::string maxMemory;
    bool quiet = false;
    bool keepBlankPositions = false;
};

std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int) {
    g_interrupted.store(true);
}

// Ctrl+C sets g_interrupted instead of ending the process while it lives.
class CInterruptCatcher {
public:
    CInterruptCatcher() {
        g_interrupted.store(false);
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &m_previous);
    }
    ~CInterruptCatcher() { ::sigaction(SIGINT, &m_previous, nullptr); }
    CInterruptCatcher(const CInterruptCatcher&) = delete;
    CInterruptCatcher& operator=(const CInterruptCatcher&) = delete;

private:
    struct sigaction m_previous {};
};

int RunCompile(CliContext& context, const CompileArgs& args) {
    CompileOptions options;
    options.dataFile = args.dataFile;
    options.keepBlankPositions = args.keepBlankPositions;
    if (!args.maxMemory.empty() && !ParseMemorySize(args.maxMemory, options.maxMemory)) {
        context.err << "error: --max-memory takes a size such as 512M, 2G or 65536K, not \""
                    << args.maxMemory << "\"\n";
        return kExitUsage;
    }
    CCliInteraction ui(context.err);
    ui.SetQuiet(args.quiet);
    ui.ShowProgress(context.errIsTerminal);
    ui.SetCancelFlag(&g_interrupted);
    if (!args.output.empty())
        ui.SetSaveFileName(args.output);
    CCatforgeDoc doc;
    doc.SetInteraction(&ui);
    if (!doc.OpenDocument(args.definition))
        return kExitRefused;
    EpochState epoch;
    const CInterruptCatcher catcher;
    const bool done = CompileDefinition(doc, epoch, ui, options);
    ui.EndProgress();
    if (!done && g_interrupted.load()) {
        context.err << "Compile cancelled: nothing was written.\n";
        return kExitInterrupted;
    }
    return done ? kExitOk : kExitRefused;
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
    compile->add_option("--max-memory", compileArgs.maxMemory,
                        "memory the compile may take (K, M or G suffix); larger catalogues are "
                        "sorted in runs on disk (default: half of the available memory)");
    compile->add_flag("--quiet", compileArgs.quiet, "print nothing on success, show no progress");
    compile->add_flag("--keep-blank-positions", compileArgs.keepBlankPositions,
                      "compile records whose position fields are blank (at RA 0h, Dec 0) "
                      "instead of leaving them out");
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
