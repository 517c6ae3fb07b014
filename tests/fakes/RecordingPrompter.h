#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Prompter.h"

namespace tessaly::testing {

// Records everything shown and answers from scripted queues; an unscripted question is
// answered No and an unscripted choice is cancelled.
class RecordingPrompter final : public Prompter {
public:
    struct Message {
        std::string text;
        MessageIcon icon;
        bool operator==(const Message&) const = default;
    };

    std::vector<Message> messages;  // questions are recorded here too, with the question icon
    int beeps = 0;
    std::deque<bool> yesNoAnswers;

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Message& m : messages) {
            texts.push_back(m.text);
        }
        return texts;
    }

    void ShowMessage(const std::string& text, MessageIcon icon) override {
        messages.push_back({text, icon});
    }
    bool AskYesNo(const std::string& text) override {
        messages.push_back({text, MessageIcon::Question});
        return Next(yesNoAnswers, false);
    }
    void Beep() override { ++beeps; }

private:
    template <typename T>
    static T Next(std::deque<T>& queue, T fallback) {
        if (queue.empty()) {
            return fallback;
        }
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

}  // namespace tessaly::testing
