#include "app/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QWhatsThis>

#include "app/CatforgeApp.h"
#include "app/CatforgeView.h"
#include "app/HelpWindow.h"
#include "app/LockKeys.h"
#include "app/RecentFileList.h"

namespace {

constexpr const char* kTitleSuffix = " - Catforge";
constexpr const char* kIndicatorTexts[3] = {"CAP", "NUM", "SCRL"};

}  // namespace

CMainFrame::CMainFrame(CCatforgeApp& app, CCatforgeView* view) : m_app(app) {
    setObjectName("mainFrame");
    setWindowIcon(QIcon(":/icons/catforge.png"));
    setCentralWidget(view);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    setAcceptDrops(true);
    setDockOptions(dockOptions() | QMainWindow::AnimatedDocks);
    // Room for the overview and the sky map side by side.
    resize(1100, 680);
    qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    delete m_pHelp;
}

QAction* CMainFrame::Action(const QString& id) const {
    return findChild<QAction*>(id);
}

QAction* CMainFrame::MakeAction(const char* id, const QString& text, const QString& prompt) {
    auto* action = new QAction(text, this);
    action->setObjectName(id);
    action->setStatusTip(prompt);
    return action;
}

void CMainFrame::CreateActions() {
    CCatforgeApp& app = m_app;
    CCatforgeView& view = m_app.View();

    // File
    QAction* a = MakeAction("ID_FILE_NEW", tr("&New"), tr("Create a new document"));
    a->setShortcut(Qt::CTRL | Qt::Key_N);
    a->setToolTip(tr("New"));
    a->setIcon(QIcon(":/icons/new.png"));
    connect(a, &QAction::triggered, this, [&app] { app.OnFileNew(); });
    a = MakeAction("ID_FILE_OPEN", tr("&Open..."), tr("Open an existing document"));
    a->setShortcut(Qt::CTRL | Qt::Key_O);
    a->setToolTip(tr("Open"));
    a->setIcon(QIcon(":/icons/open.png"));
    connect(a, &QAction::triggered, this, [&app] { app.OnFileOpen(); });
    a = MakeAction("ID_FILE_SAVE", tr("&Save"), tr("Save the active document"));
    a->setShortcut(Qt::CTRL | Qt::Key_S);
    a->setToolTip(tr("Save"));
    a->setIcon(QIcon(":/icons/save.png"));
    connect(a, &QAction::triggered, this, [&app] { app.OnFileSave(); });
    a = MakeAction("ID_FILE_SAVE_AS", tr("Save &As..."),
                   tr("Save the active document with a new name"));
    connect(a, &QAction::triggered, this, [&app] { app.OnFileSaveAs(); });
    a = MakeAction("ID_FILE_IMPORT_README", tr("&Import VizieR ReadMe..."),
                   tr("Create a definition from the ReadMe of a VizieR catalogue"));
    connect(a, &QAction::triggered, this, [&app] { app.OnFileImportReadMe(); });
    a = MakeAction("ID_FILE_MRU_FILE1", tr("Recent File"), tr("Open this document"));
    a->setEnabled(false);
    a = MakeAction("ID_APP_EXIT", tr("E&xit"),
                   tr("Quit the application; prompts to save documents"));
    connect(a, &QAction::triggered, this, [&app] { app.OnAppExit(); });

    // View: the toolbar's own toggle, and one for the status bar.
    a = MakeAction("ID_VIEW_STATUS_BAR", tr("&Status Bar"), tr("Show or hide the status bar"));
    a->setCheckable(true);
    a->setChecked(true);
    connect(a, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });

    // Operations and Tools: the view's handlers.
    struct ViewCommand {
        const char* id;
        const char* text;
        const char* prompt;
        void (CCatforgeView::*handler)();
    };
    static const ViewCommand kViewCommands[] = {
        {"ID_OPERATIONS_GENERAL", "&General...", "Define the general properties of the data file.",
         &CCatforgeView::OnGeneral},
        {"ID_OPERATIONS_FIELDS", "&Fields...", "Define the fields used in each data record.",
         &CCatforgeView::OnFields},
        {"ID_OPERATIONS_USERSYMBOLS", "&User-Defined Symbols...",
         "Edit or create a new map symbol.", &CCatforgeView::OnUserSymbols},
        {"ID_OPERATIONS_OBJECTTYPES", "&Object Types and Symbols...",
         "Define map symbols and object types.", &CCatforgeView::OnObjectTypes},
        {"ID_OPERATIONS_RADEC", "&RA/Dec...",
         "Define the fields which specify the object position.", &CCatforgeView::OnRaDec},
        {"ID_OPERATIONS_LABELS", "&Labels...", "Define the fields which specify the object label.",
         &CCatforgeView::OnLabels},
        {"ID_OPERATIONS_SIZE", "&Size...", "Define the fields which specify the object size.",
         &CCatforgeView::OnSize},
        {"ID_OPERATIONS_MAGNITUDE", "&Magnitude...",
         "Define the fields which specify the object magnitude.", &CCatforgeView::OnMagnitude},
        {"ID_TOOLS_BROWSEDATA", "&Browse Data...", "Browse through the data.",
         &CCatforgeView::OnBrowseData},
        {"ID_TOOLS_NORMALIZE", "&Normalize Data File...",
         "Pad the lines of a data file with blanks to records of one length.",
         &CCatforgeView::OnNormalizeDataFile},
    };
    for (const ViewCommand& command : kViewCommands) {
        a = MakeAction(command.id, tr(command.text), tr(command.prompt));
        connect(a, &QAction::triggered, &view, command.handler);
    }
    a = MakeAction("ID_TOOLS_COMPILE", tr("&Compile"), QString());
    connect(a, &QAction::triggered, &view, [&view] { view.OnCompile(); });

    // Help
    a = MakeAction("ID_HELP_INDEX", tr("&Help Topics"), tr("List Help topics"));
    connect(a, &QAction::triggered, this, &CMainFrame::OnHelpIndex);
    a = MakeAction("ID_APP_ABOUT", tr("&About Catforge..."),
                   tr("Display program information, version number and copyright"));
    a->setToolTip(tr("About"));
    a->setIcon(QIcon(":/icons/about.png"));
    connect(a, &QAction::triggered, this, [&app] { app.OnAppAbout(); });
    a = MakeAction("ID_HELP", tr("Help"), tr("Display help for current task or command"));
    a->setShortcut(Qt::Key_F1);
    connect(a, &QAction::triggered, this, &CMainFrame::OnHelpIndex);
    a = MakeAction("ID_CONTEXT_HELP", tr("What's This?"),
                   tr("Display help for clicked on buttons, menus and windows"));
    a->setShortcut(Qt::SHIFT | Qt::Key_F1);
    connect(a, &QAction::triggered, this, &CMainFrame::OnContextHelp);

    // Commands nothing handles: present, so their keys are taken, and disabled.
    struct Unhandled {
        const char* id;
        const char* text;
        const char* prompt;
        QList<QKeySequence> keys;
        const char* icon;
    };
    const Unhandled unhandled[] = {
        {"ID_EDIT_UNDO",
         "&Undo",
         "Undo the last action",
         {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)},
         nullptr},
        {"ID_EDIT_CUT",
         "Cu&t",
         "Cut the selection and put it on the Clipboard",
         {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)},
         ":/icons/cut.png"},
        {"ID_EDIT_COPY",
         "&Copy",
         "Copy the selection and put it on the Clipboard",
         {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)},
         ":/icons/copy.png"},
        {"ID_EDIT_PASTE",
         "&Paste",
         "Insert Clipboard contents",
         {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)},
         ":/icons/paste.png"},
        {"ID_FILE_PRINT", "&Print...", "Print the active document", {}, ":/icons/print.png"},
        {"ID_NEXT_PANE",
         "Next Pane",
         "Switch to the next window pane",
         {QKeySequence(Qt::Key_F6)},
         nullptr},
        {"ID_PREV_PANE",
         "Previous Pane",
         "Switch back to the previous window pane",
         {QKeySequence(Qt::SHIFT | Qt::Key_F6)},
         nullptr},
    };
    for (const Unhandled& command : unhandled) {
        a = MakeAction(command.id, tr(command.text), tr(command.prompt));
        a->setShortcuts(command.keys);
        if (command.icon != nullptr)
            a->setIcon(QIcon(command.icon));
        a->setEnabled(false);
    }
    Action("ID_EDIT_CUT")->setToolTip(tr("Cut"));
    Action("ID_EDIT_COPY")->setToolTip(tr("Copy"));
    Action("ID_EDIT_PASTE")->setToolTip(tr("Paste"));

    // Keys work without a menu entry once the window holds the action.
    for (const char* id : {"ID_HELP", "ID_CONTEXT_HELP", "ID_EDIT_UNDO", "ID_EDIT_CUT",
                           "ID_EDIT_COPY", "ID_EDIT_PASTE", "ID_NEXT_PANE", "ID_PREV_PANE"}) {
        addAction(Action(id));
    }
}

