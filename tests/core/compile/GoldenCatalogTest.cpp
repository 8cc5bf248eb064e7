// Compiles each golden case and compares the catalogue with the stored one, byte for byte.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/compile/Compile.h"
#include "core/model/CatforgeDoc.h"
#include "support/Golden.h"
#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

namespace {

struct CompileCase {
    const char* name;        // folder under golden/ holding <name>.zdc
    std::string definition;  // the definition compiled
};

void PrintTo(const CompileCase& c, std::ostream* os) {
    *os << c.name;
}

class GoldenCatalog : public ::testing::TestWithParam<CompileCase> {};

TEST_P(GoldenCatalog, CompilesToTheStoredBytes) {
    const CompileCase& c = GetParam();
    CTempDir dir;
    CCatforgeDoc doc;
    CRecordingInteraction ui;
    doc.SetInteraction(&ui);
    ASSERT_TRUE(doc.OpenDocument(c.definition));
    ui.fileNames.push_back(dir.Path("out.zdc"));
    EpochState epoch;
    ASSERT_TRUE(CompileDefinition(doc, epoch, ui));
    ExpectSameAsGolden(CTempDir::Read(dir.Path("out.zdc")),
                       std::string(c.name) + "/" + c.name + ".zdc");
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenCatalog,
                         ::testing::Values(CompileCase{"cluster-stars",
                                                       CATFORGE_EXAMPLES_DIR "/cluster-stars.zdd"}),
                         [](const auto& test) {
                             std::string name = test.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
