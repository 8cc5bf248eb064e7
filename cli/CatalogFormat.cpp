#include "CatalogFormat.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/compile/KeyUnits.h"
#include "core/symbols/SymbolTables.h"

std::string FormatRaKey(std::int32_t key) {
    // Count in milliseconds of time.
    constexpr double kKeysPerMillisecond = kRaKeysPerHour / 3600000.0;
    const long long ms = std::llround(std::fabs(static_cast<double>(key)) / kKeysPerMillisecond);
    char text[48];
    std::snprintf(text, sizeof text, "%s%02lldh%02lldm%02lld.%03llds", key < 0 ? "-" : "",
                  ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
    return text;
}

std::string FormatDecKey(std::int32_t key) {
    const long long units = std::llabs(static_cast<long long>(key));
    constexpr long long kPerArcminute = kKeyUnitsPerDegree / 60;
    constexpr long long kPerArcsecond = kPerArcminute / 60;
    char text[48];
    std::snprintf(text, sizeof text, "%c%02lld\u00B0%02lld\u2032%02lld.%02lld\u2033",
                  key < 0 ? '-' : '+', units / kKeyUnitsPerDegree, units / kPerArcminute % 60,
                  units / kPerArcsecond % 60, units % kPerArcsecond);
    return text;
}

std::string FormatMagnitude(std::int16_t magnitude) {
    if (magnitude == 9999)
        return {};
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", magnitude / 100.0);
    return text;
}

std::string FormatKeyDegrees(std::int32_t key) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9f", key / static_cast<double>(kKeyUnitsPerDegree));
    return text;
}

std::string FormatProgramWords(const SymbolProgram& program) {
    std::string out;
    for (const SymbolInstruction word : program) {
        if (!out.empty())
            out += ' ';
        out += std::to_string(static_cast<std::int16_t>(word));
    }
    return out;
}

std::string FormatProgramReading(const SymbolProgram& program) {
    std::string out;
    for (const SymbolInstruction word : program) {
        const int value = static_cast<std::int16_t>(word);
        if (!out.empty())
            out += ' ';
        if (value >= kOpcodeBase && value <= kOpcodeBase + 4) {
            out += g_apszSymbolKeywords[value - kOpcodeBase];
        } else if (value > kOpcodeBase + 4) {
            out += "(skipped " + std::to_string(value) + ")";
        } else {
            char text[16];
            std::snprintf(text, sizeof text, "%.2f", value / 100.0);
            out += text;
        }
    }
    return out;
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

std::string_view WithoutLineEnd(std::string_view record) {
    while (!record.empty() && (record.back() == '\n' || record.back() == '\r')) {
        record.remove_suffix(1);
    }
    return record;
}

std::vector<std::string> UserSymbolNames(std::size_t count) {
    std::vector<std::string> names;
    for (std::size_t k = 0; k < count; ++k)
        names.push_back("User symbol " + std::to_string(k + 1));
    return names;
}
