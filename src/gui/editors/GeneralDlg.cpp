#include "gui/editors/GeneralDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <filesystem>

#include "core/browse/RecordLength.h"
#include "core/editing/FieldEntry.h"
#include "core/model/UserInteraction.h"
#include "gui/widgets/QtText.h"

namespace {

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

}  // namespace

CGeneralDlg::CGeneralDlg(IUserInteraction& ui, QWidget* parent) : QDialog(parent), m_ui(ui) {
    setWindowTitle(tr("General Properties"));
    const int charWidth = fontMetrics().averageCharWidth();

    m_pTitle = new QLineEdit(this);
    m_pDataFile = new QLineEdit(this);
    m_pDataFile->setMaxLength(kMaxDataFileChars);
    m_pDataFile->setMinimumWidth(charWidth * 48);
    auto* browse = new QPushButton(tr("..."), this);
    m_pRecordLength = new QLineEdit(this);
    m_pRecordLength->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), this));
    m_pRecordLength->setMaximumWidth(charWidth * 12);
    auto* detect = new QPushButton(tr("..."), this);
    m_pNotes = new QPlainTextEdit(this);
    m_pNotes->setTabChangesFocus(true);
    m_pNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pNotes->setMinimumHeight(fontMetrics().height() * 6);
    browse->setToolTip(tr("Choose the data file"));
    detect->setToolTip(tr("Detect the record length from the data file's first line"));
    for (QPushButton* button : {browse, detect}) {
        button->setAutoDefault(false);
        button->setFixedWidth(charWidth * 5);
    }

    auto* grid = new QGridLayout;
    auto addLabel = [&](const QString& text, QWidget* buddy, int row) {
        auto* label = new QLabel(text, this);
        label->setBuddy(buddy);
        grid->addWidget(label, row, 0, 1, 3);
    };
    addLabel(tr("Database &title:"), m_pTitle, 0);
    grid->addWidget(m_pTitle, 1, 0, 1, 3);
    addLabel(tr("&Data file:"), m_pDataFile, 2);
    grid->addWidget(m_pDataFile, 3, 0, 1, 2);
    grid->addWidget(browse, 3, 2);
    addLabel(tr("&Record length (including end-of-line characters):"), m_pRecordLength, 4);
    auto* lengthRow = new QHBoxLayout;
    lengthRow->addWidget(m_pRecordLength);
    lengthRow->addWidget(new QLabel(tr("bytes"), this));
    lengthRow->addWidget(detect);
    lengthRow->addStretch();
    grid->addLayout(lengthRow, 5, 0, 1, 3);
    addLabel(tr("&Notes:"), m_pNotes, 6);
    grid->addWidget(m_pNotes, 7, 0, 1, 3);
    grid->setRowStretch(7, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse, &QPushButton::clicked, this, &CGeneralDlg::OnBrowseDataFile);
    connect(detect, &QPushButton::clicked, this, &CGeneralDlg::OnDetectRecordLength);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void CGeneralDlg::UpdateControls() {
    m_bCrLfNotes = m_strNotes.find("\r\n") != std::string::npos;
    m_pTitle->setText(ToQString(m_strTitle));
    m_pDataFile->setText(ToQString(m_strDataFile));
    m_pRecordLength->setText(QString::number(m_nRecordLength));
    m_pNotes->setPlainText(ToQString(ReplaceAll(m_strNotes, "\r\n", "\n")));
}

bool CGeneralDlg::TakeValues() {
    const std::optional<int> length = ReadWholeNumber(FromQString(m_pRecordLength->text()));
    if (!length) {
        m_ui.ShowMessage(kNotAWholeNumber, MessageIcon::Stop);
        m_pRecordLength->setFocus();
        m_pRecordLength->selectAll();
        return false;
    }
    m_strTitle = FromQString(m_pTitle->text());
    m_strDataFile = FromQString(m_pDataFile->text());
    m_nRecordLength = *length;
    const std::string notes = FromQString(m_pNotes->toPlainText());
    m_strNotes = m_bCrLfNotes ? ReplaceAll(notes, "\n", "\r\n") : notes;
    return true;
}

void CGeneralDlg::OnBrowseDataFile() {
    const std::string current = FromQString(m_pDataFile->text());
    const std::optional<std::string> chosen = m_ui.AskOpenFileName(DataFileRequest(current));
    if (!chosen)
        return;
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(*chosen, error);
    m_pDataFile->setText(ToQString(error ? *chosen : full.lexically_normal().string()));
}

void CGeneralDlg::OnDetectRecordLength() {
    const std::string path = FromQString(m_pDataFile->text());
    if (const std::optional<int> length = DetectRecordLength(path, m_ui)) {
        m_pRecordLength->setText(QString::number(*length));
    }
}

bool CGeneralDlg::OnOK() {
    if (!TakeValues())
        return false;
    accept();
    return true;
}
