#include "app/QtUserInteraction.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringDecoder>

#include "gui/widgets/QtText.h"

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QString CQtUserInteraction::MessageText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return utf8.hasError() ? ToQString(bytes) : text;
}

QStringList CQtUserInteraction::NameFilters(const FileDialogRequest& request) {
    QStringList filters;
    for (const FileFilter& filter : request.filters) {
        QString name = ToQString(filter.description).trimmed();
        // "Catforge Files (*.zdd)": the patterns in brackets are replaced by the real ones.
        if (name.endsWith(')') && name.contains('('))
            name = name.left(name.lastIndexOf('('));
        QStringList patterns;
        for (const QString& pattern : ToQString(filter.pattern).split(';', Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            patterns << (trimmed == "*.*" ? QStringLiteral("*") : trimmed);
        }
        if (patterns.isEmpty())
            patterns << "*";
        filters << name.trimmed() + " (" + patterns.join(' ') + ")";
    }
    return filters;
}

void CQtUserInteraction::ShowMessage(const std::string& text, MessageIcon icon) {
    QMessageBox box(BoxIcon(icon), kTitle, MessageText(text), QMessageBox::Ok, m_pParent);
    box.exec();
}

Answer CQtUserInteraction::Ask(const std::string& text, MessageIcon icon, bool withCancel) {
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    QMessageBox box(BoxIcon(icon), kTitle, MessageText(text), buttons, m_pParent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return withCancel ? Answer::Cancel : Answer::No;
    }
}

std::optional<std::string> CQtUserInteraction::AskSaveFileName(const FileDialogRequest& request) {
    return AskFileName(request, true);
}

std::optional<std::string> CQtUserInteraction::AskOpenFileName(const FileDialogRequest& request) {
    return AskFileName(request, false);
}

std::optional<std::string> CQtUserInteraction::AskFileName(const FileDialogRequest& request,
                                                           bool save) {
    QFileDialog dialog(m_pParent, QString::fromUtf8(request.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(NameFilters(request));
    if (!request.defaultExtension.empty()) {
        dialog.setDefaultSuffix(QString::fromUtf8(request.defaultExtension));
    }
    if (save && !request.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.proposedName.empty()) {
        const QString name = QFile::decodeName(request.proposedName.c_str());
        const QFileInfo proposed(name);
        // A bare name opens in the dialog's usual folder; a path in its own folder.
        if (name.contains('/'))
            dialog.setDirectory(proposed.absolutePath());
        dialog.selectFile(proposed.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QByteArray path = QFile::encodeName(dialog.selectedFiles().constFirst());
    return std::string(path.constData(), static_cast<std::size_t>(path.size()));
}
