// The document's life in the window: New, Open, Save, Exit with the save question, the
// recent-file list, the command line and files dropped on the window.
#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QUrl>

#include "AppTestSupport.h"
#include "app/CatforgeApp.h"
#include "app/CatforgeView.h"
#include "app/CommandLineInfo.h"
#include "app/MainFrame.h"
#include "app/QtUserInteraction.h"
#include "app/RecentFileList.h"
#include "core/model/CatforgeDoc.h"
#include "support/RecordingInteraction.h"

namespace {

const std::string kSample = std::string(CATFORGE_EXAMPLES_DIR) + "/cluster-stars.zdd";

class FileCommandsTest : public CAppTest {
protected:
    void Start(const QStringList& arguments = {}) {
        m_app = std::make_unique<CCatforgeApp>(&m_ui);
        m_started = m_app->InitInstance(arguments);
        // An editor whose person presses OK after adding a field, as the real ones do.
        m_app->View().Commands().fields = [this](CCatforgeDoc& doc, IUserInteraction&, QWidget*) {
            ++m_editorRuns;
            doc.m_aFields.push_back({"Name", "", 1, 7});
            doc.SetModifiedFlag();
            return true;
        };
        // One whose person presses Cancel.
        m_app->View().Commands().general = [this](CCatforgeDoc&, IUserInteraction&, QWidget*) {
            ++m_editorRuns;
            return false;
        };
    }
    CCatforgeDoc& Doc() { return m_app->Document(); }
    CMainFrame& Frame() { return m_app->MainFrame(); }
    void Trigger(const char* id) { Frame().Action(id)->trigger(); }
    std::string Title() { return Frame().windowTitle().toStdString(); }
    // A copy of the sample definition under a name of our own.
    std::string SampleCopy(const std::string& name) {
        return m_files.Write(name, CTempDir::Read(kSample));
    }
    QStringList RecentMenuTexts() {
        QStringList texts;
        for (QAction* a : Frame().menuBar()->actions().at(0)->menu()->actions()) {
            if (a->objectName().startsWith("recentFile"))
                texts << a->text();
        }
        return texts;
    }

