// How the position, label, size and magnitude commands run their dialog. The program runs it
// modally; tests put in a runner that drives the dialog's handlers and returns its result.
#pragma once

#include <functional>

class QDialog;

using DialogRunner = std::function<int(QDialog&)>;

// Replaces the runner; an empty one restores the modal run.
void SetPositionDialogRunner(DialogRunner runner);
