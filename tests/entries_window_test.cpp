// The entry fields as a user meets them in the window, in any locale.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>
#include <clocale>
#include <string>

#include "app/main_window.h"
#include "shown_window.h"

using namespace morvane;

namespace {

struct Window : ShownWindow {
    QStringList Lines() const { return window.rtfPasswords->toPlainText().split('\n', Qt::SkipEmptyParts); }
    int Lines(int) const { return window.rtfPasswords->document()->blockCount() - 1; }
};

// The process's locale for one test, as the desktop would set it.
struct UserLocale {
    std::string saved = std::setlocale(LC_ALL, nullptr);
    QLocale saved_qt;
    bool ok;
    explicit UserLocale(const char* name) : ok(std::setlocale(LC_ALL, name) != nullptr) {
        if (ok) QLocale::setDefault(QLocale(QString(name).section('.', 0, 0)));
    }
    ~UserLocale() {
        std::setlocale(LC_ALL, saved.c_str());
        QLocale::setDefault(saved_qt);
    }
};

}  // namespace

TEST(EntriesInWindow, NumbersReadTheSameInADecimalCommaLocale) {
    int tried = 0;
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8"}) {
        UserLocale locale(name);
        if (!locale.ok) continue;  // the set-up installs de_DE.UTF-8
        ++tried;
        SCOPED_TRACE(name);
        Window w;
        w.window.txtMinLen->setText("3.5");  // counts as 4
        w.window.txtMaxLen->setText("4");
        w.window.txtNum->setText("0.6");     // counts as 1
        w.window.Generate();
        EXPECT_TRUE(w.box.shown.empty()) << (w.box.shown.empty() ? "" : w.box.shown[0].text);
        ASSERT_EQ(w.Lines().size(), 1);
        EXPECT_EQ(w.Lines()[0].size(), 4);

        w.window.txtMinLen->setText("8.4");
        w.window.txtMaxLen->setText("8.2");
        w.window.txtNum->setText("1");
        w.window.Generate();
        ASSERT_EQ(w.box.shown.size(), 1u);
        EXPECT_EQ(w.box.shown[0].text, "Min Length should be less than or equal to Max Length.");
        EXPECT_EQ(w.window.txtStatus->text(), "Input Error");

        w.box.shown.clear();
        w.window.txtMinLen->setText("3,5");  // not a number here, whatever the locale
        w.window.Generate();
        ASSERT_EQ(w.box.shown.size(), 1u);
        EXPECT_EQ(w.box.shown[0].text, "Enter a value greater than 3 but less than 129 for Min Length");
    }
    if (tried == 0) GTEST_SKIP() << "no decimal-comma locale is installed";
}

TEST(EntriesInWindow, LineBreaksAndControlCharactersInTheOtherFieldsOnlySeparate) {
    Window w;
    for (QCheckBox* box : {w.window.chkLetter, w.window.chkNumber, w.window.chkSpecial}) box->setChecked(false);
    w.window.chkOtherIn->setChecked(true);
    w.window.chkSpace->setChecked(true);
    const QString pasted = QString("a\r\nb\nc") + QChar(0x2028) + "d" + QChar(0x2029) + "e" + QChar(0x85) +
                           "f" + QChar(0) + "g" + QChar(0x1B) + "h\ti";
    w.window.txtOtherIn->setText(pasted);
    w.window.txtNum->setText("20");
    w.window.Generate();
    EXPECT_EQ(w.Lines(0), 20);
    EXPECT_EQ(w.window.txtNumPass->text(), "20");
    QString allowed = "abcdefgh\ti";
    for (const QString& line : w.Lines())
        for (QChar c : line) EXPECT_TRUE(allowed.contains(c)) << "U+" << std::hex << static_cast<int>(c.unicode());

    w.window.chkOtherOut->setChecked(true);  // the excluded characters split the same way
    w.window.txtOtherOut->setText(QString("a\nb\r\nc") + QChar(0x2029) + "d e f g h");
    w.window.txtNum->setText("5");
    w.window.Generate();
    for (const QString& line : w.Lines().mid(20)) EXPECT_EQ(line.count('i') + line.count('\t'), line.size()) << line.toStdString();
}

