// The definition as a plain value, and the one table that describes its members: name, label,
// kind (the member's type), default and how the listing shows it. Reset, the definition file,
// the definition copy at the head of a compiled catalogue, JSON and the command-line listing
// all go through this table; adding a member is adding a line to it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "core/model/DefinitionRecords.h"

// Size of the data file path field, terminator included.
inline constexpr int kMaxDataFilePath = 260;
// The data file path: zero-terminated, zeros after the terminator.
using DataFilePath = std::array<char, kMaxDataFilePath>;

// Names of the choices of the definition's option members, in code order.
inline constexpr const char* kRaNotationNames[] = {
    "Hours, minutes and seconds",
    "Hours and minutes",
    "Hours only",
    "Degrees",
};
inline constexpr const char* kDecNotationNames[] = {
    "Sign, Degree, Min, Sec",
    "Sign, Degrees, Minutes",
    "Signed degrees",
};
inline constexpr const char* kSizeFieldsNames[] = {"No size fields", "Major axis only",
                                                   "Major and minor axes"};
inline constexpr const char* kSizeUnitNames[] = {"degrees", "minutes of arc", "seconds of arc"};
inline constexpr const char* kSizeMeaningNames[] = {"radius", "diameter"};
inline constexpr const char* kColourModeNames[] = {"Use standard map colours",
                                                   "Define custom colour"};
inline constexpr const char* kTypeModeNames[] = {"All objects in catalog have the same type",
                                                 "Object type varies according to list below"};

// "0x00BBGGRR": a colour as the definition's text forms write it.
std::string ColourText(Colour colour);

// Everything the user states about one catalogue data file. The members and their defaults
// are listed in MemberTable<Definition> below; a new Definition holds the defaults.
struct Definition {
    Definition();

    // The data file path as a string (up to its terminator), and setting it (cut to 259 bytes).
    std::string GetDataFile() const;
    void SetDataFile(const std::string& path);

    bool operator==(const Definition&) const = default;

    // General
    std::string m_strTitle;
    DataFilePath m_szDataFile;
    std::string m_strNotes;
    int m_nRecordLength;

    // Fields
    std::vector<FieldDefinition> m_aFields;

    // Position
    int m_nRaNotation;
    int m_nRaHoursField;
    int m_nRaMinutesField;
    int m_nRaSecondsField;
    int m_nDecNotation;
    int m_nDecSignField;
    int m_nDecDegreesField;
    int m_nDecMinutesField;
    int m_nDecSecondsField;
    std::string m_strEpoch;

    // Labels, size and magnitudes
    int m_nLabelCount;
    std::array<int, 3> m_anLabelField;
    std::array<std::string, 3> m_astrLabelPrefix;
    int m_nSizeFields;
    int m_nSizeUnits;
    int m_nSizeMeaning;
    int m_nMajorAxisField;
    int m_nMinorAxisField;
    int m_bPositionAngle;
    int m_nPositionAngleField;
    int m_nMagnitudeCount;
    std::array<int, 3> m_anMagnitudeField;

    // Object type and colour
    int m_nDefaultType;
    int m_nDefaultSymbol;
    int m_nColourMode;
    Colour m_crScreenColour;
    Colour m_crPrinterColour;
    int m_nTypeMode;

    // User symbols and type rules
    std::vector<UserSymbol> m_aUserSymbols;
    std::vector<TypeRule> m_aTypeRules;
};

// The part of a coordinate a position field holds: its sign, its hours or degrees (whole or
// decimal), its minutes or its seconds.
enum class PositionPart : std::uint8_t { Sign, Main, Minutes, Seconds };

// One field selection a position notation reads.
struct PositionField {
    PositionPart part;
    int Definition::*member;
};

namespace position_fields {
inline constexpr PositionField kRa[] = {
    {PositionPart::Main, &Definition::m_nRaHoursField},
    {PositionPart::Minutes, &Definition::m_nRaMinutesField},
    {PositionPart::Seconds, &Definition::m_nRaSecondsField},
};
inline constexpr PositionField kDec[] = {
    {PositionPart::Sign, &Definition::m_nDecSignField},
    {PositionPart::Main, &Definition::m_nDecDegreesField},
    {PositionPart::Minutes, &Definition::m_nDecMinutesField},
    {PositionPart::Seconds, &Definition::m_nDecSecondsField},
};
}  // namespace position_fields

// The field selections a right ascension notation reads, in the order hours, minutes, seconds:
// all three for 0, hours and minutes for 1, the hours field alone for decimal
// hours (2) and decimal degrees (3). A notation outside these reads as 0.
inline std::span<const PositionField> RaFields(int notation) {
    const std::span<const PositionField> all = position_fields::kRa;
    return notation == 1 ? all.first(2) : notation == 2 || notation == 3 ? all.first(1) : all;
}

