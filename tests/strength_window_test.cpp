// The strength line under the window and the clipboard's secret mark.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTextCursor>
#include <cmath>

#include "app/main_window.h"
#include "app/strength_bar.h"
#include "shown_window.h"

using namespace morvane;

namespace {

struct Window : ShownWindow {
    QString Line() {
        QApplication::processEvents();  // the line follows the options after the window took them in
        return SettledStrength(window);
    }
    QColor Color() { return window.strengthBar->line()->palette().color(QPalette::WindowText); }
    void DigitsOnly() {
        window.chkLetter->setChecked(false);
        window.chkSpecial->setChecked(false);
    }
};

}  // namespace

TEST(StrengthLine, ShowsTheStartValuesAndFollowsEveryOption) {
    Window w;
    EXPECT_EQ(w.Line().toStdString(),
              "Strength: 39.3 to 52.4 bits per password (94 characters, 6 to 8 long): Poor; "
              "a Min Length of 12 makes it Good");
    EXPECT_EQ(w.Color(), QColor(200, 0, 0));
    EXPECT_EQ(w.window.clientArea()->size(), QSize(696, 409));  // the client area is untouched
    EXPECT_GE(w.window.strengthBar->geometry().top(), w.window.centralWidget()->geometry().bottom());

    w.window.chkVarLen->setChecked(false);  // fixed length: both fields read 8
    EXPECT_EQ(w.Line().toStdString(),
              "Strength: 52.4 bits per password (94 characters, 8 long): Weak; 12 characters make it Good");
    EXPECT_EQ(w.Color(), QColor(224, 112, 0));
    w.window.txtMaxLen->setText("16");
    EXPECT_EQ(w.Line(), "Strength: 104.9 bits per password (94 characters, 16 long): Excellent");
    w.window.txtMaxLen->setText("13");
    EXPECT_EQ(w.Line(), "Strength: 85.2 bits per password (94 characters, 13 long): Good");
    EXPECT_EQ(w.window.txtStatus->text(), "Ready");
    EXPECT_TRUE(w.box.shown.empty());
}

TEST(StrengthLine, CountsThePoolAsARunBuildsIt) {
    Window w;
    w.DigitsOnly();
    w.window.chkVarLen->setChecked(false);
    w.window.txtMaxLen->setText("4");
    EXPECT_EQ(w.Line().toStdString(),
              "Strength: 13.3 bits per password (10 characters, 4 long): Poor; 23 characters make it Good");

    w.window.chkAlike->setChecked(true);  // 0, 1 and 8 look alike
    EXPECT_EQ(w.Line().toStdString(),
              "Strength: 11.2 bits per password (7 characters, 4 long): Poor; 27 characters make it Good");

    w.window.chkAlike->setChecked(false);
    w.window.chkOtherIn->setChecked(true);
    w.window.txtOtherIn->setText("5");  // a second entry for 5: drawn twice as often
    double p5 = 2.0 / 11, p = 1.0 / 11;
    double bits = 4 * -(p5 * std::log2(p5) + 9 * p * std::log2(p));
    const int good_length = static_cast<int>(std::ceil(75 / (bits / 4)));
    EXPECT_EQ(w.Line(), "Strength: " + QString::number(bits, 'f', 1) + " bits per password (10 characters, 4 long): Poor; " +
                            QString::number(good_length) + " characters make it Good");
    EXPECT_NE(w.Line().left(58), "Strength: 13.3 bits per password (10 characters, 4 long)");
}

TEST(StrengthLine, SaysInWordsWhenNoPasswordCanBeMade) {
    Window w;
    w.DigitsOnly();
    w.window.chkOtherOut->setChecked(true);
    w.window.txtOtherOut->setText("0 1 2 3 4 5 6 7 8 9");
    EXPECT_EQ(w.Line(), "Strength: no password can be made: the exclusions leave no character.");
    w.window.txtOtherOut->clear();
    w.window.txtMinLen->setText("abc");
    EXPECT_EQ(w.Line(), "Strength: no password can be made: Min Length is not a whole number from 4 to 128.");
    w.window.txtMinLen->setText("6");
    w.window.chkNumber->setChecked(false);
    EXPECT_EQ(w.Line(), "Strength: no password can be made: choose at least one type of character.");
    EXPECT_EQ(w.window.txtStatus->text(), "Ready");  // no status change, no message box
    EXPECT_TRUE(w.box.shown.empty());
}

