// Printing into a PDF file and reading it back.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstring>
#include <vector>
#include <cstdio>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "tests/doubles/scripted_message_box.h"

using namespace morvane;

namespace {

constexpr char kContinued[] = "\u21AA";  // the mark before a line's continuation

struct OneAnswerDialogs : CommonDialog {
    int copies = 1;
    SaveAnswer ShowSave(const SaveRequest&) override { throw CancelError(); }
    int ShowPrinter() override { return copies; }
    FontSpec ShowFont(const FontSpec& f) override { return f; }
};

std::string Shell(const std::string& command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    char buffer[4096];
    while (pipe && fgets(buffer, sizeof buffer, pipe.get())) out += buffer;
    return out;
}

// The window with a printer that prints into `pdf` and a print dialog that
// answers with `copies`.
struct PrintingWindow {
    ScriptedMessageBox box;
    OneAnswerDialogs dialogs;
    QtPrinter printer;
    std::unique_ptr<MainWindow> window;
    explicit PrintingWindow(const QString& pdf, int copies = 1) {
        dialogs.copies = copies;
        printer.device().setOutputFormat(QPrinter::PdfFormat);
        printer.device().setOutputFileName(pdf);
        window = std::make_unique<MainWindow>(WindowServices{.box = &box, .dialogs = &dialogs, .printer = &printer});
        window->form().Form_Load();
    }
};

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

int Pages(const std::string& pdf) {
    std::string info = Shell("pdfinfo '" + pdf + "'");
    size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

}  // namespace

TEST(PrintToPdf, ThreeCopiesAreThreePagesWithHeadingRuleAndList) {
    if (Shell("command -v pdftotext").empty()) GTEST_SKIP() << "pdftotext is not installed";
    QTemporaryDir dir;
    QString pdf = dir.filePath("out.pdf");
    PrintingWindow printing(pdf, 3);
    MainWindow& window = *printing.window;
    window.txtNum->setText("5");
    window.Generate();
    QStringList passwords = window.rtfPasswords->toPlainText().split('\n', Qt::SkipEmptyParts);
    window.cmdPrint->click();
    EXPECT_EQ(window.txtStatus->text(), "Print complete");

    EXPECT_EQ(Pages(pdf.toStdString()), 3);
    std::string text = Shell("pdftotext -layout '" + pdf.toStdString() + "' -");
    EXPECT_EQ(Count(text, "Morvane Password Generator"), 3);
    EXPECT_EQ(Count(text, std::string(100, '_')), 3);
    EXPECT_EQ(Count(text, "\f"), 3);  // one form feed per page, no blank page after
    for (const QString& p : passwords)
        EXPECT_GE(Count(text, p.toStdString()), 3) << p.toStdString();
}

TEST(PrintToPdf, TheListPrintsInTheFaceOfTheWindowsListWhichTellsLookAlikesApart) {
    if (Shell("command -v pdffonts").empty()) GTEST_SKIP() << "pdffonts is not installed";
    QTemporaryDir dir;
    QString pdf = dir.filePath("out.pdf");
    PrintingWindow printing(pdf);
    printing.window->rtfPasswords->setPlainText("Il1|O0\n");
    printing.window->cmdPrint->click();
    std::string fonts = Shell("pdffonts '" + pdf.toStdString() + "'");
    const std::string list_face = QFontInfo(printing.window->rtfPasswords->font()).family().remove(' ').toStdString();
    EXPECT_NE(fonts.find(list_face), std::string::npos) << list_face << " not in\n" << fonts;
    EXPECT_NE(Shell("pdftotext '" + pdf.toStdString() + "' -").find("Il1|O0"), std::string::npos);
}

TEST(PrintToPdf, AnEmptyListPrintsHeadingAndRuleOnly) {
    if (Shell("command -v pdftotext").empty()) GTEST_SKIP() << "pdftotext is not installed";
    QTemporaryDir dir;
    QString pdf = dir.filePath("empty.pdf");
    PrintingWindow printing(pdf);
    printing.window->form().cmdPrint_Click();
    std::string text = Shell("pdftotext '" + pdf.toStdString() + "' -");
    EXPECT_EQ(Count(text, "Morvane Password Generator"), 1);
    EXPECT_EQ(Count(text, std::string(100, '_')), 1);
    EXPECT_EQ(Pages(pdf.toStdString()), 1);
}

namespace {

// Prints `lines` numbered lines (each ended by a line break, as a run leaves
// them) in `copies` copies and returns the PDF's path.
QString PrintLines(QTemporaryDir& dir, int lines, int copies) {
    QString pdf = dir.filePath(QString("list-%1-%2.pdf").arg(lines).arg(copies));
    PrintingWindow printing(pdf, copies);
    MainWindow& window = *printing.window;
    QString list;
    for (int i = 1; i <= lines; ++i) list += QString("line%1\n").arg(i, 4, 10, QChar('0'));
    window.rtfPasswords->setPlainText(list);
    window.form().cmdPrint_Click();
    EXPECT_EQ(window.txtStatus->text(), "Print complete");
    return pdf;
}

std::string PageText(const QString& pdf, int page) {
    return Shell("pdftotext -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" +
                 pdf.toStdString() + "' -");
}

bool HasText(const std::string& s) { return s.find_first_not_of(" \t\r\n\f") != std::string::npos; }

std::string LineName(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "line%04d", i);
    return name;
}

}  // namespace

