// The catalogue commands of catforge-cli, run as a user runs them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

#include "CliCommands.h"
#include "CliInteraction.h"
#include "core/compile/SkyProjection.h"
#include "support/CliRun.h"
#include "support/Golden.h"
#include "support/TempDir.h"

namespace {

const std::string kSample = CATFORGE_EXAMPLES_DIR "/cluster-stars.zdd";

// Runs catforge-cli with the arguments; returns its exit status, stdout and stderr in files.
int RunCli(const CTempDir& dir, const std::string& arguments) {
    return RunCliProgram(arguments, dir.Path("stdout"), dir.Path("stderr"));
}

// The sample compiled, quietly, into out.
class CatalogCli : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(RunCli(dir, Compile() + " --quiet"), 0); }
    std::string Compile() const { return "compile " + Quote(kSample) + " -o " + Quote(out); }
    CTempDir dir;
    const std::string out = dir.Path("sample.zdc");
};

TEST_F(CatalogCli, CompileExitStatuses) {
    EXPECT_EQ(CTempDir::Read(dir.Path("stderr")), "");
    EXPECT_EQ(RunCli(dir, Compile()), 0);
    EXPECT_EQ(CTempDir::Read(dir.Path("stderr")),
              "Successfully created Zenivo Data Catalog\n\"" + out + "\"\nwith 15 data records.\n");
    EXPECT_EQ(RunCli(dir, Compile() + " --data " + Quote(dir.Path("none.dat"))), 1);
    EXPECT_EQ(CTempDir::Read(dir.Path("stderr")),
              "error: Unable to open file\n\"" + dir.Path("none.dat") + "\"\n");
    EXPECT_EQ(RunCli(dir, "compile"), 2);
    EXPECT_EQ(RunCli(dir, "compile " + Quote(kSample) + " --bogus"), 2);
    EXPECT_EQ(RunCli(dir, Compile() + " --max-memory 12X"), 2);
}

TEST(MemorySize, Suffixes) {
    const std::pair<const char*, std::uint64_t> sizes[] = {
        {"4096", 4096}, {"64K", 65536}, {"256M", 256u << 20}, {"2g", 2ull << 30}, {"1k", 1024}};
    for (const auto& [text, bytes] : sizes) {
        std::uint64_t parsed = 0;
        EXPECT_TRUE(ParseMemorySize(text, parsed)) << text;
        EXPECT_EQ(parsed, bytes) << text;
    }
    for (const char* bad : {"", "M", "0", "12X", "1.5G", "-1M", "5MB", "99999999999G"}) {
        std::uint64_t parsed = 0;
        EXPECT_FALSE(ParseMemorySize(bad, parsed)) << bad;
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
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Root()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"big.dat", "stderr"}));
}

TEST_F(CatalogCli, InfoPrintsTheCatalogueAndRefusesDamage) {
    std::ostringstream text, errors;
    CliContext context{text, errors};
    EXPECT_EQ(RunCatalogInfo(context, out, 2), kExitOk);
    const std::string info = text.str();
    EXPECT_NE(info.find("  Record length:    104\n"), std::string::npos);
    EXPECT_NE(info.find("  Hour index:       0 0 0 0 0 0 3 6 9 12 12"), std::string::npos) << info;
    EXPECT_NE(info.find("Entries (15 of 172 bytes)\n"), std::string::npos);
    EXPECT_NE(info.find("  0: \"NGC 2099  148\" RA 05h52m08.099s Dec +32\u00B030\u203233.10\u2033 "
                        "mag 11.09 axes 0\u2033 x 0\u2033 PA - symbol 9 (Star) type 8 (Star)\n"),
              std::string::npos)
        << info;
    EXPECT_NE(info.find("  1: \"NGC 2099   67\""), std::string::npos);
    EXPECT_EQ(info.find("  2: \""), std::string::npos);

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
    ASSERT_EQ(RunCli(dir, "export " + Quote(out) + " --csv -o " + Quote(dir.Path("s.csv"))), 0);
    ExpectSameAsGolden(CTempDir::Read(dir.Path("s.csv")), "cluster-stars/cluster-stars.csv");
    EXPECT_EQ(RunCli(dir, "export " + Quote(out)), 2);  // --csv is required

    EXPECT_EQ(RunCli(dir, "symbol '16,CIR;-8,0,MA;8,0,DA' --svg " + Quote(dir.Path("s.svg"))), 0);
    EXPECT_EQ(CTempDir::Read(dir.Path("stdout")),
              "Words (8): 1600 10004 -800 0 10001 800 0 10003\n"
              "Reads: 16.00 CIR -8.00 0.00 MA 8.00 0.00 DA\n");
    const std::string svg = CTempDir::Read(dir.Path("s.svg"));
    EXPECT_NE(svg.find("fill=\"black\""), std::string::npos);
    EXPECT_NE(svg.find("<circle cx=\"0\" cy=\"0\" r=\"16\" stroke=\"grey\"/>"), std::string::npos);
    EXPECT_NE(svg.find("<circle cx=\"0\" cy=\"0\" r=\"16\"/>"), std::string::npos);
    EXPECT_NE(svg.find("<line x1=\"-8\" y1=\"0\" x2=\"8\" y2=\"0\"/>"), std::string::npos);
    EXPECT_NE(svg.find("scale(5 -5)"), std::string::npos);  // Y grows upwards
}

