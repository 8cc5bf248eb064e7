#include "gui/widgets/ModalRun.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <stdexcept>

// A runner scope puts back the runner it found, also when the scope is left by an exception
// (as an ASSERT leaves a test early).
TEST(ModalRunnerScope, PutsBackTheRunnerItFoundHoweverTheScopeEnds) {
    QDialog dialog;
    const CModalRunnerScope outer([](QDialog&) { return 3; });
    {
        const CModalRunnerScope inner([](QDialog&) { return 7; });
        EXPECT_EQ(RunModal(dialog), 7);
    }
    EXPECT_EQ(RunModal(dialog), 3);
    try {
        const CModalRunnerScope inner([](QDialog&) { return 9; });
        SetModalDialogRunner([](QDialog&) { return 11; });
        throw std::runtime_error("left early");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(RunModal(dialog), 3);
}
