// "Object Size": which fields give an object's axes, their unit, whether they are radii or
// diameters, and the position angle field. The command fills the public members, calls
// OnInitDialog, runs the dialog and on OK reads the members back, unused boxes included.
#pragma once

#include <QDialog>
#include <array>
#include <string>
#include <vector>

class CFieldSelectionBox;
class IUserInteraction;
class QButtonGroup;
class QCheckBox;

// Whether the major and minor axis boxes are enabled for a choice of size fields
// (0 none, 1 major axis only, 2 both). A value outside 0..2 leaves both enabled.
std::array<bool, 2> AxisBoxesEnabled(int sizeFields);

// What OK checks: the axes the choice of size fields needs, then the position angle field
// when the check box says there is one. A choice outside 0..2 is refused.
bool SizeFieldsComplete(int sizeFields, int majorField, int minorField, bool positionAngle,
                        int positionAngleField);

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