    CRecordingInteraction m_ui;
    std::unique_ptr<CCatforgeApp> m_app;
    bool m_started = false;
    int m_editorRuns = 0;
};

TEST_F(FileCommandsTest, StartsUntitledThenEditorOkMakesNewAskAndCancelReallyCancels) {
    Start();
    ASSERT_TRUE(m_started);
    EXPECT_EQ(Title(), "Untitled - Catforge");
    EXPECT_TRUE(Doc().SameDefinition(CCatforgeDoc()));
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_TRUE(m_ui.messages.empty());

    Trigger("ID_OPERATIONS_GENERAL");  // Cancel in the editor: nothing to save
    Trigger("ID_FILE_NEW");
    EXPECT_TRUE(m_ui.questions.empty());

    Trigger("ID_OPERATIONS_FIELDS");  // OK in the editor
    ASSERT_EQ(m_editorRuns, 2);
    ASSERT_TRUE(Doc().IsModified());

    m_ui.answers = {Answer::Cancel};
    Trigger("ID_FILE_NEW");
    EXPECT_EQ(m_ui.questions, std::vector<std::string>{"Save changes to Untitled?"});
    EXPECT_EQ(Doc().m_aFields.size(), 1u);
    EXPECT_TRUE(Doc().IsModified());

    m_ui.answers = {Answer::No};
    Trigger("ID_FILE_NEW");
    EXPECT_TRUE(Doc().m_aFields.empty());
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(Title(), "Untitled - Catforge");
}

TEST_F(FileCommandsTest, YesSavesThroughSaveAsBeforeNew) {
    Start();
    Trigger("ID_OPERATIONS_FIELDS");
    const std::string saved = m_files.Path("mine.zdd");
    m_ui.answers = {Answer::Yes};
    m_ui.fileNames = {saved};
    Trigger("ID_FILE_NEW");
    ASSERT_EQ(m_ui.fileRequests.size(), 1u);
    const FileDialogRequest& request = m_ui.fileRequests[0];
    EXPECT_EQ(request.proposedName, "Untitled");
    EXPECT_EQ(request.defaultExtension, "zdd");
    ASSERT_FALSE(request.filters.empty());
    EXPECT_EQ(request.filters[0].description, "Catforge Files (*.zdd)");
    EXPECT_EQ(request.filters[0].pattern, "*.zdd");
    // The file holds the edited definition; the window now holds a new one.
    CCatforgeDoc reread;
    ASSERT_TRUE(reread.OpenDocument(saved));
    EXPECT_EQ(reread.m_aFields.size(), 1u);
    EXPECT_TRUE(Doc().m_aFields.empty());
    EXPECT_EQ(m_app->RecentFiles().Files(), QStringList{QString::fromStdString(saved)});
}

TEST_F(FileCommandsTest, OpenAsksForTheFileThenToSaveAndCancelKeepsTheDocument) {
    Start();
    Trigger("ID_OPERATIONS_FIELDS");
    m_ui.fileNames = {kSample};
    m_ui.answers = {Answer::Cancel};
    Trigger("ID_FILE_OPEN");
    ASSERT_EQ(m_ui.fileRequests.size(), 1u);
    EXPECT_TRUE(m_ui.fileRequests[0].mustExist);
    EXPECT_EQ(m_ui.fileRequests[0].filters[0].description, "Catforge Files (*.zdd)");
    EXPECT_EQ(m_ui.questions.size(), 1u);
    EXPECT_EQ(Doc().m_aFields.size(), 1u);
    EXPECT_EQ(Title(), "Untitled - Catforge");

    m_ui.fileNames = {kSample};
    m_ui.answers = {Answer::No};
    Trigger("ID_FILE_OPEN");
    EXPECT_EQ(Title(), "cluster-stars.zdd - Catforge");
    EXPECT_EQ(Doc().m_nRecordLength, 104);
    EXPECT_FALSE(Doc().IsModified());

    // Cancelling the file dialog asks nothing more.
    m_ui.fileNames = {std::nullopt};
    Trigger("ID_FILE_OPEN");
    EXPECT_EQ(m_ui.questions.size(), 2u);
    EXPECT_EQ(Title(), "cluster-stars.zdd - Catforge");
}

TEST_F(FileCommandsTest, ExitAsksToSaveAndCancelKeepsTheWindowOpen) {
    Start();
    Frame().show();
    Trigger("ID_OPERATIONS_FIELDS");
    m_ui.answers = {Answer::Cancel};
    Trigger("ID_APP_EXIT");
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_EQ(m_ui.questions.size(), 1u);
    // Closing the window by its frame asks the same.
    m_ui.answers = {Answer::Cancel};
    EXPECT_FALSE(Frame().close());
    EXPECT_TRUE(Frame().isVisible());

    m_ui.answers = {Answer::No};
    Trigger("ID_APP_EXIT");
    EXPECT_FALSE(Frame().isVisible());
    EXPECT_EQ(m_ui.questions.size(), 3u);
}

TEST_F(FileCommandsTest, SaveOfUntitledGoesToSaveAsAndNamesTheWindow) {
    Start();
    Trigger("ID_OPERATIONS_FIELDS");
    const std::string path = m_files.Path("named.zdd");
    m_ui.fileNames = {path};
    Trigger("ID_FILE_SAVE");
    EXPECT_EQ(m_ui.fileRequests.size(), 1u);
    EXPECT_EQ(Title(), "named.zdd - Catforge");
    EXPECT_FALSE(Doc().IsModified());
    // Now that it has a name, Save writes without asking.
    Trigger("ID_OPERATIONS_FIELDS");
    Trigger("ID_FILE_SAVE");
    EXPECT_EQ(m_ui.fileRequests.size(), 1u);
    CCatforgeDoc reread;
    ASSERT_TRUE(reread.OpenDocument(path));
    EXPECT_EQ(reread.m_aFields.size(), 2u);
    // Save As always asks, proposing the current path.
    m_ui.fileNames = {std::nullopt};
    Trigger("ID_FILE_SAVE_AS");
    ASSERT_EQ(m_ui.fileRequests.size(), 2u);
    EXPECT_EQ(m_ui.fileRequests[1].proposedName, path);
}

TEST_F(FileCommandsTest, RecentFilesHoldFourMostRecentFirstAndPersist) {
    Start();
    std::vector<std::string> paths;
    for (const char* name : {"a.zdd", "b.zdd", "c.zdd", "d.zdd", "e.zdd"}) {
        paths.push_back(SampleCopy(name));
        ASSERT_TRUE(m_app->OpenDocumentFile(QString::fromStdString(paths.back())));
    }
    // Opening b again moves it to the top.
    ASSERT_TRUE(m_app->OpenDocumentFile(QString::fromStdString(paths[1])));
    QStringList expected;
    for (std::size_t i : {1, 4, 3, 2})
        expected << QString::fromStdString(paths[i]);
    EXPECT_EQ(m_app->RecentFiles().Files(), expected);
    EXPECT_EQ(RecentMenuTexts(), (QStringList{"&1 b.zdd", "&2 e.zdd", "&3 d.zdd", "&4 c.zdd"}));
    EXPECT_EQ(Frame().findChild<QAction*>("recentFile1")->statusTip().toStdString(),
              "Open this document");

    // The list is in the settings under the organisation and application names.
    CRecentFileList stored(4);
    QSettings settings(CCatforgeApp::kSettingsOrganization, CCatforgeApp::kSettingsApplication);
    stored.ReadList(settings);
    EXPECT_EQ(stored.Files(), expected);
    EXPECT_EQ(settings.organizationName().toStdString(), "Local AppWizard-Generated Applications");
    EXPECT_EQ(settings.applicationName().toStdString(), "Catforge");

    // A new start reads it back; choosing an entry opens it.
    m_app.reset();
    Start();
    EXPECT_EQ(m_app->RecentFiles().Files(), expected);
    Frame().findChild<QAction*>("recentFile3")->trigger();
    EXPECT_EQ(Title(), "d.zdd - Catforge");
    EXPECT_EQ(m_app->RecentFiles().Files().first().toStdString(), paths[3]);
}

TEST_F(FileCommandsTest, VanishedRecentFileIsReportedAndRemoved) {
    Start();
    const std::string kept = SampleCopy("kept.zdd");
    const std::string gone = SampleCopy("gone.zdd");
    ASSERT_TRUE(m_app->OpenDocumentFile(QString::fromStdString(kept)));
    ASSERT_TRUE(m_app->OpenDocumentFile(QString::fromStdString(gone)));
    std::filesystem::remove(gone);
    m_app->OnOpenRecentFile(0);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, "Unable to open file \"" + gone + "\"\nfor reading.");
    EXPECT_EQ(m_ui.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(m_app->RecentFiles().Files(), QStringList{QString::fromStdString(kept)});
    EXPECT_EQ(RecentMenuTexts(), QStringList{"&1 kept.zdd"});
    // The document that was open stays open.
    EXPECT_EQ(Title(), "gone.zdd - Catforge");
    EXPECT_EQ(Doc().m_nRecordLength, 104);
}

TEST_F(FileCommandsTest, CommandLineOpensAFileOrFailsWithTheMessage) {
    Start({QString::fromStdString(kSample)});
    EXPECT_TRUE(m_started);
    EXPECT_EQ(Title(), "cluster-stars.zdd - Catforge");
    EXPECT_EQ(m_app->RecentFiles().Files(), QStringList{QString::fromStdString(kSample)});
    m_app.reset();

    const std::string bad = m_files.Write("bad.zdd", "ZDD0DATA and then some");
    Start({QString::fromStdString(bad)});
    EXPECT_FALSE(m_started);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, "File \"" + bad + "\"\nis not a Zenivo data definition file!");
    EXPECT_EQ(m_ui.messages[0].icon, MessageIcon::Stop);
    m_app.reset();

