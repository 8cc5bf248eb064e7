// The built-in object types, standard map symbols and symbol keywords, the conversion
// between symbol codes and the rows of a symbol selection box, and the texts that lists show
// for the codes a definition stores.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/model/DefinitionRecords.h"

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
// Row of a code, or -1 when the code names no row of a box with userSymbolCount user symbols
// (a user symbol past the end of the list, or a positive code past the standard symbols).
int SymbolCodeToRow(int code, int userSymbolCount);
// Code of a row (row 11 is code -1, row 12 code -2, ...). No selection (row -1) gives -1.
int SymbolRowToCode(int row);

// Texts shown in lists for stored selections. Fields and user symbols are referred to by
// position only and are never renumbered, so a stored value can outlive what it named; such
// a value is shown with a marker instead of an empty cell:
//   field:  the field's name, "(no field)" for -1, "(missing field 7)" past the list;
//   symbol: the symbol's name, "(missing symbol -3)" for a code that names nothing;
//   type:   the type's name, "(missing type 13)" outside the type table.
std::string FieldDisplayText(int field, const std::vector<std::string>& fieldNames);
std::string SymbolDisplayText(int code, const std::vector<std::string>& userSymbolNames);
std::string ObjectTypeDisplayText(int type);

// The four cells of a type rule's row: "Field", "Value", "Symbol", "Type".
std::array<std::string, 4> TypeRuleRowTexts(const TypeRule& rule,
                                            const std::vector<std::string>& fieldNames,
                                            const std::vector<std::string>& userSymbolNames);