TEST(PrintToPdf, EachCopyTakesExactlyThePagesItsLinesNeedAndNoPageIsBlank) {
    if (Shell("command -v pdftotext").empty()) GTEST_SKIP() << "pdftotext is not installed";
    QTemporaryDir dir;
    // How many list lines the first page holds, read off a long list.
    const QString probe = PrintLines(dir, 400, 1);
    const int capacity = Count(PageText(probe, 1), "line");
    ASSERT_GT(capacity, 10);
    ASSERT_LT(capacity, 400);

    for (int lines : {capacity - 1, capacity, capacity + 1}) {
        for (int copies : {1, 3}) {
            SCOPED_TRACE("lines " + std::to_string(lines) + ", copies " + std::to_string(copies));
            const QString pdf = PrintLines(dir, lines, copies);
            const int per_copy = lines <= capacity ? 1 : 2;
            ASSERT_EQ(Pages(pdf.toStdString()), copies * per_copy);
            for (int page = 1; page <= copies * per_copy; ++page) {
                std::string text = PageText(pdf, page);
                EXPECT_TRUE(HasText(text)) << "page " << page << " is blank";
                if (page % per_copy == 0) EXPECT_EQ(Count(text, LineName(lines)), 1) << "page " << page;
                if (page % per_copy == 1 || per_copy == 1)
                    EXPECT_EQ(Count(text, "Morvane Password Generator"), 1) << "page " << page;
            }
        }
    }
}

namespace {

struct Word {
    std::string text;
    double left, top, right, bottom;
};

struct PrintedPage {
    double width = 0, height = 0;
    std::vector<Word> words;
};

std::string Unescaped(std::string s) {
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&#39;", "'"}, {"&amp;", "&"}};
    for (auto [entity, c] : entities)
        for (size_t at; (at = s.find(entity)) != std::string::npos;) s.replace(at, std::strlen(entity), c);
    return s;
}

double Attribute(const std::string& tag, const std::string& name) {
    const size_t at = tag.find(" " + name + "=\"");
    return at == std::string::npos ? -1 : std::stod(tag.substr(at + name.size() + 3));
}

// The first page's words with their boxes in points, as pdftotext reads them.
PrintedPage ReadPage(const QString& pdf) {
    const std::string xml = Shell("pdftotext -bbox -f 1 -l 1 '" + pdf.toStdString() + "' -");
    PrintedPage page;
    const size_t page_tag = xml.find("<page ");
    if (page_tag == std::string::npos) return page;
    const std::string tag = xml.substr(page_tag, xml.find('>', page_tag) - page_tag);
    page.width = Attribute(tag, "width");
    page.height = Attribute(tag, "height");
    for (size_t at = xml.find("<word "); at != std::string::npos; at = xml.find("<word ", at + 1)) {
        const size_t close = xml.find('>', at);
        const std::string word_tag = xml.substr(at, close - at);
        const size_t end = xml.find("</word>", close);
        page.words.push_back({Unescaped(xml.substr(close + 1, end - close - 1)), Attribute(word_tag, "xMin"),
                              Attribute(word_tag, "yMin"), Attribute(word_tag, "xMax"),
                              Attribute(word_tag, "yMax")});
    }
    return page;
}

}  // namespace

