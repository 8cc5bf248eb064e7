// Operations / "&Object Types and Symbols..." and Operations / "&User-Defined Symbols...".
#include <QDialog>

#include "core/model/CatforgeDoc.h"
#include "gui/editors/EditorCommands.h"
#include "gui/symbols/ObjectTypeDlg.h"
#include "gui/symbols/SymbolListDlg.h"
#include "gui/widgets/ModalRun.h"

bool RunObjectTypesEditor(CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent) {
    CObjectTypeDlg dlg(doc, ui, parent);
    dlg.m_nTypeMode = doc.m_nTypeMode;
    dlg.m_nDefaultType = doc.m_nDefaultType;
    dlg.m_nColourMode = doc.m_nColourMode;
    dlg.m_crScreenColour = doc.m_crScreenColour;
    dlg.m_crPrinterColour = doc.m_crPrinterColour;
    dlg.m_nSymbolIndex = doc.m_nDefaultSymbol;
    dlg.m_aTypeRules = doc.m_aTypeRules;
    if (RunModal(dlg) != QDialog::Accepted)
        return false;

    doc.m_nTypeMode = dlg.m_nTypeMode;
    doc.m_nDefaultType = dlg.m_nDefaultType;
    doc.m_nColourMode = dlg.m_nColourMode;
    doc.m_crScreenColour = dlg.m_crScreenColour;
    doc.m_crPrinterColour = dlg.m_crPrinterColour;
    doc.m_nDefaultSymbol = dlg.m_nDefaultSymbol;
    doc.m_aTypeRules = dlg.m_aTypeRules;
    doc.SetModifiedFlag(true);
    return true;
}

bool RunUserSymbolsEditor(CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent) {
    CSymbolListDlg dlg(ui, parent);
    dlg.m_aUserSymbols = doc.m_aUserSymbols;
    if (RunModal(dlg) != QDialog::Accepted)
        return false;

    doc.m_aUserSymbols = dlg.m_aUserSymbols;
    doc.SetModifiedFlag(true);
    return true;
}
