#include "gui/editors/RaDecDlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <span>

#include "core/editing/DialogRules.h"
#include "core/model/Definition.h"
#include "core/model/UserInteraction.h"
#include "gui/widgets/FieldSelectionBox.h"
#include "gui/widgets/Latin1Validator.h"
#include "gui/widgets/QtText.h"

namespace {

constexpr int kMaxEpochChars = 30;

// A radio group in a frame: one button per text, button i with id i.
QButtonGroup* AddNotationButtons(QDialog* dlg, QVBoxLayout* column, const char* name,
                                 std::span<const char* const> texts) {
    auto* group = new QButtonGroup(dlg);
    int id = 0;
    for (const char* text : texts) {
        auto* button = new QRadioButton(QString::fromLatin1(text), dlg);
        button->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(name)).arg(id));
        group->addButton(button, id++);
        column->addWidget(button);
    }
    return group;
}

CFieldSelectionBox* AddBox(QDialog* dlg, QFormLayout* form, const char* label, const char* name) {
    auto* box = new CFieldSelectionBox(dlg);
    box->setObjectName(QLatin1String(name));
    form->addRow(QString::fromLatin1(label), box);
    return box;
}

}  // namespace

CRaDecDlg::CRaDecDlg(IUserInteraction& ui, QWidget* parent) : QDialog(parent), m_ui(ui) {
    setWindowTitle(QStringLiteral("Right Ascension / Declination"));

    m_pEpoch = new QLineEdit(this);
    m_pEpoch->setObjectName(QStringLiteral("epoch"));
    m_pEpoch->setMaxLength(kMaxEpochChars);
    m_pEpoch->setValidator(new CLatin1Validator(true, m_pEpoch));
    auto* epochRow = new QHBoxLayout;
    auto* epochLabel = new QLabel(QStringLiteral("Epoch of position data:"), this);
    epochLabel->setBuddy(m_pEpoch);
    epochRow->addWidget(epochLabel);
    epochRow->addWidget(m_pEpoch, 1);

    auto* raFrame = new QGroupBox(QStringLiteral("Right Ascension"), this);
    auto* raColumn = new QVBoxLayout(raFrame);
    m_pRaNotation = AddNotationButtons(this, raColumn, "raNotation", kRaNotationNames);
    auto* raForm = new QFormLayout;
    raColumn->addLayout(raForm);
    m_apRaBoxes = {AddBox(this, raForm, "Hours:", "raHours"),
                   AddBox(this, raForm, "Min:", "raMinutes"),
                   AddBox(this, raForm, "Sec:", "raSeconds")};
    m_pRaHoursLabel = qobject_cast<QLabel*>(raForm->labelForField(m_apRaBoxes[0]));
    m_pRaHoursLabel->setObjectName(QStringLiteral("raHoursLabel"));
    raColumn->addStretch(1);

    auto* decFrame = new QGroupBox(QStringLiteral("Declination"), this);
    auto* decColumn = new QVBoxLayout(decFrame);
    m_pDecNotation = AddNotationButtons(this, decColumn, "decNotation", kDecNotationNames);
    auto* decForm = new QFormLayout;
    decColumn->addLayout(decForm);
    m_apDecBoxes = {
        AddBox(this, decForm, "Sign:", "decSign"), AddBox(this, decForm, "Deg:", "decDegrees"),
        AddBox(this, decForm, "Min:", "decMinutes"), AddBox(this, decForm, "Sec:", "decSeconds")};

    auto* frames = new QHBoxLayout;
    frames->addWidget(raFrame);
    frames->addWidget(decFrame);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pRaNotation, &QButtonGroup::idClicked, this, &CRaDecDlg::OnRaNotation);
    connect(m_pDecNotation, &QButtonGroup::idClicked, this, &CRaDecDlg::OnDecNotation);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(epochRow);
    layout->addLayout(frames);
    layout->addWidget(buttons);
}

void CRaDecDlg::OnInitDialog() {
    const std::array raFields{m_nRaHoursField, m_nRaMinutesField, m_nRaSecondsField};
    for (std::size_t i = 0; i < m_apRaBoxes.size(); ++i) {
        m_apRaBoxes[i]->Fill(m_astrFieldNames, raFields[i]);
    }
    const std::array decFields{m_nDecSignField, m_nDecDegreesField, m_nDecMinutesField,
                               m_nDecSecondsField};
    for (std::size_t i = 0; i < m_apDecBoxes.size(); ++i) {
        m_apDecBoxes[i]->Fill(m_astrFieldNames, decFields[i]);
    }
    WriteRadio(m_pRaNotation, m_nRaNotation);
    WriteRadio(m_pDecNotation, m_nDecNotation);
    // The box shows and stores letters in upper case, whatever the document held.
    m_pEpoch->setText(CLatin1Validator::UpperCaseLatin1(ToQString(m_strEpoch)));
    OnRaNotation(m_nRaNotation);
    OnDecNotation(m_nDecNotation);
}

void CRaDecDlg::OnRaNotation(int notation) {
    const std::array<bool, 3> enabled = RaBoxesEnabled(notation);
    for (std::size_t i = 0; i < enabled.size(); ++i)
        m_apRaBoxes[i]->setEnabled(enabled[i]);
    // Degrees are read from the one box that otherwise holds the hours.
    m_pRaHoursLabel->setText(notation == kRaNotationDegrees ? QStringLiteral("Degrees:")
                                                            : QStringLiteral("Hours:"));
}

void CRaDecDlg::OnDecNotation(int notation) {
    const std::array<bool, 4> enabled = DecBoxesEnabled(notation);
    for (std::size_t i = 0; i < enabled.size(); ++i)
        m_apDecBoxes[i]->setEnabled(enabled[i]);
}

bool CRaDecDlg::OnOK() {
    m_strEpoch = FromQString(m_pEpoch->text());
    ReadRadio(m_pRaNotation, m_nRaNotation);
    ReadRadio(m_pDecNotation, m_nDecNotation);
    m_nRaHoursField = m_apRaBoxes[0]->Selection();
    m_nRaMinutesField = m_apRaBoxes[1]->Selection();
    m_nRaSecondsField = m_apRaBoxes[2]->Selection();
    m_nDecSignField = m_apDecBoxes[0]->Selection();
    m_nDecDegreesField = m_apDecBoxes[1]->Selection();
    m_nDecMinutesField = m_apDecBoxes[2]->Selection();
    m_nDecSecondsField = m_apDecBoxes[3]->Selection();
    const std::string refusal =
        RaDecRefusal(m_strEpoch, m_nRaNotation,
                     {m_nRaHoursField, m_nRaMinutesField, m_nRaSecondsField}, m_nDecNotation,
                     {m_nDecSignField, m_nDecDegreesField, m_nDecMinutesField, m_nDecSecondsField});
    if (!refusal.empty()) {
        m_ui.ShowMessage(refusal, MessageIcon::Stop);
        return false;
    }
    accept();
    return true;
}
