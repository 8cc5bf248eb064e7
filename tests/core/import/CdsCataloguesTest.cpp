// Real catalogues and short ReadMe excerpts, each from the ReadMe to a compiled catalogue with
// no edit in between: every compiled position within 0.015" of the ERFA reference in
// tests/data/cds-excerpts/positions.csv (made by tools/gen-import-excerpts.py), every record
// without a position left out, every object labelled.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>

#include "core/compile/CatalogReader.h"
#include "core/compile/Compile.h"
#include "core/import/CdsCatalogImport.h"
#include "core/import/CdsDataCopy.h"
#include "core/model/CatforgeDoc.h"
#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

const std::string kData = std::string(CATFORGE_TEST_DATA_DIR);

struct Expected {
    double ra = 0.0;
    double dec = 0.0;
};

// label -> reference position, for one excerpt.
std::map<std::string, Expected> ReferencePositions(const std::string& excerpt) {
    std::map<std::string, Expected> rows;
    std::ifstream in(kData + "/cds-excerpts/positions.csv");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(excerpt + ",", 0) != 0)
            continue;
        const std::size_t a = line.find(',');
        const std::size_t b = line.find(',', a + 1);
        const std::size_t c = line.find(',', b + 1);
        rows[line.substr(a + 1, b - a - 1)] = {std::stod(line.substr(b + 1, c - b - 1)),
                                               std::stod(line.substr(c + 1))};
    }
    return rows;
}

void WriteGzip(const std::string& path, const std::string& bytes) {
    gzFile gz = gzopen(path.c_str(), "wb");
    ASSERT_NE(gz, nullptr);
    ASSERT_EQ(gzwrite(gz, bytes.data(), static_cast<unsigned>(bytes.size())),
              static_cast<int>(bytes.size()));
    ASSERT_EQ(gzclose(gz), Z_OK);
}

struct Catalogue {
    std::string name;                 // its rows in positions.csv
    std::string readMe;               // under the test data folder
    std::string file;                 // the described file to import, empty: the one there is
    bool split = false;               // read from pieces .00.gz, .01, .02.gz of its data file
    std::vector<std::string> report;  // lines the import report must hold
};

class CdsCatalogues : public testing::TestWithParam<Catalogue> {};

TEST_P(CdsCatalogues, ImportAndCompileWithoutEdits) {
    const Catalogue& c = GetParam();
    CTempDir dir;
    CdsImportRequest request;
    request.m_strReadMe = kData + "/" + c.readMe;
    request.m_strFile = c.file;
    request.m_strFixedFolder = dir.Path("");
    if (c.split) {
        // The data in three pieces, the ReadMe beside them.
        const std::string data =
            CTempDir::Read((fs::path(request.m_strReadMe).parent_path() / c.file).string());
        const std::size_t cut1 = data.find('\n', data.size() / 3) + 1;
        const std::size_t cut2 = data.find('\n', 2 * data.size() / 3) + 1;
        request.m_strReadMe = dir.Write("ReadMe", CTempDir::Read(request.m_strReadMe));
        WriteGzip(dir.Path(c.file + ".00.gz"), data.substr(0, cut1));
        dir.Write(c.file + ".01", data.substr(cut1, cut2 - cut1));
        WriteGzip(dir.Path(c.file + ".02.gz"), data.substr(cut2));
    }
    CCatforgeDoc doc;
    CdsImportResult result;
    std::string error;
    ASSERT_TRUE(ImportCdsCatalogue(request, doc, result, error)) << error;
    const std::string report = result.Text();
    for (const std::string& line : c.report)
        EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
    ASSERT_TRUE(doc.OnSaveDocument(dir.Path("cat.zdd")));

    CCatforgeDoc saved;
    CRecordingInteraction ui;
    saved.SetInteraction(&ui);
    ASSERT_TRUE(saved.OpenDocument(dir.Path("cat.zdd")));
    ui.fileNames = {dir.Path("cat.zdc")};
    EpochState epoch;
    ASSERT_TRUE(CompileDefinition(saved, epoch, ui)) << testing::PrintToString(ui.Texts());
    const std::string bytes = CTempDir::Read(dir.Path("cat.zdc"));
    CompiledCatalog catalog;
    ASSERT_TRUE(ReadCompiledCatalog(bytes, catalog, error)) << error;

    // Exactly the records with a position, each where its own fields put it.
    const std::map<std::string, Expected> expected = ReferencePositions(c.name);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(catalog.entryCount, static_cast<int>(expected.size()));
    for (int i = 0; i < catalog.entryCount; ++i) {
        const CatalogEntry entry = ReadCatalogEntry(bytes, catalog, static_cast<std::size_t>(i));
        const auto found = expected.find(entry.label);
        ASSERT_NE(found, expected.end()) << "unexpected label \"" << entry.label << "\"";
        const double ra = entry.raKey / 360000.0, dec = entry.decKey / 360000.0;
        double dRa = std::remainder(ra - found->second.ra, 360.0);
        dRa *= std::cos(found->second.dec * M_PI / 180.0);
        const double arcsec = 3600.0 * std::hypot(dRa, dec - found->second.dec);
        EXPECT_LT(arcsec, 0.015) << entry.label;
    }
}

