#include <gtest/gtest.h>

#include "core/import/CdsReadMe.h"
#include "support/Golden.h"
#include "support/TempDir.h"

namespace {

std::string SampleReadMe() {
    return CTempDir::Read(std::string(CATFORGE_TEST_DATA_DIR) + "/cds/ReadMe");
}

// Everything a parse keeps, one item a line.
std::string Dump(const CCdsReadMe& readMe) {
    std::string text = readMe.m_strCatalogue + " | " + readMe.m_strTitle + "\ndata at line " +
                       std::to_string(readMe.m_nDataLine) + "\n";
    for (const CdsFileEntry& f : readMe.m_aFiles)
        text += "file " + f.m_strName + " " + std::to_string(f.m_nLrecl) + ": " +
                f.m_strExplanation + "\n";
    for (const CdsByteDescription& d : readMe.m_aDescriptions) {
        text += "table at line " + std::to_string(d.m_nLine) + ":";
        for (const std::string& name : d.m_astrFiles)
            text += " " + name;
        for (const CdsField& f : d.m_aFields) {
            text += "\n  line " + std::to_string(f.m_nLine) + ": " +
                    std::to_string(f.m_nFirstByte) + "-" + std::to_string(f.m_nLastByte) + " " +
                    f.m_strFormat + " " + f.m_strUnits + " " + f.m_strLabel + ": " +
                    f.m_strExplanation;
        }
        text += "\nnotes: " + d.m_strNotes + "\n";
    }
    return text;
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

// One table for two files, one for a name pattern.
const char* const kTwoTables =
    "J/X/2 Two tables\n"
    "Byte-by-byte Description of file: north.dat, south.dat\n"
    "----\n Bytes Format Units Label Explanations\n----\n"
    " 1- 2 I2 h RAh Hours\n----\n"
    "Byte-by-byte Description of file: obs[0-9].dat\n"
    "----\n Bytes Format Units Label Explanations\n----\n"
    " 1- 5 A5 --- Name Star name\n----\n";

}  // namespace

// Each ReadMe whole, against golden/readme/<name>.txt: the sample, also with CR LF line ends,
// which read like LF; single-byte fields, explanations going on over lines (one starting with
// a digit) and notes; one table for two files and one for a pattern; sections inside a table,
// tabs and bullets in the summary, and a journal's single-file table with its data after the
// last rule.
TEST(CdsReadMe, EachReadMeReadsWhole) {
    std::string crlf;
    for (const char c : SampleReadMe())
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::pair<const char*, std::string> cases[] = {
        {"sample", SampleReadMe()},
        {"sample", crlf},
        {"explanations",
         ReadMeWithTable("       1  A1    ---     Flag      [*] flag\n"
                         "   3-  4  I2    h       RAh       Right ascension (B1950) (1)\n"
                         "                                  second line of the explanation\n"
                         "                                  1 = third, starting with a digit\n"
                         "  6- 10   F5.2  mag     Vmag      V magnitude\n"
                         "12-103    A92   ---     Remark    Free text\n",
                         "Note (1): positions are\n"
                         "    from plates.\n"
                         "--------------------------------------------------------------------"
                         "------------\n"
                         "\n"
                         "References:\n"
                         "   Someone 2024\n")},
        {"two-tables", kTwoTables},
        {"journal",
         "Title: A journal table\n       on two lines\n"
         "File Summary:\n----\n FileName Lrecl Records Explanations\n----\n"
         "\xd7 t.txt\t40\t2\tThe table\n----\n"
         "Byte-by-byte Description of file: t.txt\n----\n Bytes Format Units Label Explanations\n"
         "----\n   1-  3 I3 --- Seq Number\n----\n        Photometry\n----\n"
         "   5-  9 F5.2 mag Vmag V magnitude\n\t\t\t  continued\n----\n"
         "Note (1): a note\n----\n  1 10.00\n  2  9.50\n"},
    };
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name);
        CCdsReadMe readMe;
        ASSERT_TRUE(readMe.Parse(text)) << readMe.Error();
        ExpectSameAsGolden(Dump(readMe), std::string("readme/") + name + ".txt");
    }
}

TEST(CdsReadMe, FilesFindTheirLineLengthAndTable) {
    CCdsReadMe readMe;
    ASSERT_TRUE(readMe.Parse(SampleReadMe())) << readMe.Error();
    EXPECT_EQ(readMe.RecordLengthOf("table1.dat"), 103);
    EXPECT_EQ(readMe.RecordLengthOf("/some/where/table5.dat.gz"), 56);
    EXPECT_EQ(readMe.RecordLengthOf("table2.dat"), 0);  // not in the summary
    EXPECT_EQ(readMe.ExplanationOf("table1.dat"), "Observing logs and programme stars information");
    ASSERT_NE(readMe.FindDescription("table1.dat"), nullptr);
    EXPECT_EQ(readMe.FindDescription("table1.dat")->LastByte(), 103);
    EXPECT_EQ(readMe.FindDescription("table2.dat"), nullptr);

    ASSERT_TRUE(readMe.Parse(kTwoTables)) << readMe.Error();
    EXPECT_EQ(readMe.FindDescription("south.dat"), &readMe.m_aDescriptions.at(0));
    EXPECT_EQ(readMe.FindDescription("data/obs7.dat.gz"), &readMe.m_aDescriptions.at(1));
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
