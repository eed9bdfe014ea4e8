// A password of the list shown as a QR code in the real window: what a
// phone reads from the screen, the Wi-Fi join code, one line at a time,
// and the window going by itself, on Clear and at exit.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include <cstdio>
#include <memory>

#include "app/qr_window.h"
#include "edit/clipboard_guard.h"
#include "modal_driver.h"
#include "shown_window.h"

using namespace morvane;

namespace {

// The text a phone's reader finds in the code as the window paints it.
QString Scanned(QrWindow* shown) {
    QTemporaryDir dir;
    const QString picture = dir.filePath("code.png");
    shown->code()->grab().save(picture);
    std::string out;
    const std::string command = "timeout 30 zbarimg --raw -q '" + picture.toStdString() + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    char buffer[4096];
    while (pipe && fgets(buffer, sizeof buffer, pipe.get())) out += buffer;
    return QString::fromStdString(out).chopped(out.empty() ? 0 : 1);
}

QrWindow* Shown() {
    QApplication::processEvents();
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* qr = qobject_cast<QrWindow*>(top); qr && qr->isVisible()) return qr;
    return nullptr;
}

struct Window {
    ShownWindow shown;
    MainWindow& window = shown.window;
    Window() {
        window.clipboardGuard->SetDelay(30);
        window.txtNum->setText("5");
        window.chkVarLen->setChecked(false);
        window.txtMaxLen->setText("24");
        window.txtMinLen->setText("24");
        window.Generate();
    }
    QString PutCursorOnLine(int line) {
        QTextCursor cursor(window.rtfPasswords->document()->findBlockByNumber(line));
        cursor.movePosition(QTextCursor::Right);
        window.rtfPasswords->setTextCursor(cursor);
        return cursor.block().text();
    }
};

bool HaveZbar() { return std::system("command -v zbarimg >/dev/null") == 0; }

}  // namespace

TEST(QrCodeWindow, ThePasswordOfTheCursorsLineScansBackAndSoDoesItsWifiJoinCode) {
    if (!HaveZbar()) GTEST_SKIP() << "zbarimg (zbar-tools) is not installed";
    Window w;
    const QString password = w.PutCursorOnLine(2);
    w.window.mnuShowQr->trigger();
    QrWindow* shown = Shown();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(Scanned(shown), password);
    // Eight screen pixels a module at the least: a phone reads it from a
    // step away.
    EXPECT_GE(shown->code()->width(), 8 * 33);
    EXPECT_EQ(shown->lblCountdown->text(), "Closes in 30 s");

    shown->chkWifi->click();
    QTest::keyClicks(shown->txtNetwork, "Home;Net \"5G\"");
    QString escaped;  // as the Wi-Fi code's standard escapes a key
    for (const QChar c : password) escaped += (QString("\\;,:\"").contains(c) ? "\\" : "") + QString(c);
    EXPECT_EQ(Scanned(shown), "WIFI:T:WPA;S:Home\\;Net \\\"5G\\\";P:" + escaped + ";;") << password.toStdString();
}

TEST(QrCodeWindow, TheListsOwnMenuShowsItTooAndOnlyOneLineIsEverShown) {
    Window w;
    const QString password = w.PutCursorOnLine(0);
    // Right-click on the list: the menu holds the entry.
    bool offered = false;
    WhenModal<QMenu>([&](QMenu* menu) {
        for (QAction* action : menu->actions())
            if (action == w.window.mnuShowQr) offered = true;
        menu->close();
    });
    QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(10, 10), w.window.rtfPasswords->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(w.window.rtfPasswords->viewport(), &right);
    EXPECT_TRUE(offered);

    // Two lines selected: refused in the status bar, nothing shown.
    QTextCursor two = w.window.rtfPasswords->textCursor();
    two.movePosition(QTextCursor::Start);
    two.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor);
    two.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    w.window.rtfPasswords->setTextCursor(two);
    QTest::keyClick(w.window.rtfPasswords, Qt::Key_Q, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Shown(), nullptr);
    EXPECT_EQ(w.window.strengthBar->currentMessage(), "Show as QR Code: select one line only, or put the cursor on it");

    // A second line shown takes the first one's place.
    w.PutCursorOnLine(0);
    w.window.mnuShowQr->trigger();
    QPointer<QrWindow> first = Shown();
    w.PutCursorOnLine(1);
    w.window.mnuShowQr->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(first.isNull() || !first->isVisible());
    int open = 0;
    for (QWidget* top : QApplication::topLevelWidgets()) open += qobject_cast<QrWindow*>(top) && top->isVisible();
    EXPECT_EQ(open, 1);
}

TEST(QrCodeWindow, ItClosesAfterTheClipboardsDelayAndOnClear) {
    struct Case {
        const char* how;
        int delay;
        std::function<void(MainWindow&)> end;
    };
    for (const Case& c : {Case{"the delay runs out", 1, [](MainWindow&) {}},
                          {"Clear", 30, [](MainWindow& m) { m.mnuClear->trigger(); }}}) {
        SCOPED_TRACE(c.how);
        Window w;
        w.window.clipboardGuard->SetDelay(c.delay);
        w.PutCursorOnLine(0);
        w.window.mnuShowQr->trigger();
        QPointer<QrWindow> shown = Shown();
        ASSERT_FALSE(shown.isNull());
        c.end(w.window);
        EXPECT_TRUE(QTest::qWaitFor([&] { return shown.isNull(); }, 5000));
    }
}
