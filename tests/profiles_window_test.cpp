// The Profiles menu of the real window, opened with the keyboard: choosing
// a profile sets the real widgets as a user would, the window's options
// saved as a profile mean to morvane-cli what they mean in the window and
// back, window-start, and a file that does not read well.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "app/generation_strip.h"
#include "app/main_window.h"
#include "app/profiles_menu.h"
#include "app/strength_bar.h"
#include "cli_run.h"
#include "modal_driver.h"
#include "shown_window.h"

using namespace morvane;

namespace {

// A configuration folder of the test's own, holding the profiles file.
struct Config {
    QTemporaryDir folder;
    QByteArray before = qgetenv("XDG_CONFIG_HOME");
    Config() {
        QDir(folder.path()).mkpath("morvane");
        qputenv("XDG_CONFIG_HOME", folder.path().toUtf8());
    }
    ~Config() { qputenv("XDG_CONFIG_HOME", before); }
    QString File() const { return folder.filePath("morvane/profiles.toml"); }
    void Write(const QByteArray& text) const {
        QFile file(File());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray Read() const {
        QFile file(File());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

struct Window {
    std::unique_ptr<ShownWindow> shown = std::make_unique<ShownWindow>();
    MainWindow& window = shown->window;
    ProfilesMenu& menu() { return *window.mnuProfiles; }
    GenerationStrip& strip() { return *window.generationStrip; }
    QString Strength() { return SettledStrength(window); }
    void Settle() {
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
    }
    // Opens the menu with Alt+I and walks down to the entry with the arrow
    // keys, as a keyboard user does, and presses Enter on it.
    void ChooseByKeyboard(const QString& caption) {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_I, Qt::AltModifier);
        Settle();
        ASSERT_EQ(QApplication::activePopupWidget(), &menu()) << "Alt+I does not open the Profiles menu";
        for (int step = 0; step < menu().actions().size() && menu().activeAction() != Entry(caption); ++step)
            QTest::keyClick(&menu(), Qt::Key_Down);
        ASSERT_EQ(menu().activeAction(), Entry(caption)) << caption.toStdString();
        QTest::keyClick(&menu(), Qt::Key_Return);
        Settle();
    }
    // The profile the status bar names as in use, if any.
    QString InUse() {
        Settle();
        auto* named = window.strengthBar->findChild<QLabel*>("lblProfileInUse");
        return named && named->isVisible() ? named->text() : QString();
    }
    QAction* Entry(const QString& caption) {
        for (QAction* a : menu().actions())
            if (a->text().remove('&') == caption) return a;
        return nullptr;
    }
    QStringList Entries() {
        QStringList captions;
        for (QAction* a : menu().actions())
            if (a->isCheckable()) captions << a->text();
        return captions;
    }
    // What the user sees of the options: every box, field and choice.
    QStringList Options() {
        QStringList seen;
        for (QCheckBox* b : {window.chkLetter, window.chkUpper, window.chkLower, window.chkNumber, window.chkSpecial,
                             window.chkOtherIn, window.chkSpace, window.chkAlike, window.chkOtherOut,
                             window.chkVarLen, window.chkDuplicate, strip().chkEachType})
            seen << b->text() + (b->isChecked() ? "=on" : "=off") + (b->isEnabled() ? "" : " (disabled)");
        for (QLineEdit* f : {window.txtOtherIn, window.txtOtherOut, window.txtMinLen, window.txtMaxLen, window.txtNum,
                             strip().txtSite, strip().txtRule, strip().txtSeparator})
            seen << f->objectName() + ":" + f->text() + (f->isEnabled() ? "" : " (disabled)");
        for (QRadioButton* r : {strip().optPasswords, strip().optPassphrases, strip().optSiteRules})
            seen << r->text() + (r->isChecked() ? "=on" : "=off");
        seen << QString::number(strip().spnWords->value()) << QString::number(strip().spnRuleLength->value())
             << strip().cboCase->currentText() << Strength();
        return seen;
    }
};

// morvane-cli's strength line for these options.
QString CliStrength(const std::string& args) {
    const Result r = Cli(args + " -n 1 --show-strength");
    EXPECT_EQ(r.code, 0) << r.err;
    return QString::fromStdString(r.err).trimmed();
}

void AnswerInput(const QString& text) {
    WhenModal<QInputDialog>([text](QInputDialog* dialog) {
        dialog->setTextValue(text);
        dialog->accept();
    });
}

}  // namespace

TEST(ProfilesWindow, ChoosingAProfileByKeyboardSetsTheOptionsAsAUserWouldAndTheStrengthFollows) {
    Config config;
    config.Write("[bank]\nsite = \"https://www.ubisoft.com/login\"\ncount = 1\n\n"
                 "[words]\npassphrase = true\nwords = 7\ncase = \"title\"\n");
    Window w;
    EXPECT_EQ(w.Entries(), (QStringList{"pin4 (built-in)", "pin6 (built-in)", "letters-digits (built-in)",
                                        "strong (built-in)", "wifi (built-in)", "shell-safe (built-in)",
                                        "passphrase6 (built-in)", "passphrase8 (built-in)", "recipe5 (built-in)", "spoken4 (built-in)",
                                        "bank", "words"}));
    w.ChooseByKeyboard("strong (built-in)");
    EXPECT_TRUE(w.window.chkAlike->isChecked());
    EXPECT_FALSE(w.window.chkVarLen->isChecked());
    EXPECT_EQ(w.window.txtMaxLen->text(), "20");
    EXPECT_EQ(w.window.txtMinLen->text(), "20");
    EXPECT_TRUE(w.strip().chkEachType->isChecked());
    EXPECT_TRUE(w.Entry("strong (built-in)")->isChecked());
    EXPECT_EQ(w.Strength(), CliStrength("--profile strong"));
    EXPECT_EQ(w.InUse(), "Profile: strong");
    w.window.chkNumber->click();  // a changed option: no profile is in use
    w.Settle();
    EXPECT_EQ(w.InUse(), "");
    EXPECT_EQ(w.menu().chosen(), "");
    w.window.chkNumber->click();
    w.ChooseByKeyboard("strong (built-in)");
    EXPECT_EQ(w.InUse(), "Profile: strong");

    w.ChooseByKeyboard("pin6 (built-in)");  // the letter box's rule clears both cases
    EXPECT_FALSE(w.window.chkLetter->isChecked());
    EXPECT_FALSE(w.window.chkUpper->isChecked());
    EXPECT_FALSE(w.window.chkSpecial->isChecked());
    EXPECT_FALSE(w.window.chkAlike->isChecked());  // what the profile leaves out is the default
    EXPECT_FALSE(w.strip().chkEachType->isChecked());
    EXPECT_EQ(w.Strength(), CliStrength("--profile pin6"));
    w.window.Generate();
    for (const QString& line : w.window.rtfPasswords->toPlainText().split('\n', Qt::SkipEmptyParts))
        EXPECT_TRUE(QRegularExpression("^[0-9]{6}$").match(line).hasMatch()) << line.toStdString();

    w.ChooseByKeyboard("wifi (built-in)");
    w.ChooseByKeyboard("bank");
    EXPECT_TRUE(w.strip().optSiteRules->isChecked());
    EXPECT_EQ(w.window.txtMinLen->text(), "6");  // the length fields stand aside, at their defaults
    EXPECT_EQ(w.window.txtMaxLen->text(), "8");
    EXPECT_TRUE(w.window.chkVarLen->isChecked());
    EXPECT_FALSE(w.window.fraInclude->isEnabled());
    EXPECT_EQ(w.strip().txtSite->text(), "https://www.ubisoft.com/login");
    EXPECT_EQ(w.strip().spnRuleLength->value(), 16);
    EXPECT_EQ(w.window.txtNum->text(), "1");
    EXPECT_EQ(w.Strength(), CliStrength("--profile bank"));

    w.ChooseByKeyboard("spoken4 (built-in)");
    EXPECT_TRUE(w.strip().optPronounceable->isChecked());
    EXPECT_EQ(w.strip().spnGroups->value(), 4);
    EXPECT_EQ(w.Strength(), CliStrength("--profile spoken4"));

    w.ChooseByKeyboard("words");
    EXPECT_TRUE(w.strip().optPassphrases->isChecked());
    EXPECT_EQ(w.strip().spnWords->value(), 7);
    EXPECT_EQ(w.strip().cboCase->currentText(), "Title");
    EXPECT_EQ(w.window.txtNum->text(), "10");
    EXPECT_EQ(w.Strength(), CliStrength("--profile words"));
}

TEST(ProfilesWindow, OptionsSavedFromTheWindowAreWhatMorvaneCliReadsAndBack) {
    Config config;
    Window w;
    // Set by hand, as a user does.
    w.window.chkSpecial->click();
    w.window.chkAlike->click();
    for (auto [field, text] : {std::pair{w.window.txtMaxLen, "14"}, {w.window.txtMinLen, "10"}, {w.window.txtNum, "4"}}) {
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    w.Settle();
    const QString strength = w.Strength();
    QString offered = "?";
    WhenModal<QInputDialog>([&](QInputDialog* dialog) {
        offered = dialog->textValue();  // nothing in use: the field starts empty
        dialog->setTextValue("mine");
        dialog->accept();
    });
    w.menu().mnuSaveProfile->trigger();
    w.Settle();
    EXPECT_EQ(offered, "");
    EXPECT_TRUE(w.shown->box.shown.empty()) << w.shown->box.shown.front().text;
    EXPECT_EQ(w.window.strengthBar->currentMessage(), "Profile mine saved.");
    EXPECT_EQ(w.InUse(), "Profile: mine");
    EXPECT_EQ(config.Read(), "[mine]\ncount = 4\nmin = 10\nmax = 14\nno-special = true\nexclude-look-alikes = true\n");
    EXPECT_EQ(CliStrength("--profile mine"), strength);
    const Result made = Cli("--profile mine");
    EXPECT_EQ(Lines(made.out).size(), 4u);
    EXPECT_TRUE(w.Entries().contains("mine"));

    // A built-in's name and a name that is no word are refused with the
    // reason in the dialog, which stays open; the file stays.
    for (const QString& name : {QString("strong"), QString("my bank")}) {
        QString reason, offered_again;
        WhenModal<QInputDialog>([&, name](QInputDialog* dialog) {
            dialog->setTextValue(name);
            dialog->accept();
            WhenModal<QInputDialog>([&](QInputDialog* again) {
                reason = again->labelText();
                offered_again = again->textValue();
                again->reject();
            });
        });
        w.menu().mnuSaveProfile->trigger();
        w.Settle();
        EXPECT_TRUE(w.shown->box.shown.empty()) << name.toStdString();
        EXPECT_TRUE(reason.contains("\"" + name + "\" is")) << reason.toStdString();
        EXPECT_EQ(offered_again, name);
    }
    EXPECT_EQ(config.Read(), "[mine]\ncount = 4\nmin = 10\nmax = 14\nno-special = true\nexclude-look-alikes = true\n");

    // Back: a profile saved by morvane-cli shows in the menu when it opens,
    // and gives the window the same options.
    ASSERT_EQ(Cli("--save-profile phrase --passphrase --words 5 --digits 2 --separator _ --unique").code, 0);
    w.ChooseByKeyboard("phrase");
    EXPECT_TRUE(w.strip().optPassphrases->isChecked());
    EXPECT_EQ(w.strip().txtSeparator->text(), "_");
    EXPECT_TRUE(w.window.chkDuplicate->isChecked());
    EXPECT_EQ(w.Strength(), CliStrength("--profile phrase"));

    // Deleted from the window: the other profile stays as it was.
    w.shown->box.shown.clear();
    AnswerInput("mine");
    w.menu().mnuDeleteProfile->trigger();
    w.Settle();
    EXPECT_TRUE(w.shown->box.shown.empty());
    EXPECT_EQ(config.Read(), "[phrase]\npassphrase = true\nwords = 5\ndigits = 2\nseparator = \"_\"\nunique = true\n");
    EXPECT_FALSE(w.Entries().contains("mine"));
}

TEST(ProfilesWindow, TheWindowStartsWithItsStartProfileAndWithoutOneExactlyAsBefore) {
    QStringList today;
    {
        Config none;
        today = Window().Options();
    }
    Config config;
    config.Write("# mine\n[long]\nlength = 30\n");
    Window plain;
    EXPECT_EQ(plain.Options(), today);  // profiles alone change nothing at the start
    EXPECT_FALSE(plain.menu().mnuStartWithProfile->isEnabled());
    EXPECT_FALSE(plain.menu().mnuStartWithDefaults->isEnabled());
    plain.ChooseByKeyboard("long");
    plain.menu().mnuStartWithProfile->trigger();
    EXPECT_EQ(config.Read(), "# mine\nwindow-start = \"long\"\n\n[long]\nlength = 30\n");
    {
        Window started;
        EXPECT_EQ(started.window.txtMaxLen->text(), "30");
        EXPECT_FALSE(started.window.chkVarLen->isChecked());
        EXPECT_TRUE(started.Entry("long")->isChecked());
        EXPECT_EQ(started.Strength(), CliStrength("--profile long"));
        started.menu().mnuStartWithDefaults->trigger();
    }
    EXPECT_EQ(config.Read(), "# mine\n\n[long]\nlength = 30\n");
    EXPECT_EQ(Window().Options(), today);
    config.Write("window-start = \"wifi\"\n");  // a built-in one
    Window wifi;
    EXPECT_EQ(wifi.window.txtMaxLen->text(), "24");
    EXPECT_TRUE(wifi.window.chkAlike->isChecked());
}

TEST(ProfilesWindow, AFileThatDoesNotReadWellIsSaidWithItsLineAndLeftAsItWas) {
    Config config;
    const QByteArray broken = "window-start = \"long\"\n[long]\nlength = 300\n";
    config.Write(broken);
    Window w;
    ASSERT_EQ(w.shown->box.shown.size(), 1u);
    EXPECT_EQ(w.shown->box.shown[0].text,
              config.File().toStdString() + ":3: profile long: --length must be a whole number from 4 to 128\r\n"
                                            "Only the built-in profiles are listed until the file is mended.");
    EXPECT_EQ(w.Options().join('\n'), [] {
        Config none;
        return Window().Options().join('\n');
    }());
    EXPECT_EQ(w.Entries().size(), 10);
    AnswerInput("other");
    w.menu().mnuSaveProfile->trigger();
    w.Settle();
    ASSERT_EQ(w.shown->box.shown.size(), 2u);
    EXPECT_NE(w.shown->box.shown[1].text.find(":3: profile long: --length must be"), std::string::npos);
    EXPECT_NE(w.shown->box.shown[1].text.find("the file is left as it is"), std::string::npos);
    EXPECT_EQ(config.Read(), broken);
}
