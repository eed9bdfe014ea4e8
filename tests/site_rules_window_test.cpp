// The Site rules mode of the real window: the domain typed with real keys,
// the rule it brings, the check as a rule is typed, and the run.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QLabel>
#include <QTest>

#include "app/generation_strip.h"
#include "app/main_window.h"
#include "app/profiles_menu.h"
#include "app/strength_bar.h"
#include "shown_window.h"

using namespace morvane;

namespace {

struct Window : ShownWindow {
    GenerationStrip& strip() { return *window.generationStrip; }
    QString Strength() { return SettledStrength(window); }
    QStringList Lines() { return window.rtfPasswords->toPlainText().split('\n', Qt::SkipEmptyParts); }
    void Settle() {
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
    }
    void ChooseSiteRules() {
        QTest::mouseClick(strip().optSiteRules, Qt::LeftButton, {}, QPoint(6, strip().optSiteRules->height() / 2));
        Settle();
    }
    void Type(QWidget* field, const QString& text) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
        Settle();
    }
};

bool Holds(const QString& password, const QString& members) {
    for (QChar c : password)
        if (members.contains(c)) return true;
    return false;
}

}  // namespace

TEST(SiteRulesWindow, ADomainTypedBringsItsRuleLengthAndExactStrengthAndTheRunKeepsIt) {
    Window w;
    w.ChooseSiteRules();
    ASSERT_TRUE(w.strip().optSiteRules->isChecked());  // what it enables: GenerationStrip.EachKindEnables…

    w.Type(w.strip().txtSite, "https://www.Ubisoft.com/en-us/login");
    EXPECT_EQ(w.strip().txtRule->text(),
              "minlength: 8; maxlength: 16; required: lower; required: upper; required: digit; required: [-]; "
              "required: [!@#$%^&*()+];");
    EXPECT_EQ(w.strip().spnRuleLength->value(), 16);  // 20, brought into 8 to 16
    EXPECT_EQ(w.strip().spnRuleLength->maximum(), 16);
    EXPECT_EQ(w.strip().spnRuleLength->minimum(), 8);
    EXPECT_EQ(w.Strength(), "Strength: 96.7 bits per password (ubisoft.com's rule, 74 characters, 16 long): Good");
    EXPECT_EQ(w.strip().lblRuleProblem->text(), "");

    w.window.txtNum->setText("200");
    QTest::mouseClick(w.window.cmdGenerate, Qt::LeftButton);
    w.Settle();
    EXPECT_TRUE(w.box.shown.empty()) << w.box.shown.front().text;
    const QStringList lines = w.Lines();
    ASSERT_EQ(lines.size(), 200);
    const QString specials = "!@#$%^&*()+";
    for (const QString& line : lines) {
        EXPECT_EQ(line.size(), 16) << line.toStdString();
        EXPECT_TRUE(Holds(line, "ABCDEFGHIJKLMNOPQRSTUVWXYZ") && Holds(line, "abcdefghijklmnopqrstuvwxyz") &&
                    Holds(line, "0123456789") && Holds(line, "-") && Holds(line, specials))
            << line.toStdString();
    }
    EXPECT_EQ(w.window.txtNumPass->text(), "200");

    // Look-alikes out narrow the rule: the strength line follows, and the run.
    QTest::mouseClick(w.window.chkAlike, Qt::LeftButton, {}, QPoint(6, w.window.chkAlike->height() / 2));
    w.Settle();
    EXPECT_TRUE(w.Strength().startsWith("Strength: ")) << w.Strength().toStdString();
    EXPECT_TRUE(w.Strength().contains("ubisoft.com's rule, 66 characters, 16 long")) << w.Strength().toStdString();
    w.window.form().controls().rtfPasswords->SetText(U"");
    QTest::mouseClick(w.window.cmdGenerate, Qt::LeftButton);
    w.Settle();
    for (const QString& line : w.Lines())
        for (QChar c : QString("1Il0oOB8")) EXPECT_FALSE(line.contains(c)) << line.toStdString();
}

