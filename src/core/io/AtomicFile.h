// Writing a file whole or not at all: the bytes go to a temporary file beside the target,
// which is flushed to disk and renamed over the target only when everything was written.
// Until Commit succeeds the previous file is untouched; an abandoned write removes the
// temporary file.
//
// A file that can be made again from its source (a normalised copy of a data file) may skip
// the flush to disk: it is still renamed into place whole, but a crash soon afterwards can
// lose it, as it would lose a cp.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class CAtomicFile {
public:
    enum class Durability { Synced, Unsynced };

    CAtomicFile() = default;
    ~CAtomicFile();
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    // Creates the temporary file in the target's folder.
    [[nodiscard]] bool Open(const std::string& target, Durability durability = Durability::Synced);
    [[nodiscard]] bool Write(const void* data, std::size_t size);
    [[nodiscard]] bool Write(std::string_view bytes) { return Write(bytes.data(), bytes.size()); }
    // Syncs (unless Unsynced), closes and renames the temporary file over the target.
    [[nodiscard]] bool Commit();
    // Drops the temporary file; the target stays as it was.
    void Abort();

    // What failed, with the system's reason (for messages that go beyond the fixed texts).
    const std::string& Error() const { return m_strError; }

private:
    bool Fail(const char* what);
    void StartWriteback();

    static constexpr std::size_t kWritebackStep = std::size_t{16} << 20;

    int m_nFd = -1;
    std::string m_strTarget;
    std::string m_strTemp;
    std::string m_strError;
    std::size_t m_nWritten = 0;
    std::size_t m_nFlushStarted = 0;
    bool m_bSynced = true;
};

// Writes bytes to path through a CAtomicFile.
[[nodiscard]] bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                                       std::string* error = nullptr);
