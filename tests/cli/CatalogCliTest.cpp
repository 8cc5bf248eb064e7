// The catalogue commands of catforge-cli, run as a user runs them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>
#include <vector>

#include "CliCommands.h"
#include "support/TempDir.h"

namespace {

const std::string kCli = CATFORGE_CLI_PATH;
const std::string kSample = CATFORGE_TEST_DATA_DIR "/cluster-stars/cluster-stars.zdd";

// Runs catforge-cli with the arguments; returns its exit status, stdout and stderr in files.
int RunCli(const CTempDir& dir, const std::string& arguments) {
    const std::string command =
        kCli + " " + arguments + " >" + dir.Path("stdout") + " 2>" + dir.Path("stderr");
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quote(const std::string& path) {
    return "'" + path + "'";
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
}

TEST_F(CatalogCli, InfoPrintsTheCatalogueAndRefusesDamage) {
    std::ostringstream text, errors;
    CliContext context{text, errors};
    EXPECT_EQ(RunCatalogInfo(context, out, 2), kExitOk);
    const std::string info = text.str();
    EXPECT_NE(info.find("Record length: 104\n"), std::string::npos);
    EXPECT_NE(info.find("Hour index: 0 0 0 0 0 0 3 6 9 12 12"), std::string::npos) << info;
    EXPECT_NE(info.find("Entries: 15 of 172 bytes\n"), std::string::npos);
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
    std::istringstream csv(CTempDir::Read(dir.Path("s.csv")));
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line,
              "label,ra_deg,dec_deg,magnitude,major_axis_arcsec,minor_axis_arcsec,"
              "position_angle_deg,symbol,symbol_name,type,type_name,record");
    std::getline(csv, line);
    std::vector<std::string> cells;
    std::istringstream row(line);
    for (std::string cell; std::getline(row, cell, ',');)
        cells.push_back(cell);
    ASSERT_EQ(cells.size(), 12u) << line;
    EXPECT_EQ(cells[0], "NGC 2099  148");
    // 05h52m08.1s and +32 30 33.1, to within one key unit.
    EXPECT_NEAR(std::stod(cells[1]), (5 + 52 / 60.0 + 8.1 / 3600) * 15, 1.01 / 360000.0);
    EXPECT_NEAR(std::stod(cells[2]), 32 + 30 / 60.0 + 33.1 / 3600, 1.01 / 360000.0);
    EXPECT_EQ(std::vector<std::string>(cells.begin() + 3, cells.end() - 1),
              (std::vector<std::string>{"11.09", "0", "0", "", "9", "Star", "8", "Star"}));
    EXPECT_EQ(cells[11],
              "NGC2099  148 05 52 08.1 +32 30 33.1 12.36 11.09 -     ---    8.05 3  "
              "3600 105 NGC 2099  148            ");
    int rows = 1;
    while (std::getline(csv, line))
        ++rows;
    EXPECT_EQ(rows, 15);
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

}  // namespace