TEST(SiteRulesWindow, ARuleIsCheckedAsItIsTypedAndARunOfABrokenOneIsRefused) {
    Window w;
    w.ChooseSiteRules();
    w.Type(w.strip().txtRule, "minlength: 8; required: [a-z]");
    EXPECT_EQ(w.strip().lblRuleProblem->toolTip(),
              "The rule at 27: '-' stands only first in a class: there are no ranges such as [a-z]");
    EXPECT_EQ(w.strip().txtRule->accessibleDescription(), w.strip().lblRuleProblem->toolTip());
    EXPECT_TRUE(w.Strength().startsWith("Strength: no password can be made: the rule at 27:"));
    const QSize size = w.window.size();
    QTest::mouseClick(w.window.cmdGenerate, Qt::LeftButton);
    w.Settle();
    ASSERT_EQ(w.box.shown.size(), 1u);
    EXPECT_EQ(w.box.shown[0].title, "INPUT ERROR: Site rules.");
    EXPECT_EQ(w.box.shown[0].text,
              "The rule at 27: '-' stands only first in a class: there are no ranges such as [a-z].");
    EXPECT_TRUE(w.Lines().isEmpty());

    // A rule no password keeps, then a sound one: the line under it clears,
    // and the window kept its size throughout.
    w.Type(w.strip().txtRule, "allowed: [a]; max-consecutive: 1; minlength: 6");
    EXPECT_EQ(w.strip().lblRuleProblem->toolTip(), "No password of 6 to 128 characters keeps the rule");
    w.Type(w.strip().txtRule, "required: digit; allowed: lower; maxlength: 12");
    EXPECT_EQ(w.strip().lblRuleProblem->text(), "");
    EXPECT_EQ(w.strip().spnRuleLength->value(), 12);
    EXPECT_EQ(w.window.size(), size);
    // A site not known says so under the fields.
    w.Type(w.strip().txtRule, "");
    w.Type(w.strip().txtSite, "intranet.nowhere.example");
    EXPECT_EQ(w.strip().lblRuleProblem->toolTip(), "No rule is known for intranet.nowhere.example: 12 characters of "
                                                   "every kind");
    EXPECT_EQ(w.strip().spnRuleLength->maximum(), 128);
}

// The rule always belongs to the site named: a known site replaced by one
// not known takes its rule, range and strength with it, and the run follows;
// an edited rule is the user's own; the note holds in Site rules alone.
TEST(SiteRulesWindow, AKnownSiteReplacedByAnUnknownOneTakesItsRuleWithIt) {
    Window w;
    w.ChooseSiteRules();
    w.Type(w.strip().txtSite, "ubisoft.com");
    ASSERT_EQ(w.strip().spnRuleLength->value(), 16);
    ASSERT_TRUE(w.Strength().contains("ubisoft.com's rule")) << w.Strength().toStdString();
    w.Type(w.strip().txtSite, "github.com");
    EXPECT_EQ(w.strip().txtRule->text(), "");
    EXPECT_EQ(w.strip().spnRuleLength->value(), 20);
    EXPECT_EQ(w.strip().spnRuleLength->maximum(), 128);
    EXPECT_EQ(w.strip().lblRuleProblem->toolTip(), "No rule is known for github.com: 20 characters of every kind");
    EXPECT_EQ(w.Strength(), "Strength: 131.1 bits per password (the rule, 94 characters, 20 long): Excellent");
    w.window.txtNum->setText("40");
    w.window.Generate();
    for (const QString& line : w.Lines()) {
        EXPECT_EQ(line.size(), 20);
        EXPECT_FALSE(line.contains(' '));
    }
    // Back to a known site, then its rule edited: the rule is the user's.
    w.Type(w.strip().txtSite, "ubisoft.com");
    w.Type(w.strip().txtRule, "minlength: 12; required: digit; allowed: lower");
    EXPECT_EQ(w.strip().lblRuleProblem->toolTip(), "Your own rule: it is no longer ubisoft.com's");
    EXPECT_FALSE(w.Strength().contains("ubisoft.com")) << w.Strength().toStdString();
    // A site not known keeps a rule the user typed, and says whose it is.
    w.Type(w.strip().txtSite, "github.com");
    EXPECT_EQ(w.strip().txtRule->text(), "minlength: 12; required: digit; allowed: lower");
    EXPECT_EQ(w.strip().lblRuleProblem->toolTip(), "No rule is known for github.com: the rule typed here is used");
    // The note holds in Site rules alone, and not after a profile empties the domain.
    QTest::mouseClick(w.strip().optPasswords, Qt::LeftButton, {}, QPoint(6, w.strip().optPasswords->height() / 2));
    w.Settle();
    EXPECT_EQ(w.strip().lblRuleProblem->toolTip(), "");
    w.ChooseSiteRules();
    ASSERT_NE(w.strip().lblRuleProblem->toolTip(), "");
    w.window.mnuProfiles->Choose("strong");
    w.Settle();
    EXPECT_EQ(w.strip().txtSite->text(), "");
    EXPECT_EQ(w.strip().lblRuleProblem->toolTip(), "");
}

TEST(SiteRulesWindow, TheDomainFieldCompletesFromTheKnownSites) {
    Window w;
    w.ChooseSiteRules();
    QCompleter* completer = w.strip().txtSite->completer();
    ASSERT_NE(completer, nullptr);
    EXPECT_GE(completer->model()->rowCount(), 434);
    w.Type(w.strip().txtSite, "ubiso");
    EXPECT_GE(completer->completionCount(), 1);
    completer->setCurrentRow(0);
    EXPECT_EQ(completer->currentCompletion(), "ubisoft.com");
}

