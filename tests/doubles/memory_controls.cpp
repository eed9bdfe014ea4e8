#include "tests/doubles/memory_controls.h"

#include <algorithm>

#include "platform/base/runtime_error.h"

namespace morvane {

void FocusScope::MoveTo(Control* target) {
    if (focused == target) return;
    Control* old = focused;
    focused = target;
    if (old && old->LostFocus) old->LostFocus();
    if (target && target->GotFocus) target->GotFocus();
}

void MemoryCheckBox::SetFocus() {
    if (!enabled_) throw InvalidCallError();
    scope_.MoveTo(this);
}

void MemoryCheckBox::SetValue(int value) {
    if (value < 0 || value > 2) throw InvalidCallError();
    if (value == value_) return;
    value_ = value;
    if (Click) Click();
}

void MemoryTextBox::SetFocus() {
    if (!enabled_) throw InvalidCallError();
    scope_.MoveTo(this);
}

void MemoryTextBox::SetText(const Text& text) {
    if (text == text_) return;
    text_ = text;
    sel_start_ = 0;
    sel_length_ = 0;
    if (Change) Change();
}

void MemoryTextBox::AppendText(const Text& text) {
    if (text.empty()) return;
    text_ += text;
    if (Change) Change();
}

void MemoryTextBox::SetSelStart(int start) {
    if (start < 0) throw InvalidCallError();
    sel_start_ = std::min<int>(start, static_cast<int>(text_.size()));
    sel_length_ = 0;
}

void MemoryTextBox::SetSelLength(int length) {
    if (length < 0) throw InvalidCallError();
    sel_length_ = std::min<int>(length, static_cast<int>(text_.size()) - sel_start_);
}

Text MemoryTextBox::SelText() const { return text_.substr(sel_start_, sel_length_); }

void MemoryTextBox::ReplaceRanges(const std::vector<TextRange>& ranges, const Text& text) {
    if (ranges.empty()) return;
    Text next;
    next.reserve(text_.size());
    size_t read = 0;
    for (const TextRange& r : ranges) {
        next.append(text_, read, static_cast<size_t>(r.start) - read);
        next += text;
        read = static_cast<size_t>(r.start + r.length);
    }
    next.append(text_, read, Text::npos);
    text_ = std::move(next);
    sel_start_ = 0;
    sel_length_ = 0;
    if (Change) Change();
}

void MemoryTextBox::SetSelText(const Text& text) {
    Text next = text_;
    next.replace(sel_start_, sel_length_, text);
    int caret = sel_start_ + static_cast<int>(text.size());
    bool changed = next != text_;
    text_ = std::move(next);
    sel_start_ = caret;
    sel_length_ = 0;
    if (changed && Change) Change();
}

}  // namespace morvane
