// The window's controls behave as the program's procedures expect.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTextEdit>
#include <QTest>

#include "options/spinner_step.h"
#include "platform/qt/qt_controls.h"
#include "platform/password_list/password_list_box.h"
#include "platform/base/runtime_error.h"

using namespace morvane;

TEST(QtCheckBoxTest, ClickRunsOnRealChangesOnlyAndNests) {
    QWidget window;
    auto* a = new QCheckBox("a", &window);
    auto* b = new QCheckBox("b", &window);
    QtCheckBox box_a(a), box_b(b);
    std::vector<std::string> log;
    box_a.Click = [&] {
        log.push_back("a" + std::to_string(box_a.Value()));
        box_b.SetValue(box_a.Value());  // nested inside a's handler
        log.push_back("a-end");
    };
    box_b.Click = [&] { log.push_back("b" + std::to_string(box_b.Value())); };
    box_a.SetValue(0);
    EXPECT_TRUE(log.empty());
    box_a.SetValue(1);
    EXPECT_EQ(log, (std::vector<std::string>{"a1", "b1", "a-end"}));
    log.clear();
    a->click();  // the user's click
    EXPECT_EQ(log, (std::vector<std::string>{"a0", "b0", "a-end"}));
    box_a.SetValue(2);
    EXPECT_EQ(box_a.Value(), 2);
}

TEST(QtTextBoxTest, TextSelectionAndChanges) {
    QWidget window;
    auto* edit = new QLineEdit(&window);
    QtTextBox box(edit);
    int changes = 0;
    box.Change = [&] { ++changes; };
    box.SetText(U"hello");
    box.SetText(U"hello");
    EXPECT_EQ(changes, 1);
    box.SetSelStart(1);
    box.SetSelLength(3);
    EXPECT_EQ(box.SelText(), U"ell");
    box.SetSelText(U"ipp");
    EXPECT_EQ(box.GetText(), U"hippo");
    EXPECT_EQ(changes, 2);
    box.SetText(U"a😀b");  // positions count whole characters
    box.SetSelStart(1);
    box.SetSelLength(1);
    EXPECT_EQ(box.SelText(), U"😀");
    EXPECT_EQ(box.SelStart(), 1);
    QTest::keyClicks(edit, "z");
    EXPECT_EQ(box.GetText(), U"azb");
    box.SetForeColor({192, 0, 0});
    EXPECT_EQ(box.ForeColor(), (Rgb{192, 0, 0}));
}

TEST(QtTextBoxTest, AHiddenFieldRefusesTheFocusWithErrorFive) {
    QWidget window;
    auto* edit = new QLineEdit(&window);
    QtTextBox box(edit);
    try {
        box.SetFocus();
        FAIL() << "focus was taken";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 5);
    }
}

TEST(QtRichTextBoxTest, PlainTextUsesCrLfAndPositionsCountThemAsTwo) {
    QWidget window;
    auto* edit = new QTextEdit(&window);
    QtRichTextBox list(edit);
    list.AppendText(U"abc\r\n");
    list.AppendText(U"de\r\n");
    EXPECT_EQ(list.GetText(), U"abc\r\nde\r\n");
    EXPECT_EQ(list.TextLength(), 9);
    list.SetSelStart(5);
    list.SetSelLength(2);
    EXPECT_EQ(list.SelText(), U"de");
    list.SetSelStart(2);
    list.SetSelLength(4);
    EXPECT_EQ(list.SelText(), U"c\r\nd");
    EXPECT_EQ(list.SelStart(), 2);
    EXPECT_EQ(list.SelLength(), 4);
    list.SetSelText(U"X");
    EXPECT_EQ(list.GetText(), U"abXe\r\n");
    EXPECT_EQ(list.SelStart(), 3);
    list.SetText(U"one\ntwo\rthree");  // lone breaks become CR LF
    EXPECT_EQ(list.GetText(), U"one\r\ntwo\r\nthree");
    list.SetText(U"");
    EXPECT_EQ(list.GetText(), U"");
}

TEST(QtRichTextBoxTest, PositionsMapTheSameWithAndWithoutCharactersBeyond16Bits) {
    QWidget window;
    auto* edit = new QTextEdit(&window);
    QtRichTextBox list(edit);
    for (const Text& text : {Text(U"ab\r\ncd\r\n\r\nef\r\n"), Text(U"a\U0001F600\r\ncd\r\n\r\nef\r\n")}) {
        list.SetText(text);
        ASSERT_EQ(list.TextLength(), 14);
        for (int start = 0; start <= 14; ++start) {
            list.SetSelStart(start);
            // A position between CR and LF lands behind the break.
            int expected = start == 3 || start == 7 || start == 9 || start == 13 ? start + 1 : start;
            EXPECT_EQ(list.SelStart(), expected) << start;
        }
        list.SetSelStart(4);
        list.SetSelLength(5);
        EXPECT_EQ(list.SelText(), U"cd\r\n\r\n");
        EXPECT_EQ(list.SelLength(), 6);  // the break is whole
        list.SetSelStart(10);
        list.SetSelLength(2);
        EXPECT_EQ(list.SelText(), U"ef");
        EXPECT_EQ(list.TextView(), text);
    }
}

TEST(QtRichTextBoxTest, AppendingContinuesAnUnfinishedLastLine) {
    QWidget window;
    auto* edit = new QTextEdit(&window);
    QtRichTextBox list(edit);
    list.SetText(U"mine");
    list.AppendText(U"pw\r\n");
    EXPECT_EQ(list.GetText(), U"minepw\r\n");
}

TEST(QtRichTextBoxTest, FontAndAlignmentApplyToTheSelection) {
    QWidget window;
    auto* edit = new QTextEdit(&window);
    QtRichTextBox list(edit);
    list.SetText(U"aaa\r\nbbb\r\n");
    list.SetSelStart(5);
    list.SetSelLength(3);
    FontSpec f;
    f.name = "Courier";
    f.size = 12;
    f.bold = true;
    list.SetSelFont(f);
    EXPECT_TRUE(list.SelFont().bold);
    EXPECT_DOUBLE_EQ(list.SelFont().size, 12);
    list.SetSelAlignment(kAlignCenter);
    EXPECT_EQ(list.SelAlignment(), kAlignCenter);
    list.SetSelStart(0);
    EXPECT_FALSE(list.SelFont().bold);
    EXPECT_EQ(list.SelAlignment(), kAlignLeft);
    EXPECT_EQ(list.GetText(), U"aaa\r\nbbb\r\n");
}

TEST(QtSpinnerTest, ArrowsWriteTheNextNumberIntoTheField) {
    QWidget window;
    auto* edit = new QLineEdit(&window);
    QtTextBox field(edit);
    field.SetText(U"6");
    QtSpinner spinner(&window, &field, 6, [](const Text& text, int64_t last, int direction) {
        return SpinnerStep(text, last, 4, 128, direction);
    });
    int changes = 0;
    field.Change = [&] { ++changes; };
    spinner.up()->click();
    EXPECT_EQ(field.GetText(), U"7");
    field.SetText(U"128");
    spinner.up()->click();
    EXPECT_EQ(field.GetText(), U"128");
    spinner.down()->click();
    EXPECT_EQ(field.GetText(), U"127");
    EXPECT_EQ(changes, 3);
}
