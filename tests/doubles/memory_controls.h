#pragma once
// Controls kept in memory, with the same semantics as the window's controls.
// They serve the benchmark and the tests that run without a window.
#include <vector>

#include "platform/contracts/controls.h"

namespace morvane {

// Which control of a window holds the keyboard focus.
struct FocusScope {
    Control* focused = nullptr;
    void MoveTo(Control* target);
};

class MemoryCheckBox : public CheckBox {
public:
    explicit MemoryCheckBox(FocusScope& scope) : scope_(scope) {}
    void SetFocus() override;
    bool HasFocus() const override { return scope_.focused == this; }
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool on) override { enabled_ = on; }
    int Value() const override { return value_; }
    void SetValue(int value) override;

private:
    FocusScope& scope_;
    bool enabled_ = true;
    int value_ = 0;
};

class MemoryTextBox : public RichTextBox {
public:
    explicit MemoryTextBox(FocusScope& scope, bool locked = false)
        : scope_(scope), locked_(locked) {}
    void SetFocus() override;
    bool HasFocus() const override { return scope_.focused == this; }
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool on) override { enabled_ = on; }

    Text GetText() const override { return text_; }
    const Text& TextRef() const { return text_; }
    void SetText(const Text& text) override;
    int SelStart() const override { return sel_start_; }
    void SetSelStart(int start) override;
    int SelLength() const override { return sel_length_; }
    void SetSelLength(int length) override;
    Text SelText() const override;
    void SetSelText(const Text& text) override;
    Rgb ForeColor() const override { return color_; }
    void SetForeColor(Rgb color) override { color_ = color; }
    bool Locked() const override { return locked_; }

    void AppendText(const Text& text) override;
    int TextLength() const override { return static_cast<int>(text_.size()); }
    const Text& TextView() const override { return text_; }
    void ReplaceRanges(const std::vector<TextRange>& ranges, const Text& text) override;
    FontSpec SelFont() const override { return font_; }
    void SetSelFont(const FontSpec& font) override { font_ = font; }
    int SelAlignment() const override { return alignment_; }
    void SetSelAlignment(int alignment) override { alignment_ = alignment; }

    // Typing by the user: replaces the selection as a key press would.
    void Type(const Text& text) { SetSelText(text); }

private:
    FocusScope& scope_;
    bool locked_;
    bool enabled_ = true;
    Text text_;
    int sel_start_ = 0;
    int sel_length_ = 0;
    Rgb color_;
    FontSpec font_;
    int alignment_ = kAlignLeft;
};

class MemoryProgressBar : public ProgressBar {
public:
    int Value() const override { return value_; }
    void SetValue(int value) override { value_ = value; }

private:
    int value_ = 0;
};

class MemorySwitch : public Enableable {
public:
    void SetEnabled(bool on) override { enabled_ = on; }
    bool Enabled() const override { return enabled_; }

private:
    bool enabled_ = false;
};

}  // namespace morvane