TEST(PrintToPdf, EveryCharacterPrintsAsListedAtLeastTenMillimetresInsideThePaper) {
    if (Shell("command -v pdftotext").empty()) GTEST_SKIP() << "pdftotext is not installed";
    QTemporaryDir dir;
    const QString pdf = dir.filePath("list.pdf");
    PrintingWindow printing(pdf);
    MainWindow& window = *printing.window;
    window.txtNum->setText("40");
    window.Generate();
    // Letters that a shaper would join into ligatures, and a line as long
    // as the longest password.
    window.rtfPasswords->append("s~efi#/K\nofflffi&<fl\n" + QString(128, 'W'));
    const QStringList listed = window.rtfPasswords->toPlainText().split('\n', Qt::SkipEmptyParts);
    window.cmdPrint->click();
    ASSERT_EQ(window.txtStatus->text(), "Print complete");

    const PrintedPage page = ReadPage(pdf);
    ASSERT_GT(page.width, 0);
    const double margin = 10 / 25.4 * 72;  // 10 mm in points
    std::string printed;
    for (const Word& w : page.words) {
        EXPECT_GE(w.left, margin) << w.text;
        EXPECT_GE(w.top, margin) << w.text;
        EXPECT_LE(w.right, page.width - margin) << w.text;
        EXPECT_LE(w.bottom, page.height - margin) << w.text;
        printed += w.text + "\n";
    }
    // The heading's words (title, date and time) stand on one line.
    ASSERT_GE(page.words.size(), 6u);
    EXPECT_EQ(page.words[0].text, "Morvane");
    for (size_t i = 1; i < page.words.size() && page.words[i].text != std::string(100, '_'); ++i)
        EXPECT_NEAR(page.words[i].top, page.words[0].top, 1.0) << page.words[i].text;
    // The list's characters in order
    // (a line too long for the paper goes on on the next line).
    std::string expected;
    for (const QString& line : listed) expected += line.toStdString();
    std::string list_printed;
    for (size_t i = 0; i < page.words.size(); ++i)
        if (page.words[i].text == std::string(100, '_'))
            for (size_t j = i + 1; j < page.words.size(); ++j)
                if (page.words[j].text != kContinued) list_printed += page.words[j].text;
    EXPECT_EQ(list_printed, expected) << printed;
}

// Three passwords too long for a printed line read as three, each going on
// under a mark; the heading's date has its whole year and the time its seconds.
TEST(PrintToPdf, APasswordLongerThanALineGoesOnUnderAMarkAndTheDateHasItsWholeYear) {
    if (Shell("command -v pdftotext").empty()) GTEST_SKIP() << "pdftotext is not installed";
    QTemporaryDir dir;
    const QString pdf = dir.filePath("long.pdf");
    PrintingWindow printing(pdf);
    MainWindow& window = *printing.window;
    window.chkVarLen->setChecked(false);
    window.txtMaxLen->setText("128");
    window.txtMinLen->setText("128");
    window.txtNum->setText("3");
    window.Generate();
    window.cmdPrint->click();
    ASSERT_EQ(window.txtStatus->text(), "Print complete");

    const QStringList lines = QString::fromStdString(Shell("pdftotext -layout '" + pdf.toStdString() + "' -"))
                                  .split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(QRegularExpression("\\b(19|20)\\d\\d\\b").match(lines[0]).hasMatch()) << lines[0].toStdString();
    EXPECT_TRUE(QRegularExpression("\\d\\d:\\d\\d:\\d\\d").match(lines[0]).hasMatch()) << lines[0].toStdString();
    int passwords = 0, continuations = 0;
    for (qsizetype i = lines.indexOf(QRegularExpression("^_{100}")) + 1; i > 0 && i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line == "\f" || line.isEmpty()) continue;
        line.startsWith(QString::fromUtf8(kContinued)) ? ++continuations : ++passwords;
    }
    EXPECT_EQ(passwords, 3);
    EXPECT_GE(continuations, 3);
}

