// From a VizieR ReadMe and its ragged data file to a compiled catalogue, with no editing in
// between: the compiled positions must agree with the catalogue's own RA/Dec columns.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "compile/CatalogReader.h"
#include "compile/Compile.h"
#include "import/CdsCatalogImport.h"
#include "model/CatforgeDoc.h"
#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

namespace {

const std::string kDataDir = std::string(CATFORGE_TEST_DATA_DIR) + "/cds";

double Column(std::string_view record, int first, int last) {
    return std::atof(std::string(record.substr(static_cast<std::size_t>(first - 1),
                                               static_cast<std::size_t>(last - first + 1)))
                         .c_str());
}

}  // namespace

TEST(ImportCompile, SampleCompilesAndKeepsTheCataloguePositions) {
    CTempDir dir;
    CdsImportRequest request;
    request.m_strReadMe = kDataDir + "/ReadMe";
    request.m_strFile = "table1.dat";
    request.m_strFixedFolder = dir.Root().string();
    CCatforgeDoc doc;
    doc.NewDocument();
    CdsImportResult result;
    std::string error;
    ASSERT_TRUE(ImportCdsCatalogue(request, doc, result, error)) << error;
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
    EXPECT_EQ(catalog.recordLength, 104);
    std::int32_t previousKey = -1;
    for (int i = 0; i < catalog.entryCount; ++i) {
        const CatalogEntry entry = ReadCatalogEntry(bytes, catalog, static_cast<std::size_t>(i));
        const std::string_view record = entry.record;
        ASSERT_EQ(record.size(), 104u);
        // The catalogue's own columns: RA 14-15, 17-18, 20-23; Dec sign 25, 26-27, 29-30, 32-35.
        const double ra = 15.0 * (Column(record, 14, 15) + Column(record, 17, 18) / 60.0 +
                                  Column(record, 20, 23) / 3600.0);
        double dec = Column(record, 26, 27) + Column(record, 29, 30) / 60.0 +
                     Column(record, 32, 35) / 3600.0;
        if (record[24] == '-')
            dec = -dec;
        SCOPED_TRACE(std::string(record.substr(0, 35)));
        // Keys are truncated 0.01" units computed through radians: within one unit.
        EXPECT_NEAR(entry.raKey, ra * 360000.0, 1.001);
        EXPECT_NEAR(entry.decKey, dec * 360000.0, 1.001);
        EXPECT_NEAR(std::sin(ra * M_PI / 180.0), entry.sinRa, 1e-6);
        EXPECT_EQ(entry.magnitude, std::lround(Column(record, 43, 47) * 100.0));  // Vmag
        EXPECT_EQ(entry.label,
                  std::string(record.substr(0, 7))
                      .erase(std::string(record.substr(0, 7)).find_last_not_of(' ') + 1));
        EXPECT_GE(entry.raKey, previousKey);
        previousKey = entry.raKey;
    }
}
