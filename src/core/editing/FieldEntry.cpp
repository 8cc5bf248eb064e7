#include "core/editing/FieldEntry.h"

#include <charconv>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::optional<int> ReadWholeNumber(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return std::nullopt;
    }
    if (text.empty())
        return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<FieldEntryRefusal> CheckFieldEntry(const FieldEntryText& text,
                                                 FieldDefinition& field) {
    constexpr int kMaxColumn = 9999;
    // The number boxes are taken first, as the dialog exchanges them before the texts.
    const std::optional<int> endCol = ReadWholeNumber(text.endCol);
    if (!endCol)
        return FieldEntryRefusal{kNotAWholeNumber, FieldEntryBox::EndCol};
    const std::optional<int> startCol = ReadWholeNumber(text.startCol);
    if (!startCol)
        return FieldEntryRefusal{kNotAWholeNumber, FieldEntryBox::StartCol};

    if (text.name.empty()) {
        return FieldEntryRefusal{"You must enter a field name!", FieldEntryBox::Name};
    }
    if (*startCol < 1 || *startCol > kMaxColumn) {
        return FieldEntryRefusal{"The start column must be in the range 1-9999",
                                 FieldEntryBox::StartCol};
    }
    if (*endCol < 1 || *endCol > kMaxColumn) {
        return FieldEntryRefusal{"The end column must be in the range 1-9999",
                                 FieldEntryBox::EndCol};
    }
    if (*endCol < *startCol) {
        return FieldEntryRefusal{
            "The end column must be greater than or equal to the start column!",
            FieldEntryBox::EndCol};
    }
    field = FieldDefinition{text.name, text.unit, *startCol, *endCol};
    return std::nullopt;
}
