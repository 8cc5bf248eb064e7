#include "app/CatforgeApp.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "app/AboutDlg.h"
#include "app/CatforgeView.h"
#include "app/MainFrame.h"
#include "app/QtUserInteraction.h"
#include "core/model/CatforgeDoc.h"

namespace {

std::string LocalPath(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString DisplayPath(const std::string& path) {
    return QFile::decodeName(path.c_str());
}

}  // namespace

void CCatforgeApp::InitResources() {
    // The icons and the user guide are compiled into the library that holds this file.
    Q_INIT_RESOURCE(catforge);
}

CCatforgeApp::CCatforgeApp(IUserInteraction* ui)
    : m_pInteraction(ui), m_pDocument(std::make_unique<CCatforgeDoc>()) {
    InitResources();
    if (m_pInteraction == nullptr) {
        m_pQtInteraction = std::make_unique<CQtUserInteraction>();
        m_pInteraction = m_pQtInteraction.get();
    }
    m_pDocument->SetInteraction(m_pInteraction);
    m_fnShowAbout = [](QWidget* parent) {
        CAboutDlg about(parent);
        about.exec();
    };
}

CCatforgeApp::~CCatforgeApp() {
    m_pFrame.reset();
    m_pDocument->SetInteraction(nullptr);
}

bool CCatforgeApp::InitInstance(const QStringList& arguments) {
    QSettings settings(kSettingsOrganization, kSettingsApplication);
    m_recentFiles.ReadList(settings);

    m_pView = new CCatforgeView(*m_pDocument, *m_pInteraction);
    m_pFrame = std::make_unique<CMainFrame>(*this, m_pView);
    if (m_pQtInteraction)
        m_pQtInteraction->SetParent(m_pFrame.get());
    QObject::connect(m_pView, &CCatforgeView::documentChanged, m_pFrame.get(),
                     [this] { UpdateTitle(); });

    bool opened = true;
    if (arguments.isEmpty()) {
        m_pDocument->NewDocument();
    } else {
        opened = OpenDocumentFile(arguments.constFirst());
    }
    UpdateTitle();
    return opened;
}

bool CCatforgeApp::SaveModified() {
    const bool wasModified = m_pDocument->IsModified();
    const bool saved = m_pDocument->SaveModified();
    // A file saved on the way enters the list, as any save does.
    if (saved && wasModified && !m_pDocument->IsModified()) {
        AddToRecentFiles(m_pDocument->GetPathName());
    }
    UpdateTitle();
    return saved;
}

void CCatforgeApp::OnFileNew() {
    if (!SaveModified())
        return;
    m_pDocument->NewDocument();
    UpdateTitle();
}

void CCatforgeApp::OnFileOpen() {
    FileDialogRequest request = m_pDocument->DocumentFileRequest();
    request.title = "Open";
    request.mustExist = true;
    request.confirmOverwrite = false;
    request.proposedName.clear();
    const auto chosen = m_pInteraction->AskOpenFileName(request);
    if (!chosen)
        return;
    if (!SaveModified())
        return;
    OpenDocumentFile(DisplayPath(*chosen));
}

bool CCatforgeApp::OpenDocumentFile(const QString& path) {
    const std::string before = m_pDocument->EncodeDefinition();
    const bool wasModified = m_pDocument->IsModified();
    // The document keeps a full path, whatever folder the program was started in.
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    if (!m_pDocument->OpenDocument(LocalPath(fullPath))) {
        if (m_pDocument->EncodeDefinition() == before) {
            // The file could not be read: the document is as it was.
            m_pDocument->SetModifiedFlag(wasModified);
        } else {
            // The file was not a definition and the old contents are gone: start afresh.
            m_pDocument->NewDocument();
        }
        UpdateTitle();
        return false;
    }
    AddToRecentFiles(m_pDocument->GetPathName());
    UpdateTitle();
    return true;
}

void CCatforgeApp::OnOpenRecentFile(int index) {
    if (index < 0 || index >= m_recentFiles.Files().size())
        return;
    const QString path = m_recentFiles.Files().at(index);
    if (!SaveModified())
        return;
    if (!OpenDocumentFile(path)) {
        // A file that has gone or become unreadable leaves the list; the message was shown.
        const qsizetype stale = m_recentFiles.Files().indexOf(path);
        if (stale >= 0)
            m_recentFiles.Remove(static_cast<int>(stale));
        RecentFilesChanged();
    }
}

void CCatforgeApp::OnDropFile(const QString& path) {
    if (!SaveModified())
        return;
    OpenDocumentFile(path);
}

void CCatforgeApp::OnFileSave() {
    if (m_pDocument->DoSave(false))
        AddToRecentFiles(m_pDocument->GetPathName());
    UpdateTitle();
}

void CCatforgeApp::OnFileSaveAs() {
    if (m_pDocument->DoSave(true))
        AddToRecentFiles(m_pDocument->GetPathName());
    UpdateTitle();
}

void CCatforgeApp::OnFileImportReadMe() {
    if (!SaveModified())
        return;
    const std::string pathBefore = m_pDocument->GetPathName();
    if (!m_pView->Commands().importCdsReadMe)
        return;
    if (m_pView->Commands().importCdsReadMe(*m_pDocument, *m_pInteraction, m_pFrame.get())) {
        // The imported definition is new: Save must not overwrite the file it replaced.
        if (!pathBefore.empty() && m_pDocument->GetPathName() == pathBefore) {
            const bool modified = m_pDocument->IsModified();
            m_pDocument->SetPathName({});
            m_pDocument->SetModifiedFlag(modified);
        }
    }
    UpdateTitle();
}

void CCatforgeApp::OnAppExit() {
    // Closing the frame asks the save question; a Cancel keeps it open.
    m_pFrame->close();
}

void CCatforgeApp::OnAppAbout() {
    if (m_fnShowAbout)
        m_fnShowAbout(m_pFrame.get());
}

void CCatforgeApp::AddToRecentFiles(const std::string& path) {
    m_recentFiles.Add(DisplayPath(path));
    RecentFilesChanged();
}

void CCatforgeApp::RecentFilesChanged() {
    QSettings settings(kSettingsOrganization, kSettingsApplication);
    m_recentFiles.WriteList(settings);
    if (m_pFrame)
        m_pFrame->UpdateRecentFileMenu();
}

void CCatforgeApp::UpdateTitle() {
    // Every change of the document ends here: the view follows it too.
    if (m_pView)
        m_pView->OnUpdate();
    if (m_pFrame)
        m_pFrame->UpdateTitle(DisplayPath(m_pDocument->GetTitle()));
}
