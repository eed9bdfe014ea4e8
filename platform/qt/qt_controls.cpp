#include "platform/qt/qt_controls.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qt/qt_pending_events.h"
#include "platform/base/process_guard.h"
#include "platform/qt/qt_text.h"
#include "platform/base/runtime_error.h"

namespace morvane {
namespace {

class FocusRelay : public QObject {
public:
    FocusRelay(QObject* parent, Control* control) : QObject(parent), control_(control) {}
    bool eventFilter(QObject*, QEvent* event) override {
        // A click that gave the focus also places the caret when the button
        // goes down; the focus handling runs again when it comes up, so what
        // it selected stays selected.
        if (event->type() == QEvent::MouseButtonRelease && focused_by_click_) {
            focused_by_click_ = false;
            if (control_->GotFocus) control_->GotFocus();
            return false;
        }
        if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut) return false;
        auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
        focused_by_click_ = event->type() == QEvent::FocusIn && reason == Qt::MouseFocusReason;
        auto& handler = event->type() == QEvent::FocusIn ? control_->GotFocus : control_->LostFocus;
        if (handler) handler();
        return false;
    }

private:
    Control* control_;
    bool focused_by_click_ = false;
};

}  // namespace

void RelayFocus(QWidget* widget, Control* control) {
    widget->installEventFilter(new FocusRelay(widget, control));
}

void FocusWidget(QWidget* widget) {
    if (!widget->isVisible() || !widget->isEnabled()) throw InvalidCallError();
    widget->setFocus(Qt::OtherFocusReason);
}

bool WidgetHasFocus(const QWidget* widget) { return widget->window()->focusWidget() == widget; }

// --- check box

QtCheckBox::QtCheckBox(QCheckBox* box) : box_(box) {
    RelayFocus(box, this);
    QObject::connect(box, &QCheckBox::stateChanged, box, [this](int) {
        if (!writing_ && Click) Click();
    });
}

int QtCheckBox::Value() const {
    switch (box_->checkState()) {
        case Qt::Checked: return 1;
        case Qt::PartiallyChecked: return 2;
        default: return 0;
    }
}

void QtCheckBox::SetValue(int value) {
    if (value < 0 || value > 2) throw InvalidCallError();
    if (value == Value()) return;
    writing_ = true;
    box_->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    writing_ = false;
    if (Click) Click();
}

// --- single-line text field

QtTextBox::QtTextBox(QLineEdit* edit) : edit_(edit) {
    RelayFocus(edit, this);
    QObject::connect(edit, &QLineEdit::textChanged, edit, [this](const QString&) {
        if (!writing_ && Change) Change();
    });
}

Text QtTextBox::GetText() const { return FromQt(edit_->text()); }

void QtTextBox::SetText(const Text& text) {
    QString q = ToQt(text);
    if (q == edit_->text()) return;
    writing_ = true;
    edit_->setText(q);
    edit_->setCursorPosition(0);
    writing_ = false;
    if (Change) Change();
}

int QtTextBox::SelStart() const {
    int u = edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition();
    return CodePointIndex(edit_->text(), u);
}

void QtTextBox::SetSelStart(int start) {
    if (start < 0) throw InvalidCallError();
    edit_->setCursorPosition(Utf16Index(edit_->text(), start));
}

int QtTextBox::SelLength() const {
    if (!edit_->hasSelectedText()) return 0;
    return static_cast<int>(FromQt(edit_->selectedText()).size());
}

void QtTextBox::SetSelLength(int length) {
    if (length < 0) throw InvalidCallError();
    QString t = edit_->text();
    int start = SelStart();
    int end = Utf16Index(t, start + length);
    int s16 = Utf16Index(t, start);
    edit_->setSelection(s16, end - s16);
}

Text QtTextBox::SelText() const {
    return FromQt(edit_->selectedText());
}

void QtTextBox::SetSelText(const Text& text) {
    Text all = GetText();
    int start = SelStart();
    int length = SelLength();
    all.replace(static_cast<size_t>(start), static_cast<size_t>(length), text);
    SetText(all);
    SetSelStart(start + static_cast<int>(text.size()));
}

Rgb TextColor(const QWidget* widget) {
    QColor c = widget->palette().color(QPalette::Text);
    return {c.red(), c.green(), c.blue()};
}

void SetTextColor(QWidget* widget, Rgb color) {
    QPalette p = widget->palette();
    p.setColor(QPalette::Text, QColor(color.r, color.g, color.b));
    widget->setPalette(p);
}

Rgb QtTextBox::ForeColor() const { return TextColor(edit_); }

void QtTextBox::SetForeColor(Rgb color) { SetTextColor(edit_, color); }

// --- enabling

void QtSwitch::SetEnabled(bool on) {
    if (widget_) widget_->setEnabled(on);
    if (action_) action_->setEnabled(on);
}

bool QtSwitch::Enabled() const {
    if (widget_) return widget_->isEnabled();
    if (action_) return action_->isEnabled();
    return false;
}

// --- spinner

QtSpinner::QtSpinner(QWidget* parent, TextBox* field, int64_t start, NextValue next)
    : QWidget(parent), field_(field), value_(start), next_(std::move(next)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_ = new QToolButton(this);
    down_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(b);
    }
    connect(up_, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
}

void QtSpinner::Step(int direction) {
    value_ = next_(field_->GetText(), value_, direction);
    field_->SetText(Ascii(std::to_string(value_)));
}

}  // namespace morvane
