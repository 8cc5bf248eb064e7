#include "HelpWindow.h"

#include <QAction>
#include <QScrollBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

CHelpWindow::CHelpWindow(QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setWindowTitle(tr("Catforge Help"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_pBrowser = new QTextBrowser(this);
    m_pBrowser->setOpenExternalLinks(true);
    setCentralWidget(m_pBrowser);

    QToolBar* bar = addToolBar(tr("Navigation"));
    bar->setObjectName("helpNavigation");
    bar->setMovable(false);
    QAction* contents = bar->addAction(tr("&Contents"), this, &CHelpWindow::ShowContents);
    contents->setShortcut(Qt::ALT | Qt::Key_Home);
    QAction* back = bar->addAction(tr("&Back"), m_pBrowser, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    QAction* forward = bar->addAction(tr("&Forward"), m_pBrowser, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    connect(m_pBrowser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_pBrowser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

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