// The field selections a declination notation reads: sign, degrees, minutes and seconds for 0,
// all but the seconds for 1, the (signed) degrees field alone for 2. A notation outside these
// reads as 0.
inline std::span<const PositionField> DecFields(int notation) {
    const std::span<const PositionField> all = position_fields::kDec;
    return notation == 1 ? all.first(3) : notation == 2 ? all.subspan(1, 1) : all;
}

// A pointer to one member of Owner; its alternative is the member's kind.
template <typename Owner>
using MemberPointer =
    std::variant<int Owner::*, Colour Owner::*, std::string Owner::*, DataFilePath Owner::*,
                 std::array<int, 3> Owner::*, std::array<std::string, 3> Owner::*,
                 std::vector<FieldDefinition> Owner::*, std::vector<UserSymbol> Owner::*,
                 std::vector<TypeRule> Owner::*>;

// How the listing shows a member beyond what its kind says.
enum class Shown : std::uint8_t {
    Plain,       // numbers as numbers, strings quoted, colours as ColourText
    Lines,       // multi-line text, one indented line each
    Field,       // field selection: index and field name
    Choice,      // option: the name of its choice
    ObjectType,  // object type code with its name
    Symbol,      // symbol code with its name
    Flag,        // "yes" or "no"
};

// Where a member is stored, beyond the order of the table.
enum MemberStorage : std::uint8_t {
    kStoredInOrder = 0,
    kFileHead = 1,        // definition file: in the fixed head, before every other member
    kSinceVersion2 = 2,   // definition file: absent from version 1 files
    kNotInCatalogue = 4,  // the catalogue's copy of the definition leaves it out
};

template <typename Owner>
struct Member {
    const char* name;   // the C++ name, also the JSON key
    const char* label;  // for people: the listing, and (first letter lowered) messages
    MemberPointer<Owner> pointer;
    std::int64_t defaultValue = 0;  // int and colour members; each element of int triples
    const char* defaultText = "";   // string members
    Shown shown = Shown::Plain;
    std::span<const char* const> choices = {};  // Shown::Choice
    std::uint8_t storage = kStoredInOrder;
    const char* group = nullptr;  // listing: a heading shown before this member
};

template <typename Owner>
struct MemberTable;

template <>
struct MemberTable<FieldDefinition> {
    using F = FieldDefinition;
    static constexpr Member<F> kMembers[] = {
        {"m_strName", "Field name", &F::m_strName},
        {"m_strUnit", "Field unit", &F::m_strUnit},
        {"m_nStartCol", "Start column", &F::m_nStartCol},
        {"m_nEndCol", "End column", &F::m_nEndCol},
    };
};

template <>
struct MemberTable<UserSymbol> {
    using S = UserSymbol;
    static constexpr Member<S> kMembers[] = {
        {"m_strName", "Symbol name", &S::m_strName},
        {"m_strInstructions", "Symbol instructions", &S::m_strInstructions},
    };
};

template <>
struct MemberTable<TypeRule> {
    using R = TypeRule;
    static constexpr Member<R> kMembers[] = {
        {"m_nField", "Rule field", &R::m_nField},
        {"m_nSymbol", "Rule symbol", &R::m_nSymbol},
        {"m_nType", "Rule type", &R::m_nType},
        {"m_strValue", "Type rule value", &R::m_strValue},
    };
};

