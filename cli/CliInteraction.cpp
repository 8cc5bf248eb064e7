#include "CliInteraction.h"

#include <ostream>

CCliInteraction::CCliInteraction(std::ostream& err) : m_err(err) {}

void CCliInteraction::ShowMessage(const std::string& text, MessageIcon icon) {
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
