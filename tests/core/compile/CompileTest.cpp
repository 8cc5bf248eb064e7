#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <thread>

#include "CompileFixture.h"
#include "core/compile/CatalogReader.h"
#include "core/compile/CatalogWriter.h"
#include "core/compile/Compile.h"
#include "core/compile/CompileProgress.h"
#include "core/compile/RecordDecoder.h"
#include "core/compile/SortedEntries.h"
#include "core/io/AtomicFile.h"
#include "core/io/ByteIO.h"
#include "support/FaultInjection.h"
#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

namespace {

// Notes the phases reported and their fractions, and asks to cancel once the given phase has
// been reported.
class CWatchingInteraction : public CRecordingInteraction {
public:
    std::optional<ProgressPhase> cancelIn;
    std::vector<ProgressPhase> phases;
    std::vector<double> fractions;
    std::atomic<bool> cancel{false};

    void ReportProgress(ProgressPhase phase, double fraction) override {
        if (phases.empty() || phases.back() != phase)
            phases.push_back(phase);
        fractions.push_back(fraction);
        if (cancelIn == phase)
            cancel = true;
    }
    bool IsCancelRequested() override { return cancel; }
};

// A saved definition of the test layout with its data file beside it.
class CompileRun : public ::testing::Test {
protected:
    void SetUp() override {
        DescribeTestLayout(doc);
        doc.SetDataFile("objects.dat");
        doc.SetPathName(dir.Path("objects.zdd"));
        doc.SetInteraction(&ui);
    }
    // A data file of count records, each filled by fill(record number from 0, record).
    void WriteRecords(int count, const std::function<void(int, CTestRecord&)>& fill) {
        std::string bytes;
        for (int i = 0; i < count; ++i) {
            CTestRecord r;
            fill(i, r);
            bytes += r.Bytes();
        }
        dir.Write("objects.dat", bytes);
    }
    void WriteData(int count) {
        std::mt19937 random(1);
        WriteRecords(count, [&](int i, CTestRecord& r) {
            r.Set(doc, kRaH, std::to_string(random() % 24))
                .Set(doc, kRaM, std::to_string(random() % 60));
            r.Set(doc, kRaS,
                  std::to_string(static_cast<double>(random() % 600) / 10.0).substr(0, 4));
            r.Set(doc, kDecSign, random() % 2 ? "-" : "+")
                .Set(doc, kDecD, std::to_string(random() % 90));
            r.Set(doc, kName1, "N" + std::to_string(i))
                .Set(doc, kMag1, std::to_string(random() % 20));
        });
    }
    bool Compile(const CompileOptions& options = {}) {
        EpochState epoch;
        return CompileDefinition(doc, epoch, ui, options);
    }
    // Compiles to out.zdc without asking, sorting in runs of chunkRecords records (0: as
    // memory allows).
    bool CompileToOut(std::size_t chunkRecords, unsigned threads = 0) {
        CompileOptions options;
        options.outputPath = dir.Path("out.zdc");
        options.threads = threads;
        EpochState epoch;
        ui.phases.clear();
        return CompileDefinitionInChunks(doc, epoch, ui, options, chunkRecords);
    }
    static std::vector<ProgressPhase> EveryPhase() {
        return {ProgressPhase::Counting, ProgressPhase::Decoding, ProgressPhase::Sorting,
                ProgressPhase::Writing};
    }
    CTempDir dir;
    CCatforgeDoc doc;
    CWatchingInteraction ui;
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

// The sorting stage alone. The data file vanishing between counting and decoding is reported,
// not silently refused. Blocks are written in their order even when the writing of the first
// is slow and the other threads have theirs ready long before.
TEST_F(CompileRun, SortedEntriesNameAGoneFileAndWriteBlocksInOrder) {
    constexpr std::size_t kRecords = 40000;
    WriteData(static_cast<int>(kRecords));
    EpochState epoch;
    SetUpEpoch(doc.m_strEpoch, epoch);
    const CRecordDecoder decoder(doc, epoch);
    CCompileProgress progress(ui);
    CSortedEntries::Setup setup;
    setup.dataPath = dir.Path("gone.dat");
    setup.recordLength = kTestRecordLength;
    setup.count = setup.chunkRecords = kRecords;
    setup.threads = 3;
    EXPECT_FALSE(CSortedEntries(decoder, progress, ui).Build(setup));
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{"Unable to open file\n\"" + setup.dataPath + "\""}));
    setup.dataPath = dir.Path("objects.dat");
    CSortedEntries entries(decoder, progress, ui);
    ASSERT_TRUE(entries.Build(setup));
    std::string out;
    ASSERT_TRUE(entries.Emit([&out](const unsigned char* data, std::size_t size) {
        if (out.empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        out.append(reinterpret_cast<const char*>(data), size);
        return true;
    }));
    ASSERT_EQ(out.size(), kRecords * 148);
    const auto key = [&out](std::size_t i) {
        return LoadInt32(reinterpret_cast<const unsigned char*>(out.data()) + i * 148 +
                         catalog_object::kRaKey);
    };
    for (std::size_t i = 1; i < kRecords; ++i)
        ASSERT_LE(key(i - 1), key(i)) << i;
}

// The output is asked for: a cancel writes and says nothing and keeps the sorted table in the
// document, an unwritable output is named, a written one is reported. The data file can be
// given in place of the definition's.
TEST_F(CompileRun, AsksForTheOutputAndReportsTheResult) {
    WriteData(3);
    std::filesystem::rename(dir.Path("objects.dat"), dir.Path("other.dat"));
    CompileOptions options;
    options.dataFile = dir.Path("other.dat");
    const std::string unwritable = dir.Path("no-such-folder/out.zdc"), out = dir.Path("out.zdc");
    ui.fileNames = {std::nullopt, unwritable, out};
    EXPECT_FALSE(Compile(options));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(FolderEntries(dir.Root()), (std::set<std::string>{"other.dat"}));
    EXPECT_EQ(doc.m_nRecordCount, 3);
    EXPECT_FALSE(Compile(options));
    EXPECT_TRUE(Compile(options));
    ASSERT_EQ(ui.fileRequests.size(), 3u);
    const FileDialogRequest& request = ui.fileRequests[2];
    EXPECT_EQ(request.title, "Save Compiled Data Catalog As");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].description, "Zenivo Data Catalog Files (*.zdc)");
    EXPECT_EQ(request.filters[0].pattern, "*.zdc");
    EXPECT_EQ(request.filters[1].pattern, "*.*");
    EXPECT_EQ(request.defaultExtension, "zdc");
    EXPECT_EQ(request.proposedName, dir.Path("objects.zdc"));
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{"Unable to open file \"" + unwritable + "\"\nfor writing.",
                                        "Successfully created Zenivo Data Catalog\n\"" + out +
                                            "\"\nwith 3 data records."}));
    EXPECT_EQ(ui.messages[1].icon, MessageIcon::Information);
    EXPECT_EQ(std::filesystem::file_size(out), EncodeCatalogHeader(doc).size() + 3u * 148u);
    EXPECT_FALSE(doc.IsModified());
}

