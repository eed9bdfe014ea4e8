#pragma once
// Clears a password from the clipboard or the primary selection and makes
// sure it is gone, as any other program on the desktop would read it.
//
// On X11 the program's own clear is enough. A Wayland compositor may refuse
// a clear that no fresh key or click stands behind, and GNOME's keeps a
// copy of what a program drops from its clipboard to publish in its place;
// so on Wayland the clipboard is replaced from outside by wl-copy --clear
// (which gets the focus for an instant where the compositor asks for it)
// and read back with wl-paste.
#include <QClipboard>
#include <QMimeData>
#include <QString>

namespace morvane {

// Copied text marked as a secret for clipboard managers, plain text only.
QMimeData* SecretMimeData(const QString& text);
// Whether `data` was made by SecretMimeData in this program.
bool IsSecretMimeData(const QMimeData* data);

// Empty when `held` is no longer in `mode` (cleared now, or replaced by
// someone else before); else what kept it there, in plain words.
QString ClearIfHeld(QClipboard::Mode mode, const QString& held);

// The Wayland half of ClearIfHeld, for a program without a window: clears
// `mode` from outside while another client reads `held` there; empty, or
// why it could not be cleared or checked.
QString ClearWaylandIfHeld(QClipboard::Mode mode, const QString& held);
// Puts `text` on the Wayland clipboard from outside (wl-copy serves it in
// the background), for a program without a window, which the compositor
// would not let own it; empty, or why not.
QString CopyOnWayland(const QString& text);

// "The clipboard could not be cleared: REASON" for `mode`.
QString ClearingProblemMessage(QClipboard::Mode mode, const QString& reason);

}  // namespace morvane
