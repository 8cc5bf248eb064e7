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

// The hour of right ascension of an RA key: the key divided by 360000 and by 15, both
// truncating, so that keys above -1h count as hour 0 and lower ones as hours below 0, which
// no element of the hour index covers; a key of 24h or more counts as hour 23.
int HourOfRaKey(int raKey);

// Fills doc.m_anHourIndex from the sorted table: element h is the position of the first
// entry whose hour is h or more, the entry count where there is none.
void BuildHourIndex(CCatforgeDoc& doc);