// Real catalogues with the definitions kept beside them: the VizieR sample's null magnitudes,
// a Bright Star Catalogue excerpt with two blank positions, a Hipparcos excerpt in degrees.
class RealCatalogues : public ::testing::Test {
protected:
    // The JSON definition under tests/data written as a .zdd, with the --data option that
    // reads fixed.dat: data, when given, normalised to fixed-length records.
    std::string Define(const std::string& json, const std::string& data = "") {
        const std::string def = dir.Path("def.zdd");
        EXPECT_EQ(RunCli(dir, "create --from-json " + Quote(kData + json) + " " + Quote(def)), 0);
        if (!data.empty()) {
            EXPECT_EQ(RunCli(dir, "normalize " + Quote(kData + data) + " -o " + Quote(fixed)), 0);
        }
        return Quote(def) + " --data " + Quote(fixed);
    }
    std::string Stdout() const { return CTempDir::Read(dir.Path("stdout")); }
    std::string Stderr() const { return CTempDir::Read(dir.Path("stderr")); }
    const std::string kData = CATFORGE_TEST_DATA_DIR "/";
    CTempDir dir;
    const std::string fixed = dir.Path("fixed.dat");
};

TEST_F(RealCatalogues, CheckNamesTheNullCellsOfTheVizierSample) {
    const std::string def = Define("cds/nulls.json", "cds/table1.dat");
    const std::string csv = dir.Path("problems.csv");
    EXPECT_EQ(RunCli(dir, "check " + def + " --csv " + Quote(csv)), 0);
    const std::string out = Stdout();
    // Icmag is null in records 1, 5, 6 and 9, Rmag in records 1, 4, 5, 6, 9, 13, 14 and 15.
    EXPECT_EQ(out.substr(0, out.find("record 4,")),
              "record 1, Icmag \"--\": not a number: the compile reads it as 0\n"
              "record 1, Rmag \"---\": not a number: the compile reads it as 0\n");
    EXPECT_NE(out.find("Checked 15 records:\n  0 records without a position\n  12 texts that "
                       "are not numbers (read as 0)\n"),
              std::string::npos)
        << out;
    const std::string rows = CTempDir::Read(csv);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 13);
    EXPECT_EQ(rows.substr(rows.rfind("15,")),
              "15,Rmag,---,not a number: the compile reads it as 0\n");

    EXPECT_EQ(RunCli(dir, "check " + def + " --fail-on-problems"), 3);
    EXPECT_EQ(
        RunCli(dir, "check " + Quote(dir.Path("def.zdd")) + " --data " + Quote(dir.Path("none"))),
        1);
    EXPECT_EQ(Stderr(), "error: Unable to open file\n\"" + dir.Path("none") + "\"\n");
    EXPECT_EQ(RunCli(dir, "check"), 2);
}

