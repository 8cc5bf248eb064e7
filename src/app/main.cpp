// The desktop program. For now a bare main window; the menus, toolbar and commands follow.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Catforge");
    QMainWindow window;
    window.setWindowTitle("Untitled - Catforge");
    window.resize(640, 420);
    window.show();
    return QApplication::exec();
}
