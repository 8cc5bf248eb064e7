// Writing a file whole or not at all, whatever its name stands for, and never losing the
// previous file: large writes, links, mode and owner, FIFOs and devices, folders the user may
// not write, signals, and every system call of a save failing in turn.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <csignal>
#include <thread>

#include "core/io/AtomicFile.h"
#include "core/model/CatforgeDoc.h"
#include "support/FaultInjection.h"
#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

namespace {

using Names = std::set<std::string>;

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t x = 12345;
    for (char& c : bytes) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 24);
    }
    return bytes;
}

struct stat Stat(const std::string& path, bool followLinks = true) {
    struct stat st {};
    EXPECT_EQ(followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st), 0) << path;
    return st;
}

bool Write(const std::string& path, const std::string& bytes, CAtomicFile::Method method) {
    CAtomicFile file;
    if (!file.Open(path))
        return false;
    EXPECT_EQ(file.GetMethod(), method) << path;
    return file.Write(bytes) && file.Commit();
}

TEST(AtomicFile, PiecesOfEverySizeArriveInOrderAndReplaceTheTarget) {
    CTempDir dir;
    const std::string path = dir.Write("out.zdc", "previous");
    // Small pieces, one piece spanning many megabytes and crossing the points where the
    // writer hands data to the disk, and an odd tail.
    const std::string bytes = Pattern((std::size_t{41} << 20) + 12345);
    CAtomicFile file;
    ASSERT_TRUE(file.Open(path));
    std::size_t at = 0;
    for (const std::size_t piece : {std::size_t{1}, std::size_t{4095}, std::size_t{1} << 20,
                                    (std::size_t{37} << 20) + 7, std::size_t{3}}) {
        ASSERT_TRUE(file.Write(bytes.data() + at, piece));
        at += piece;
    }
    ASSERT_TRUE(file.Write(std::string_view(bytes).substr(at)));
    EXPECT_EQ(CTempDir::Read(path), "previous");             // untouched until the commit
    EXPECT_EQ(FolderEntries(dir.Root()), Names{"out.zdc"});  // the new file has no name yet
    ASSERT_TRUE(file.Commit());
    EXPECT_TRUE(CTempDir::Read(path) == bytes);
    EXPECT_EQ(FolderEntries(dir.Root()), Names{"out.zdc"});
}

TEST(AtomicFile, AbandonedWriteKeepsThePreviousFileAndLeavesNoTemporaryFile) {
    CTempDir dir;
    const std::string path = dir.Write("out.zdc", "previous");
    for (const bool unnamedFiles : {true, false}) {
        CFaultInjection noFaults(0, EIO, unnamedFiles);
        CAtomicFile file;
        ASSERT_TRUE(file.Open(path));
        ASSERT_TRUE(file.Write(Pattern(std::size_t{20} << 20)));
        EXPECT_EQ(FolderEntries(dir.Root()).size(), unnamedFiles ? 1u : 2u);
    }
    EXPECT_EQ(CTempDir::Read(path), "previous");
    EXPECT_EQ(FolderEntries(dir.Root()), Names{"out.zdc"});

    CAtomicFile missing;
    EXPECT_FALSE(missing.Open(dir.Path("no/such/folder/out.zdc")));
    EXPECT_NE(missing.Error().find("no/such/folder/out.zdc"), std::string::npos);
    EXPECT_FALSE(missing.Open(dir.Root().string()));
    EXPECT_NE(missing.Error().find("Is a directory"), std::string::npos) << missing.Error();
}

// A large file is flushed while it is still being written. A flush that fails then fails the
// commit, although the final flush may not see the error again, and the previous file stays.
TEST(AtomicFile, AFlushFailingWhileWritingFailsTheCommit) {
    CTempDir dir;
    const std::string path = dir.Write("out.zdc", "previous");
    static std::atomic<bool> s_flushFailed{false};
    CAtomicFile::SetFaultHook([](const char* call) {
        if (std::strcmp(call, "fdatasync") != 0)
            return 0;
        s_flushFailed = true;
        return EIO;
    });
    CAtomicFile file;
    ASSERT_TRUE(file.Open(path));
    ASSERT_TRUE(file.Write(Pattern(std::size_t{20} << 20)));
    while (!s_flushFailed)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(file.Commit());
    CAtomicFile::SetFaultHook(nullptr);
    EXPECT_NE(file.Error().find("Input/output error"), std::string::npos) << file.Error();
    EXPECT_EQ(CTempDir::Read(path), "previous");
    EXPECT_EQ(FolderEntries(dir.Root()), Names{"out.zdc"});
}

