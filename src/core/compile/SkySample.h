// The objects of a data file as a definition decodes them, for the sky map: decoded with the
// compile's own record decoder, every record of a file up to a limit, an even sample beyond.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CCatforgeDoc;

// Above this many records the map shows an even sample of this many.
inline constexpr std::size_t kSkySampleLimit = 1000000;

struct SkyObject {
    std::uint32_t record = 0;    // 0-based record number in the data file
    float ra = 0;                // radians, J2000.0
    float dec = 0;               // radians, J2000.0
    std::int16_t magnitude = 0;  // hundredths; 9999 none
    std::int16_t type = 0;
    std::array<char, 32> label{};  // NUL-terminated
};

struct SkySample {
    std::vector<SkyObject> objects;    // only records with a position
    std::size_t recordCount = 0;       // whole records in the file
    std::size_t decoded = 0;           // records read and decoded (all, or the sample)
    bool sampled = false;              // decoded < recordCount
    std::size_t withoutPosition = 0;   // decoded records whose RA or Dec text is blank
    std::size_t withoutMagnitude = 0;  // decoded records whose magnitude texts are all blank
    // Why there is nothing to show (no record length, a field the definition uses is
    // missing, the data file cannot be read); empty when decoding ran.
    std::string problem;
};

// Decodes the records of the data file at dataPath by doc. Stops early, returning false, as
// soon as cancel is set; otherwise returns true (sample.problem tells when nothing could be
// decoded). doc is only read.
bool DecodeSkySample(const CCatforgeDoc& doc, const std::string& dataPath,
                     const std::atomic<bool>& cancel, SkySample& sample,
                     std::size_t limit = kSkySampleLimit);

// One line for under the map: "1,234 records; 12 without a position, 340 without a
// magnitude" (or the problem).
std::string FormatSkySampleSummary(const SkySample& sample);
