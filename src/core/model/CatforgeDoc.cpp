#include "core/model/CatforgeDoc.h"

CCatforgeDoc::CCatforgeDoc() {
    DeleteContents();
}

CCatforgeDoc::~CCatforgeDoc() = default;

void CCatforgeDoc::DeleteContents() {
    ResetDefinition(*this);
    m_pEntries.reset();
    m_nRecordCount = 0;
    m_nFirstSortKey = 0;
    m_nLastSortKey = 0;
    CDocumentBase::DeleteContents();
}

FileDialogRequest CCatforgeDoc::DocumentFileRequest() const {
    FileDialogRequest request = CDocumentBase::DocumentFileRequest();
    request.filters = {{"Catforge Files (*.zdd)", "*.zdd"}, {"All Files (*.*)", "*"}};
    request.defaultExtension = "zdd";
    return request;
}