TEST(AtomicFile, SymbolicAndHardLinksModeAndOwnerSurvive) {
    CTempDir dir;
    const std::string real = dir.Write("real.zdd", "old");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(real.c_str(), 65534, 65534), 0);
    }
    // Through a relative symbolic link: the link stays and its target gets the bytes.
    ASSERT_EQ(::symlink("real.zdd", dir.Path("link.zdd").c_str()), 0);
    ASSERT_TRUE(Write(dir.Path("link.zdd"), "through the link", CAtomicFile::Method::Replace));
    EXPECT_TRUE(S_ISLNK(Stat(dir.Path("link.zdd"), false).st_mode));
    EXPECT_EQ(CTempDir::Read(real), "through the link");
    EXPECT_EQ(Stat(real).st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(Stat(real).st_uid, 65534u);
    }

    // With a second hard link the file is rewritten in place, longer and then shorter.
    ASSERT_EQ(::link(real.c_str(), dir.Path("hard.zdd").c_str()), 0);
    const ino_t inode = Stat(real).st_ino;
    ASSERT_TRUE(
        Write(dir.Path("hard.zdd"), "in place, longer than before", CAtomicFile::Method::InPlace));
    ASSERT_TRUE(Write(real, "short", CAtomicFile::Method::InPlace));
    EXPECT_EQ(CTempDir::Read(dir.Path("hard.zdd")), "short");
    EXPECT_EQ(Stat(real).st_ino, inode);
    EXPECT_EQ(Stat(real).st_nlink, 2u);
    EXPECT_EQ(Stat(real).st_mode & 07777, 0640u);

    // A link to a file that does not exist yet creates it, with the usual mode.
    ASSERT_EQ(::symlink("new.zdd", dir.Path("dangling.zdd").c_str()), 0);
    ASSERT_TRUE(Write(dir.Path("dangling.zdd"), "new", CAtomicFile::Method::Replace));
    EXPECT_EQ(CTempDir::Read(dir.Path("new.zdd")), "new");
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(Stat(dir.Path("new.zdd")).st_mode & 07777, 0666u & ~mask);
    EXPECT_EQ(FolderEntries(dir.Root()),
              (Names{"dangling.zdd", "hard.zdd", "link.zdd", "new.zdd", "real.zdd"}));
}

TEST(AtomicFile, FifosAndDevicesAreWrittenDirectlyAndStay) {
    CTempDir dir;
    const std::string fifo = dir.Path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string bytes = Pattern(std::size_t{3} << 20);
    std::string received;
    std::thread reader([&] { received = CTempDir::Read(fifo); });
    EXPECT_TRUE(Write(fifo, bytes, CAtomicFile::Method::Direct));
    reader.join();
    EXPECT_TRUE(received == bytes);
    EXPECT_TRUE(S_ISFIFO(Stat(fifo).st_mode));

    // Devices of our own where we may make them: the system's own may be disturbed by others.
    const bool root = ::geteuid() == 0;
    const std::string null = root ? dir.Path("null") : "/dev/null";
    const std::string full = root ? dir.Path("full") : "/dev/full";
    if (root) {
        ASSERT_EQ(::mknod(null.c_str(), S_IFCHR | 0666, ::makedev(1, 3)), 0);
        ASSERT_EQ(::mknod(full.c_str(), S_IFCHR | 0666, ::makedev(1, 7)), 0);
    }
    EXPECT_TRUE(Write(null, bytes, CAtomicFile::Method::Direct));
    EXPECT_TRUE(S_ISCHR(Stat(null).st_mode));
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(full, bytes, &error));
    EXPECT_NE(error.find("No space left"), std::string::npos) << error;
}

