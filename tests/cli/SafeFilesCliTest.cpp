// catforge-cli with odd names on both sides: inputs that are not regular files, outputs that
// are inputs, output names, a full disk and a compile killed at any moment.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "support/CliRun.h"
#include "support/FaultInjection.h"

namespace {

const std::string kCli = CATFORGE_CLI_PATH;
const std::string kSample = CATFORGE_EXAMPLES_DIR "/cluster-stars";

// The sample definition (as sample.zdd) and its data file copied into a fresh folder, compiled
// there into sample.zdc.
class SafeFilesCli : public CCliFolderTest {
protected:
    void SetUp() override {
        std::filesystem::copy_file(kSample + ".zdd", dir.Path("sample.zdd"));
        std::filesystem::copy_file(kSample + ".dat", dir.Path("cluster-stars.dat"));
        ASSERT_EQ(Run("compile sample.zdd --quiet"), 0);
    }
    // Whether process has a file open in the folder that is none of the inputs.
    bool WritingInFolder(pid_t process) const {
        std::error_code ec;
        const auto fds = "/proc/" + std::to_string(process) + "/fd";
        for (const auto& fd : std::filesystem::directory_iterator(fds, ec)) {
            const std::string target = std::filesystem::read_symlink(fd.path(), ec).string();
            if (target.rfind(dir.Root().string() + "/", 0) == 0 &&
                target.find("big.dat") == std::string::npos &&
                target.find("sample.zdd") == std::string::npos) {
                return true;
            }
        }
        return false;
    }
};

// FIFOs without a writer and endless devices never hold a command up. (A JSON definition may
// come through a pipe: it is read once, here finding nothing.)
TEST_F(SafeFilesCli, InputsThatAreNotRegularFilesAreRefusedAtOnce) {
    ASSERT_EQ(::mkfifo(dir.Path("fifo").c_str(), 0600), 0);
    for (const std::string odd : {"fifo", "/dev/zero"}) {
        SCOPED_TRACE(odd);
        const auto start = std::chrono::steady_clock::now();
        for (const std::string& command :
             {"compile sample.zdd -o out.zdc --data " + odd, "info " + odd, "export --csv " + odd,
              "normalize " + odd + " -o out.dat", "import-cds " + odd + " -o out.zdd",
              "create --from-json " + odd + " out.zdd"}) {
            EXPECT_EQ(Run(command), 1) << command;
            const bool piped = command == "create --from-json fifo out.zdd";
            EXPECT_NE(Stderr().find(piped ? "not valid JSON" : "not a regular file"),
                      std::string::npos)
                << command << Stderr();
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }
    // A ReadMe over 64 MiB is refused by its size, unread.
    std::ofstream(dir.Path("ReadMe"));
    std::filesystem::resize_file(dir.Path("ReadMe"), std::uintmax_t{65} << 20);
    EXPECT_EQ(Run("import-cds ReadMe -o out.zdd"), 1);
    EXPECT_NE(Stderr().find("larger than the 67108864 bytes"), std::string::npos) << Stderr();
    EXPECT_EQ(
        FolderEntries(dir.Root()),
        (std::set<std::string>{"fifo", "cluster-stars.dat", "ReadMe", "sample.zdc", "sample.zdd"}));
}

// Through any name, also links, an input is never overwritten by an output.
TEST_F(SafeFilesCli, AnOutputThatIsAnInputIsRefused) {
    dir.Write("sample.json", "{}");
    std::filesystem::copy_file(CATFORGE_TEST_DATA_DIR "/cds/ReadMe", dir.Path("ReadMe"));
    ASSERT_EQ(::symlink("cluster-stars.dat", dir.Path("data-link").c_str()), 0);
    ASSERT_EQ(::link(dir.Path("sample.zdd").c_str(), dir.Path("definition-link").c_str()), 0);
    const auto files = FolderEntries(dir.Root());
    std::map<std::string, std::string> before;
    for (const std::string& name : files)
        before[name] = CTempDir::Read(dir.Path(name));
    for (const std::string command :
         {"compile sample.zdd -o cluster-stars.dat", "compile sample.zdd -o data-link",
          "compile sample.zdd -o definition-link", "compile sample.zdd --data sample.zdc",
          "export sample.zdc --csv -o sample.zdc", "normalize cluster-stars.dat -o data-link",
          "create --from-json sample.json sample.json",
          "import-cds ReadMe --file table1.dat -o ReadMe"}) {
        EXPECT_EQ(Run(command), 1) << command;
        EXPECT_NE(Stderr(), "") << command;
    }
    EXPECT_EQ(FolderEntries(dir.Root()), files);
    for (const auto& [name, bytes] : before)
        EXPECT_EQ(CTempDir::Read(dir.Path(name)), bytes) << name;
}

// An empty output name is a usage error; without -o only the file name's extension is
// replaced; a full device is reported.
TEST_F(SafeFilesCli, OutputNames) {
    EXPECT_EQ(Run("export sample.zdc --csv -o /dev/full"), 1);
    EXPECT_NE(Stderr().find("No space left on device"), std::string::npos) << Stderr();
    EXPECT_EQ(Run("compile sample.zdd -o ''"), 2);
    EXPECT_EQ(Run("export sample.zdc --csv -o ''"), 2);
    std::filesystem::create_directory(dir.Path("my.dir"));
    std::filesystem::copy_file(dir.Path("sample.zdd"), dir.Path("my.dir/catalog"));
    std::filesystem::copy_file(dir.Path("cluster-stars.dat"), dir.Path("my.dir/cluster-stars.dat"));
    EXPECT_EQ(Run("compile my.dir/catalog --quiet && cd my.dir && " + kCli +
                  " compile ./catalog -o ../second.zdc --quiet"),
              0);
    EXPECT_EQ(FolderEntries(dir.Path("my.dir")),
              (std::set<std::string>{"catalog", "catalog.zdc", "cluster-stars.dat"}));
}

// A compile killed at any moment, or ending on a full disk, leaves the previous catalogue as it
// was and no other file.
TEST_F(SafeFilesCli, KilledOrOnAFullDiskThePreviousCatalogueStays) {
    const std::string records = CTempDir::Read(dir.Path("cluster-stars.dat"));
    std::ofstream big(dir.Path("big.dat"), std::ios::binary);
    for (int i = 0; i < 8000; ++i)  // 120,000 records, a catalogue of 20 MB
        big << records;
    big.close();
    const std::string out = dir.Write("big.zdc", "previous catalogue");
    const auto files = FolderEntries(dir.Root());
    // Killed at once, then after the writing began (a file other than the inputs open in the
    // folder), at once and a little later.
    for (const int milliseconds : {-1, 0, 5, 20}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::execl(kCli.c_str(), kCli.c_str(), "compile", dir.Path("sample.zdd").c_str(), "--data",
                    dir.Path("big.dat").c_str(), "-o", out.c_str(), "--quiet",
                    static_cast<char*>(nullptr));
            std::_Exit(127);
        }
        while (milliseconds >= 0 && !WritingInFolder(child)) {
            if (::waitpid(child, nullptr, WNOHANG) != 0)
                break;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(std::max(milliseconds, 0)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (WIFEXITED(status)) {  // it finished first: put the previous file back
            EXPECT_EQ(WEXITSTATUS(status), 0);
            ASSERT_TRUE(WriteFileAtomically(out, "previous catalogue"));
        }
        EXPECT_EQ(CTempDir::Read(out), "previous catalogue") << milliseconds;
        EXPECT_EQ(FolderEntries(dir.Root()), files) << milliseconds;
    }

    if (::geteuid() != 0)
        GTEST_SKIP() << "a full disk needs root to mount a small file system";
    const std::string disk = dir.Path("disk");
    std::filesystem::create_directory(disk);
    if (::mount("catforge-test", disk.c_str(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "cannot mount a small file system: " << std::strerror(errno);
    const std::string small = dir.Write("disk/big.zdc", "previous catalogue");
    const std::string definition = dir.Write("disk/sample.zdd", "previous definition");
    EXPECT_EQ(Run("compile sample.zdd --data big.dat -o disk/big.zdc"), 1);
    EXPECT_NE(Stderr().find("No space left on device"), std::string::npos) << Stderr();
    std::ofstream(dir.Path("disk/filler")) << std::string(std::size_t{1} << 20, 'f');
    dir.Write("sample.json", R"({"m_strTitle": "new"})");
    EXPECT_EQ(Run("create --from-json sample.json disk/sample.zdd"), 1);
    EXPECT_NE(Stderr().find("No space left on device"), std::string::npos) << Stderr();
    EXPECT_EQ(CTempDir::Read(small), "previous catalogue");
    EXPECT_EQ(CTempDir::Read(definition), "previous definition");
    EXPECT_EQ(FolderEntries(disk), (std::set<std::string>{"big.zdc", "filler", "sample.zdd"}));
    ::umount2(disk.c_str(), MNT_DETACH);
}

}  // namespace
