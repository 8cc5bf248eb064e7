#include "app/AboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

#include "app/CatforgeApp.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    CCatforgeApp::InitResources();
    setWindowTitle(tr("About Catforge"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(":/icons/catforge.png").pixmap(32, 32));
    m_pVersion = new QLabel(tr("Catforge Version 2.0"), this);
    m_pVersion->setObjectName("version");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addSpacing(12);
    row->addWidget(m_pVersion, 1);
    row->addWidget(buttons, 0, Qt::AlignVCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    setFixedSize(sizeHint().expandedTo(QSize(360, 90)));
}

QString CAboutDlg::VersionText() const {
    return m_pVersion->text();
}
