// Writing an output file whole or not at all, whatever the name given stands for.
//
// - A regular file, or a name that does not exist yet (a symbolic link is followed to the file
//   it points to, which is the one written; the link stays): the bytes go to a new file in the
//   target's folder that has no name while it is written (O_TMPFILE), so a process killed at
//   any moment leaves nothing behind. It takes the mode (and, where permitted, the owner) of
//   the file it replaces, is flushed to disk and then takes the target's name in one rename.
//   Until Commit the previous file is untouched. Where the file system has no unnamed files, a
//   named one "<target>.tmp-XXXXXX" is used instead and removed on failure and on the signals
//   that can be caught (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE).
// - A regular file with other hard links, or one the user may write in a folder they may not:
//   a rename would split the links or is not allowed, so the file is written in place. The
//   bytes are first staged whole in an unnamed temporary file; Commit reserves the room in the
//   target (so a full disk is found before anything changes), copies the staged bytes over its
//   start, cuts it to length and flushes it. Links, mode and owner stay as they were. Only a
//   failure in the middle of that copy (a disk error, or the process killed) can leave it mixed.
// - A FIFO, a character device or another special file: written directly, as a shell
//   redirection would; there is nothing to replace.
//
// A file that can be made again from its source (a normalised copy of a data file) may skip
// the flush to disk: it is still put in place whole, but a crash soon afterwards can lose it,
// as it would lose a cp.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class CAtomicFile {
public:
    enum class Durability { Synced, Unsynced };
    enum class Method {
        Replace,  // a new file takes the target's name
        InPlace,  // staged, then copied into the existing file
        Direct,   // written straight into a FIFO or device
    };

    CAtomicFile();
    ~CAtomicFile();
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    // Looks at what target is and opens what the bytes are written to (see above). A FIFO
    // waits here for its reader.
    [[nodiscard]] bool Open(const std::string& target, Durability durability = Durability::Synced);
    [[nodiscard]] bool Write(const void* data, std::size_t size);
    [[nodiscard]] bool Write(std::string_view bytes) { return Write(bytes.data(), bytes.size()); }
    // Puts the bytes in place: flush, then rename (or copy into the file in place, or close).
    [[nodiscard]] bool Commit();
    // Drops what was written; the target stays as it was (a FIFO or device keeps what it got).
    void Abort();

    Method GetMethod() const { return m_method; }
    // What failed, with the system's reason (for messages that go beyond the fixed texts).
    const std::string& Error() const { return m_strError; }

    // For tests: called before each system call of the writer that can fail, with its name
    // ("open", "open-unnamed" for an O_TMPFILE file, "write", "fsync", "linkat", "rename",
    // ...); a non-zero result makes that call fail with that errno. May be called from the
    // thread that writes, and ("fdatasync") from the one that flushes a large file while it is
    // written.
    using FaultHook = int (*)(const char* call);
    static void SetFaultHook(FaultHook hook);

private:
    class CBackgroundSync;

    bool Fail(const std::string& what, int error);
    bool OpenTemporary(const std::string& folder, bool forStaging);
    bool CommitReplace();
    bool CommitInPlace();
    void StartWriteback();
    int StopBackgroundSync();

    static constexpr std::size_t kWritebackStep = std::size_t{16} << 20;

    Method m_method = Method::Replace;
    int m_nFd = -1;           // what Write writes to: the new file, the staging file or the target
    int m_nTargetFd = -1;     // the file written in place
    std::string m_strTarget;  // the name given, for messages
    std::string m_strResolved;  // the file that is written, symbolic links followed
    std::string m_strTemp;      // the named temporary file, when there is one
    std::string m_strError;
    std::size_t m_nWritten = 0;
    std::size_t m_nFlushStarted = 0;
    bool m_bSynced = true;
    bool m_bUnnamed = false;  // m_nFd is an O_TMPFILE file
    bool m_bNewFile = false;  // the target did not exist
    int m_nCleanupSlot = -1;  // where m_strTemp is registered for removal on signals
    std::unique_ptr<CBackgroundSync> m_pSync;  // flushing the new file while it is written
};

// Writes bytes to path through a CAtomicFile.
[[nodiscard]] bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                                       std::string* error = nullptr);
