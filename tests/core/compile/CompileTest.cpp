#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "CompileFixture.h"
#include "core/compile/CatalogWriter.h"
#include "core/compile/Compile.h"
#include "core/compile/RecordDecoder.h"
#include "core/io/AtomicFile.h"
#include "core/io/ByteIO.h"
#include "support/FaultInjection.h"
#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

namespace {

// A saved definition of the test layout with its data file beside it.
class CompileRun : public ::testing::Test {
protected:
    void SetUp() override {
        DescribeTestLayout(doc);
        doc.SetDataFile("objects.dat");
        doc.SetPathName(dir.Path("objects.zdd"));
        doc.SetInteraction(&ui);
    }
    void WriteData(int count, unsigned seed = 1) {
        std::mt19937 random(seed);
        std::string bytes;
        for (int i = 0; i < count; ++i) {
            CTestRecord r;
            r.Set(doc, kRaH, std::to_string(random() % 24))
                .Set(doc, kRaM, std::to_string(random() % 60));
            r.Set(doc, kRaS,
                  std::to_string(static_cast<double>(random() % 600) / 10.0).substr(0, 4));
            r.Set(doc, kDecSign, random() % 2 ? "-" : "+")
                .Set(doc, kDecD, std::to_string(random() % 90));
            r.Set(doc, kName1, "N" + std::to_string(i))
                .Set(doc, kMag1, std::to_string(random() % 20));
            bytes += r.Bytes();
        }
        dir.Write("objects.dat", bytes);
    }
    bool Compile(const CompileOptions& options = {}) {
        EpochState epoch;
        return CompileDefinition(doc, epoch, ui, options);
    }
    CTempDir dir;
    CCatforgeDoc doc;
    CRecordingInteraction ui;
};

// Each refusal comes before the question for the output: the record length and the fields
// before the data file is read, then a missing data file, then one without a whole record.
TEST_F(CompileRun, RefusalsComeBeforeTheOutputIsAskedFor) {
    doc.m_nRecordLength = 0;
    EXPECT_FALSE(Compile());
    doc.m_nRecordLength = -4;
    EXPECT_FALSE(Compile());
    doc.m_nRecordLength = kTestRecordLength;
    doc.m_nDecDegreesField = kNoField;
    EXPECT_FALSE(Compile());
    doc.m_nDecDegreesField = kDecD;
    EXPECT_FALSE(Compile());
    dir.Write("objects.dat", "too short");
    EXPECT_FALSE(Compile());
    const std::string length =
        "\nPlease set the length of a record (at least 1 byte)\nin the general properties.";
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{
                  "The record length is 0." + length, "The record length is -4." + length,
                  "Please select the fields required to\nspecify the object declination.",
                  "Unable to open file\n\"objects.dat\"", "This file contains no data!"}));
    EXPECT_TRUE(ui.fileRequests.empty());
}

// The data file vanishing between counting and decoding is reported, not silently refused.
TEST_F(CompileRun, DataFileGoneAfterCountingIsNamed) {
    doc.m_nRecordCount = 2;
    const std::string gone = dir.Path("gone.dat");
    EXPECT_FALSE(DecodeRecords(doc, EpochState{}, gone, ui, 1));
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Unable to open file\n\"" + gone + "\""}));
    EXPECT_FALSE(doc.m_pEntries);
}

TEST_F(CompileRun, AsksForTheOutputAndReportsSuccess) {
    WriteData(3);
    const std::string out = dir.Path("out.zdc");
    ui.fileNames.push_back(out);
    EXPECT_TRUE(Compile());
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    const FileDialogRequest& request = ui.fileRequests[0];
    EXPECT_EQ(request.title, "Save Compiled Data Catalog As");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].description, "Zenivo Data Catalog Files (*.zdc)");
    EXPECT_EQ(request.filters[0].pattern, "*.zdc");
    EXPECT_EQ(request.filters[1].pattern, "*.*");
    EXPECT_EQ(request.defaultExtension, "zdc");
    EXPECT_EQ(request.proposedName, dir.Path("objects.zdc"));
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Successfully created Zenivo Data Catalog\n\"" +
                                                    out + "\"\nwith 3 data records."}));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(std::filesystem::file_size(out), EncodeCatalogHeader(doc).size() + 3u * 148u);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(CompileRun, CancelWritesNothingAndSaysNothingUnwritableOutputSays) {
    WriteData(2);
    ui.fileNames.push_back(std::nullopt);
    EXPECT_FALSE(Compile());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.Path("objects.zdc")));
    EXPECT_EQ(doc.m_nRecordCount, 2);  // the sorted table stays in the document
    const std::string out = dir.Path("no-such-folder/out.zdc");
    ui.fileNames.push_back(out);
    EXPECT_FALSE(Compile());
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{"Unable to open file \"" + out + "\"\nfor writing."}));
}

