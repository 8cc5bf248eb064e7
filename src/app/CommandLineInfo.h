// What the program was asked to do on its command line.
#pragma once

#include <QString>
#include <QStringList>

class CCommandLineInfo {
public:
    enum class Command { FileNew, FileOpen, Version, Help, Error };

    // Reads the arguments after the program name.
    static CCommandLineInfo Parse(const QStringList& arguments);

    Command m_nShellCommand = Command::FileNew;
    QString m_strFileName;  // FileOpen: the definition to open
    QString m_strError;     // Error: what was wrong

    // The texts of --version and --help.
    static QString VersionText();
    static QString UsageText();
};
