// One decoded record as it stands in the compile table and in the compiled catalogue: 68 fixed
// bytes, little-endian, without padding, followed by the raw record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

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

inline void StoreUInt32(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}
inline void StoreInt32(unsigned char* p, std::int32_t v) {
    StoreUInt32(p, static_cast<std::uint32_t>(v));
}
inline void StoreInt16(unsigned char* p, std::int16_t v) {
    const auto u = static_cast<std::uint16_t>(v);
    p[0] = static_cast<unsigned char>(u);
    p[1] = static_cast<unsigned char>(u >> 8);
}
inline void StoreFloat(unsigned char* p, float v) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &v, 4);
    StoreUInt32(p, bits);
}
inline std::uint32_t LoadUInt32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
inline std::int32_t LoadInt32(const unsigned char* p) {
    return static_cast<std::int32_t>(LoadUInt32(p));
}
inline std::int16_t LoadInt16(const unsigned char* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | p[1] << 8));
}
inline float LoadFloat(const unsigned char* p) {
    const std::uint32_t bits = LoadUInt32(p);
    float v = 0;
    std::memcpy(&v, &bits, 4);
    return v;
}

// The low 16 bits of a value, as the entry's int16 fields keep it.
inline std::int16_t Low16(std::int32_t v) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(v)));
}

}  // namespace catalog_object
