#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <cstdlib>

#include "core/compile/CatalogReader.h"
#include "core/compile/Compile.h"
#include "core/import/CdsCatalogImport.h"
#include "core/import/CdsImporter.h"
#include "core/model/CatforgeDoc.h"
#include "support/RecordingInteraction.h"
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

// Notation and fields of right ascension, then of declination.
std::vector<int> PositionOf(const CCatforgeDoc& doc) {
    return {doc.m_nRaNotation,      doc.m_nRaHoursField,    doc.m_nRaMinutesField,
            doc.m_nRaSecondsField,  doc.m_nDecNotation,     doc.m_nDecSignField,
            doc.m_nDecDegreesField, doc.m_nDecMinutesField, doc.m_nDecSecondsField};
}

// Number of size fields, their units and meaning.
std::vector<int> SizeOf(const CCatforgeDoc& doc) {
    return {doc.m_nSizeFields, doc.m_nSizeUnits, doc.m_nSizeMeaning};
}

int FieldIndex(const CCatforgeDoc& doc, const std::string& name) {
    for (std::size_t i = 0; i < doc.m_aFields.size(); ++i) {
        if (doc.m_aFields[i].m_strName == name)
            return static_cast<int>(i);
    }
    return kNoField;
}

}  // namespace

TEST(CdsImporter, SampleFillsFieldsPositionEpochLabelAndMagnitudes) {
    const CCdsReadMe readMe = ParseOrFail(CTempDir::Read(kDataDir + "/ReadMe"));
    CCatforgeDoc doc;
    doc.DeleteContents();
    doc.m_strTitle = "old";
    CCdsImporter importer;
    ASSERT_TRUE(importer.Import(readMe, "table1.dat", "/data/table1.fixed.dat", 104, doc))
        << importer.Error();
    EXPECT_EQ(doc.m_strTitle, "Abundances of five open clusters (Pancino+, 2010)");
    EXPECT_EQ(doc.GetDataFile(), "/data/table1.fixed.dat");
    EXPECT_EQ(doc.m_nRecordLength, 104);
    ASSERT_EQ(doc.m_aFields.size(), 18u);
    EXPECT_EQ(doc.m_aFields[0], (FieldDefinition{"Cluster", "", 1, 7}));
    EXPECT_EQ(doc.m_aFields[2], (FieldDefinition{"RAh", "h", 14, 15}));
    EXPECT_EQ(doc.m_aFields[5], (FieldDefinition{"DE-", "", 25, 25}));
    EXPECT_EQ(doc.m_aFields[17], (FieldDefinition{"SName", "", 79, 103}));

    EXPECT_EQ(PositionOf(doc), (std::vector<int>{0, 2, 3, 4, 0, 5, 6, 7, 8}));
    EXPECT_EQ(doc.m_strEpoch, "J2000.0");
    EXPECT_EQ(doc.m_nLabelCount, 1);
    EXPECT_EQ(doc.m_anLabelField[0], 0);  // Cluster, the first name-like text field
    EXPECT_EQ(doc.m_nMagnitudeCount, 3);
    EXPECT_EQ(doc.m_anMagnitudeField, (std::array<int, 3>{10, 9, 11}));  // Vmag, Bmag, Icmag
    EXPECT_EQ(doc.m_nSizeFields, 0);
    EXPECT_EQ(doc.m_bPositionAngle, 0);
    EXPECT_EQ(doc.m_nTypeMode, 0);
    EXPECT_NE(doc.m_strNotes.find("J/A+A/511/A56, table1.dat: Observing logs"), std::string::npos);

    const std::string report = importer.Report().Text();
    EXPECT_NE(report.find("Magnitudes: Rmag, Ksmag not used"), std::string::npos) << report;
    EXPECT_NE(report.find("Size: no MajAxis/MinAxis-like fields found"), std::string::npos);
    EXPECT_NE(report.find("Epoch: J2000.0 (from the explanation of RAh)"), std::string::npos);
    // Icmag says "?=-": its missing values are not blank and would read as 0.
    EXPECT_NE(report.find("Magnitudes: Icmag marks a missing value with \"-\", which reads as "
                          "magnitude 0"),
              std::string::npos);
    EXPECT_EQ(report.find("Vmag marks"), std::string::npos);
}

