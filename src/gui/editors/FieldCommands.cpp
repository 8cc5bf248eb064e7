// The Operations / Fields and General commands and Tools / Browse Data.

#include <QDialog>

#include "core/browse/DataBrowse.h"
#include "core/compile/DataFile.h"
#include "core/model/CatforgeDoc.h"
#include "gui/editors/BrowserDlg.h"
#include "gui/editors/EditorCommands.h"
#include "gui/editors/FieldListDlg.h"
#include "gui/editors/GeneralDlg.h"
#include "gui/widgets/ModalRun.h"

bool RunGeneralEditor(CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent) {
    CGeneralDlg dlg(ui, parent);
    dlg.m_strTitle = doc.m_strTitle;
    dlg.m_strDataFile = doc.GetDataFile();
    dlg.m_strNotes = doc.m_strNotes;
    dlg.m_nRecordLength = doc.m_nRecordLength;
    dlg.UpdateControls();
    if (RunModal(dlg) != QDialog::Accepted)
        return false;
    doc.m_strTitle = dlg.m_strTitle;
    doc.SetDataFile(dlg.m_strDataFile);
    doc.m_strNotes = dlg.m_strNotes;
    doc.m_nRecordLength = dlg.m_nRecordLength;
    doc.SetModifiedFlag(true);
    return true;
}

bool RunFieldsEditor(CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent) {
    CFieldListDlg dlg(ui, parent);
    dlg.SetFields(doc.m_aFields);
    if (RunModal(dlg) != QDialog::Accepted)
        return false;
    // Field selections elsewhere keep their numbers, whatever now stands at them.
    doc.m_aFields = dlg.Fields();
    doc.SetModifiedFlag(true);
    return true;
}

void RunDataBrowser(const CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent) {
    CDataBrowse browse;
    // A relative data file is found as the compile finds it: beside the definition first.
    const std::string path = ResolveDataFile(doc.GetDataFile(), doc.GetPathName());
    if (!browse.Open(path, doc.m_nRecordLength, doc.m_aFields, ui))
        return;
    CBrowserDlg dlg(browse, parent);
    RunModal(dlg);
}
