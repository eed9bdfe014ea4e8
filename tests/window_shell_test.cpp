// The window's shell: layout, menus, toolbar, routing, help, links, closing.
#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTextEdit>
#include <QLineEdit>
#include <QRadioButton>
#include <QCheckBox>
#include <QToolBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "app/generation_strip.h"
#include "app/help_window.h"
#include "app/mod_main.h"
#include "app/window_place.h"
#include "edit/clipboard_guard.h"
#include "edit/program_settings.h"
#include "platform/qt/qt_desktop.h"
#include "tests/doubles/scripted_message_box.h"

using namespace morvane;

namespace {

struct RecordingDesktop : DesktopService {
    std::vector<std::string> opened;
    void Open(const std::string& target) override { opened.push_back(target); }
};

const char* const kHelpSections[] = {"contents", "generate", "options", "values", "eachtype", "passphrases",
                                     "siterules", "list", "index"};

struct Shell {
    ScriptedMessageBox box;
    RecordingDesktop desktop;
    QTemporaryDir folder;
    int ended = 0;
    std::unique_ptr<MainWindow> window;
    explicit Shell(bool with_help = true) {
        if (with_help) {
            QFile help(folder.filePath("Morvane.html"));
            help.open(QIODevice::WriteOnly);
            help.write("<html><body>");
            for (const char* section : kHelpSections)
                help.write(QString("<h2 id=\"%1\">%1</h2><p>About %1.</p>").arg(section).toUtf8());
            help.write("</body></html>");
        }
        window = std::make_unique<MainWindow>(
            WindowServices{.box = &box, .desktop = &desktop, .end_program = [this] { ++ended; }, .program_folder = folder.path().toStdString()});
        window->form().Form_Load();
        window->show();
        window->activateWindow();
        QApplication::processEvents();
    }
    QAction* Action(const char* name) { return window->findChild<QAction*>(name); }
};

}  // namespace

