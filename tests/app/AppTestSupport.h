// What the desktop tests share: settings kept in a temporary folder, so no test reads or
// writes the person's own recent files, and the program started with a scripted person.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <memory>

#include "app/CatforgeApp.h"
#include "app/MainFrame.h"
#include "support/RecordingInteraction.h"
#include "support/TempDir.h"

// A test with its own settings folder and a folder for files.
class CAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(m_settingsDir.Root().string()));
    }
    // Starts the program with the command-line arguments; whether it started.
    bool Start(const QStringList& arguments = {}) {
        m_app = std::make_unique<CCatforgeApp>(&m_ui);
        return m_app->InitInstance(arguments);
    }
    // Starts it on a copy of the sample definition named name, its data file beside it.
    void StartOnSample(const std::string& name = "cluster-stars.zdd") {
        const std::string examples = CATFORGE_EXAMPLES_DIR "/cluster-stars";
        m_files.Write("cluster-stars.dat", CTempDir::Read(examples + ".dat"));
        const std::string definition = m_files.Write(name, CTempDir::Read(examples + ".zdd"));
        ASSERT_TRUE(Start({QString::fromStdString(definition)}));
    }
    CMainFrame& Frame() { return m_app->MainFrame(); }
    void Trigger(const char* id) { Frame().Action(id)->trigger(); }
    std::string Title() { return Frame().windowTitle().toStdString(); }

    CTempDir m_settingsDir;
    CTempDir m_files;
    CRecordingInteraction m_ui;
    std::unique_ptr<CCatforgeApp> m_app;
};
