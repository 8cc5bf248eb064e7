// Field texts and their number readings.
//
// The readings reproduce strtol and strtod of the "C" locale without touching the process
// locale. Plain decimal numbers, which is what catalogues hold, are read with std::from_chars
// (locale-free and correctly rounded, as strtod is). The rare rest (hexadecimal floats,
// infinities, NaNs with their payloads, results that overflow or underflow) goes to strtod_l
// on a "C" locale object made once, so that every corner behaves as the C library does.
#include "core/compile/FieldReading.h"

#include <locale.h>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

bool IsCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The "C" locale, made on first use and kept for the life of the process.
locale_t CLocale() {
    static const locale_t s_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return s_locale;
}

// strtod_l on a NUL-terminated copy of text (a NUL inside text ends the copy's number too).
double StrtodC(std::string_view text, std::size_t& consumed) {
    char small[128];
    std::string large;
    char* copy = small;
    if (text.size() < sizeof small) {
        std::memcpy(small, text.data(), text.size());
        small[text.size()] = '\0';
    } else {
        large.assign(text);
        copy = large.data();
    }
    char* end = copy;
    const double value = strtod_l(copy, &end, CLocale());
    consumed = static_cast<std::size_t>(end - copy);
    return value;
}

}  // namespace

FieldCut CutOfField(const FieldDefinition& field, std::size_t recordLength) {
    // Columns are 1-based and inclusive; keep the part that lies inside the record.
    const long long first = std::max(static_cast<long long>(field.m_nStartCol) - 1, 0LL);
    const long long last =
        std::min(static_cast<long long>(field.m_nEndCol), static_cast<long long>(recordLength));
    if (first >= last)
        return {};
    return {static_cast<std::size_t>(first), static_cast<std::size_t>(last - first)};
}

std::string_view FieldText(const char* record, std::size_t recordLength,
                           const FieldDefinition& field) {
    if (record == nullptr)
        return {};
    return CutText(record, CutOfField(field, recordLength), true);
}

bool IsBlank(std::string_view text) {
    for (const char c : text) {
        if (!IsCSpace(c))
            return false;
    }
    return true;
}

int ReadInteger(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate the magnitude; strtol clamps to LONG_MIN / LONG_MAX when it does not fit.
    const std::uint64_t limit =
        negative ? static_cast<std::uint64_t>(LONG_MAX) + 1 : static_cast<std::uint64_t>(LONG_MAX);
    std::uint64_t magnitude = 0;
    bool clamped = false;
    for (; i < n && IsDigit(text[i]); ++i) {
        const auto digit = static_cast<std::uint64_t>(text[i] - '0');
        if (!clamped) {
            if (magnitude > (limit - digit) / 10) {
                clamped = true;
                magnitude = limit;
            } else {
                magnitude = magnitude * 10 + digit;
            }
        }
    }
    // Two's complement negation in 64 bits, then the conversion to int keeps the low 32 bits.
    const std::uint64_t bits = negative ? ~magnitude + 1 : magnitude;
    return static_cast<int>(static_cast<std::uint32_t>(bits));
}

double ReadDecimalPrefix(std::string_view text, std::size_t& consumed) {
    consumed = 0;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* p = begin;
    while (p != end && IsCSpace(*p))
        ++p;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    if (p == end)
        return 0.0;

    // What from_chars reads differently from strtod: hexadecimal floats ("0x" prefix),
    // infinities and NaNs (strtod keeps a NaN's payload). Leave those to the C library.
    const char c = *p;
    const bool plainDecimal = IsDigit(c) || c == '.';
    const bool hexPrefix = c == '0' && end - p >= 3 && (p[1] == 'x' || p[1] == 'X') &&
                           (IsHexDigit(p[2]) || (p[2] == '.' && end - p >= 4 && IsHexDigit(p[3])));
    if (!plainDecimal || hexPrefix) {
        if (c != 'i' && c != 'I' && c != 'n' && c != 'N' && !hexPrefix)
            return 0.0;
        return StrtodC(text, consumed);
    }

    // Most catalogue numbers are a few digits with a point and no exponent. With at most 15
    // digits such a number is an integer below 2^53 over a power of ten up to 10^15, both exact
    // in a double, so the one division rounds correctly, as from_chars does. Anything else
    // goes to from_chars.
    {
        static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                  1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        std::uint64_t mantissa = 0;  // wraps harmlessly past 15 digits, which are not used
        const char* q = p;
        for (; q != end && IsDigit(*q); ++q)
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*q - '0');
        std::ptrdiff_t digits = q - p;
        std::ptrdiff_t scale = 0;
        if (q != end && *q == '.') {
            const char* fraction = ++q;
            for (; q != end && IsDigit(*q); ++q)
                mantissa = mantissa * 10 + static_cast<std::uint64_t>(*q - '0');
            scale = q - fraction;
            digits += scale;
        }
        if (digits > 0 && digits <= 15 && (q == end || (*q != 'e' && *q != 'E'))) {
            const double value = static_cast<double>(mantissa) / kPowersOfTen[scale];
            consumed = static_cast<std::size_t>(q - begin);
            return negative ? -value : value;
        }
    }

    double value = 0.0;
    const auto [next, error] = std::from_chars(p, end, value, std::chars_format::general);
    if (error == std::errc::invalid_argument)
        return 0.0;  // "." or ".e5": no number
    if (error == std::errc::result_out_of_range) {
        // Overflow to HUGE_VAL or underflow: the C library's result, exactly.
        return StrtodC(text, consumed);
    }
    consumed = static_cast<std::size_t>(next - begin);
    return negative ? -value : value;
}

double ReadDecimal(std::string_view text) {
    std::size_t consumed = 0;
    return ReadDecimalPrefix(text, consumed);
}

int RoundHalfAway(double x) {
    return TruncateToInt(x >= 0.0 ? x + 0.5 : x - 0.5);
}

int TruncateToInt(double x) {
    // In range (and not NaN): the ordinary conversion. Otherwise the x86 "integer
    // indefinite" value that the processor's own conversion gives.
    if (x > -2147483649.0 && x < 2147483648.0)
        return static_cast<int>(x);
    return INT_MIN;
}
