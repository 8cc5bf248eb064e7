// How the editor commands run their dialogs. The program runs each modally; tests put in a
// runner that drives the dialog's handlers and returns its result, so no modal loop blocks.
#pragma once

#include <functional>

class QDialog;

// Runs a dialog and gives its result (QDialog::Accepted or Rejected).
using ModalDialogRunner = std::function<int(QDialog&)>;

// Replaces the runner and returns the one it replaced; an empty one restores the modal exec().
ModalDialogRunner SetModalDialogRunner(ModalDialogRunner runner);

// Keeps the runner of its scope: puts the one it found back however the scope ends, so an
// early return cannot leave a runner behind that refers to locals gone out of scope.
class CModalRunnerScope {
public:
    explicit CModalRunnerScope(ModalDialogRunner runner = {})
        : m_previous(SetModalDialogRunner(std::move(runner))) {}
    ~CModalRunnerScope() { SetModalDialogRunner(std::move(m_previous)); }
    CModalRunnerScope(const CModalRunnerScope&) = delete;
    CModalRunnerScope& operator=(const CModalRunnerScope&) = delete;

private:
    ModalDialogRunner m_previous;
};

// Runs dlg through the current runner.
int RunModal(QDialog& dlg);
