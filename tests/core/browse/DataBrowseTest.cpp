#include "core/browse/DataBrowse.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

namespace {

// count records of 82 bytes (80 characters, CR LF): "Rnnnnn" then the record number and
// padding, so each record's number can be read back from field 2..6.
std::string Records(int count) {
    std::string bytes;
    char record[83];
    for (int i = 1; i <= count; ++i) {
        std::snprintf(record, sizeof record, "R%05d%74s\r\n", i, "");
        bytes += record;
    }
    return bytes;
}

const std::vector<FieldDefinition> kNumberField = {{"Number", "", 2, 6}};

// What a page shows: the status line, the paging buttons, the rows read and, when given,
// the record number in the first row.
struct PageNumbers {
    std::string status;
    bool prev;
    bool next;
    int rows;
    std::string first = "";
};

void ExpectPage(const CDataBrowse& browse, const PageNumbers& expected) {
    const std::string& status = browse.StatusText();
    EXPECT_EQ(status, expected.status);
    EXPECT_EQ(browse.PrevEnabled(), expected.prev) << "<< Prev on " << status;
    EXPECT_EQ(browse.NextEnabled(), expected.next) << "Next >> on " << status;
    ASSERT_EQ(browse.Page().RowsRead(), expected.rows) << status;
    if (!expected.first.empty()) {
        EXPECT_EQ(browse.Page().Rows().front().front(), expected.first) << status;
    }
}

class DataBrowse : public ::testing::Test {
protected:
    // Opens a file of count numbered records, the record number as the one field.
    bool OpenRecords(int count) {
        path = dir.Write("data.dat", Records(count));
        return browse.Open(path, 82, kNumberField, ui);
    }

    CTempDir dir;
    CRecordingInteraction ui;
    CDataBrowse browse;
    std::string path;
};

}  // namespace

TEST_F(DataBrowse, PagesThroughFortyFiveRecordsTwentyAtATime) {
    ASSERT_TRUE(OpenRecords(45));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(browse.RecordCount(), 45);

    browse.Start(20);
    ExpectPage(browse, {"Records 1 to 20 of 45", false, true, 20, "00001"});
    EXPECT_TRUE(browse.AtFirstPage());
    browse.Next();
    ExpectPage(browse, {"Records 21 to 40 of 45", true, true, 20, "00021"});
    browse.Next();
    ExpectPage(browse, {"Records 41 to 45 of 45", true, false, 5});
    EXPECT_EQ(browse.Page().Rows().back().front(), "00045");
    browse.Prev();
    ExpectPage(browse, {"Records 21 to 40 of 45", true, true, 20});

    // Prev never goes before the first record.
    browse.Start(20, 10);
    ExpectPage(browse, {"Records 11 to 30 of 45", true, true, 20});
    browse.Prev();
    ExpectPage(browse, {"Records 1 to 20 of 45", false, true, 20});

    // A page load that cannot open the file keeps the page shown; the first record did move
    // on, so << Prev is enabled.
    std::filesystem::remove(path);
    browse.Next();
    ExpectPage(browse, {"Records 1 to 20 of 45", true, true, 20, "00001"});
    EXPECT_EQ(browse.PageFirstRecord(), 0);
    EXPECT_TRUE(ui.messages.empty());

    // A file ending on a page boundary shows an empty page last.
    ASSERT_TRUE(OpenRecords(40));
    browse.Start(20);
    browse.Next();
    ExpectPage(browse, {"Records 21 to 40 of 40", true, true, 20});
    browse.Next();
    ExpectPage(browse, {"Records 41 to 40 of 40", true, false, 0});
    browse.Prev();
    ExpectPage(browse, {"Records 21 to 40 of 40", true, true, 20, "00021"});
}

TEST_F(DataBrowse, AFileShorterThanOneRecordAndNoFields) {
    {
        CDataBrowse shortFile;
        ASSERT_TRUE(shortFile.Open(dir.Write("short.dat", "abc\r\n"), 82, kNumberField, ui));
        shortFile.Start(20);
        ExpectPage(shortFile, {"Records 1 to 0 of 0", false, false, 0});
    }
    ASSERT_TRUE(browse.Open(dir.Write("data.dat", Records(3)), 82, {}, ui));
    browse.Start(20);
    ExpectPage(browse, {"Records 1 to 3 of 3", false, false, 3});
    for (const auto& row : browse.Page().Rows())
        EXPECT_TRUE(row.empty());
    // The short file also brought the size warning.
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
}