TEST(AtomicFile, AFileTheUserMayWriteInAFolderTheyMayNotIsWrittenInPlace) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "acting as another user needs root";
    CTempDir dir;
    const std::string path = dir.Write("out.zdc", "old");
    ASSERT_EQ(::chmod(dir.Root().c_str(), 0755), 0);
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    EXPECT_EXIT(
        {
            bool ok = ::setgid(65534) == 0 && ::setuid(65534) == 0;
            CAtomicFile file;
            ok = ok && file.Open(path) && file.GetMethod() == CAtomicFile::Method::InPlace &&
                 file.Write("new bytes") && file.Commit();
            std::_Exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(CTempDir::Read(path), "new bytes");
    EXPECT_EQ(FolderEntries(dir.Root()), Names{"out.zdc"});
}

TEST(AtomicFile, ANamedTemporaryFileGoesWhenASignalEndsTheProcess) {
    CTempDir dir;
    const std::string path = dir.Write("out.zdc", "old");
    EXPECT_EXIT(
        {
            CFaultInjection noUnnamedFiles(0, EIO, false);
            CAtomicFile file;
            if (file.Open(path) && file.Write("new") && FolderEntries(dir.Root()).size() == 2)
                std::raise(SIGTERM);
            std::_Exit(1);
        },
        ::testing::KilledBySignal(SIGTERM), "");
    EXPECT_EQ(CTempDir::Read(path), "old");
    EXPECT_EQ(FolderEntries(dir.Root()), Names{"out.zdc"});
}

// Every system call of a definition save fails in turn, with and without unnamed temporary
// files and for a file written in place: each failure is reported and leaves nothing else in
// the folder, and the previous file as it was, except where a file rewritten in place failed
// while being copied over, which the message then says.
class SaveFaults : public ::testing::TestWithParam<int> {};

TEST_P(SaveFaults, EveryFailingCallKeepsThePreviousDefinition) {
    const bool unnamedFiles = GetParam() != 1;
    const bool hardLinked = GetParam() == 2;
    CTempDir dir;
    CCatforgeDoc previous;
    previous.m_strTitle = "previous";
    const std::string path = dir.Write("def.zdd", previous.EncodeDefinition());
    Names names{"def.zdd"};
    if (hardLinked) {
        ASSERT_EQ(::link(path.c_str(), dir.Path("other.zdd").c_str()), 0);
        names.insert("other.zdd");
    }
    CCatforgeDoc doc;
    doc.m_strTitle = "replacement";
    CRecordingInteraction ui;
    doc.SetInteraction(&ui);
    const auto save = [&](int failAt) {
        CFaultInjection faults(failAt, failAt == 1 ? ENOSPC : EIO, unnamedFiles);
        const bool saved = doc.OnSaveDocument(path);
        return std::make_pair(saved, CFaultInjection::Calls());
    };
    const auto [saved, calls] = save(0);
    ASSERT_TRUE(saved);
    ASSERT_GE(calls, 5);
    EXPECT_EQ(CTempDir::Read(path), doc.EncodeDefinition());
    ASSERT_TRUE(WriteFileAtomically(path, previous.EncodeDefinition()));
    for (int n = 1; n <= calls; ++n) {
        SCOPED_TRACE("failing call " + std::to_string(n));
        ui.messages.clear();
        EXPECT_FALSE(save(n).first);
        ASSERT_EQ(ui.messages.size(), 1u);
        if (ui.messages[0].text.find("may have damaged") == std::string::npos)
            EXPECT_EQ(CTempDir::Read(path), previous.EncodeDefinition());
        else
            EXPECT_TRUE(hardLinked && WriteFileAtomically(path, previous.EncodeDefinition()));
        EXPECT_EQ(FolderEntries(dir.Root()), names);
    }
}

INSTANTIATE_TEST_SUITE_P(UnnamedNamedInPlace, SaveFaults, ::testing::Values(0, 1, 2));

}  // namespace
