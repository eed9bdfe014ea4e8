#pragma once
// Acts on the modal dialog that a command is about to show: the action runs
// inside the dialog's own event loop, as a user's input would.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace morvane {

// Runs `act` on the shown window of type T once there is one.
template <class T>
void WhenModal(std::function<void(T*)> act, int tries = 200) {
    QTimer::singleShot(10, [act, tries] {
        T* shown = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* candidate = qobject_cast<T*>(top); candidate && candidate->isVisible()) shown = candidate;
        if (shown) {
            act(shown);
        } else if (tries > 0) {
            WhenModal<T>(act, tries - 1);
        }
    });
}

}  // namespace morvane
