// The password list as a user sees it: long lists, lines in their places,
// clicks and finds landing where they should, formatted lines.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QFile>
#include <QProcess>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTextBlock>
#include <QTextCursor>

#include "app/main_window.h"
#include "edit/find_replace_dialog.h"
#include "platform/qt/qt_text.h"
#include "shown_window.h"

using namespace morvane;

namespace {

struct Window : ShownWindow {
    QTextEdit* list() { return window.rtfPasswords; }
    RichTextBox& control() { return *window.form().controls().rtfPasswords; }
    QTextBlock Line(int n) { return list()->document()->findBlockByNumber(n); }
    QRectF Place(int n) { return list()->document()->documentLayout()->blockBoundingRect(Line(n)); }
    void Run(int count) {
        window.txtNum->setText(QString::number(count));
        window.Generate();
        QApplication::processEvents();
    }
    void SelectLine(int n) {
        QTextCursor c(Line(n));
        c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        list()->setTextCursor(c);
    }
    // The caret's place in the view, centred on a character of line n.
    QPoint Spot(int n, int column) {
        QTextCursor c(Line(n));
        c.setPosition(Line(n).position() + column);
        return list()->cursorRect(c).center();
    }
    bool Shows(const QRect& r) { return list()->viewport()->rect().contains(r.center()); }
};

// The list's text as the program reads it: CR LF after every line.
Text CrLf(const QString& plain) {
    QString s = plain;
    return FromQt(s.replace('\n', "\r\n"));
}

}  // namespace

