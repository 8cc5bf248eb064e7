// The Type Selection dialog: edits one type rule ("When field ... has the value ..., the
// object type is ... and uses the symbol ..."). Run by the Object Type dialog's Add and Edit.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "core/editing/DialogRules.h"
#include "core/model/DefinitionRecords.h"

class QComboBox;
class QLineEdit;
class CCatforgeDoc;
class CFieldSelectionBox;

// Fills a symbol selection box: the standard symbols, then the user symbols in list order.
// Selects the row of symbol code `code`, or nothing when the code names no row. Returns the
// number of standard symbols counted.
int FillSymbolBox(QComboBox& box, const std::vector<std::string>& userSymbolNames, int code);

// Fills a box with the object type names and selects row `type` (nothing when out of range).
void FillTypeBox(QComboBox& box, int type);

class CTypeSelectionDlg : public QDialog {
    Q_OBJECT
public:
    CTypeSelectionDlg(const CCatforgeDoc& doc, QWidget* parent = nullptr);

    // Fills the controls from the members; exec() calls it first.
    void OnInitDialog();
    // Reads the controls into the members, makes m_nSymbol from the symbol row and closes
    // with OK. Nothing is required: no field, an empty value and no symbol are all accepted.
    void OnOK();

    int exec() override;

    // Set by the caller before the dialog runs.
    int m_nField = kNoField;  // field selection, then the selected field row
    int m_nSymbolIndex = -1;  // symbol code on entry, then the selected symbol row
    std::string m_strValue;
    int m_nType = -1;  // object type, the selected type row

    int m_nStandardSymbols = 0;
    int m_nSymbol = -1;  // symbol code made by OnOK

    // The controls, for tests.
    CFieldSelectionBox* FieldBox() const { return m_pFieldBox; }
    QLineEdit* ValueEdit() const { return m_pValueEdit; }
    QComboBox* TypeBox() const { return m_pTypeBox; }
    QComboBox* SymbolBox() const { return m_pSymbolBox; }

private:
    const CCatforgeDoc* m_pDoc;
    CFieldSelectionBox* m_pFieldBox;
    QLineEdit* m_pValueEdit;
    QComboBox* m_pTypeBox;
    QComboBox* m_pSymbolBox;
};

// Runs the Type Selection dialog on a rule: true and the rule changed when it ends with OK.
// The Object Type dialog uses RunTypeSelectionDlg; tests give their own.
using TypeSelectionRunner =
    std::function<bool(TypeRule& rule, const CCatforgeDoc& doc, QWidget* parent)>;
bool RunTypeSelectionDlg(TypeRule& rule, const CCatforgeDoc& doc, QWidget* parent);
