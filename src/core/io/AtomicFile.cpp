#include "core/io/AtomicFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <random>
#include <system_error>
#include <thread>
#include <utility>

namespace {

std::atomic<CAtomicFile::FaultHook> g_faultHook{nullptr};

// The errno the test hook wants the named call to fail with, 0 to let it run.
int Injected(const char* call) {
    const CAtomicFile::FaultHook hook = g_faultHook.load(std::memory_order_relaxed);
    return hook != nullptr ? hook(call) : 0;
}

// Runs a system call that returns -1 on failure, unless the test hook fails it first.
template <class Call>
auto Sys(const char* name, Call call) -> decltype(call()) {
    if (const int error = Injected(name)) {
        errno = error;
        return -1;
    }
    return call();
}

// Named temporary files to remove when a signal ends the process. The handler reads the
// slots without locks: a slot's path is complete before it is marked used.
struct CleanupSlot {
    std::atomic<bool> used{false};
    std::array<char, PATH_MAX> path{};
};
std::array<CleanupSlot, 16> g_cleanup;
std::mutex g_cleanupMutex;
constexpr std::array<int, 5> kCleanupSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};
std::array<struct sigaction, kCleanupSignals.size()> g_previousActions{};

void RemoveTemporariesAndRaise(int signal) {
    for (CleanupSlot& slot : g_cleanup) {
        if (slot.used.load(std::memory_order_acquire))
            ::unlink(slot.path.data());
    }
    for (std::size_t i = 0; i < kCleanupSignals.size(); ++i) {
        if (kCleanupSignals[i] == signal)
            ::sigaction(signal, &g_previousActions[i], nullptr);
    }
    ::raise(signal);  // delivered with its previous action once this handler returns
}

// Handles the catchable ending signals that nobody else handles.
void InstallCleanupHandlers() {
    for (std::size_t i = 0; i < kCleanupSignals.size(); ++i) {
        struct sigaction current {};
        if (::sigaction(kCleanupSignals[i], nullptr, &current) != 0 ||
            (current.sa_flags & SA_SIGINFO) != 0 || current.sa_handler != SIG_DFL) {
            continue;
        }
        g_previousActions[i] = current;
        struct sigaction action {};
        action.sa_handler = RemoveTemporariesAndRaise;
        sigemptyset(&action.sa_mask);
        ::sigaction(kCleanupSignals[i], &action, nullptr);
    }
}

int RegisterTemporary(const std::string& path) {
    static std::once_flag installed;
    std::call_once(installed, InstallCleanupHandlers);
    if (path.size() >= PATH_MAX)
        return -1;
    const std::lock_guard lock(g_cleanupMutex);
    for (std::size_t i = 0; i < g_cleanup.size(); ++i) {
        CleanupSlot& slot = g_cleanup[i];
        if (!slot.used.load(std::memory_order_relaxed)) {
            std::memcpy(slot.path.data(), path.c_str(), path.size() + 1);
            slot.used.store(true, std::memory_order_release);
            return static_cast<int>(i);
        }
    }
    return -1;
}

void UnregisterTemporary(int slot) {
    if (slot < 0)
        return;
    const std::lock_guard lock(g_cleanupMutex);
    g_cleanup[static_cast<std::size_t>(slot)].used.store(false, std::memory_order_release);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The name a path finally stands for: symbolic links followed one by one, also to a file that
// does not exist yet (which is then created where the link points).
bool FollowLinks(std::string path, std::string& resolved, int& error) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            resolved = path;
            return true;
        }
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
        if (length < 0) {
            error = errno;
            return false;
        }
        link.resize(static_cast<std::size_t>(length));
        if (link.empty() || link.front() != '/') {
            const std::size_t slash = path.rfind('/');
            link = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + link;
        }
        path = link;
    }
    error = ELOOP;
    return false;
}

// Whether an O_TMPFILE file can be given a name: through /proc, or by a process allowed to
// link by descriptor.
bool CanLinkUnnamedFiles() {
    static const bool can = ::access("/proc/self/fd", X_OK) == 0 || ::geteuid() == 0;
    return can;
}

int LinkUnnamed(int fd, const std::string& name) {
    if (const int error = Injected("linkat")) {
        errno = error;
        return -1;
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    if (errno == EEXIST)
        return -1;
    return ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH);
}

