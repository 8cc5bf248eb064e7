// The desktop side of IUserInteraction: message boxes and the file dialogs.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>

#include "core/model/UserInteraction.h"

class QWidget;

class CQtUserInteraction : public IUserInteraction {
public:
    explicit CQtUserInteraction(QWidget* parent = nullptr) : m_pParent(parent) {}

    // The window the dialogs are modal to.
    void SetParent(QWidget* parent) { m_pParent = parent; }

    void ShowMessage(const std::string& text, MessageIcon icon) override;
    Answer Ask(const std::string& text, MessageIcon icon, bool withCancel) override;
    std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) override;
    std::optional<std::string> AskOpenFileName(const FileDialogRequest& request) override;

    // The message boxes' title.
    static constexpr const char* kTitle = "Catforge";

    // The name filters of a request as a Qt file dialog takes them: "Name (*.a *.b)".
    // A Windows "*.*" means every file.
    static QStringList NameFilters(const FileDialogRequest& request);
    // Message texts are bytes: UTF-8 when they decode as such (paths), else Latin-1.
    static QString MessageText(const std::string& bytes);

private:
    std::optional<std::string> AskFileName(const FileDialogRequest& request, bool save);

    QPointer<QWidget> m_pParent;
};
