// One QApplication for the dialog tests of a test program, made on first use.
#pragma once

#include <QApplication>

inline void EnsureQApplication() {
    if (QApplication::instance() != nullptr)
        return;
    static int argc = 1;
    static char name[] = "symbols_gui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}
