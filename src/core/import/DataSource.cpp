#include "core/import/DataSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <climits>
#include <cstring>

#include "core/io/FileReading.h"
#include "core/io/InputFile.h"

namespace {

constexpr unsigned char kGzipMagic0 = 0x1F;
constexpr unsigned char kGzipMagic1 = 0x8B;
constexpr unsigned kGzipBufferSize = 1u << 17;

// Reads up to size bytes of a plain file, from offset or (offset < 0) from the file position.
// On an error sets error and returns -1.
long ReadPlain(int fd, char* buffer, std::size_t size, std::int64_t offset, const std::string& path,
               std::string& error) {
    if (fd < 0)
        return -1;
    if (size > static_cast<std::size_t>(INT_MAX))
        size = static_cast<std::size_t>(INT_MAX);
    int readError = 0;
    const std::size_t got = ReadFully(fd, buffer, size, offset, &readError);
    if (readError != 0) {
        error = "cannot read \"" + path + "\": " + std::strerror(readError);
        return -1;
    }
    return static_cast<long>(got);
}

}  // namespace

CDataSource::~CDataSource() {
    Close();
}

void CDataSource::Close() {
    if (m_pGz != nullptr) {
        gzclose_r(static_cast<gzFile>(m_pGz));
        m_pGz = nullptr;
        m_nFd = -1;  // closed by gzclose_r
    }
    if (m_nFd >= 0) {
        ::close(m_nFd);
        m_nFd = -1;
    }
    m_bCompressed = false;
}

bool CDataSource::Open(const std::string& path) {
    Close();
    m_strPath = path;
    m_strError.clear();
    // Read twice (to measure, then to write), so only a regular file will do.
    std::string kind;
    m_nFd = OpenInputFile(path, kind);
    if (m_nFd < 0) {
        m_strError = kind.empty() ? "cannot open \"" + path + "\": " + std::strerror(errno)
                                  : NotARegularFile(path, kind) + ".";
        return false;
    }
    // Look at the first two bytes, then go back to the start.
    char magic[2] = {0, 0};
    const long got = ReadPlain(m_nFd, magic, sizeof magic, 0, path, m_strError);
    if (got < 0) {
        Close();
        return false;
    }
    m_bCompressed = got == 2 && static_cast<unsigned char>(magic[0]) == kGzipMagic0 &&
                    static_cast<unsigned char>(magic[1]) == kGzipMagic1;
    if (m_bCompressed) {
        gzFile gz = gzdopen(m_nFd, "rb");
        if (gz == nullptr) {
            m_strError = "cannot read \"" + path + "\": out of memory";
            Close();
            return false;
        }
        gzbuffer(gz, kGzipBufferSize);
        m_pGz = gz;
        m_bCompressed = true;
    } else {
        ::posix_fadvise(m_nFd, 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    return true;
}

long CDataSource::Read(char* buffer, std::size_t size) {
    if (m_pGz != nullptr) {
        if (size > static_cast<std::size_t>(INT_MAX))
            size = static_cast<std::size_t>(INT_MAX);
        gzFile gz = static_cast<gzFile>(m_pGz);
        const int got = gzread(gz, buffer, static_cast<unsigned>(size));
        if (got < 0) {
            int code = 0;
            const char* message = gzerror(gz, &code);
            m_strError = "\"" + m_strPath + "\" is not a readable gzip file: " +
                         (code == Z_ERRNO ? std::strerror(errno) : message);
            return -1;
        }
        if (got == 0) {
            // gzread reports a stream cut short only through gzerror.
            int code = 0;
            const char* message = gzerror(gz, &code);
            if (code != Z_OK && code != Z_STREAM_END) {
                m_strError =
                    "\"" + m_strPath + "\" is not a readable gzip file: " + std::string(message);
                return -1;
            }
        }
        return got;
    }
    return ReadPlain(m_nFd, buffer, size, -1, m_strPath, m_strError);
}

std::int64_t CDataSource::PlainSize() const {
    struct stat st {};
    if (m_bCompressed || m_nFd < 0 || ::fstat(m_nFd, &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    return static_cast<std::int64_t>(st.st_size);
}

long CDataSource::ReadAt(char* buffer, std::size_t size, std::int64_t offset,
                         std::string& error) const {
    if (m_bCompressed)
        return -1;
    return ReadPlain(m_nFd, buffer, size, offset, m_strPath, error);
}
