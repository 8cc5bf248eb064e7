// Feeds arbitrary bytes to the compiled catalogue reader. A file it accepts must account for
// every byte, and each of its entries must decode and print without reading outside it.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "CatalogFormat.h"
#include "core/compile/CatalogReader.h"
#include "core/symbols/SymbolTables.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CompiledCatalog catalog;
    std::string error;
    if (!ReadCompiledCatalog(bytes, catalog, error)) {
        if (error.rfind("at byte ", 0) != 0)
            std::abort();
        return 0;
    }
    const auto entries = static_cast<std::size_t>(catalog.entryCount);
    if (catalog.entriesOffset + entries * static_cast<std::size_t>(catalog.entrySize) != size) {
        std::abort();
    }
    const std::vector<std::string> names = UserSymbolNames(catalog.symbols.size());
    for (std::size_t i = 0; i < entries; ++i) {
        const CatalogEntry entry = ReadCatalogEntry(bytes, catalog, i);
        if (entry.label.size() > 32)
            std::abort();
        std::string line = FormatRaKey(entry.raKey) + FormatDecKey(entry.decKey) +
                           FormatMagnitude(entry.magnitude) + SymbolName(entry.symbol, names) +
                           ObjectTypeName(entry.type) + CsvField(WithoutLineEnd(entry.record));
        if (line.empty())
            std::abort();
    }
    for (const SymbolProgram& program : catalog.symbols) {
        if (FormatProgramReading(program).size() < program.size())
            std::abort();
    }
    return 0;
}
