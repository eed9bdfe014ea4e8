#pragma once
// Passwords copied from the list do not stay on the clipboard, and lines
// selected in the list do not stay in the primary selection (which a
// middle click pastes): once the delay has run out, counted from the copy
// or the selection, and when the program ends, each is cleared, only while
// it still holds the text. Whatever route put it there (a command, a key
// of the list, its menu), a copy marked secret is counted down.
#include <QClipboard>
#include <QObject>
#include <QString>
#include <QTimer>

class QTextEdit;

namespace morvane {

class ClipboardGuard : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultDelaySeconds = 30;
    static constexpr int kNever = 0;

    explicit ClipboardGuard(QObject* parent = nullptr);
    int delay() const { return delay_; }
    void SetDelay(int seconds);  // kNever: copies stay
    // The delay the user chose, kept for the window and morvane-cli.
    static int KeptDelay();
    static void KeepDelay(int seconds);
    // Puts `text` on the clipboard as a secret and counts it down.
    static void CopySecret(const QString& text);
    // Text selected in `list` that goes to the primary selection is counted
    // down as well.
    void WatchSelectionsOf(QTextEdit* list);
    // Clears what still holds the copy or the list's selection, at once.
    void ClearNow();
    // Clears the primary selection at once if it holds the list's text.
    void ClearSelectionNow();
    int SecondsLeft() const { return clipboard_.left; }

signals:
    // Every second while the clipboard's copy is counted down, and 0 once
    // it is over.
    void CountdownChanged(int seconds_left);
    // A clear that did not take: the whole message, in plain words.
    void ClearingFailed(const QString& message);

private:
    struct Held {
        QString text;  // the program's own copy, to tell whether it is still there
        int left = 0;
    };
    void ClipboardChanged();
    void Watch(const QString& copied);
    void Tick();
    void SelectionChanged();
    // Clears `mode` if it still holds `held` and forgets it; the message
    // when the clear did not take, else empty.
    QString Release(QClipboard::Mode mode, Held& held);
    QTimer ticks_;
    Held clipboard_, selection_;
    QTextEdit* list_ = nullptr;
    int delay_ = kDefaultDelaySeconds;
};

}  // namespace morvane
