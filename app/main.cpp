// Morvane Password Generator: the main window is the whole program.
#include <QApplication>
#include <QScreen>

#include "app/main_window.h"
#include "app/window_place.h"
#include "platform/base/large_buffers.h"
#include "platform/base/process_guard.h"
#include "platform/qt/qt_message_box.h"

int main(int argc, char** argv) {
    morvane::GuardProcess("morvane");
    morvane::KeepLargeBuffersMapped();
    QApplication app(argc, argv);
    morvane::IdentifyApplication();
    morvane::QtMessageBox box;
    morvane::MainWindow window(box);
    box.SetOwner(&window);
    window.Start();
    if (QScreen* screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    morvane::RestoreWindowPlace(&window);
    window.show();
    return app.exec();
}
