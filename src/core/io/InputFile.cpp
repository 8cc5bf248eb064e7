#include "core/io/InputFile.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace {

std::string KindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a FIFO (named pipe)";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a plain file";
}

// Opens path read-only without waiting for a FIFO's writer. Regular files always open;
// FIFOs and pipes only with streams. Anything refused is not opened at all when
// the name shows it beforehand, so that opening a device has no side effect.
int OpenChecked(const std::string& path, bool streams, std::string& kind) {
    kind.clear();
    const auto allowed = [streams](mode_t mode) {
        return S_ISREG(mode) || (streams && S_ISFIFO(mode));
    };
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !allowed(st.st_mode)) {
        kind = KindOf(st.st_mode);
        errno = EINVAL;
        return -1;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &st) != 0 || !allowed(st.st_mode)) {
        const int saved = errno;
        if (kind.empty() && st.st_mode != 0 && !allowed(st.st_mode))
            kind = KindOf(st.st_mode);
        ::close(fd);
        errno = kind.empty() ? saved : EINVAL;
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

std::string Quote(const std::string& path) {
    return "\"" + path + "\"";
}

}  // namespace

int OpenInputFile(const std::string& path, std::string& kind, bool streams) {
    return OpenChecked(path, streams, kind);
}

std::string NotARegularFile(const std::string& path, const std::string& kind) {
    return Quote(path) + " is " + kind + ", not a regular file";
}

std::uint64_t MemoryLimit() {
    std::uint64_t limit = std::numeric_limits<std::uint64_t>::max();
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        limit = static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
    struct rlimit space {};
    if (::getrlimit(RLIMIT_AS, &space) == 0 && space.rlim_cur != RLIM_INFINITY)
        limit = std::min<std::uint64_t>(limit, space.rlim_cur);
    return limit;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    return !a.empty() && !b.empty() && ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

int SameFileIndex(const std::string& output, std::initializer_list<std::string> inputs) {
    int index = 0;
    for (const std::string& input : inputs) {
        if (SameFile(output, input))
            return index;
        ++index;
    }
    return -1;
}
