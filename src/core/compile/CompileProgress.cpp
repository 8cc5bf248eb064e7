#include "core/compile/CompileProgress.h"

#include <algorithm>

namespace {

constexpr std::chrono::milliseconds kReportStep{200};

}  // namespace

void CCompileProgress::Enter(ProgressPhase phase) {
    m_phase = phase;
    m_last = std::chrono::steady_clock::now();
    m_ui.ReportProgress(phase, 0.0);
}

void CCompileProgress::Update(double fraction) {
    const auto now = std::chrono::steady_clock::now();
    if (now - m_last < kReportStep)
        return;
    m_last = now;
    m_ui.ReportProgress(m_phase, std::clamp(fraction, 0.0, 1.0));
}

bool CCompileProgress::Cancelled() {
    if (m_bCancelled.load(std::memory_order_relaxed))
        return true;
    if (!m_ui.IsCancelRequested())
        return false;
    m_bCancelled.store(true, std::memory_order_relaxed);
    return true;
}
