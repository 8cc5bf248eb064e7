#include "core/io/FileReading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>

#include "core/io/InputFile.h"

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
    std::string kind;
    const int fd = OpenInputFile(path, kind);
    if (fd < 0 && error != nullptr) {
        *error = !kind.empty() ? NotARegularFile(path, kind)
                               : "cannot open \"" + path + "\": " + std::strerror(errno);
    }
    return fd;
}

bool ReadRest(int fd, const std::string& path, std::string& bytes, std::size_t maxSize,
              std::string* error) {
    constexpr std::size_t kBlock = std::size_t{1} << 16;
    while (bytes.size() < maxSize) {
        // Room set aside for the file is filled in one read; beyond it, a block at a time.
        const std::size_t room = bytes.capacity() - bytes.size();
        const std::size_t want = std::min(room > 0 ? room : kBlock, maxSize - bytes.size());
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
                   std::uint64_t maxBytes, bool streams) {
    const auto fail = [&](const std::string& message) {
        if (error != nullptr)
            *error = message;
        bytes.clear();
        return false;
    };
    bytes.clear();
    if (maxBytes == 0)
        maxBytes = MemoryLimit();
    std::string kind;
    const int fd = OpenInputFile(path, kind, streams);
    if (fd < 0) {
        if (!kind.empty())
            return fail(NotARegularFile(path, kind) + ".");
        return fail("cannot open \"" + path + "\": " + std::strerror(errno));
    }
    const auto tooLarge = [&] {
        return fail("\"" + path + "\" is larger than the " + std::to_string(maxBytes) +
                    " bytes that can be read from it.");
    };
    // One byte more than allowed is asked for, so that a file over the limit shows as such.
    const std::uint64_t limit = std::min<std::uint64_t>(maxBytes, SIZE_MAX - 1) + 1;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        const auto size = static_cast<std::uint64_t>(st.st_size);
        if (size > maxBytes) {
            ::close(fd);
            return tooLarge();
        }
        // One byte more, so that the read that finds the end needs no larger string.
        bytes.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(size + 1, limit)));
    }
    std::string readError;
    const bool ok = ReadRest(fd, path, bytes, static_cast<std::size_t>(limit), &readError);
    ::close(fd);
    if (!ok)
        return fail(readError);
    if (bytes.size() > maxBytes)
        return tooLarge();
    return true;
}