TEST_F(DataBrowse, RefusesAndWarnsInOrder) {
    EXPECT_FALSE(browse.Open(dir.Write("data.dat", Records(2)), 0, kNumberField, ui));
    EXPECT_FALSE(browse.Open(dir.Write("data.dat", Records(2)), -5, kNumberField, ui));
    const std::string missing = dir.Path("missing.dat");
    EXPECT_FALSE(browse.Open(missing, 82, kNumberField, ui));
    EXPECT_FALSE(browse.Open(dir.Root().string(), 82, kNumberField, ui));
    ASSERT_TRUE(browse.Open(dir.Write("odd.dat", std::string(1000, 'x')), 82, kNumberField, ui));
    EXPECT_EQ(browse.RecordCount(), 12);

    const std::string lengthMessage =
        "Before browsing the data, please use the\n\"General\" dialog to enter the correct\n"
        "length of a record in the database.";
    const std::vector<std::string> expected = {
        lengthMessage,
        lengthMessage,
        "Unable to open file \"" + missing + "\"",
        "Unable to open file \"" + dir.Root().string() + "\"",
        "Warning - the database file size is not\nan exact multiple of the record length\nof "
        "82 bytes. That normally indicates a\nproblem in the file; make sure that all the\n"
        "records are the same length, and that the\nlast line in the file ends in a carriage "
        "return.",
    };
    EXPECT_EQ(ui.Texts(), expected);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(ui.messages[2].icon, MessageIcon::Stop);
    EXPECT_EQ(ui.messages[4].icon, MessageIcon::Warning);
}

TEST_F(DataBrowse, CellsHoldTheRawBytesOfTheirColumns) {
    const std::string record = std::string("  ab  |x\xE9y|") + std::string("z\0q", 3) + "\n";
    // Columns: 1-6 "  ab  ", 8-10 "x\xE9y", 12-14 "z\0q", 13-20 reaching past the record,
    // 30-40 wholly outside it.
    const std::vector<FieldDefinition> fields = {{"Spaces", "", 1, 6},
                                                 {"Latin", "", 8, 10},
                                                 {"Nul", "", 12, 14},
                                                 {"Past", "", 14, 20},
                                                 {"Outside", "", 30, 40}};
    const std::vector<std::string> expected = {"  ab  ", "x\xE9y", "z", "q\n", ""};  // NUL ends "z"
    for (std::size_t i = 0; i < fields.size(); ++i)
        EXPECT_EQ(CutField(record, fields[i]), expected[i]) << fields[i].m_strName;

    ASSERT_TRUE(browse.Open(dir.Write("data.dat", record + record), static_cast<int>(record.size()),
                            fields, ui));
    browse.Start(5);
    ASSERT_EQ(browse.Page().RowsRead(), 2);
    EXPECT_EQ(browse.Page().Rows()[1], expected);
}

TEST_F(DataBrowse, PagesNearTheEndOfAFileLargerThanFourGigabytes) {
    // A sparse file: only its last records hold data, the rest reads as zero bytes.
    const std::int64_t records = 60'000'000;  // 60 million records of 82 bytes: 4.92 GB
    path = dir.Write("huge.dat", "");
    std::error_code error;
    std::filesystem::resize_file(path, static_cast<std::uintmax_t>(records * 82), error);
    if (error)
        GTEST_SKIP() << "the temporary folder cannot hold a sparse 4.9 GB file";
    std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).seekp((records - 3) * 82)
        << Records(3);

    ASSERT_TRUE(browse.Open(path, 82, kNumberField, ui));
    EXPECT_EQ(browse.RecordCount(), records);
    browse.Start(20);
    EXPECT_EQ(browse.StatusText(), "Records 1 to 20 of 60000000");
    EXPECT_EQ(browse.Page().Rows().front().front(), "");  // zero bytes end the text at once

    // The last page, read at a record offset past 4 GB.
    CRawFile file;
    ASSERT_TRUE(file.Open(path));
    CDataPage page;
    page.Load(file, 82, kNumberField, records - 2, 20);
    ASSERT_EQ(page.RowsRead(), 2);
    EXPECT_EQ(page.Rows()[0].front(), "00002");
    EXPECT_EQ(page.Rows()[1].front(), "00003");
    EXPECT_TRUE(page.EndReached());
}
