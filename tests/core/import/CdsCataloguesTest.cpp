// Real catalogues and short ReadMe excerpts, each from the ReadMe to a compiled catalogue with
// no edit in between: every compiled position within 0.015" of the ERFA reference in
// tests/data/cds-excerpts/positions.csv (made by tools/gen-import-excerpts.py), every record
// without a position left out, every object labelled.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "core/compile/CatalogReader.h"
#include "core/compile/Compile.h"
#include "core/editing/DefinitionOverview.h"
#include "core/import/CdsCatalogImport.h"
#include "core/import/CdsDataCopy.h"
#include "core/model/CatforgeDoc.h"
#include "support/Golden.h"
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
    for (std::string line; std::getline(in, line);) {
        std::istringstream row(line);
        std::string name, label, ra, dec;
        if (std::getline(row, name, ',') && name == excerpt && std::getline(row, label, ',') &&
            std::getline(row, ra, ',') && std::getline(row, dec))
            rows[label] = {std::stod(ra), std::stod(dec)};
    }
    return rows;
}

// text with every from replaced by to.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

struct Catalogue {
    std::string name;    // its rows in positions.csv; golden/import/<name>[-<pieces>].txt
    std::string readMe;  // under the test data folder
    std::string file;    // the described file to import, empty: the one there is
    int pieces = 0;      // 1: its data file as .gz, 3: in pieces .00.gz, .01, .02.gz
};

class CdsCatalogues : public testing::TestWithParam<Catalogue> {};

TEST_P(CdsCatalogues, ImportAndCompileWithoutEdits) {
    const Catalogue& c = GetParam();
    CTempDir dir;
    CdsImportRequest request;
    request.m_strReadMe = kData + "/" + c.readMe;
    request.m_strFile = c.file;
    request.m_strFixedFolder = dir.Path("");
    if (c.pieces > 0) {
        // The data compressed, whole or in pieces, the ReadMe beside it and the fixed copy
        // written there, as no folder is given.
        const std::string data =
            CTempDir::Read((fs::path(request.m_strReadMe).parent_path() / c.file).string());
        const std::size_t cut1 = data.find('\n', data.size() / 3) + 1;
        const std::size_t cut2 = data.find('\n', 2 * data.size() / 3) + 1;
        request.m_strReadMe = dir.Write("ReadMe", CTempDir::Read(request.m_strReadMe));
        request.m_strFixedFolder.clear();
        if (c.pieces == 1) {
            dir.WriteGzip(c.file + ".gz", data);
        } else {
            dir.WriteGzip(c.file + ".00.gz", data.substr(0, cut1));
            dir.Write(c.file + ".01", data.substr(cut1, cut2 - cut1));
            dir.WriteGzip(c.file + ".02.gz", data.substr(cut2));
        }
    }
    CCatforgeDoc doc;
    CdsImportResult result;
    std::string error;
    ASSERT_TRUE(ImportCdsCatalogue(request, doc, result, error)) << error;
    // The definition as the main window's overview shows it, and the import report.
    const std::string text =
        FormatOverviewText(BuildDefinitionOverview(doc)) + "\n" + result.Text();
    ExpectSameAsGolden(
        Replaced(text, dir.Root().string(), "<dir>"),
        "import/" + c.name + (c.pieces ? "-" + std::to_string(c.pieces) : "") + ".txt");
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
    testing::Values(Catalogue{"bsc", "cds-real/bsc/ReadMe", "catalog", 0},
                    Catalogue{"bsc", "cds-real/bsc/ReadMe", "catalog", 1},
                    Catalogue{"bsc", "cds-real/bsc/ReadMe", "catalog", 3},
                    Catalogue{"deg", "cds-real/deg/ReadMe", "", 0},
                    Catalogue{"mrt", "cds-real/mrt/datafile3.txt", "", 0},
                    Catalogue{"sectioned", "cds-excerpts/sectioned/ReadMe", "", 0},
                    Catalogue{"sets", "cds-excerpts/sets/ReadMe", "", 0},
                    Catalogue{"sets2000", "cds-excerpts/sets2000/ReadMe", "", 0},
                    Catalogue{"scaled", "cds-excerpts/scaled/ReadMe", "", 0},
                    Catalogue{"radec", "cds-excerpts/radec/ReadMe", "", 0},
                    Catalogue{"latin1", "cds-excerpts/latin1/ReadMe", "", 0},
                    Catalogue{"number", "cds-excerpts/number/ReadMe", "", 0}),
    [](const testing::TestParamInfo<Catalogue>& param) {
        return param.param.name +
               (param.param.pieces ? "_" + std::to_string(param.param.pieces) : "");
    });

// The sample's ragged data file is normalised into the chosen folder, and the definition, with
// the data profile's choices (the Simbad name labels each star, the cluster name does not tell
// them apart), names that copy. The copy is then accepted as it is; the original is not.
TEST(CdsCatalogImport, SampleIsNormalisedIntoTheFixedFolder) {
    CTempDir dir;
    fs::create_directory(dir.Path("out"));
    CdsImportRequest request;
    request.m_strReadMe = kData + "/cds/ReadMe";
    request.m_strFile = "table1.dat";
    request.m_strFixedFolder = dir.Path("out");
    CCatforgeDoc doc;
    CdsImportResult result;
    std::string error;
    ASSERT_TRUE(ImportCdsCatalogue(request, doc, result, error)) << error;
    EXPECT_EQ(fs::file_size(dir.Path("out/table1.fixed.dat")), 15u * 104u);
    const std::string text =
        FormatOverviewText(BuildDefinitionOverview(doc)) + "\n" + result.Text();
    ExpectSameAsGolden(Replaced(text, dir.Root().string(), "<dir>"), "import/sample-catalogue.txt");

    // The fixed copy is accepted as it is; the original is not.
    request.m_bNormalize = false;
    request.m_strDataFile = result.m_strFixedFile;
    ASSERT_TRUE(ImportCdsCatalogue(request, doc, result, error)) << error;
    EXPECT_EQ(doc.GetDataFile(), dir.Path("out/table1.fixed.dat"));
    request.m_strDataFile = kData + "/cds/table1.dat";
    EXPECT_FALSE(ImportCdsCatalogue(request, doc, result, error));
    EXPECT_EQ(error, "The lines of \"" + request.m_strDataFile +
                         "\" are not all 103 bytes long; normalize it first.");
}

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
