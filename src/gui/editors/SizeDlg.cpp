#include "gui/editors/SizeDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <span>

#include "core/model/Definition.h"
#include "core/model/UserInteraction.h"
#include "gui/widgets/FieldSelectionBox.h"

namespace {

// The dialog's own button texts for the size units and meaning, in code order.
const char* const kUnitButtons[] = {"Degrees", "Minutes", "Seconds"};
const char* const kMeaningButtons[] = {"Radius", "Diameter"};

const char* const kNoSizeFields =
    "Please select the fields required to\nspecify the object size and position angle.";

// A radio group in its own frame: one button per text, button i with id i. Returns the
// group; the frame's layout is left in frameColumn for controls that belong with it.
QButtonGroup* AddRadioFrame(QDialog* dlg, QVBoxLayout* column, const char* title, const char* name,
                            std::span<const char* const> texts,
                            QVBoxLayout** frameColumn = nullptr) {
    auto* frame = new QGroupBox(QString::fromLatin1(title), dlg);
    auto* buttons = new QVBoxLayout(frame);
    auto* group = new QButtonGroup(dlg);
    int id = 0;
    for (const char* text : texts) {
        auto* button = new QRadioButton(QString::fromLatin1(text), dlg);
        button->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(name)).arg(id));
        group->addButton(button, id++);
        buttons->addWidget(button);
    }
    column->addWidget(frame);
    if (frameColumn)
        *frameColumn = buttons;
    return group;
}

CFieldSelectionBox* NewBox(QDialog* dlg, const char* name) {
    auto* box = new CFieldSelectionBox(dlg);
    box->setObjectName(QLatin1String(name));
    return box;
}

}  // namespace

CSizeDlg::CSizeDlg(IUserInteraction& ui, QWidget* parent) : QDialog(parent), m_ui(ui) {
    setWindowTitle(QStringLiteral("Object Size"));

    // Left: the axes and the position angle, each choice with its boxes; right: how the
    // axes are read.
    auto* left = new QVBoxLayout;
    QVBoxLayout* axesColumn = nullptr;
    m_pSizeFields = AddRadioFrame(this, left, "This &data file has", "sizeFields", kSizeFieldsNames,
                                  &axesColumn);
    auto* axesForm = new QFormLayout;
    m_pMajorAxis = NewBox(this, "majorAxis");
    m_pMinorAxis = NewBox(this, "minorAxis");
    axesForm->addRow(QStringLiteral("&Major axis:"), m_pMajorAxis);
    axesForm->addRow(QStringLiteral("Mi&nor axis:"), m_pMinorAxis);
    axesColumn->addLayout(axesForm);
    auto* angleFrame = new QGroupBox(QStringLiteral("&Position angle"), this);
    auto* angleForm = new QFormLayout(angleFrame);
    m_pPositionAngle = new QCheckBox(QStringLiteral("Position angle field exists"), this);
    m_pPositionAngle->setObjectName(QStringLiteral("positionAngle"));
    m_pPositionAngleField = NewBox(this, "positionAngleField");
    angleForm->addRow(m_pPositionAngle);
    angleForm->addRow(QStringLiteral("Name:"), m_pPositionAngleField);
    left->addWidget(angleFrame);

    auto* right = new QVBoxLayout;
    m_pSizeUnits = AddRadioFrame(this, right, "Size &units", "sizeUnits", kUnitButtons);
    m_pSizeMeaning = AddRadioFrame(this, right, "&Size specifies", "sizeMeaning", kMeaningButtons);
    right->addStretch(1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pSizeFields, &QButtonGroup::idClicked, this, &CSizeDlg::OnSizeFields);
    connect(m_pPositionAngle, &QCheckBox::clicked, this, [this] { OnPositionAngle(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
}

void CSizeDlg::OnInitDialog() {
    m_pMajorAxis->Fill(m_astrFieldNames, m_nMajorAxisField);
    m_pMinorAxis->Fill(m_astrFieldNames, m_nMinorAxisField);
    m_pPositionAngleField->Fill(m_astrFieldNames, m_nPositionAngleField);
    WriteRadio(m_pSizeFields, m_nSizeFields);
    WriteRadio(m_pSizeUnits, m_nSizeUnits);
    WriteRadio(m_pSizeMeaning, m_nSizeMeaning);
    m_pPositionAngle->setChecked(m_bPositionAngle != 0);
    OnSizeFields(m_nSizeFields);
    OnPositionAngle();
}

void CSizeDlg::OnSizeFields(int sizeFields) {
    const std::array<bool, 2> enabled = AxisBoxesEnabled(sizeFields);
    m_pMajorAxis->setEnabled(enabled[0]);
    m_pMinorAxis->setEnabled(enabled[1]);
}

void CSizeDlg::OnPositionAngle() {
    m_pPositionAngleField->setEnabled(m_pPositionAngle->isChecked());
}

bool CSizeDlg::OnOK() {
    ReadRadio(m_pSizeFields, m_nSizeFields);
    ReadRadio(m_pSizeUnits, m_nSizeUnits);
    ReadRadio(m_pSizeMeaning, m_nSizeMeaning);
    m_bPositionAngle = m_pPositionAngle->isChecked() ? 1 : 0;
    m_nMajorAxisField = m_pMajorAxis->Selection();
    m_nMinorAxisField = m_pMinorAxis->Selection();
    m_nPositionAngleField = m_pPositionAngleField->Selection();
    if (!SizeFieldsComplete(m_nSizeFields, m_nMajorAxisField, m_nMinorAxisField,
                            m_bPositionAngle != 0, m_nPositionAngleField)) {
        m_ui.ShowMessage(kNoSizeFields, MessageIcon::Stop);
        return false;
    }
    accept();
    return true;
}