TEST(EntriesInWindow, TheOtherFieldsTakeALongPasteAndThePoolLimitIsReported) {
    Window w;
    const QString long_text(40000, 'x');
    w.window.txtOtherIn->setText(long_text);
    w.window.txtOtherOut->setText(long_text);
    EXPECT_EQ(w.window.txtOtherIn->text().size(), 40000);
    EXPECT_EQ(w.window.txtOtherOut->text().size(), 40000);
    w.window.chkOtherIn->setChecked(true);
    w.window.Generate();
    ASSERT_EQ(w.box.shown.size(), 1u);
    EXPECT_EQ(w.box.shown[0].title, "ERROR: IsCreateArray");
    EXPECT_EQ(w.Lines(0), 0);
}

TEST(EntriesInWindow, AClickIntoANumberFieldSelectsItsWholeText) {
    Window w;
    for (QLineEdit* field : {w.window.txtMinLen, w.window.txtMaxLen, w.window.txtNum}) {
        w.window.chkLetter->setFocus();
        QApplication::processEvents();
        QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, QPoint(field->width() - 3, field->height() / 2));
        EXPECT_TRUE(field->hasFocus());
        EXPECT_EQ(field->selectedText(), field->text()) << field->objectName().toStdString();
    }
}

TEST(EntriesInWindow, ARunAppendsWithoutGrowingTheUsersSelection) {
    Window w;
    w.window.Generate();
    const QString first = w.window.rtfPasswords->toPlainText();
    w.window.mnuSelectAll_Click();
    w.window.Generate();
    EXPECT_EQ(w.Lines().size(), 20);
    QTextCursor selection = w.window.rtfPasswords->textCursor();
    EXPECT_EQ(selection.selectionStart(), 0);
    EXPECT_EQ(selection.selectionEnd(), first.size());
    w.window.rtfPasswords->setFocus();
    w.window.mnuDelete_Click();
    EXPECT_EQ(w.Lines().size(), 10);  // Delete removes only what was selected
}

TEST(EntriesInWindow, ALongRunKeepsTheListsFormatAndTheUsersSelection) {
    Window w;
    w.window.txtNum->setText("3");
    w.window.Generate();
    QTextCursor first(w.window.rtfPasswords->document());
    first.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    first.mergeCharFormat(bold);  // the user makes the first password bold
    const QString before = w.window.rtfPasswords->toPlainText();
    w.window.mnuSelectAll_Click();
    w.window.txtNum->setText("20000");
    w.window.Generate();
    EXPECT_EQ(w.Lines(0), 20003);
    EXPECT_EQ(w.window.txtNumPass->text(), "20003");
    EXPECT_TRUE(w.window.rtfPasswords->toPlainText().startsWith(before));
    QTextCursor probe(w.window.rtfPasswords->document());
    probe.setPosition(1);
    EXPECT_EQ(probe.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(w.window.rtfPasswords->textCursor().selectionEnd(), before.size());

    ShownWindow fresh;  // a plain list takes a long run at once, all of it
    fresh.window.txtNum->setText("30000");
    fresh.window.Generate();
    EXPECT_EQ(fresh.window.rtfPasswords->document()->blockCount() - 1, 30000);
    EXPECT_EQ(fresh.window.form().lngPasswordCount(), 30000);
    fresh.window.mnuSelectAll_Click();
    EXPECT_EQ(fresh.window.rtfPasswords->textCursor().selectedText().count(QChar::ParagraphSeparator), 30000);
}

TEST(EntriesInWindow, ALengthTypedDuringARunReachesThePasswordsStillToCome) {
    Window w;
    w.window.chkVarLen->setChecked(false);
    w.window.txtNum->setText("200000");
    // Typed at the run's first turn, as the user would while it goes on.
    QTimer::singleShot(0, &w.window, [&] {
        QTest::keyClick(w.window.txtMaxLen, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(w.window.txtMaxLen, "12");
    });
    w.window.Generate();
    const QStringList lines = w.Lines();
    ASSERT_EQ(lines.size(), 200000);
    EXPECT_EQ(lines.front().size(), 8);
    EXPECT_EQ(lines.back().size(), 12);
    // Every password is of the one length or, from a turn on, the other.
    const auto first_long = std::find_if(lines.begin(), lines.end(), [](const QString& l) { return l.size() == 12; });
    ASSERT_NE(first_long, lines.end());
    EXPECT_TRUE(std::all_of(lines.begin(), first_long, [](const QString& l) { return l.size() == 8; }));
    EXPECT_TRUE(std::all_of(first_long, lines.end(), [](const QString& l) { return l.size() == 12; }));
}
