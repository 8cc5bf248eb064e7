// Reading a data file as a stream of bytes, plain or gzip-compressed. A file that begins with
// the gzip magic bytes (1F 8B) is decompressed on the fly (concatenated members included);
// any other file is read as it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CDataSource {
public:
    CDataSource() = default;
    ~CDataSource();
    CDataSource(const CDataSource&) = delete;
    CDataSource& operator=(const CDataSource&) = delete;

    // Opens the file (a regular file only) and looks at its first bytes. On failure Error()
    // says why.
    [[nodiscard]] bool Open(const std::string& path);
    // Reads up to size bytes; returns how many were read, 0 at the end of the data and -1 on
    // an error (Error() says why; a damaged or truncated gzip stream is an error).
    [[nodiscard]] long Read(char* buffer, std::size_t size);
    void Close();

    bool IsCompressed() const { return m_bCompressed; }
    // The size in bytes of an open plain file, -1 for compressed input or when unknown.
    std::int64_t PlainSize() const;
    // Reads up to size bytes of a plain file at offset, without moving the stream position;
    // safe from several threads at once. Returns as Read does; on an error sets error.
    long ReadAt(char* buffer, std::size_t size, std::int64_t offset, std::string& error) const;
    const std::string& Error() const { return m_strError; }

private:
    std::string m_strPath;
    std::string m_strError;
    int m_nFd = -1;
    void* m_pGz = nullptr;  // gzFile while a compressed file is open
    bool m_bCompressed = false;
};
