#include "app/HelpWindow.h"

#include <QAction>
#include <QDesktopServices>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QToolBar>
#include <QUrl>

CHelpWindow::CHelpWindow(QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setWindowTitle(tr("Catforge Help"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_pBrowser = new QTextBrowser(this);
    setCentralWidget(m_pBrowser);

    // Links within the guide scroll to their section; others open outside.
    m_pBrowser->setOpenLinks(false);
    connect(m_pBrowser, &QTextBrowser::anchorClicked, this, &CHelpWindow::OnLinkClicked);
    connect(m_pBrowser, &QTextBrowser::sourceChanged, this, &CHelpWindow::AddHeadingAnchors);

    QToolBar* bar = addToolBar(tr("Navigation"));
    bar->setObjectName("helpNavigation");
    bar->setMovable(false);
    QAction* contents = bar->addAction(tr("&Contents"), this, &CHelpWindow::ShowContents);
    contents->setShortcut(Qt::ALT | Qt::Key_Home);

    resize(760, 640);
    ShowContents();
}

void CHelpWindow::ShowContents() {
    const QUrl guide(kGuideUrl);
    if (m_pBrowser->source() == guide) {
        m_pBrowser->verticalScrollBar()->setValue(0);
    } else {
        m_pBrowser->setSource(guide, QTextDocument::MarkdownResource);
    }
}

void CHelpWindow::OnLinkClicked(const QUrl& link) {
    const QUrl target = m_pBrowser->source().resolved(link);
    if (target.adjusted(QUrl::RemoveFragment) ==
        m_pBrowser->source().adjusted(QUrl::RemoveFragment)) {
        m_pBrowser->scrollToAnchor(target.fragment());
    } else if (target.scheme() == "qrc") {
        m_pBrowser->setSource(target);
    } else {
        QDesktopServices::openUrl(target);
    }
}

QString CHelpWindow::HeadingAnchor(const QString& heading) {
    QString anchor;
    for (const QChar c : heading.trimmed().toLower()) {
        if (c.isLetterOrNumber() || c == '-' || c == '_') {
            anchor += c;
        } else if (c == ' ') {
            anchor += '-';
        }
    }
    return anchor;
}

void CHelpWindow::AddHeadingAnchors() {
    QTextDocument* document = m_pBrowser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0)
            continue;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setAnchor(true);
        format.setAnchorNames({HeadingAnchor(block.text())});
        cursor.mergeCharFormat(format);
    }
}
