#include "app/CommandLineInfo.h"

#ifndef CATFORGE_VERSION
#define CATFORGE_VERSION "2.0.1.0"
#endif
#ifndef CATFORGE_DESCRIPTION
#define CATFORGE_DESCRIPTION "Zenivo Data Preparation Tool"
#endif

CCommandLineInfo CCommandLineInfo::Parse(const QStringList& arguments) {
    CCommandLineInfo info;
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "--version" || argument == "-v")) {
            info.m_nShellCommand = Command::Version;
            return info;
        } else if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            info.m_nShellCommand = Command::Help;
            return info;
        } else if (!optionsEnded && argument.startsWith('-') && argument.size() > 1) {
            info.m_nShellCommand = Command::Error;
            info.m_strError = QString("unknown option: %1").arg(argument);
            return info;
        } else if (info.m_nShellCommand == Command::FileOpen) {
            info.m_nShellCommand = Command::Error;
            info.m_strError = "only one definition file can be opened";
            return info;
        } else {
            info.m_nShellCommand = Command::FileOpen;
            info.m_strFileName = argument;
        }
    }
    return info;
}

QString CCommandLineInfo::VersionText() {
    return QString("Catforge %1\n%2\n").arg(CATFORGE_VERSION, CATFORGE_DESCRIPTION);
}

QString CCommandLineInfo::UsageText() {
    return QString(
        "Usage: catforge [DEFINITION.zdd]\n"
        "Describe a fixed-column ASCII catalogue and compile it for the Zenivo star chart.\n"
        "Without a file a new definition is started.\n\n"
        "  -h, --help     show this text\n"
        "  -v, --version  show the version\n");
}
