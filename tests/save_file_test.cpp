// Saving from the window: the real save dialog and real files on disk.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "modal_driver.h"
#include "output/html_document.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_file_saver.h"
#include "platform/qt/qt_save_dialog.h"
#include "tests/doubles/scripted_message_box.h"

using namespace morvane;

namespace {

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

int Mode(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// The window with its real save dialog and real saving.
struct SaveWindow {
    ScriptedMessageBox box;
    MainWindow window{WindowServices{.box = &box}};
    SaveWindow() {
        window.form().Form_Load();
        window.txtNum->setText("3");
        window.Generate();
    }
    // The list as a saved file holds it: LF line ends, one after the last line.
    QString List() const { return window.rtfPasswords->toPlainText(); }
    QString Status() const { return window.txtStatus->text(); }
};

QLineEdit* NameField(QFileDialog* d) { return d->findChild<QLineEdit*>("fileNameEdit"); }
QComboBox* TypeList(QFileDialog* d) { return d->findChild<QComboBox*>("fileTypeCombo"); }

// Picks a file type as a user does, with the keyboard on the type list.
void PickType(QFileDialog* d, int index) {
    QComboBox* types = TypeList(d);
    types->setFocus();
    QTest::keyClick(types, Qt::Key_Home);
    for (int i = 0; i < index; ++i) QTest::keyClick(types, Qt::Key_Down);
}

void TypeName(QFileDialog* d, const QString& name) {
    QLineEdit* field = NameField(d);
    field->setFocus();
    field->selectAll();
    field->insert(name);  // as pasted: typing would open the completion list
}

void PressSave(QFileDialog* d) {
    d->findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Save)->click();
}

}  // namespace

TEST(SaveDialog, PickingATypeNeverChangesTheNameAndOnlyHtmlWritesTheDocument) {
    QTemporaryDir dir;
    SaveWindow w;
    QStringList seen;
    WhenModal<QFileDialog>([&](QFileDialog* d) {
        seen << NameField(d)->text() << TypeList(d)->currentText();
        TypeName(d, dir.filePath("Passwords.txt"));
        PickType(d, 4);  // All Files (*.*)
        seen << NameField(d)->text();
        PickType(d, 3);  // HTML File (*.htm)
        seen << NameField(d)->text();
        PressSave(d);
    });
    w.window.cmdSave->click();
    ASSERT_EQ(seen.size(), 4);
    EXPECT_EQ(seen[0], "Passwords.txt");
    EXPECT_EQ(seen[1], "Text Files (*.txt)");
    EXPECT_EQ(seen[2], dir.filePath("Passwords.txt"));
    EXPECT_EQ(seen[3], dir.filePath("Passwords.txt"));
    EXPECT_EQ(Entries(dir.path()), QStringList{"Passwords.txt"});
    QByteArray saved = Read(dir.filePath("Passwords.txt"));
    EXPECT_TRUE(saved.startsWith("<html>"));
    EXPECT_TRUE(saved.contains(ToQt(HtmlEscaped(FromQt(w.List()))).toUtf8()));
    EXPECT_EQ(w.Status(), "File saved");
    ASSERT_EQ(w.box.shown.size(), 1u);
    EXPECT_EQ(w.box.shown[0].text, "You saved the file as " + dir.filePath("Passwords.txt").toStdString());
}

TEST(SaveDialog, AllFilesWritesThePlainListUnderTheTypedName) {
    QTemporaryDir dir;
    SaveWindow w;
    WhenModal<QFileDialog>([&](QFileDialog* d) {
        PickType(d, 4);
        TypeName(d, dir.filePath("list.htm"));
        PickType(d, 4);
        PressSave(d);
    });
    w.window.cmdSave->click();
    EXPECT_EQ(Entries(dir.path()), QStringList{"list.htm"});
    EXPECT_EQ(Read(dir.filePath("list.htm")), w.List().toUtf8());
}

