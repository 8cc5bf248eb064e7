// Failing the safe writer's system calls on purpose: counting them, or failing the n-th one,
// optionally on a file system without unnamed temporary files.
#pragma once

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "core/io/AtomicFile.h"

class CFaultInjection {
public:
    // Fails call number failAt (from 1) with error; 0 only counts.
    explicit CFaultInjection(int failAt = 0, int error = EIO, bool unnamedFiles = true) {
        s_calls = 0;
        s_failAt = failAt;
        s_error = error;
        s_noUnnamedFiles = !unnamedFiles;
        CAtomicFile::SetFaultHook(&Hook);
    }
    ~CFaultInjection() { CAtomicFile::SetFaultHook(nullptr); }
    CFaultInjection(const CFaultInjection&) = delete;
    CFaultInjection& operator=(const CFaultInjection&) = delete;

    static int Calls() { return s_calls; }

private:
    static int Hook(const char* call) {
        if (s_noUnnamedFiles && std::strcmp(call, "open-unnamed") == 0)
            return EOPNOTSUPP;
        return ++s_calls == s_failAt ? s_error.load() : 0;
    }
    static inline std::atomic<int> s_calls{0};
    static inline std::atomic<int> s_failAt{0};
    static inline std::atomic<int> s_error{EIO};
    static inline std::atomic<bool> s_noUnnamedFiles{false};
};

// The names in a folder.
inline std::set<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}
