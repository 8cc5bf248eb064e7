// info for compiled catalogues: the header, the definition echo, the symbol programs, the keys,
// the hour index and optionally the first entries.
#include <algorithm>
#include <cstdio>
#include <ostream>

#include "CatalogFormat.h"
#include "CliCommands.h"
#include "core/compile/CatalogReader.h"
#include "core/io/AtomicFile.h"
#include "core/io/InputFile.h"
#include "core/symbols/SymbolTables.h"

namespace {

const char* const kRaNotations[] = {"Hours, minutes and seconds", "Hours and minutes",
                                    "Hours only"};
const char* const kDecNotations[] = {"Sign, Degree, Min, Sec", "Sign, Degrees, Minutes",
                                     "Signed degrees"};
const char* const kSizeFields[] = {"No size fields", "Major axis only", "Major and minor axes"};
const char* const kSizeUnits[] = {"degrees", "minutes", "seconds"};
const char* const kSizeMeanings[] = {"radius", "diameter"};

template <std::size_t N>
std::string Named(int value, const char* const (&names)[N]) {
    const std::string number = std::to_string(value);
    if (value < 0 || static_cast<std::size_t>(value) >= N)
        return number + " (unknown)";
    return number + " (" + names[value] + ")";
}

// A field selection: its number and the field's name, or "none".
std::string FieldRef(const CompiledCatalog& catalog, int index) {
    if (index == -1)
        return "none";
    if (index < 0 || static_cast<std::size_t>(index) >= catalog.fields.size()) {
        return std::to_string(index) + " (no such field)";
    }
    return std::to_string(index) + " (" +
           catalog.fields[static_cast<std::size_t>(index)].m_strName + ")";
}

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

void PrintDefinition(std::ostream& out, const CompiledCatalog& c) {
    out << "Format version: " << c.version << "\nTitle: " << c.title << "\nNotes: " << c.notes
        << "\nRecord length: " << c.recordLength << "\nFields: " << c.fields.size() << '\n';
    for (std::size_t i = 0; i < c.fields.size(); ++i) {
        const FieldDefinition& f = c.fields[i];
        out << "  " << i << ": " << f.m_strName << " [" << f.m_strUnit << "] columns "
            << f.m_nStartCol << "-" << f.m_nEndCol << '\n';
    }
    const auto& p = c.position;
    out << "Right ascension: notation " << Named(p[0], kRaNotations) << ", hours "
        << FieldRef(c, p[1]) << ", minutes " << FieldRef(c, p[2]) << ", seconds "
        << FieldRef(c, p[3]) << "\nDeclination: notation " << Named(p[4], kDecNotations)
        << ", sign " << FieldRef(c, p[5]) << ", degrees " << FieldRef(c, p[6]) << ", minutes "
        << FieldRef(c, p[7]) << ", seconds " << FieldRef(c, p[8]) << "\nEpoch: " << c.epoch
        << "\nLabels: " << c.labelCount << '\n';
    for (std::size_t k = 0; k < 3; ++k) {
        out << "  label " << k + 1 << ": field " << FieldRef(c, c.labelFields[k]) << ", prefix \""
            << c.labelPrefixes[k] << "\"\n";
    }
    const auto& s = c.settings;
    out << "Size: " << Named(s[0], kSizeFields) << ", units " << Named(s[1], kSizeUnits)
        << ", meaning " << Named(s[2], kSizeMeanings) << ", major axis " << FieldRef(c, s[3])
        << ", minor axis " << FieldRef(c, s[4])
        << "\nPosition angle: " << (s[5] != 0 ? "field " + FieldRef(c, s[6]) : std::string("none"))
        << "\nMagnitudes: " << s[7] << ", fields " << FieldRef(c, s[8]) << ", " << FieldRef(c, s[9])
        << ", " << FieldRef(c, s[10]) << "\nDefault type: " << s[11] << " ("
        << ObjectTypeName(s[11]) << "), symbol " << s[12] << " ("
        << SymbolName(s[12], UserSymbolNames(c.symbols.size())) << ")\nColours: mode " << s[13]
        << ", screen " << Hex(static_cast<std::uint32_t>(s[14])) << ", printer "
        << Hex(static_cast<std::uint32_t>(s[15])) << "\nType mode: " << s[16] << '\n';
    out << "User symbols: " << c.symbols.size() << '\n';
    for (std::size_t k = 0; k < c.symbols.size(); ++k) {
        out << "  symbol " << k + 1 << " (code " << -1 - static_cast<long long>(k) << "), "
            << c.symbols[k].size() << " words: " << FormatProgramWords(c.symbols[k]) << "\n    "
            << FormatProgramReading(c.symbols[k]) << '\n';
    }
}

}  // namespace

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
    out << "Compiled catalogue: " << path << '\n';
    PrintDefinition(out, catalog);
    out << "First RA key: " << catalog.firstKey << " (" << FormatRaKey(catalog.firstKey)
        << ")\nLast RA key: " << catalog.lastKey << " (" << FormatRaKey(catalog.lastKey)
        << ")\nHour index:";
    for (const std::int32_t first : catalog.hourIndex)
        out << ' ' << first;
    out << "\nEntries: " << catalog.entryCount << " of " << catalog.entrySize << " bytes\n";

    const auto shown = static_cast<std::size_t>(std::max(0, std::min(entries, catalog.entryCount)));
    const std::vector<std::string> symbolNames = UserSymbolNames(catalog.symbols.size());
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
