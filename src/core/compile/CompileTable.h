// The compile table after decoding: sorting it by RA key, its first and last keys and the
// index by hour of right ascension.
#pragma once

#include <array>
#include <cstddef>

class CCatforgeDoc;

// RA key units in one hour of right ascension (15 degrees of 360000 units).
inline constexpr int kRaKeysPerHour = 5400000;

// Sorts the table in place by ascending RA key; entries with equal keys keep their order.
// Then sets the first and last keys (when there are entries) and builds the hour index.
void SortCompileTable(CCatforgeDoc& doc);

// The hour of right ascension of an RA key, 0..23: a key of 24h or more counts as hour 23,
// a negative key as hour 0.
int HourOfRaKey(int raKey);

// Fills doc.m_anHourIndex from the sorted table: element h is the position of the first
// entry whose hour is h or more, the entry count where there is none.
void BuildHourIndex(CCatforgeDoc& doc);