std::string RandomSuffix() {
    static std::mutex mutex;
    static std::mt19937_64 generator{std::random_device{}()};
    const std::lock_guard lock(mutex);
    static constexpr char kDigits[] =
        "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string suffix(6, '0');
    for (char& c : suffix)
        c = kDigits[generator() % (sizeof kDigits - 1)];
    return suffix;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string TemporaryFolder() {
    const char* folder = std::getenv("TMPDIR");
    return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

// Best effort: makes a rename in folder durable. Some file systems cannot sync folders.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

// Flushes a file to disk on a thread of its own while it is still being written. Each request
// flushes all that was written before it; requests that come while a flush runs are served by
// one more. The disk (and the host of a virtual machine, which keeps writes in its own cache
// until it is told to flush) then works while the writer goes on producing, and the final
// flush has little left to do. A failed flush is kept for Commit: the error it reports may not
// be reported again.
class CAtomicFile::CBackgroundSync {
public:
    explicit CBackgroundSync(int fd) : m_nFd(fd), m_thread([this] { Loop(); }) {}
    ~CBackgroundSync() { Stop(); }
    CBackgroundSync(const CBackgroundSync&) = delete;
    CBackgroundSync& operator=(const CBackgroundSync&) = delete;

    void Request() {
        {
            const std::lock_guard lock(m_mutex);
            ++m_nRequested;
        }
        m_wake.notify_one();
    }
    // Waits for the flush under way and starts no other; the errno of the first that failed,
    // or 0.
    int Stop() {
        {
            const std::lock_guard lock(m_mutex);
            m_bStop = true;
        }
        m_wake.notify_one();
        if (m_thread.joinable())
            m_thread.join();
        return m_nError;
    }

private:
    void Loop() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_bStop || m_nServed != m_nRequested; });
            if (m_bStop)
                return;
            const unsigned serving = m_nRequested;
            lock.unlock();
            const int error =
                Sys("fdatasync", [this] { return ::fdatasync(m_nFd); }) == 0 ? 0 : errno;
            lock.lock();
            m_nServed = serving;
            if (m_nError == 0)
                m_nError = error;
        }
    }

    const int m_nFd;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    unsigned m_nRequested = 0;
    unsigned m_nServed = 0;
    int m_nError = 0;
    bool m_bStop = false;
    std::thread m_thread;  // last: it starts once the rest is ready
};

void CAtomicFile::SetFaultHook(FaultHook hook) {
    g_faultHook.store(hook);
}

CAtomicFile::CAtomicFile() = default;

CAtomicFile::~CAtomicFile() {
    Abort();
}

bool CAtomicFile::Fail(const std::string& what, int error) {
    m_strError = what + " \"" + m_strTarget + "\": " + std::strerror(error);
    Abort();
    return false;
}

bool CAtomicFile::OpenTemporary(const std::string& folder, bool forStaging) {
    if (forStaging || CanLinkUnnamedFiles()) {
        const int fd = Sys("open-unnamed", [&] {
            return ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        });
        if (fd >= 0) {
            m_nFd = fd;
            m_bUnnamed = true;
            return true;
        }
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return false;
    }
    // No unnamed files here: a named one, removed again on failure and on ending signals.
    std::string pattern =
        forStaging ? folder + "/.catforge-stage-XXXXXX" : m_strResolved + ".tmp-XXXXXX";
    const int fd = Sys("open", [&] { return ::mkostemp(pattern.data(), O_CLOEXEC); });
    if (fd < 0)
        return false;
    m_nFd = fd;
    if (forStaging) {
        ::unlink(pattern.c_str());  // only read back through the descriptor
        return true;
    }
    m_strTemp = pattern;
    m_nCleanupSlot = RegisterTemporary(pattern);
    return true;
}

