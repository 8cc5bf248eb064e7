// The "Data Browser" dialog: one page of the data file's records in a table with one column
// per field, each cell the raw bytes of the field, shown in a fixed-pitch font with the
// extent of the text shaded so leading and trailing spaces can be seen.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;
class CDataBrowse;

class CBrowserDlg : public QDialog {
    Q_OBJECT
public:
    // browse has been opened; it must outlive the dialog.
    explicit CBrowserDlg(CDataBrowse& browse, QWidget* parent = nullptr);

    // Takes the page size from the rows the table shows fully, then shows the first page.
    // Runs once, when the dialog is first shown.
    void OnInitDialog();
    // Shows the first page with the given page size.
    void Start(int pageSize);
    void OnNext();
    void OnPrev();

    // How many rows the table shows without scrolling.
    [[nodiscard]] int RowsShown() const;

    QTableWidget* Table() const { return m_pTable; }
    QLabel* StatusLabel() const { return m_pStatus; }
    QPushButton* PrevButton() const { return m_pPrev; }
    QPushButton* NextButton() const { return m_pNext; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowPage();

    CDataBrowse& m_browse;
    bool m_bStarted = false;
    QLabel* m_pStatus;
    QTableWidget* m_pTable;
    QPushButton* m_pPrev;
    QPushButton* m_pNext;
};
