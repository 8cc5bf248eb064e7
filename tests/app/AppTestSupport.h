// What the desktop tests share: settings kept in a temporary folder, so no test reads or
// writes the person's own recent files.
#pragma once

#include <gtest/gtest.h>

#include <QSettings>
#include <QStandardPaths>
#include <QString>

#include "support/TempDir.h"

// A test with its own settings folder and a folder for files.
class CAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(m_settingsDir.Root().string()));
    }

    CTempDir m_settingsDir;
    CTempDir m_files;
};
