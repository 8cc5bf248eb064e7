#include <gtest/gtest.h>

#include "CliCommands.h"
#include "core/model/CatforgeDoc.h"
#include "support/CliRun.h"
#include "support/TempDir.h"

const std::string kDataDir = std::string(CATFORGE_TEST_DATA_DIR) + "/cds";

static CliResult RunCli(std::vector<std::string> args) {
    return RunCliCommands(AddImportCommands, std::move(args));
}

TEST(ImportCli, NormalizePrintsTheReportAndRefusesLongLines) {
    CTempDir dir;
    const std::string in = dir.Write("in.dat", "ab\nabcd\n");
    const CliResult ok = RunCli({"normalize", in, "-o", dir.Path("out.dat")});
    EXPECT_EQ(ok.status, kExitOk) << ok.err;
    EXPECT_NE(ok.out.find("2 lines read, record length 5 bytes (4 + LF), 1 lines padded."),
              std::string::npos)
        << ok.out;
    EXPECT_EQ(CTempDir::Read(dir.Path("out.dat")), "ab  \nabcd\n");

    const CliResult refused =
        RunCli({"normalize", in, "-o", dir.Path("short.dat"), "--length", "3"});
    EXPECT_EQ(refused.status, kExitRefused);
    EXPECT_NE(refused.err.find("error: Line 2 of"), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(dir.Path("short.dat")));

    EXPECT_EQ(RunCli({"normalize", in, "-o", dir.Path("x"), "--length", "0"}).status, kExitUsage);
}

TEST(ImportCli, ImportCdsNormalisesBesideTheDefinitionInOneCommand) {
    CTempDir dir;
    std::filesystem::create_directory(dir.Path("def"));
    const std::string def = dir.Path("def/cluster.zdd");
    const CliResult run =
        RunCli({"import-cds", kDataDir + "/ReadMe", "--file", "table1.dat", "-o", def});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.out.find("Right ascension: RAh, RAm, RAs"), std::string::npos) << run.out;
    CCatforgeDoc doc;
    ASSERT_TRUE(doc.OpenDocument(def));
    EXPECT_EQ(doc.GetDataFile(), dir.Path("def/table1.fixed.dat"));
    EXPECT_EQ(doc.m_nRecordLength, 104);
    EXPECT_EQ(std::filesystem::file_size(dir.Path("def/table1.fixed.dat")), 15u * 104u);

    // Several described files need --file; a bad ReadMe writes nothing.
    const CliResult several = RunCli({"import-cds", kDataDir + "/ReadMe", "-o", dir.Path("b.zdd")});
    EXPECT_EQ(several.status, kExitRefused);
    EXPECT_NE(several.err.find("describes several files (table1.dat, table5.dat)"),
              std::string::npos);
    const std::string bad = dir.Write("ReadMe", "nothing here\n");
    EXPECT_EQ(RunCli({"import-cds", bad, "-o", dir.Path("b.zdd")}).status, kExitRefused);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("b.zdd")));
}
