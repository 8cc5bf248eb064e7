#include "gui/widgets/ModalRun.h"

#include <QDialog>

namespace {

ModalDialogRunner& Runner() {
    static ModalDialogRunner runner;
    return runner;
}

}  // namespace

void SetModalDialogRunner(ModalDialogRunner runner) {
    Runner() = std::move(runner);
}

int RunModal(QDialog& dlg) {
    return Runner() ? Runner()(dlg) : dlg.exec();
}
