// One decoded record as it stands in the compile table and in the compiled catalogue: 68 fixed
// bytes, little-endian, without padding, followed by the raw record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/io/ByteIO.h"

namespace catalog_object {

inline constexpr std::size_t kLabel = 0;  // 32 bytes, NUL-terminated, at most 31 characters
inline constexpr std::size_t kLabelSize = 32;
inline constexpr std::size_t kRaKey = 32;          // int32, 0.01 arcsecond
inline constexpr std::size_t kDecKey = 36;         // int32, 0.01 arcsecond
inline constexpr std::size_t kSinRa = 40;          // float32
inline constexpr std::size_t kCosRa = 44;          // float32
inline constexpr std::size_t kSinDec = 48;         // float32
inline constexpr std::size_t kCosDec = 52;         // float32
inline constexpr std::size_t kMagnitude = 56;      // int16, x100; 9999 none
inline constexpr std::size_t kMajorAxis = 58;      // int16, arcseconds; 0 none
inline constexpr std::size_t kMinorAxis = 60;      // int16, arcseconds; 0 none
inline constexpr std::size_t kPositionAngle = 62;  // int16, degrees; -1 none
inline constexpr std::size_t kSymbol = 64;         // int16, symbol code
inline constexpr std::size_t kType = 66;           // int16, object type code
inline constexpr std::size_t kRecord = 68;         // the raw record

// Bytes of an entry before its raw record.
inline constexpr std::size_t kFixedSize = 68;

inline constexpr std::int16_t kNoMagnitude = 9999;

// The entry's values go through the program's one little-endian codec.
using ::LoadFloat;
using ::LoadInt16;
using ::LoadInt32;
using ::LoadUInt32;
using ::StoreFloat;
using ::StoreInt16;
using ::StoreInt32;
using ::StoreUInt32;

// The low 16 bits of a value, as the entry's int16 fields keep it.
inline std::int16_t Low16(std::int32_t v) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(v)));
}

}  // namespace catalog_object
