// Symbol codes and the rows of symbol selection boxes, and the texts lists show for codes.
#include <gtest/gtest.h>

#include <climits>

#include "core/symbols/SymbolTables.h"

TEST(SymbolTables, TablesEndWithAnEmptyStringAfterTheirEntries) {
    int types = 0;
    while (g_apszObjectTypes[types][0] != '\0')
        ++types;
    int symbols = 0;
    while (g_apszStandardSymbols[symbols][0] != '\0')
        ++symbols;
    EXPECT_EQ(types, kObjectTypeCount);
    EXPECT_EQ(symbols, kStandardSymbolCount);
    EXPECT_STREQ(g_apszObjectTypes[12], "X-Ray source");
    EXPECT_STREQ(g_apszStandardSymbols[10], "X-Ray source");
    EXPECT_STREQ(g_apszSymbolKeywords[4], "CIR");
    EXPECT_STREQ(g_apszSymbolKeywords[5], "");
}

TEST(SymbolTables, CodeToRowAndBackWithAndWithoutUserSymbols) {
    struct Case {
        int code;
        int userSymbols;
        int row;  // -1: the code names no row
    };
    const Case cases[] = {
        {0, 0, 0},        {10, 0, 10},      {11, 0, -1}, {-1, 0, -1}, {0, 2, 0},
        {10, 2, 10},      {-1, 2, 11},      {-2, 2, 12}, {-3, 2, -1}, {11, 2, -1},
        {INT_MIN, 2, -1}, {INT_MAX, 2, -1}, {-5, 5, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("code " + std::to_string(c.code) + " with " + std::to_string(c.userSymbols));
        EXPECT_EQ(SymbolCodeToRow(c.code, c.userSymbols), c.row);
        // Every row that exists leads back to its code.
        if (c.row >= 0) {
            EXPECT_EQ(SymbolRowToCode(c.row), c.code);
        }
    }
    // No selection reads as code -1.
    EXPECT_EQ(SymbolRowToCode(-1), -1);
}

TEST(SymbolTables, DanglingReferencesShowAMarkerInsteadOfAName) {
    const std::vector<std::string> fields = {"Name", "Type"};
    const std::vector<std::string> symbols = {"P", "Q"};
    EXPECT_EQ(FieldDisplayText(1, fields), "Type");
    EXPECT_EQ(FieldDisplayText(-1, fields), "(no field)");
    EXPECT_EQ(FieldDisplayText(2, fields), "(missing field 2)");
    EXPECT_EQ(SymbolDisplayText(-2, symbols), "Q");
    EXPECT_EQ(SymbolDisplayText(3, symbols), "Galaxy");
    EXPECT_EQ(SymbolDisplayText(-3, symbols), "(missing symbol -3)");
    EXPECT_EQ(SymbolDisplayText(11, symbols), "(missing symbol 11)");
    EXPECT_EQ(SymbolDisplayText(INT_MIN, symbols), "(missing symbol -2147483648)");
    EXPECT_EQ(ObjectTypeDisplayText(8), "Star");
    EXPECT_EQ(ObjectTypeDisplayText(13), "(missing type 13)");
    EXPECT_EQ(ObjectTypeDisplayText(-1), "(missing type -1)");

    const TypeRule rule{7, -1, 3, "OC"};
    const std::array<std::string, 4> row = TypeRuleRowTexts(rule, fields, symbols);
    EXPECT_EQ(row, (std::array<std::string, 4>{"(missing field 7)", "OC", "P", "Open cluster"}));
}
