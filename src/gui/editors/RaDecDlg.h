// "Right Ascension / Declination": the notation of the position data, the fields that hold
// each component, and the epoch. The command fills the public members, calls OnInitDialog,
// runs the dialog and on OK reads the members back.
#pragma once

#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "core/editing/DialogRules.h"

class CFieldSelectionBox;
class IUserInteraction;
class QButtonGroup;
class QLabel;
class QLineEdit;

class CRaDecDlg : public QDialog {
    Q_OBJECT
public:
    explicit CRaDecDlg(IUserInteraction& ui, QWidget* parent = nullptr);

    // Fills the boxes and the other controls from the members and applies the enabling rules.
    void OnInitDialog();
    // Checks the controls; on success stores them in the members and accepts the dialog,
    // otherwise shows why and stays open. True when accepted.
    bool OnOK();
    void OnRaNotation(int notation);
    void OnDecNotation(int notation);

    std::vector<std::string> m_astrFieldNames;
    int m_nRaNotation = -1;
    int m_nDecNotation = -1;
    std::string m_strEpoch;
    int m_nRaHoursField = -1;
    int m_nRaMinutesField = -1;
    int m_nRaSecondsField = -1;
    int m_nDecSignField = -1;
    int m_nDecDegreesField = -1;
    int m_nDecMinutesField = -1;
    int m_nDecSecondsField = -1;

private:
    IUserInteraction& m_ui;
    QLineEdit* m_pEpoch;
    QButtonGroup* m_pRaNotation;
    QButtonGroup* m_pDecNotation;
    std::array<CFieldSelectionBox*, 3> m_apRaBoxes{};
    QLabel* m_pRaHoursLabel;  // "Hours:", or "Degrees:" while notation 3 is chosen
    std::array<CFieldSelectionBox*, 4> m_apDecBoxes{};
};
