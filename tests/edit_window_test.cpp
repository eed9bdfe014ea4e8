// Find, Replace, Paste and Font as a user meets them in the window.
#include <gtest/gtest.h>

#include <QFontInfo>

#include <QListView>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontDialog>
#include <QLabel>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QUrl>

#include "app/main_window.h"
#include "app/strength_bar.h"
#include "edit/find_replace_dialog.h"
#include "modal_driver.h"
#include "platform/qt/qt_text.h"
#include "shown_window.h"

using namespace morvane;

namespace {

struct Window : ShownWindow {
    QTextEdit* list() { return window.rtfPasswords; }
    FindReplaceDialog* dialog() { return qobject_cast<FindReplaceDialog*>(window.findDialog()); }
    void Select(int from, int to) {
        QTextCursor c(list()->document());
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        list()->setTextCursor(c);
    }
    // A run of `count` passwords into the list.
    void Generate(int count) {
        window.txtNum->setText(QString::number(count));
        window.Generate();
        QApplication::processEvents();
    }
    // Replace All from the list's start, matching case, through the dialog.
    void ReplaceAllFromStart(const QString& find, const QString& replace) {
        list()->moveCursor(QTextCursor::Start);
        window.mnuReplace_Click();
        dialog()->findWhat->setText(find);
        dialog()->replaceWith->setText(replace);
        dialog()->matchCase->setChecked(true);
        dialog()->replaceAll->click();
        QApplication::processEvents();
    }
    QTextCharFormat FormatAt(int position) {
        QTextCursor c(list()->document());
        c.setPosition(position + 1);
        return c.charFormat();
    }
};

}  // namespace