TEST(SaveDialog, AFolderThatDoesNotExistIsRefusedAndTheDialogStaysOpen) {
    QTemporaryDir dir;
    SaveWindow w;
    const QString missing = dir.filePath("not-there/Passwords.txt");
    QString refusal;
    bool open_after_refusal = false;
    WhenModal<QFileDialog>([&](QFileDialog* d) {
        TypeName(d, missing);
        WhenModal<QMessageBox>([&, d](QMessageBox* box) {
            refusal = box->text();
            box->accept();
            QTimer::singleShot(20, [&, d] {
                open_after_refusal = d->isVisible();
                d->reject();
            });
        });
        PressSave(d);
    });
    w.window.cmdSave->click();
    EXPECT_EQ(refusal, MissingFolderText(dir.filePath("not-there")));
    EXPECT_TRUE(open_after_refusal);
    EXPECT_EQ(w.Status(), "Save cancelled");
    EXPECT_TRUE(w.box.shown.empty());
    EXPECT_TRUE(Entries(dir.path()).isEmpty());
}

// Saving itself, with the dialog answered by script.
struct PathDialogs : CommonDialog {
    QString path;
    int type = 1;
    SaveAnswer ShowSave(const SaveRequest&) override { return {path.toStdString(), type}; }
    int ShowPrinter() override { throw CancelError(); }
    FontSpec ShowFont(const FontSpec& f) override { return f; }
};

struct DiskWindow {
    ScriptedMessageBox box;
    PathDialogs dialogs;
    MainWindow window{WindowServices{.box = &box, .dialogs = &dialogs}};
    DiskWindow() {
        window.form().Form_Load();
        window.txtNum->setText("4");
        window.Generate();
    }
    QByteArray Expected() const {
        return window.rtfPasswords->toPlainText().toUtf8();  // LF line ends, one after the last line
    }
    void SaveAs(const QString& path) {
        dialogs.path = path;
        window.cmdSave->click();
    }
};

TEST(SavingToDisk, ANewFileIsPrivateAndAReplacedOneKeepsItsPermissions) {
    QTemporaryDir dir;
    DiskWindow w;
    const QString fresh = dir.filePath("Passwords.txt");
    w.SaveAs(fresh);
    EXPECT_EQ(Read(fresh), w.Expected());
    EXPECT_EQ(Mode(fresh), 0600);

    const QString shared = dir.filePath("shared.txt");
    Write(shared, "old");
    ::chmod(QFile::encodeName(shared).constData(), 0640);
    w.SaveAs(shared);
    EXPECT_EQ(Read(shared), w.Expected());
    EXPECT_EQ(Mode(shared), 0640);
    EXPECT_EQ(Entries(dir.path()), (QStringList{"Passwords.txt", "shared.txt"}));
    EXPECT_EQ(w.window.txtStatus->text(), "File saved");
}

TEST(SavingToDisk, ASymbolicLinkIsFollowedAndStaysALink) {
    QTemporaryDir dir;
    DiskWindow w;
    const QString target = dir.filePath("real.txt");
    const QString link = dir.filePath("link.txt");
    Write(target, "old");
    ASSERT_TRUE(QFile::link(target, link));
    w.SaveAs(link);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), target);
    EXPECT_EQ(Read(target), w.Expected());
    EXPECT_EQ(Entries(dir.path()), (QStringList{"link.txt", "real.txt"}));
}

