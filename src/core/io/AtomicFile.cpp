#include "core/io/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Permissions for a new file: those of the file it replaces, else 0666 less the umask.
mode_t ModeFor(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0)
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

CAtomicFile::~CAtomicFile() {
    Abort();
}

bool CAtomicFile::Fail(const char* what) {
    m_strError = std::string(what) + " \"" + m_strTarget + "\": " + std::strerror(errno);
    Abort();
    return false;
}

bool CAtomicFile::Open(const std::string& target, Durability durability) {
    Abort();
    m_strTarget = target;
    m_bSynced = durability == Durability::Synced;
    m_strError.clear();
    m_nWritten = 0;
    m_nFlushStarted = 0;
    std::string pattern = target + ".tmp-XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return Fail("cannot create a temporary file beside");
    m_strTemp = pattern;
    m_nFd = fd;
    ::fchmod(fd, ModeFor(target));
    return true;
}

bool CAtomicFile::Write(const void* data, std::size_t size) {
    if (m_nFd < 0)
        return false;
    // Large blocks go out a megabyte at a time: one huge write() costs the kernel far more
    // than many moderate ones.
    constexpr std::size_t kChunk = std::size_t{1} << 20;
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(m_nFd, bytes, std::min(size, kChunk));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return Fail("cannot write");
        }
        const auto part = static_cast<std::size_t>(written);
        bytes += part;
        size -= part;
        m_nWritten += part;
        if (m_bSynced && m_nWritten - m_nFlushStarted >= kWritebackStep)
            StartWriteback();
    }
    return true;
}

void CAtomicFile::StartWriteback() {
    // Hands what was written so far to the disk without waiting for it, so that the disk works
    // while we go on producing and the final sync has little left to do.
    const auto from = static_cast<off_t>(m_nFlushStarted);
    const auto length = static_cast<off_t>(m_nWritten - m_nFlushStarted);
    ::sync_file_range(m_nFd, from, length, SYNC_FILE_RANGE_WRITE);
    m_nFlushStarted = m_nWritten;
}

bool CAtomicFile::Commit() {
    if (m_nFd < 0)
        return false;
    if (m_bSynced && ::fsync(m_nFd) != 0)
        return Fail("cannot write");
    const int closed = ::close(m_nFd);
    m_nFd = -1;
    if (closed != 0)
        return Fail("cannot write");
    if (std::rename(m_strTemp.c_str(), m_strTarget.c_str()) != 0)
        return Fail("cannot replace");
    m_strTemp.clear();
    return true;
}

void CAtomicFile::Abort() {
    if (m_nFd >= 0) {
        ::close(m_nFd);
        m_nFd = -1;
    }
    if (!m_strTemp.empty()) {
        std::remove(m_strTemp.c_str());
        m_strTemp.clear();
    }
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
    CAtomicFile file;
    const bool ok = file.Open(path) && file.Write(bytes) && file.Commit();
    if (!ok && error != nullptr)
        *error = file.Error();
    return ok;
}
