#include "core/compile/CatalogReader.h"

#include <cstring>

#include "core/compile/CatalogObject.h"
#include "core/compile/CatalogWriter.h"
#include "core/io/ByteIO.h"
#include "core/model/DefinitionCodec.h"

namespace co = catalog_object;

bool ReadCompiledCatalog(std::string_view bytes, CompiledCatalog& catalog, std::string& error,
                         std::uint64_t fileSize) {
    catalog = CompiledCatalog{};
    if (fileSize == kWholeFile)
        fileSize = bytes.size();
    CByteReader in(bytes);
    const std::string magic = in.ReadBytes(kCatalogMagicSize, "bytes of the file's magic");
    if (!in.Failed() && magic != kCatalogMagic) {
        error =
            std::string("at byte 0: not a compiled catalogue (the file does not begin with \"") +
            std::string(kCatalogMagic) + "\")";
        return false;
    }
    const std::size_t versionAt = in.Offset();
    catalog.version = in.ReadInt32();
    if (!in.Failed() && catalog.version != kCatalogVersion) {
        error = "at byte " + std::to_string(versionAt) + ": format version " +
                std::to_string(catalog.version) + " is not known (expected 1)";
        return false;
    }
    DecodeDefinitionMembers(in, DefinitionBytes::Catalogue, catalog.version, catalog.definition);

    const std::int32_t symbolCount = in.ReadCount(4, "user symbols");
    for (std::int32_t s = 0; s < symbolCount && !in.Failed(); ++s) {
        const std::int32_t words = in.ReadCount(2, "symbol instruction words");
        SymbolProgram program;
        program.reserve(static_cast<std::size_t>(words));
        for (std::int32_t w = 0; w < words && !in.Failed(); ++w) {
            program.push_back(static_cast<SymbolInstruction>(in.ReadInt16()));
        }
        catalog.symbols.push_back(std::move(program));
    }
    catalog.firstKey = in.ReadInt32();
    catalog.lastKey = in.ReadInt32();
    for (std::int32_t& first : catalog.hourIndex)
        first = in.ReadInt32();

    const std::size_t countAt = in.Offset();
    catalog.entryCount = in.ReadInt32();
    const std::size_t sizeAt = in.Offset();
    catalog.entrySize = in.ReadInt32();
    if (in.Failed()) {
        error = in.Error();
        return false;
    }
    if (catalog.entryCount < 0) {
        error = "at byte " + std::to_string(countAt) + ": negative entry count " +
                std::to_string(catalog.entryCount);
        return false;
    }
    if (catalog.definition.m_nRecordLength < 0 ||
        static_cast<std::int64_t>(catalog.entrySize) !=
            static_cast<std::int64_t>(catalog.definition.m_nRecordLength) + 68) {
        error = "at byte " + std::to_string(sizeAt) + ": entry size " +
                std::to_string(catalog.entrySize) + " does not match the record length " +
                std::to_string(catalog.definition.m_nRecordLength) + " plus 68";
        return false;
    }
    catalog.entriesOffset = in.Offset();
    const auto expected = static_cast<std::uint64_t>(catalog.entryCount) *
                          static_cast<std::uint64_t>(catalog.entrySize);
    const std::uint64_t remaining = fileSize - catalog.entriesOffset;
    if (expected != remaining) {
        error = "at byte " + std::to_string(catalog.entriesOffset) + ": " +
                std::to_string(catalog.entryCount) + " entries of " +
                std::to_string(catalog.entrySize) + " bytes need " + std::to_string(expected) +
                " bytes, but " + std::to_string(remaining) + " are left";
        return false;
    }
    for (std::size_t h = 0; h < 24; ++h) {
        const std::int32_t first = catalog.hourIndex[h];
        if (first < 0 || first > catalog.entryCount ||
            (h > 0 && first < catalog.hourIndex[h - 1])) {
            error = "at byte " + std::to_string(catalog.entriesOffset - 8 - 96 + 4 * h) +
                    ": hour index element " + std::to_string(h) + " (" + std::to_string(first) +
                    ") is out of order or beyond the " + std::to_string(catalog.entryCount) +
                    " entries";
            return false;
        }
    }
    return true;
}

CatalogEntry ReadCatalogEntry(std::string_view bytes, const CompiledCatalog& catalog,
                              std::size_t i) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + catalog.entriesOffset +
                    i * static_cast<std::size_t>(catalog.entrySize);
    CatalogEntry entry;
    const void* end = std::memchr(p, 0, co::kLabelSize);
    entry.label.assign(reinterpret_cast<const char*>(p),
                       end ? static_cast<std::size_t>(static_cast<const unsigned char*>(end) - p)
                           : co::kLabelSize);
    entry.raKey = co::LoadInt32(p + co::kRaKey);
    entry.decKey = co::LoadInt32(p + co::kDecKey);
    entry.sinRa = co::LoadFloat(p + co::kSinRa);
    entry.cosRa = co::LoadFloat(p + co::kCosRa);
    entry.sinDec = co::LoadFloat(p + co::kSinDec);
    entry.cosDec = co::LoadFloat(p + co::kCosDec);
    entry.magnitude = co::LoadInt16(p + co::kMagnitude);
    entry.majorAxis = co::LoadInt16(p + co::kMajorAxis);
    entry.minorAxis = co::LoadInt16(p + co::kMinorAxis);
    entry.positionAngle = co::LoadInt16(p + co::kPositionAngle);
    entry.symbol = co::LoadInt16(p + co::kSymbol);
    entry.type = co::LoadInt16(p + co::kType);
    entry.record = std::string_view(reinterpret_cast<const char*>(p + co::kRecord),
                                    static_cast<std::size_t>(catalog.definition.m_nRecordLength));
    return entry;
}
