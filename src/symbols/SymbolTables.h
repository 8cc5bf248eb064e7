// The built-in object types, standard map symbols and symbol keywords, and the conversion
// between symbol codes and the rows of a symbol selection box.
#pragma once

#include <string>
#include <vector>

// Each table ends with an empty string.
extern const char* const g_apszObjectTypes[];
extern const char* const g_apszStandardSymbols[];
extern const char* const g_apszSymbolKeywords[];

inline constexpr int kObjectTypeCount = 13;
inline constexpr int kStandardSymbolCount = 11;

// Name of an object type code; empty for a code outside the table.
std::string ObjectTypeName(int type);

// Name of a symbol code: a standard symbol for 0..10, user symbol k for -1-k (named from
// userSymbolNames). Empty when the code names nothing.
std::string SymbolName(int code, const std::vector<std::string>& userSymbolNames);

// Symbol selection box rows: the 11 standard symbols, then the user symbols in list order.
// Row of a code, or -1 when the code names no row of a box with userSymbolCount user symbols.
int SymbolCodeToRow(int code, int userSymbolCount);
// Code of a row (row 11 is code -1, row 12 code -2, ...).
int SymbolRowToCode(int row);