// Large enough for several output blocks per thread: however the keys fall (spread over the
// sky, a few crowded hours, all equal, some records without a position), the entries come in
// ascending key order, equal keys in record order, each placed record once, and the bytes are
// the same for any number of threads.
TEST_F(CompileRun, EntriesComeInKeyOrderEqualKeysInRecordOrder) {
    constexpr int kRecords = 40000;
    for (const int spread : {24, 3, 1}) {
        std::mt19937 random(static_cast<unsigned>(spread));
        int placed = 0;
        WriteRecords(kRecords, [&](int i, CTestRecord& r) {
            r.Set(doc, kName1, std::to_string(i));
            if (i % 97 != 5) {
                r.Set(doc, kRaH, std::to_string(random() % static_cast<unsigned>(spread) * 7 % 24));
                r.Set(doc, kRaM, spread == 1 ? "0" : std::to_string(random() % 3));
                r.Set(doc, kDecD, std::to_string(random() % 90));
                ++placed;
            }
        });
        std::string first;
        for (const unsigned threads : {1u, 2u, 3u}) {
            SCOPED_TRACE(testing::Message() << spread << " hours, " << threads << " threads");
            ASSERT_TRUE(CompileToOut(0, threads));
            const std::string out = CTempDir::Read(dir.Path("out.zdc"));
            if (threads > 1) {
                EXPECT_TRUE(out == first);
                continue;
            }
            first = out;
            CompiledCatalog catalog;
            std::string error;
            ASSERT_TRUE(ReadCompiledCatalog(out, catalog, error)) << error;
            ASSERT_EQ(catalog.entryCount, placed);
            std::pair<int, int> last{INT_MIN, -1};
            for (int e = 0; e < catalog.entryCount; ++e) {
                const CatalogEntry entry =
                    ReadCatalogEntry(out, catalog, static_cast<std::size_t>(e));
                const std::pair<int, int> now{entry.raKey, std::stoi(entry.label)};
                ASSERT_LT(last, now) << "entry " << e;
                last = now;
            }
        }
    }
}

