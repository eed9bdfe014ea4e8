#include "edit/clipboard_guard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace morvane {

ClipboardGuard::ClipboardGuard(QObject* parent) : QObject(parent) {
    ticks_.setInterval(1000);
    connect(&ticks_, &QTimer::timeout, this, &ClipboardGuard::Tick);
}

void ClipboardGuard::SetDelay(int seconds) { delay_ = std::max(seconds, kNever); }

void ClipboardGuard::Watch(const QString& copied) {
    copied_ = copied;
    if (delay_ == kNever) return;
    left_ = delay_;
    ticks_.start();
    emit CountdownChanged(left_);
}

void ClipboardGuard::Tick() {
    if (--left_ > 0) {
        emit CountdownChanged(left_);
        return;
    }
    ClearNow();
}

void ClipboardGuard::ClearNow() {
    ticks_.stop();
    left_ = 0;
    if (!copied_.isEmpty()) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        for (QClipboard::Mode mode : {QClipboard::Clipboard, QClipboard::Selection}) {
            if (mode == QClipboard::Selection && !clipboard->supportsSelection()) continue;
            if (clipboard->text(mode) == copied_) clipboard->clear(mode);
        }
        copied_.fill(QChar(0));  // the program's own copy of the passwords
        copied_.clear();
    }
    emit CountdownChanged(0);
}

}  // namespace morvane
