// Compiles the example catalogue and compares it with the stored one, byte for byte.
#include <gtest/gtest.h>

#include "core/compile/Compile.h"
#include "core/model/CatforgeDoc.h"
#include "support/Golden.h"
#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

TEST(GoldenCatalog, ClusterStarsCompilesToTheStoredBytes) {
    CTempDir dir;
    CCatforgeDoc doc;
    CRecordingInteraction ui;
    doc.SetInteraction(&ui);
    ASSERT_TRUE(doc.OpenDocument(CATFORGE_EXAMPLES_DIR "/cluster-stars.zdd"));
    ui.fileNames.push_back(dir.Path("out.zdc"));
    EpochState epoch;
    ASSERT_TRUE(CompileDefinition(doc, epoch, ui));
    ExpectSameAsGolden(CTempDir::Read(dir.Path("out.zdc")), "cluster-stars/cluster-stars.zdc");
}
