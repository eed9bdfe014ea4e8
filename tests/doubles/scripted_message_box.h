#pragma once
// A message box service answered by script: it records every box shown and
// answers from a queue (OK or Yes when the queue is empty).
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/contracts/message_box.h"

namespace morvane {

struct ShownBox {
    std::string text;
    int buttons;
    std::string title;
};

class ScriptedMessageBox : public MessageBoxService {
public:
    int Show(const std::string& text, int buttons, const std::string& title) override {
        shown.push_back({text, buttons, title.empty() ? kAppTitle : title});
        if (on_show) on_show(shown.back());
        if (!answers.empty()) {
            int answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return (buttons & 7) == kYesNo ? kResultYes : kResultOk;
    }
    void Beep() override { ++beeps; }

    std::deque<int> answers;
    std::vector<ShownBox> shown;
    std::function<void(const ShownBox&)> on_show;
    int beeps = 0;
};

}  // namespace morvane
