// The element records of a definition's three lists, and the codes they share.
#pragma once

#include <cstdint>
#include <string>

// Field selection value that names no field.
inline constexpr int kNoField = -1;

// Right ascension notations: 0 hours, minutes and seconds; 1 hours and minutes; 2 hours only;
// 3 decimal degrees, read from the hours field.
inline constexpr int kRaNotationDegrees = 3;

// One field of the record layout: the bytes at 1-based columns m_nStartCol..m_nEndCol.
struct FieldDefinition {
    std::string m_strName;  // shown in every field selection box
    std::string m_strUnit;  // descriptive only
    int m_nStartCol = 1;    // first column, 1-based
    int m_nEndCol = 1;      // last column, 1-based, inclusive

    bool operator==(const FieldDefinition&) const = default;
};

// A map symbol drawn by the user in the symbol language.
struct UserSymbol {
    std::string m_strName;
    std::string m_strInstructions;  // may hold line breaks

    bool operator==(const UserSymbol&) const = default;
};

// One rule of the object-type list: objects whose field text begins with m_strValue
// get m_nSymbol and m_nType.
struct TypeRule {
    int m_nField = kNoField;  // field selection
    int m_nSymbol = 0;        // symbol code
    int m_nType = 0;          // object type code
    std::string m_strValue;

    bool operator==(const TypeRule&) const = default;
};

// A colour as 0x00BBGGRR (red in the low byte).
using Colour = std::uint32_t;