bool CAtomicFile::Open(const std::string& target, Durability durability) {
    Abort();
    m_strTarget = target;
    m_strResolved.clear();
    m_strError.clear();
    m_bSynced = durability == Durability::Synced;
    m_method = Method::Replace;
    m_nWritten = 0;
    m_nFlushStarted = 0;
    m_bUnnamed = false;
    m_bNewFile = false;
    if (target.empty())
        return Fail("cannot write", ENOENT);

    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        if (S_ISDIR(st.st_mode))
            return Fail("cannot write", EISDIR);
        // A FIFO or device: written as it is. Opening a FIFO waits for its reader.
        m_method = Method::Direct;
        m_strResolved = target;
        do {
            m_nFd = Sys("open",
                        [&] { return ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY); });
        } while (m_nFd < 0 && errno == EINTR);
        return m_nFd >= 0 || Fail("cannot open", errno);
    }

    int error = 0;
    if (!FollowLinks(target, m_strResolved, error))
        return Fail("cannot follow the symbolic link", error);
    const bool exists = ::stat(m_strResolved.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        return Fail("cannot write", errno);
    m_bNewFile = !exists;
    const std::string folder = FolderOf(m_strResolved);
    if (exists && st.st_nlink > 1) {
        m_method = Method::InPlace;  // a rename would split the links
    } else if (!OpenTemporary(folder, false)) {
        const int why = errno;
        if (!exists || (why != EACCES && why != EPERM) ||
            ::access(m_strResolved.c_str(), W_OK) != 0) {
            return Fail(exists ? "cannot create a temporary file beside" : "cannot create", why);
        }
        m_method = Method::InPlace;  // a file we may write in a folder we may not
    }

    if (m_method == Method::InPlace) {
        m_nTargetFd = Sys(
            "open", [&] { return ::open(m_strResolved.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY); });
        if (m_nTargetFd < 0)
            return Fail("cannot open", errno);
        // Staged beside the file, or where temporary files go when its folder is closed to us.
        if (!OpenTemporary(folder, true) &&
            ((errno != EACCES && errno != EPERM && errno != EROFS) ||
             !OpenTemporary(TemporaryFolder(), true))) {
            return Fail("cannot create a temporary file for", errno);
        }
        return true;
    }
    // The new file takes the owner (where we may give it) and the mode of the one it replaces;
    // the owner first, as changing it can clear set-id bits.
    if (exists && (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) &&
        ::fchown(m_nFd, st.st_uid, st.st_gid) != 0) {
        // Not permitted: the new file keeps our owner.
    }
    const mode_t mode = exists ? st.st_mode & 07777 : NewFileMode();
    if (Sys("fchmod", [&] { return ::fchmod(m_nFd, mode); }) != 0)
        return Fail("cannot set the permissions of", errno);
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
        const ssize_t written =
            Sys("write", [&] { return ::write(m_nFd, bytes, std::min(size, kChunk)); });
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return Fail("cannot write", errno);
        }
        const auto part = static_cast<std::size_t>(written);
        bytes += part;
        size -= part;
        m_nWritten += part;
        if (m_bSynced && m_method == Method::Replace &&
            m_nWritten - m_nFlushStarted >= kWritebackStep) {
            StartWriteback();
        }
    }
    return true;
}

void CAtomicFile::StartWriteback() {
    // Has what was written so far flushed to disk without waiting for it. Without a thread for
    // that, it is at least handed to the disk.
    if (!m_pSync) {
        try {
            m_pSync = std::make_unique<CBackgroundSync>(m_nFd);
        } catch (const std::system_error&) {
        }
    }
    if (m_pSync) {
        m_pSync->Request();
    } else {
        const auto from = static_cast<off_t>(m_nFlushStarted);
        const auto length = static_cast<off_t>(m_nWritten - m_nFlushStarted);
        ::sync_file_range(m_nFd, from, length, SYNC_FILE_RANGE_WRITE);
    }
    m_nFlushStarted = m_nWritten;
}

int CAtomicFile::StopBackgroundSync() {
    const int error = m_pSync ? m_pSync->Stop() : 0;
    m_pSync.reset();
    return error;
}

bool CAtomicFile::Commit() {
    if (m_nFd < 0)
        return false;
    switch (m_method) {
        case Method::Replace:
            return CommitReplace();
        case Method::InPlace:
            return CommitInPlace();
        case Method::Direct:
            break;
    }
    const int fd = std::exchange(m_nFd, -1);
    const int closed = ::close(fd);
    if (const int error = Injected("close"))
        return Fail("cannot write", error);
    return closed == 0 || Fail("cannot write", errno);
}

