// A data file opened read-only for reading bytes at any offset, files past 4 GB included.
// Directories and other things that are not regular files do not open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CRawFile {
public:
    CRawFile() = default;
    ~CRawFile();
    CRawFile(const CRawFile&) = delete;
    CRawFile& operator=(const CRawFile&) = delete;

    // Opens path for reading; false when it cannot be opened or is not a regular file.
    [[nodiscard]] bool Open(const std::string& path);
    void Close();
    [[nodiscard]] bool IsOpen() const { return m_nFd >= 0; }

    // Length of the file in bytes, as it was when opened.
    [[nodiscard]] std::int64_t Length() const { return m_nLength; }

    // Reads up to size bytes at offset; returns how many came (fewer at the end of the file
    // or on a read error).
    std::size_t ReadAt(std::int64_t offset, void* buffer, std::size_t size) const;

private:
    int m_nFd = -1;
    std::int64_t m_nLength = 0;
};
