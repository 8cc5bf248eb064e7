#include "app/CompileProgress.h"

#include "app/WorkerInteraction.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <thread>

#include "core/compile/CatalogWriter.h"
#include "core/compile/Compile.h"
#include "core/model/CatforgeDoc.h"
#include "gui/widgets/ModalRun.h"

namespace {

// Where each phase starts on the overall bar, in percent; writing ends at 100.
constexpr int kPhaseStart[] = {0, 5, 80, 85, 100};

const char* PhaseText(ProgressPhase phase) {
    switch (phase) {
        case ProgressPhase::Counting:
            return QT_TRANSLATE_NOOP("CCompileProgressDlg", "Counting the records...");
        case ProgressPhase::Decoding:
            return QT_TRANSLATE_NOOP("CCompileProgressDlg", "Decoding the records...");
        case ProgressPhase::Sorting:
            return QT_TRANSLATE_NOOP("CCompileProgressDlg", "Sorting by right ascension...");
        case ProgressPhase::Writing:
            return QT_TRANSLATE_NOOP("CCompileProgressDlg", "Writing the catalogue...");
    }
    return "";
}

// The compile's side: progress and the cancel request go to the window, the rest as any
// worker's.
class CCompileInteraction : public CWorkerInteraction {
public:
    CCompileInteraction(IUserInteraction& ui, CCompileProgressDlg& dlg)
        : CWorkerInteraction(ui, dlg), m_dlg(dlg) {}

    void ReportProgress(ProgressPhase phase, double fraction) override {
        m_dlg.Report(phase, fraction);
    }
    bool IsCancelRequested() override { return m_dlg.CancelRequested(); }

private:
    CCompileProgressDlg& m_dlg;
};

}  // namespace

CCompileProgressDlg::CCompileProgressDlg(const QString& name, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Compiling %1").arg(name));
    setModal(true);
    m_pPhase = new QLabel(tr(PhaseText(ProgressPhase::Counting)), this);
    m_pBar = new QProgressBar(this);
    m_pBar->setRange(0, 100);
    m_pBar->setValue(0);
    m_pBar->setMinimumWidth(m_pBar->fontMetrics().averageCharWidth() * 50);
    m_pCancel = new QPushButton(tr("Cancel"), this);
    m_pCancel->setDefault(true);
    connect(m_pCancel, &QPushButton::clicked, this, &CCompileProgressDlg::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pPhase);
    layout->addWidget(m_pBar);
    layout->addLayout(buttons);
    setFixedHeight(sizeHint().height());

    // The worker only stores where it stands; the window looks a few times a second.
    m_pTimer = new QTimer(this);
    m_pTimer->setInterval(50);
    connect(m_pTimer, &QTimer::timeout, this, &CCompileProgressDlg::Poll);
    m_pTimer->start();
}

int CCompileProgressDlg::OverallPercent(ProgressPhase phase, double fraction) {
    const auto index = static_cast<std::size_t>(phase);
    const double clamped = std::clamp(fraction, 0.0, 1.0);
    return kPhaseStart[index] +
           static_cast<int>(clamped * (kPhaseStart[index + 1] - kPhaseStart[index]));
}

void CCompileProgressDlg::Report(ProgressPhase phase, double fraction) {
    m_dFraction.store(fraction);
    m_nPhase.store(static_cast<int>(phase));
}

void CCompileProgressDlg::Finish() {
    m_bFinished.store(true);
    QMetaObject::invokeMethod(
        this, [this] { Poll(); }, Qt::QueuedConnection);
}

void CCompileProgressDlg::reject() {
    if (m_bFinished.load()) {
        QDialog::reject();
        return;
    }
    if (!m_bCancel.exchange(true)) {
        m_pPhase->setText(tr("Cancelling..."));
        m_pCancel->setEnabled(false);
    }
}

void CCompileProgressDlg::Poll() {
    if (m_bFinished.load()) {
        m_pTimer->stop();
        if (isVisible())
            done(m_bCancel.load() ? QDialog::Rejected : QDialog::Accepted);
        return;
    }
    const auto phase = static_cast<ProgressPhase>(m_nPhase.load());
    const double fraction = m_dFraction.load();
    if (static_cast<int>(phase) == m_nShownPhase && fraction == m_dShownFraction)
        return;
    m_nShownPhase = static_cast<int>(phase);
    m_dShownFraction = fraction;
    if (!m_bCancel.load())
        m_pPhase->setText(tr(PhaseText(phase)));
    m_pBar->setValue(OverallPercent(phase, fraction));
    emit progressShown(phase, fraction);
}

bool RunCompileWithProgress(CCatforgeDoc& doc, EpochState& epoch, IUserInteraction& ui,
                            QWidget* parent) {
    // What needs no file is refused, and the name asked, before anything runs.
    if (!CheckCompileSettings(doc, ui))
        return false;
    const std::optional<std::string> output = AskCatalogName(doc, ui);
    if (!output)
        return false;
    CompileOptions options;
    options.outputPath = *output;

    CCompileProgressDlg dlg(QFileInfo(QFile::decodeName(output->c_str())).fileName(), parent);
    CCompileInteraction workerUi(ui, dlg);
    bool written = false;
    std::thread worker([&] {
        written = CompileDefinition(doc, epoch, workerUi, options);
        dlg.Finish();
    });
    RunModal(dlg);
    // The window closes only when the worker is done; a test's runner may return sooner.
    while (!dlg.Finished()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    worker.join();
    workerUi.ShowMessages();
    return written;
}
