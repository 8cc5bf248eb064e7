#include "core/symbols/SymbolTables.h"

// clang-format off
const char* const g_apszObjectTypes[] = {
    "General",          "Galaxy",           "Galaxy cluster", "Open cluster", "Globular cluster",
    "Planetary nebula", "Bright nebula",    "Dark nebula",    "Star",         "Supernova remnant",
    "Quasar",           "Radio source",     "X-Ray source",   ""};

const char* const g_apszStandardSymbols[] = {
    "Unspecified (circle)", "Bright nebula", "Dark nebula", "Galaxy",       "Globular cluster",
    "Open cluster",         "Planetary nebula", "Quasar",   "Radio source", "Star",
    "X-Ray source",         ""};
// clang-format on

const char* const g_apszSymbolKeywords[] = {"MR", "MA", "DR", "DA", "CIR", ""};

std::string ObjectTypeName(int type) {
    if (type < 0 || type >= kObjectTypeCount)
        return {};
    return g_apszObjectTypes[type];
}

std::string SymbolName(int code, const std::vector<std::string>& userSymbolNames) {
    if (code >= 0)
        return code < kStandardSymbolCount ? g_apszStandardSymbols[code] : "";
    // -1 - code in 64 bits: the most negative int has no positive counterpart in 32.
    const long long index = -1LL - code;
    if (index >= static_cast<long long>(userSymbolNames.size()))
        return {};
    return userSymbolNames[static_cast<std::size_t>(index)];
}

int SymbolCodeToRow(int code, int userSymbolCount) {
    if (code >= 0)
        return code < kStandardSymbolCount ? code : -1;
    const long long index = -1LL - code;
    if (index >= userSymbolCount)
        return -1;
    return kStandardSymbolCount + static_cast<int>(index);
}

int SymbolRowToCode(int row) {
    return row < kStandardSymbolCount ? row : kStandardSymbolCount - row - 1;
}

std::string FieldDisplayText(int field, const std::vector<std::string>& fieldNames) {
    if (field < 0)
        return "(no field)";
    if (static_cast<std::size_t>(field) >= fieldNames.size()) {
        return "(missing field " + std::to_string(field) + ")";
    }
    return fieldNames[static_cast<std::size_t>(field)];
}

std::string SymbolDisplayText(int code, const std::vector<std::string>& userSymbolNames) {
    if (SymbolCodeToRow(code, static_cast<int>(userSymbolNames.size())) < 0) {
        return "(missing symbol " + std::to_string(code) + ")";
    }
    return SymbolName(code, userSymbolNames);
}

std::string ObjectTypeDisplayText(int type) {
    if (type < 0 || type >= kObjectTypeCount)
        return "(missing type " + std::to_string(type) + ")";
    return g_apszObjectTypes[type];
}

std::array<std::string, 4> TypeRuleRowTexts(const TypeRule& rule,
                                            const std::vector<std::string>& fieldNames,
                                            const std::vector<std::string>& userSymbolNames) {
    return {FieldDisplayText(rule.m_nField, fieldNames), rule.m_strValue,
            SymbolDisplayText(rule.m_nSymbol, userSymbolNames),
            ObjectTypeDisplayText(rule.m_nType)};
}
