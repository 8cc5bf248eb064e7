#include <gtest/gtest.h>

#include "core/import/CdsReadMe.h"
#include "support/TempDir.h"

namespace {

std::string SampleReadMe() {
    return CTempDir::Read(std::string(CATFORGE_TEST_DATA_DIR) + "/cds/ReadMe");
}

// Every part of a field, on one line.
std::string Describe(const CdsField& f) {
    return std::to_string(f.m_nFirstByte) + "-" + std::to_string(f.m_nLastByte) + " " +
           f.m_strFormat + " " + f.m_strUnits + " " + f.m_strLabel + ": " + f.m_strExplanation;
}

// A small ReadMe around one byte-by-byte table.
std::string ReadMeWithTable(const std::string& rows, const std::string& after = "") {
    return "J/X/1     A test catalogue     (Someone, 2024)\n"
           "Byte-by-byte Description of file: cat.dat\n"
           "--------------------------------------------------------------------------------\n"
           "   Bytes Format Units   Label     Explanations\n"
           "--------------------------------------------------------------------------------\n" +
           rows +
           "--------------------------------------------------------------------------------\n" +
           after;
}

}  // namespace

TEST(CdsReadMe, ReadsTheSampleSummaryTablesAndNotes) {
    CCdsReadMe readMe;
    ASSERT_TRUE(readMe.Parse(SampleReadMe())) << readMe.Error();
    EXPECT_EQ(readMe.m_strCatalogue, "J/A+A/511/A56");
    EXPECT_EQ(readMe.m_strTitle, "Abundances of five open clusters (Pancino+, 2010)");
    ASSERT_EQ(readMe.m_aFiles.size(), 3u);
    EXPECT_EQ(readMe.RecordLengthOf("table1.dat"), 103);
    EXPECT_EQ(readMe.RecordLengthOf("/some/where/table5.dat.gz"), 56);
    EXPECT_EQ(readMe.ExplanationOf("table1.dat"), "Observing logs and programme stars information");

    ASSERT_EQ(readMe.m_aDescriptions.size(), 2u);
    const CdsByteDescription* table1 = readMe.FindDescription("table1.dat");
    ASSERT_NE(table1, nullptr);
    ASSERT_EQ(table1->m_aFields.size(), 18u);
    EXPECT_EQ(Describe(table1->m_aFields[0]), "1-7 A7 --- Cluster: Cluster name");
    EXPECT_EQ(Describe(table1->m_aFields[5]), "25-25 A1 --- DE-: Declination sign (J2000)");
    EXPECT_EQ(table1->m_aFields[17].m_strLabel, "SName");
    EXPECT_EQ(table1->LastByte(), 103);

    const CdsByteDescription* table5 = readMe.FindDescription("table5.dat");
    ASSERT_NE(table5, nullptr);
    EXPECT_EQ(table5->m_aFields[8].m_strLabel, "e_EW");
    // The explanation of Q goes on in the next line.
    EXPECT_EQ(table5->m_aFields[9].m_strExplanation,
              "?=-9.999 DAOSPEC quality parameter Q (large values are bad)");
    EXPECT_EQ(readMe.FindDescription("table2.dat"), nullptr);
}

