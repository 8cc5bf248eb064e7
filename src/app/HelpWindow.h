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

    // The name a link "#name" uses for a heading, as GitHub makes it: lower case, punctuation
    // dropped, spaces as hyphens ("Keys and mice!" gives "keys-and-mice").
    static QString HeadingAnchor(const QString& heading);

    // A link in the guide was clicked.
    void OnLinkClicked(const QUrl& link);

private:
    // Markdown headings carry no anchor names; give each its own so the contents links work.
    void AddHeadingAnchors();

    QTextBrowser* m_pBrowser;
};
