#include "CliInteraction.h"

#include <cstdio>
#include <ostream>

CCliInteraction::CCliInteraction(std::ostream& err) : m_err(err) {}

void CCliInteraction::ShowMessage(const std::string& text, MessageIcon icon) {
    EndProgress();
    switch (icon) {
        case MessageIcon::Stop:
            m_err << "error: " << text << '\n';
            break;
        case MessageIcon::Warning:
            m_err << "warning: " << text << '\n';
            break;
        case MessageIcon::Information:
            if (!m_bQuiet)
                m_err << text << '\n';
            break;
    }
}

Answer CCliInteraction::Ask(const std::string& text, MessageIcon, bool) {
    if (!m_bQuiet)
        m_err << text << ' ' << (m_answer == Answer::Yes ? "yes" : "no") << '\n';
    return m_answer;
}

std::optional<std::string> CCliInteraction::AskSaveFileName(const FileDialogRequest& request) {
    return m_saveName ? m_saveName : std::optional<std::string>(request.proposedName);
}

std::optional<std::string> CCliInteraction::AskOpenFileName(const FileDialogRequest&) {
    return m_openName;
}

void CCliInteraction::ReportProgress(ProgressPhase phase, double fraction) {
    if (!m_bProgress || m_bQuiet)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (!m_started)
        m_started = now;
    if (now - *m_started < m_progressDelay)
        return;
    static constexpr const char* kPhases[] = {"Counting records", "Decoding records", "Sorting",
                                              "Writing"};
    char line[64];
    std::snprintf(line, sizeof line, "\r%-16s %3d%%", kPhases[static_cast<int>(phase)],
                  static_cast<int>(fraction * 100.0));
    m_err << line << std::flush;
    m_bProgressShown = true;
}

void CCliInteraction::EndProgress() {
    if (m_bProgressShown)
        m_err << "\r\x1b[K" << std::flush;
    m_bProgressShown = false;
}

bool CCliInteraction::IsCancelRequested() {
    return m_pCancel != nullptr && m_pCancel->load();
}