void CMainFrame::CreateMenus() {
    m_pFileMenu = menuBar()->addMenu(tr("&File"));
    m_pFileMenu->setObjectName("menuFile");
    m_pFileMenu->addAction(Action("ID_FILE_NEW"));
    m_pFileMenu->addAction(Action("ID_FILE_OPEN"));
    m_pFileMenu->addAction(Action("ID_FILE_SAVE"));
    m_pFileMenu->addAction(Action("ID_FILE_SAVE_AS"));
    m_pFileMenu->addAction(Action("ID_FILE_IMPORT_README"));
    m_pFileMenu->addSeparator();
    m_pRecentSeparator = m_pFileMenu->addSeparator();
    m_pFileMenu->addAction(Action("ID_APP_EXIT"));
    UpdateRecentFileMenu();

    QMenu* menu = menuBar()->addMenu(tr("&View"));
    menu->setObjectName("menuView");
    // The toolbar's toggle is made with the toolbar; it goes in first.
    menu->addAction(Action("ID_VIEW_STATUS_BAR"));

    menu = menuBar()->addMenu(tr("&Operations"));
    menu->setObjectName("menuOperations");
    for (const char* id :
         {"ID_OPERATIONS_GENERAL", "ID_OPERATIONS_FIELDS", "ID_OPERATIONS_USERSYMBOLS",
          "ID_OPERATIONS_OBJECTTYPES", "ID_OPERATIONS_RADEC", "ID_OPERATIONS_LABELS",
          "ID_OPERATIONS_SIZE", "ID_OPERATIONS_MAGNITUDE"}) {
        menu->addAction(Action(id));
    }

    menu = menuBar()->addMenu(tr("&Tools"));
    menu->setObjectName("menuTools");
    menu->addAction(Action("ID_TOOLS_BROWSEDATA"));
    menu->addAction(Action("ID_TOOLS_NORMALIZE"));
    menu->addAction(Action("ID_TOOLS_COMPILE"));

    menu = menuBar()->addMenu(tr("&Help"));
    menu->setObjectName("menuHelp");
    menu->addAction(Action("ID_HELP_INDEX"));
    menu->addSeparator();
    menu->addAction(Action("ID_APP_ABOUT"));
}

