// Little-endian reading and writing of the binary files' integers, floats and strings: the one
// byte-order codec of the program.
//
// The Load and Store functions read and write one value at a pointer, for fixed layouts such
// as a catalogue entry.
//
// CByteReader reads from a memory buffer with a bounds check before every read and a sticky
// failure: after the first failed read every later read fails and returns zero values, and
// Error() tells what went wrong and at which offset. Lengths are checked against the bytes
// left before anything is allocated.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

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
    StoreUInt32(p, std::bit_cast<std::uint32_t>(v));
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
    return std::bit_cast<float>(LoadUInt32(p));
}

class CByteReader {
public:
    CByteReader(const void* data, std::size_t size)
        : m_p(static_cast<const unsigned char*>(data)), m_nSize(size) {}
    explicit CByteReader(std::string_view bytes) : CByteReader(bytes.data(), bytes.size()) {}

    [[nodiscard]] bool Failed() const { return m_bFailed; }
    [[nodiscard]] const std::string& Error() const { return m_strError; }
    [[nodiscard]] std::size_t Offset() const { return m_nOffset; }
    [[nodiscard]] std::size_t Remaining() const { return m_nSize - m_nOffset; }

    std::uint32_t ReadUInt32() {
        unsigned char b[4] = {};
        return Take(b, 4, "a 4-byte integer") ? LoadUInt32(b) : 0;
    }
    std::int32_t ReadInt32() { return static_cast<std::int32_t>(ReadUInt32()); }
    std::int16_t ReadInt16() {
        unsigned char b[2] = {};
        return Take(b, 2, "a 2-byte integer") ? LoadInt16(b) : 0;
    }
    float ReadFloat() { return std::bit_cast<float>(ReadUInt32()); }

    // n raw bytes; fails (reading nothing) when fewer are left.
    std::string ReadBytes(std::size_t n, const char* what = "bytes") {
        std::string out;
        if (m_bFailed)
            return out;
        if (n > Remaining()) {
            Fail(std::string("expected ") + std::to_string(n) + " " + what + ", only " +
                 std::to_string(Remaining()) + " left");
            return out;
        }
        out.assign(reinterpret_cast<const char*>(m_p + m_nOffset), n);
        m_nOffset += n;
        return out;
    }

    // A 32-bit byte count followed by that many bytes.
    std::string ReadString(const char* what = "string") {
        const std::size_t at = m_nOffset;
        const std::int32_t n = ReadInt32();
        if (m_bFailed)
            return {};
        if (n < 0) {
            FailAt(at, std::string("negative length ") + std::to_string(n) + " of " + what);
            return {};
        }
        if (static_cast<std::size_t>(n) > Remaining()) {
            FailAt(at, std::string("length ") + std::to_string(n) + " of " + what +
                           " exceeds the " + std::to_string(Remaining()) + " bytes left");
            return {};
        }
        return ReadBytes(static_cast<std::size_t>(n), what);
    }

    // A count of items each at least minItemSize bytes long; fails when negative or when the
    // rest of the buffer could not hold that many.
    std::int32_t ReadCount(std::size_t minItemSize, const char* what) {
        const std::size_t at = m_nOffset;
        const std::int32_t n = ReadInt32();
        if (m_bFailed)
            return 0;
        if (n < 0) {
            FailAt(at, std::string("negative count ") + std::to_string(n) + " of " + what);
            return 0;
        }
        if (minItemSize > 0 && static_cast<std::size_t>(n) > Remaining() / minItemSize) {
            FailAt(at, std::string("count ") + std::to_string(n) + " of " + what +
                           " exceeds what the " + std::to_string(Remaining()) +
                           " bytes left can hold");
            return 0;
        }
        return n;
    }

    void Fail(const std::string& what) { FailAt(m_nOffset, what); }
    // Fails for what was wrong with the item that began at offset.
    void FailAt(std::size_t offset, const std::string& what) {
        if (m_bFailed)
            return;
        m_bFailed = true;
        m_strError = "at byte " + std::to_string(offset) + ": " + what;
    }

private:
    bool Take(unsigned char* out, std::size_t n, const char* what) {
        if (m_bFailed)
            return false;
        if (n > Remaining()) {
            Fail(std::string("file ends early: expected ") + what);
            return false;
        }
        std::memcpy(out, m_p + m_nOffset, n);
        m_nOffset += n;
        return true;
    }
    const unsigned char* m_p;
    std::size_t m_nSize;
    std::size_t m_nOffset = 0;
    bool m_bFailed = false;
    std::string m_strError;
};

// Appends little-endian values to a byte string.
class CByteWriter {
public:
    explicit CByteWriter(std::string& out) : m_out(out) {}

    void WriteUInt32(std::uint32_t v) {
        unsigned char b[4];
        StoreUInt32(b, v);
        m_out.append(reinterpret_cast<const char*>(b), 4);
    }
    void WriteInt32(std::int32_t v) { WriteUInt32(static_cast<std::uint32_t>(v)); }
    void WriteInt16(std::int16_t v) {
        unsigned char b[2];
        StoreInt16(b, v);
        m_out.append(reinterpret_cast<const char*>(b), 2);
    }
    void WriteFloat(float v) { WriteUInt32(std::bit_cast<std::uint32_t>(v)); }
    void WriteBytes(std::string_view bytes) { m_out.append(bytes); }
    void WriteString(std::string_view s) {
        WriteInt32(static_cast<std::int32_t>(s.size()));
        m_out.append(s);
    }

private:
    std::string& m_out;
};
