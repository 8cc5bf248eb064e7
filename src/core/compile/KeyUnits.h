// Angles in the compile and in the catalogue's position keys, named once.
#pragma once

#include <numbers>

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kDegreesToRadians = std::numbers::pi / 180;
inline constexpr double kRadiansToDegrees = 180 / std::numbers::pi;

// RA and Dec keys count 0.01 arcsecond: 360000 units to the degree.
inline constexpr int kKeyUnitsPerDegree = 360000;
// RA key units in one hour of right ascension (15 degrees).
inline constexpr int kRaKeysPerHour = 15 * kKeyUnitsPerDegree;