TEST(CdsReadMe, SingleByteFieldsMultiLineExplanationsAndNotes) {
    CCdsReadMe readMe;
    ASSERT_TRUE(readMe.Parse(ReadMeWithTable(
        "       1  A1    ---     Flag      [*] flag\n"
        "   3-  4  I2    h       RAh       Right ascension (B1950) (1)\n"
        "                                  second line of the explanation\n"
        "                                  1 = third, starting with a digit\n"
        "  6- 10   F5.2  mag     Vmag      V magnitude\n"
        "12-103    A92   ---     Remark    Free text\n",
        "Note (1): positions are\n"
        "    from plates.\n"
        "--------------------------------------------------------------------------------\n"
        "\n"
        "References:\n"
        "   Someone 2024\n")))
        << readMe.Error();
    const CdsByteDescription& table = readMe.m_aDescriptions.at(0);
    ASSERT_EQ(table.m_aFields.size(), 4u);
    EXPECT_EQ(Describe(table.m_aFields[0]), "1-1 A1 --- Flag: [*] flag");
    EXPECT_EQ(Describe(table.m_aFields[1]),
              "3-4 I2 h RAh: Right ascension (B1950) (1) second line of the explanation 1 = "
              "third, starting with a digit");
    EXPECT_EQ(Describe(table.m_aFields[3]), "12-103 A92 --- Remark: Free text");
    EXPECT_EQ(table.m_strNotes, "Note (1): positions are\n    from plates.");
    EXPECT_EQ(readMe.RecordLengthOf("cat.dat"), 0);  // no file summary
}

TEST(CdsReadMe, SeveralFilesOneTableAndPatterns) {
    CCdsReadMe readMe;
    const std::string text =
        "J/X/2 Two tables\n"
        "Byte-by-byte Description of file: north.dat, south.dat\n"
        "----\n Bytes Format Units Label Explanations\n----\n"
        " 1- 2 I2 h RAh Hours\n----\n"
        "Byte-by-byte Description of file: obs[0-9].dat\n"
        "----\n Bytes Format Units Label Explanations\n----\n"
        " 1- 5 A5 --- Name Star name\n----\n";
    ASSERT_TRUE(readMe.Parse(text)) << readMe.Error();
    ASSERT_EQ(readMe.m_aDescriptions.size(), 2u);
    EXPECT_EQ(readMe.m_aDescriptions[0].m_astrFiles,
              (std::vector<std::string>{"north.dat", "south.dat"}));
    EXPECT_EQ(readMe.FindDescription("south.dat"), &readMe.m_aDescriptions[0]);
    EXPECT_EQ(readMe.FindDescription("data/obs7.dat.gz"), &readMe.m_aDescriptions[1]);
    EXPECT_EQ(readMe.FindDescription("obsX.dat"), nullptr);
}

TEST(CdsReadMe, NameMatching) {
    EXPECT_TRUE(CdsNameMatches("table1.dat", "table1.dat"));
    EXPECT_FALSE(CdsNameMatches("table1.dat", "table1.da"));
    EXPECT_TRUE(CdsNameMatches("*.dat", "x.dat"));
    EXPECT_TRUE(CdsNameMatches("t?b*", "tab1.dat"));
    EXPECT_TRUE(CdsNameMatches("t[!x]b", "tab"));
    EXPECT_FALSE(CdsNameMatches("t[!a]b", "tab"));
    EXPECT_TRUE(CdsNameMatches("[", "["));  // an unclosed set is a plain character
    EXPECT_EQ(CdsBareFileName("/a/b/c.dat.gz"), "c.dat");
    EXPECT_EQ(CdsBareFileName("c"), "c");
}

