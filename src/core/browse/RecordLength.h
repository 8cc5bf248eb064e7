// Working out a data file's record length from its first end-of-line sequence.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class IUserInteraction;

// How far detection looks for an end of line.
inline constexpr int kRecordLengthSearchLimit = 1000;

// The length of the first record of a file whose first bytes are head and whose whole length
// is fileLength: every byte up to and including the first line feed, the first carriage
// return, or a carriage return and the line feed right behind it. Only the first 1000 bytes
// are searched, though a carriage return as the 1000th byte still takes a line feed behind
// it (1001). Nothing when no end of line lies within the limit (an empty file included).
// head must hold the file's first min(fileLength, 1001) bytes.
std::optional<int> FindRecordLength(std::string_view head, std::int64_t fileLength);

// Detects the record length of the data file at path. Failures are shown through ui:
// an empty path, a file that cannot be opened, no end of line found.
std::optional<int> DetectRecordLength(const std::string& path, IUserInteraction& ui);
