// The window's shell: layout, menus, toolbar, routing, help, links, closing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "app/mod_main.h"
#include "platform/qt/qt_desktop.h"
#include "tests/doubles/scripted_message_box.h"

using namespace morvane;

namespace {

struct RecordingDesktop : DesktopService {
    std::vector<std::string> opened;
    void Open(const std::string& target) override { opened.push_back(target); }
};

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
            help.write("<html><body>help</body></html>");
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

TEST(WindowLayout, FixedSizeClientAndPlacesInPixels) {
    Shell s;
    MainWindow& w = *s.window;
    EXPECT_EQ(w.clientArea()->size(), QSize(696, 409));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(w.fraInclude->geometry(), QRect(8, 32, 201, 129));
    EXPECT_EQ(w.fraPasswords->geometry(), QRect(216, 32, 249, 369));
    EXPECT_EQ(w.fraStatus->geometry(), QRect(472, 264, 217, 137));
    EXPECT_EQ(w.cmdGenerate->geometry(), QRect(8, 16, 201, 25));
    EXPECT_EQ(w.picMorvaneLogo->pixmap().size(), QSize(215, 80));
    EXPECT_EQ(w.picMorvaneLogo->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(w.toolbarMain->geometry().topLeft(), QPoint(0, 0));
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
    EXPECT_EQ(tops, (QStringList{"&File", "&Edit", "F&ormat", "P&rofiles", "&Help"}));
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

TEST(HelpAndLinks, EveryHelpSourceOpensTheSameContents) {
    Shell s;
    s.window->cmdHelp->click();
    s.Action("mnuContents")->trigger();
    s.window->toolbarMain->findChild<QAction*>("Contents")->trigger();
    s.window->txtNum->setFocus();
    QTest::keyClick(s.window->txtNum, Qt::Key_F1);
    ASSERT_EQ(s.desktop.opened.size(), 4u);
    for (const std::string& url : s.desktop.opened) {
        EXPECT_EQ(url, s.desktop.opened[0]);
        EXPECT_NE(url.find("Morvane.html#contents"), std::string::npos) << url;
    }
    s.window->HTMLHelpIndex();
    EXPECT_NE(s.desktop.opened.back().find("#index"), std::string::npos);
    s.window->HTMLShowTopic(7);
    EXPECT_NE(s.desktop.opened.back().find("#topic-7"), std::string::npos);
    EXPECT_TRUE(s.box.shown.empty());
}

TEST(HelpAndLinks, AMissingHelpFileOrNoProgramToOpenALinkSaysSoInAMessage) {
    Shell s(false);
    s.window->cmdHelp->click();
    EXPECT_TRUE(s.desktop.opened.empty());
    ASSERT_EQ(s.box.shown.size(), 1u);
    EXPECT_EQ(s.box.shown[0].title, "ERROR: cmdHelp_Click");
    EXPECT_NE(s.box.shown[0].text.find("Morvane.html was not found"), std::string::npos) << s.box.shown[0].text;
    EXPECT_TRUE(s.window->isVisible());

    // The desktop of a test has no browser and no mail program: each link
    // says it could not be opened, under its command's title.
    ScriptedMessageBox box;
    QTemporaryDir folder;
    QFile help(folder.filePath("Morvane.html"));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    MainWindow window(WindowServices{.box = &box, .program_folder = folder.path().toStdString()});
    window.form().Form_Load();
    window.cmdHelp->click();
    window.findChild<QAction*>("mnuWebsite")->trigger();
    QtDesktop desktop;
    OpenEmail(desktop, box);
    ASSERT_EQ(box.shown.size(), 3u);
    EXPECT_EQ(box.shown[0].title, "ERROR: cmdHelp_Click");
    EXPECT_NE(box.shown[0].text.find("No program could be started to open " + folder.filePath("Morvane.html").toStdString()),
              std::string::npos) << box.shown[0].text;
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
