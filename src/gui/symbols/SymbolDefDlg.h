// The Symbol Definition dialog: names one user-defined map symbol, holds its drawing
// instructions and shows them drawn in a sample. The sample is not live: it shows the
// instructions as they stood when the dialog opened or when "Test" was last pressed.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "core/model/DefinitionRecords.h"
#include "core/symbols/SymbolLanguage.h"

class QLineEdit;
class QPlainTextEdit;
class CSymbolSampleArea;

class CSymbolDefDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSymbolDefDlg(QWidget* parent = nullptr);

    // Fills the boxes from the members and parses the instructions for the sample; exec()
    // calls it first.
    void OnInitDialog();
    // Parses the instructions as they stand now and redraws the sample.
    void OnTest();
    // Copies both boxes into the members and closes with OK; anything is accepted.
    void OnOK();

    int exec() override;

    // Set by the caller before the dialog runs, read after it ends with OK.
    std::string m_strInstructions;
    std::string m_strName;

    // The program the sample shows: changed only on opening and by Test.
    const SymbolProgram& Program() const { return m_aProgram; }

    // The controls, for tests.
    QLineEdit* NameEdit() const { return m_pNameEdit; }
    QPlainTextEdit* InstructionsEdit() const { return m_pInstructionsEdit; }
    CSymbolSampleArea* SampleArea() const { return m_pSampleWnd; }

private:
    // Takes both boxes into the members.
    void TakeBoxes();
    // Takes both boxes into the members and parses the instructions into m_aProgram.
    void SampleParse();

    QLineEdit* m_pNameEdit;
    QPlainTextEdit* m_pInstructionsEdit;
    CSymbolSampleArea* m_pSampleWnd;
    SymbolProgram m_aProgram;
    // The instruction box's text as it showed m_strInstructions; while the box still holds
    // it, m_strInstructions keeps its own bytes (the box shows "\r\n" as one line break).
    std::string m_strShownInstructions;
};

// Runs the Symbol Definition dialog on a symbol: true and the symbol changed on OK.
// The User-defined Map Symbols dialog uses RunSymbolDefDlg; tests give their own.
using SymbolDefRunner = std::function<bool(UserSymbol& symbol, QWidget* parent)>;
bool RunSymbolDefDlg(UserSymbol& symbol, QWidget* parent);
