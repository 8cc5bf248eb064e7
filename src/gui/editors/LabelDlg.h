// "Object Label": how many labels an object has, the field of each and the text put before it.
// The command fills the public members, calls OnInitDialog, runs the dialog and on OK reads
// the members back, rows beyond the count included.
#pragma once

#include <QDialog>
#include <array>
#include <string>
#include <vector>

class CFieldSelectionBox;
class IUserInteraction;
class QButtonGroup;
class QLineEdit;

class CLabelDlg : public QDialog {
    Q_OBJECT
public:
    explicit CLabelDlg(IUserInteraction& ui, QWidget* parent = nullptr);

    // Fills the boxes, prefixes and count from the members and applies the enabling rule.
    void OnInitDialog();
    // Stores the controls in the members; accepts when the count's rows all name a field,
    // otherwise shows why and stays open. True when accepted.
    bool OnOK();
    void OnCount(int count);

    std::vector<std::string> m_astrFieldNames;
    int m_nLabelCount = -1;
    std::array<int, 3> m_anLabelField{-1, -1, -1};
    std::array<std::string, 3> m_astrLabelPrefix;

private:
    IUserInteraction& m_ui;
    QButtonGroup* m_pCount;
    std::array<CFieldSelectionBox*, 3> m_apBoxes{};
    std::array<QLineEdit*, 3> m_apPrefixes{};
};
