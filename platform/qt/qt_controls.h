#pragma once
// The controls of the program's window, on Qt widgets.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QTextEdit>
#include <QToolButton>
#include <QWidget>
#include <functional>
#include <optional>

#include "platform/contracts/controls.h"
#include "platform/qt/qt_pending_events.h"

namespace morvane {

// Passes a widget's focus changes within the window to a control's handlers;
// focus lost to another window, a menu or a message box is not a change.
void RelayFocus(QWidget* widget, Control* control);
// Moves the focus, refusing with error 5 when the widget cannot take it.
void FocusWidget(QWidget* widget);
bool WidgetHasFocus(const QWidget* widget);
// The colour of a widget's text.
Rgb TextColor(const QWidget* widget);
void SetTextColor(QWidget* widget, Rgb color);

class QtCheckBox : public CheckBox {
public:
    explicit QtCheckBox(QCheckBox* box);
    void SetFocus() override { FocusWidget(box_); }
    bool HasFocus() const override { return WidgetHasFocus(box_); }
    bool Enabled() const override { return box_->isEnabled(); }
    void SetEnabled(bool on) override { box_->setEnabled(on); }
    int Value() const override;
    void SetValue(int value) override;
    QCheckBox* widget() const { return box_; }

private:
    QCheckBox* box_;
    bool writing_ = false;
};

class QtTextBox : public TextBox {
public:
    explicit QtTextBox(QLineEdit* edit);
    void SetFocus() override { FocusWidget(edit_); }
    bool HasFocus() const override { return WidgetHasFocus(edit_); }
    bool Enabled() const override { return edit_->isEnabled(); }
    void SetEnabled(bool on) override { edit_->setEnabled(on); }
    Text GetText() const override;
    void SetText(const Text& text) override;
    int SelStart() const override;
    void SetSelStart(int start) override;
    int SelLength() const override;
    void SetSelLength(int length) override;
    Text SelText() const override;
    void SetSelText(const Text& text) override;
    Rgb ForeColor() const override;
    void SetForeColor(Rgb color) override;
    bool Locked() const override { return edit_->isReadOnly(); }
    QLineEdit* widget() const { return edit_; }

private:
    QLineEdit* edit_;
    bool writing_ = false;
};

class QtProgressBar : public ProgressBar {
public:
    explicit QtProgressBar(QProgressBar* bar) : bar_(bar) {}
    int Value() const override { return bar_->value(); }
    void SetValue(int value) override { bar_->setValue(value); }

private:
    QProgressBar* bar_;
};

// Enables a widget or a menu entry.
class QtSwitch : public Enableable {
public:
    explicit QtSwitch(QWidget* widget) : widget_(widget) {}
    explicit QtSwitch(QAction* action) : action_(action) {}
    void SetEnabled(bool on) override;
    bool Enabled() const override;

private:
    QPointer<QWidget> widget_;
    QPointer<QAction> action_;
};

// Up and down arrows bound to a number field: a press writes the next number
// into the field, as `next` finds it from the field's text, the spinner's
// last value and the direction (+1 or -1).
class QtSpinner : public QWidget {
    Q_OBJECT
public:
    using NextValue = std::function<int64_t(const Text& field_text, int64_t last_value, int direction)>;
    QtSpinner(QWidget* parent, TextBox* field, int64_t start, NextValue next);
    void Step(int direction);
    int64_t Value() const { return value_; }
    QToolButton* up() const { return up_; }
    QToolButton* down() const { return down_; }

private:
    TextBox* field_;
    int64_t value_;
    NextValue next_;
    QToolButton* up_;
    QToolButton* down_;
};


}  // namespace morvane
