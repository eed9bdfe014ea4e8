// The Edit and Format commands in the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

#include "app/main_window.h"
#include "edit/find_replace_dialog.h"
#include "tests/doubles/scripted_message_box.h"

using namespace morvane;

namespace {

struct FontDialogs : CommonDialog {
    bool cancel = false;
    SaveAnswer ShowSave(const SaveRequest&) override { throw CancelError(); }
    int ShowPrinter() override { throw CancelError(); }
    FontSpec ShowFont(const FontSpec& f) override {
        if (cancel) throw CancelError();
        FontSpec chosen = f;
        chosen.bold = true;
        chosen.size = 14;
        return chosen;
    }
};

struct EditWindow {
    ScriptedMessageBox box;
    FontDialogs dialogs;
    MainWindow window{WindowServices{.box = &box, .dialogs = &dialogs}};
    EditWindow() {
        window.form().Form_Load();
        window.show();
        window.activateWindow();
        QApplication::processEvents();
    }
};

}  // namespace

TEST(ClipboardCommands, CutCopyPasteDeleteOnTheFocusedField) {
    EditWindow w;
    QApplication::clipboard()->setText("before");
    w.window.txtOtherIn->setFocus();
    w.window.txtOtherIn->setText("a b c");
    w.window.mnuCopy_Click();  // nothing selected: clipboard untouched
    EXPECT_EQ(QApplication::clipboard()->text(), "before");
    w.window.txtOtherIn->setSelection(2, 1);
    QTest::keyClick(w.window.txtOtherIn, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "b");
    EXPECT_EQ(w.window.txtOtherIn->text(), "a  c");
    w.window.txtOtherIn->setCursorPosition(0);
    w.window.toolbarMain->findChild<QAction*>("Paste")->trigger();
    EXPECT_EQ(w.window.txtOtherIn->text(), "ba  c");
    w.window.txtOtherIn->setSelection(0, 2);
    w.window.mnuDelete_Click();
    EXPECT_EQ(w.window.txtOtherIn->text(), "  c");
}

TEST(ClipboardCommands, StatusFieldsAllowOnlyCopy) {
    EditWindow w;
    QApplication::clipboard()->setText("clip");
    w.window.txtStatus->setFocus();
    w.window.txtStatus->selectAll();
    w.window.mnuCut_Click();
    w.window.mnuPaste_Click();
    w.window.mnuDelete_Click();
    EXPECT_EQ(w.window.txtStatus->text(), "Ready");
    EXPECT_EQ(QApplication::clipboard()->text(), "clip");
    w.window.mnuCopy_Click();
    EXPECT_EQ(QApplication::clipboard()->text(), "Ready");
}

TEST(ClipboardCommands, NothingHappensOnACheckBoxOrWithoutText) {
    EditWindow w;
    w.window.chkLetter->setFocus();
    QApplication::clipboard()->setText("x");
    w.window.mnuPaste_Click();
    EXPECT_TRUE(w.window.chkLetter->isChecked());
    w.window.txtOtherIn->setFocus();
    auto* picture = new QMimeData;
    picture->setImageData(QImage(2, 2, QImage::Format_RGB32));
    QApplication::clipboard()->setMimeData(picture);
    w.window.mnuPaste_Click();
    EXPECT_EQ(w.window.txtOtherIn->text(), "");
}

TEST(ListCommands, SelectAllFontAndAlignmentWorkOnTheList) {
    EditWindow w;
    w.window.Generate();
    w.window.txtNum->setFocus();
    w.window.mnuSelectAll->trigger();  // from the menu, whatever has the focus
    EXPECT_EQ(w.window.focusWidget(), w.window.rtfPasswords);
    EXPECT_EQ(w.window.rtfPasswords->textCursor().selectedText().size(),
              w.window.rtfPasswords->toPlainText().size());
    w.window.mnuFont_Click();
    EXPECT_TRUE(w.window.rtfPasswords->textCursor().charFormat().font().bold());
    w.window.toolbarMain->findChild<QAction*>("RightAlign")->trigger();
    EXPECT_EQ(w.window.rtfPasswords->alignment() & Qt::AlignRight, Qt::AlignRight);
    w.dialogs.cancel = true;
    QString before = w.window.rtfPasswords->toPlainText();
    w.window.mnuFont_Click();
    EXPECT_EQ(w.window.rtfPasswords->toPlainText(), before);
    EXPECT_TRUE(w.box.shown.empty());
}

TEST(FindDialogInWindow, FindNextSelectsInTheListAndReopeningKeepsOneDialog) {
    EditWindow w;
    w.window.rtfPasswords->setPlainText("abc\nxabc\n");
    w.window.mnuFind_Click();
    auto* dialog = qobject_cast<FindReplaceDialog*>(w.window.findDialog());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->down->isChecked());
    EXPECT_FALSE(dialog->wholeWord->isChecked());
    dialog->findWhat->setText("abc");
    dialog->findNext->click();
    EXPECT_EQ(w.window.rtfPasswords->textCursor().selectedText(), "abc");
    dialog->findNext->click();
    EXPECT_EQ(w.window.rtfPasswords->textCursor().selectionStart(), 5);
    w.window.mnuReplace_Click();
    QApplication::processEvents();
    auto* replace = qobject_cast<FindReplaceDialog*>(w.window.findDialog());
    ASSERT_NE(replace, nullptr);
    EXPECT_NE(replace, dialog);
    EXPECT_EQ(replace->findWhat->text(), "abc");
    EXPECT_EQ(replace->replaceWith->text(), "abc");
    replace->replaceWith->setText("Q");
    w.window.find().operations().search_position = 1;
    replace->replaceAll->click();
    EXPECT_EQ(w.window.rtfPasswords->toPlainText(), "Q\nxQ\n");
    replace->cancel->click();
    EXPECT_EQ(w.window.rtfPasswords->toPlainText(), "Q\nxQ\n");
}
