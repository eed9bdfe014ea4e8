#include "app/window_place.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

#include "edit/program_settings.h"

namespace morvane {

namespace {

constexpr char kGeometrySetting[] = "window/geometry";

QRect AvailableArea(const QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// Whether the whole window fits where it stands.
bool Fits(const QWidget* window) { return AvailableArea(window).contains(window->frameGeometry()); }

// Moves the window into the screen's available area as far as it fits,
// its title bar (and with it the Generate button) first where it does not.
void KeepOnScreen(QWidget* window) {
    const QRect available = AvailableArea(window);
    if (available.isEmpty()) return;
    const QRect frame = window->frameGeometry();
    QPoint at = frame.topLeft();
    at.setX(std::max(std::min(at.x(), available.right() + 1 - frame.width()), available.left()));
    at.setY(std::max(std::min(at.y(), available.bottom() + 1 - frame.height()), available.top()));
    window->move(at);
}

}  // namespace

void RestoreWindowPlace(QWidget* window) {
    const QByteArray kept = ProgramSettings().value(kGeometrySetting).toByteArray();
    if (!kept.isEmpty()) window->restoreGeometry(kept);
    // Where it fits, it stays where it was or, the first time, where the
    // desktop puts it.
    if (!Fits(window)) KeepOnScreen(window);
}

void KeepWindowPlace(const QWidget* window) { ProgramSettings().setValue(kGeometrySetting, window->saveGeometry()); }

}  // namespace morvane
