#include "editors/RaDecDlg.h"

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

#include "app/QtText.h"
#include "editors/FieldSelectionBox.h"
#include "editors/Latin1Validator.h"
#include "model/UserInteraction.h"

namespace {

constexpr int kMaxEpochChars = 30;

const char* const kNoEpoch =
    "Please supply an epoch for the data,\nsuch as \"J2000.0\" or \"B1950.0\"";
const char* const kBadEpoch = "The epoch must begin with either \"B\" or \"J\"";
const char* const kNoRaFields =
    "Please select the fields required to\nspecify the object right ascension.";
const char* const kNoDecFields =
    "Please select the fields required to\nspecify the object declination.";

// True when the notation is one of the three and every box it uses has a selection.
template <std::size_t N>
bool NotationComplete(int notation, const std::array<bool, N>& used,
                      const std::array<int, N>& fields) {
    if (notation < 0 || notation > 2)
        return false;
    for (std::size_t i = 0; i < N; ++i) {
        if (used[i] && fields[i] < 0)
            return false;
    }
    return true;
}

// A radio group in a frame: one button per text, button i with id i.
QButtonGroup* AddNotationButtons(QDialog* dlg, QVBoxLayout* column, const char* name,
                                 std::initializer_list<const char*> texts) {
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

std::array<bool, 3> RaBoxesEnabled(int notation) {
    switch (notation) {
        case 1:
            return {true, true, false};
        case 2:
            return {true, false, false};
        default:
            return {true, true, true};
    }
}

std::array<bool, 4> DecBoxesEnabled(int notation) {
    switch (notation) {
        case 1:
            return {true, true, true, false};
        case 2:
            return {false, true, false, false};
        default:
            return {true, true, true, true};
    }
}

std::string RaDecRefusal(const std::string& epoch, int raNotation,
                         const std::array<int, 3>& raFields, int decNotation,
                         const std::array<int, 4>& decFields) {
    if (epoch.empty())
        return kNoEpoch;
    if (epoch[0] != 'B' && epoch[0] != 'J')
        return kBadEpoch;
    // The fields a valid notation needs are exactly the boxes it enables.
    if (!NotationComplete(raNotation, RaBoxesEnabled(raNotation), raFields))
        return kNoRaFields;
    if (!NotationComplete(decNotation, DecBoxesEnabled(decNotation), decFields)) {
        return kNoDecFields;
    }
    return {};
}

CRaDecDlg::CRaDecDlg(IUserInteraction& ui, QWidget* parent) : QDialog(parent), m_ui(ui) {
    setWindowTitle(QStringLiteral("Right Ascension / Declination"));

    m_pEpoch = new QLineEdit(this);
    m_pEpoch->setObjectName(QStringLiteral("epoch"));
    m_pEpoch->setMaxLength(kMaxEpochChars);
    m_pEpoch->setValidator(new CLatin1Validator(true, m_pEpoch));
    auto* epochRow = new QHBoxLayout;
    auto* epochLabel = new QLabel(QStringLiteral("E&poch of position data:"), this);
    epochLabel->setBuddy(m_pEpoch);
    epochRow->addWidget(epochLabel);
    epochRow->addWidget(m_pEpoch, 1);

    auto* raFrame = new QGroupBox(QStringLiteral("Right Ascension"), this);
    auto* raColumn = new QVBoxLayout(raFrame);
    m_pRaNotation =
        AddNotationButtons(this, raColumn, "raNotation",
                           {"Hours, &minutes and seconds", "Hours &and minutes", "Hours &only"});
    auto* raForm = new QFormLayout;
    raColumn->addLayout(raForm);
    m_apRaBoxes = {AddBox(this, raForm, "&Hours:", "raHours"),
                   AddBox(this, raForm, "Mi&n:", "raMinutes"),
                   AddBox(this, raForm, "Se&c:", "raSeconds")};
    raColumn->addStretch(1);

    auto* decFrame = new QGroupBox(QStringLiteral("Declination"), this);
    auto* decColumn = new QVBoxLayout(decFrame);
    m_pDecNotation = AddNotationButtons(
        this, decColumn, "decNotation",
        {"Sign, Deg&ree, Min, Sec", "Sign, Degrees, Min&utes", "Signe&d degrees"});
    auto* decForm = new QFormLayout;
    decColumn->addLayout(decForm);
    m_apDecBoxes = {
        AddBox(this, decForm, "&Sign:", "decSign"), AddBox(this, decForm, "De&g:", "decDegrees"),
        AddBox(this, decForm, "M&in:", "decMinutes"), AddBox(this, decForm, "S&ec:", "decSeconds")};

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
