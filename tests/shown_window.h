#pragma once
// The main window with its real dialogs, started and shown as the program
// shows it; message boxes are answered by script.
#include <QApplication>

#include "app/main_window.h"
#include "tests/doubles/scripted_message_box.h"

namespace morvane {

struct ShownWindow {
    ScriptedMessageBox box;
    MainWindow window{WindowServices{.box = &box}};
    ShownWindow() {
        window.Start();
        window.show();
        window.activateWindow();
        QApplication::processEvents();
    }
};

}  // namespace morvane
