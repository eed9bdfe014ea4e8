// Passwords copied from the list leave the clipboard by themselves.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTemporaryDir>
#include <QTextEdit>

#include <functional>
#include <memory>

#include "app/main_window.h"
#include "app/strength_bar.h"
#include "modal_driver.h"
#include "tests/doubles/scripted_message_box.h"

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

namespace {

// The ways text of the list reaches the clipboard, with the list's first
// line selected and the focus in the list.
struct CopyRoute {
    const char* name;
    bool cuts;
    std::function<void(MainWindow&)> take;
};

void TriggerListMenuEntry(MainWindow& window, const char* entry) {
    std::unique_ptr<QMenu> menu(window.rtfPasswords->createStandardContextMenu());
    QAction* action = menu->findChild<QAction*>(entry);
    ASSERT_NE(action, nullptr) << entry;
    action->trigger();
}

const CopyRoute kCopyRoutes[] = {
    {"Edit > Copy", false, [](MainWindow& w) { w.mnuCopy->trigger(); }},
    {"Edit > Cut", true, [](MainWindow& w) { w.mnuCut->trigger(); }},
    {"toolbar Copy", false, [](MainWindow& w) { w.toolbarMain->findChild<QAction*>("Copy")->trigger(); }},
    {"Ctrl+C", false, [](MainWindow& w) { QTest::keyClick(w.rtfPasswords, Qt::Key_C, Qt::ControlModifier); }},
    {"Ctrl+X", true, [](MainWindow& w) { QTest::keyClick(w.rtfPasswords, Qt::Key_X, Qt::ControlModifier); }},
    {"Ctrl+Insert", false,
     [](MainWindow& w) { QTest::keyClick(w.rtfPasswords, Qt::Key_Insert, Qt::ControlModifier); }},
    {"Shift+Delete", true,
     [](MainWindow& w) { QTest::keyClick(w.rtfPasswords, Qt::Key_Delete, Qt::ShiftModifier); }},
    {"the list's menu: Copy", false, [](MainWindow& w) { TriggerListMenuEntry(w, "edit-copy"); }},
    {"the list's menu: Cut", true, [](MainWindow& w) { TriggerListMenuEntry(w, "edit-cut"); }},
};

}  // namespace

TEST(ClipboardClearing, EveryRouteOutOfTheListCopiesPlainTextMarkedSecretAndClearsIt) {
    Window w;
    w.SetDelay(1);
    for (const CopyRoute& route : kCopyRoutes) {
        SCOPED_TRACE(route.name);
        w.window.rtfPasswords->clear();
        w.window.Generate();
        QTextCursor line(w.window.rtfPasswords->document());
        line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        const QString password = line.selectedText();
        w.window.rtfPasswords->setTextCursor(line);
        w.window.rtfPasswords->setFocus();
        route.take(w.window);
        const QMimeData* data = QApplication::clipboard()->mimeData();
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->text(), password);
        QStringList formats = data->formats();
        formats.sort();
        EXPECT_EQ(formats, QStringList({"text/plain", "x-kde-passwordManagerHint"}));
        EXPECT_EQ(w.Countdown(), "Clipboard clears in 1 s");
        EXPECT_EQ(w.window.rtfPasswords->document()->firstBlock().text() != password, route.cuts);
        EXPECT_TRUE(QTest::qWaitFor([&] { return Clipboard().isEmpty() && w.Countdown().isEmpty(); }, 5000));
    }
    w.SetDelay(30);
}

