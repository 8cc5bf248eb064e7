#include "gui/editors/MagnitudeDlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/model/UserInteraction.h"
#include "gui/widgets/FieldSelectionBox.h"

namespace {

const char* const kNoMagnitudeFields =
    "Please select the fields required to\nspecify the object magnitude.";

}  // namespace

CMagnitudeDlg::CMagnitudeDlg(IUserInteraction& ui, QWidget* parent) : QDialog(parent), m_ui(ui) {
    setWindowTitle(QStringLiteral("Object Magnitude"));

    auto* countFrame = new QGroupBox(QStringLiteral("&Number of magnitude fields"), this);
    m_pCount = MakeCountGroup(countFrame, this);

    auto* rowsFrame = new QGroupBox(QStringLiteral("&Field names"), this);
    auto* rows = new QFormLayout(rowsFrame);
    for (int row = 0; row < 3; ++row) {
        auto* box = new CFieldSelectionBox(this);
        box->setObjectName(QStringLiteral("field%1").arg(row + 1));
        rows->addRow(QStringLiteral("%1.").arg(row + 1), box);
        m_apBoxes[static_cast<std::size_t>(row)] = box;
    }

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pCount, &QButtonGroup::idClicked, this, &CMagnitudeDlg::OnCount);

    auto* groups = new QVBoxLayout;
    groups->addWidget(countFrame);
    groups->addWidget(rowsFrame);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(groups, 1);
    layout->addWidget(buttons, 0, Qt::AlignTop);
}

void CMagnitudeDlg::OnInitDialog() {
    for (std::size_t row = 0; row < m_apBoxes.size(); ++row) {
        m_apBoxes[row]->Fill(m_astrFieldNames, m_anMagnitudeField[row]);
    }
    WriteRadio(m_pCount, m_nMagnitudeCount);
    OnCount(m_nMagnitudeCount);
}

void CMagnitudeDlg::OnCount(int count) {
    for (std::size_t row = 0; row < m_apBoxes.size(); ++row) {
        m_apBoxes[row]->setEnabled(CountRowEnabled(count, static_cast<int>(row), 3));
    }
}

bool CMagnitudeDlg::OnOK() {
    ReadRadio(m_pCount, m_nMagnitudeCount);
    for (std::size_t row = 0; row < m_apBoxes.size(); ++row) {
        m_anMagnitudeField[row] = m_apBoxes[row]->Selection();
    }
    if (!CountRowsSelected(m_nMagnitudeCount, m_anMagnitudeField)) {
        m_ui.ShowMessage(kNoMagnitudeFields, MessageIcon::Stop);
        return false;
    }
    accept();
    return true;
}
