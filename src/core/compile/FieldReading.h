// Cutting fields out of a record and reading them as numbers.
//
// The readings give exactly what the C library's strtol and strtod give in the "C" locale,
// whatever the process locale is: leading white space skipped, an optional sign, and reading
// stops at the first character that does not fit; text without a number reads as 0.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/model/DefinitionRecords.h"

// The text of a field: the bytes at record positions start-1 .. end-1, ended early by a NUL
// byte, and clipped to the record (a field reaching past it gives the part inside).
std::string_view FieldText(const char* record, std::size_t recordLength,
                           const FieldDefinition& field);

// Where a field lies in the records of one length, worked out once for a whole file.
struct FieldCut {
    std::size_t offset = 0;
    std::size_t length = 0;  // 0: no text (no field, or one wholly outside the record)
};
FieldCut CutOfField(const FieldDefinition& field, std::size_t recordLength);

// FieldText by a cut; hasNul tells whether the record holds a NUL byte anywhere (when it does
// not, no field text needs to be searched for one).
inline std::string_view CutText(const char* record, FieldCut cut, bool hasNul) {
    const char* begin = record + cut.offset;
    std::size_t n = cut.length;
    if (hasNul) {
        n = 0;
        while (n < cut.length && begin[n] != '\0')
            ++n;
    }
    return {begin, n};
}

// True when the text is empty or only white space (space, \t, \n, \v, \f, \r).
bool IsBlank(std::string_view text);

// As (int)strtol(text, nullptr, 10) in the "C" locale.
int ReadInteger(std::string_view text);

// As strtod(text, nullptr) in the "C" locale (inf, nan and hex floats included).
double ReadDecimal(std::string_view text);

// As ReadDecimal; consumed receives the number of bytes that strtod's end pointer passed
// (0 when no number was read).
double ReadDecimalPrefix(std::string_view text, std::size_t& consumed);

// Rounds half away from zero: trunc(x + 0.5) for x >= 0, trunc(x - 0.5) otherwise, as int.
// A result outside int (or a NaN) gives INT_MIN, as TruncateToInt.
int RoundHalfAway(double x);

// Truncation toward zero as int. Where that does not fit an int, or x is a NaN, the result is
// INT_MIN (0x80000000), the value the x86 conversion instruction gives, instead of undefined
// behaviour; its low 16 bits are 0.
int TruncateToInt(double x);
