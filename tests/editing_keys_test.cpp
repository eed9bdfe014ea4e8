// What a user types, clicks and copies in the window: keys that edit within
// the focused text, a run after an edited last line, double-clicks on a
// password and the line ends a copy carries.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTextBlock>

#include "tests/shown_window.h"

using namespace morvane;

namespace {

struct ListWindow : ShownWindow {
    QTextEdit* list() { return window.rtfPasswords; }
    QStringList Lines() { return list()->toPlainText().split('\n'); }
    void SelectLine(int line, bool with_its_end) {
        QTextCursor c(list()->document()->findBlockByNumber(line));
        c.movePosition(with_its_end ? QTextCursor::NextBlock : QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        list()->setTextCursor(c);
    }
    // Where the list shows the character at `position`.
    QPoint PointAt(int position) {
        QTextCursor c(list()->document());
        c.setPosition(position);
        return list()->cursorRect(c).center() + QPoint(2, 0);
    }
};

}  // namespace

TEST(EditingKeys, SelectAllAndDeleteInAFieldActOnTheFieldAndTheMenuStillActsOnTheList) {
    ListWindow w;
    w.window.Generate();
    const QString list = w.list()->toPlainText();
    for (QLineEdit* field : {w.window.txtOtherIn, w.window.txtNum, w.window.txtMinLen}) {
        field->setFocus();
        field->setText("456");
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        EXPECT_EQ(field->selectedText(), "456") << field->objectName().toStdString();
        EXPECT_EQ(QApplication::focusWidget(), field);
        EXPECT_FALSE(w.list()->textCursor().hasSelection());
        field->setCursorPosition(0);
        QTest::keyClick(field, Qt::Key_Delete);
        EXPECT_EQ(field->text(), "56");
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_9);  // typing replaces the field's text, not the list
        EXPECT_EQ(field->text(), "9");
        EXPECT_EQ(w.list()->toPlainText(), list);
    }
    // In the list, Delete with nothing selected deletes the next character.
    w.list()->setFocus();
    w.list()->moveCursor(QTextCursor::Start);
    QTest::keyClick(w.list(), Qt::Key_Delete);
    EXPECT_EQ(w.list()->toPlainText(), list.mid(1));
    // The Edit menu's Select All, from a field, selects the whole list.
    w.window.txtNum->setFocus();
    w.window.mnuSelectAll->trigger();
    EXPECT_EQ(QApplication::focusWidget(), w.list());
    EXPECT_EQ(w.list()->textCursor().selectedText().size(), w.list()->toPlainText().size());
    // The toolbar's Delete deletes the list's selection.
    w.window.toolbarMain->findChild<QAction*>("Delete")->trigger();
    EXPECT_EQ(w.list()->toPlainText(), "");
}

TEST(EditingKeys, ARunAfterATypedLastLineStartsOnALineOfItsOwn) {
    ListWindow w;
    w.window.txtNum->setText("2");
    w.window.Generate();
    w.list()->setFocus();
    w.list()->moveCursor(QTextCursor::End);
    QTest::keyClicks(w.list(), "1000000");
    w.window.Generate();
    const QStringList lines = w.Lines();
    ASSERT_EQ(lines.size(), 6);  // two, the typed line, two, and the empty line after the last end
    EXPECT_EQ(lines[2], "1000000");
    for (int i : {3, 4}) {
        EXPECT_GE(lines[i].size(), 6);
        EXPECT_LE(lines[i].size(), 8);
    }
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(w.window.txtNumPass->text(), "4");
}

TEST(EditingKeys, ADoubleOrTripleClickSelectsTheWholePasswordWithItsSymbols) {
    ListWindow w;
    w.list()->setPlainText("Er{sr_Zitra!\nab cd-ef\n");
    QTest::mouseDClick(w.list()->viewport(), Qt::LeftButton, {}, w.PointAt(8));  // on "Zitra"
    EXPECT_EQ(w.list()->textCursor().selectedText(), "Er{sr_Zitra!");
    // A password with a blank in it is one password too; a third click keeps it.
    const QPoint second = w.PointAt(16);
    QTest::mouseDClick(w.list()->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(w.list()->textCursor().selectedText(), "ab cd-ef");
    QTest::mousePress(w.list()->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseRelease(w.list()->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(w.list()->textCursor().selectedText(), "ab cd-ef");
    // A single click later places the caret as always.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseClick(w.list()->viewport(), Qt::LeftButton, {}, w.PointAt(3));
    EXPECT_FALSE(w.list()->textCursor().hasSelection());
}

TEST(EditingKeys, ACopyCarriesLineFeedsAndOneWholeLineComesWithoutItsEnd) {
    ListWindow w;
    w.window.txtNum->setText("3");
    w.window.Generate();
    const QStringList lines = w.Lines();
    w.list()->setFocus();
    w.SelectLine(1, true);  // as a triple-click takes it: the line and its end
    w.window.mnuCopy_Click();
    EXPECT_EQ(QApplication::clipboard()->text(), lines[1]);
    w.SelectLine(2, false);  // the line selected to its end
    w.window.mnuCopy_Click();
    EXPECT_EQ(QApplication::clipboard()->text(), lines[2]);
    w.window.mnuSelectAll->trigger();
    QTest::keyClick(w.list(), Qt::Key_C, Qt::ControlModifier);
    const QString all = QApplication::clipboard()->text();
    EXPECT_FALSE(all.contains('\r'));
    EXPECT_EQ(all, lines[0] + "\n" + lines[1] + "\n" + lines[2] + "\n");
    // Inside the window the list keeps its line ends.
    QTest::keyClick(w.list(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(w.list(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.Lines().size(), 7);
}