void CMainFrame::CreateToolBar() {
    m_pToolBar = new QToolBar(tr("Toolbar"), this);
    m_pToolBar->setObjectName("toolBar");
    m_pToolBar->setIconSize(QSize(16, 16));
    m_pToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_pToolBar->setFloatable(true);
    m_pToolBar->setMovable(true);
    m_pToolBar->setWhatsThis(tr("The toolbar: New, Open and Save a definition, and About."));
    addToolBar(Qt::TopToolBarArea, m_pToolBar);
    m_pToolBar->addAction(Action("ID_FILE_NEW"));
    m_pToolBar->addAction(Action("ID_FILE_OPEN"));
    m_pToolBar->addAction(Action("ID_FILE_SAVE"));
    m_pToolBar->addSeparator();
    m_pToolBar->addAction(Action("ID_EDIT_CUT"));
    m_pToolBar->addAction(Action("ID_EDIT_COPY"));
    m_pToolBar->addAction(Action("ID_EDIT_PASTE"));
    m_pToolBar->addSeparator();
    m_pToolBar->addAction(Action("ID_FILE_PRINT"));
    m_pToolBar->addAction(Action("ID_APP_ABOUT"));
    // Print has no tool tip of its own.
    m_pToolBar->widgetForAction(Action("ID_FILE_PRINT"))->installEventFilter(this);

    QAction* toggle = m_pToolBar->toggleViewAction();
    toggle->setObjectName("ID_VIEW_TOOLBAR");
    toggle->setText(tr("&Toolbar"));
    toggle->setStatusTip(tr("Show or hide the toolbar"));
    QMenu* view = findChild<QMenu*>("menuView");
    view->insertAction(view->actions().value(0), toggle);
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("statusBar");
    bar->setWhatsThis(
        tr("The status bar: what the highlighted command does, and the state of "
           "the Caps Lock, Num Lock and Scroll Lock keys."));
    m_pMessagePane = new QLabel(tr(kIdleMessage), bar);
    m_pMessagePane->setObjectName("messagePane");
    bar->addWidget(m_pMessagePane, 1);
    const int width = fontMetrics().horizontalAdvance("SCRL") + 12;
    for (int i = 0; i < 3; ++i) {
        auto* pane = new QLabel(bar);
        pane->setObjectName(kIndicatorTexts[i]);
        pane->setAlignment(Qt::AlignCenter);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setMinimumWidth(width);
        bar->addPermanentWidget(pane);
        m_apIndicators[i] = pane;
    }
    UpdateIndicators();
}

