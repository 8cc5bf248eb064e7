// The checks of the single-field dialog and the whole-number reading of the digit boxes,
// without any widget.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/model/DefinitionRecords.h"

// Refusal of a number box whose text is not a whole number.
inline constexpr const char* kNotAWholeNumber = "Please enter a whole number.";

// A whole number: optional blanks around an optional sign and decimal digits, within the
// range of a 32-bit int. Nothing for anything else (an empty text included).
std::optional<int> ReadWholeNumber(std::string_view text);

// The boxes of the field dialog, as typed.
struct FieldEntryText {
    std::string name;
    std::string unit;
    std::string startCol;
    std::string endCol;
};

// Which box a refusal is about, so the dialog can put the focus there.
enum class FieldEntryBox { Name, Unit, StartCol, EndCol };

struct FieldEntryRefusal {
    std::string message;
    FieldEntryBox box;
};

// Reads and checks the boxes in the dialog's order: the two column boxes as whole numbers
// (end column first), then the name present, the start and end columns in 1..9999 and the
// end not before the start. Gives the first refusal, or nothing when field holds the entry.
std::optional<FieldEntryRefusal> CheckFieldEntry(const FieldEntryText& text,
                                                 FieldDefinition& field);
