#include "core/browse/RawFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/io/FileReading.h"

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
    return ReadFully(m_nFd, buffer, size, offset);
}
