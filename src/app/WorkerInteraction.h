// The side of a conversation that a worker thread holds while a window on the user-interface
// thread shows its progress: messages wait until the worker has ended and are then shown in
// order; questions are put to the person on the window's thread, which the worker waits for.
#pragma once

#include <QMetaObject>
#include <QObject>
#include <utility>
#include <vector>

#include "core/model/UserInteraction.h"

class CWorkerInteraction : public IUserInteraction {
public:
    // window: an object living on the user-interface thread.
    CWorkerInteraction(IUserInteraction& ui, QObject& window) : m_ui(ui), m_window(window) {}

    void ShowMessage(const std::string& text, MessageIcon icon) override {
        m_aMessages.emplace_back(text, icon);
    }
    Answer Ask(const std::string& text, MessageIcon icon, bool withCancel) override {
        return OnWindowThread([&] { return m_ui.Ask(text, icon, withCancel); });
    }
    std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) override {
        return OnWindowThread([&] { return m_ui.AskSaveFileName(request); });
    }
    std::optional<std::string> AskOpenFileName(const FileDialogRequest& request) override {
        return OnWindowThread([&] { return m_ui.AskOpenFileName(request); });
    }

    // After the worker has ended, on the user-interface thread: the messages it gave.
    void ShowMessages() {
        for (const auto& [text, icon] : m_aMessages)
            m_ui.ShowMessage(text, icon);
        m_aMessages.clear();
    }

private:
    template <typename F>
    auto OnWindowThread(F ask) -> decltype(ask()) {
        decltype(ask()) answer{};
        QMetaObject::invokeMethod(
            &m_window, [&] { answer = ask(); }, Qt::BlockingQueuedConnection);
        return answer;
    }

    IUserInteraction& m_ui;
    QObject& m_window;
    std::vector<std::pair<std::string, MessageIcon>> m_aMessages;
};