TEST(LongList, AfterAMillionPasswordsAndAPauseTheLastIsFoundAndShown) {
    Window w;
    w.Run(1000000);
    QTest::qWait(2000);  // the user looks at the list for a moment
    const QString last = w.Line(999999).text();
    ASSERT_FALSE(last.isEmpty());
    w.list()->moveCursor(QTextCursor::Start);
    w.window.mnuFind_Click();
    auto* dialog = qobject_cast<FindReplaceDialog*>(w.window.findDialog());
    ASSERT_NE(dialog, nullptr);
    dialog->findWhat->setText(last);
    dialog->matchCase->setChecked(true);
    dialog->wholeWord->setChecked(true);
    dialog->findNext->click();
    QApplication::processEvents();
    EXPECT_EQ(w.list()->textCursor().selectedText(), last);
    EXPECT_TRUE(w.Shows(w.list()->cursorRect()));
    // Ctrl+End and Ctrl+Home go to the ends and show them.
    QTest::keyClick(w.list(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(w.list()->textCursor().position(), w.list()->document()->characterCount() - 1);
    EXPECT_TRUE(w.Shows(w.list()->cursorRect()));
    QTest::keyClick(w.list(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(w.list()->textCursor().position(), 0);
    EXPECT_TRUE(w.Shows(w.list()->cursorRect()));

    // Centring the first line gives the list to Qt's own layout, which
    // must still reach the end.
    w.SelectLine(0);
    w.control().SetSelAlignment(kAlignCenter);
    QTest::qWait(1000);
    QTest::keyClick(w.list(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_TRUE(w.Shows(w.list()->cursorRect()));
    EXPECT_GT(w.list()->verticalScrollBar()->value(), 1000000);
    EXPECT_GT(w.Spot(0, 0).x(), w.Spot(1, 0).x());
}

TEST(LongList, LinesStandEvenlyOneBelowTheOtherAndClicksLandUnderThePointer) {
    Window w;
    w.Run(1000);
    const QRectF first = w.Place(0);
    ASSERT_GT(first.height(), 0);
    for (int n : {1, 2, 499, 500, 998, 999}) {
        const QRectF line = w.Place(n);
        EXPECT_DOUBLE_EQ(line.height(), first.height()) << n;
        EXPECT_DOUBLE_EQ(line.top(), first.top() + n * first.height()) << n;
        EXPECT_GE(line.top(), w.Place(n - 1).bottom()) << n;
    }
    // The scroll bar spans all lines: at its end the last line shows.
    w.list()->verticalScrollBar()->setValue(w.list()->verticalScrollBar()->maximum());
    EXPECT_TRUE(w.Shows(w.list()->cursorRect(QTextCursor(w.Line(999)))));

    w.SelectLine(500);  // brings line 500 into view
    const QPoint spot = w.Spot(500, 3);
    QTest::mouseClick(w.list()->viewport(), Qt::LeftButton, {}, spot);
    EXPECT_EQ(w.list()->textCursor().blockNumber(), 500);
    EXPECT_NEAR(w.list()->textCursor().positionInBlock(), 3, 1);
    // The program reads what the list shows.
    EXPECT_EQ(w.control().GetText(), CrLf(w.list()->toPlainText()));
}

TEST(LongList, AFormattedLineTakesTheRoomOfItsFontAndAlignedLinesMove) {
    Window w;
    w.control().SetText(U"a\r\nbbbbbbbbbbbbbbbbbbbbbbbb\r\nccc\r\nddd\r\n");
    const double plain = w.Place(2).height();
    w.SelectLine(2);
    FontSpec big;
    big.size = 24;
    w.control().SetSelFont(big);
    QApplication::processEvents();
    EXPECT_GT(w.Place(2).height(), 1.5 * plain);
    EXPECT_GE(w.Place(2).top(), w.Place(1).bottom() - 0.5);
    EXPECT_GE(w.Place(3).top(), w.Place(2).bottom() - 0.5);  // no line runs into the big one

    w.SelectLine(0);
    w.control().SetSelAlignment(kAlignRight);
    QApplication::processEvents();
    EXPECT_GT(w.Spot(0, 0).x(), w.Spot(3, 0).x() + 100);  // "a" moved to the right edge
}

TEST(LongList, ALineBreakTypedInALineMovesTheLinesBelowDown) {
    Window w;
    w.control().SetText(U"abcdef\r\nxyz\r\n");
    const double height = w.Place(1).height();
    QTextCursor c(w.list()->document());
    c.setPosition(3);
    w.list()->setTextCursor(c);
    QTest::keyClick(w.list(), Qt::Key_Return, Qt::ShiftModifier);  // a line break within the paragraph
    QTest::qWait(20);
    EXPECT_GE(w.Place(0).height(), 2 * height - 1);
    EXPECT_GE(w.Place(1).top(), w.Place(0).bottom() - 0.5);
    EXPECT_EQ(w.control().GetText(), U"abc\r\ndef\r\nxyz\r\n");
}

TEST(LongList, ALongLineCanBeScrolledToItsEnd) {
    Window w;
    w.control().SetText(Text(300, U'W') + U"\r\nx\r\n");
    QApplication::processEvents();
    EXPECT_GT(w.list()->horizontalScrollBar()->maximum(), 0);
    QTextCursor c(w.Line(0));
    c.movePosition(QTextCursor::EndOfBlock);
    w.list()->setTextCursor(c);
    EXPECT_TRUE(w.Shows(w.list()->cursorRect()));
    // A short list needs no scrolling sideways.
    w.control().SetText(U"short\r\n");
    QApplication::processEvents();
    EXPECT_EQ(w.list()->horizontalScrollBar()->maximum(), 0);

    // Nor do the short passwords of a run, however many come in at a turn.
    w.control().SetText(U"");
    w.Run(5000);
    EXPECT_EQ(w.list()->horizontalScrollBar()->maximum(), 0);
    w.Run(5000);  // into a list that holds lines already
    EXPECT_EQ(w.list()->horizontalScrollBar()->maximum(), 0);
}

TEST(LongList, AfterReplaceAllTheTextAndPositionsFollowTheList) {
    Window w;
    w.control().SetText(U"ab\r\ncab\r\nd\r\n");
    w.window.mnuReplace_Click();
    FindOperations& find = w.window.find().operations();
    find.search_position = 1;
    find.Replace(U"b", U"\U0001F600Y", false, true, true);
    EXPECT_EQ(w.control().GetText(), U"a\U0001F600Y\r\nca\U0001F600Y\r\nd\r\n");
    EXPECT_EQ(w.control().GetText(), CrLf(w.list()->toPlainText()));
    find.search_position = 1;
    find.FindNext(U"d", false, true, true);
    EXPECT_EQ(w.list()->textCursor().selectedText(), "d");
    EXPECT_EQ(w.control().SelStart(), 11);
}

TEST(LongList, TheScrollBarGrowsWithEveryRunIntoTheList) {
    Window w;
    w.list()->setFocus();
    QTest::keyClicks(w.list(), "typed first");
    for (int run = 1; run <= 2; ++run) {
        w.Run(1000);
        QScrollBar* bar = w.list()->verticalScrollBar();
        EXPECT_TRUE(bar->isVisible());
        bar->setValue(bar->maximum());
        const int last = w.list()->document()->blockCount() - 2;  // the last password
        EXPECT_EQ(last, run * 1000);  // the typed line stays a line of its own
        EXPECT_TRUE(w.Shows(w.list()->cursorRect(QTextCursor(w.Line(last))))) << run;
    }
}

// Under a memory limit a run that would not fit is refused before it
// starts, saying how much it would take, instead of the program dying in
// the middle of it. The test runs itself again under the limit.
TEST(LongList, ARunThatWouldNotFitInMemoryIsRefusedWithWhatItWouldTake) {
#ifdef MORVANE_SANITIZED
    GTEST_SKIP() << "the sanitizers reserve more address space than any limit leaves";
#endif
    if (qEnvironmentVariableIsSet("MORVANE_UNDER_MEMORY_LIMIT")) {
        Window w;
        w.Run(10'000'000);
        ASSERT_EQ(w.box.shown.size(), 1u);
        EXPECT_NE(w.box.shown[0].text.find("would take about"), std::string::npos) << w.box.shown[0].text;
        EXPECT_EQ(w.box.shown[0].title, "INPUT ERROR: Number of passwords.");
        EXPECT_TRUE(w.list()->document()->isEmpty());
        EXPECT_TRUE(w.window.txtNum->hasFocus());
        w.Run(1000);  // a run that fits still runs
        EXPECT_EQ(w.list()->document()->blockCount(), 1001);
        return;
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("MORVANE_UNDER_MEMORY_LIMIT", "1");
    child.setProcessEnvironment(environment);
    // 1.5 GiB of address space: the window starts, ten million passwords
    // would take some 2.5 GiB.
    child.start("bash", {"-c", "ulimit -v 1572864 && exec \"$0\" --gtest_filter=LongList.ARunThatWouldNotFitInMemory*",
                         QFile::symLinkTarget("/proc/self/exe")});
    ASSERT_TRUE(child.waitForFinished(120000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
}

// The text the program reads follows every edit of the user's, typed,
// deleted, pasted or undone, and Find lands on what was typed.
TEST(LongList, TheTextReadBackFollowsEveryEditTypedDeletedPastedOrUndone) {
    Window w;
    w.Run(3000);
    QTextEdit* list = w.list();
    list->setFocus();
    const auto expect_read_back = [&](const char* after) {
        EXPECT_EQ(w.control().TextView(), CrLf(list->toPlainText())) << after;
    };
    const auto go_to = [&](int line, int column) {
        QTextCursor c(w.Line(line));
        c.setPosition(w.Line(line).position() + column);
        list->setTextCursor(c);
    };
    expect_read_back("the run");
    go_to(1500, 2);
    QTest::keyClicks(list, "typed");
    expect_read_back("typing in a line");
    QTest::keyClick(list, Qt::Key_Return);
    expect_read_back("a line break typed");
    go_to(10, 0);
    QTest::keyClick(list, Qt::Key_Backspace);
    expect_read_back("two lines joined");
    go_to(20, 3);
    for (int i = 0; i < 4; ++i) QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(list, Qt::Key_Delete);
    expect_read_back("lines selected and deleted");
    QApplication::clipboard()->setText("one\ntwo\nthree\xc3\xa9\xf0\x9f\x98\x80");
    go_to(40, 1);
    QTest::keyClick(list, Qt::Key_V, Qt::ControlModifier);
    expect_read_back("lines pasted, one beyond 16 bits");
    go_to(50, 1);
    QTest::keyClicks(list, "after");
    expect_read_back("typing after a character beyond 16 bits");
    for (int i = 0; i < 6; ++i) QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
    expect_read_back("undone");
    QTest::keyClick(list, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(list, "<<end>>");
    expect_read_back("typing at the very end");

    // Find Next lands on the typed word from the top.
    list->moveCursor(QTextCursor::Start);
    w.window.mnuFind_Click();
    auto* dialog = qobject_cast<FindReplaceDialog*>(w.window.findDialog());
    ASSERT_NE(dialog, nullptr);
    dialog->findWhat->setText("<<end>>");
    dialog->findNext->click();
    QApplication::processEvents();
    EXPECT_EQ(list->textCursor().selectedText(), "<<end>>");
}

// Esc ends a long run between two passwords: the passwords made so far
// stay, counted, and the panel says the run is complete.
TEST(LongList, EscEndsALongRunAndKeepsWhatItMade) {
    Window w;
    QTimer::singleShot(300, &w.window, [&] { QTest::keyClick(&w.window, Qt::Key_Escape); });
    w.Run(1000000);
    const int made = w.window.txtNumPass->text().toInt();
    EXPECT_GT(made, 0);
    EXPECT_LT(made, 1000000);
    EXPECT_EQ(w.list()->document()->blockCount() - 1, made);  // every line ends, the last one too
    EXPECT_EQ(w.window.txtStatus->text(), "Complete");
    EXPECT_FALSE(w.window.txtTimeComp->text().isEmpty());
    EXPECT_FALSE(w.window.form().IsRunGoing());
    // Esc with no run going changes nothing.
    QTest::keyClick(&w.window, Qt::Key_Escape);
    w.Run(5);
    EXPECT_EQ(w.window.txtNumPass->text().toInt(), made + 5);
}

// After a run the view shows the run's first password, also when the list
// already held more than the view shows; a run into an empty list stays at
// the top.
TEST(LongList, TheViewGoesToTheRunsFirstPassword) {
    Window w;
    w.Run(10);
    EXPECT_EQ(w.list()->verticalScrollBar()->value(), 0);
    w.Run(1000);
    EXPECT_TRUE(w.Shows(w.list()->cursorRect(QTextCursor(w.Line(10)))));
    w.list()->verticalScrollBar()->setValue(0);
    w.Run(5);
    EXPECT_TRUE(w.Shows(w.list()->cursorRect(QTextCursor(w.Line(1010)))));
    EXPECT_FALSE(w.Shows(w.list()->cursorRect(QTextCursor(w.Line(0)))));
}
