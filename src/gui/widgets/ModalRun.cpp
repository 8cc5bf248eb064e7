#include "gui/widgets/ModalRun.h"

#include <QDialog>
#include <utility>

namespace {

ModalDialogRunner& Runner() {
    static ModalDialogRunner runner;
    return runner;
}

}  // namespace

ModalDialogRunner SetModalDialogRunner(ModalDialogRunner runner) {
    return std::exchange(Runner(), std::move(runner));
}

int RunModal(QDialog& dlg) {
    return Runner() ? Runner()(dlg) : dlg.exec();
}