// Run on a Wayland compositor: a clear made and read back with
// wl-clipboard says nothing; one the desktop does not obey (as weston
// ignores wl-copy's) or one that can be neither made from outside nor
// checked is said in the status bar.
TEST(ClipboardClearing, OnWaylandAClearIsSaidOnlyWhenItCannotBeMadeOrChecked) {
    if (!QGuiApplication::platformName().startsWith("wayland")) GTEST_SKIP() << "not on Wayland";
    const QByteArray path = qgetenv("PATH");
    // A desktop that keeps the password whatever is done: wl-copy is not
    // obeyed, and wl-paste reads the password back.
    QTemporaryDir keeping;
    const auto tool = [&](const char* name, const QByteArray& script) {
        QFile file(keeping.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + script + "\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    };
    tool("wl-copy", "exit 0");
    tool("wl-paste", "exec /bin/cat " + keeping.filePath("held").toUtf8());
    const struct {
        QByteArray path;
        QString said;
    } cases[] = {
        {path, ""},
        {keeping.path().toUtf8(), "The clipboard could not be cleared: the desktop kept the password there."},
        {"/nonexistent",
         "The clipboard could not be cleared: wl-copy and wl-paste (wl-clipboard) are needed on Wayland "
         "and were not found."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        qputenv("PATH", c.path);
        Window w;
        w.SetDelay(1);
        QFile held(keeping.filePath("held"));
        ASSERT_TRUE(held.open(QIODevice::WriteOnly));
        held.write(w.CopyFirstLine().toUtf8());
        held.close();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !w.Countdown().isEmpty(); }, 5000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.Countdown().isEmpty(); }, 10000));
        EXPECT_EQ(w.window.strengthBar->currentMessage(), c.said);
        qputenv("PATH", path);
        w.SetDelay(30);
    }
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

namespace {

// Selects lines `first` to `last` of the list with the mouse, as a user
// drags over them.
QString DragOverLines(QTextEdit* list, int first, int last) {
    QTextDocument* document = list->document();
    QTextCursor from(document->findBlockByNumber(first)), to(document->findBlockByNumber(last));
    to.movePosition(QTextCursor::EndOfBlock);
    const QPoint start = list->cursorRect(from).center() - QPoint(list->cursorRect(from).width(), 0);
    const QPoint end = list->cursorRect(to).center() + QPoint(2, 0);
    QWidget* viewport = list->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(viewport, (start + end) / 2);
    QTest::mouseMove(viewport, end);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, end);
    QApplication::processEvents();
    return list->textCursor().selection().toPlainText();
}

}  // namespace

TEST(ClipboardClearing, LinesSelectedWithTheMouseLeaveThePrimarySelectionAfterTheDelayAndOnClear) {
    if (!QApplication::clipboard()->supportsSelection()) GTEST_SKIP() << "no primary selection on this platform";
    Window w;
    w.SetDelay(2);
    const QString selected = DragOverLines(w.window.rtfPasswords, 0, 1);
    ASSERT_TRUE(selected.contains('\n')) << selected.toStdString();
    EXPECT_EQ(Clipboard(QClipboard::Selection), selected);
    EXPECT_EQ(w.Countdown(), "");  // nothing was copied
    EXPECT_TRUE(QTest::qWaitFor([&] { return Clipboard(QClipboard::Selection).isEmpty(); }, 6000));

    // Several lines copied: the clipboard holds CR LF, the selection LF; both go.
    DragOverLines(w.window.rtfPasswords, 2, 4);
    w.window.mnuCopy->trigger();
    ASSERT_FALSE(Clipboard().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Clipboard().isEmpty() && Clipboard(QClipboard::Selection).isEmpty(); },
                                6000));

    // Clear takes the selection with the list, at once.
    w.SetDelay(30);
    DragOverLines(w.window.rtfPasswords, 5, 6);
    ASSERT_FALSE(Clipboard(QClipboard::Selection).isEmpty());
    w.window.cmdClear->click();  // answered OK
    EXPECT_TRUE(w.window.rtfPasswords->document()->isEmpty());
    EXPECT_EQ(Clipboard(QClipboard::Selection), "");

    // What someone else selected meanwhile stays.
    w.window.Generate();
    w.SetDelay(1);
    DragOverLines(w.window.rtfPasswords, 0, 1);
    QApplication::clipboard()->setText("selected by someone else", QClipboard::Selection);
    QTest::qWait(1500);
    EXPECT_EQ(Clipboard(QClipboard::Selection), "selected by someone else");
    w.SetDelay(30);
}
