#pragma once
// The main window with its real dialogs, started and shown as the program
// shows it; message boxes are answered by script.
#include <QApplication>
#include <QTest>

#include "app/main_window.h"
#include "app/strength_bar.h"
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

// The strength line once the count for the options shown is done: a slow
// count is said to be going on meanwhile, as a machine under load may make
// any count.
inline QString SettledStrength(MainWindow& window) {
    QLabel* line = window.strengthBar->line();
    QTest::qWaitFor([line] { return line->text() != StrengthBar::kCounting; }, 60000);
    return line->text();
}

}  // namespace morvane