TEST(ReplaceAllInWindow, KeepsTheFormatOfTheListAndIsUndoneAsOneStep) {
    Window w;
    w.list()->setPlainText("abc\nxabc\nzz\n");
    QTextCharFormat italic;
    italic.setFontItalic(true);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(QColor(255, 0, 0));
    QTextCursor c(w.list()->document());
    c.setPosition(0);
    c.setPosition(3, QTextCursor::KeepAnchor);
    c.mergeCharFormat(italic);                    // line 1 italic
    c.setPosition(9);
    c.setPosition(11, QTextCursor::KeepAnchor);
    c.mergeCharFormat(bold);                      // line 3 bold red
    QTextBlockFormat centered;
    centered.setAlignment(Qt::AlignHCenter);
    c.setPosition(5);
    c.mergeBlockFormat(centered);                 // line 2 centred
    w.Select(0, 0);

    w.window.mnuReplace_Click();
    ASSERT_NE(w.dialog(), nullptr);
    w.dialog()->findWhat->setText("abc");
    w.dialog()->replaceWith->setText("Q");
    w.dialog()->replaceAll->click();

    EXPECT_EQ(w.list()->toPlainText(), "Q\nxQ\nzz\n");
    EXPECT_TRUE(w.FormatAt(0).fontItalic());                        // the replacement keeps its line's format
    EXPECT_EQ(w.FormatAt(5).fontWeight(), QFont::Bold);             // untouched text keeps its format
    EXPECT_EQ(w.FormatAt(5).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(w.list()->document()->findBlockByNumber(1).blockFormat().alignment() & Qt::AlignHCenter,
              Qt::AlignHCenter);
    EXPECT_EQ(w.list()->textCursor().position(), 4);                // behind the last insertion
    w.list()->undo();
    EXPECT_EQ(w.list()->toPlainText(), "abc\nxabc\nzz\n");          // one step undoes it all
    EXPECT_TRUE(w.FormatAt(0).fontItalic());
}

TEST(FindDialogsInWindow, EveryOpeningShowsTheCurrentSelectionWithFreshOptions) {
    Window w;
    w.list()->setPlainText("abc\nxabc\n");
    w.window.mnuFind_Click();
    FindReplaceDialog* first = w.dialog();
    first->findWhat->setText("old text");
    first->up->setChecked(true);
    first->wholeWord->setChecked(true);
    first->matchCase->setChecked(true);

    w.Select(4, 8);  // xabc
    w.window.mnuFind_Click();
    QApplication::processEvents();
    FindReplaceDialog* second = w.dialog();
    ASSERT_NE(second, first);
    EXPECT_EQ(second->findWhat->text(), "xabc");
    EXPECT_TRUE(second->down->isChecked());
    EXPECT_FALSE(second->wholeWord->isChecked());
    EXPECT_FALSE(second->matchCase->isChecked());

    second->matchCase->setChecked(true);
    w.Select(0, 3);
    w.window.mnuReplace_Click();
    QApplication::processEvents();
    FindReplaceDialog* third = w.dialog();
    EXPECT_EQ(third->findWhat->text(), "abc");
    EXPECT_EQ(third->replaceWith->text(), "abc");
    EXPECT_FALSE(third->matchCase->isChecked());
    EXPECT_EQ(w.window.find().operations().search_position, 1);
}

TEST(FindDialogsInWindow, LabelsNameTheirFieldsAndTheProposedTextIsSelected) {
    Window w;
    w.list()->setPlainText("abc\nxabc\n");
    w.Select(4, 8);
    w.window.mnuReplace_Click();
    FindReplaceDialog* d = w.dialog();
    int labelled = 0;
    for (QLabel* label : d->findChildren<QLabel*>()) {
        if (label->text() == "Fi&nd what:") {
            EXPECT_EQ(label->buddy(), d->findWhat);
            ++labelled;
        }
        if (label->text() == "Re&place with:") {
            EXPECT_EQ(label->buddy(), d->replaceWith);
            ++labelled;
        }
    }
    EXPECT_EQ(labelled, 2);
    EXPECT_EQ(d->findWhat->selectedText(), "xabc");
    QTest::keyClicks(d->findWhat, "ab");
    EXPECT_EQ(d->findWhat->text(), "ab");  // typing replaces the proposal
}

TEST(FindDialogsInWindow, TheLimitCountsCharactersNotBytes) {
    Window w;
    const QString accented(600, QChar(0x00E9));
    w.list()->setPlainText(accented + "\n" + QString(1025, 'q') + "\n");
    w.Select(0, 600);
    w.window.mnuFind_Click();
    ASSERT_NE(w.dialog(), nullptr);
    EXPECT_EQ(w.dialog()->findWhat->text(), accented);
    EXPECT_TRUE(w.box.shown.empty());
    w.dialog()->findWhat->setText(QString(600, QChar(0x00C9)));  // capitals, any case
    w.window.find().operations().search_position = 1;
    w.Select(0, 0);
    w.dialog()->findNext->click();
    EXPECT_EQ(w.list()->textCursor().selectedText(), accented);

    w.Select(601, 601 + 1025);
    w.window.mnuFind_Click();
    ASSERT_EQ(w.box.shown.size(), 1u);
    EXPECT_EQ(w.box.shown[0].title, "ERROR:ShowDialog");
}

TEST(PasteInWindow, OnlyRealTextIsPasted) {
    Window w;
    w.window.txtOtherIn->setFocus();
    auto* files = new QMimeData;
    files->setUrls({QUrl::fromLocalFile("/home/user/secret.txt")});
    QApplication::clipboard()->setMimeData(files);
    w.window.mnuPaste_Click();
    EXPECT_EQ(w.window.txtOtherIn->text(), "");

    auto* copied_files = new QMimeData;  // a file manager's copy: the list and its paths as text
    copied_files->setUrls({QUrl::fromLocalFile("/home/user/a.txt")});
    copied_files->setText("/home/user/a.txt");
    QApplication::clipboard()->setMimeData(copied_files);
    w.window.mnuPaste_Click();
    EXPECT_EQ(w.window.txtOtherIn->text(), "");

    QApplication::clipboard()->setText("a\r\nb\tc");
    w.window.mnuPaste_Click();
    EXPECT_EQ(w.window.txtOtherIn->text().size(), QString("a\r\nb\tc").size());  // unfiltered
}

TEST(FontInWindow, TheDialogOffersTheColourOpensWithTheColourInUseAndColoursTheSelection) {
    Window w;
    w.list()->setPlainText("abc\nxyz\n");
    w.Select(0, 3);
    QString offered;
    WhenModal<QFontDialog>([&](QFontDialog* d) {
        auto* colors = d->findChild<QComboBox*>("colorCombo");
        ASSERT_NE(colors, nullptr);
        offered = colors->currentText();
        colors->setCurrentIndex(colors->findText("Red"));
        d->accept();
    });
    w.window.mnuFont_Click();
    EXPECT_EQ(offered, "Black");
    EXPECT_EQ(w.FormatAt(1).foreground().color(), QColor(255, 0, 0));
    EXPECT_NE(w.FormatAt(5).foreground().color(), QColor(255, 0, 0));

    WhenModal<QFontDialog>([&](QFontDialog* d) {
        offered = d->findChild<QComboBox*>("colorCombo")->currentText();
        d->reject();
    });
    w.Select(4, 7);
    w.window.mnuFont_Click();
    EXPECT_EQ(offered, "Black");  // the colour of "xyz", not the last choice
    EXPECT_NE(w.FormatAt(5).foreground().color(), QColor(255, 0, 0));  // cancelled: unchanged
    WhenModal<QFontDialog>([&](QFontDialog* d) {
        offered = d->findChild<QComboBox*>("colorCombo")->currentText();
        d->reject();
    });
    w.Select(0, 3);
    w.window.mnuFont_Click();
    EXPECT_EQ(offered, "Red");
}

TEST(FontInWindow, TheDialogOpensWithTheFaceStyleAndSizeInUseAndOkAloneChangesNothing) {
    Window w;
    w.list()->setPlainText("abc\nxyz\n");
    w.Select(0, 3);
    const QString before = w.list()->document()->toHtml();
    const QFontInfo in_use(w.list()->font());
    QString face, style, size;
    WhenModal<QFontDialog>([&](QFontDialog* d) {
        QList<QListView*> lists = d->findChildren<QListView*>();
        ASSERT_EQ(lists.size(), 3);  // face, style, size
        face = lists[0]->currentIndex().data().toString();
        style = lists[1]->currentIndex().data().toString();
        size = lists[2]->currentIndex().data().toString();
        d->accept();
    });
    w.window.mnuFont_Click();
    EXPECT_EQ(face, in_use.family());
    EXPECT_EQ(style, in_use.styleName());  // not an oblique of the family
    EXPECT_EQ(size, QString::number(qRound(in_use.pointSizeF())));
    EXPECT_EQ(w.list()->document()->toHtml(), before);
    EXPECT_FALSE(w.FormatAt(1).fontItalic());
}

TEST(FindInWindow, NothingFoundBeepsAndSaysSoInTheStatusBarUntilTheNextKey) {
    Window w;
    w.list()->setPlainText("abc\nxyz\nabc\n");
    w.window.mnuFind_Click();
    ASSERT_NE(w.dialog(), nullptr);
    auto* bar = w.window.strengthBar;
    w.dialog()->findWhat->setText("qqq");
    w.dialog()->findNext->click();
    EXPECT_EQ(w.box.beeps, 1);
    EXPECT_EQ(bar->currentMessage(), "Not found");
    QTest::keyClick(w.dialog()->findWhat, Qt::Key_A);  // the user goes on
    EXPECT_EQ(bar->currentMessage(), "");
    EXPECT_TRUE(bar->findChild<QLabel*>("strengthLine")->isVisible());
    w.dialog()->findWhat->setText("xyz");
    w.dialog()->findNext->click();
    EXPECT_EQ(bar->currentMessage(), "");
    EXPECT_EQ(w.list()->textCursor().selectedText(), "xyz");
    // Said again, it goes with the next search that finds, whatever the
    // keys, and with an edit of the list.
    w.dialog()->findWhat->setText("qqq");
    w.dialog()->findNext->click();
    ASSERT_EQ(bar->currentMessage(), "Not found");
    w.dialog()->findWhat->setText("abc");
    w.dialog()->findNext->click();
    EXPECT_EQ(bar->currentMessage(), "");
    w.dialog()->findWhat->setText("qqq");
    w.dialog()->findNext->click();
    ASSERT_EQ(bar->currentMessage(), "Not found");
    w.list()->setPlainText("qqq\n");
    EXPECT_EQ(bar->currentMessage(), "");
}

TEST(ReplaceAllInWindow, OnAPlainListItReplacesEveryOccurrenceAndIsUndoneAsOneStep) {
    Window w;
    w.Generate(300);
    const QString before = w.list()->toPlainText();
    ASSERT_TRUE(before.contains('a'));
    w.ReplaceAllFromStart("a", "<A>");
    EXPECT_EQ(w.list()->toPlainText(), QString(before).replace("a", "<A>"));
    EXPECT_EQ(w.window.form().controls().rtfPasswords->GetText(),
              FromQt(QString(before).replace("a", "<A>").replace("\n", "\r\n")));  // the text the program reads
    w.list()->undo();
    EXPECT_EQ(w.list()->toPlainText(), before);
}

TEST(ReplaceAllInWindow, OnAPlainListTheEditsBeforeAndAfterItStayInTheHistory) {
    Window w;
    w.Generate(200);
    const QString generated = w.list()->toPlainText();
    w.Select(3, 3);
    QTest::keyClicks(w.list(), "aa");          // typed before
    w.Select(0, 5);
    QTest::keyClick(w.list(), Qt::Key_Delete);  // and a removal, which undo puts back
    const QString edited = w.list()->toPlainText();
    ASSERT_NE(edited, generated);

    w.ReplaceAllFromStart("a", "#");
    const QString replaced = QString(edited).replace("a", "#");
    ASSERT_EQ(w.list()->toPlainText(), replaced);
    w.Select(1, 1);
    QTest::keyClicks(w.list(), "Z");  // typed after
    const QString typed_after = w.list()->toPlainText();

    const auto program_reads = [&] { return ToQt(w.window.form().controls().rtfPasswords->GetText()); };
    w.list()->undo();
    EXPECT_EQ(w.list()->toPlainText(), replaced);
    w.list()->undo();
    EXPECT_EQ(w.list()->toPlainText(), edited);
    EXPECT_EQ(program_reads(), QString(edited).replace("\n", "\r\n"));
    while (w.list()->document()->isUndoAvailable()) w.list()->undo();
    EXPECT_EQ(w.list()->toPlainText(), generated);
    while (w.list()->document()->isRedoAvailable()) w.list()->redo();
    EXPECT_EQ(w.list()->toPlainText(), typed_after);
    EXPECT_EQ(program_reads(), QString(typed_after).replace("\n", "\r\n"));
    w.list()->undo();
    w.list()->undo();
    w.list()->redo();
    EXPECT_EQ(w.list()->toPlainText(), replaced);
}