TEST(PrintToPdf, APrintedFileIsPrivateAndGoesHomeWithoutADocumentsFolder) {
    QTemporaryDir home;
    const QByteArray old_home = qgetenv("HOME");
    qputenv("HOME", home.path().toUtf8());
    QtPrinter printer;
    qputenv("HOME", old_home);
    if (QPrinterInfo::availablePrinters().isEmpty())
        EXPECT_EQ(printer.device().outputFileName(), home.filePath("Passwords.pdf"));
    const QString pdf = home.filePath("new.pdf");
    printer.device().setOutputFormat(QPrinter::PdfFormat);
    printer.device().setOutputFileName(pdf);
    printer.SetFont(8, false);
    printer.Print(U"secret");
    printer.EndDoc();
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(pdf).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_GT(st.st_size, 0);
}

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

TEST(PrintToPdf, ALinkAPipeOrADeviceInPlaceOfThePdfIsRefusedAndLeftAsItIs) {
    QTemporaryDir dir;
    const QString target = dir.filePath("elsewhere.txt"), link = dir.filePath("link.pdf");
    const QString fifo = dir.filePath("pipe.pdf"), device = dir.filePath("device.pdf");
    WriteAll(target, "someone else's file\n");
    ::chmod(QFile::encodeName(target).constData(), 0644);
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/null", device));
    for (const QString& pdf : {link, fifo, device}) {
        PrintingWindow w(pdf);
        w.window->cmdGenerate->click();
        w.window->cmdPrint->click();
        EXPECT_EQ(w.window->txtStatus->text(), "Print cancelled") << pdf.toStdString();
        ASSERT_EQ(w.box.shown.size(), 1u) << pdf.toStdString();
        EXPECT_EQ(w.box.shown[0].title, "ERROR: cmdPrint_Click");
        EXPECT_NE(w.box.shown[0].text.find("not a regular file"), std::string::npos) << w.box.shown[0].text;
    }
    EXPECT_EQ(ReadAll(target), "someone else's file\n");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              (QStringList{"device.pdf", "elsewhere.txt", "link.pdf", "pipe.pdf"}));
}

TEST(PrintToPdf, OnAFullDiskTheOldPdfStaysAsItWasAndThePrintIsCancelledWithAMessage) {
    QTemporaryDir dir;
    const QString mount_point = dir.filePath("small");
    QDir(dir.path()).mkdir("small");
    const QByteArray where = QFile::encodeName(mount_point);
    if (Shell("mount -t tmpfs -o size=64k tmpfs '" + where.toStdString() + "' 2>&1 && echo mounted").find("mounted") ==
        std::string::npos)
        GTEST_SKIP() << "a small file system cannot be mounted here (not the superuser)";
    struct Unmount {
        std::string where;
        ~Unmount() { Shell("umount '" + where + "'"); }
    } unmount{where.toStdString()};
    const QString pdf = mount_point + "/Passwords.pdf";
    const QByteArray old_pdf(20000, 'o');  // an older print, a third of the space
    WriteAll(pdf, old_pdf);
    {
        PrintingWindow w(pdf);
        w.window->txtNum->setText("3000");  // a document larger than the space left
        w.window->cmdGenerate->click();
        w.window->cmdPrint->click();
        EXPECT_EQ(w.window->txtStatus->text(), "Print cancelled");
        ASSERT_EQ(w.box.shown.size(), 1u);
        EXPECT_EQ(w.box.shown[0].title, "ERROR: cmdPrint_Click");
        EXPECT_NE(w.box.shown[0].text.find(std::strerror(ENOSPC)), std::string::npos) << w.box.shown[0].text;
    }
    EXPECT_EQ(ReadAll(pdf), old_pdf);
    EXPECT_EQ(QDir(mount_point).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              QStringList{"Passwords.pdf"});  // no temporary file left
}
