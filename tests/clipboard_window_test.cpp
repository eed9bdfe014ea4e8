// Passwords copied from the list leave the clipboard by themselves.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QLabel>
#include <QTest>

#include "app/main_window.h"
#include "modal_driver.h"
#include "platform/scripted_message_box.h"

using namespace morvane;

namespace {

struct Window {
    ScriptedMessageBox box;
    bool ended = false;
    MainWindow window{WindowServices{.box = &box, .end_program = [this] { ended = true; }}};
    Window() {
        window.form().Form_Load();
        window.show();
        window.Generate();
        QApplication::processEvents();
    }
    void SetDelay(int seconds) {
        WhenModal<QInputDialog>([seconds](QInputDialog* d) {
            d->setIntValue(seconds);
            d->accept();
        });
        window.mnuClipboardDelay->trigger();
    }
    // Copies the list's first line with the Copy command.
    QString CopyFirstLine() {
        QTextCursor line(window.rtfPasswords->document());
        line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        window.rtfPasswords->setTextCursor(line);
        window.rtfPasswords->setFocus();
        window.mnuCopy->trigger();
        // As a selection with the mouse leaves it in the primary selection.
        if (QApplication::clipboard()->supportsSelection())
            QApplication::clipboard()->setText(line.selectedText(), QClipboard::Selection);
        return line.selectedText();
    }
    QString Countdown() const {
        return window.lblClipboardCountdown->isVisibleTo(&window) ? window.lblClipboardCountdown->text() : "";
    }
};

QString Clipboard(QClipboard::Mode mode = QClipboard::Clipboard) { return QApplication::clipboard()->text(mode); }

}  // namespace

TEST(ClipboardClearing, ACopiedPasswordIsClearedAfterTheDelayWhichTheWindowRemembers) {
    {
        Window w;
        EXPECT_EQ(w.window.clipboardGuard->delay(), 30);
        const QString copied = w.CopyFirstLine();
        ASSERT_FALSE(copied.isEmpty());
        EXPECT_EQ(Clipboard(), copied);
        EXPECT_EQ(w.Countdown(), "Clipboard clears in 30 s");
        w.SetDelay(2);
    }
    Window w;  // a new start keeps the choice
    EXPECT_EQ(w.window.clipboardGuard->delay(), 2);
    const QString copied = w.CopyFirstLine();
    EXPECT_EQ(w.Countdown(), "Clipboard clears in 2 s");
    // Waits as long as a busy machine may need, checking what the user sees.
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.Countdown() == "Clipboard clears in 1 s"; }, 5000));
    EXPECT_EQ(Clipboard(), copied);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Clipboard().isEmpty(); }, 5000));
    EXPECT_EQ(w.Countdown(), "");
    if (QApplication::clipboard()->supportsSelection()) EXPECT_EQ(Clipboard(QClipboard::Selection), "");
    w.SetDelay(30);
}

TEST(ClipboardClearing, WhatSomeoneElseCopiedMeanwhileStaysAndNeverMeansNever) {
    Window w;
    w.SetDelay(1);
    w.CopyFirstLine();
    QApplication::clipboard()->setText("copied by someone else");
    QTest::qWait(1500);
    EXPECT_EQ(Clipboard(), "copied by someone else");

    w.SetDelay(0);
    const QString copied = w.CopyFirstLine();
    EXPECT_EQ(w.Countdown(), "");
    QTest::qWait(1500);
    EXPECT_EQ(Clipboard(), copied);
    w.SetDelay(30);
}

TEST(ClipboardClearing, ClosingTheProgramClearsItsCopyAtOnce) {
    Window w;
    const QString copied = w.CopyFirstLine();
    ASSERT_EQ(Clipboard(), copied);
    w.window.mnuExit->trigger();  // answered Yes
    EXPECT_TRUE(w.ended);
    EXPECT_EQ(Clipboard(), "");
    if (QApplication::clipboard()->supportsSelection()) EXPECT_EQ(Clipboard(QClipboard::Selection), "");
}
