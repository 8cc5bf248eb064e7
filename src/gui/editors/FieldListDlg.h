// The "Field Definitions" dialog: the list of fields with Add, Edit and Delete. The list is
// the working copy while the dialog is open; OK checks neighbouring rows for overlaps and
// rebuilds the field array from the rows, top to bottom.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/editing/FieldRows.h"
#include "core/model/DefinitionRecords.h"

class QPushButton;
class QTreeWidget;
class IUserInteraction;

// Runs the single-field dialog with a title and the field it starts from; gives the field
// entered, or nothing on Cancel. Tests replace it to answer without a modal loop.
using FieldEditRunner =
    std::function<std::optional<FieldDefinition>(const std::string&, const FieldDefinition&)>;

class CFieldListDlg : public QDialog {
    Q_OBJECT
public:
    explicit CFieldListDlg(IUserInteraction& ui, QWidget* parent = nullptr);

    // The fields the dialog starts from; shown in this order, no row selected.
    void SetFields(const std::vector<FieldDefinition>& fields);
    // The fields as rebuilt by OnOK.
    [[nodiscard]] const std::vector<FieldDefinition>& Fields() const { return m_aFields; }

    void SetFieldEditRunner(FieldEditRunner runner) { m_editRunner = std::move(runner); }

    void OnAdd();
    void OnEdit();
    void OnDelete();
    // Reports the first overlapping pair and stays open, or rebuilds the array and closes
    // with OK.
    bool OnOK();

    // The working rows and their selection, as the list shows them.
    [[nodiscard]] const CFieldRows& Rows() const { return m_rows; }
    void SelectRow(int row);
    QTreeWidget* List() const { return m_pList; }

private:
    void ShowRows();
    void OnSelectionChanged();

    IUserInteraction& m_ui;
    FieldEditRunner m_editRunner;
    std::vector<FieldDefinition> m_aFields;
    CFieldRows m_rows;
    QTreeWidget* m_pList;
};
