// The command-line side of user interaction: messages go to stderr, questions are answered
// from the command's own arguments, and nothing ever waits for a terminal.
#pragma once

#include <atomic>
#include <chrono>
#include <iosfwd>
#include <optional>
#include <string>

#include "core/model/UserInteraction.h"

class CCliInteraction : public IUserInteraction {
public:
    explicit CCliInteraction(std::ostream& err);

    // Every yes/no question gets this answer (default No: nothing is replaced unasked).
    void SetAnswer(Answer answer) { m_answer = answer; }
    // The file name given to save questions; without one the proposed name is taken.
    void SetSaveFileName(std::optional<std::string> name) { m_saveName = std::move(name); }
    void SetOpenFileName(std::optional<std::string> name) { m_openName = std::move(name); }
    // With quiet set, information messages are not printed.
    void SetQuiet(bool quiet) { m_bQuiet = quiet; }
    // Progress is shown as one line that rewrites itself, once an operation has run for delay;
    // only for a terminal, and never when quiet.
    void ShowProgress(bool terminal,
                      std::chrono::milliseconds delay = std::chrono::milliseconds(500)) {
        m_bProgress = terminal;
        m_progressDelay = delay;
    }
    // Erases the progress line, if one is shown.
    void EndProgress();
    // The operation is cancelled once flag is set (by a signal handler).
    void SetCancelFlag(const std::atomic<bool>* flag) { m_pCancel = flag; }

    void ShowMessage(const std::string& text, MessageIcon icon) override;
    Answer Ask(const std::string& text, MessageIcon icon, bool withCancel) override;
    std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) override;
    std::optional<std::string> AskOpenFileName(const FileDialogRequest& request) override;
    void ReportProgress(ProgressPhase phase, double fraction) override;
    bool IsCancelRequested() override;

private:
    std::ostream& m_err;
    Answer m_answer = Answer::No;
    std::optional<std::string> m_saveName;
    std::optional<std::string> m_openName;
    bool m_bQuiet = false;
    bool m_bProgress = false;
    bool m_bProgressShown = false;
    std::chrono::milliseconds m_progressDelay{500};
    std::optional<std::chrono::steady_clock::time_point> m_started;
    const std::atomic<bool>* m_pCancel = nullptr;
};
