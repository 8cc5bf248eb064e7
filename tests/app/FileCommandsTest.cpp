// The document's life in the window: New, Open, Save, Exit with the save question, the
// recent-file list, the command line and files dropped on the window.
#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>

#include "AppTestSupport.h"
#include "app/CatforgeView.h"
#include "app/CommandLineInfo.h"
#include "app/QtUserInteraction.h"
#include "core/model/CatforgeDoc.h"

namespace {

const std::string kSample = CATFORGE_EXAMPLES_DIR "/cluster-stars.zdd";

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

class FileCommandsTest : public CAppTest {
protected:
    // Starts the program with an editor whose person presses OK after adding a field
    // (Fields) and one whose person presses Cancel (General), as the real ones return.
    bool Launch(const QStringList& arguments = {}) {
        const bool started = Start(arguments);
        m_app->View().Commands().fields = [this](CCatforgeDoc& doc, IUserInteraction&, QWidget*) {
            ++m_editorRuns;
            doc.m_aFields.push_back({"Name", "", 1, 7});
            doc.SetModifiedFlag();
            return true;
        };
        m_app->View().Commands().general = [this](CCatforgeDoc&, IUserInteraction&, QWidget*) {
            ++m_editorRuns;
            return false;
        };
        return started;
    }
    CCatforgeDoc& Doc() { return m_app->Document(); }
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