TEST_F(CompileRun, OutputIsTheSameOnEveryRunAndForAnyNumberOfThreads) {
    WriteData(4000, 7);
    std::vector<std::string> outputs;
    for (const unsigned threads : {1u, 2u, 3u, 1u}) {
        const std::string out = dir.Path("t" + std::to_string(outputs.size()) + ".zdc");
        ui.fileNames.push_back(out);
        CompileOptions options;
        options.threads = threads;
        ASSERT_TRUE(Compile(options));
        outputs.push_back(CTempDir::Read(out));
    }
    for (const std::string& output : outputs)
        EXPECT_TRUE(output == outputs[0]);
}

TEST_F(CompileRun, DataOptionReplacesTheDefinitionsFile) {
    WriteData(5);
    std::filesystem::rename(dir.Path("objects.dat"), dir.Path("other.dat"));
    ui.fileNames.push_back(dir.Path("out.zdc"));
    CompileOptions options;
    options.dataFile = dir.Path("other.dat");
    EXPECT_TRUE(Compile(options));
    EXPECT_EQ(doc.m_nRecordCount, 5);
}

// What the definition and the data file ask for is checked before memory is taken.
TEST_F(CompileRun, HugeTablesAreRefusedBeforeMemoryIsTaken) {
    doc.m_nRecordLength = 2000000000;
    std::ofstream(dir.Path("objects.dat"));
    std::filesystem::resize_file(dir.Path("objects.dat"), 2000 * std::uintmax_t{2000000000});
    EXPECT_FALSE(Compile());
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"There is not enough memory to compile 2000 "
                                                    "records of 2000000068 bytes."}));
}

// Every system call that writes the catalogue fails in turn (with and without unnamed
// temporary files): each failure is reported and leaves the previous catalogue and nothing
// else.
class CompileFaults : public CompileRun, public ::testing::WithParamInterface<bool> {};

TEST_P(CompileFaults, EveryFailingCallKeepsThePreviousCatalogue) {
    WriteData(20000);  // a catalogue of about 3 MB, written a megabyte at a time
    const std::string out = dir.Write("objects.zdc", "previous catalogue");
    const auto compile = [&](int failAt) {
        CFaultInjection faults(failAt, EIO, GetParam());
        ui.fileNames.push_back(out);
        const bool compiled = Compile();
        return std::make_pair(compiled, CFaultInjection::Calls());
    };
    const auto [compiled, calls] = compile(0);
    ASSERT_TRUE(compiled);
    ASSERT_GE(calls, 8);
    ASSERT_TRUE(WriteFileAtomically(out, "previous catalogue"));
    for (int n = 1; n <= calls; ++n) {
        SCOPED_TRACE("failing call " + std::to_string(n));
        ui.messages.clear();
        EXPECT_FALSE(compile(n).first);
        EXPECT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(CTempDir::Read(out), "previous catalogue");
        EXPECT_EQ(FolderEntries(dir.Root()), (std::set<std::string>{"objects.dat", "objects.zdc"}));
    }
}

INSTANTIATE_TEST_SUITE_P(UnnamedAndNamed, CompileFaults, ::testing::Bool());

TEST(ProposedCatalogName, ReplacesTheExtensionOfTheFileNameOnly) {
    const std::pair<std::string, std::string> names[] = {{"/data/ngc.zdd", "/data/ngc.zdc"},
                                                         {"/data/ngc", "/data/ngc.zdc"},
                                                         {"x.tar.zdd", "x.tar.zdc"},
                                                         {"catalog", "catalog.zdc"},
                                                         {"./catalog", "./catalog.zdc"},
                                                         {"my.dir/catalog", "my.dir/catalog.zdc"},
                                                         {"my.dir/.hidden", "my.dir/.hidden.zdc"},
                                                         {"", "Untitled.zdc"}};
    for (const auto& [definition, catalogue] : names)
        EXPECT_EQ(ProposedCatalogName(definition), catalogue) << definition;
}

TEST(CatalogHeader, UserSymbolsAsCompiledPrograms) {
    CCatforgeDoc doc;
    doc.m_aUserSymbols = {{"Empty", ""}, {"Ring", "16,CIR"}};
    const std::string bytes = EncodeCatalogHeader(doc);
    // 8 magic, version, title, notes, record length, field count, 9 position ints, epoch
    // "J2000.0", 4 label ints, 3 prefixes, 17 ints: 171 bytes; then the symbols, then 112 of
    // keys and index (the whole layout is checked by the end-to-end test).
    const std::string symbols = bytes.substr(171);
    CByteReader in(symbols);
    EXPECT_EQ(in.ReadInt32(), 2);
    EXPECT_EQ(in.ReadInt32(), 0);
    EXPECT_EQ(in.ReadInt32(), 2);
    EXPECT_EQ(in.ReadInt16(), 1600);
    EXPECT_EQ(in.ReadInt16(), 10004);
    EXPECT_EQ(in.Remaining(), 112u);
}

}  // namespace
