// What the desktop tests share: one QApplication on the offscreen platform, and settings
// kept in a temporary folder so no test reads or writes the person's own recent files.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <cstdlib>

#include "support/TempDir.h"

inline QApplication& TestApplication() {
    static QApplication* application = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "app_tests";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    return *application;
}

// A test with its own settings folder and a folder for files.
class CAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApplication();
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(m_settingsDir.Root().string()));
    }

    CTempDir m_settingsDir;
    CTempDir m_files;
};