INSTANTIATE_TEST_SUITE_P(
    RealAndExcerpts, CdsCatalogues,
    testing::Values(
        Catalogue{
            "bsc",
            "cds-real/bsc/ReadMe",
            "catalog",
            false,
            {"Left out 2 records without a position (RA or Dec fields all blank):\n"
             "  line 6 47    Tuc\n  line 7 HR 95",
             "Position set: RAh, RAm, RAs, DE-, DEd, DEm, DEs (RA in hours, Dec in degrees, "
             "minutes, seconds, to 1.5\"), a J2000.0 set",
             "Epoch: J2000.0 (from the explanation of RAh)", "Label 2: HR with prefix \"HR \"",
             "Magnitudes: Vmag\n", "Position: another set not used: RAh1900"}},
        Catalogue{"bsc",
                  "cds-real/bsc/ReadMe",
                  "catalog",
                  true,
                  {"Data read from 3 pieces in order, catalog.00.gz to catalog.02.gz",
                   "Left out 2 records"}},
        Catalogue{"deg",
                  "cds-real/deg/ReadMe",
                  "",
                  false,
                  {"Right ascension: RAdeg in degrees (notation 3)",
                   "Epoch: J2000.0 (from the explanation of RAdeg)",
                   "Label 2: HIP with prefix \"HIP \""}},
        Catalogue{"mrt",
                  "cds-real/mrt/datafile3.txt",
                  "",
                  false,
                  {"Data read from the ReadMe itself, from line 38 (a single-file table)",
                   "1 with trailing blanks dropped", "Magnitudes: AK not used"}},
        Catalogue{"sectioned", "cds-excerpts/sectioned/ReadMe", "", false, {"Magnitudes: Vmag"}},
        Catalogue{"sets",
                  "cds-excerpts/sets/ReadMe",
                  "",
                  false,
                  {"no J2000.0 set; the most precise set with its own epoch",
                   "Epoch: B1875.0 (from its label)",
                   "another set not used: RAh, RAm, RAs, DE-, DEd, DEm (RA in hours, Dec in "
                   "degrees, minutes, seconds, to 60\"), epoch B1950.0"}},
        Catalogue{"sets2000",
                  "cds-excerpts/sets2000/ReadMe",
                  "",
                  false,
                  {"Position set: RA2000h", "a J2000.0 set", "epoch B1900.0", "epoch B1970.0"}},
        Catalogue{"scaled",
                  "cds-excerpts/scaled/ReadMe",
                  "",
                  false,
                  {"Right ascension: RAhours*, a decimal column appended",
                   "Declination: DEdeg*, a decimal column appended"}},
        Catalogue{"radec",
                  "cds-excerpts/radec/ReadMe",
                  "",
                  false,
                  {"Right ascension: RA in degrees (notation 3)", "Declination: Dec (signed "}},
        Catalogue{"latin1",
                  "cds-excerpts/latin1/ReadMe",
                  "",
                  false,
                  {"Epoch: B1950.0 (from the ReadMe's description)",
                   "File summary: it does not list \"table.dat\" by that name"}},
        Catalogue{"number",
                  "cds-excerpts/number/ReadMe",
                  "",
                  false,
                  {"Label 1: Sh2 with prefix \"Sh2-\"", "Epoch: B1950.0 (from the explanation"}}),
    [](const testing::TestParamInfo<Catalogue>& param) {
        return param.param.name + (param.param.split ? "_split" : "");
    });

// Where the data is found beside the ReadMe, and what the copy keeps of each line.
TEST(CdsDataCopy, DownloadNamesPiecesAndTrailingBytes) {
    CTempDir dir;
    struct Case {
        std::vector<std::string> present;
        std::vector<std::string> found;
    };
    const Case cases[] = {
        {{"cat.dat.gz", "cat.txt"}, {"cat.dat.gz"}},
        {{"cat.txt"}, {"cat.txt"}},
        {{"cat.00", "cat.01.gz", "cat.02", "cat.04"}, {"cat.00", "cat.01.gz", "cat.02"}},
        {{"other"}, {}},
    };
    for (const Case& c : cases) {
        fs::remove_all(dir.Path("d"));
        fs::create_directory(dir.Path("d"));
        for (const std::string& name : c.present)
            dir.Write("d/" + name, "x\n");
        std::vector<std::string> names;
        for (const std::string& path : FindCdsDataFiles(dir.Path("d"), "cat"))
            names.push_back(fs::path(path).filename().string());
        EXPECT_EQ(names, c.found) << testing::PrintToString(c.present);
    }

    // Blanks beyond the described length go; anything else there is an error that quotes
    // the bytes readably.
    CdsRecordPlan plan;
    plan.m_nLineLength = 4;
    CdsCopyReport report;
    std::string error;
    const std::string ok = dir.Write("ok.dat", "ab  \nabcd   \n\nx\n");
    ASSERT_TRUE(WriteCdsCopy({ok}, 0, plan, dir.Path("ok.fixed"), report, error)) << error;
    EXPECT_EQ(CTempDir::Read(dir.Path("ok.fixed")), "ab  \nabcd\nx   \n");
    EXPECT_EQ(
        std::vector<std::int64_t>({report.m_nRecords, report.m_nTrimmed, report.m_nBlankLines}),
        std::vector<std::int64_t>({3, 1, 1}));
    const std::string bad = dir.Write("bad.dat", "abcd \xd7\tz\n");
    EXPECT_FALSE(WriteCdsCopy({bad}, 0, plan, dir.Path("bad.fixed"), report, error));
    EXPECT_EQ(error, "Line 1 of \"" + bad +
                         "\" has \"\xc3\x97\\x09z\" beyond byte 4, the line length "
                         "the ReadMe describes.");
    EXPECT_FALSE(fs::exists(dir.Path("bad.fixed")));
}

}  // namespace
