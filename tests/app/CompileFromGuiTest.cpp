// Tools / Compile in the window writes the same catalogue as the command-line compile.
#include <QDialog>
#include <QElapsedTimer>
#include <QTest>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "AppTestSupport.h"
#include "app/CatforgeView.h"
#include "app/CompileProgress.h"
#include "core/model/CatforgeDoc.h"
#include "gui/widgets/ModalRun.h"
#include "support/FaultInjection.h"
#include "support/Golden.h"

namespace {

// The window opened on the sample, with its data file beside it in a folder of our own.
using CompileFromGuiTest = CAppTest;

TEST_F(CompileFromGuiTest, SameBytesAsTheGoldenCatalogueAndNothingWhenTheDialogIsCancelled) {
    StartOnSample();
    const std::string fromGui = m_files.Path("gui.zdc");
    m_ui.fileNames = {std::nullopt, fromGui};
    EXPECT_FALSE(m_app->View().OnCompile());
    EXPECT_EQ(FolderEntries(m_files.Root()),
              (std::set<std::string>{"cluster-stars.dat", "cluster-stars.zdd"}));

    Trigger("ID_TOOLS_COMPILE");
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(m_ui.messages[0].text, "Successfully created Zenivo Data Catalog\n\"" + fromGui +
                                         "\"\nwith 15 data records.");
    EXPECT_FALSE(m_app->Document().IsModified());
    EXPECT_NEAR(m_app->View().GetEpochState().m_dEpochJD, 2451545.0, 1e-6);  // the sample is J2000
    ExpectSameAsGolden(CTempDir::Read(fromGui), "cluster-stars/cluster-stars.zdc");
}

// Holds the compile at each write of the catalogue until Escape has been sent (for at most ten
// seconds), so that however loaded the machine, the compile cannot end before it is cancelled.
std::atomic<bool> g_escapeSent{false};
int HoldWritesUntilEscape(const char* call) {
    for (int ms = 0; ms < 10000 && std::strcmp(call, "write") == 0 && !g_escapeSent; ++ms)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return 0;
}

// A compile long enough to be watched: the sample's records many times over, and a previous
// catalogue of the chosen name that a cancelled compile must leave as it was.
TEST_F(CompileFromGuiTest, ProgressShownAndEscapeStopsWithoutAFileOrAWord) {
    StartOnSample();
    const std::string sample = CTempDir::Read(m_files.Path("cluster-stars.dat"));
    std::string big;
    for (int i = 0; i < 20000; ++i)  // copies of the sample's 15 records
        big += sample;
    m_files.Write("cluster-stars.dat", big);
    const std::string output = m_files.Write("old.zdc", "the previous catalogue");
    m_ui.fileNames = {output};

    g_escapeSent = false;
    CAtomicFile::SetFaultHook(&HoldWritesUntilEscape);
    QString title;
    QElapsedTimer sinceEscape;
    const CModalRunnerScope runnerScope([&](QDialog& dialog) {
        auto& progress = dynamic_cast<CCompileProgressDlg&>(dialog);
        title = progress.windowTitle();
        QObject::connect(&progress, &CCompileProgressDlg::progressShown, &progress,
                         [&](ProgressPhase, double fraction) {
                             // Escape as soon as the window shows the compile under way.
                             if (fraction >= 0 && !sinceEscape.isValid()) {
                                 sinceEscape.start();
                                 QTest::keyClick(&progress, Qt::Key_Escape);
                                 g_escapeSent = true;
                             }
                         });
        return progress.exec();
    });
    EXPECT_FALSE(m_app->View().OnCompile());
    const qint64 stopped = sinceEscape.elapsed();
    CAtomicFile::SetFaultHook(nullptr);
    EXPECT_EQ(title, "Compiling old.zdc");
    ASSERT_TRUE(sinceEscape.isValid()) << "the compile ended before it could be cancelled";
    RecordProperty("msFromEscapeToEnd", static_cast<int>(stopped));
    EXPECT_TRUE(m_ui.messages.empty());
    EXPECT_EQ(CTempDir::Read(output), "the previous catalogue");
    EXPECT_EQ(FolderEntries(m_files.Root()),
              (std::set<std::string>{"cluster-stars.dat", "cluster-stars.zdd", "old.zdc"}));
}

}  // namespace
