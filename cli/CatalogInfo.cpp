// info for compiled catalogues: the format version, the definition's copy (listed as for a
// definition file), the symbol programs, the keys, the hour index and optionally the first
// entries.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <ostream>

#include "CatalogFormat.h"
#include "CliCommands.h"
#include "DefinitionListing.h"
#include "core/compile/CatalogReader.h"
#include "core/io/FileReading.h"
#include "core/symbols/SymbolTables.h"

namespace {

// The header of the catalogue at path and its first entries: a large catalogue is not read
// whole. False with error set when the file cannot be read.
bool ReadCatalogHead(const std::string& path, int entries, std::string& bytes,
                     std::uint64_t& fileSize, std::string& error) {
    const int fd = OpenForReading(path, &error);
    if (fd < 0)
        return false;
    struct stat st {};
    fileSize = ::fstat(fd, &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
    // Headers are a few kilobytes; enough for them and the entries asked for is read, or all.
    constexpr std::uint64_t kHead = std::uint64_t{1} << 20;
    const std::uint64_t want = std::min<std::uint64_t>(
        fileSize, kHead + static_cast<std::uint64_t>(std::max(entries, 0)) * 65536);
    bytes.resize(static_cast<std::size_t>(want));
    int readError = 0;
    bytes.resize(ReadFully(fd, bytes.data(), bytes.size(), 0, &readError));
    ::close(fd);
    if (readError != 0) {
        error = "cannot read \"" + path + "\": " + std::strerror(readError);
        return false;
    }
    return true;
}

}  // namespace

int RunCatalogInfo(CliContext& context, const std::string& path, int entries) {
    std::string bytes;
    std::string error;
    std::uint64_t fileSize = 0;
    CompiledCatalog catalog;
    bool read = ReadCatalogHead(path, entries, bytes, fileSize, error);
    // What the beginning does not settle (a header beyond it, a file that changed size) is
    // decided on the whole file.
    const auto shownEnd = [&] {
        return catalog.entriesOffset +
               static_cast<std::uint64_t>(std::max(0, std::min(entries, catalog.entryCount))) *
                   static_cast<std::uint64_t>(catalog.entrySize);
    };
    if (read && bytes.size() < fileSize &&
        (!ReadCompiledCatalog(bytes, catalog, error, fileSize) || shownEnd() > bytes.size())) {
        read = ReadWholeFile(path, bytes, &error);
        fileSize = kWholeFile;
    }
    if (!read) {
        context.err << "error: " << error << '\n';
        return kExitRefused;
    }
    if (!ReadCompiledCatalog(bytes, catalog, error, fileSize)) {
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
