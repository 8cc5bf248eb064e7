// The user guide that ships inside the program, shown in a browser window of its own.
#pragma once

#include <QMainWindow>

class QTextBrowser;

class CHelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* parent = nullptr);

    QTextBrowser* Browser() const { return m_pBrowser; }
    // Shows the guide's contents from the top.
    void ShowContents();

    static constexpr const char* kGuideUrl = "qrc:/docs/user-guide.md";

private:
    QTextBrowser* m_pBrowser;
};