TEST(CdsImporter, DegreesSizesPositionAngleAndUnknownLabels) {
    const CCdsReadMe readMe = ParseOrFail(
        OneTable("   1-  8  A8    ---     Seq       Sequential number\n"
                 "  10- 18  F9.5  deg     RAdeg     Right ascension (FK4, Equinox=B1950.0)\n"
                 "  20- 28  F9.5  deg     DEdeg     Declination (FK4)\n"
                 "  30- 34  F5.1  arcmin  MajAxis   Major axis\n"
                 "  36- 40  F5.1  arcmin  MinAxis   Minor axis\n"
                 "  42- 44  I3    deg     PA        Position angle\n"
                 "  46- 50  F5.2  mag   e_Vmag      Error on magnitude\n"
                 "  52- 55  F4.2  mag     B-V       Colour\n"
                 "  57- 60  A4    ---     Xyz       Something unknown\n"));
    CCatforgeDoc doc;
    CCdsImporter importer;
    ASSERT_TRUE(importer.Import(readMe, "cat.dat", "cat.fixed.dat", 62, doc)) << importer.Error();
    // Right ascension in degrees is notation 3.
    EXPECT_EQ(PositionOf(doc),
              (std::vector<int>{3, FieldIndex(doc, "RAdeg"), kNoField, kNoField, 2, kNoField,
                                FieldIndex(doc, "DEdeg"), kNoField, kNoField}));
    EXPECT_EQ(doc.m_strEpoch, "B1950.0");
    EXPECT_EQ(SizeOf(doc), (std::vector<int>{2, 1, 1}));
    EXPECT_EQ(doc.m_nMajorAxisField, FieldIndex(doc, "MajAxis"));
    EXPECT_EQ(doc.m_nMinorAxisField, FieldIndex(doc, "MinAxis"));
    EXPECT_EQ(doc.m_bPositionAngle, 1);
    EXPECT_EQ(doc.m_nPositionAngleField, FieldIndex(doc, "PA"));
    // Error and colour in mag are not magnitudes; nothing is name-like: no label at all.
    EXPECT_EQ(doc.m_nMagnitudeCount, 0);
    EXPECT_EQ(doc.m_nLabelCount, 0);
    EXPECT_EQ(doc.m_aFields.size(), 9u);
    const std::string report = importer.Report().Text();
    EXPECT_NE(report.find("Right ascension: RAdeg in degrees (notation 3)"), std::string::npos)
        << report;
    EXPECT_NE(report.find("Labels: no name or catalogue-number field"), std::string::npos);
    EXPECT_NE(report.find("Size: MajAxis, MinAxis in arcmin, as diameter"), std::string::npos);
}

