// The strip under the client area: passphrases and the each-type rule in the
// real window.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QTextBlock>
#include <fstream>
#include <set>

#include "app/generation_strip.h"
#include "app/main_window.h"
#include "app/strength_bar.h"
#include "modal_driver.h"
#include "shown_window.h"

using namespace morvane;

namespace {

struct Window : ShownWindow {
    GenerationStrip& strip() { return *window.generationStrip; }
    QStringList Lines() { return window.rtfPasswords->toPlainText().split('\n', Qt::SkipEmptyParts); }
    QString Strength() { return SettledStrength(window); }
    void Run(int count) {
        window.form().controls().rtfPasswords->SetText(U"");
        window.txtNum->setText(QString::number(count));
        window.Generate();
        QApplication::processEvents();
    }
    // Chooses a word list file of the user's in the real file dialog.
    void ChooseWordList(const QString& path) {
        WhenModal<QFileDialog>([path](QFileDialog* d) {
            d->selectFile(path);
            QMetaObject::invokeMethod(d, "accept");  // as the Open button does
        });
        strip().cmdWordList->click();
    }
};

}  // namespace

TEST(GenerationStrip, StandsUnderTheClientAreaWhichKeepsItsPlaceAndSize) {
    Window w;
    QWidget* client = w.window.fraInclude->parentWidget();
    EXPECT_EQ(client->size(), QSize(696, 409));
    EXPECT_EQ(client->mapTo(&w.window, QPoint(0, 0)).y() + client->height(),
              w.strip().mapTo(&w.window, QPoint(0, 0)).y());
    EXPECT_LE(w.strip().sizeHint().width(), client->width());
    EXPECT_TRUE(w.strip().optPasswords->isChecked());
    EXPECT_FALSE(w.strip().spnWords->isEnabled());
}

// Each kind of output leaves enabled what applies to it, and no more:
// passwords take every option; a site's rule decides the characters and the
// length, which the exclusions narrow; pronounceable passwords take the
// look-alikes and Other out; passphrases only the count and duplicates.
TEST(GenerationStrip, EachKindEnablesWhatAppliesToIt) {
    Window w;
    GenerationStrip& s = w.strip();
    MainWindow& m = w.window;
    const std::vector<std::pair<const char*, QWidget*>> controls = {
        {"Include", m.fraInclude}, {"Max Length", m.txtMaxLen}, {"Variable length", m.chkVarLen},
        {"Spaces", m.chkSpace},    {"Look-alikes", m.chkAlike}, {"Other out", m.chkOtherOut},
        {"Duplicates", m.chkDuplicate}, {"Count", m.txtNum},    {"One of each type", s.chkEachType},
        {"Groups", s.spnGroups},   {"Words", s.spnWords},       {"Site", s.txtSite}};
    const struct {
        QRadioButton* kind;
        const char* enabled;  // a letter for each control above: 1 enabled, 0 not
    } kinds[] = {
        {s.optPasswords, "111111111000"},
        {s.optSiteRules, "000111110001"},
        {s.optPronounceable, "000011110100"},
        {s.optPassphrases, "000000110010"},
        {s.optPasswords, "111111111000"},
    };
    for (const auto& k : kinds) {
        k.kind->setChecked(true);
        QApplication::processEvents();
        for (size_t i = 0; i < controls.size(); ++i)
            EXPECT_EQ(controls[i].second->isEnabled(), k.enabled[i] == '1')
                << k.kind->text().toStdString() << ": " << controls[i].first;
    }
}

