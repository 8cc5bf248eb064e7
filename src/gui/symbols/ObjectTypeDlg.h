// The Object Type dialog: the default object type and symbol, the type rules that choose
// them from a field of each record, and the custom map colours.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

#include "core/model/DefinitionRecords.h"
#include "gui/symbols/TypeSelectionDlg.h"

class QButtonGroup;
class QComboBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class CCatforgeDoc;
class IUserInteraction;

// Colours are kept as 0x00BBGGRR; these convert to and from Qt's colours.
QColor ColourToQColor(Colour colour);
Colour QColorToColour(const QColor& colour);

// Asks the person for a colour, starting at current: the chosen colour, or nothing when the
// chooser was cancelled.
using ColourChooser = std::function<std::optional<Colour>(Colour current, QWidget* parent)>;
std::optional<Colour> ChooseColourWithDialog(Colour current, QWidget* parent);

class CObjectTypeDlg : public QDialog {
    Q_OBJECT
public:
    CObjectTypeDlg(const CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent = nullptr);

    // Fills the controls from the members; exec() calls it first.
    void OnInitDialog();
    void OnStandardColours();
    void OnCustomColour();
    void OnScreenColour();
    void OnPrinterColour();
    void OnAdd();
    void OnEdit();
    void OnDelete();
    // Reads the controls into the members, makes m_nDefaultSymbol from the symbol row and
    // closes with OK. Nothing is validated.
    void OnOK();

    int exec() override;

    // Seams: how rules are edited and colours chosen.
    void SetTypeSelectionRunner(TypeSelectionRunner runner) {
        m_runTypeSelection = std::move(runner);
    }
    void SetColourChooser(ColourChooser chooser) { m_chooseColour = std::move(chooser); }

    // Set by the caller before the dialog runs; -1 selects nothing.
    int m_nColourMode = -1;
    int m_nSymbolIndex = -1;  // default symbol code on entry, then the selected symbol row
    int m_nDefaultType = -1;
    int m_nTypeMode = -1;
    Colour m_crScreenColour = 0;
    Colour m_crPrinterColour = 0;
    std::vector<TypeRule> m_aTypeRules;  // working copy, in evaluation order

    int m_nStandardSymbols = 0;
    int m_nDefaultSymbol = -1;  // symbol code made by OnOK

    // The controls, for tests.
    QTreeWidget* RuleList() const { return m_pRuleList; }
    QComboBox* SymbolBox() const { return m_pSymbolBox; }
    QComboBox* TypeBox() const { return m_pTypeBox; }
    QButtonGroup* ColourModeGroup() const { return m_pColourMode; }
    QButtonGroup* TypeModeGroup() const { return m_pTypeMode; }
    QPushButton* ScreenButton() const { return m_pScreenButton; }
    QPushButton* PrinterButton() const { return m_pPrinterButton; }

private:
    void ChooseColour(Colour& colour);
    void EnableColourButtons(bool enable);
    void ShowColourSwatches();
    // Adds the row of rule `index` at the bottom of the list and selects it.
    void AddRuleRow(int index);
    QTreeWidgetItem* SelectedRow();

    const CCatforgeDoc* m_pDoc;
    IUserInteraction* m_pUi;
    TypeSelectionRunner m_runTypeSelection = RunTypeSelectionDlg;
    ColourChooser m_chooseColour = ChooseColourWithDialog;

    QButtonGroup* m_pTypeMode;
    QComboBox* m_pTypeBox;
    QComboBox* m_pSymbolBox;
    QTreeWidget* m_pRuleList;
    QButtonGroup* m_pColourMode;
    QPushButton* m_pScreenButton;
    QPushButton* m_pPrinterButton;
};
