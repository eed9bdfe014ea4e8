#include "edit/clipboard_guard.h"

#include <QGuiApplication>
#include <QMimeData>
#include <QTextCursor>
#include <QTextEdit>

#include "edit/clipboard_clearer.h"
#include "edit/program_settings.h"

namespace morvane {

ClipboardGuard::ClipboardGuard(QObject* parent) : QObject(parent) {
    ticks_.setInterval(1000);
    connect(&ticks_, &QTimer::timeout, this, &ClipboardGuard::Tick);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &ClipboardGuard::ClipboardChanged);
}

void ClipboardGuard::CopySecret(const QString& text) {
    QGuiApplication::clipboard()->setMimeData(SecretMimeData(text));
}

void ClipboardGuard::ClipboardChanged() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (IsSecretMimeData(clipboard->mimeData())) Watch(clipboard->text());
}

void ClipboardGuard::SetDelay(int seconds) { delay_ = std::max(seconds, kNever); }

namespace {
constexpr char kDelaySetting[] = "clipboard/clearAfterSeconds";
}  // namespace

int ClipboardGuard::KeptDelay() {
    return std::max(ProgramSettings().value(kDelaySetting, kDefaultDelaySeconds).toInt(), kNever);
}

void ClipboardGuard::KeepDelay(int seconds) { ProgramSettings().setValue(kDelaySetting, seconds); }

void ClipboardGuard::Watch(const QString& copied) {
    clipboard_.text.fill(QChar(0));
    clipboard_.text = copied;
    if (delay_ == kNever) return;
    clipboard_.left = delay_;
    ticks_.start();
    emit CountdownChanged(clipboard_.left);
}

void ClipboardGuard::WatchSelectionsOf(QTextEdit* list) {
    list_ = list;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection())
        connect(clipboard, &QClipboard::selectionChanged, this, &ClipboardGuard::SelectionChanged);
}

// The list puts its selected text into the primary selection as the mouse
// or the keyboard selects it; text from the option fields is no secret.
void ClipboardGuard::SelectionChanged() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->ownsSelection() || !list_) return;
    const QTextCursor cursor = list_->textCursor();
    const QString selected = clipboard->text(QClipboard::Selection);
    if (selected.isEmpty() || selected.size() != cursor.selectionEnd() - cursor.selectionStart() ||
        selected != cursor.selectedText().replace(QChar::ParagraphSeparator, u'\n'))
        return;
    selection_.text.fill(QChar(0));
    selection_.text = selected;
    if (delay_ == kNever) return;
    selection_.left = delay_;
    if (!ticks_.isActive()) ticks_.start();
}

void ClipboardGuard::Tick() {
    // The clipboard first: what a paste would bring goes before the
    // selection, and so does its problem where both have one.
    QString problem;
    bool clipboard_ended = false;
    if (clipboard_.left > 0) {
        if (--clipboard_.left > 0) emit CountdownChanged(clipboard_.left);
        else {
            problem = Release(QClipboard::Clipboard, clipboard_);
            clipboard_ended = true;
        }
    }
    if (selection_.left > 0 && --selection_.left == 0) {
        const QString selection_problem = Release(QClipboard::Selection, selection_);
        if (problem.isEmpty()) problem = selection_problem;
    }
    if (!problem.isEmpty()) emit ClearingFailed(problem);
    if (clipboard_ended) emit CountdownChanged(0);
    if (clipboard_.left == 0 && selection_.left == 0) ticks_.stop();
}

// A copy clears the primary selection too where it holds the same text.
QString ClipboardGuard::Release(QClipboard::Mode mode, Held& held) {
    held.left = 0;
    if (held.text.isEmpty()) return {};
    QList<QClipboard::Mode> modes{mode};
    if (mode == QClipboard::Clipboard) modes.append(QClipboard::Selection);
    QString first_problem;
    for (QClipboard::Mode held_in : modes) {
        const QString problem = ClearIfHeld(held_in, held.text);
        if (first_problem.isEmpty() && !problem.isEmpty()) first_problem = ClearingProblemMessage(held_in, problem);
    }
    held.text.fill(QChar(0));  // the program's own copy of the passwords
    held.text.clear();
    return first_problem;
}

void ClipboardGuard::ClearSelectionNow() {
    const QString problem = Release(QClipboard::Selection, selection_);
    if (!problem.isEmpty()) emit ClearingFailed(problem);
    if (clipboard_.left == 0) ticks_.stop();
}

void ClipboardGuard::ClearNow() {
    ticks_.stop();
    QString problem = Release(QClipboard::Clipboard, clipboard_);
    const QString selection_problem = Release(QClipboard::Selection, selection_);
    if (problem.isEmpty()) problem = selection_problem;
    if (!problem.isEmpty()) emit ClearingFailed(problem);
    emit CountdownChanged(0);
}

}  // namespace morvane
