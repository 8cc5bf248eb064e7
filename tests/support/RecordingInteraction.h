// A user interaction for tests: records every message and question, and answers from a
// script given beforehand. Running out of scripted answers fails the test.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/model/UserInteraction.h"

class CRecordingInteraction : public IUserInteraction {
public:
    struct Message {
        std::string text;
        MessageIcon icon;
    };

    std::vector<Message> messages;                     // ShowMessage calls, in order
    std::vector<std::string> questions;                // Ask calls, in order
    std::vector<FileDialogRequest> fileRequests;       // AskSaveFileName / AskOpenFileName calls
    std::deque<Answer> answers;                        // answers to Ask, in order
    std::deque<std::optional<std::string>> fileNames;  // answers to file questions, in order

    void ShowMessage(const std::string& text, MessageIcon icon) override {
        messages.push_back({text, icon});
    }
    Answer Ask(const std::string& text, MessageIcon, bool) override {
        questions.push_back(text);
        return Next(answers, Answer::Cancel, "unexpected question: " + text);
    }
    std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) override {
        fileRequests.push_back(request);
        return Next(fileNames, {}, "unexpected file question: " + request.title);
    }
    std::optional<std::string> AskOpenFileName(const FileDialogRequest& request) override {
        fileRequests.push_back(request);
        return Next(fileNames, {}, "unexpected file question: " + request.title);
    }

    // The texts of all messages, for whole-sequence assertions.
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& m : messages)
            texts.push_back(m.text);
        return texts;
    }

private:
    // The next scripted answer; none left fails the test and gives none.
    template <typename T>
    static T Next(std::deque<T>& script, T none, const std::string& failure) {
        if (script.empty()) {
            ADD_FAILURE() << failure;
            return none;
        }
        T answer = script.front();
        script.pop_front();
        return answer;
    }
};
