// Tools / Compile in the window writes the same catalogue as catforge-cli compile.
#include <QAction>
#include <cstdlib>

#include "AppTestSupport.h"
#include "app/CatforgeApp.h"
#include "app/CatforgeView.h"
#include "app/MainFrame.h"
#include "core/model/CatforgeDoc.h"
#include "support/RecordingInteraction.h"

namespace {

// The window opened on the sample, with its data file beside it in a folder of our own.
class CompileFromGuiTest : public CAppTest {
protected:
    void SetUp() override {
        CAppTest::SetUp();
        const std::string examples = CATFORGE_EXAMPLES_DIR;
        definition =
            m_files.Write("cluster-stars.zdd", CTempDir::Read(examples + "/cluster-stars.zdd"));
        m_files.Write("cluster-stars.dat", CTempDir::Read(examples + "/cluster-stars.dat"));
        app = std::make_unique<CCatforgeApp>(&ui);
        ASSERT_TRUE(app->InitInstance({QString::fromStdString(definition)}));
    }

    std::string definition;
    CRecordingInteraction ui;
    std::unique_ptr<CCatforgeApp> app;
};

TEST_F(CompileFromGuiTest, SameBytesAsTheCommandLineTool) {
    const std::string fromGui = m_files.Path("gui.zdc");
    ui.fileNames = {fromGui};
    app->MainFrame().Action("ID_TOOLS_COMPILE")->trigger();

    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].title, "Save Compiled Data Catalog As");
    EXPECT_EQ(ui.fileRequests[0].defaultExtension, "zdc");
    EXPECT_EQ(ui.fileRequests[0].proposedName, m_files.Path("cluster-stars.zdc"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(ui.messages[0].text,
              "Successfully created Zenivo Data Catalog\n\"" + fromGui + "\"\nwith " +
                  std::to_string(app->Document().m_nRecordCount) + " data records.");
    EXPECT_GT(app->Document().m_nRecordCount, 0);
    EXPECT_FALSE(app->Document().IsModified());
    EXPECT_NEAR(app->View().GetEpochState().m_dEpochJD, 2451545.0, 1e-6);  // the sample is J2000

    const std::string fromCli = m_files.Path("cli.zdc");
    const std::string command = std::string("\"") + CATFORGE_CLI_PATH + "\" compile \"" +
                                definition + "\" -o \"" + fromCli + "\" --quiet";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::string gui = CTempDir::Read(fromGui);
    const std::string cli = CTempDir::Read(fromCli);
    ASSERT_FALSE(gui.empty());
    ASSERT_EQ(gui.size(), cli.size());
    const auto mismatch = std::mismatch(gui.begin(), gui.end(), cli.begin());
    EXPECT_TRUE(mismatch.first == gui.end())
        << "first difference at byte " << (mismatch.first - gui.begin());
}

TEST_F(CompileFromGuiTest, CancelledSaveDialogWritesNothing) {
    ui.fileNames = {std::nullopt};
    EXPECT_FALSE(app->View().OnCompile());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(m_files.Path("cluster-stars.zdc")));
}

}  // namespace
