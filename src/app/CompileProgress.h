// Tools / Compile in the window: the refusals and the output name on the user-interface
// thread, then the compile itself on a worker thread behind a modal "Compiling NAME" window
// with a progress bar and Cancel (Escape too). The window and the main window keep
// repainting; a cancelled compile writes nothing and says nothing.
#pragma once

#include <QDialog>
#include <atomic>

#include "core/model/UserInteraction.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class CCatforgeDoc;
struct EpochState;

class CCompileProgressDlg : public QDialog {
    Q_OBJECT
public:
    explicit CCompileProgressDlg(const QString& name, QWidget* parent = nullptr);

    // From the worker: where the compile stands, and that it has ended.
    void Report(ProgressPhase phase, double fraction);
    void Finish();
    [[nodiscard]] bool CancelRequested() const { return m_bCancel.load(); }
    [[nodiscard]] bool Finished() const { return m_bFinished.load(); }

    // Cancel, Escape and closing the window: asks the compile to stop; the window closes
    // when it has.
    void reject() override;

    // The whole compile as one bar: counting, decoding, sorting and writing in turn.
    static int OverallPercent(ProgressPhase phase, double fraction);

    QProgressBar* Bar() const { return m_pBar; }
    QLabel* PhaseLabel() const { return m_pPhase; }
    QPushButton* CancelButton() const { return m_pCancel; }

signals:
    // The window showed a new state of the compile (on the user-interface thread).
    void progressShown(ProgressPhase phase, double fraction);

private:
    void Poll();

    std::atomic<int> m_nPhase{static_cast<int>(ProgressPhase::Counting)};
    std::atomic<double> m_dFraction{0.0};
    std::atomic<bool> m_bCancel{false};
    std::atomic<bool> m_bFinished{false};
    int m_nShownPhase = -1;
    double m_dShownFraction = -1.0;
    QLabel* m_pPhase;
    QProgressBar* m_pBar;
    QPushButton* m_pCancel;
    QTimer* m_pTimer;
};

// Compiles doc as Tools / Compile does, with the progress window; true when the catalogue
// was written. Every message goes to ui on the user-interface thread.
bool RunCompileWithProgress(CCatforgeDoc& doc, EpochState& epoch, IUserInteraction& ui,
                            QWidget* parent);