TEST(CdsReadMe, MalformedReadMesNameTheLine) {
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {ReadMeWithTable("   1-  7  A7    ---     Name      Name\n"
                         "   x-  9  A2    ---     Bad       Bad\n"),
         "line 7: expected a byte range such as \"1- 7\" or \"25\""},
        {ReadMeWithTable("   9-  7  A7    ---     Name      Name\n"),
         "line 6: byte range 9-7 is not valid"},
        {ReadMeWithTable("   1-     A7    ---     Name      Name\n"),
         "line 6: expected the last byte after \"-\""},
        {ReadMeWithTable("   1-  7  A7\n"),
         "line 6: expected format, units and label after the byte range"},
        {ReadMeWithTable("                                  orphan text\n"),
         "line 6: explanation text before the first field"},
        {ReadMeWithTable(""), "line 2: the byte-by-byte table lists no fields"},
        {"T\nByte-by-byte Description of file: a.dat\n----\n Bytes Label\n----\n 1- 2 I2 h RAh\n",
         "line 2: the byte-by-byte table is not closed by a line of dashes"},
        {"T\nByte-by-byte Description of file: a.dat\n Bytes Format Units Label\n",
         "line 3: expected a line of dashes under the byte-by-byte heading"},
        {"T\nByte-by-byte Description of file: a.dat\n----\n Format Units\n",
         "line 4: expected the column heading \"Bytes Format Units Label Explanations\""},
        {"T\nByte-by-byte Description of file:\n",
         "line 2: the byte-by-byte description names no file"},
        {"T\nByte-by-byte Description\n", "line 2: the byte-by-byte description names no file"},
        {"T\nFile Summary:\n----\n FileName Lrecl Records Explanations\n----\n"
         "a.dat  1O3  5  Data\n",
         "line 6: Lrecl \"1O3\" of file \"a.dat\" is not a number"},
        {"T\nFile Summary:\n----\n FileName Lrecl Records Explanations\n----\n"
         "a.dat  8\xd7\x01  5  Data\n",
         "line 6: Lrecl \"8\xc3\x97\\x01\" of file \"a.dat\" is not a number"},
        {"Just some text\nwithout tables\n",
         "no \"Byte-by-byte Description of file:\" found; is this a CDS ReadMe?"},
        {"", "no \"Byte-by-byte Description of file:\" found; is this a CDS ReadMe?"},
    };
    for (const Case& c : cases) {
        CCdsReadMe readMe;
        EXPECT_FALSE(readMe.Parse(c.text)) << c.text;
        EXPECT_EQ(readMe.Error(), c.error) << c.text;
        EXPECT_TRUE(readMe.m_aDescriptions.empty());
    }
}

TEST(CdsReadMe, CrLfReadMeReadsLikeLf) {
    std::string text = SampleReadMe();
    std::string crlf;
    for (char c : text) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    CCdsReadMe lf, dos;
    ASSERT_TRUE(lf.Parse(text));
    ASSERT_TRUE(dos.Parse(crlf)) << dos.Error();
    ASSERT_EQ(dos.m_aDescriptions.size(), lf.m_aDescriptions.size());
    EXPECT_EQ(dos.m_aDescriptions[1].m_aFields[9].m_strExplanation,
              lf.m_aDescriptions[1].m_aFields[9].m_strExplanation);
    EXPECT_EQ(dos.m_strTitle, lf.m_strTitle);
}

// Sections inside a table, tabs and bullets in the summary, and a journal's single-file table
// with its data after the last rule.
TEST(CdsReadMe, SectionsTabsBulletsAndSingleFileTables) {
    CCdsReadMe readMe;
    ASSERT_TRUE(readMe.Parse(
        "Title: A journal table\n       on two lines\n"
        "File Summary:\n----\n FileName Lrecl Records Explanations\n----\n"
        "\xd7 t.txt\t40\t2\tThe table\n----\n"
        "Byte-by-byte Description of file: t.txt\n----\n Bytes Format Units Label Explanations\n"
        "----\n   1-  3 I3 --- Seq Number\n----\n        Photometry\n----\n"
        "   5-  9 F5.2 mag Vmag V magnitude\n\t\t\t  continued\n----\n"
        "Note (1): a note\n----\n  1 10.00\n  2  9.50\n"))
        << readMe.Error();
    EXPECT_EQ(readMe.m_strTitle, "A journal table on two lines");
    ASSERT_EQ(readMe.m_aFiles.size(), 1u);
    EXPECT_EQ(readMe.RecordLengthOf("t.txt"), 40);
    ASSERT_EQ(readMe.m_aDescriptions.size(), 1u);
    const CdsByteDescription& table = readMe.m_aDescriptions[0];
    ASSERT_EQ(table.m_aFields.size(), 2u);
    EXPECT_EQ(table.m_aFields[1].m_strExplanation, "V magnitude continued");
    EXPECT_EQ(table.m_strNotes, "Note (1): a note");
    EXPECT_EQ(readMe.m_nDataLine, 22);
}
