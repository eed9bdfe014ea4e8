#pragma once
// The window's size, position and maximised state between starts. A first
// start opens at the layout's size where the desktop puts it; no start
// opens with the title bar outside the screen's available area.
class QWidget;

namespace morvane {

// Before the window is shown.
void RestoreWindowPlace(QWidget* window);
void KeepWindowPlace(const QWidget* window);

}  // namespace morvane
