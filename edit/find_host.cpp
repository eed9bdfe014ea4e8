#include "edit/find_host.h"

#include <cstring>

#include "platform/contracts/error_report.h"

namespace morvane {


void modFind::ShowFindDialog(RichTextBox* target, MessageWindow* window) {
    Trap("ShowFindDialog", [&] {
        operations_.search_position = target->SelStart() + 1;
        uint32_t flags = FR_DOWN;
        ShowDialog(target, window, flags, false);
    });
}

void modFind::ShowReplaceDialog(RichTextBox* target, MessageWindow* window) {
    Trap("ShowReplaceDialog", [&] {
        operations_.search_position = target->SelStart() + 1;
        uint32_t flags = FR_DOWN;
        ShowDialog(target, window, flags, true);
    });
}

void modFind::ShowDialog(RichTextBox* target, MessageWindow* window, uint32_t& flags, bool replace) {
    Trap("ShowDialog", [&] {
        find_text_ = Text(kFindTextLimit, U'\0');
        replace_text_ = Text(kFindTextLimit, U'\0');
        if (FINDMSGSTRING() == 0) {
            box_.Show("Cannot Find/Replace - Call to register message failed", kOkOnly, "");
            return;
        }
        // Never subclass the window twice: put the saved procedure back first.
        if (saved_proc_) {
            subclassed_->SetWindowProc(saved_proc_);
            saved_proc_ = nullptr;
        }
        operations_.SetTarget(target);
        subclassed_ = window;
        saved_proc_ = window->SetWindowProc(
            [this](unsigned m, uintptr_t w, intptr_t l) { return VB_WindowProc(m, w, l); });

        find_text_ = target->SelText();
        if (find_text_.size() > static_cast<size_t>(kFindTextLimit))
            throw RuntimeError(kErrSubscript,
                               "The selection is too long to search for: at most 1024 characters");
        std::string bytes = ToUtf8(find_text_);
        find_buffer_.assign(kFindBufferBytes, '\0');
        std::memcpy(find_buffer_.data(), bytes.data(), bytes.size());
        if (replace) {
            replace_buffer_.assign(kFindBufferBytes, '\0');
            std::memcpy(replace_buffer_.data(), bytes.data(), bytes.size());
        }
        record_ = FindReplaceRecord{};
        record_.hwndOwner = window;
        record_.Flags = flags;
        record_.lpstrFindWhat = find_buffer_.data();
        record_.wFindWhatLen = kFindTextLimit;
        record_.lpstrReplaceWith = replace ? replace_buffer_.data() : nullptr;
        record_.wReplaceWithLen = replace ? kFindTextLimit : 0;
        make_dialog_(record_, replace);  // no dialog: nothing more to do
    });
}

unsigned modFind::FINDMSGSTRING() {
    Trap("FINDMSGSTRING", [&] {
        if (message_ == 0) message_ = RegisterWindowMessage("commdlg_FindReplace");
    });
    return message_;
}

intptr_t modFind::VB_WindowProc(unsigned message, uintptr_t wparam, intptr_t lparam) {
    intptr_t result = 0;
    Trap("VB_WindowProc", [&] {
        if (message != message_ || message_ == 0) {
            result = saved_proc_ ? saved_proc_(message, wparam, lparam) : 0;
            return;
        }
        FindReplaceRecord record = *reinterpret_cast<const FindReplaceRecord*>(lparam);
        if (record.wFindWhatLen > 0) find_text_ = StringFromPointer(record.lpstrFindWhat, record.wFindWhatLen);
        if (record.wReplaceWithLen > 0)
            replace_text_ = StringFromPointer(record.lpstrReplaceWith, record.wReplaceWithLen);
        bool down = record.Flags & FR_DOWN;
        bool whole = record.Flags & FR_WHOLEWORD;
        bool match = record.Flags & FR_MATCHCASE;
        if (find_text_.empty() && (record.Flags & (FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL))) {
            box_.Beep();  // nothing to look for
        } else if (record.Flags & FR_FINDNEXT) {
            operations_.FindNext(find_text_, whole, match, down);
        } else if (record.Flags & FR_REPLACE) {
            operations_.Replace(find_text_, replace_text_, whole, match, false);
        } else if (record.Flags & FR_REPLACEALL) {
            operations_.Replace(find_text_, replace_text_, whole, match, true);
        }
        result = 0;
    });
    return result;
}

Text modFind::StringFromPointer(const char* pointer, int max_length) {
    if (!pointer || max_length <= 0) return {};
    // max_length counts characters; each takes at most four bytes.
    size_t length = strnlen(pointer, 4 * static_cast<size_t>(max_length));
    return FromUtf8(std::string_view(pointer, length));
}

}  // namespace morvane
