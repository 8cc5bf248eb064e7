// info: prints a definition (or, for a compiled catalogue, hands over to the catalogue side);
// create: writes a definition, from JSON or new.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <limits>
#include <memory>
#include <ostream>
#include <vector>

#include "CliCommands.h"
#include "CliInteraction.h"
#include "DefinitionJson.h"
#include "DefinitionListing.h"
#include "core/compile/CatalogWriter.h"
#include "core/io/FileReading.h"
#include "core/io/InputFile.h"
#include "core/model/CatforgeDoc.h"

namespace {

// JSON definitions may come through a pipe; more than this is refused.
constexpr std::uint64_t kMaxJsonSize = std::uint64_t{128} << 20;

// The first 8 bytes of a regular file, or fewer when it is shorter or cannot be read.
std::string FileMagic(const std::string& path) {
    const int fd = OpenForReading(path);
    if (fd < 0)
        return {};
    std::string magic(kCatalogMagicSize, '\0');
    magic.resize(ReadFully(fd, magic.data(), magic.size(), 0));
    ::close(fd);
    return magic;
}

struct InfoOptions {
    std::string path;
    bool json = false;
    int entries = 0;
};

struct CreateOptions {
    std::string jsonPath;
    std::string outPath;
};

int RunInfo(CliContext& context, const InfoOptions& options) {
    if (FileMagic(options.path) == kCatalogMagic) {
        return RunCatalogInfo(context, options.path, options.entries);
    }
    CCliInteraction ui(context.err);
    CCatforgeDoc doc;
    doc.SetInteraction(&ui);
    if (!doc.OpenDocument(options.path))
        return kExitRefused;
    if (options.json) {
        context.out << DefinitionToJson(doc).dump(2) << '\n';
    } else {
        std::vector<std::string> symbolNames;
        for (const UserSymbol& symbol : doc.m_aUserSymbols)
            symbolNames.push_back(symbol.m_strName);
        context.out << "Definition " << Quoted(options.path) << '\n';
        ListDefinition(context.out, doc, symbolNames, false);
    }
    return kExitOk;
}

int RunCreate(CliContext& context, const CreateOptions& options) {
    CCliInteraction ui(context.err);
    CCatforgeDoc doc;
    doc.SetInteraction(&ui);
    if (SameFile(options.outPath, options.jsonPath)) {
        context.err << "error: \"" << options.outPath
                    << "\" is the JSON being read; the definition needs another name.\n";
        return kExitRefused;
    }
    if (!options.jsonPath.empty()) {
        std::string text;
        std::string error;
        if (!ReadWholeFile(options.jsonPath, text, &error, kMaxJsonSize, true)) {
            context.err << "error: " << error << '\n';
            return kExitRefused;
        }
        DefinitionJson json;
        try {
            json = DefinitionJson::parse(text);
        } catch (const DefinitionJson::parse_error& e) {
            context.err << "error: " << options.jsonPath << ": not valid JSON: " << e.what()
                        << '\n';
            return kExitRefused;
        }
        if (!DefinitionFromJson(json, doc, error)) {
            context.err << "error: " << options.jsonPath << ": " << error << '\n';
            return kExitRefused;
        }
    }
    return doc.OnSaveDocument(options.outPath) ? kExitOk : kExitRefused;
}

}  // namespace

void AddDefinitionCommands(CLI::App& app, CliContext& context) {
    auto info = std::make_shared<InfoOptions>();
    auto* infoCommand = app.add_subcommand(
        "info", "Print a definition (.zdd), or a compiled catalogue (.zdc), found by its magic");
    infoCommand->add_option("FILE", info->path, "definition or catalogue file")
        ->required()
        ->check(kFileName);
    infoCommand->add_flag("--json", info->json,
                          "print the definition as JSON (the input of create --from-json)");
    infoCommand->add_option("--entries", info->entries, "catalogues: how many entries to print")
        ->check(CLI::Range(0, std::numeric_limits<int>::max()));
    infoCommand->callback([&context, info] { context.status = RunInfo(context, *info); });

    auto create = std::make_shared<CreateOptions>();
    auto* createCommand = app.add_subcommand(
        "create", "Write a definition: from JSON as printed by info --json, or a new one");
    createCommand
        ->add_option("--from-json", create->jsonPath,
                     "JSON definition; members left out take their defaults")
        ->check(kFileName);
    createCommand->add_option("OUT", create->outPath, "definition file to write")
        ->required()
        ->check(kFileName);
    createCommand->callback([&context, create] { context.status = RunCreate(context, *create); });
}
