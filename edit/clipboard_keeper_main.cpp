// morvane-clipboard: keeps one password on the clipboard for morvane-cli,
// which has no window, and clears it once its delay has run out, only
// while the clipboard still holds it.
//
//   morvane-clipboard [SECONDS]   the password on standard input
//
// Answers on standard output with one line, "copied SECONDS" (the delay;
// 0: never cleared) or "failed REASON", then stays behind on its own until
// the clear. No delay given: the window's.
#include <unistd.h>

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "edit/clipboard_clearer.h"
#include "edit/clipboard_guard.h"
#include "options/cli_options.h"
#include "platform/base/user_file.h"
#include "platform/base/wiped_memory.h"

using namespace morvane;

namespace {

constexpr int kUsage = 2;
// More than any password morvane-cli makes; what is longer is refused.
constexpr size_t kLongestInput = 64 * 1024;

// The one answer to morvane-cli; from then on nothing is written anywhere,
// so that a shell that reads the caller's output does not wait for this.
void Answer(const QByteArray& line) {
    const QByteArray whole = line + '\n';
    (void)!::write(STDOUT_FILENO, whole.constData(), static_cast<size_t>(whole.size()));
    std::freopen("/dev/null", "w", stdout);
}

int DelayOf(int argc, char** argv) {
    if (argc < 2) return ClipboardGuard::KeptDelay();
    char* end = nullptr;
    const long seconds = std::strtol(argv[1], &end, 10);
    if (*argv[1] == '\0' || *end != '\0' || seconds < 0 || seconds > kMostClearAfterSeconds) return -1;
    return static_cast<int>(seconds);
}

// With an X display (XWayland too) the clipboard is the program's own, with
// the secret hint; a Wayland client without a window cannot own it, so
// there wl-copy serves it.
bool OnX11() { return !qEnvironmentVariableIsEmpty("DISPLAY"); }

int KeepOnWayland(int argc, char** argv, const QString& password, int delay) {
    QGuiApplication app(argc, argv);  // offscreen: only for the tools it runs
    if (const QString problem = CopyOnWayland(password); !problem.isEmpty()) {
        Answer("failed " + problem.toUtf8());
        return 1;
    }
    Answer("copied " + QByteArray::number(delay));
    if (delay == ClipboardGuard::kNever) return 0;
    ::sleep(static_cast<unsigned>(delay));
    ClearWaylandIfHeld(QClipboard::Clipboard, password);
    return 0;
}

int KeepOnX11(int argc, char** argv, const QString& password, int delay) {
    QGuiApplication app(argc, argv);
    QClipboard* clipboard = QGuiApplication::clipboard();
    ClipboardGuard::CopySecret(password);
    if (!clipboard->ownsClipboard()) {
        Answer("failed the desktop did not take it");
        return 1;
    }
    Answer("copied " + QByteArray::number(delay));
    // Replaced by someone else: nothing left to clear.
    QObject::connect(clipboard, &QClipboard::changed, &app, [&](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard && !clipboard->ownsClipboard()) app.quit();
    });
    if (delay != ClipboardGuard::kNever)
        QTimer::singleShot(delay * 1000, &app, [&] {
            ClearIfHeld(QClipboard::Clipboard, password);
            app.quit();
        });
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    std::string input;
    const bool whole = ReadAtMost(STDIN_FILENO, kLongestInput, input) && input.size() <= kLongestInput;
    QString password = QString::fromStdString(input);
    Wipe(input);
    const int delay = DelayOf(argc, argv);
    if (delay < 0 || !whole || password.isEmpty()) {
        Answer("failed usage: morvane-clipboard [SECONDS] < password");
        return kUsage;
    }
    const bool x11 = OnX11();
    if (!x11 && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        Answer("failed no desktop to copy to: neither DISPLAY nor WAYLAND_DISPLAY is set");
        return kUsage;
    }
    qputenv("QT_QPA_PLATFORM", x11 ? "xcb" : "offscreen");
    const int code = x11 ? KeepOnX11(argc, argv, password, delay) : KeepOnWayland(argc, argv, password, delay);
    password.fill(QChar(0));
    return code;
}
