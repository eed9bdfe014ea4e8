#pragma once
// Acts on the modal dialog that a command is about to show: the action runs
// inside the dialog's own event loop, as a user's input would.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace morvane {

// Runs `act` on the next modal widget of type T once it is shown.
template <class T>
void WhenModal(std::function<void(T*)> act, int tries = 200) {
    QTimer::singleShot(10, [act, tries] {
        if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget()); modal && modal->isVisible()) {
            act(modal);
        } else if (tries > 0) {
            WhenModal<T>(act, tries - 1);
        }
    });
}

}  // namespace morvane
