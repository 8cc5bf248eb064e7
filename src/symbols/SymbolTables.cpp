#include "SymbolTables.h"

const char* const g_apszObjectTypes[] = {
    "General",          "Galaxy",           "Galaxy cluster", "Open cluster", "Globular cluster",
    "Planetary nebula", "Bright nebula",    "Dark nebula",    "Star",         "Supernova remnant",
    "Quasar",           "Radio source",     "X-Ray source",   ""};

const char* const g_apszStandardSymbols[] = {
    "Unspecified (circle)", "Bright nebula", "Dark nebula", "Galaxy",       "Globular cluster",
    "Open cluster",         "Planetary nebula", "Quasar",   "Radio source", "Star",
    "X-Ray source",         ""};

const char* const g_apszSymbolKeywords[] = {"MR", "MA", "DR", "DA", "CIR", ""};

std::string ObjectTypeName(int type) {
    if (type < 0 || type >= kObjectTypeCount) return {};
    return g_apszObjectTypes[type];
}

std::string SymbolName(int code, const std::vector<std::string>& userSymbolNames) {
    if (code >= 0) return code < kStandardSymbolCount ? g_apszStandardSymbols[code] : "";
    const long long index = -1LL - code;
    if (index >= static_cast<long long>(userSymbolNames.size())) return {};
    return userSymbolNames[static_cast<std::size_t>(index)];
}

int SymbolCodeToRow(int code, int userSymbolCount) {
    if (code >= 0) return code < kStandardSymbolCount ? code : -1;
    const long long index = -1LL - code;
    if (index >= userSymbolCount) return -1;
    return kStandardSymbolCount + static_cast<int>(index);
}

int SymbolRowToCode(int row) {
    return row < kStandardSymbolCount ? row : kStandardSymbolCount - row - 1;
}