TEST(WindowLayout, OpensAtTheLayoutsSizeWithItsPlacesInPixels) {
    Shell s;
    MainWindow& w = *s.window;
    EXPECT_EQ(w.clientArea()->size(), QSize(696, 409));
    EXPECT_EQ(w.size(), w.minimumSize());
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(w.fraInclude->geometry(), QRect(8, 32, 201, 129));
    EXPECT_EQ(w.fraPasswords->geometry(), QRect(216, 32, 249, 369));
    EXPECT_EQ(w.fraStatus->geometry(), QRect(472, 264, 217, 137));
    EXPECT_EQ(w.cmdGenerate->geometry(), QRect(8, 16, 201, 25));
    EXPECT_EQ(w.picMorvaneLogo->pixmap().size(), QSize(215, 80));
    EXPECT_EQ(w.picMorvaneLogo->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(w.toolbarMain->geometry().topLeft(), QPoint(0, 0));
}

// Resized or maximised, the list takes every pixel the window gains, the
// panels right of it keep their size at the right edge, the option frames
// stay, and the strip and the strength line stay under the list.
TEST(WindowLayout, TheListTakesWhatTheWindowGainsAndShowsWholePassphrases) {
    Shell s;
    MainWindow& w = *s.window;
    const QSize first = w.size();
    const QRect list = w.rtfPasswords->geometry(), commands = w.fraCommands->geometry(),
                status = w.fraStatus->geometry(), include = w.fraInclude->geometry();
    const struct {
        const char* how;
        std::function<void()> grow;
    } cases[] = {
        {"resized", [&] { w.resize(first + QSize(420, 260)); }},
        {"maximised", [&] { w.showMaximized(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        c.grow();
        QApplication::processEvents();
        const QSize gained = w.size() - first;
        ASSERT_GT(gained.width(), 0);
        ASSERT_GT(gained.height(), 0);
        EXPECT_EQ(w.rtfPasswords->geometry(), QRect(list.topLeft(), list.size() + gained));
        EXPECT_EQ(w.fraCommands->geometry(), commands.translated(gained.width(), 0));
        EXPECT_EQ(w.fraStatus->geometry(), status.translated(gained.width(), 0));
        EXPECT_EQ(w.fraInclude->geometry(), include);
        EXPECT_EQ(w.generationStrip->geometry().top(), w.clientArea()->geometry().bottom() + 1);
        EXPECT_GE(w.statusBar()->geometry().top(), w.centralWidget()->geometry().bottom());
    }
    // Six words of the longest, as a passphrase stands in the list: whole
    // in a window 1280 wide.
    w.showNormal();
    w.resize(1280, first.height());
    QApplication::processEvents();
    const QString longest = QStringList(6, "abcdefghi").join("-");
    EXPECT_LE(w.rtfPasswords->fontMetrics().horizontalAdvance(longest), w.rtfPasswords->viewport()->width());
}

// Its size, place and maximised state come back at the next start; a
// place off the screen comes back on it, title bar first.
TEST(WindowLayout, TheNextStartOpensWhereTheWindowWasLeft) {
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize first = Shell().window->size();
    const struct {
        const char* how;
        QRect left_at;
        bool maximised;
    } cases[] = {
        {"moved and resized", QRect(available.topLeft() + QPoint(30, 40), first + QSize(40, 20)), false},
        {"maximised", QRect(available.topLeft() + QPoint(10, 10), first), true},
        {"above and left of the screen", QRect(available.topLeft() - QPoint(300, 200), first), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        {
            Shell s;
            s.window->setGeometry(c.left_at);
            if (c.maximised) s.window->showMaximized();
            QApplication::processEvents();
            s.window->mnuExit->trigger();  // answered Yes
            ASSERT_EQ(s.ended, 1);
        }
        ScriptedMessageBox box;
        MainWindow next(WindowServices{.box = &box});
        RestoreWindowPlace(&next);
        EXPECT_EQ(next.isMaximized(), c.maximised);
        if (c.maximised) continue;
        EXPECT_EQ(next.size(), c.left_at.size());
        EXPECT_TRUE(available.contains(next.frameGeometry().topLeft())) << next.frameGeometry().topLeft().x();
        if (available.contains(c.left_at)) EXPECT_EQ(next.geometry().topLeft(), c.left_at.topLeft());
    }
}

TEST(WindowLayout, ToolbarHasFourteenButtonsAndFiveSeparatorsInOrder) {
    Shell s;
    QList<QAction*> entries = s.window->toolbarMain->actions();
    ASSERT_EQ(entries.size(), 19);
    QStringList shape;
    for (QAction* a : entries) shape << (a->isSeparator() ? "|" : a->objectName());
    EXPECT_EQ(shape.join(" "),
              "| Generate Save Print | Cut Copy Paste Delete Find | Font LeftAlign CenterAlign "
              "RightAlign | Contents Website |");
    EXPECT_EQ(s.window->toolbarMain->findChild<QAction*>("Find")->toolTip(), "Find search string");
    EXPECT_EQ(s.window->toolbarMain->findChild<QAction*>("Find")->statusTip(), "Finds search string");
    for (QAction* a : entries)
        if (!a->isSeparator()) EXPECT_EQ(a->icon().actualSize(QSize(16, 16)), QSize(16, 16));
}

TEST(WindowLayout, MenuTreeWithCaptionsAndShortcuts) {
    Shell s;
    QStringList tops;
    for (QAction* a : s.window->menuBar()->actions()) tops << a->text();
    EXPECT_EQ(tops, (QStringList{"&File", "&Edit", "F&ormat", "Prof&iles", "&Help"}));
    struct Row { const char* name; const char* caption; QKeySequence key; };
    for (Row r : {Row{"mnuGenerate", "&Generate", QKeySequence("Ctrl+G")},
                  Row{"mnuSave", "&Save As", QKeySequence("Ctrl+S")},
                  Row{"mnuPrint", "&Print", QKeySequence("Ctrl+P")},
                  Row{"mnuExit", "E&xit", QKeySequence("Ctrl+Q")},
                  Row{"mnuCut", "Cu&t", QKeySequence("Ctrl+X")},
                  Row{"mnuCopy", "&Copy", QKeySequence("Ctrl+C")},
                  Row{"mnuPaste", "&Paste", QKeySequence("Ctrl+V")},
                  Row{"mnuDelete", "&Delete", QKeySequence("Del")},
                  Row{"mnuClear", "C&lear", QKeySequence("Ctrl+N")},
                  Row{"mnuSelectAll", "Select &All", QKeySequence("Ctrl+A")},
                  Row{"mnuFind", "&Find", QKeySequence("Ctrl+F")},
                  Row{"mnuReplace", "&Replace", QKeySequence("Ctrl+H")},
                  Row{"mnuFont", "&Font", QKeySequence()},
                  Row{"mnuAlignLeft", "&Left", QKeySequence()},
                  Row{"mnuSaveProfile", "&Save Options as Profile...", QKeySequence()},
                  Row{"mnuDeleteProfile", "&Delete Profile...", QKeySequence()},
                  Row{"mnuStartWithProfile", "Start with &This Profile", QKeySequence()},
                  Row{"mnuStartWithDefaults", "Start with the De&faults", QKeySequence()},
                  Row{"mnuContents", "&Contents", QKeySequence("F1")},
                  Row{"mnuWebsite", "&Go to website", QKeySequence()},
                  Row{"mnuAbout", "&About", QKeySequence()}}) {
        QAction* a = s.Action(r.name);
        ASSERT_NE(a, nullptr) << r.name;
        EXPECT_EQ(a->text(), r.caption);
        EXPECT_EQ(a->shortcut(), r.key) << r.name;
    }
}

TEST(CommandRouting, GenerateFromMenuShortcutAndToolbar) {
    Shell s;
    s.window->txtOtherIn->setFocus();
    QTest::keyClick(s.window->txtOtherIn, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(s.window->txtNumPass->text(), "10");
    s.window->toolbarMain->findChild<QAction*>("Generate")->trigger();
    EXPECT_EQ(s.window->txtNumPass->text(), "20");
    s.Action("mnuGenerate")->trigger();
    EXPECT_EQ(s.window->txtNumPass->text(), "30");
}

TEST(CommandRouting, ClearShortcutWorksFromAnyField) {
    Shell s;
    s.window->Generate();
    s.box.answers = {kResultOk};
    s.window->txtMaxLen->setFocus();
    QTest::keyClick(s.window->txtMaxLen, Qt::Key_N, Qt::ControlModifier);
    ASSERT_FALSE(s.box.shown.empty());
    EXPECT_EQ(s.box.shown.back().title, "Clear Passwords:");
    EXPECT_TRUE(s.window->rtfPasswords->toPlainText().isEmpty());
}

TEST(CommandRouting, UnknownToolbarKeyShowsTheFixedMessage) {
    Shell s;
    s.window->toolbarMain_ButtonClick("generate");  // keys compare case-sensitively
    ASSERT_EQ(s.box.shown.size(), 1u);
    EXPECT_EQ(s.box.shown[0].text, "DONT GET THIS MESSAGE");
    EXPECT_EQ(s.box.shown[0].title, "Morvane Password Generator");
    EXPECT_TRUE(s.window->rtfPasswords->toPlainText().isEmpty());
}

// Help opens in a window of the program's own, with no browser on PATH:
// at its contents for Help?, Help > Contents and the toolbar, at the
// section about the focused control for F1.
TEST(HelpAndLinks, EveryHelpSourceOpensTheHelpWindowAndF1TheFocusedControlsSection) {
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");
    Shell s;
    MainWindow& w = *s.window;
    const auto f1_in = [&](QWidget* control) {
        return [&w, control] {
            w.activateWindow();
            QApplication::processEvents();
            control->setFocus();
            QTest::keyClick(control, Qt::Key_F1);
        };
    };
    const struct {
        const char* how;
        std::function<void()> ask;
        QString section;
    } cases[] = {
        {"Help?", [&] { w.cmdHelp->click(); }, "contents"},
        {"Help > Contents", [&] { s.Action("mnuContents")->trigger(); }, "contents"},
        {"the toolbar", [&] { w.toolbarMain->findChild<QAction*>("Contents")->trigger(); }, "contents"},
        {"F1 in the count", f1_in(w.txtNum), "values"},
        {"F1 on Letters", f1_in(w.chkLetter), "options"},
        {"F1 in the list", f1_in(w.rtfPasswords), "list"},
        {"F1 on Generate", f1_in(w.cmdGenerate), "generate"},
        {"F1 on Passphrases", f1_in(w.generationStrip->optPassphrases), "passphrases"},
        {"F1 on Site rules", f1_in(w.generationStrip->optSiteRules), "siterules"},
        {"F1 on One of each type", f1_in(w.generationStrip->chkEachType), "eachtype"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        c.ask();
        HelpWindow* help = w.helpWindow();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->page()->source().fileName(), "Morvane.html");
        EXPECT_EQ(help->page()->source().fragment(), c.section);
        EXPECT_NE(help->page()->toPlainText().indexOf("About " + c.section), -1);
        help->hide();
    }
    // Within the page links stay in the help window, and Back returns; the
    // web goes to the desktop; Find finds in the page, or says it did not.
    HelpWindow* help = w.helpWindow();
    emit help->page()->anchorClicked(QUrl("#list"));
    EXPECT_EQ(help->page()->source().fragment(), "list");
    help->page()->backward();
    EXPECT_EQ(help->page()->source().fragment(), "eachtype");
    EXPECT_TRUE(s.desktop.opened.empty());
    emit help->page()->anchorClicked(QUrl("https://example.org/passwords"));
    EXPECT_EQ(s.desktop.opened, std::vector<std::string>{"https://example.org/passwords"});
    for (const auto& [wanted, found] : {std::pair{"About values", true}, std::pair{"nowhere in the page", false}}) {
        help->findField()->setText(wanted);
        QTest::keyClick(help->findField(), Qt::Key_Return);
        EXPECT_EQ(help->page()->textCursor().selectedText() == wanted, found) << wanted;
        EXPECT_EQ(help->statusBar()->currentMessage(), found ? "" : "Not found") << wanted;
    }
    EXPECT_TRUE(s.box.shown.empty());
    qputenv("PATH", path);
}

TEST(HelpAndLinks, AMissingHelpFileOrNoProgramToOpenALinkSaysSoInAMessage) {
    Shell s(false);
    s.window->cmdHelp->click();
    EXPECT_EQ(s.window->helpWindow(), nullptr);
    ASSERT_EQ(s.box.shown.size(), 1u);
    EXPECT_EQ(s.box.shown[0].title, "ERROR: cmdHelp_Click");
    EXPECT_NE(s.box.shown[0].text.find("Morvane.html was not found"), std::string::npos) << s.box.shown[0].text;
    EXPECT_TRUE(s.window->isVisible());

    // The desktop of a test has no browser and no mail program: help opens
    // all the same, and each link out says it could not be opened, under
    // its command's title.
    ScriptedMessageBox box;
    QTemporaryDir folder;
    QFile help(folder.filePath("Morvane.html"));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    MainWindow window(WindowServices{.box = &box, .program_folder = folder.path().toStdString()});
    window.form().Form_Load();
    window.cmdHelp->click();
    ASSERT_NE(window.helpWindow(), nullptr);
    EXPECT_TRUE(window.helpWindow()->isVisible());
    emit window.helpWindow()->page()->anchorClicked(QUrl("https://example.org/"));
    window.findChild<QAction*>("mnuWebsite")->trigger();
    QtDesktop desktop;
    OpenEmail(desktop, box);
    ASSERT_EQ(box.shown.size(), 3u);
    EXPECT_EQ(box.shown[0].title, "ERROR: HelpLink");
    EXPECT_NE(box.shown[0].text.find("No program could be started to open https://example.org/"), std::string::npos)
        << box.shown[0].text;
    EXPECT_EQ(box.shown[1].title, "ERROR:OpenWebsite");
    EXPECT_NE(box.shown[1].text.find(kWebsite), std::string::npos) << box.shown[1].text;
    EXPECT_EQ(box.shown[2].title, "ERROR:OpenEmail");
}

TEST(HelpAndLinks, WebsiteFromMenuToolbarAndLogoOncePerClick) {
    Shell s;
    s.Action("mnuWebsite")->trigger();
    s.window->toolbarMain->findChild<QAction*>("Website")->trigger();
    QTest::mouseClick(s.window->picMorvaneLogo, Qt::LeftButton);
    ASSERT_EQ(s.desktop.opened.size(), 3u);
    for (const std::string& url : s.desktop.opened) EXPECT_EQ(url, kWebsite);
    OpenEmail(s.desktop, s.box);
    EXPECT_EQ(s.desktop.opened.back(),
              "mailto:" + kSupportEmail + "?body=Morvane%0aPassword%0aGenerator");
}

TEST(Closing, EveryPathAsksAndNoKeepsEverything) {
    Shell s;
    s.window->Generate();
    QString list = s.window->rtfPasswords->toPlainText();
    s.box.answers = {kResultNo, kResultNo, kResultNo};
    s.window->cmdExit->click();
    s.window->txtNum->setFocus();
    QTest::keyClick(s.window->txtNum, Qt::Key_Q, Qt::ControlModifier);
    s.window->close();  // the close box
    ASSERT_EQ(s.box.shown.size(), 3u);
    for (const ShownBox& b : s.box.shown) {
        EXPECT_EQ(b.text, "Are you sure you want to close Morvane?");
        EXPECT_EQ(b.title, "Exit Morvane:");
        EXPECT_EQ(b.buttons, kYesNo);
    }
    EXPECT_TRUE(s.window->isVisible());
    EXPECT_EQ(s.ended, 0);
    EXPECT_EQ(s.window->rtfPasswords->toPlainText(), list);

    s.box.answers = {kResultYes};
    s.Action("mnuExit")->trigger();
    EXPECT_EQ(s.ended, 1);
}

TEST(Closing, ConfirmingDuringARunEndsTheProgramThere) {
    Shell s;
    s.window->txtNum->setText("100");
    s.box.answers = {kResultYes};
    bool clicked = false;
    QObject::connect(s.window->txtNumPass, &QLineEdit::textChanged, s.window->txtNumPass, [&](const QString& t) {
        if (!t.isEmpty() && t.toInt() < 100 && !clicked) {  // at a yield, in the middle of the run
            clicked = true;
            s.window->cmdExit->click();
        }
    });
    s.window->Generate();
    EXPECT_EQ(s.ended, 1);
}

TEST(WindowIdentity, TheProgramNamesTheMenuEntryItInstalls) {
    IdentifyApplication();
    EXPECT_EQ(QGuiApplication::desktopFileName(), "org.example.morvane");
    QFile entry(QString(MORVANE_SOURCE_DIR) + "/resources/" + kDesktopEntry + ".desktop");
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entry.readAll().contains("\nStartupWMClass=morvane\n"));
}

// The window's settings live with the program's other files; a file an
// earlier version kept in ~/.config/Morvane/ is moved there once, whole.
TEST(WindowSettings, AnEarlierSettingsFileIsMovedOnceIntoTheProgramsFolderAndNothingIsLost) {
    QTemporaryDir config;
    const QByteArray before = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const QString earlier = config.filePath("Morvane/Morvane Password Generator.conf");
    QDir().mkpath(config.filePath("Morvane"));
    {
        QFile file(earlier);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[clipboard]\nclearAfterSeconds=7\n[window]\nother=kept\n");
    }
    EXPECT_EQ(ProgramSettingsFile(), config.filePath("morvane/morvane.conf"));
    EXPECT_EQ(ClipboardGuard::KeptDelay(), 7);
    EXPECT_FALSE(QFile::exists(earlier));
    EXPECT_FALSE(QDir(config.filePath("Morvane")).exists());
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                                      QFile::WriteOther | QFile::ExeOther;
    EXPECT_EQ(QFile::permissions(ProgramSettingsFile()) & others, QFile::Permissions());
    EXPECT_EQ(ProgramSettings().value("window/other").toString(), "kept");
    // Once moved, a file that turns up in the old place again is left alone.
    ClipboardGuard::KeepDelay(9);
    QDir().mkpath(config.filePath("Morvane"));
    {
        QFile file(earlier);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[clipboard]\nclearAfterSeconds=3\n");
    }
    EXPECT_EQ(ClipboardGuard::KeptDelay(), 9);
    EXPECT_TRUE(QFile::exists(earlier));
    qputenv("XDG_CONFIG_HOME", before);
}