TEST(GenerationStrip, PassphrasesRunWithTheWindowsCount) {
    Window w;
    w.strip().optPassphrases->setChecked(true);
    QApplication::processEvents();
    EXPECT_EQ(w.Strength(), "Strength: 77.5 bits per passphrase (7772 words, 6 drawn): Good");
    w.strip().spnWords->setValue(3);
    w.strip().txtSeparator->setText("+");
    w.strip().cboCase->setCurrentIndex(static_cast<int>(WordCase::kUpper));
    w.Run(25);
    const QStringList lines = w.Lines();
    ASSERT_EQ(lines.size(), 25);
    for (const QString& line : lines) {
        EXPECT_EQ(line.split('+').size(), 3) << line.toStdString();
        EXPECT_EQ(line, line.toUpper());
    }
    EXPECT_EQ(w.window.txtNumPass->text(), "25");
    EXPECT_EQ(w.window.txtStatus->text(), "Complete");
}

TEST(GenerationStrip, AUniqueRunOfPassphrasesReachesTheExactCountAndRefusesOneMore) {
    QTemporaryDir dir;
    const QString path = dir.filePath("words.txt");
    {
        std::ofstream out(path.toStdString());
        for (int i = 0; i < 1024; ++i) out << (1000 + i) << " word" << i << "\n";  // with dice numbers
    }
    Window w;
    w.strip().optPassphrases->setChecked(true);
    w.ChooseWordList(path);
    EXPECT_EQ(w.strip().lblWordList->text(), "words.txt");
    w.strip().spnWords->setValue(1);
    w.window.chkDuplicate->setChecked(true);
    w.Run(1024);
    const QStringList lines = w.Lines();
    EXPECT_EQ(lines.size(), 1024);
    EXPECT_EQ(std::set<QString>(lines.begin(), lines.end()).size(), 1024u);
    EXPECT_TRUE(lines.first().startsWith("word"));
    w.box.shown.clear();
    w.Run(1025);
    ASSERT_EQ(w.box.shown.size(), 1u);
    EXPECT_EQ(w.box.shown[0].text,
              "Maximum number of passwords possible is 1024\r\nPlease change your number of passwords.");
    EXPECT_TRUE(w.Lines().isEmpty());
}

TEST(GenerationStrip, TheEachTypeRuleHoldsInTheWindowAndItsStrengthIsExact) {
    Window w;
    w.strip().chkEachType->setChecked(true);
    w.window.chkVarLen->setChecked(false);
    w.window.txtMaxLen->setText("4");
    QApplication::processEvents();
    // 26 x 26 x 10 x 32 x 4! = 5,191,680 passwords of four.
    EXPECT_EQ(w.Strength(), "Strength: 22.3 bits per password (94 characters, 4 long): Poor");
    w.Run(500);
    for (const QString& line : w.Lines()) {
        bool upper = false, lower = false, digit = false, special = false;
        for (QChar c : line) {
            upper |= c.isUpper();
            lower |= c.isLower();
            digit |= c.isDigit();
            special |= c.isPunct() || c.isSymbol();
        }
        EXPECT_TRUE(upper && lower && digit && special) << line.toStdString();
    }
    // Digits and one Other character, unique: 11^4 - 10^4 - 1 = 4640.
    for (QCheckBox* off : {w.window.chkLetter, w.window.chkSpecial}) off->setChecked(false);
    w.window.chkOtherIn->setChecked(true);
    w.window.txtOtherIn->setText("x");
    w.window.chkDuplicate->setChecked(true);
    w.Run(4640);
    EXPECT_EQ(w.Lines().size(), 4640);
    w.box.shown.clear();
    w.Run(4641);
    ASSERT_EQ(w.box.shown.size(), 1u);
    EXPECT_EQ(w.box.shown[0].text,
              "Maximum number of passwords possible is 4640\r\nPlease change your number of passwords.");
}

// A pipe chosen as the word list (no writer: reading it would wait forever)
// is told as what it is in the strength line and by Generate.
TEST(GenerationStrip, AWordListThatIsAPipeIsRefusedAtOnceSayingSo) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath("words.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    Window w;
    w.strip().optPassphrases->setChecked(true);
    w.ChooseWordList(fifo);
    ASSERT_EQ(w.strip().lblWordList->text(), "words.txt");
    QApplication::processEvents();  // the strength line follows
    const std::string says = "The word list " + fifo.toStdString() + " is a pipe, not a file of words.";
    EXPECT_EQ(w.Strength().toStdString(), "Strength: no password can be made: " + says);
    w.Run(5);
    ASSERT_EQ(w.box.shown.size(), 1u);
    EXPECT_EQ(w.box.shown[0].text, says);
    EXPECT_TRUE(w.Lines().isEmpty());
}

