// Tools / Compile in the window writes the same catalogue as the command-line compile.
#include <QAction>
#include <QDialog>
#include <QElapsedTimer>
#include <QTest>
#include <cstdlib>

#include "AppTestSupport.h"
#include "app/CatforgeApp.h"
#include "app/CatforgeView.h"
#include "app/CompileProgress.h"
#include "app/MainFrame.h"
#include "core/model/CatforgeDoc.h"
#include "gui/widgets/ModalRun.h"
#include "support/Golden.h"
#include "support/RecordingInteraction.h"

namespace {

// Copies of the sample's 15 records in the long compile.
constexpr int kRepeats = 20000;

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

// A compile long enough to be watched: the sample's records many times over, and a previous
// catalogue of the chosen name that a cancelled compile must leave as it was.
TEST_F(CompileFromGuiTest, ProgressShownAndEscapeStopsWithoutAFileOrAWord) {
    const std::string sample = CTempDir::Read(m_files.Path("cluster-stars.dat"));
    std::string big;
    big.reserve(sample.size() * kRepeats);
    for (int i = 0; i < kRepeats; ++i)
        big += sample;
    m_files.Write("cluster-stars.dat", big);
    const std::string output = m_files.Write("old.zdc", "the previous catalogue");
    ui.fileNames = {output};

    std::vector<ProgressPhase> phases;
    QString title;
    QElapsedTimer sinceEscape;
    const CModalRunnerScope runnerScope([&](QDialog& dialog) {
        auto& progress = dynamic_cast<CCompileProgressDlg&>(dialog);
        title = progress.windowTitle();
        QObject::connect(&progress, &CCompileProgressDlg::progressShown, &progress,
                         [&](ProgressPhase phase, double fraction) {
                             if (phases.empty() || phases.back() != phase)
                                 phases.push_back(phase);
                             // Escape as soon as the window shows the compile under way.
                             if (fraction >= 0 && !sinceEscape.isValid()) {
                                 sinceEscape.start();
                                 QTest::keyClick(&progress, Qt::Key_Escape);
                             }
                         });
        return progress.exec();
    });
    const bool written = app->View().OnCompile();
    const qint64 stopped = sinceEscape.elapsed();

    EXPECT_FALSE(written);
    EXPECT_EQ(title, "Compiling old.zdc");
    ASSERT_FALSE(phases.empty());
    EXPECT_NE(phases.back(), ProgressPhase::Writing);
    ASSERT_TRUE(sinceEscape.isValid()) << "the compile ended before it could be cancelled";
    RecordProperty("msFromEscapeToEnd", static_cast<int>(stopped));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(CTempDir::Read(output), "the previous catalogue");
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(m_files.Root()))
        files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files,
              (std::vector<std::string>{"cluster-stars.dat", "cluster-stars.zdd", "old.zdc"}));
}

}  // namespace
