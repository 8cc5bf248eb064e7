#include "gui/symbols/SymbolDefDlg.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/symbols/SymbolSample.h"
#include "gui/widgets/QtText.h"

CSymbolDefDlg::CSymbolDefDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Symbol Definition");

    m_pNameEdit = new QLineEdit(this);
    m_pInstructionsEdit = new QPlainTextEdit(this);
    m_pInstructionsEdit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_pInstructionsEdit->setTabChangesFocus(true);
    m_pInstructionsEdit->setMinimumSize(360, 90);

    auto* sampleBox = new QGroupBox("Sample", this);
    auto* hint = new QLabel(
        "Click the \"Test\" button to see the results of the current drawing instructions.",
        sampleBox);
    hint->setWordWrap(true);
    auto* test = new QPushButton("&Test", sampleBox);
    m_pSampleWnd = new CSymbolSampleArea(m_aProgram, sampleBox);
    auto* sampleLayout = new QGridLayout(sampleBox);
    sampleLayout->addWidget(hint, 0, 0);
    sampleLayout->addWidget(test, 1, 0, Qt::AlignLeft | Qt::AlignBottom);
    sampleLayout->addWidget(m_pSampleWnd, 0, 1, 2, 1);
    sampleLayout->setColumnStretch(0, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* layout = new QVBoxLayout(this);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel("Name:", this));
    nameRow->addWidget(m_pNameEdit, 1);
    layout->addLayout(nameRow);
    layout->addWidget(new QLabel("Drawing instructions:", this));
    layout->addWidget(m_pInstructionsEdit, 1);
    layout->addWidget(sampleBox);
    layout->addWidget(buttons);

    connect(test, &QPushButton::clicked, this, &CSymbolDefDlg::OnTest);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSymbolDefDlg::OnOK);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CSymbolDefDlg::OnInitDialog() {
    m_pNameEdit->setText(ToQString(m_strName));
    m_pInstructionsEdit->setPlainText(ToQString(m_strInstructions));
    m_strShownInstructions = FromQString(m_pInstructionsEdit->toPlainText());
    SampleParse();
    m_pSampleWnd->update();
}

void CSymbolDefDlg::TakeBoxes() {
    m_strName = FromQString(m_pNameEdit->text());
    // An untouched text keeps its bytes exactly, line ends included (the box shows a
    // carriage return and line feed as one line break).
    const std::string shown = FromQString(m_pInstructionsEdit->toPlainText());
    if (shown != m_strShownInstructions) {
        m_strInstructions = shown;
        m_strShownInstructions = shown;
    }
}

void CSymbolDefDlg::SampleParse() {
    TakeBoxes();
    ParseSymbolInstructions(m_strInstructions, m_aProgram);
}

void CSymbolDefDlg::OnTest() {
    SampleParse();
    m_pSampleWnd->update();
}

void CSymbolDefDlg::OnOK() {
    TakeBoxes();
    accept();
}

int CSymbolDefDlg::exec() {
    OnInitDialog();
    return QDialog::exec();
}

bool RunSymbolDefDlg(UserSymbol& symbol, QWidget* parent) {
    CSymbolDefDlg dlg(parent);
    dlg.m_strName = symbol.m_strName;
    dlg.m_strInstructions = symbol.m_strInstructions;
    if (dlg.exec() != QDialog::Accepted)
        return false;
    symbol.m_strName = dlg.m_strName;
    symbol.m_strInstructions = dlg.m_strInstructions;
    return true;
}
