// "Object Size": which fields give an object's axes, their unit, whether they are radii or
// diameters, and the position angle field. The command fills the public members, calls
// OnInitDialog, runs the dialog and on OK reads the members back, unused boxes included.
#pragma once

#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "core/editing/DialogRules.h"

class CFieldSelectionBox;
class IUserInteraction;
class QButtonGroup;
class QCheckBox;

class CSizeDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSizeDlg(IUserInteraction& ui, QWidget* parent = nullptr);

    // Fills the boxes and the other controls from the members and applies the axes rule and
    // the position angle rule.
    void OnInitDialog();
    // Stores the controls in the members; accepts when the needed fields are chosen,
    // otherwise shows why and stays open. True when accepted.
    bool OnOK();
    void OnSizeFields(int sizeFields);
    void OnPositionAngle();

    std::vector<std::string> m_astrFieldNames;
    int m_nSizeFields = -1;
    int m_nSizeUnits = -1;
    int m_nSizeMeaning = -1;
    int m_nMajorAxisField = -1;
    int m_nMinorAxisField = -1;
    int m_bPositionAngle = 0;
    int m_nPositionAngleField = -1;

private:
    IUserInteraction& m_ui;
    QButtonGroup* m_pSizeFields;
    QButtonGroup* m_pSizeUnits;
    QButtonGroup* m_pSizeMeaning;
    QCheckBox* m_pPositionAngle;
    CFieldSelectionBox* m_pMajorAxis;
    CFieldSelectionBox* m_pMinorAxis;
    CFieldSelectionBox* m_pPositionAngleField;
};