    int m_editorRuns = 0;
};

TEST_F(FileCommandsTest, StartsUntitledThenEditorOkMakesNewAskAndCancelReallyCancels) {
    ASSERT_TRUE(Launch());
    EXPECT_EQ(Title(), "Untitled - Catforge");
    EXPECT_TRUE(Doc().SameDefinition(CCatforgeDoc()));
    EXPECT_TRUE(m_ui.messages.empty());

    Trigger("ID_OPERATIONS_GENERAL");  // Cancel in the editor: nothing to save
    Trigger("ID_FILE_NEW");
    EXPECT_TRUE(m_ui.questions.empty());

    Trigger("ID_OPERATIONS_FIELDS");  // OK in the editor
    ASSERT_EQ(m_editorRuns, 2);

    m_ui.answers = {Answer::Cancel};
    Trigger("ID_FILE_NEW");
    EXPECT_EQ(m_ui.questions, std::vector<std::string>{"Save changes to Untitled?"});
    EXPECT_EQ(Doc().m_aFields.size(), 1u);
    EXPECT_TRUE(Doc().IsModified());

    m_ui.answers = {Answer::No};
    Trigger("ID_FILE_NEW");
    EXPECT_TRUE(Doc().m_aFields.empty());
    EXPECT_FALSE(Doc().IsModified());
}

// Yes to the question before New saves an untitled document through Save As; Save asks for a
// name only while the document has none, Save As always, proposing the current path.
TEST_F(FileCommandsTest, SaveAsksForANameOnlyWhenUntitledOrSaveAs) {
    Launch();
    const std::string first = m_files.Path("first.zdd");
    const std::string path = m_files.Path("named.zdd");
    Trigger("ID_OPERATIONS_FIELDS");
    m_ui.answers = {Answer::Yes};
    m_ui.fileNames = {first, path};
    Trigger("ID_FILE_NEW");
    EXPECT_TRUE(Doc().m_aFields.empty());
    EXPECT_EQ(m_app->RecentFiles().Files(), QStringList{Q(first)});

    Trigger("ID_OPERATIONS_FIELDS");
    Trigger("ID_FILE_SAVE");
    EXPECT_EQ(Title(), "named.zdd - Catforge");
    EXPECT_FALSE(Doc().IsModified());

    Trigger("ID_OPERATIONS_FIELDS");
    Trigger("ID_FILE_SAVE");
    m_ui.fileNames = {std::nullopt};
    Trigger("ID_FILE_SAVE_AS");
    ASSERT_EQ(m_ui.fileRequests.size(), 3u);
    EXPECT_EQ(m_ui.fileRequests[0].proposedName, "Untitled");
    EXPECT_EQ(m_ui.fileRequests[2].proposedName, path);
    for (const auto& [file, fields] : {std::pair{first, 1u}, std::pair{path, 2u}}) {
        CCatforgeDoc reread;
        ASSERT_TRUE(reread.OpenDocument(file));
        EXPECT_EQ(reread.m_aFields.size(), fields) << file;
    }
}

// Open asks for the file first: cancelling that asks nothing more; then the save question,
// whose Cancel keeps the document.
TEST_F(FileCommandsTest, OpenAsksForTheFileThenToSaveAndCancelKeepsTheDocument) {
    Launch();
    Trigger("ID_OPERATIONS_FIELDS");
    m_ui.fileNames = {std::nullopt, kSample, kSample};
    m_ui.answers = {Answer::Cancel, Answer::No};
    Trigger("ID_FILE_OPEN");
    EXPECT_TRUE(m_ui.questions.empty());
    Trigger("ID_FILE_OPEN");
    ASSERT_EQ(m_ui.fileRequests.size(), 2u);
    EXPECT_TRUE(m_ui.fileRequests[1].mustExist);
    EXPECT_EQ(m_ui.fileRequests[1].filters[0].description, "Catforge Files (*.zdd)");
    EXPECT_EQ(m_ui.fileRequests[1].filters[0].pattern, "*.zdd");
    EXPECT_EQ(Title(), "Untitled - Catforge");

    Trigger("ID_FILE_OPEN");
    EXPECT_EQ(Title(), "cluster-stars.zdd - Catforge");
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(FileCommandsTest, RecentFilesHoldFourMostRecentFirstAndPersist) {
    Launch();
    std::vector<std::string> paths;
    for (const char* name : {"a.zdd", "b.zdd", "c.zdd", "d.zdd", "e.zdd"}) {
        paths.push_back(SampleCopy(name));
        ASSERT_TRUE(m_app->OpenDocumentFile(Q(paths.back())));
    }
    // Opening b again moves it to the top.
    ASSERT_TRUE(m_app->OpenDocumentFile(Q(paths[1])));
    const QStringList expected{Q(paths[1]), Q(paths[4]), Q(paths[3]), Q(paths[2])};
    EXPECT_EQ(m_app->RecentFiles().Files(), expected);
    EXPECT_EQ(RecentMenuTexts(), (QStringList{"&1 b.zdd", "&2 e.zdd", "&3 d.zdd", "&4 c.zdd"}));
    EXPECT_EQ(Frame().findChild<QAction*>("recentFile1")->statusTip().toStdString(),
              "Open this document");

    // The list is in the settings under the organisation and application names.
    CRecentFileList stored(4);
    QSettings settings("Local AppWizard-Generated Applications", "Catforge");
    stored.ReadList(settings);
    EXPECT_EQ(stored.Files(), expected);

    // A new start reads it back; choosing an entry opens it.
    m_app.reset();
    Launch();
    EXPECT_EQ(m_app->RecentFiles().Files(), expected);
    Frame().findChild<QAction*>("recentFile3")->trigger();
    EXPECT_EQ(Title(), "d.zdd - Catforge");
}

// A file named on the command line opens, also by a path relative to the working folder; one
// that cannot be opened stops the start with the reader's message.
TEST_F(FileCommandsTest, CommandLineOpensAFileOrFailsWithTheMessage) {
    const std::string bad = m_files.Write("bad.zdd", "ZDD0DATA and then some");
    const std::string missing = m_files.Path("missing.zdd");
    const struct {
        std::string argument;
        std::vector<std::string> messages;  // none: the program starts
    } runs[] = {
        {kSample, {}},
        {"cluster-stars.zdd", {}},
        {bad, {"File \"" + bad + "\"\nis not a Zenivo data definition file!"}},
        {missing, {"Unable to open file \"" + missing + "\"\nfor reading."}},
    };
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(CATFORGE_EXAMPLES_DIR);
    for (const auto& run : runs) {
        SCOPED_TRACE(run.argument);
        m_ui.messages.clear();
        EXPECT_EQ(Launch({Q(run.argument)}), run.messages.empty());
        EXPECT_EQ(m_ui.Texts(), run.messages);
        if (run.messages.empty()) {
            EXPECT_EQ(Doc().GetPathName(), kSample);
            EXPECT_EQ(Title(), "cluster-stars.zdd - Catforge");
            EXPECT_EQ(m_app->RecentFiles().Files(), QStringList{Q(kSample)});
        }
        m_app.reset();
    }
    std::filesystem::current_path(here);

    using Command = CCommandLineInfo::Command;
    EXPECT_EQ(CCommandLineInfo::Parse({}).m_nShellCommand, Command::FileNew);
    EXPECT_EQ(CCommandLineInfo::Parse({"-", "x.zdd"}).m_nShellCommand, Command::Error);
    EXPECT_EQ(CCommandLineInfo::Parse({"--", "-odd.zdd"}).m_strFileName.toStdString(), "-odd.zdd");
    EXPECT_EQ(CCommandLineInfo::Parse({"x.zdd", "--version"}).m_nShellCommand, Command::Version);
    EXPECT_EQ(CCommandLineInfo::Parse({"--frobnicate"}).m_nShellCommand, Command::Error);
    EXPECT_EQ(CCommandLineInfo::Parse({"a.zdd", "b.zdd"}).m_nShellCommand, Command::Error);
}

// A recent file that has gone is reported and leaves the list, the document that was open
// stays; a file that cannot be read leaves the document as it was; a file that is no
// definition leaves a new document, the old contents being gone already.
TEST_F(FileCommandsTest, FailedOpensKeepTheDocumentOrLeaveANewOne) {
    Launch();
    const std::string kept = SampleCopy("kept.zdd");
    const std::string gone = SampleCopy("gone.zdd");
    ASSERT_TRUE(m_app->OpenDocumentFile(Q(kept)));
    ASSERT_TRUE(m_app->OpenDocumentFile(Q(gone)));
    std::filesystem::remove(gone);
    m_app->OnOpenRecentFile(0);
    ASSERT_EQ(m_ui.messages.size(), 1u);
    EXPECT_EQ(m_ui.messages[0].text, "Unable to open file \"" + gone + "\"\nfor reading.");
    EXPECT_EQ(m_ui.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(m_app->RecentFiles().Files(), QStringList{Q(kept)});
    EXPECT_EQ(RecentMenuTexts(), QStringList{"&1 kept.zdd"});
    EXPECT_EQ(Title(), "gone.zdd - Catforge");

    Doc().SetModifiedFlag();
    ASSERT_FALSE(m_app->OpenDocumentFile(Q(m_files.Path("none.zdd"))));
    EXPECT_EQ(Doc().m_nRecordLength, 104);
    EXPECT_TRUE(Doc().IsModified());

    ASSERT_FALSE(m_app->OpenDocumentFile(Q(m_files.Write("bad.zdd", "not a definition at all"))));
    EXPECT_EQ(Title(), "Untitled - Catforge");
    EXPECT_TRUE(Doc().SameDefinition(CCatforgeDoc()));
}

// A file dropped on the window opens after the save question; Exit, or closing the window by
// its frame, asks it too and Cancel keeps the window open.
TEST_F(FileCommandsTest, DropAndExitAskTheSaveQuestionFirst) {
    Launch();
    Frame().show();
    EXPECT_TRUE(Frame().acceptDrops());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Q(kSample))});
    for (const Answer answer : {Answer::Cancel, Answer::No}) {
        Trigger("ID_OPERATIONS_FIELDS");
        m_ui.answers = {answer};
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&Frame(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&Frame(), &event);
        EXPECT_EQ(Title(),
                  answer == Answer::No ? "cluster-stars.zdd - Catforge" : "Untitled - Catforge");
    }
    Trigger("ID_OPERATIONS_FIELDS");
    m_ui.answers = {Answer::Cancel};
    Trigger("ID_APP_EXIT");
    EXPECT_TRUE(Frame().isVisible());
    m_ui.answers = {Answer::Cancel};
    EXPECT_FALSE(Frame().close());
    m_ui.answers = {Answer::No};
    Trigger("ID_APP_EXIT");
    EXPECT_FALSE(Frame().isVisible());
    EXPECT_EQ(m_ui.questions.size(), 5u);
}

TEST_F(FileCommandsTest, ImportedDefinitionDoesNotOverwriteTheFileItReplaced) {
    Launch({Q(SampleCopy("old.zdd"))});
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
