#include "core/browse/RawFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/io/InputFile.h"

CRawFile::~CRawFile() {
    Close();
}

bool CRawFile::Open(const std::string& path) {
    Close();
    std::string kind;
    const int fd = OpenInputFile(path, kind);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return false;
    }
    m_nFd = fd;
    m_nLength = static_cast<std::int64_t>(info.st_size);
    return true;
}

void CRawFile::Close() {
    if (m_nFd >= 0)
        ::close(m_nFd);
    m_nFd = -1;
    m_nLength = 0;
}

std::size_t CRawFile::ReadAt(std::int64_t offset, void* buffer, std::size_t size) const {
    if (m_nFd < 0 || offset < 0)
        return 0;
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(m_nFd, out + done, size - done,
                                  static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}
