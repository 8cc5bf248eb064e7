#include "gui/editors/FieldEditDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "core/editing/FieldEntry.h"
#include "core/model/UserInteraction.h"
#include "gui/widgets/QtText.h"

namespace {

// A box that takes digits only.
QLineEdit* MakeColumnBox(QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), box));
    box->setMaximumWidth(box->fontMetrics().averageCharWidth() * 12);
    return box;
}

}  // namespace

CFieldEditDlg::CFieldEditDlg(IUserInteraction& ui, QWidget* parent) : QDialog(parent), m_ui(ui) {
    m_pName = new QLineEdit(this);
    m_pUnit = new QLineEdit(this);
    m_pStart = MakeColumnBox(this);
    m_pEnd = MakeColumnBox(this);
    m_pName->setMinimumWidth(m_pName->fontMetrics().averageCharWidth() * 32);

    auto* form = new QFormLayout;
    form->addRow(tr("&Name:"), m_pName);
    form->addRow(tr("&Unit:"), m_pUnit);
    form->addRow(tr("&Start column:"), m_pStart);
    form->addRow(tr("&End column:"), m_pEnd);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    SetField(m_field);
    m_pName->setFocus();
}

void CFieldEditDlg::SetTitle(const std::string& title) {
    setWindowTitle(ToQString(title));
}

void CFieldEditDlg::SetField(const FieldDefinition& field) {
    m_field = field;
    m_pName->setText(ToQString(field.m_strName));
    m_pUnit->setText(ToQString(field.m_strUnit));
    m_pStart->setText(QString::number(field.m_nStartCol));
    m_pEnd->setText(QString::number(field.m_nEndCol));
}

bool CFieldEditDlg::OnOK() {
    const FieldEntryText text{FromQString(m_pName->text()), FromQString(m_pUnit->text()),
                              FromQString(m_pStart->text()), FromQString(m_pEnd->text())};
    if (const auto refusal = CheckFieldEntry(text, m_field)) {
        m_ui.ShowMessage(refusal->message, MessageIcon::Stop);
        QLineEdit* boxes[] = {m_pName, m_pUnit, m_pStart, m_pEnd};
        QLineEdit* box = boxes[static_cast<int>(refusal->box)];
        box->setFocus();
        box->selectAll();
        return false;
    }
    accept();
    return true;
}