TEST(CdsImporter, HoursAndMinutesNotationsAndRadius) {
    const CCdsReadMe readMe =
        ParseOrFail(OneTable("   1-  2  I2    h       RAh       Right ascension (J2000)\n"
                             "   4-  7  F4.1  min     RAm       Right ascension (J2000)\n"
                             "       9  A1    ---     DE-       Declination sign\n"
                             "  10- 11  I2    deg     DEd       Declination\n"
                             "  13- 16  F4.1  arcmin  DEm       Declination\n"
                             "  18- 21  F4.1  arcsec  Rad       Radius of the cluster\n"
                             "  23- 30  A8    ---     Name      NGC number\n",
                             "Note (1): all positions at Epoch=J1991.25.\n"));
    CCatforgeDoc doc;
    CCdsImporter importer;
    ASSERT_TRUE(importer.Import(readMe, "cat.dat", "x", 61, doc)) << importer.Error();
    EXPECT_EQ(PositionOf(doc), (std::vector<int>{1, 0, 1, kNoField, 1, 2, 3, 4, kNoField}));
    EXPECT_EQ(SizeOf(doc), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(doc.m_anLabelField[0], FieldIndex(doc, "Name"));
    EXPECT_EQ(doc.m_strEpoch, "J2000.0");
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
    doc.DeleteContents();
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

// From the ReadMe and its ragged data file to a compiled catalogue, with no editing in between:
// the compiled positions must agree with the catalogue's own RA/Dec columns.
TEST(CdsCatalogImport, SampleNormalisesAndCompilesKeepingThePositions) {
    CTempDir dir;
    std::filesystem::create_directory(dir.Path("out"));
    CdsImportRequest request;
    request.m_strReadMe = kDataDir + "/ReadMe";
    request.m_strFile = "table1.dat";
    request.m_strFixedFolder = dir.Path("out");
    CCatforgeDoc doc;
    CdsImportResult result;
    std::string error;
    ASSERT_TRUE(ImportCdsCatalogue(request, doc, result, error)) << error;
    EXPECT_EQ(result.m_strFixedFile, dir.Path("out/table1.fixed.dat"));
    EXPECT_EQ(doc.GetDataFile(), result.m_strFixedFile);
    EXPECT_EQ(doc.m_nRecordLength, 104);
    EXPECT_EQ(std::filesystem::file_size(result.m_strFixedFile), 15u * 104u);
    EXPECT_EQ(result.m_copy.m_nPadded, 12);
    ASSERT_TRUE(doc.OnSaveDocument(dir.Path("cluster.zdd")));

    // Compile the definition as read back from its file.
    CCatforgeDoc saved;
    CRecordingInteraction ui;
    saved.SetInteraction(&ui);
    ASSERT_TRUE(saved.OpenDocument(dir.Path("cluster.zdd")));
    ui.fileNames = {dir.Path("cluster.zdc")};
    EpochState epoch;
    ASSERT_TRUE(CompileDefinition(saved, epoch, ui)) << testing::PrintToString(ui.Texts());
    const std::string bytes = CTempDir::Read(dir.Path("cluster.zdc"));
    CompiledCatalog catalog;
    ASSERT_TRUE(ReadCompiledCatalog(bytes, catalog, error)) << error;
    ASSERT_EQ(catalog.entryCount, 15);
    EXPECT_EQ(catalog.definition.m_nRecordLength, 104);
    std::int32_t previousKey = -1;
    for (int i = 0; i < catalog.entryCount; ++i) {
        const CatalogEntry entry = ReadCatalogEntry(bytes, catalog, static_cast<std::size_t>(i));
        const std::string_view record = entry.record;
        ASSERT_EQ(record.size(), 104u);
        // Positions, magnitudes and sines are checked by the decoder tests and the golden
        // catalogue of the same data.
        // The Simbad name labels each star; the cluster name does not tell them apart.
        const std::string name(record.substr(78, 25));
        EXPECT_EQ(entry.label, name.substr(0, name.find_last_not_of(' ') + 1));
        EXPECT_GE(entry.raKey, previousKey);
        previousKey = entry.raKey;
    }

    // The fixed copy is accepted as it is; the original is not.
    request.m_bNormalize = false;
    request.m_strDataFile = result.m_strFixedFile;
    ASSERT_TRUE(ImportCdsCatalogue(request, doc, result, error)) << error;
    EXPECT_EQ(doc.GetDataFile(), dir.Path("out/table1.fixed.dat"));
    request.m_strDataFile = kDataDir + "/table1.dat";
    EXPECT_FALSE(ImportCdsCatalogue(request, doc, result, error));
    EXPECT_EQ(error, "The lines of \"" + request.m_strDataFile +
                         "\" are not all 103 bytes long; normalize it first.");
}

TEST(CdsCatalogImport, FindsCompressedDataBesideTheReadMe) {
    CTempDir dir;
    const std::string data = CTempDir::Read(kDataDir + "/table1.dat");
    gzFile gz = gzopen(dir.Path("table1.dat.gz").c_str(), "wb");
    ASSERT_NE(gz, nullptr);
    ASSERT_EQ(gzwrite(gz, data.data(), static_cast<unsigned>(data.size())),
              static_cast<int>(data.size()));
    gzclose(gz);
    CdsImportRequest request;
    request.m_strReadMe = dir.Write("ReadMe", CTempDir::Read(kDataDir + "/ReadMe"));
    request.m_strFile = "table1.dat";
    CCatforgeDoc doc;
    CdsImportResult result;
    std::string error;
    ASSERT_TRUE(ImportCdsCatalogue(request, doc, result, error)) << error;
    EXPECT_EQ(result.m_strDataFile, dir.Path("table1.dat.gz"));
    EXPECT_TRUE(result.m_copy.m_bCompressed);
    EXPECT_EQ(doc.GetDataFile(), dir.Path("table1.fixed.dat"));
    const std::string fixed = CTempDir::Read(dir.Path("table1.fixed.dat"));
    ASSERT_EQ(fixed.size(), 15u * 104u);
    EXPECT_EQ(fixed.substr(0, 91), data.substr(0, 91));
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
