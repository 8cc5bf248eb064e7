#include <gtest/gtest.h>

#include <filesystem>

#include "core/editing/DefinitionOverview.h"
#include "core/import/CdsCatalogImport.h"
#include "core/import/CdsImporter.h"
#include "core/model/CatforgeDoc.h"
#include "support/Golden.h"
#include "support/TempDir.h"

namespace {

const std::string kDataDir = std::string(CATFORGE_TEST_DATA_DIR) + "/cds";

CCdsReadMe ParseOrFail(const std::string& text) {
    CCdsReadMe readMe;
    EXPECT_TRUE(readMe.Parse(text)) << readMe.Error();
    return readMe;
}

std::string OneTable(const std::string& rows, const std::string& notes = "") {
    return "J/X/1 Test\n"
           "File Summary:\n----\n FileName Lrecl Records Explanations\n----\n"
           "cat.dat   60   2  The objects\n----\n"
           "Byte-by-byte Description of file: cat.dat\n"
           "----\n   Bytes Format Units   Label     Explanations\n----\n" +
           rows + "----\n" + notes;
}

}  // namespace

// Each ReadMe imported for one of its files: the definition as the main window's overview
// shows it, then the import report, against golden/import/<name>.txt.
TEST(CdsImporter, DefinitionAndReportOfEachReadMe) {
    struct Case {
        std::string name;
        std::string readMe;
        const char* file;
        int recordLength;
    };
    const Case cases[] = {
        // Fields, position in hours, epoch, the first name-like field as label, magnitudes;
        // Icmag says "?=-": its missing values are not blank and would read as 0.
        {"sample", CTempDir::Read(kDataDir + "/ReadMe"), "table1.dat", 104},
        // Right ascension in degrees (notation 3), FK4's epoch, axes in arcmin and position
        // angle; an error and a colour in mag are no magnitudes, and nothing is name-like.
        {"degrees",
         OneTable("   1-  8  A8    ---     Seq       Sequential number\n"
                  "  10- 18  F9.5  deg     RAdeg     Right ascension (FK4, Equinox=B1950.0)\n"
                  "  20- 28  F9.5  deg     DEdeg     Declination (FK4)\n"
                  "  30- 34  F5.1  arcmin  MajAxis   Major axis\n"
                  "  36- 40  F5.1  arcmin  MinAxis   Minor axis\n"
                  "  42- 44  I3    deg     PA        Position angle\n"
                  "  46- 50  F5.2  mag   e_Vmag      Error on magnitude\n"
                  "  52- 55  F4.2  mag     B-V       Colour\n"
                  "  57- 60  A4    ---     Xyz       Something unknown\n"),
         "cat.dat", 62},
        // Hours and minutes of RA, degrees and minutes of Dec, a radius in arcsec.
        {"hours",
         OneTable("   1-  2  I2    h       RAh       Right ascension (J2000)\n"
                  "   4-  7  F4.1  min     RAm       Right ascension (J2000)\n"
                  "       9  A1    ---     DE-       Declination sign\n"
                  "  10- 11  I2    deg     DEd       Declination\n"
                  "  13- 16  F4.1  arcmin  DEm       Declination\n"
                  "  18- 21  F4.1  arcsec  Rad       Radius of the cluster\n"
                  "  23- 30  A8    ---     Name      NGC number\n",
                  "Note (1): all positions at Epoch=J1991.25.\n"),
         "cat.dat", 61},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCatforgeDoc doc;
        doc.m_strTitle = "old";
        CCdsImporter importer;
        ASSERT_TRUE(importer.Import(ParseOrFail(c.readMe), c.file, "/data/" + c.name + ".dat",
                                    c.recordLength, doc))
            << importer.Error();
        ExpectSameAsGolden(
            FormatOverviewText(BuildDefinitionOverview(doc)) + "\n" + importer.Report().Text(),
            "import/" + c.name + ".txt");
    }
}

TEST(CdsImporter, EpochFromExplanations) {
    const std::pair<const char*, const char*> cases[] = {
        {"Right ascension (J2000)", "J2000.0"},
        {"Right ascension (B1950)", "B1950.0"},
        {"Declination, Equinox=J2000.0, Epoch=J1991.25", "J2000.0"},
        {"RA at Epoch=J1991.25 (ICRS)", "J2000.0"},
        {"Position for equinox 1950", "B1950.0"},
        {"Right ascension (FK4)", "B1950.0"},
        {"Hours of right ascension", ""},
        {"Object J12345+1234", ""},  // a name, not an epoch
        {"Epoch J1991.25", ""},
    };
    for (const auto& [text, epoch] : cases) {
        EXPECT_EQ(CCdsImporter::FindEpoch(text), epoch) << text;
    }
}

TEST(CdsImporter, RefusesWhatItCannotImportAndLeavesTheDocument) {
    const CCdsReadMe readMe = ParseOrFail(OneTable("   1- 60  A60   ---     Name      Name\n"));
    CCatforgeDoc doc;
    doc.m_strTitle = "kept";
    CCdsImporter importer;
    EXPECT_FALSE(importer.Import(readMe, "other.dat", "x", 61, doc));
    EXPECT_EQ(importer.Error(), "The ReadMe has no byte-by-byte description of \"other.dat\".");
    EXPECT_FALSE(importer.Import(readMe, "cat.dat", "x", 60, doc));
    EXPECT_EQ(importer.Error(),
              "The record length of 60 bytes does not hold the fields, which end at byte 60.");
    EXPECT_FALSE(importer.Import(readMe, "cat.dat", std::string(260, 'p'), 61, doc));
    EXPECT_EQ(doc.m_strTitle, "kept");
    EXPECT_EQ(CCdsImporter::LineLengthOf(readMe, "cat.dat"), 60);
}

TEST(CdsCatalogImport, ErrorsWriteNothing) {
    CTempDir dir;
    CdsImportRequest request;
    request.m_strReadMe = dir.Write("ReadMe", OneTable("   x\n"));
    dir.Write("cat.dat", "abc\n");
    CCatforgeDoc doc;
    CdsImportResult result;
    std::string error;
    EXPECT_FALSE(ImportCdsCatalogue(request, doc, result, error));
    EXPECT_EQ(error, "\"" + request.m_strReadMe +
                         "\", line 12: expected a byte range such as \"1- 7\" or \"25\"");

    // A data line longer than the ReadMe's Lrecl.
    request.m_strReadMe = dir.Write("ReadMe", OneTable("   1- 10  A10   ---     Name  Name\n"));
    dir.Write("cat.dat", "abc\n" + std::string(61, 'x') + "\n");
    EXPECT_FALSE(ImportCdsCatalogue(request, doc, result, error));
    EXPECT_EQ(error, "Line 2 of \"" + dir.Path("cat.dat") +
                         "\" has \"x\" beyond byte 60, the line length the ReadMe describes.");

    // No data file beside the ReadMe.
    std::filesystem::remove(dir.Path("cat.dat"));
    EXPECT_FALSE(ImportCdsCatalogue(request, doc, result, error));
    EXPECT_NE(error.find("Cannot find the data file"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(dir.Path("cat.fixed.dat")));
}

TEST(CdsCatalogImport, FixedFileNames) {
    EXPECT_EQ(FixedFileName("/a/table1.dat"), "/a/table1.fixed.dat");
    EXPECT_EQ(FixedFileName("table1.dat.gz"), "table1.fixed.dat");
    EXPECT_EQ(FixedFileName("data"), "data.fixed");
}
