// Printing into a PDF file and reading it back.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "platform/scripted_message_box.h"

using namespace morvane;

namespace {

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
    ScriptedMessageBox box;
    OneAnswerDialogs dialogs;
    dialogs.copies = 3;
    QtPrinter printer;
    printer.device().setOutputFormat(QPrinter::PdfFormat);
    printer.device().setOutputFileName(pdf);
    MainWindow window(WindowServices{.box = &box, .dialogs = &dialogs, .printer = &printer});
    window.form().Form_Load();
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

TEST(PrintToPdf, AnEmptyListPrintsHeadingAndRuleOnly) {
    if (Shell("command -v pdftotext").empty()) GTEST_SKIP() << "pdftotext is not installed";
    QTemporaryDir dir;
    QString pdf = dir.filePath("empty.pdf");
    ScriptedMessageBox box;
    OneAnswerDialogs dialogs;
    QtPrinter printer;
    printer.device().setOutputFormat(QPrinter::PdfFormat);
    printer.device().setOutputFileName(pdf);
    MainWindow window(WindowServices{.box = &box, .dialogs = &dialogs, .printer = &printer});
    window.form().Form_Load();
    window.form().cmdPrint_Click();
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
    ScriptedMessageBox box;
    OneAnswerDialogs dialogs;
    dialogs.copies = copies;
    QtPrinter printer;
    printer.device().setOutputFormat(QPrinter::PdfFormat);
    printer.device().setOutputFileName(pdf);
    MainWindow window(WindowServices{.box = &box, .dialogs = &dialogs, .printer = &printer});
    window.form().Form_Load();
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
