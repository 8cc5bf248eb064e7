// info for compiled catalogues: the format version, the definition's copy (listed as for a
// definition file), the symbol programs, the keys, the hour index and optionally the first
// entries.
#include <algorithm>
#include <ostream>

#include "CatalogFormat.h"
#include "CliCommands.h"
#include "DefinitionListing.h"
#include "core/compile/CatalogReader.h"
#include "core/io/FileReading.h"
#include "core/symbols/SymbolTables.h"

int RunCatalogInfo(CliContext& context, const std::string& path, int entries) {
    std::string bytes;
    std::string error;
    if (!ReadWholeFile(path, bytes, &error)) {
        context.err << "error: " << error << '\n';
        return kExitRefused;
    }
    CompiledCatalog catalog;
    if (!ReadCompiledCatalog(bytes, catalog, error)) {
        context.err << "error: \"" << path << "\" is not a valid compiled catalogue: " << error
                    << '\n';
        return kExitRefused;
    }
    std::ostream& out = context.out;
    const std::vector<std::string> symbolNames = UserSymbolNames(catalog.symbols.size());
    out << "Compiled catalogue " << Quoted(path) << '\n';
    ListItem(out, "Format version", std::to_string(catalog.version));
    ListDefinition(out, catalog.definition, symbolNames, true);

    out << "User symbols (" << catalog.symbols.size() << ")\n";
    for (std::size_t k = 0; k < catalog.symbols.size(); ++k) {
        const SymbolProgram& program = catalog.symbols[k];
        out << "  " << -1 - static_cast<long long>(k) << "  " << Quoted(symbolNames[k]) << ", "
            << program.size() << " words: " << FormatProgramWords(program) << "\n      "
            << FormatProgramReading(program) << '\n';
    }

    out << "Index\n";
    ListItem(out, "First RA key",
             std::to_string(catalog.firstKey) + " (" + FormatRaKey(catalog.firstKey) + ")");
    ListItem(out, "Last RA key",
             std::to_string(catalog.lastKey) + " (" + FormatRaKey(catalog.lastKey) + ")");
    std::string hours;
    for (const std::int32_t first : catalog.hourIndex)
        hours += (hours.empty() ? "" : " ") + std::to_string(first);
    ListItem(out, "Hour index", hours);

    out << "Entries (" << catalog.entryCount << " of " << catalog.entrySize << " bytes)\n";
    const auto shown = static_cast<std::size_t>(std::max(0, std::min(entries, catalog.entryCount)));
    for (std::size_t i = 0; i < shown; ++i) {
        const CatalogEntry e = ReadCatalogEntry(bytes, catalog, i);
        const std::string magnitude = FormatMagnitude(e.magnitude);
        out << "  " << i << ": \"" << e.label << "\" RA " << FormatRaKey(e.raKey) << " Dec "
            << FormatDecKey(e.decKey) << " mag " << (magnitude.empty() ? "-" : magnitude)
            << " axes " << e.majorAxis << "\u2033 x " << e.minorAxis << "\u2033 PA "
            << (e.positionAngle == -1 ? std::string("-") : std::to_string(e.positionAngle))
            << " symbol " << e.symbol << " (" << SymbolName(e.symbol, symbolNames) << ") type "
            << e.type << " (" << ObjectTypeName(e.type) << ")\n";
    }
    return kExitOk;
}