bool CAtomicFile::CommitReplace() {
    if (const int error = StopBackgroundSync())
        return Fail("cannot write", error);
    if (m_bSynced && Sys("fsync", [&] { return ::fsync(m_nFd); }) != 0)
        return Fail("cannot write", errno);
    bool placed = false;
    if (m_bUnnamed) {
        // A new target gets its name directly; an existing one is replaced by a rename from a
        // name that exists only for that moment.
        if (m_bNewFile) {
            placed = LinkUnnamed(m_nFd, m_strResolved) == 0;
            if (!placed && errno != EEXIST)
                return Fail("cannot create", errno);
        }
        for (int attempt = 0; !placed && m_strTemp.empty(); ++attempt) {
            const std::string name = m_strResolved + ".tmp-" + RandomSuffix();
            if (LinkUnnamed(m_nFd, name) == 0) {
                m_strTemp = name;
                m_nCleanupSlot = RegisterTemporary(name);
            } else if (errno != EEXIST || attempt == 100) {
                return Fail("cannot create a temporary file beside", errno);
            }
        }
    }
    const int fd = std::exchange(m_nFd, -1);
    const int closed = ::close(fd);
    if (!placed) {
        if (const int error = Injected("close"))
            return Fail("cannot write", error);
        if (closed != 0)
            return Fail("cannot write", errno);
        if (Sys("rename", [&] { return ::rename(m_strTemp.c_str(), m_strResolved.c_str()); }) !=
            0) {
            return Fail("cannot replace", errno);
        }
        UnregisterTemporary(std::exchange(m_nCleanupSlot, -1));
        m_strTemp.clear();
    }
    if (m_bSynced)
        SyncFolder(FolderOf(m_strResolved));
    return true;
}

bool CAtomicFile::CommitInPlace() {
    const auto size = static_cast<off_t>(m_nWritten);
    // Room first, without changing the file's length, so that a full disk is found before a
    // byte of the file changes. File systems that cannot reserve room are written regardless.
    if (size > 0 &&
        Sys("fallocate", [&] { return ::fallocate(m_nTargetFd, FALLOC_FL_KEEP_SIZE, 0, size); }) !=
            0 &&
        errno != EOPNOTSUPP && errno != ENOSYS) {
        return Fail("not enough room to write", errno);
    }
    const auto damaged = [this](int error) {
        return Fail("rewriting in place failed part way and may have damaged", error);
    };
    off_t from = 0;
    off_t to = 0;
    bool copyByKernel = true;
    std::array<char, 1 << 16> buffer{};
    while (from < size) {
        const auto left = static_cast<std::size_t>(size - from);
        ssize_t copied = -1;
        if (copyByKernel) {
            copied = Sys("write", [&] {
                return ::copy_file_range(m_nFd, &from, m_nTargetFd, &to, left, 0);
            });
            if (copied < 0 &&
                (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
                copyByKernel = false;
                continue;
            }
        } else {
            const ssize_t got = ::pread(m_nFd, buffer.data(), std::min(left, buffer.size()), from);
            copied = got <= 0 ? got : Sys("write", [&] {
                return ::pwrite(m_nTargetFd, buffer.data(), static_cast<std::size_t>(got), to);
            });
            if (copied > 0) {
                from += copied;
                to += copied;
            }
        }
        if (copied < 0 && errno == EINTR)
            continue;
        if (copied <= 0)
            return damaged(copied == 0 ? EIO : errno);
    }
    if (Sys("ftruncate", [&] { return ::ftruncate(m_nTargetFd, size); }) != 0)
        return damaged(errno);
    if (m_bSynced && Sys("fsync", [&] { return ::fsync(m_nTargetFd); }) != 0)
        return damaged(errno);
    ::close(std::exchange(m_nFd, -1));
    const int closed = ::close(std::exchange(m_nTargetFd, -1));
    if (const int error = Injected("close"))
        return damaged(error);
    return closed == 0 || damaged(errno);
}

void CAtomicFile::Abort() {
    StopBackgroundSync();
    if (m_nFd >= 0)
        ::close(std::exchange(m_nFd, -1));
    if (m_nTargetFd >= 0)
        ::close(std::exchange(m_nTargetFd, -1));
    if (!m_strTemp.empty()) {
        ::unlink(m_strTemp.c_str());
        m_strTemp.clear();
    }
    UnregisterTemporary(std::exchange(m_nCleanupSlot, -1));
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
    CAtomicFile file;
    const bool ok = file.Open(path) && file.Write(bytes) && file.Commit();
    if (!ok && error != nullptr)
        *error = file.Error();
    return ok;
}
