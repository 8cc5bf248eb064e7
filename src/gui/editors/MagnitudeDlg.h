// "Object Magnitude": how many magnitudes an object has and the field of each. The command
// fills the public members, calls OnInitDialog, runs the dialog and on OK reads the members
// back, rows beyond the count included.
#pragma once

#include <QDialog>
#include <array>
#include <string>
#include <vector>

class CFieldSelectionBox;
class IUserInteraction;
class QButtonGroup;

class CMagnitudeDlg : public QDialog {
    Q_OBJECT
public:
    explicit CMagnitudeDlg(IUserInteraction& ui, QWidget* parent = nullptr);

    // Fills the boxes and the count from the members and applies the enabling rule.
    void OnInitDialog();
    // Stores the controls in the members; accepts when the count's rows all name a field,
    // otherwise shows why and stays open. True when accepted.
    bool OnOK();
    void OnCount(int count);

    std::vector<std::string> m_astrFieldNames;
    int m_nMagnitudeCount = -1;
    std::array<int, 3> m_anMagnitudeField{-1, -1, -1};

private:
    IUserInteraction& m_ui;
    QButtonGroup* m_pCount;
    std::array<CFieldSelectionBox*, 3> m_apBoxes{};
};
