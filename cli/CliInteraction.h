// The command-line side of user interaction: messages go to stderr, questions are answered
// from the command's own arguments, and nothing ever waits for a terminal.
#pragma once

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

    void ShowMessage(const std::string& text, MessageIcon icon) override;
    Answer Ask(const std::string& text, MessageIcon icon, bool withCancel) override;
    std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) override;
    std::optional<std::string> AskOpenFileName(const FileDialogRequest& request) override;

private:
    std::ostream& m_err;
    Answer m_answer = Answer::No;
    std::optional<std::string> m_saveName;
    std::optional<std::string> m_openName;
    bool m_bQuiet = false;
};