// What the definition and the data file ask for is checked before memory is taken.
TEST_F(CompileRun, HugeTablesAreRefusedBeforeMemoryIsTaken) {
    doc.m_nRecordLength = 2000000000;
    std::ofstream(dir.Path("objects.dat"));
    std::filesystem::resize_file(dir.Path("objects.dat"), 2000 * std::uintmax_t{2000000000});
    EXPECT_FALSE(CompileToOut(2000));
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"There is not enough memory to compile 2000 "
                                                    "records of 2000000068 bytes."}));
}

// Every system call that writes the catalogue fails in turn (with and without unnamed
// temporary files): each failure is reported and leaves the previous catalogue and nothing
// else.
class CompileFaults : public CompileRun, public ::testing::WithParamInterface<bool> {};

TEST_P(CompileFaults, EveryFailingCallKeepsThePreviousCatalogue) {
    WriteData(20000);  // a catalogue of about 3 MB, written a megabyte at a time
    const std::string out = dir.Write("out.zdc", "previous catalogue");
    const auto compile = [&](int failAt) {
        CFaultInjection faults(failAt, EIO, GetParam());
        const bool compiled = CompileToOut(0);
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
        EXPECT_EQ(FolderEntries(dir.Root()), (std::set<std::string>{"objects.dat", "out.zdc"}));
    }
}

INSTANTIATE_TEST_SUITE_P(UnnamedAndNamed, CompileFaults, ::testing::Bool());

// Records with few distinct keys, so that many equal keys fall into every chunk and run: runs
// spilled and merged give the bytes of the table sorted in memory, equal keys in record order,
// and leave nothing beside the output; either way every phase is reported in order, each with
// fractions from 0 to 1.
TEST_F(CompileRun, ChunkedCompilesGiveTheBytesOfTheInMemoryCompile) {
    constexpr int kRecords = 37;
    WriteRecords(kRecords, [this](int i, CTestRecord& r) {
        r.Set(doc, kRaH, std::to_string((i * 7) % 3 * 5)).Set(doc, kDecD, "10");
        r.Set(doc, kName1, "N" + std::to_string(i));
    });
    const auto compile = [this](std::size_t chunkRecords, unsigned threads) {
        EXPECT_TRUE(CompileToOut(chunkRecords, threads));
        EXPECT_EQ(ui.phases, EveryPhase());
        return CTempDir::Read(dir.Path("out.zdc"));
    };
    const std::string whole = compile(kRecords, 1);
    for (std::size_t chunk = 1; chunk <= kRecords + 1; ++chunk) {
        for (const unsigned threads : {1u, 3u})
            EXPECT_TRUE(compile(chunk, threads) == whole) << chunk << " " << threads;
        EXPECT_EQ(FolderEntries(dir.Root()), (std::set<std::string>{"objects.dat", "out.zdc"}));
    }
    EXPECT_TRUE(ui.fileRequests.empty());
    for (const double fraction : ui.fractions)
        EXPECT_TRUE(fraction >= 0.0 && fraction <= 1.0) << fraction;
}

