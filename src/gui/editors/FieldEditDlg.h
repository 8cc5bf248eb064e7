// The single-field dialog: name, unit, start and end column of one field. Its caller sets
// the title ("Add a new field" or "Edit field information").
#pragma once

#include <QDialog>
#include <string>

#include "core/model/DefinitionRecords.h"

class QLineEdit;
class IUserInteraction;

class CFieldEditDlg : public QDialog {
    Q_OBJECT
public:
    explicit CFieldEditDlg(IUserInteraction& ui, QWidget* parent = nullptr);

    void SetTitle(const std::string& title);
    // Shows a field in the boxes.
    void SetField(const FieldDefinition& field);
    // The field as accepted by OnOK.
    [[nodiscard]] const FieldDefinition& Field() const { return m_field; }

    // Takes the boxes and checks them; the first refusal is shown and the dialog stays
    // open with the focus in the box concerned. Closes with OK and returns true when all pass.
    bool OnOK();

    QLineEdit* NameBox() const { return m_pName; }
    QLineEdit* UnitBox() const { return m_pUnit; }
    QLineEdit* StartBox() const { return m_pStart; }
    QLineEdit* EndBox() const { return m_pEnd; }

private:
    IUserInteraction& m_ui;
    FieldDefinition m_field;
    QLineEdit* m_pName;
    QLineEdit* m_pUnit;
    QLineEdit* m_pStart;
    QLineEdit* m_pEnd;
};
