// The catalogue commands of catforge-cli, run as a user runs them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <sstream>

#include "CliCommands.h"
#include "CliInteraction.h"
#include "support/CliRun.h"
#include "support/FaultInjection.h"
#include "support/Golden.h"

namespace {

const std::string kSample = CATFORGE_EXAMPLES_DIR "/cluster-stars.zdd";

// The sample compiled, quietly, into sample.zdc.
class CatalogCli : public CCliFolderTest {
protected:
    void SetUp() override { ASSERT_EQ(Run(Compile() + " --quiet"), 0); }
    std::string Compile() const { return "compile " + Quote(kSample) + " -o sample.zdc"; }
    const std::string out = dir.Path("sample.zdc");
};

// 0 done, 1 refused with the reason on stderr, 2 a usage error.
TEST_F(CatalogCli, ExitStatuses) {
    EXPECT_EQ(Stderr(), "");  // --quiet
    EXPECT_EQ(Run(Compile()), 0);
    EXPECT_EQ(Stderr(),
              "Successfully created Zenivo Data Catalog\n\"" + out + "\"\nwith 15 data records.\n");
    EXPECT_EQ(Run(Compile() + " --data none.dat"), 1);
    EXPECT_EQ(Stderr(), "error: Unable to open file\n\"none.dat\"\n");
    for (const std::string refused : {"plot none.zdc -o sky.svg", "info missing.zdd"})
        EXPECT_EQ(Run(refused), 1) << refused;
    for (const std::string& usage : std::vector<std::string>{
             "", "compile", "compile " + Quote(kSample) + " --bogus",
             Compile() + " --max-memory 12X", "export sample.zdc" /* without --csv */,
             "plot sample.zdc -o sky.jpg", "check", "info --entries -1 " + Quote(kSample)})
        EXPECT_EQ(Run(usage), 2) << usage;
    EXPECT_EQ(Run("info --json " + Quote(kSample)), 0);
    EXPECT_EQ(FolderEntries(dir.Root()), std::set<std::string>{"sample.zdc"});
}

TEST(MemorySize, Suffixes) {
    const std::pair<const char*, std::uint64_t> sizes[] = {
        {"4096", 4096},     {"64K", 65536}, {"256M", 256u << 20},
        {"2g", 2ull << 30}, {"1k", 1024},   {"", 0},
        {"M", 0},           {"0", 0},       {"12X", 0},
        {"1.5G", 0},        {"-1M", 0},     {"5MB", 0},
        {"99999999999G", 0}};
    for (const auto& [text, bytes] : sizes) {
        std::uint64_t parsed = 0;
        EXPECT_EQ(ParseMemorySize(text, parsed), bytes != 0) << text;
        EXPECT_TRUE(bytes == 0 || parsed == bytes) << text << " read as " << parsed;
    }
}

// The progress line goes only to a terminal, not when quiet, and a message erases it first.
TEST(CliProgress, OnlyOnATerminalAndNotWhenQuiet) {
    for (const bool terminal : {false, true}) {
        for (const bool quiet : {false, true}) {
            std::ostringstream err;
            CCliInteraction ui(err);
            ui.SetQuiet(quiet);
            ui.ShowProgress(terminal, std::chrono::milliseconds(0));
            ui.ReportProgress(ProgressPhase::Decoding, 0.5);
            ui.ShowMessage("done", MessageIcon::Stop);
            EXPECT_EQ(err.str(), terminal && !quiet ? "\rDecoding records  50%\r\x1b[Kerror: done\n"
                                                    : "error: done\n")
                << terminal << quiet;
        }
    }
    std::ostringstream err;
    CCliInteraction ui(err);
    ui.ShowProgress(true);  // a compile shorter than half a second shows nothing
    ui.ReportProgress(ProgressPhase::Writing, 1.0);
    EXPECT_EQ(err.str(), "");
}

// Ctrl+C during a compile stops it: exit 130, nothing written, no temporary file.
TEST(CliInterrupt, LeavesNothingBehind) {
    CTempDir dir;
    const std::string sample = CTempDir::Read(CATFORGE_EXAMPLES_DIR "/cluster-stars.dat");
    std::string data;
    while (data.size() < (std::size_t{24} << 20))
        data += sample;
    const std::string dataPath = dir.Write("big.dat", data);
    const std::string out = dir.Path("big.zdc");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(::open(dir.Path("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600),
               STDERR_FILENO);
        ::execl(CATFORGE_CLI_PATH, CATFORGE_CLI_PATH, "compile", kSample.c_str(), "--data",
                dataPath.c_str(), "-o", out.c_str(), "--max-memory", "1M", nullptr);
        ::_exit(127);
    }
    // Once the compile reads the data file it listens for Ctrl+C.
    const std::filesystem::path fds = "/proc/" + std::to_string(child) + "/fd";
    bool reading = false;
    for (int i = 0; i < 20000 && !reading; ++i) {
        std::error_code ec;
        for (const auto& fd : std::filesystem::directory_iterator(fds, ec)) {
            reading = reading || std::filesystem::read_symlink(fd.path(), ec) == dataPath;
        }
        if (!reading)
            ::usleep(500);
    }
    ASSERT_TRUE(reading);
    ::kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), kExitInterrupted);
    EXPECT_EQ(CTempDir::Read(dir.Path("stderr")), "Compile cancelled: nothing was written.\n");
    EXPECT_EQ(FolderEntries(dir.Root()), (std::set<std::string>{"big.dat", "stderr"}));
}

