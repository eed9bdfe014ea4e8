#pragma once
// Passwords copied from the list do not stay on the clipboard: once the
// delay has run out, and when the program ends, the clipboard and the
// primary selection are cleared, each only while it still holds the copy.
#include <QObject>
#include <QString>
#include <QTimer>

namespace morvane {

class ClipboardGuard : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultDelaySeconds = 30;
    static constexpr int kNever = 0;

    explicit ClipboardGuard(QObject* parent = nullptr);
    int delay() const { return delay_; }
    void SetDelay(int seconds);  // kNever: copies stay
    // Starts counting down for the text just copied.
    void Watch(const QString& copied);
    // Clears what still holds the copy, at once.
    void ClearNow();
    int SecondsLeft() const { return left_; }

signals:
    // Every second while counting, and 0 once it is over.
    void CountdownChanged(int seconds_left);

private:
    void Tick();
    QTimer ticks_;
    QString copied_;
    int left_ = 0;
    int delay_ = kDefaultDelaySeconds;
};

}  // namespace morvane
