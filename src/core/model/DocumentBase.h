// The document life cycle a single-document program needs: a path, a title derived from it,
// the modified flag, and new/open/save entry points with the "save changes?" question.
#pragma once

#include <string>

#include "core/model/UserInteraction.h"

class CDocumentBase {
public:
    CDocumentBase();
    virtual ~CDocumentBase() = default;
    CDocumentBase(const CDocumentBase&) = delete;
    CDocumentBase& operator=(const CDocumentBase&) = delete;

    // Where messages and questions go. Defaults to a silent interaction; never null.
    void SetInteraction(IUserInteraction* interaction);
    IUserInteraction& Interaction() const { return *m_pInteraction; }

    const std::string& GetPathName() const { return m_strPathName; }
    // Sets the path and derives the title from its file name ("Untitled" for an empty path).
    void SetPathName(const std::string& path);
    const std::string& GetTitle() const { return m_strDocTitle; }
    void SetTitle(const std::string& title) { m_strDocTitle = title; }

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

    // Resets the contents. Derived documents reset their members, then call this.
    virtual void DeleteContents() {}

    // File New: resets the contents; the document becomes untitled and unmodified.
    virtual bool OnNewDocument();
    // File Open: reads the file. The caller sets path and title on success (see OpenDocument).
    virtual bool OnOpenDocument(const std::string& path) = 0;
    // Writes the document to path; on success clears the modified flag.
    virtual bool OnSaveDocument(const std::string& path) = 0;

    // The framework's entry points around the hooks above.
    bool NewDocument();                          // OnNewDocument, then untitled
    bool OpenDocument(const std::string& path);  // OnOpenDocument, then path and title
    // Save (withDialog false and a path known) or Save As: asks for a name when needed.
    bool DoSave(bool withDialog);
    // Before New, Open and Exit: when modified, asks "Save changes to <title>?" and saves on Yes.
    // Returns false when the person cancels or the save fails.
    bool SaveModified();

    // Dialog settings of this document type for Open and Save As.
    virtual FileDialogRequest DocumentFileRequest() const;

    static constexpr const char* kUntitled = "Untitled";

private:
    std::string m_strPathName;
    std::string m_strDocTitle;
    bool m_bModified = false;
    IUserInteraction* m_pInteraction;
};
