#include "gui/symbols/TypeSelectionDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/model/CatforgeDoc.h"
#include "core/symbols/SymbolTables.h"
#include "gui/widgets/FieldSelectionBox.h"
#include "gui/widgets/QtText.h"

int FillSymbolBox(QComboBox& box, const std::vector<std::string>& userSymbolNames, int code) {
    box.clear();
    int standard = 0;
    for (; g_apszStandardSymbols[standard][0] != '\0'; ++standard) {
        box.addItem(QString::fromLatin1(g_apszStandardSymbols[standard]));
    }
    for (const std::string& name : userSymbolNames)
        box.addItem(ToQString(name));
    // A code that names no row shows its marker in the empty box.
    box.setPlaceholderText(ToQString(SymbolDisplayText(code, userSymbolNames)));
    box.setCurrentIndex(SymbolCodeToRow(code, static_cast<int>(userSymbolNames.size())));
    return standard;
}

void FillTypeBox(QComboBox& box, int type) {
    box.clear();
    for (int i = 0; g_apszObjectTypes[i][0] != '\0'; ++i) {
        box.addItem(QString::fromLatin1(g_apszObjectTypes[i]));
    }
    box.setPlaceholderText(ToQString(ObjectTypeDisplayText(type)));
    box.setCurrentIndex(type >= 0 && type < box.count() ? type : -1);
}

CTypeSelectionDlg::CTypeSelectionDlg(const CCatforgeDoc& doc, QWidget* parent)
    : QDialog(parent), m_pDoc(&doc) {
    setWindowTitle("Type Selection");
    setMinimumWidth(340);

    m_pFieldBox = new CFieldSelectionBox(this);
    m_pValueEdit = new QLineEdit(this);
    m_pTypeBox = new QComboBox(this);
    m_pSymbolBox = new QComboBox(this);

    auto* form = new QFormLayout;
    form->addRow("When field:", m_pFieldBox);
    form->addRow("Has the value:", m_pValueEdit);
    form->addRow("Object type:", m_pTypeBox);
    form->addRow("Use the symbol:", m_pSymbolBox);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CTypeSelectionDlg::OnOK);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CTypeSelectionDlg::OnInitDialog() {
    m_pValueEdit->setText(ToQString(m_strValue));
    const std::vector<std::string> fieldNames = FieldNames(*m_pDoc);
    m_pFieldBox->setPlaceholderText(ToQString(FieldDisplayText(m_nField, fieldNames)));
    m_pFieldBox->Fill(fieldNames, m_nField);
    FillTypeBox(*m_pTypeBox, m_nType);
    m_nStandardSymbols = FillSymbolBox(*m_pSymbolBox, UserSymbolNames(*m_pDoc), m_nSymbolIndex);
}

void CTypeSelectionDlg::OnOK() {
    m_nField = m_pFieldBox->Selection();
    m_nSymbolIndex = m_pSymbolBox->currentIndex();
    m_strValue = FromQString(m_pValueEdit->text());
    m_nType = m_pTypeBox->currentIndex();
    m_nSymbol = SymbolRowToCode(m_nSymbolIndex);
    accept();
}

int CTypeSelectionDlg::exec() {
    OnInitDialog();
    return QDialog::exec();
}

bool RunTypeSelectionDlg(TypeRule& rule, const CCatforgeDoc& doc, QWidget* parent) {
    CTypeSelectionDlg dlg(doc, parent);
    dlg.m_nField = rule.m_nField;
    dlg.m_nSymbolIndex = rule.m_nSymbol;
    dlg.m_strValue = rule.m_strValue;
    dlg.m_nType = rule.m_nType;
    if (dlg.exec() != QDialog::Accepted)
        return false;
    rule.m_nField = dlg.m_nField;
    rule.m_nSymbol = dlg.m_nSymbol;
    rule.m_nType = dlg.m_nType;
    rule.m_strValue = dlg.m_strValue;
    return true;
}