// The definition's members in declaration order, which is also the order of the files apart
// from the path (kFileHead).
template <>
struct MemberTable<Definition> {
    using D = Definition;
    using M = Member<D>;
    static constexpr std::int64_t kNone = kNoField;
    static constexpr M kMembers[] = {
        {.name = "m_strTitle", .label = "Title", .pointer = &D::m_strTitle, .group = "General"},
        {.name = "m_szDataFile",
         .label = "Data file",
         .pointer = &D::m_szDataFile,
         .storage = kFileHead | kNotInCatalogue},
        {.name = "m_strNotes", .label = "Notes", .pointer = &D::m_strNotes, .shown = Shown::Lines},
        {.name = "m_nRecordLength", .label = "Record length", .pointer = &D::m_nRecordLength},
        {.name = "m_aFields", .label = "Fields", .pointer = &D::m_aFields},
        {.name = "m_nRaNotation",
         .label = "RA notation",
         .pointer = &D::m_nRaNotation,
         .shown = Shown::Choice,
         .choices = kRaNotationNames,
         .group = "Position"},
        {"m_nRaHoursField", "RA hours", &D::m_nRaHoursField, kNone, "", Shown::Field},
        {"m_nRaMinutesField", "RA minutes", &D::m_nRaMinutesField, kNone, "", Shown::Field},
        {"m_nRaSecondsField", "RA seconds", &D::m_nRaSecondsField, kNone, "", Shown::Field},
        {.name = "m_nDecNotation",
         .label = "Dec notation",
         .pointer = &D::m_nDecNotation,
         .shown = Shown::Choice,
         .choices = kDecNotationNames},
        {"m_nDecSignField", "Dec sign", &D::m_nDecSignField, kNone, "", Shown::Field},
        {"m_nDecDegreesField", "Dec degrees", &D::m_nDecDegreesField, kNone, "", Shown::Field},
        {"m_nDecMinutesField", "Dec minutes", &D::m_nDecMinutesField, kNone, "", Shown::Field},
        {"m_nDecSecondsField", "Dec seconds", &D::m_nDecSecondsField, kNone, "", Shown::Field},
        {.name = "m_strEpoch",
         .label = "Epoch",
         .pointer = &D::m_strEpoch,
         .defaultText = "J2000.0"},
        {.name = "m_nLabelCount",
         .label = "Label count",
         .pointer = &D::m_nLabelCount,
         .defaultValue = 1,
         .group = "Labels"},
        {"m_anLabelField", "Label fields", &D::m_anLabelField, kNone, "", Shown::Field},
        {"m_astrLabelPrefix", "Label prefixes", &D::m_astrLabelPrefix},
        {.name = "m_nSizeFields",
         .label = "Size fields",
         .pointer = &D::m_nSizeFields,
         .shown = Shown::Choice,
         .choices = kSizeFieldsNames,
         .group = "Size"},
        {.name = "m_nSizeUnits",
         .label = "Size units",
         .pointer = &D::m_nSizeUnits,
         .shown = Shown::Choice,
         .choices = kSizeUnitNames},
        {.name = "m_nSizeMeaning",
         .label = "Size gives",
         .pointer = &D::m_nSizeMeaning,
         .defaultValue = 1,
         .shown = Shown::Choice,
         .choices = kSizeMeaningNames},
        {"m_nMajorAxisField", "Major axis", &D::m_nMajorAxisField, kNone, "", Shown::Field},
        {"m_nMinorAxisField", "Minor axis", &D::m_nMinorAxisField, kNone, "", Shown::Field},
        {"m_bPositionAngle", "Position angle", &D::m_bPositionAngle, 0, "", Shown::Flag},
        {"m_nPositionAngleField", "Angle field", &D::m_nPositionAngleField, kNone, "",
         Shown::Field},
        {.name = "m_nMagnitudeCount",
         .label = "Magnitude count",
         .pointer = &D::m_nMagnitudeCount,
         .group = "Magnitudes"},
        {"m_anMagnitudeField", "Magnitude fields", &D::m_anMagnitudeField, kNone, "", Shown::Field},
        {.name = "m_nDefaultType",
         .label = "Default type",
         .pointer = &D::m_nDefaultType,
         .shown = Shown::ObjectType,
         .group = "Object type and colour"},
        {"m_nDefaultSymbol", "Default symbol", &D::m_nDefaultSymbol, 0, "", Shown::Symbol},
        {.name = "m_nColourMode",
         .label = "Colour mode",
         .pointer = &D::m_nColourMode,
         .shown = Shown::Choice,
         .choices = kColourModeNames},
        {"m_crScreenColour", "Screen colour", &D::m_crScreenColour, 0x00FFFFFF},
        {"m_crPrinterColour", "Printer colour", &D::m_crPrinterColour, 0x00000000},
        {.name = "m_nTypeMode",
         .label = "Type mode",
         .pointer = &D::m_nTypeMode,
         .shown = Shown::Choice,
         .choices = kTypeModeNames,
         .storage = kSinceVersion2},
        {.name = "m_aUserSymbols",
         .label = "User symbols",
         .pointer = &D::m_aUserSymbols,
         .storage = kSinceVersion2 | kNotInCatalogue},
        {.name = "m_aTypeRules",
         .label = "Type rules",
         .pointer = &D::m_aTypeRules,
         .storage = kSinceVersion2 | kNotInCatalogue},
    };
};

// Calls visit(member, value) for every member of owner in table order; value is a reference to
// owner's member (const when owner is const), so visit tells the kinds apart by its type.
template <typename Owner, typename Visit>
void ForEachMember(Owner& owner, Visit&& visit) {
    using Plain = std::remove_const_t<Owner>;
    for (const Member<Plain>& member : MemberTable<Plain>::kMembers) {
        std::visit([&](auto pointer) { visit(member, owner.*pointer); }, member.pointer);
    }
}

// Sets every member of definition to its default.
void ResetDefinition(Definition& definition);
