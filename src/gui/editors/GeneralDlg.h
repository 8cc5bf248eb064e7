// The "General Properties" dialog: database title, data file path, record length and notes.
// It can pick the data file with a file-open dialog and work out the record length from the
// file's first end of line.
#pragma once

#include <QDialog>
#include <string>

#include "core/editing/DialogRules.h"

class QLineEdit;
class QPlainTextEdit;
class IUserInteraction;
struct FileDialogRequest;

// The data file path holds at most this many characters (its field keeps a terminator).
inline constexpr int kMaxDataFileChars = 259;

class CGeneralDlg : public QDialog {
    Q_OBJECT
public:
    explicit CGeneralDlg(IUserInteraction& ui, QWidget* parent = nullptr);

    // The values the controls show and OK takes, in the dialog's order.
    std::string m_strDataFile;
    std::string m_strNotes;
    int m_nRecordLength = 0;
    std::string m_strTitle;

    // Shows the values in the controls.
    void UpdateControls();
    // Takes the values from the controls; a record length that is not a whole number is
    // refused with a message, and the values stay as they were.
    bool TakeValues();

    void OnBrowseDataFile();
    void OnDetectRecordLength();
    bool OnOK();

    QLineEdit* TitleBox() const { return m_pTitle; }
    QLineEdit* DataFileBox() const { return m_pDataFile; }
    QLineEdit* RecordLengthBox() const { return m_pRecordLength; }
    QPlainTextEdit* NotesBox() const { return m_pNotes; }

private:
    IUserInteraction& m_ui;
    QLineEdit* m_pTitle;
    QLineEdit* m_pDataFile;
    QLineEdit* m_pRecordLength;
    QPlainTextEdit* m_pNotes;
    bool m_bCrLfNotes = false;  // the notes came with CR LF line breaks; keep them so
};
