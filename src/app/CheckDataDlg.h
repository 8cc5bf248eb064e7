// Tools / Check Data: the data check runs on a worker thread while the window "Check Data -
// NAME" fills its table of problems (record, field, text, problem); the summary follows when
// it ends. The problems can be exported as CSV, and a double-click shows the record in the
// Data Browser. Closing the window stops the check.
#pragma once

#include <QDialog>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/compile/DataCheck.h"

class QLabel;
class QPushButton;
class QTableView;
class QTimer;
class CCatforgeDoc;
class CProblemTableModel;
class CWorkerInteraction;
class IUserInteraction;

class CCheckDataDlg : public QDialog {
    Q_OBJECT
public:
    // The table keeps at most this many problems; the summary counts them all.
    static constexpr std::size_t kMaxRows = 200000;

    // doc must not change while the dialog is open (it is modal).
    CCheckDataDlg(const CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent = nullptr);
    ~CCheckDataDlg() override;

    // Starts the check (once); called when the window is first shown.
    void Start();
    [[nodiscard]] bool Finished() const { return m_bFinished.load(); }

    // The problems shown, in record order.
    [[nodiscard]] const std::vector<DataProblem>& Problems() const;
    // Writes the problems to a CSV file asked for through ui.
    void OnExport();
    // Shows the record of a table row in the Data Browser.
    void OnShowRecord(int row);

    QTableView* Table() const { return m_pTable; }
    QLabel* SummaryLabel() const { return m_pSummary; }
    QPushButton* ExportButton() const { return m_pExport; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void Poll();

    const CCatforgeDoc& m_doc;
    IUserInteraction& m_ui;
    std::unique_ptr<CWorkerInteraction> m_pWorkerUi;
    std::thread m_worker;
    std::mutex m_mutex;
    std::vector<DataProblem> m_aPending;  // found by the worker, not yet in the table
    std::uint64_t m_nFound = 0;           // every problem found, kept or not
    DataCheckSummary m_summary;
    bool m_bRan = false;
    std::atomic<bool> m_bCancel{false};
    std::atomic<bool> m_bFinished{false};
    bool m_bStarted = false;
    CProblemTableModel* m_pModel;
    QTableView* m_pTable;
    QLabel* m_pSummary;
    QPushButton* m_pExport;
    QTimer* m_pTimer;
};

// Runs the Check Data window modally over parent.
void RunCheckData(const CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent);
