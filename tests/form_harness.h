#pragma once
// The main window's procedures on controls kept in memory, with scripted
// message boxes, started as the program starts.
#include <gtest/gtest.h>

#include "app/memory_main_controls.h"
#include "platform/scripted_message_box.h"

namespace morvane {

struct FormHarness {
    MemoryMainControls ui;
    ScriptedMessageBox box;
    std::chrono::system_clock::time_point clock = std::chrono::system_clock::now();
    bool manual_clock = false;
    frmMain form{ui.Bind(), MainEnvironment{&box, {}, [this] {
                                                 return manual_clock ? clock : std::chrono::system_clock::now();
                                             }}};

    FormHarness() { form.Form_Load(); }

    std::string Status() const { return ToUtf8(ui.txtStatus.TextRef()); }
    std::string List() const { return ToUtf8(ui.rtfPasswords.TextRef()); }
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::string all = List();
        size_t at = 0;
        while (true) {
            size_t end = all.find("\r\n", at);
            if (end == std::string::npos) break;
            lines.push_back(all.substr(at, end - at));
            at = end + 2;
        }
        return lines;
    }
    void Only(std::initializer_list<MemoryCheckBox*> on) {
        for (MemoryCheckBox* b : {&ui.chkLetter, &ui.chkNumber, &ui.chkSpecial, &ui.chkOtherIn})
            b->SetValue(0);
        for (MemoryCheckBox* b : on) b->SetValue(1);
    }
    const Control* Focused() const { return ui.focus.focused; }
};

inline Text T(const char* utf8) { return FromUtf8(utf8); }

}  // namespace morvane
