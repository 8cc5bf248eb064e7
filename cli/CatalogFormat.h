// Text forms of compiled catalogue values for the command-line tool: positions from RA and
// Dec keys, magnitudes, symbol programs, CSV fields.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/symbols/SymbolLanguage.h"

// "06h38m52.500s" from an RA key (0.01 arcsecond units); negative keys get a minus.
std::string FormatRaKey(std::int32_t key);
// "+02°01′58.40″" from a Dec key.
std::string FormatDecKey(std::int32_t key);
// "14.79" from magnitude x 100; empty for 9999 (none).
std::string FormatMagnitude(std::int16_t magnitude);
// Degrees from a key, with the digits that give the key back.
std::string FormatKeyDegrees(std::int32_t key);
// The words as signed numbers ("1600 10004") and as read ("16 CIR").
std::string FormatProgramWords(const SymbolProgram& program);
std::string FormatProgramReading(const SymbolProgram& program);
// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text);
// The record without its end-of-line bytes.
std::string_view WithoutLineEnd(std::string_view record);
// Names of the user symbols of a catalogue ("User symbol 1", ...), which it does not store.
std::vector<std::string> UserSymbolNames(std::size_t count);
