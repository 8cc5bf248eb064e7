// The desktop program: one definition in one main window.
#include <QApplication>
#include <cstdio>

#include "app/CatforgeApp.h"
#include "app/CommandLineInfo.h"
#include "app/MainFrame.h"

int main(int argc, char* argv[]) {
    // --version and --help answer without a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CCommandLineInfo early = CCommandLineInfo::Parse(arguments);
    if (early.m_nShellCommand == CCommandLineInfo::Command::Version) {
        std::fputs(CCommandLineInfo::VersionText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (early.m_nShellCommand == CCommandLineInfo::Command::Help) {
        std::fputs(CCommandLineInfo::UsageText().toLocal8Bit().constData(), stdout);
        return 0;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName("Catforge");
    QApplication::setApplicationVersion(CATFORGE_VERSION);
    QApplication::setDesktopFileName("catforge");
    // Qt has taken its own options (-platform, -style ...); what is left is ours.
    const CCommandLineInfo info = CCommandLineInfo::Parse(QApplication::arguments().mid(1));
    if (info.m_nShellCommand == CCommandLineInfo::Command::Error) {
        std::fprintf(stderr, "catforge: %s\n%s", info.m_strError.toLocal8Bit().constData(),
                     CCommandLineInfo::UsageText().toLocal8Bit().constData());
        return 2;
    }

    CCatforgeApp app;
    QStringList files;
    if (info.m_nShellCommand == CCommandLineInfo::Command::FileOpen)
        files << info.m_strFileName;
    if (!app.InitInstance(files))
        return 1;
    app.MainFrame().show();
    return QApplication::exec();
}
