#include "gui/editors/LabelDlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/model/UserInteraction.h"
#include "gui/widgets/FieldSelectionBox.h"
#include "gui/widgets/Latin1Validator.h"
#include "gui/widgets/QtText.h"

namespace {

const char* const kNoLabelFields =
    "Please select the fields required to\nspecify the object labels.";

}  // namespace

CLabelDlg::CLabelDlg(IUserInteraction& ui, QWidget* parent) : QDialog(parent), m_ui(ui) {
    setWindowTitle(QStringLiteral("Object Label"));

    auto* countFrame = new QGroupBox(QStringLiteral("&Number of labels"), this);
    m_pCount = MakeCountGroup(countFrame, this);

    auto* rowsFrame = new QGroupBox(QStringLiteral("&Field names and prefixes"), this);
    auto* rows = new QGridLayout(rowsFrame);
    rows->addWidget(new QLabel(QStringLiteral("Field"), this), 0, 1);
    rows->addWidget(new QLabel(QStringLiteral("Prefix"), this), 0, 2);
    for (int row = 0; row < 3; ++row) {
        auto* box = new CFieldSelectionBox(this);
        box->setObjectName(QStringLiteral("field%1").arg(row + 1));
        auto* prefix = new QLineEdit(this);
        prefix->setObjectName(QStringLiteral("prefix%1").arg(row + 1));
        prefix->setValidator(new CLatin1Validator(false, prefix));
        rows->addWidget(new QLabel(QStringLiteral("%1.").arg(row + 1), this), row + 1, 0);
        rows->addWidget(box, row + 1, 1);
        rows->addWidget(prefix, row + 1, 2);
        m_apBoxes[static_cast<std::size_t>(row)] = box;
        m_apPrefixes[static_cast<std::size_t>(row)] = prefix;
    }
    rows->setColumnStretch(1, 2);
    rows->setColumnStretch(2, 1);

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pCount, &QButtonGroup::idClicked, this, &CLabelDlg::OnCount);

    auto* groups = new QVBoxLayout;
    groups->addWidget(countFrame);
    groups->addWidget(rowsFrame);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(groups, 1);
    layout->addWidget(buttons, 0, Qt::AlignTop);
}

void CLabelDlg::OnInitDialog() {
    for (std::size_t row = 0; row < m_apBoxes.size(); ++row) {
        m_apBoxes[row]->Fill(m_astrFieldNames, m_anLabelField[row]);
        m_apPrefixes[row]->setText(ToQString(m_astrLabelPrefix[row]));
    }
    WriteRadio(m_pCount, m_nLabelCount);
    OnCount(m_nLabelCount);
}

void CLabelDlg::OnCount(int count) {
    for (std::size_t row = 0; row < m_apBoxes.size(); ++row) {
        const bool enabled = CountRowEnabled(count, static_cast<int>(row), 3);
        m_apBoxes[row]->setEnabled(enabled);
        m_apPrefixes[row]->setEnabled(enabled);
    }
}

bool CLabelDlg::OnOK() {
    ReadRadio(m_pCount, m_nLabelCount);
    for (std::size_t row = 0; row < m_apBoxes.size(); ++row) {
        m_anLabelField[row] = m_apBoxes[row]->Selection();
        m_astrLabelPrefix[row] = FromQString(m_apPrefixes[row]->text());
    }
    if (!CountRowsSelected(m_nLabelCount, m_anLabelField)) {
        m_ui.ShowMessage(kNoLabelFields, MessageIcon::Stop);
        return false;
    }
    accept();
    return true;
}
