#include "core/model/DocumentBase.h"

namespace {
CSilentInteraction g_silentInteraction;
}

CDocumentBase::CDocumentBase() : m_strDocTitle(kUntitled), m_pInteraction(&g_silentInteraction) {}

void CDocumentBase::SetInteraction(IUserInteraction* interaction) {
    m_pInteraction = interaction != nullptr ? interaction : &g_silentInteraction;
}

void CDocumentBase::SetPathName(const std::string& path) {
    m_strPathName = path;
    if (path.empty()) {
        m_strDocTitle = kUntitled;
        return;
    }
    const auto slash = path.find_last_of('/');
    m_strDocTitle = slash == std::string::npos ? path : path.substr(slash + 1);
}

bool CDocumentBase::OnNewDocument() {
    DeleteContents();
    SetModifiedFlag(false);
    return true;
}

bool CDocumentBase::NewDocument() {
    if (!OnNewDocument())
        return false;
    SetPathName({});
    return true;
}

bool CDocumentBase::OpenDocument(const std::string& path) {
    SetModifiedFlag(false);
    if (!OnOpenDocument(path))
        return false;
    SetPathName(path);
    SetModifiedFlag(false);
    return true;
}

FileDialogRequest CDocumentBase::DocumentFileRequest() const {
    FileDialogRequest request;
    request.title = "Save As";
    request.confirmOverwrite = true;
    return request;
}

bool CDocumentBase::DoSave(bool withDialog) {
    std::string path = m_strPathName;
    if (withDialog || path.empty()) {
        FileDialogRequest request = DocumentFileRequest();
        request.proposedName = path.empty() ? m_strDocTitle : path;
        const auto chosen = Interaction().AskSaveFileName(request);
        if (!chosen)
            return false;
        path = *chosen;
    }
    if (!OnSaveDocument(path))
        return false;
    SetPathName(path);
    return true;
}

bool CDocumentBase::SaveModified() {
    if (!IsModified())
        return true;
    const std::string question = "Save changes to " + m_strDocTitle + "?";
    switch (Interaction().Ask(question, MessageIcon::Warning, true)) {
        case Answer::Cancel:
            return false;
        case Answer::No:
            return true;
        case Answer::Yes:
            return DoSave(false);
    }
    return false;
}
