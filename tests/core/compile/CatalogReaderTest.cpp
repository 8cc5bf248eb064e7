#include <gtest/gtest.h>

#include "CompileFixture.h"
#include "core/compile/CatalogReader.h"
#include "core/compile/CatalogWriter.h"
#include "core/compile/CompileTable.h"

namespace {

// A small catalogue: two fields, a user symbol and three entries.
std::string SmallCatalogue() {
    CCatforgeDoc doc;
    DescribeTestLayout(doc);
    doc.m_aUserSymbols = {{"Plus", "-8,0,MA;8,0,DA;0,-8,MA;0,8,DA"}};
    doc.m_nRecordCount = 3;
    doc.m_nEntrySize = kTestRecordLength + 68;
    doc.m_pEntries.reset(new unsigned char[3 * 148]());
    EpochState epoch;
    SetUpEpoch("J2000.0", epoch);
    const CRecordDecoder decoder(doc, epoch);
    for (int i = 0; i < 3; ++i) {
        CTestRecord r;
        r.Set(doc, kRaH, std::to_string(20 - 5 * i)).Set(doc, kName1, "Obj" + std::to_string(i));
        decoder.Decode(r.Bytes().data(), doc.m_pEntries.get() + i * 148);
    }
    SortCompileTable(doc);
    std::string bytes = EncodeCatalogHeader(doc);
    bytes.append(reinterpret_cast<const char*>(doc.m_pEntries.get()), 3 * 148);
    return bytes;
}

// The end-to-end test compares this reader with its own over a whole catalogue; here the user
// symbols, which that catalogue lacks, and damaged input. A beginning that holds the header is
// read as the file it comes from; the entries are checked against that file's size.
TEST(CatalogReader, ReadsWhatTheWriterWroteAndTheBeginningOfAFile) {
    const std::string bytes = SmallCatalogue();
    CompiledCatalog catalog;
    std::string error;
    ASSERT_TRUE(ReadCompiledCatalog(bytes, catalog, error)) << error;
    EXPECT_EQ(catalog.definition.m_aFields.size(), static_cast<std::size_t>(kFieldCount));
    ASSERT_EQ(catalog.symbols.size(), 1u);
    EXPECT_EQ(catalog.symbols[0].size(), 12u);
    EXPECT_EQ(catalog.entryCount, 3);
    EXPECT_EQ(ReadCatalogEntry(bytes, catalog, 0).label, "Obj2");
    const std::size_t header = bytes.size() - 3 * 148;
    EXPECT_EQ(catalog.entriesOffset, header);
    CompiledCatalog beginning;
    EXPECT_TRUE(ReadCompiledCatalog(bytes.substr(0, header), beginning, error, bytes.size()))
        << error;
    EXPECT_EQ(beginning.entriesOffset, header);
    EXPECT_FALSE(ReadCompiledCatalog(bytes.substr(0, header), beginning, error, bytes.size() - 1));
    EXPECT_EQ(error, "at byte " + std::to_string(header) +
                         ": 3 entries of 148 bytes need 444 bytes, but 443 are left");
}

TEST(CatalogReader, EveryTruncationIsAClearError) {
    const std::string bytes = SmallCatalogue();
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        CompiledCatalog catalog;
        std::string error;
        ASSERT_FALSE(ReadCompiledCatalog(bytes.substr(0, n), catalog, error)) << n;
        EXPECT_EQ(error.rfind("at byte ", 0), 0u) << n << ": " << error;
    }
}

TEST(CatalogReader, DamagedCountsAndHeaders) {
    const std::string good = SmallCatalogue();
    const auto fails = [](std::string bytes, std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
        CompiledCatalog catalog;
        std::string error;
        return ReadCompiledCatalog(bytes, catalog, error) ? std::string("accepted") : error;
    };
    EXPECT_EQ(fails(good, 0, 0x30636478),
              "at byte 0: not a compiled catalogue (the file does "
              "not begin with \"zdc0Data\")");
    EXPECT_EQ(fails(good, 8, 2), "at byte 8: format version 2 is not known (expected 1)");
    EXPECT_EQ(fails(good, 12, 0x7FFFFFFF).rfind("at byte 12: length 2147483647 of title", 0), 0u);
    EXPECT_EQ(fails(good, 24, 0xFFFFFFFF), "at byte 24: negative count -1 of fields");
    const std::size_t entries = good.size() - 3 * 148;
    EXPECT_EQ(fails(good, entries - 8, 4), "at byte " + std::to_string(entries) +
                                               ": 4 entries of 148 bytes need 592 bytes, "
                                               "but 444 are left");
    EXPECT_EQ(fails(good, entries - 4, 149), "at byte " + std::to_string(entries - 4) +
                                                 ": entry size 149 does not match the "
                                                 "record length 80 plus 68");
    EXPECT_EQ(fails(good, entries - 8 - 96, 4), "at byte " + std::to_string(entries - 8 - 96) +
                                                    ": hour index element 0 (4) is out "
                                                    "of order or beyond the 3 entries");
    CompiledCatalog catalog;
    std::string error;
    EXPECT_FALSE(ReadCompiledCatalog(good + "x", catalog, error));
}

}  // namespace
