// The main window as a person meets it: menus, toolbar, status bar, keys, help.
#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolTip>
#include <QWhatsThis>

#include "AppTestSupport.h"
#include "app/AboutDlg.h"
#include "app/CatforgeApp.h"
#include "app/CatforgeView.h"
#include "app/CommandLineInfo.h"
#include "app/MainFrame.h"
#include "core/model/CatforgeDoc.h"
#include "support/RecordingInteraction.h"

namespace {

struct MenuItem {
    const char* text;  // "-" for a separator
    const char* shortcut;
    const char* prompt;
};

struct MenuExpectation {
    const char* title;
    std::vector<MenuItem> items;
};

const std::vector<MenuExpectation> kMenus = {
    {"&File",
     {{"&New", "Ctrl+N", "Create a new document"},
      {"&Open...", "Ctrl+O", "Open an existing document"},
      {"&Save", "Ctrl+S", "Save the active document"},
      {"Save &As...", "", "Save the active document with a new name"},
      {"&Import VizieR ReadMe...", "", "Create a definition from the ReadMe of a VizieR catalogue"},
      {"-", "", ""},
      {"Recent File", "", "Open this document"},
      {"-", "", ""},
      {"E&xit", "", "Quit the application; prompts to save documents"}}},
    {"&View",
     {{"&Toolbar", "", "Show or hide the toolbar"},
      {"&Status Bar", "", "Show or hide the status bar"}}},
    {"&Operations",
     {{"&General...", "", "Define the general properties of the data file."},
      {"&Fields...", "", "Define the fields used in each data record."},
      {"&User-Defined Symbols...", "", "Edit or create a new map symbol."},
      {"&Object Types and Symbols...", "", "Define map symbols and object types."},
      {"&RA/Dec...", "", "Define the fields which specify the object position."},
      {"&Labels...", "", "Define the fields which specify the object label."},
      {"&Size...", "", "Define the fields which specify the object size."},
      {"&Magnitude...", "", "Define the fields which specify the object magnitude."}}},
    {"&Tools",
     {{"&Browse Data...", "", "Browse through the data."},
      {"&Normalize Data File...", "",
       "Pad the lines of a data file with blanks to records of one length."},
      {"&Compile", "", ""}}},
    {"&Help",
     {{"&Help Topics", "", "List Help topics"},
      {"-", "", ""},
      {"&About Catforge...", "", "Display program information, version number and copyright"}}},
};

class MainFrameTest : public CAppTest {
protected:
    void SetUp() override {
        CAppTest::SetUp();
        m_app = std::make_unique<CCatforgeApp>(&m_ui);
        ASSERT_TRUE(m_app->InitInstance({}));
    }
    void TearDown() override {
        if (QWhatsThis::inWhatsThisMode())
            QWhatsThis::leaveWhatsThisMode();
        m_app.reset();
    }
    CMainFrame& Frame() { return m_app->MainFrame(); }
    // Shows the frame and makes it the active window, so that its keys reach it.
    void Activate() {
        Frame().show();
        Frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    }

    CRecordingInteraction m_ui;
    std::unique_ptr<CCatforgeApp> m_app;
};

TEST_F(MainFrameTest, MenuTreeHasEveryItemWithItsTextShortcutAndPrompt) {
    const QList<QAction*> menus = Frame().menuBar()->actions();
    ASSERT_EQ(menus.size(), static_cast<qsizetype>(kMenus.size()));
    for (std::size_t m = 0; m < kMenus.size(); ++m) {
        const MenuExpectation& expected = kMenus[m];
        QMenu* menu = menus[static_cast<qsizetype>(m)]->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->title().toStdString(), expected.title);
        const QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(expected.items.size())) << expected.title;
        for (std::size_t i = 0; i < expected.items.size(); ++i) {
            const QAction* item = items[static_cast<qsizetype>(i)];
            const MenuItem& want = expected.items[i];
            SCOPED_TRACE(std::string(expected.title) + " / " + want.text);
            if (std::string(want.text) == "-") {
                EXPECT_TRUE(item->isSeparator());
                continue;
            }
            EXPECT_EQ(item->text().toStdString(), want.text);
            EXPECT_EQ(item->shortcut().toString().toStdString(), want.shortcut);
            EXPECT_EQ(item->statusTip().toStdString(), want.prompt);
        }
    }
}

