#pragma once
// The controls the program's procedures work with. Writing a value or text
// the control does not already hold runs its change handler at once, nested
// inside the writer; writing the value it already holds raises nothing.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/text.h"

namespace morvane {

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct FontSpec {
    std::string name = "Verdana";
    double size = 8.25;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    Rgb color;  // the text's colour
    bool operator==(const FontSpec&) const = default;
};

// A stretch of a text: 0-based start and length.
struct TextRange {
    int start = 0;
    int length = 0;
};

enum Alignment : int { kAlignLeft = 0, kAlignRight = 1, kAlignCenter = 2 };

class Control {
public:
    virtual ~Control() = default;
    // Throws RuntimeError 5 when the control cannot take the focus now.
    virtual void SetFocus() = 0;
    virtual bool HasFocus() const = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool on) = 0;

    std::function<void()> GotFocus;
    std::function<void()> LostFocus;
};

class CheckBox : public Control {
public:
    virtual int Value() const = 0;           // 0 unchecked, 1 checked, 2 grayed
    virtual void SetValue(int value) = 0;    // runs Click when the value changes
    std::function<void()> Click;
};

class TextBox : public Control {
public:
    virtual Text GetText() const = 0;
    virtual void SetText(const Text& text) = 0;  // runs Change when the text changes
    virtual int SelStart() const = 0;
    virtual void SetSelStart(int start) = 0;      // also empties the selection
    virtual int SelLength() const = 0;
    virtual void SetSelLength(int length) = 0;
    virtual Text SelText() const = 0;
    virtual void SetSelText(const Text& text) = 0;  // replaces the selection
    virtual Rgb ForeColor() const = 0;
    virtual void SetForeColor(Rgb color) = 0;
    virtual bool Locked() const = 0;                // read-only for the user

    std::function<void()> Change;
};

// The password list: plain text whose line breaks are CR LF, positions
// counting a CR LF as two characters.
class RichTextBox : public TextBox {
public:
    virtual void AppendText(const Text& text) = 0;  // old text followed by `text`
    virtual int TextLength() const = 0;
    // The whole text without a copy, valid until the list next changes.
    virtual const Text& TextView() const = 0;
    // Replaces each range (ascending, not overlapping) by `text` in one edit
    // that is undone at once; the text around them keeps its format.
    virtual void ReplaceRanges(const std::vector<TextRange>& ranges, const Text& text) = 0;
    virtual FontSpec SelFont() const = 0;
    virtual void SetSelFont(const FontSpec& font) = 0;
    virtual int SelAlignment() const = 0;
    virtual void SetSelAlignment(int alignment) = 0;
    // About so many characters are about to be appended (a run); the list
    // may make room for them at once.
    virtual void ExpectAppends(int64_t /*characters*/) {}
};

class ProgressBar {
public:
    virtual ~ProgressBar() = default;
    virtual int Value() const = 0;
    virtual void SetValue(int value) = 0;  // 0 to 100
};

// Anything the start-up state enables: frames, buttons, menus, the toolbar.
class Enableable {
public:
    virtual ~Enableable() = default;
    virtual void SetEnabled(bool on) = 0;
    virtual bool Enabled() const = 0;
};

}  // namespace morvane