    // A relative path becomes the document's full path.
    const std::string sampleDir = std::filesystem::path(kSample).parent_path().string();
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(sampleDir);
    Start({"cluster-stars.zdd"});
    std::filesystem::current_path(here);
    EXPECT_TRUE(m_started);
    EXPECT_EQ(Doc().GetPathName(), kSample);
    m_app.reset();

    const std::string missing = m_files.Path("missing.zdd");
    Start({QString::fromStdString(missing)});
    EXPECT_FALSE(m_started);
    EXPECT_EQ(m_ui.messages.back().text, "Unable to open file \"" + missing + "\"\nfor reading.");

    using Command = CCommandLineInfo::Command;
    EXPECT_EQ(CCommandLineInfo::Parse({}).m_nShellCommand, Command::FileNew);
    const CCommandLineInfo open = CCommandLineInfo::Parse({"-", "x.zdd"});
    EXPECT_EQ(open.m_nShellCommand, Command::Error);
    EXPECT_EQ(CCommandLineInfo::Parse({"--", "-odd.zdd"}).m_strFileName.toStdString(), "-odd.zdd");
    EXPECT_EQ(CCommandLineInfo::Parse({"x.zdd", "--version"}).m_nShellCommand, Command::Version);
    EXPECT_EQ(CCommandLineInfo::Parse({"--frobnicate"}).m_nShellCommand, Command::Error);
    EXPECT_EQ(CCommandLineInfo::Parse({"a.zdd", "b.zdd"}).m_nShellCommand, Command::Error);
}

