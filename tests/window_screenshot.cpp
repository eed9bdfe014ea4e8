// Shows the real window, grabs it from the screen and checks that it is
// not blank. Usage: morvane_screenshot out.png   (run under a display, e.g. Xvfb)
#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QSet>
#include <QThread>
#include <cstdio>

#include "app/main_window.h"
#include "tests/doubles/scripted_message_box.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const char* out = argc > 1 ? argv[1] : "morvane.png";
    morvane::ScriptedMessageBox box;
    morvane::MainWindow window(box);
    window.Start();
    window.show();
    window.form().cmdGenerate_Click();
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(25);
    }
    QImage shot = window.screen()->grabWindow(window.winId()).toImage();
    if (shot.isNull() || shot.width() < 600) shot = window.grab().toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < shot.height(); y += 3)
        for (int x = 0; x < shot.width(); x += 3) colours.insert(shot.pixel(x, y));
    shot.save(out);
    std::printf("%s: %dx%d, %lld colours\n", out, shot.width(), shot.height(),
                static_cast<long long>(colours.size()));
    return colours.size() >= 8 ? 0 : 1;
}
