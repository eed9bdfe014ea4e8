// The About box in the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "about/frm_about.h"
#include "app/main_window.h"
#include "app/mod_main.h"
#include "tests/doubles/scripted_message_box.h"

using namespace morvane;

namespace {

struct RecordingDesktop : DesktopService {
    std::vector<std::string> opened;
    void Open(const std::string& t) override { opened.push_back(t); }
};

}  // namespace

TEST(AboutBox, ShowsNameVersionAndLinks) {
    ScriptedMessageBox box;
    RecordingDesktop desktop;
    Registry registry;
    frmAbout about(nullptr, AboutServices{&box, &desktop, &registry, [](const std::string&) {}});
    EXPECT_EQ(about.windowTitle(), "About Morvane Password Generator");
    EXPECT_EQ(about.lblVersion->text(), "Version 1.2");
    EXPECT_EQ(about.lblName->text(), "Morvane Password Generator");
    EXPECT_TRUE(about.lblDisclaimer->text().contains("MIT licence"));
    EXPECT_TRUE(about.lblDisclaimer->text().contains("EFF Large Wordlist, (c) 2016 Electronic Frontier Foundation, "
                                                     "CC BY 3.0"));
    EXPECT_EQ(about.size(), QSize(433, 271));
    EXPECT_TRUE(about.isModal());
    EXPECT_TRUE(about.cmdOK->isDefault());
    EXPECT_EQ(about.txtEmail->toolTip(), "Send mail to support");
    QTest::mouseClick(about.txtEmail, Qt::LeftButton);
    QTest::mouseClick(about.txtWebsite, Qt::LeftButton);
    QTest::mouseClick(about.picMorvaneLogo, Qt::LeftButton);
    EXPECT_EQ(desktop.opened, (std::vector<std::string>{kEmailLink, kWebsite, kWebsite}));
    about.cmdSysInfo->click();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, "System Information Is Unavailable At This Time");
}

TEST(AboutBox, EnterAndEscCloseIt) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        ScriptedMessageBox box;
        RecordingDesktop desktop;
        Registry registry;
        frmAbout about(nullptr, AboutServices{&box, &desktop, &registry, [](const std::string&) {}});
        about.show();
        QApplication::processEvents();
        QTest::keyClick(&about, key);
        EXPECT_FALSE(about.isVisible()) << key;
    }
}

TEST(AboutBox, MenuAndButtonShowItModalFromTheWindow) {
    ScriptedMessageBox box;
    Registry registry;
    std::vector<std::string> titles;
    MainWindow window(WindowServices{.box = &box, .registry = &registry,
                                     .show_modal = [&](QDialog& d) { titles.push_back(d.windowTitle().toStdString()); }});
    window.form().Form_Load();
    window.cmdAbout->click();
    window.findChild<QAction*>("mnuAbout")->trigger();
    EXPECT_EQ(titles, (std::vector<std::string>(2, "About Morvane Password Generator")));
}

namespace {

// Presses System Info in the About box of a window started with `path` as
// PATH, which it looks for the desktop's system-information program on.
std::vector<ShownBox> PressSystemInfoWith(const QString& path) {
    const QByteArray old_path = qgetenv("PATH");
    qputenv("PATH", path.toUtf8());
    ScriptedMessageBox box;
    {
        MainWindow window(WindowServices{.box = &box, .show_modal = [](QDialog& d) {
                                             qobject_cast<frmAbout*>(&d)->cmdSysInfo->click();
                                         }});
        window.form().Form_Load();
        window.cmdAbout->click();
    }
    qputenv("PATH", old_path);
    return box.shown;
}

void WriteScript(const QString& path, const QString& body, QFile::Permissions permissions) {
    QFile script(path);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(("#!/bin/sh\n" + body + "\n").toUtf8());
    script.close();
    script.setPermissions(permissions);
}

}  // namespace

TEST(AboutBox, SystemInfoStartsTheDesktopsOwnToolOnItsOverview) {
    QTemporaryDir tools;
    const QString started = tools.filePath("started");
    // Written whole, then named: the test never reads a half-written answer.
    WriteScript(tools.filePath("gnome-control-center"),
                "echo \"$@\" > '" + started + ".part' && /bin/mv '" + started + ".part' '" + started + "'",
                QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(PressSystemInfoWith(tools.path()).empty());  // no message
    for (int waited = 0; waited < 5000 && !QFile::exists(started); waited += 20) QTest::qWait(20);
    QFile answer(started);
    ASSERT_TRUE(answer.open(QIODevice::ReadOnly));
    EXPECT_EQ(answer.readAll(), "info-overview\n");
}

TEST(AboutBox, SystemInfoWithoutAToolOrWithOneThatCannotRunSaysItIsUnavailable) {
    QTemporaryDir tools;
    WriteScript(tools.filePath("hardinfo"), "exit 0", QFile::ReadOwner | QFile::WriteOwner);  // not executable
    for (const QString& path : {tools.path(), QString()}) {
        const auto shown = PressSystemInfoWith(path);
        ASSERT_EQ(shown.size(), 1u) << path.toStdString();
        EXPECT_EQ(shown[0].text, "System Information Is Unavailable At This Time");
    }
}
