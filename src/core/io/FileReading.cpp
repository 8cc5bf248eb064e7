#include "core/io/FileReading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

std::size_t ReadFully(int fd, void* buffer, std::size_t size, std::int64_t offset, int* error) {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    if (error != nullptr)
        *error = 0;
    while (done < size) {
        // One read call takes at most INT_MAX bytes on some systems.
        const std::size_t want = std::min<std::size_t>(size - done, INT_MAX);
        const ssize_t got =
            offset < 0 ? ::read(fd, out + done, want)
                       : ::pread(fd, out + done, want,
                                 static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && error != nullptr)
            *error = errno;
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

int OpenForReading(const std::string& path, std::string* error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error != nullptr)
            *error = "cannot open \"" + path + "\": " + std::strerror(errno);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        if (error != nullptr)
            *error = "\"" + path + "\" is a folder";
        return -1;
    }
    return fd;
}

bool ReadRest(int fd, const std::string& path, std::string& bytes, std::size_t maxSize,
              std::string* error) {
    constexpr std::size_t kBlock = std::size_t{1} << 16;
    while (bytes.size() < maxSize) {
        const std::size_t want = std::min(kBlock, maxSize - bytes.size());
        const std::size_t before = bytes.size();
        bytes.resize(before + want);
        int readError = 0;
        const std::size_t got = ReadFully(fd, bytes.data() + before, want, -1, &readError);
        bytes.resize(before + got);
        if (readError != 0) {
            if (error != nullptr)
                *error = "cannot read \"" + path + "\": " + std::strerror(readError);
            return false;
        }
        if (got < want)
            break;
    }
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error,
                   std::size_t maxSize) {
    bytes.clear();
    const int fd = OpenForReading(path, error);
    if (fd < 0)
        return false;
    const bool ok = ReadRest(fd, path, bytes, maxSize, error);
    ::close(fd);
    return ok;
}