TEST_F(MainFrameTest, CommandsWithoutHandlerAreDisabledAndEveryOtherIsEnabled) {
    for (const char* id : {"ID_EDIT_UNDO", "ID_EDIT_CUT", "ID_EDIT_COPY", "ID_EDIT_PASTE",
                           "ID_FILE_PRINT", "ID_NEXT_PANE", "ID_PREV_PANE", "ID_FILE_MRU_FILE1"}) {
        ASSERT_NE(Frame().Action(id), nullptr) << id;
        EXPECT_FALSE(Frame().Action(id)->isEnabled()) << id;
    }
    for (QAction* menu : Frame().menuBar()->actions()) {
        for (QAction* item : menu->menu()->actions()) {
            if (item->isSeparator() || item->objectName() == "ID_FILE_MRU_FILE1")
                continue;
            EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
        }
    }
    // The keys of the unhandled commands are taken by them, as the accelerator table has it.
    const std::pair<const char*, const char*> keys[] = {{"ID_EDIT_UNDO", "Ctrl+Z, Alt+Backspace"},
                                                        {"ID_EDIT_CUT", "Ctrl+X, Shift+Del"},
                                                        {"ID_EDIT_COPY", "Ctrl+C, Ctrl+Ins"},
                                                        {"ID_EDIT_PASTE", "Ctrl+V, Shift+Ins"},
                                                        {"ID_NEXT_PANE", "F6"},
                                                        {"ID_PREV_PANE", "Shift+F6"},
                                                        {"ID_HELP", "F1"},
                                                        {"ID_CONTEXT_HELP", "Shift+F1"}};
    for (const auto& [id, sequence] : keys) {
        QStringList texts;
        for (const QKeySequence& key : Frame().Action(id)->shortcuts())
            texts << key.toString();
        EXPECT_EQ(texts.join(", ").toStdString(), sequence) << id;
    }
}

TEST_F(MainFrameTest, ToolbarButtonsInOrderWithToolTips) {
    const QList<QAction*> buttons = Frame().ToolBar()->actions();
    const std::vector<std::pair<const char*, const char*>> expected = {
        {"ID_FILE_NEW", "New"}, {"ID_FILE_OPEN", "Open"}, {"ID_FILE_SAVE", "Save"},   {"-", ""},
        {"ID_EDIT_CUT", "Cut"}, {"ID_EDIT_COPY", "Copy"}, {"ID_EDIT_PASTE", "Paste"}, {"-", ""},
        {"ID_FILE_PRINT", ""},  {"ID_APP_ABOUT", "About"}};
    ASSERT_EQ(buttons.size(), static_cast<qsizetype>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const QAction* button = buttons[static_cast<qsizetype>(i)];
        if (std::string(expected[i].first) == "-") {
            EXPECT_TRUE(button->isSeparator()) << i;
            continue;
        }
        EXPECT_EQ(button->objectName().toStdString(), expected[i].first);
        if (*expected[i].second != '\0') {
            EXPECT_EQ(button->toolTip().toStdString(), expected[i].second);
        }
        EXPECT_FALSE(button->icon().isNull()) << expected[i].first;
    }
}

TEST_F(MainFrameTest, ToolTipsShowOnHoverExceptForPrint) {
    Activate();
    const auto hover = [this](const char* id) {
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
        QWidget* button = Frame().ToolBar()->widgetForAction(Frame().Action(id));
        QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(button, &tip);
        return QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string("(none)");
    };
    EXPECT_EQ(hover("ID_FILE_NEW"), "New");
    EXPECT_EQ(hover("ID_APP_ABOUT"), "About");
    EXPECT_EQ(hover("ID_FILE_PRINT"), "(none)");
    QToolTip::hideText();
}

TEST_F(MainFrameTest, StatusBarShowsIdleMessageLockPanesAndPrompts) {
    Activate();
    EXPECT_EQ(Frame().MessagePane()->text().toStdString(), "For Help, press F1");
    const char* names[] = {"CAP", "NUM", "SCRL"};
    int previousRight = Frame().MessagePane()->geometry().right();
    for (int i = 0; i < 3; ++i) {
        QLabel* pane = Frame().IndicatorPane(i);
        EXPECT_EQ(pane->objectName().toStdString(), names[i]);
        EXPECT_TRUE(pane->isVisible());
        // The offscreen platform cannot tell the keys' state: the panes stay blank.
        EXPECT_TRUE(pane->text().isEmpty() || pane->text() == names[i]);
        EXPECT_GT(pane->geometry().left(), previousRight);
        previousRight = pane->geometry().right();
    }
    // Hovering a command shows its prompt, leaving it brings the idle text back.
    Frame().Action("ID_OPERATIONS_FIELDS")->showStatusText(&Frame());
    EXPECT_EQ(Frame().statusBar()->currentMessage().toStdString(),
              "Define the fields used in each data record.");
    EXPECT_FALSE(Frame().MessagePane()->isVisible());
    Frame().statusBar()->clearMessage();
    EXPECT_TRUE(Frame().MessagePane()->isVisible());
}

