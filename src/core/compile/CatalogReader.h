// Reading a compiled catalogue (.zdc) from memory, every count and length checked against the
// bytes left, for the command-line tool and for checks of the writer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/Definition.h"
#include "core/model/DefinitionRecords.h"
#include "core/symbols/SymbolLanguage.h"

// The definition and index part of a catalogue; the entries stay in the caller's bytes.
struct CompiledCatalog {
    std::int32_t version = 0;
    // The definition's copy: every member but the data file path, the user symbols and the
    // type rules, which keep their defaults.
    Definition definition;
    std::vector<SymbolProgram> symbols;
    std::int32_t firstKey = 0;
    std::int32_t lastKey = 0;
    std::array<std::int32_t, 24> hourIndex{};
    std::int32_t entryCount = 0;
    std::int32_t entrySize = 0;
    std::size_t entriesOffset = 0;  // where entry 0 starts in the file's bytes
};

// One entry decoded.
struct CatalogEntry {
    std::string label;  // up to the terminator
    std::int32_t raKey = 0;
    std::int32_t decKey = 0;
    float sinRa = 0, cosRa = 0, sinDec = 0, cosDec = 0;
    std::int16_t magnitude = 0;
    std::int16_t majorAxis = 0;
    std::int16_t minorAxis = 0;
    std::int16_t positionAngle = 0;
    std::int16_t symbol = 0;
    std::int16_t type = 0;
    std::string_view record;  // points into the file's bytes
};

inline constexpr std::uint64_t kWholeFile = ~std::uint64_t{0};

// Reads the catalogue in bytes. On failure error tells what was wrong and at which byte. Bytes
// may be the beginning of a file of fileSize bytes, long enough for the header (the entries
// are then checked against the file's size).
[[nodiscard]] bool ReadCompiledCatalog(std::string_view bytes, CompiledCatalog& catalog,
                                       std::string& error, std::uint64_t fileSize = kWholeFile);

// Entry i (0 <= i < entryCount) of a catalogue that ReadCompiledCatalog accepted.
CatalogEntry ReadCatalogEntry(std::string_view bytes, const CompiledCatalog& catalog,
                              std::size_t i);
