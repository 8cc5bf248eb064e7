// The main window as a person meets it: menus, toolbar, status bar, keys, help.
#include <QApplication>
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
#include "app/CommandLineInfo.h"
#include "core/model/CatforgeDoc.h"
#include "support/Golden.h"

namespace {

// The menus, the toolbar and the commands without a menu item, one line each: text or name,
// keys, status-bar prompt or tool tip, and whether it is disabled or lacks its icon.
std::string Line(const QAction* action, const std::string& text, const std::string& tip) {
    if (action->isSeparator())
        return "\t-\n";
    return "\t" + text + "\t" + QKeySequence::listToString(action->shortcuts()).toStdString() +
           "\t" + tip + (action->isEnabled() ? "" : "\t(disabled)") + "\n";
}

class MainFrameTest : public CAppTest {
protected:
    void SetUp() override {
        CAppTest::SetUp();
        ASSERT_TRUE(Start());
    }
    void TearDown() override {
        if (QWhatsThis::inWhatsThisMode())
            QWhatsThis::leaveWhatsThisMode();
    }
    // Shows the frame and makes it the active window, so that its keys reach it.
    void Activate() {
        Frame().show();
        Frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    }
};

TEST_F(MainFrameTest, MenusToolbarAndKeysAreAsTheGoldenTextLists) {
    std::string tree;
    for (QAction* menu : Frame().menuBar()->actions()) {
        tree += menu->menu()->title().toStdString() + "\n";
        for (QAction* item : menu->menu()->actions())
            tree += Line(item, item->text().toStdString(), item->statusTip().toStdString());
    }
    tree += "Toolbar\n";
    for (QAction* button : Frame().ToolBar()->actions()) {
        tree += Line(button, button->objectName().toStdString(), button->toolTip().toStdString());
        if (!button->isSeparator() && button->icon().isNull())
            tree += "\t\t(no icon)\n";
    }
    tree += "Commands without a menu item\n";
    for (const char* id :
         {"ID_EDIT_UNDO", "ID_EDIT_CUT", "ID_EDIT_COPY", "ID_EDIT_PASTE", "ID_FILE_PRINT",
          "ID_NEXT_PANE", "ID_PREV_PANE", "ID_HELP", "ID_CONTEXT_HELP"}) {
        const QAction* action = Frame().Action(id);
        tree += action ? Line(action, id, "") : std::string("\t") + id + " missing\n";
    }
    ExpectSameAsGolden(tree, "menus.txt");
}

// The status bar's idle message, lock panes and prompts, the tool tips and the View toggles.
TEST_F(MainFrameTest, BarsShowTheirTextsAndFollowTheViewToggles) {
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

    // Shift+F1 enters What's This mode with its own prompt.
    QTest::keyClick(&Frame(), Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    EXPECT_EQ(Frame().statusBar()->currentMessage().toStdString(),
              "Select an object on which to get Help");
    QWhatsThis::leaveWhatsThisMode();
    EXPECT_TRUE(Frame().statusBar()->currentMessage().isEmpty());

    // Tool tips show on hover, except for Print.
    const auto hover = [this](const char* id) {
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
        QWidget* button = Frame().ToolBar()->widgetForAction(Frame().Action(id));
        QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(button, &tip);
        return QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string("(none)");
    };
    EXPECT_EQ(hover("ID_FILE_NEW"), "New");
    EXPECT_EQ(hover("ID_FILE_PRINT"), "(none)");

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

// Ctrl+C does nothing while other keys reach their commands; F1 opens the guide, which
// describes every command.
TEST_F(MainFrameTest, KeysReachTheirCommandsAndHelpDescribesEveryCommand) {
    Activate();
    QApplication::clipboard()->setText("kept");
    QSignalSpy copied(Frame().Action("ID_EDIT_COPY"), &QAction::triggered);
    QTest::keyClick(&Frame(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&Frame(), Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(copied.count(), 0);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "kept");

    // The keys themselves do arrive: Ctrl+N on a modified document asks to save.
    m_app->Document().SetModifiedFlag();
    m_ui.answers = {Answer::Cancel};
    QTest::keyClick(&Frame(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(m_ui.questions, std::vector<std::string>{"Save changes to Untitled?"});

    QTest::keyClick(&Frame(), Qt::Key_F1);
    CHelpWindow* help = Frame().HelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    const QString guide = help->Browser()->toPlainText();
    // Every menu command is explained under its own name.
    for (QAction* menu : Frame().menuBar()->actions()) {
        for (QAction* item : menu->menu()->actions()) {
            if (item->isSeparator() || item->objectName() == "ID_FILE_MRU_FILE1")
                continue;
            const QString name = QString(item->text()).remove('&');
            EXPECT_TRUE(guide.contains(name)) << name.toStdString();
        }
    }
    // The contents links lead to their sections; Contents goes back to the top.
    QTextBrowser* browser = help->Browser();
    for (const char* anchor : {"#the-symbol-drawing-language",
                               "#worked-example-from-a-vizier-download-to-a-compiled-catalogue"}) {
        ASSERT_EQ(browser->verticalScrollBar()->value(), 0);
        emit browser->anchorClicked(QUrl(anchor));
        EXPECT_TRUE(
            QTest::qWaitFor([browser] { return browser->verticalScrollBar()->value() > 0; }, 2000))
            << anchor;
        help->ShowContents();
    }
    EXPECT_EQ(browser->verticalScrollBar()->value(), 0);

    // Help Topics brings the same window back rather than a second one.
    Frame().Action("ID_HELP_INDEX")->trigger();
    EXPECT_EQ(Frame().HelpWindow(), help);
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