TEST(SiteRulesWindow, ABrokenTableOfTheUsersIsLeftOutAndSaidWithItsPlace) {
    QTemporaryDir config;
    ASSERT_TRUE(QDir(config.path()).mkpath("morvane"));
    QFile broken(config.filePath("morvane/password-rules.json"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("{\n  \"a.example\": {\"password-rules\": \"minlength: 8\",}\n}\n");
    broken.close();
    const QByteArray before = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    Window w;
    if (before.isEmpty()) qunsetenv("XDG_CONFIG_HOME");
    else qputenv("XDG_CONFIG_HOME", before);
    w.ChooseSiteRules();
    EXPECT_TRUE(w.strip().lblRuleProblem->toolTip().startsWith(config.filePath("morvane/password-rules.json") + ":2:"))
        << w.strip().lblRuleProblem->toolTip().toStdString();
    // The bundled sites still serve.
    EXPECT_EQ(w.strip().txtSite->completer()->model()->rowCount(), 434);
    w.Type(w.strip().txtSite, "ubisoft.com");
    EXPECT_EQ(w.strip().spnRuleLength->value(), 16);
}

// A pipe or a device in place of the user's files does not hold up the
// window's start: each is said once, in a message over the shown window.
TEST(SiteRulesWindow, APipeOrADeviceInPlaceOfTheUsersFilesIsSaidOverTheShownWindow) {
    QTemporaryDir config;
    ASSERT_TRUE(QDir(config.path()).mkpath("morvane"));
    const QString profiles = config.filePath("morvane/profiles.toml"), sites = config.filePath("morvane/password-rules.json");
    ASSERT_EQ(mkfifo(profiles.toUtf8().constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", sites));
    const QByteArray before = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    ScriptedMessageBox box;
    std::vector<bool> shown_over_window;
    MainWindow window{WindowServices{.box = &box}};
    box.on_show = [&](const ShownBox&) { shown_over_window.push_back(window.isVisible()); };
    window.Start();
    window.show();
    QApplication::processEvents();
    if (before.isEmpty()) qunsetenv("XDG_CONFIG_HOME");
    else qputenv("XDG_CONFIG_HOME", before);
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(box.shown[0].text, sites.toStdString() + " is a device, not a table of sites\r\nOnly the bundled sites' "
                                                        "rules are known until it is mended.");
    EXPECT_EQ(box.shown[1].text, profiles.toStdString() + " is a pipe, not a file of profiles\r\nOnly the built-in "
                                                           "profiles are listed until the file is mended.");
    EXPECT_EQ(shown_over_window, (std::vector<bool>{true, true}));
}

// A rule that takes long to count does not hold up the window: the strength
// line says it is being counted, the window goes on, and the line follows
// once the count is done; a rule too intricate to count is refused at once.
TEST(SiteRulesWindow, ARuleSlowToCountIsCountedWhileTheWindowGoesOn) {
    Window w;
    w.ChooseSiteRules();
    w.strip().spnRuleLength->setValue(128);
    const QString lines = "required: [abcdef]; required: [bcdefg]; required: [cdefgh]; required: [defghi]; "
                          "required: [efghij]; required: [fghijk]; required: [ghijkl]; required: [hijklm]; "
                          "required: [ijklmn]; required: [jklmno]";
    w.strip().txtRule->setText(lines);
    QApplication::processEvents();
    EXPECT_EQ(w.window.strengthBar->line()->text(), StrengthBar::kCounting);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.Strength().startsWith("Strength: 500.1 bits"); }, 60000))
        << w.Strength().toStdString();
    w.strip().txtRule->setText("allowed: upper, lower; " + lines + "; max-consecutive: 2");
    QApplication::processEvents();
    EXPECT_TRUE(w.strip().lblRuleProblem->toolTip().startsWith("The rule is too intricate to count"))
        << w.strip().lblRuleProblem->toolTip().toStdString();
}

// The page where a site's password is changed is one click away beside the
// rule; a site that signs in with another's account takes its rule and says
// whose it is.
TEST(SiteRulesWindow, TheChangePageIsALinkAndASharedAccountTakesItsRule) {
    Window w;
    w.ChooseSiteRules();
    w.Type(w.strip().txtSite, "github.com");
    EXPECT_TRUE(w.strip().lblChangePage->isVisible());
    EXPECT_EQ(w.strip().lblChangePage->text(),
              "<a href=\"https://github.com/settings/security\">Change the password at github.com</a>");
    w.Type(w.strip().txtSite, "x.com");
    EXPECT_EQ(w.strip().txtRule->text(), "minlength: 8;");
    EXPECT_EQ(w.strip().lblRuleProblem->toolTip(), "x.com signs in with twitter.com's account: twitter.com's rule");
    EXPECT_TRUE(w.Strength().contains("twitter.com's rule")) << w.Strength().toStdString();
    w.Type(w.strip().txtSite, "nowhere.example");
    EXPECT_FALSE(w.strip().lblChangePage->isVisible());
    w.Type(w.strip().txtSite, "etrade.com");
    EXPECT_TRUE(w.strip().lblChangePage->text().endsWith("It wants the one-time code after the password"));
    QTest::mouseClick(w.strip().optPasswords, Qt::LeftButton, {}, QPoint(6, w.strip().optPasswords->height() / 2));
    w.Settle();
    EXPECT_FALSE(w.strip().lblChangePage->isVisible());
}
