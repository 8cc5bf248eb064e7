// Tools / Compile in the window writes the same catalogue as the command-line compile.
#include <QAction>

#include "AppTestSupport.h"
#include "app/CatforgeApp.h"
#include "app/CatforgeView.h"
#include "app/MainFrame.h"
#include "core/model/CatforgeDoc.h"
#include "support/Golden.h"
#include "support/RecordingInteraction.h"

namespace {

// The window opened on the sample, with its data file beside it in a folder of our own.
class CompileFromGuiTest : public CAppTest {
protected:
    void SetUp() override {
        CAppTest::SetUp();
        const std::string examples = CATFORGE_EXAMPLES_DIR;
        const std::string definition =
            m_files.Write("cluster-stars.zdd", CTempDir::Read(examples + "/cluster-stars.zdd"));
        m_files.Write("cluster-stars.dat", CTempDir::Read(examples + "/cluster-stars.dat"));
        app = std::make_unique<CCatforgeApp>(&ui);
        ASSERT_TRUE(app->InitInstance({QString::fromStdString(definition)}));
    }

    CRecordingInteraction ui;
    std::unique_ptr<CCatforgeApp> app;
};

TEST_F(CompileFromGuiTest, SameBytesAsTheGoldenCatalogue) {
    const std::string fromGui = m_files.Path("gui.zdc");
    ui.fileNames = {fromGui};
    app->MainFrame().Action("ID_TOOLS_COMPILE")->trigger();

    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].title, "Save Compiled Data Catalog As");
    EXPECT_EQ(ui.fileRequests[0].defaultExtension, "zdc");
    EXPECT_EQ(ui.fileRequests[0].proposedName, m_files.Path("cluster-stars.zdc"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(ui.messages[0].text, "Successfully created Zenivo Data Catalog\n\"" + fromGui +
                                       "\"\nwith 15 data records.");
    EXPECT_FALSE(app->Document().IsModified());
    EXPECT_NEAR(app->View().GetEpochState().m_dEpochJD, 2451545.0, 1e-6);  // the sample is J2000

    ExpectSameAsGolden(CTempDir::Read(fromGui), "cluster-stars/cluster-stars.zdc");
}

TEST_F(CompileFromGuiTest, CancelledSaveDialogWritesNothing) {
    ui.fileNames = {std::nullopt};
    EXPECT_FALSE(app->View().OnCompile());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(m_files.Path("cluster-stars.zdc")));
}

}  // namespace
