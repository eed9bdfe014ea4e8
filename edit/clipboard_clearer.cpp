#include "edit/clipboard_clearer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QProcess>

namespace morvane {

namespace {

// Clipboard managers (KDE's, and those that follow it) keep text with this
// type out of their history.
constexpr char kSecretHint[] = "x-kde-passwordManagerHint";
// Marks the program's own secret copies (another program's hint is its own
// business).
constexpr char kOwnSecret[] = "morvaneSecret";
// wl-copy and wl-paste answer at once; a compositor that never does is
// not waited for longer than this.
constexpr int kToolWaitMs = 3000;
// How long the compositor's word that the program's copy was replaced
// may take to arrive.
constexpr int kReplacedWaitMs = 1000;

bool NativeWayland() { return QGuiApplication::platformName().startsWith("wayland"); }
bool WaylandSession() { return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"); }

QStringList PrimaryArgument(QClipboard::Mode mode) {
    return mode == QClipboard::Selection ? QStringList{"--primary"} : QStringList{};
}

enum class ToolRun { kEnded, kNotFound, kNoAnswer };

// Runs one of wl-clipboard's tools to its end, or gives up on it.
ToolRun RunTool(QProcess& tool, const QString& program, const QStringList& arguments) {
    tool.start(program, arguments);
    if (!tool.waitForStarted(kToolWaitMs)) return ToolRun::kNotFound;
    tool.closeWriteChannel();
    if (tool.waitForFinished(kToolWaitMs)) return ToolRun::kEnded;
    tool.kill();
    tool.waitForFinished(kToolWaitMs);
    return ToolRun::kNoAnswer;
}

bool Succeeded(const QProcess& tool) { return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0; }

enum class Seen { kHeld, kNotHeld, kNoTool, kNoAnswer };

// What another client of the compositor reads.
Seen SeenOnWayland(QClipboard::Mode mode, const QString& held) {
    QProcess paste;
    switch (RunTool(paste, "wl-paste", PrimaryArgument(mode) + QStringList{"--no-newline", "--type", "text"})) {
    case ToolRun::kNotFound: return Seen::kNoTool;
    case ToolRun::kNoAnswer: return Seen::kNoAnswer;
    case ToolRun::kEnded: break;
    }
    QByteArray read = paste.readAllStandardOutput();
    const bool same = Succeeded(paste) && read == held.toUtf8();
    read.fill('\0');
    return same ? Seen::kHeld : Seen::kNotHeld;
}

// Replaces the clipboard with nothing from outside the program.
bool ClearFromOutside(QClipboard::Mode mode) {
    QProcess copy;
    return RunTool(copy, "wl-copy", PrimaryArgument(mode) + QStringList{"--clear"}) == ToolRun::kEnded &&
           Succeeded(copy);
}

bool Owns(QClipboard::Mode mode) {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return mode == QClipboard::Selection ? clipboard->ownsSelection() : clipboard->ownsClipboard();
}

bool OwnsWith(QClipboard::Mode mode, const QString& held) {
    return Owns(mode) && QGuiApplication::clipboard()->text(mode) == held;
}

void WaitUntilReplaced(QClipboard::Mode mode) {
    const QDeadlineTimer deadline(kReplacedWaitMs);
    while (Owns(mode) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
}

constexpr char kMissingTools[] = "wl-copy and wl-paste (wl-clipboard) are needed on Wayland and were not found";
constexpr char kNoAnswer[] = "the desktop did not answer wl-paste, so the clear could not be checked";
constexpr char kKept[] = "the desktop kept the password there";
constexpr char kNotTaken[] = "the desktop did not take it";

}  // namespace

QMimeData* SecretMimeData(const QString& text) {
    auto* data = new QMimeData;
    data->setText(text);
    data->setData(kSecretHint, "secret");
    data->setProperty(kOwnSecret, true);
    return data;
}

bool IsSecretMimeData(const QMimeData* data) { return data && data->property(kOwnSecret).toBool(); }

QString ClearIfHeld(QClipboard::Mode mode, const QString& held) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (held.isEmpty() || (mode == QClipboard::Selection && !clipboard->supportsSelection())) return {};
    if (NativeWayland()) {
        // The program's own clear would be refused without a fresh key or
        // click, and the source it drops would be republished.
        // Not the program's any more: left alone only where it is seen to
        // hold something else.
        if (!OwnsWith(mode, held) && SeenOnWayland(mode, held) == Seen::kNotHeld) return {};
        ClearFromOutside(mode);
        WaitUntilReplaced(mode);
        if (OwnsWith(mode, held)) clipboard->clear(mode);
    } else {
        if (!OwnsWith(mode, held) && clipboard->text(mode) != held) return {};
        clipboard->clear(mode);
        if (clipboard->text(mode) == held) return QString::fromLatin1(kKept);
    }
    if (!WaylandSession()) return {};
    // What Wayland programs read: XWayland passes the X clipboard on. Through
    // XWayland the clear was checked on X already: only a password still
    // read on Wayland is a problem there, not a tool missing or silent.
    const QString problem = ClearWaylandIfHeld(mode, held);
    if (!NativeWayland() && problem != QLatin1String(kKept)) return {};
    return problem;
}

QString ClearWaylandIfHeld(QClipboard::Mode mode, const QString& held) {
    Seen seen = SeenOnWayland(mode, held);
    if (seen == Seen::kHeld) {
        ClearFromOutside(mode);
        seen = SeenOnWayland(mode, held);
    }
    switch (seen) {
    case Seen::kHeld: return QString::fromLatin1(kKept);
    case Seen::kNoTool: return QString::fromLatin1(kMissingTools);
    case Seen::kNoAnswer: return QString::fromLatin1(kNoAnswer);
    case Seen::kNotHeld: break;
    }
    return {};
}

QString CopyOnWayland(const QString& text) {
    QProcess copy;
    // What stays behind to serve the text holds no pipe of this program.
    copy.setStandardOutputFile(QProcess::nullDevice());
    copy.setStandardErrorFile(QProcess::nullDevice());
    copy.start("wl-copy", {"--type", "text/plain"});
    if (!copy.waitForStarted(kToolWaitMs)) return QString::fromLatin1(kMissingTools);
    QByteArray utf8 = text.toUtf8();
    copy.write(utf8);
    utf8.fill('\0');
    copy.closeWriteChannel();
    // wl-copy goes on serving the text in the background once it holds it.
    const bool ended = copy.waitForFinished(kToolWaitMs);
    if (!ended) {
        copy.kill();
        copy.waitForFinished(kToolWaitMs);
    }
    if (ended && SeenOnWayland(QClipboard::Clipboard, text) == Seen::kHeld) return {};
    return QString::fromLatin1(kNotTaken);
}

QString ClearingProblemMessage(QClipboard::Mode mode, const QString& reason) {
    return QString("The %1 could not be cleared: %2.")
        .arg(mode == QClipboard::Selection ? "primary selection" : "clipboard", reason);
}

}  // namespace morvane
