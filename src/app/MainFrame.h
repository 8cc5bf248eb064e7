// The main window: menu, toolbar, status bar with the lock-key indicators, and the routing
// of every command to the application, the document or the view.
#pragma once

#include <QMainWindow>
#include <QPointer>

#include "app/HelpWindow.h"

class CCatforgeApp;
class CCatforgeView;
class QAction;
class QLabel;
class QMenu;
class QToolBar;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(CCatforgeApp& app, CCatforgeView* view);
    ~CMainFrame() override;

    // The command with this name ("ID_FILE_NEW", "ID_EDIT_COPY", ...), or null.
    QAction* Action(const QString& id) const;
    QToolBar* ToolBar() const { return m_pToolBar; }
    QLabel* MessagePane() const { return m_pMessagePane; }
    QLabel* IndicatorPane(int index) const { return m_apIndicators[index]; }
    CHelpWindow* HelpWindow() const { return m_pHelp; }

    // "<document title> - Catforge".
    void UpdateTitle(const QString& documentTitle);
    // Rebuilds the recent-file entries of the File menu.
    void UpdateRecentFileMenu();
    // Shows the lock keys' state in the CAP, NUM and SCRL panes.
    void UpdateIndicators();

    // Help / Help Topics and F1.
    void OnHelpIndex();
    // Shift+F1: "What's This?" mode.
    void OnContextHelp();

    static constexpr const char* kIdleMessage = "For Help, press F1";
    static constexpr const char* kContextHelpMessage = "Select an object on which to get Help";

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* MakeAction(const char* id, const QString& text, const QString& prompt);
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();

    CCatforgeApp& m_app;
    QToolBar* m_pToolBar = nullptr;
    QMenu* m_pFileMenu = nullptr;
    QAction* m_pRecentSeparator = nullptr;  // after the recent files, before Exit
    QList<QAction*> m_apRecentActions;
    QLabel* m_pMessagePane = nullptr;
    QLabel* m_apIndicators[3] = {};
    QPointer<CHelpWindow> m_pHelp;
};