TEST_F(RealCatalogues, BlankPositionsAreNamedByTheCheckAndLeftOutByTheCompile) {
    const std::string def = Define("bsc/bsc.json", "bsc/catalog");
    EXPECT_EQ(RunCli(dir, "check " + def + " --fail-on-problems"), 3);
    const std::string blank =
        " \"\": no position: the fields are blank (the compile leaves the record out)\n";
    EXPECT_EQ(Stdout().substr(0, Stdout().find("Checked")),
              "record 5, RAh, DEd" + blank + "record 8, RAh, DEd" + blank);
    const std::string out = dir.Path("bsc.zdc");
    EXPECT_EQ(RunCli(dir, "compile " + def + " -o " + Quote(out)), 0);
    EXPECT_EQ(Stderr(), "Successfully created Zenivo Data Catalog\n\"" + out +
                            "\"\nwith 11 data records.\nwarning: Left out 2 of 13 records that "
                            "give no position (records 5, 8); catforge-cli compile "
                            "--keep-blank-positions keeps them at RA 0h, Dec 0.\n");
}

// Decimal degrees compile (their keys are checked by the decoder and import tests), the
// catalogue lists its notation and the check finds nothing out of range.
TEST_F(RealCatalogues, HipparcosInDecimalDegrees) {
    std::filesystem::copy_file(kData + "hipparcos/hip_main.dat", fixed);
    const std::string def = Define("hipparcos/hipparcos.json");
    const std::string out = dir.Path("hip.zdc");
    ASSERT_EQ(RunCli(dir, "compile " + def + " -o " + Quote(out) + " --quiet"), 0);
    EXPECT_EQ(RunCli(dir, "info " + Quote(out)), 0);
    EXPECT_NE(Stdout().find("RA notation:      Degrees\n  RA hours:         2 \"RAdeg\""),
              std::string::npos)
        << Stdout();
    EXPECT_NE(Stdout().find("Entries (10 of"), std::string::npos) << Stdout();
    EXPECT_EQ(RunCli(dir, "check " + def + " --fail-on-problems"), 0);
}

TEST_F(CatalogCli, PlotDrawsOneMarkPerObjectWhereTheProjectionPutsIt) {
    ASSERT_EQ(RunCli(dir, "plot " + Quote(out) + " -o " + Quote(dir.Path("sky.svg"))), 0);
    const std::string svg = CTempDir::Read(dir.Path("sky.svg"));
    std::size_t marks = 0;
    for (std::size_t at = svg.find("<circle"); at != std::string::npos;
         at = svg.find("<circle", at + 1)) {
        ++marks;
    }
    EXPECT_EQ(marks, 15u);
    // NGC 2099 148 at 05h52m08.099s +32 30 33.10, on a 1200 by 600 chart with a 24 pixel margin.
    const double ra = (5 + 52 / 60.0 + 8.099 / 3600) * 15 * 3.141592653589793 / 180;
    const double dec = (32 + 30 / 60.0 + 33.10 / 3600) * 3.141592653589793 / 180;
    const SkyPoint p = ProjectSky(ra, dec);
    const CSkyFrame frame(1200, 600, 24);
    char where[64];
    std::snprintf(where, sizeof where, "<circle cx=\"%.1f\" cy=\"%.1f\"", frame.PixelX(p),
                  frame.PixelY(p));
    EXPECT_NE(svg.find(where), std::string::npos) << where;

    ASSERT_EQ(
        RunCli(dir, "plot " + Quote(out) + " -o " + Quote(dir.Path("sky.png")) + " --width 800"),
        0);
    const std::string png = CTempDir::Read(dir.Path("sky.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x03\x20\0\0\x01\x90", 8));  // 800 x 400
    EXPECT_EQ(RunCli(dir, "plot " + Quote(out) + " -o " + Quote(dir.Path("sky.jpg"))), 2);
    EXPECT_EQ(
        RunCli(dir, "plot " + Quote(dir.Path("none.zdc")) + " -o " + Quote(dir.Path("sky.svg"))),
        1);
}

}  // namespace