TEST(GenerationStrip, TheWordListButtonSaysWhatItDoesCancelKeepsTheListAndTheEffListComesBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("mine.txt");
    {
        std::ofstream out(path.toStdString());
        for (int i = 0; i < 1024; ++i) out << "own" << i << "\n";
    }
    Window w;
    const QSize size = w.window.size();
    w.strip().optPassphrases->setChecked(true);
    EXPECT_EQ(w.strip().cmdWordList->text(), "Word list...");
    EXPECT_EQ(w.strip().lblWordList->text(), "EFF words");
    EXPECT_FALSE(w.strip().cmdBuiltInList->isVisible());
    w.ChooseWordList(path);
    EXPECT_EQ(w.strip().lblWordList->text(), "mine.txt");
    EXPECT_TRUE(w.strip().cmdBuiltInList->isVisible());
    EXPECT_EQ(w.strip().cmdWordList->accessibleDescription(), "In use: mine.txt");
    QApplication::processEvents();
    EXPECT_EQ(w.window.size(), size);  // the strip keeps within the window
    EXPECT_LE(w.strip().sizeHint().width(), w.window.clientArea()->width());

    // Cancel in the dialog: the list chosen stays in use.
    WhenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
    w.strip().cmdWordList->click();
    EXPECT_EQ(w.strip().lblWordList->text(), "mine.txt");
    w.strip().spnWords->setValue(1);
    w.Run(5);
    for (const QString& line : w.Lines()) EXPECT_TRUE(line.startsWith("own")) << line.toStdString();

    // The way back to the built-in list is a button of its own.
    w.strip().cmdBuiltInList->click();
    EXPECT_EQ(w.strip().lblWordList->text(), "EFF words");
    EXPECT_FALSE(w.strip().cmdBuiltInList->isVisible());
    w.Run(5);
    for (const QString& line : w.Lines()) EXPECT_FALSE(line.startsWith("own")) << line.toStdString();
}

// Pronounceable passwords: the groups of the strip, the window's count and
// exclusions; the strength is the exact count's.
TEST(GenerationStrip, PronounceablePasswordsTakeTheGroupsTheCountAndTheExclusions) {
    Window w;
    w.strip().optPronounceable->setChecked(true);
    QApplication::processEvents();
    EXPECT_EQ(w.Strength(), "Strength: 70.3 bits per password (pronounceable, 3 groups of 6 letters): Weak; 4 groups make it Good");
    w.strip().spnGroups->setValue(2);
    w.window.chkAlike->click();
    QTest::qWaitFor([&] { return w.Strength().contains("2 groups"); }, 20000);
    EXPECT_EQ(w.Strength().toStdString(), "Strength: 46.7 bits per password (pronounceable, 2 groups of 6 letters): Weak; 4 groups make it Good");
    w.Run(200);
    const QStringList lines = w.Lines();
    ASSERT_EQ(lines.size(), 200);
    const QRegularExpression format("^[bdfghjkmnprstvwzaeiuAEUDFGHJKMNPRSTVWZ2-79]{6}-[bdfghjkmnprstvwzaeiuAEUDFGHJKMNPRSTVWZ2-79]{6}$");
    for (const QString& line : lines) {
        EXPECT_TRUE(format.match(line).hasMatch()) << line.toStdString();
        EXPECT_EQ(line.count(QRegularExpression("[0-9]")), 1) << line.toStdString();
        EXPECT_EQ(line.count(QRegularExpression("[A-Z]")), 1) << line.toStdString();
    }
    EXPECT_EQ(w.window.txtStatus->text(), "Complete");
}
