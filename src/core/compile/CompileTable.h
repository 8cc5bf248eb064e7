// The compile table after decoding: sorting it by RA key, its first and last keys and the
// index by hour of right ascension.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/compile/KeyUnits.h"

class CCatforgeDoc;

// Sorts the table in place by ascending RA key; entries with equal keys keep their order.
// Then sets the first and last keys (when there are entries) and builds the hour index.
void SortCompileTable(CCatforgeDoc& doc);

// The hour of right ascension of an RA key: the key divided by 360000 and by 15, both
// truncating, so that keys above -1h count as hour 0 and lower ones as hours below 0, which
// no element of the hour index covers; a key of 24h or more counts as hour 23.
int HourOfRaKey(int raKey);

// Counts keys by hour, for the hour index of a table that is never held sorted as a whole.
// With the keys counted, Index() is what BuildHourIndex gives for the same keys in order.
class CHourCounts {
public:
    void Add(int raKey) { ++m_anCounts[static_cast<std::size_t>(Bucket(raKey))]; }
    void Add(const CHourCounts& other);
    std::array<int, 24> Index() const;

private:
    // Hours below 0 (keys of -1h and less) share a bucket before hour 0; above 23 (should the
    // hour of a key ever give one) another after it.
    static int Bucket(int raKey) { return std::clamp(HourOfRaKey(raKey), -1, 24) + 1; }
    std::array<std::int64_t, 26> m_anCounts{};
};

// Fills doc.m_anHourIndex from the sorted table: element h is the position of the first
// entry whose hour is h or more, the entry count where there is none.
void BuildHourIndex(CCatforgeDoc& doc);
