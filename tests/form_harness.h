#pragma once
// The main window's procedures on controls kept in memory, with scripted
// message boxes and dialogs, started as the program starts.
#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "tests/doubles/memory_main_controls.h"
#include "tests/doubles/scripted_message_box.h"

namespace morvane {

// Dialogs answered by script; an empty script cancels.
struct ScriptedDialogs : CommonDialog {
    std::deque<SaveAnswer> saves;
    std::deque<int> copies;
    std::deque<FontSpec> fonts;
    std::vector<SaveRequest> save_requests;
    std::vector<FontSpec> font_requests;
    SaveAnswer ShowSave(const SaveRequest& request) override {
        save_requests.push_back(request);
        if (saves.empty()) throw CancelError();
        SaveAnswer a = saves.front();
        saves.pop_front();
        return a;
    }
    int ShowPrinter() override {
        if (copies.empty()) throw CancelError();
        int n = copies.front();
        copies.pop_front();
        return n;
    }
    FontSpec ShowFont(const FontSpec& initial) override {
        font_requests.push_back(initial);
        if (fonts.empty()) throw CancelError();
        FontSpec f = fonts.front();
        fonts.pop_front();
        return f;
    }
};

// Saved files kept in memory; `failure` makes every save fail with that reason.
struct MemoryFiles : FileSaver {
    std::map<std::string, std::string> files;
    std::string failure;
    std::string Save(const std::string& path, const std::string& bytes) override {
        if (!failure.empty()) return failure;
        files[path] = bytes;
        return {};
    }
};

// A printer that writes what it is told as lines of text.
struct RecordingPrinter : Printer {
    std::vector<std::string> log;  // "font 10 bold", "text ...", "zone", "line", "page", "end"
    bool fail_on_text = false;
    void SetFace(PrintFace face) override { log.push_back(face == PrintFace::kList ? "face list" : "face printer"); }
    void SetFont(double points, bool bold) override {
        log.push_back("font " + std::to_string(static_cast<int>(points)) + (bold ? " bold" : ""));
    }
    void Print(const Text& text) override {
        if (fail_on_text) throw RuntimeError(482, "Printer error");
        log.push_back("text " + ToUtf8(text));
    }
    void NextZone() override { log.push_back("zone"); }
    void EndLine() override { log.push_back("line"); }
    void NewPage() override { log.push_back("page"); }
    void EndDoc() override { log.push_back("end"); }
};

struct FormHarness {
    MemoryMainControls ui;
    ScriptedMessageBox box;
    ScriptedDialogs dialogs;
    RecordingPrinter printer;
    MemoryFiles files;
    std::chrono::system_clock::time_point clock = std::chrono::system_clock::now();
    bool manual_clock = false;
    frmMain form{ui.Bind(), Environment()};

    FormHarness() { form.Form_Load(); }

    MainEnvironment Environment() {
        MainEnvironment env;
        env.box = &box;
        env.dialogs = &dialogs;
        env.printer = &printer;
        env.files = &files;
        env.documents_folder = "/tmp";
        env.now = [this] { return manual_clock ? clock : std::chrono::system_clock::now(); };
        return env;
    }

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
