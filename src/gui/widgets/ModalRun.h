// How the editor commands run their dialogs. The program runs each modally; tests put in a
// runner that drives the dialog's handlers and returns its result, so no modal loop blocks.
#pragma once

#include <functional>

class QDialog;

// Runs a dialog and gives its result (QDialog::Accepted or Rejected).
using ModalDialogRunner = std::function<int(QDialog&)>;

// Replaces the runner; an empty one restores the modal exec().
void SetModalDialogRunner(ModalDialogRunner runner);

// Runs dlg through the current runner.
int RunModal(QDialog& dlg);