void CMainFrame::UpdateTitle(const QString& documentTitle) {
    setWindowTitle(documentTitle + kTitleSuffix);
}

void CMainFrame::UpdateRecentFileMenu() {
    QAction* placeholder = Action("ID_FILE_MRU_FILE1");
    m_pFileMenu->removeAction(placeholder);
    qDeleteAll(m_apRecentActions);
    m_apRecentActions.clear();
    const QStringList& files = m_app.RecentFiles().Files();
    if (files.isEmpty()) {
        // The greyed "Recent File" entry stands in for an empty list.
        m_pFileMenu->insertAction(m_pRecentSeparator, placeholder);
        return;
    }
    for (int i = 0; i < files.size(); ++i) {
        auto* action = new QAction(m_app.RecentFiles().MenuText(i), m_pFileMenu);
        action->setObjectName(QString("recentFile%1").arg(i + 1));
        action->setStatusTip(tr("Open this document"));
        connect(action, &QAction::triggered, this, [this, i] { m_app.OnOpenRecentFile(i); });
        m_pFileMenu->insertAction(m_pRecentSeparator, action);
        m_apRecentActions << action;
    }
}

void CMainFrame::UpdateIndicators() {
    const auto state = QueryLockKeys();
    const bool on[3] = {state && state->caps, state && state->num, state && state->scroll};
    for (int i = 0; i < 3; ++i)
        m_apIndicators[i]->setText(on[i] ? kIndicatorTexts[i] : "");
}

void CMainFrame::OnHelpIndex() {
    if (!m_pHelp) {
        m_pHelp = new CHelpWindow(nullptr);
        m_pHelp->setAttribute(Qt::WA_QuitOnClose, false);
        m_pHelp->setWindowIcon(windowIcon());
    }
    m_pHelp->ShowContents();
    m_pHelp->show();
    m_pHelp->raise();
    m_pHelp->activateWindow();
}

void CMainFrame::OnContextHelp() {
    QWhatsThis::enterWhatsThisMode();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!m_app.SaveModified()) {
        event->ignore();
        return;
    }
    if (m_pHelp)
        m_pHelp->close();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile())
            continue;
        event->acceptProposedAction();
        activateWindow();
        // One document at a time: the first file dropped is the one opened.
        m_app.OnDropFile(url.toLocalFile());
        return;
    }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ToolTip:
            if (watched == m_pToolBar->widgetForAction(Action("ID_FILE_PRINT")))
                return true;
            break;
        case QEvent::EnterWhatsThisMode:
            statusBar()->showMessage(tr(kContextHelpMessage));
            break;
        case QEvent::LeaveWhatsThisMode:
            statusBar()->clearMessage();
            break;
        case QEvent::KeyRelease:
            // Each key event passes the filter once for its window, then for each widget.
            if (watched->isWindowType())
                UpdateIndicators();
            break;
        case QEvent::ApplicationActivate:
            if (watched == qApp)
                UpdateIndicators();
            break;
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}