TEST(SavingToDisk, AWritePastTheFileSizeLimitFailsAndKeepsTheOldFile) {
    QTemporaryDir dir;
    DiskWindow w;
    const QString path = dir.filePath("Passwords.txt");
    Write(path, "the old list, kept byte for byte\r\n");
    rlimit old_limit {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    rlimit small = old_limit;
    small.rlim_cur = 8;  // smaller than any list
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    w.SaveAs(path);
    setrlimit(RLIMIT_FSIZE, &old_limit);

    EXPECT_EQ(w.window.txtStatus->text(), "Save cancelled");
    ASSERT_EQ(w.box.shown.size(), 1u);
    EXPECT_EQ(w.box.shown[0].title, "ERROR: cmdSave_Click");
    EXPECT_NE(w.box.shown[0].text.find(std::strerror(EFBIG)), std::string::npos) << w.box.shown[0].text;
    EXPECT_EQ(Read(path), "the old list, kept byte for byte\r\n");
    EXPECT_EQ(Entries(dir.path()), QStringList{"Passwords.txt"});  // no temporary file left
}

TEST(SavingToDisk, AMissingFolderOrAFolderInPlaceOfTheFileIsAReportedFailure) {
    QTemporaryDir dir;
    DiskWindow w;
    QDir(dir.path()).mkdir("taken.txt");
    for (const QString& path : {dir.filePath("gone/Passwords.txt"), dir.filePath("taken.txt")}) {
        w.box.shown.clear();
        w.SaveAs(path);
        EXPECT_EQ(w.window.txtStatus->text(), "Save cancelled");
        ASSERT_EQ(w.box.shown.size(), 1u);
        EXPECT_EQ(w.box.shown[0].title, "ERROR: cmdSave_Click");
    }
    EXPECT_EQ(Entries(dir.path()), QStringList{"taken.txt"});
}

TEST(SavingToDisk, WhatAnInterruptedSaveLeftIsRemovedAndNothingElse) {
    QTemporaryDir dir;
    DiskWindow w;
    const QString path = dir.filePath("Passwords.txt");
    Write(dir.filePath(".Passwords.txt.morvane-Ab3xYz"), "passwords of a save that was killed\r\n");
    Write(dir.filePath("Passwords.txt.backup"), "the user's own\r\n");
    Write(dir.filePath(".Other.txt.morvane-Ab3xYz"), "another file's\r\n");
    w.SaveAs(path);
    EXPECT_EQ(Read(path), w.Expected());
    EXPECT_EQ(Entries(dir.path()), (QStringList{".Other.txt.morvane-Ab3xYz", "Passwords.txt", "Passwords.txt.backup"}));
}

// Where the file system cannot make a temporary file unnamed, it is still
// readable by its owner alone from the instant it exists. The test runs
// itself again with the file system's refusal and a log of every file made.
TEST(SavingToDisk, ATemporaryFileIsPrivateFromItsFirstInstantWithoutUnnamedFiles) {
#ifdef MORVANE_SANITIZED
    GTEST_SKIP() << "the sanitizers' runtime must come first among the loaded libraries";
#endif
    if (std::getenv("MORVANE_CREATION_LOG")) {  // the run again, under the refusal
        QTemporaryDir dir;
        DiskWindow w;
        w.SaveAs(dir.filePath("Passwords.txt"));
        w.SaveAs(dir.filePath("Passwords.txt"));  // and replacing it
        EXPECT_EQ(Read(dir.filePath("Passwords.txt")), w.Expected());
        EXPECT_EQ(Mode(dir.filePath("Passwords.txt")), 0600);
        return;
    }
    QTemporaryDir logs;
    const QString log = logs.filePath("created.txt");
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LD_PRELOAD", NO_UNNAMED_FILES_SHIM);
    environment.insert("MORVANE_CREATION_LOG", log);
    child.setProcessEnvironment(environment);
    child.start(QFile::symLinkTarget("/proc/self/exe"),
                {"--gtest_filter=SavingToDisk.ATemporaryFileIsPrivateFromItsFirstInstantWithoutUnnamedFiles"});
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
    int temporaries = 0;
    for (const QString& line : QString::fromUtf8(Read(log)).split('\n', Qt::SkipEmptyParts)) {
        if (!line.contains("Passwords.txt.")) continue;  // a temporary file of the save
        ++temporaries;
        EXPECT_TRUE(line.startsWith("600 ")) << line.toStdString();
    }
    EXPECT_EQ(temporaries, 2);
}

namespace {

// Saves `bytes` at `path` in a child process that, started as the
// superuser, first becomes an unprivileged user, so that permissions bind
// it. Returns the saver's answer.
std::string SaveAsUnprivilegedUser(const QString& path, const std::string& bytes) {
    constexpr uid_t kNobody = 65534;
    int answer[2];
    if (pipe(answer) != 0) return "<no pipe>";
    const pid_t child = fork();
    if (child == 0) {
        close(answer[0]);
        if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(3);
        const std::string reason = QtFileSaver().Save(path.toStdString(), bytes);
        const ssize_t written = write(answer[1], reason.data(), reason.size());
        _exit(written == static_cast<ssize_t>(reason.size()) ? 0 : 4);
    }
    close(answer[1]);
    std::string reason;
    char buffer[512];
    for (ssize_t n; (n = read(answer[0], buffer, sizeof buffer)) > 0;) reason.append(buffer, n);
    close(answer[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? reason : "<child failed>";
}

}  // namespace

TEST(SavingToDisk, AFileInAFolderThatCannotBeWrittenIsLeftExactlyAsItWas) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Passwords.txt");
    Write(path, "the old list\r\n");
    const QByteArray folder = QFile::encodeName(dir.path()), file = QFile::encodeName(path);
    if (geteuid() == 0) {  // the unprivileged user owns both, as a user's own files
        ASSERT_EQ(::chown(folder.constData(), 65534, 65534), 0);
        ASSERT_EQ(::chown(file.constData(), 65534, 65534), 0);
    }
    ::chmod(file.constData(), 0600);
    ::chmod(folder.constData(), 0500);
    const std::string reason = SaveAsUnprivilegedUser(path, "a new list\r\n");
    ::chmod(folder.constData(), 0700);
    EXPECT_NE(reason.find("cannot be written, so nothing was changed"), std::string::npos) << reason;
    EXPECT_EQ(Read(path), "the old list\r\n");
    EXPECT_EQ(Entries(dir.path()), QStringList{"Passwords.txt"});
}

TEST(SavingToDisk, APipeOrADeviceInPlaceOfTheFileIsRefusedAndLeftAsItIs) {
    QTemporaryDir dir;
    DiskWindow w;
    const QString fifo = dir.filePath("pipe.txt"), device = dir.filePath("device.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/null", device));
    for (const QString& path : {fifo, device}) {
        w.box.shown.clear();
        w.SaveAs(path);
        EXPECT_EQ(w.window.txtStatus->text(), "Save cancelled");
        ASSERT_EQ(w.box.shown.size(), 1u);
        EXPECT_NE(w.box.shown[0].text.find("not a regular file"), std::string::npos) << w.box.shown[0].text;
    }
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_TRUE(QFileInfo(device).isSymLink());
    EXPECT_EQ(Entries(dir.path()), (QStringList{"device.txt", "pipe.txt"}));
}

namespace {

// The text of the page's preformatted block as a browser's HTML parser reads it.
QString PreformattedText(const QString& page) {
    QProcess parser;
    parser.start("python3", {HTML_PRE_TEXT_SCRIPT, page});
    parser.waitForFinished(60000);
    return QString::fromUtf8(parser.readAllStandardOutput());
}

}  // namespace

TEST(SaveDialog, TheHtmlPageShowsABrowserExactlyTheList) {
    QTemporaryDir dir;
    SaveWindow w;
    w.window.chkOtherIn->setChecked(true);
    w.window.txtOtherIn->setText(QString::fromUtf8("é ß € 😀 Ω"));
    w.window.txtNum->setText("10000");
    w.window.Generate();
    WhenModal<QFileDialog>([&](QFileDialog* d) {
        TypeName(d, dir.filePath("Passwords.htm"));
        PickType(d, 3);  // HTML File (*.htm)
        PressSave(d);
    });
    w.window.cmdSave->click();
    const QString list = w.List();
    ASSERT_TRUE(list.contains('<') && list.contains('&') && list.contains(QString::fromUtf8("😀")));
    EXPECT_EQ(PreformattedText(dir.filePath("Passwords.htm")), list);
    const QByteArray page = Read(dir.filePath("Passwords.htm"));
    EXPECT_TRUE(page.contains("<meta charset=\"utf-8\">"));
}

TEST(SavingToDisk, ALoneSurrogateInTheListIsSavedAsWellFormedUtf8) {
    QTemporaryDir dir;
    DiskWindow w;
    QString list = "ab";
    list += QChar(0xD83D);  // half of a pair, as a paste can bring
    list += "c\n";
    w.window.rtfPasswords->setPlainText(list);
    const QString path = dir.filePath("odd.txt");
    w.SaveAs(path);
    const QByteArray saved = Read(path);
    EXPECT_TRUE(IsValidUtf8(saved.toStdString()));
    EXPECT_EQ(saved, "ab\xEF\xBF\xBD" "c\n");
}
