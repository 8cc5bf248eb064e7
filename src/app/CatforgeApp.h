// The application: start-up, the one document with its frame and view, the recent-file list,
// and the File commands that replace or write the document.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/RecentFileList.h"

class CCatforgeDoc;
class CCatforgeView;
class CMainFrame;
class CQtUserInteraction;
class IUserInteraction;
class QWidget;

class CCatforgeApp {
public:
    // Where the per-user settings live (QSettings organisation and application).
    static constexpr const char* kSettingsOrganization = "Local AppWizard-Generated Applications";
    static constexpr const char* kSettingsApplication = "Catforge";
    static constexpr int kRecentFileCount = 4;

    // ui answers every message and question; null: the desktop's message boxes and dialogs.
    explicit CCatforgeApp(IUserInteraction* ui = nullptr);
    ~CCatforgeApp();
    CCatforgeApp(const CCatforgeApp&) = delete;
    CCatforgeApp& operator=(const CCatforgeApp&) = delete;

    // Makes the icons and the user guide available (once is enough, more does no harm).
    static void InitResources();

    // Reads the settings, builds the frame and carries out the command line (the arguments
    // after the program name): nothing starts a new document, a path opens it. False when the
    // file could not be opened; the message has been shown.
    bool InitInstance(const QStringList& arguments);

    CCatforgeDoc& Document() { return *m_pDocument; }
    CCatforgeView& View() { return *m_pView; }
    CMainFrame& MainFrame() { return *m_pFrame; }
    IUserInteraction& Interaction() { return *m_pInteraction; }
    CRecentFileList& RecentFiles() { return m_recentFiles; }

    // File commands. Those that replace the document first offer to save a modified one.
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileImportReadMe();
    void OnOpenRecentFile(int index);
    void OnDropFile(const QString& path);
    void OnAppExit();
    void OnAppAbout();

    // Opens path in place of the document (no save question); true on success, when the
    // file also heads the recent-file list.
    bool OpenDocumentFile(const QString& path);
    // "Save changes to ...?" when the document is modified; false when the person cancels.
    bool SaveModified();

    // Shows the About box; tests put in their own.
    std::function<void(QWidget*)> m_fnShowAbout;

private:
    void AddToRecentFiles(const std::string& path);
    void RecentFilesChanged();
    void UpdateTitle();

    std::unique_ptr<CQtUserInteraction> m_pQtInteraction;
    IUserInteraction* m_pInteraction;
    std::unique_ptr<CCatforgeDoc> m_pDocument;
    CRecentFileList m_recentFiles{kRecentFileCount};
    CCatforgeView* m_pView = nullptr;  // owned by the frame
    std::unique_ptr<CMainFrame> m_pFrame;
};
