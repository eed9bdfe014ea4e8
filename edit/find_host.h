#pragma once
// Opens the Find and Replace dialogs over the main window and carries out
// their requests, which arrive as a registered message to the window.
#include <functional>
#include <vector>

#include "edit/find_operations.h"
#include "platform/contracts/error_report.h"
#include "platform/contracts/window_messages.h"

namespace morvane {

class modFind {
public:
    // Opens the dialog for the record; false when no dialog could be made.
    using DialogMaker = std::function<bool(FindReplaceRecord& record, bool replace)>;

    modFind(MessageBoxService& box, DialogMaker make_dialog)
        : box_(box), operations_(box), make_dialog_(std::move(make_dialog)) {}

    void ShowFindDialog(RichTextBox* target, MessageWindow* window);
    void ShowReplaceDialog(RichTextBox* target, MessageWindow* window);
    void ShowDialog(RichTextBox* target, MessageWindow* window, uint32_t& flags, bool replace);
    unsigned FINDMSGSTRING();
    intptr_t VB_WindowProc(unsigned message, uintptr_t wparam, intptr_t lparam);
    static Text StringFromPointer(const char* pointer, int max_length);

    FindOperations& operations() { return operations_; }
    const Text& find_text() const { return find_text_; }
    const Text& replace_text() const { return replace_text_; }

private:
    template <class Body>
    void Trap(const char* name, Body&& body) {
        TrapErrors(box_, Owner::kModule, name, std::forward<Body>(body));
    }

    MessageBoxService& box_;
    FindOperations operations_;
    DialogMaker make_dialog_;
    Text find_text_, replace_text_;
    std::vector<char> find_buffer_, replace_buffer_;
    FindReplaceRecord record_;
    MessageWindow* subclassed_ = nullptr;
    WindowProc saved_proc_;
    unsigned message_ = 0;
};

}  // namespace morvane
