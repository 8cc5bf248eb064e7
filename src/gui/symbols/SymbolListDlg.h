// The User-defined Map Symbols dialog: the document's own map symbols by name, with Add,
// Edit and Delete. A symbol's place in the list gives its symbol code (-1 - place).
#pragma once

#include <QDialog>
#include <vector>

#include "core/model/DefinitionRecords.h"
#include "gui/symbols/SymbolDefDlg.h"

class QTreeWidget;
class QTreeWidgetItem;
class IUserInteraction;

class CSymbolListDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSymbolListDlg(IUserInteraction& ui, QWidget* parent = nullptr);

    // Fills the list from m_aUserSymbols; exec() calls it first.
    void OnInitDialog();
    void OnAdd();
    void OnEdit();
    void OnDelete();

    int exec() override;

    // Seam: how one symbol is edited.
    void SetSymbolDefRunner(SymbolDefRunner runner) { m_runSymbolDef = std::move(runner); }

    // The working copy of the user symbols, in code order.
    std::vector<UserSymbol> m_aUserSymbols;

    // The list, for tests.
    QTreeWidget* SymbolList() const { return m_pList; }

private:
    // Adds the row of symbol `index` at the bottom of the list and selects it.
    void AddRow(int index);
    QTreeWidgetItem* SelectedRow();

    IUserInteraction* m_pUi;
    SymbolDefRunner m_runSymbolDef = RunSymbolDefDlg;
    QTreeWidget* m_pList;
};