TEST_F(FileCommandsTest, FailedOpenOfANonDefinitionLeavesANewDocument) {
    Start({QString::fromStdString(kSample)});
    const std::string bad = m_files.Write("bad.zdd", "not a definition at all");
    ASSERT_FALSE(m_app->OpenDocumentFile(QString::fromStdString(bad)));
    // The old contents were already gone: the window holds a new, untitled document.
    EXPECT_EQ(Title(), "Untitled - Catforge");
    EXPECT_TRUE(Doc().SameDefinition(CCatforgeDoc()));
    // A file that cannot be read at all leaves the document as it was.
    ASSERT_TRUE(m_app->OpenDocumentFile(QString::fromStdString(kSample)));
    Doc().SetModifiedFlag();
    ASSERT_FALSE(m_app->OpenDocumentFile(QString::fromStdString(m_files.Path("none.zdd"))));
    EXPECT_EQ(Title(), "cluster-stars.zdd - Catforge");
    EXPECT_EQ(Doc().m_nRecordLength, 104);
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(FileCommandsTest, DroppedFileOpensAfterTheSaveQuestion) {
    Start();
    Frame().show();
    Trigger("ID_OPERATIONS_FIELDS");
    const auto drop = [this](const std::string& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&Frame(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&Frame(), &event);
    };
    m_ui.answers = {Answer::Cancel};
    drop(kSample);
    EXPECT_EQ(m_ui.questions.size(), 1u);
    EXPECT_EQ(Title(), "Untitled - Catforge");
    m_ui.answers = {Answer::No};
    drop(kSample);
    EXPECT_EQ(Title(), "cluster-stars.zdd - Catforge");
    EXPECT_TRUE(Frame().acceptDrops());
}

TEST_F(FileCommandsTest, ImportedDefinitionDoesNotOverwriteTheFileItReplaced) {
    Start({QString::fromStdString(SampleCopy("old.zdd"))});
    m_app->View().Commands().importCdsReadMe = [](CCatforgeDoc& doc, IUserInteraction&, QWidget*) {
        doc.DeleteContents();
        doc.m_nRecordLength = 42;
        doc.SetModifiedFlag();
        return true;
    };
    Trigger("ID_FILE_IMPORT_README");
    EXPECT_EQ(Title(), "Untitled - Catforge");
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Doc().m_nRecordLength, 42);
}

TEST(RecentFileListTest, SameNameInTwoFoldersShowsWholePathsAndAmpersandsStayVisible) {
    CRecentFileList list(4);
    list.Add("/data/a/stars.zdd");
    list.Add("/data/b/stars.zdd");
    list.Add("/data/R&D.zdd");
    list.Add("/data/a/stars.zdd");  // moves up, no second entry
    EXPECT_EQ(list.Files(),
              (QStringList{"/data/a/stars.zdd", "/data/R&D.zdd", "/data/b/stars.zdd"}));
    EXPECT_EQ(list.MenuText(0).toStdString(), "&1 /data/a/stars.zdd");
    EXPECT_EQ(list.MenuText(1).toStdString(), "&2 R&&D.zdd");
    EXPECT_EQ(list.MenuText(2).toStdString(), "&3 /data/b/stars.zdd");
    list.Remove(0);
    EXPECT_EQ(list.MenuText(1).toStdString(), "&2 stars.zdd");
}

TEST(QtUserInteractionTest, FiltersBecomeQtNameFilters) {
    FileDialogRequest request;
    request.filters = ParseFilterText(
        "Zenivo Data Catalog Files (*.zdc)|*.zdc|All Files (*.*)|*.*|Two|*.a;*.b||");
    EXPECT_EQ(CQtUserInteraction::NameFilters(request),
              (QStringList{"Zenivo Data Catalog Files (*.zdc)", "All Files (*)", "Two (*.a *.b)"}));
    EXPECT_EQ(CQtUserInteraction::MessageText("caf\xc3\xa9").toStdString(), "caf\xc3\xa9");
    EXPECT_EQ(CQtUserInteraction::MessageText("caf\xe9"), QString::fromLatin1("caf\xe9"));
}

}  // namespace