// Cancelling in any phase, in memory or in runs, writes nothing, leaves the previous output
// and no temporary file, and says nothing.
TEST_F(CompileRun, CancelInAnyPhaseLeavesThePreviousOutputAndNothingElse) {
    WriteData(300);
    const std::string out = dir.Write("out.zdc", "previous");
    for (const ProgressPhase phase : EveryPhase()) {
        for (const std::size_t chunk : {std::size_t{0}, std::size_t{7}}) {
            SCOPED_TRACE(testing::Message() << static_cast<int>(phase) << ", chunk " << chunk);
            ui.cancelIn = phase;
            ui.cancel = false;
            EXPECT_FALSE(CompileToOut(chunk, 2));
            EXPECT_EQ(ui.phases.back(), phase);
            EXPECT_EQ(CTempDir::Read(out), "previous");
            EXPECT_EQ(FolderEntries(dir.Root()), (std::set<std::string>{"objects.dat", "out.zdc"}));
        }
    }
    EXPECT_TRUE(ui.messages.empty());
}

// Records 2 and 5 give no right ascension, record 4 no declination (its sign alone is not a
// position): they get no entry, the header and hour index describe the entries written, and
// a warning after the success message names them.
TEST_F(CompileRun, RecordsWithoutAPositionAreLeftOutAndNamed) {
    WriteRecords(6, [this](int i, CTestRecord& r) {
        if (i != 1 && i != 4)
            r.Set(doc, kRaH, std::to_string(i * 3 + 3)).Set(doc, kRaM, "00").Set(doc, kRaS, "0");
        r.Set(doc, kDecSign, "+").Set(doc, kName1, "N" + std::to_string(i + 1));
        if (i != 3)
            r.Set(doc, kDecD, "10").Set(doc, kDecM, "00").Set(doc, kDecS, "0");
    });
    const std::string out = dir.Path("out.zdc");
    ui.fileNames.push_back(out);
    ASSERT_TRUE(Compile());
    ASSERT_EQ(doc.m_nRecordCount, 3);
    const std::array<int, 24> index = {0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 2, 2,
                                       2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3};
    EXPECT_EQ(doc.m_anHourIndex, index);  // hours 3, 9 and 18 (records 1, 3 and 6)
    EXPECT_EQ(doc.m_nFirstSortKey, 3 * 5400000);
    EXPECT_EQ(std::filesystem::file_size(out), EncodeCatalogHeader(doc).size() + 3u * 148u);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text,
              "Left out 3 of 6 records that give no position (records 2, 4, 5); catforge-cli "
              "compile --keep-blank-positions keeps them at RA 0h, Dec 0.");
    EXPECT_EQ(ui.messages[1].icon, MessageIcon::Warning);

    // Kept on request: every record at its place, the blank ones at 0h.
    ui.fileNames.push_back(out);
    CompileOptions keep;
    keep.keepBlankPositions = true;
    ASSERT_TRUE(Compile(keep));
    EXPECT_EQ(doc.m_nRecordCount, 6);
    EXPECT_EQ(doc.m_nFirstSortKey, 0);
    EXPECT_EQ(ui.messages.size(), 3u);

    // No record with a position: nothing is written.
    dir.Write("objects.dat", CTestRecord().Bytes());
    EXPECT_FALSE(Compile());
    EXPECT_EQ(ui.messages.back().text,
              "No record of \"objects.dat\" gives a position (1 records read);\nnothing was "
              "compiled.");
}

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
