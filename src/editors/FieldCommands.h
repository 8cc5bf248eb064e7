// How the Fields, General and Browse Data commands run their dialogs. Tests replace the
// runner to answer a dialog without a modal loop.
#pragma once

#include <functional>

class QDialog;

// Runs a dialog modally and gives its result (QDialog::Accepted or Rejected).
using ModalDialogRunner = std::function<int(QDialog&)>;

// Replaces the runner; an empty one restores the modal exec().
void SetModalDialogRunner(ModalDialogRunner runner);