TEST_F(CatalogCli, InfoPrintsTheCatalogueAndRefusesDamage) {
    std::ostringstream text, errors;
    CliContext context{text, errors};
    EXPECT_EQ(RunCatalogInfo(context, out, 2), kExitOk);
    std::string info = text.str();
    ASSERT_EQ(info.find(out), 20u) << info;
    ExpectSameAsGolden(info.replace(20, out.size(), "sample.zdc"), "catalog-info.txt");

    const std::string whole = CTempDir::Read(out);
    const std::string damaged = dir.Write("damaged.zdc", whole.substr(0, whole.size() - 10));
    std::ostringstream none, why;
    CliContext broken{none, why};
    EXPECT_EQ(RunCatalogInfo(broken, damaged, 5), kExitRefused);
    EXPECT_EQ(why.str().rfind(
                  "error: \"" + damaged + "\" is not a valid compiled catalogue: at byte ", 0),
              0u)
        << why.str();
    EXPECT_EQ(RunCatalogInfo(broken, dir.Path("missing.zdc"), 0), kExitRefused);
}

TEST_F(CatalogCli, ExportCsvAndSymbol) {
    ASSERT_EQ(Run("export sample.zdc --csv -o s.csv"), 0);
    ExpectSameAsGolden(CTempDir::Read(dir.Path("s.csv")), "cluster-stars/cluster-stars.csv");

    EXPECT_EQ(Run("symbol '16,CIR;-8,0,MA;8,0,DA' --svg s.svg"), 0);
    EXPECT_EQ(Stdout(),
              "Words (8): 1600 10004 -800 0 10001 800 0 10003\n"
              "Reads: 16.00 CIR -8.00 0.00 MA 8.00 0.00 DA\n");
    // A filled circle of radius 16 and a line, Y growing upwards.
    ExpectSameAsGolden(CTempDir::Read(dir.Path("s.svg")), "symbol.svg");
}

// Real catalogues with the definitions kept beside them: the VizieR sample's null magnitudes,
// a Bright Star Catalogue excerpt with two blank positions, a Hipparcos excerpt in degrees.
class RealCatalogues : public CCliFolderTest {
protected:
    // The JSON definition under tests/data written as def.zdd, with the --data option that
    // reads fixed.dat: data, when given, normalised to fixed-length records.
    std::string Define(const std::string& json, const std::string& data = "") {
        EXPECT_EQ(Run("create --from-json " + Quote(kData + json) + " def.zdd"), 0);
        if (!data.empty()) {
            EXPECT_EQ(Run("normalize " + Quote(kData + data) + " -o fixed.dat"), 0);
        }
        return "def.zdd --data fixed.dat";
    }
    const std::string kData = CATFORGE_TEST_DATA_DIR "/";
};

TEST_F(RealCatalogues, CheckNamesTheNullCellsOfTheVizierSample) {
    const std::string def = Define("cds/nulls.json", "cds/table1.dat");
    EXPECT_EQ(Run("check " + def + " --csv problems.csv"), 0);
    // Icmag is null in records 1, 5, 6 and 9, Rmag in records 1, 4, 5, 6, 9, 13, 14 and 15.
    ExpectSameAsGolden(Stdout(), "cds/check.txt");
    ExpectSameAsGolden(CTempDir::Read(dir.Path("problems.csv")), "cds/problems.csv");
    EXPECT_EQ(Run("check " + def + " --fail-on-problems"), 3);
    EXPECT_EQ(Run("check def.zdd --data none"), 1);
    EXPECT_EQ(Stderr(), "error: Unable to open file\n\"none\"\n");
}

TEST_F(RealCatalogues, BlankPositionsAreNamedByTheCheckAndLeftOutByTheCompile) {
    const std::string def = Define("bsc/bsc.json", "bsc/catalog");
    EXPECT_EQ(Run("check " + def + " --fail-on-problems"), 3);
    ExpectSameAsGolden(Stdout(), "bsc/check.txt");  // records 5 and 8 have no position
    EXPECT_EQ(Run("compile " + def + " -o bsc.zdc"), 0);
    EXPECT_EQ(Stderr(),
              "Successfully created Zenivo Data Catalog\n\"" + dir.Path("bsc.zdc") +
                  "\"\nwith 11 data records.\nwarning: Left out 2 of 13 records that give no "
                  "position (records 5, 8); catforge-cli compile --keep-blank-positions keeps "
                  "them at RA 0h, Dec 0.\n");
}

// Decimal degrees compile (their keys are checked by the decoder and import tests), the
// catalogue lists its notation and the check finds nothing out of range.
TEST_F(RealCatalogues, HipparcosInDecimalDegrees) {
    std::filesystem::copy_file(kData + "hipparcos/hip_main.dat", dir.Path("fixed.dat"));
    const std::string def = Define("hipparcos/hipparcos.json");
    ASSERT_EQ(Run("compile " + def + " -o hip.zdc --quiet"), 0);
    EXPECT_EQ(Run("info hip.zdc"), 0);
    ExpectSameAsGolden(Stdout(), "hipparcos/info.txt");
    EXPECT_EQ(Run("check " + def + " --fail-on-problems"), 0);
}

TEST_F(CatalogCli, PlotDrawsTheSkyAsSvgOrPng) {
    ASSERT_EQ(Run("plot sample.zdc -o sky.svg"), 0);
    // NGC 2099 148, the first mark, lies at 05h52m08.099s +32 30 33.10.
    ExpectSameAsGolden(CTempDir::Read(dir.Path("sky.svg")), "cluster-stars/sky.svg");

    ASSERT_EQ(Run("plot sample.zdc -o sky.png --width 800"), 0);
    const std::string png = CTempDir::Read(dir.Path("sky.png"));
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x03\x20\0\0\x01\x90", 8));  // 800 x 400
}

}  // namespace