TEST_F(MainFrameTest, ViewTogglesHideAndShowTheBars) {
    Activate();
    const std::pair<const char*, QWidget*> bars[] = {{"ID_VIEW_TOOLBAR", Frame().ToolBar()},
                                                     {"ID_VIEW_STATUS_BAR", Frame().statusBar()}};
    for (const auto& [id, bar] : bars) {
        SCOPED_TRACE(id);
        QAction* toggle = Frame().Action(id);
        ASSERT_TRUE(toggle);
        EXPECT_TRUE(toggle->isCheckable() && toggle->isChecked());
        toggle->trigger();
        EXPECT_FALSE(bar->isVisible());
        EXPECT_FALSE(toggle->isChecked());
        toggle->trigger();
        EXPECT_TRUE(bar->isVisible());
    }
}

TEST_F(MainFrameTest, CtrlCDoesNothingWhileOtherKeysReachTheirCommands) {
    Activate();
    QApplication::clipboard()->setText("kept");
    QSignalSpy copied(Frame().Action("ID_EDIT_COPY"), &QAction::triggered);
    QTest::keyClick(&Frame(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&Frame(), Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(copied.count(), 0);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "kept");
    EXPECT_TRUE(m_ui.questions.empty());

    // The keys themselves do arrive: Ctrl+N on a modified document asks to save.
    m_app->Document().SetModifiedFlag();
    m_ui.answers = {Answer::Cancel};
    QTest::keyClick(&Frame(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(m_ui.questions, std::vector<std::string>{"Save changes to Untitled?"});
}

TEST_F(MainFrameTest, ShiftF1EntersWhatsThisModeWithItsPrompt) {
    Activate();
    QTest::keyClick(&Frame(), Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    EXPECT_EQ(Frame().statusBar()->currentMessage().toStdString(),
              "Select an object on which to get Help");
    QWhatsThis::leaveWhatsThisMode();
    EXPECT_TRUE(Frame().statusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(Frame().MessagePane()->isVisible());
}

TEST_F(MainFrameTest, HelpOpensTheGuideThatDescribesEveryCommand) {
    Activate();
    QTest::keyClick(&Frame(), Qt::Key_F1);
    ASSERT_NE(Frame().HelpWindow(), nullptr);
    EXPECT_TRUE(Frame().HelpWindow()->isVisible());
    const QString guide = Frame().HelpWindow()->Browser()->toPlainText();
    EXPECT_TRUE(guide.contains("Catforge User Guide"));
    // Every menu command is explained under its own name.
    for (QAction* menu : Frame().menuBar()->actions()) {
        for (QAction* item : menu->menu()->actions()) {
            if (item->isSeparator() || item->objectName() == "ID_FILE_MRU_FILE1")
                continue;
            const QString name = QString(item->text()).remove('&');
            EXPECT_TRUE(guide.contains(name)) << name.toStdString();
        }
    }
    // The contents links lead to their sections.
    QTextBrowser* browser = Frame().HelpWindow()->Browser();
    EXPECT_EQ(CHelpWindow::HeadingAnchor("Worked example: from a VizieR download to a compiled "
                                         "catalogue")
                  .toStdString(),
              "worked-example-from-a-vizier-download-to-a-compiled-catalogue");
    ASSERT_EQ(browser->verticalScrollBar()->value(), 0);
    emit browser->anchorClicked(QUrl("#the-symbol-drawing-language"));
    EXPECT_TRUE(
        QTest::qWaitFor([browser] { return browser->verticalScrollBar()->value() > 0; }, 2000));
    EXPECT_TRUE(guide.contains("The symbol drawing language"));
    Frame().HelpWindow()->ShowContents();
    EXPECT_EQ(browser->verticalScrollBar()->value(), 0);

    // Help Topics brings the same window back rather than a second one.
    CHelpWindow* first = Frame().HelpWindow();
    Frame().Action("ID_HELP_INDEX")->trigger();
    EXPECT_EQ(Frame().HelpWindow(), first);
}

TEST_F(MainFrameTest, AboutBoxAndVersion) {
    int shown = 0;
    m_app->m_fnShowAbout = [&shown](QWidget*) { ++shown; };
    Frame().Action("ID_APP_ABOUT")->trigger();
    EXPECT_EQ(shown, 1);
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle().toStdString(), "About Catforge");
    EXPECT_EQ(about.VersionText().toStdString(), "Catforge Version 2.0");
    EXPECT_EQ(CCommandLineInfo::VersionText().toStdString(),
              "Catforge 2.0.1.0\nZenivo Data Preparation Tool\n");
}

}  // namespace
