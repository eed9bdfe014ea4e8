// The HTML document, saving the list and printing it.
#include "form_harness.h"
#include "output/html_document.h"

using namespace morvane;

namespace {

const std::string kHead =
    "<html><head><meta charset=\"utf-8\"><title>Morvane Password Generator</title></head><body bgcolor=\"#FFFFFF\">"
    "<table width=\"600\" border=\"1\" cellspacing=\"0\" bordercolor=\"#000000\">  <tr>"
    "     <td bgcolor=\"#FFFFFF\"><font color=\"004080\" size=\"2\" face=\"Verdana,"
    "     Arial, Helvetica, sans-serif\"><strong>Morvane Password Generator     </strong>"
    "     <br> Copyright 2026 Morvane Software<br>     Morvane Software<br>"
    "     <a href=\"https://morvane.example.org/\" target=\"_blank\">"
    "https://morvane.example.org/</a></font></td></tr></table>"
    "<hr align=\"left\" width=\"600\" size=\"1\"><table width=\"600\" border=\"0\" cellspacing=\"0\">"
    "  <tr>    <td><table border=\"1\" cellpadding=\"0\" cellspacing=\"0\" width=\"100%\" "
    "       bgcolor=\"#808080\" bordercolorlight=\"#006699\" bordercolordark="
    "       \"#006699\" align=\"left\">        <tr>"
    "          <td align=\"left\" bordercolor=\"#C0C0C0\" bgcolor=\"004080\"><b>"
    "          <font color=\"#FFFFFF\" size=\"2\" face=\"Verdana\">Passwords:"
    "          </font></b></td>        </tr>      </table></td>  </tr><tr><td><pre>";
const std::string kTail = "</pre></td></tr></table></body></html>";

}  // namespace

TEST(HtmlDocument, IsTheFixedPageAroundTheListWithMarkupCharactersEscaped) {
    EXPECT_EQ(ToUtf8(BuildHtmlDocument(U"")), kHead + kTail);
    std::string list = "a<b\r\nc&d>\r\n\r\ntyped é &amp;\"'\r\n";
    std::string doc = ToUtf8(BuildHtmlDocument(FromUtf8(list)));
    EXPECT_EQ(doc, kHead + "a&lt;b\r\nc&amp;d&gt;\r\n\r\ntyped é &amp;amp;\"'\r\n" + kTail);
    EXPECT_EQ(doc.find('\n'), kHead.size() + 7);  // the only breaks are the list's
}

TEST(HtmlDocument, ReadsTheListAsItStandsNow) {
    FormHarness h;
    h.ui.rtfPasswords.SetText(U"x1\r\ny2\r\n");
    EXPECT_EQ(ToUtf8(h.form.FormatAsHTML()), kHead + "x1\r\ny2\r\n" + kTail);
}

TEST(SaveCommand, OffersTheFiveTypesAndWritesThePlainList) {
    FormHarness h;
    h.form.cmdGenerate_Click();
    const std::string path = "/home/user/Passwords.txt";
    h.dialogs.saves = {{path, 1}};
    h.form.cmdSave_Click();
    ASSERT_EQ(h.dialogs.save_requests.size(), 1u);
    const SaveRequest& r = h.dialogs.save_requests[0];
    EXPECT_EQ(r.title, "Save File");
    EXPECT_EQ(r.file_name, "Passwords.txt");
    EXPECT_EQ(r.filter,
              "Text Files (*.txt)|*.txt|Microsoft Word (*.doc)|*.doc|Microsoft Excel (*.xls)|*.xls|"
              "HTML File (*.htm)|*.htm|All Files (*.*)|*.*");
    EXPECT_EQ(r.filter_index, 1);
    EXPECT_EQ(r.flags, 2054);
    // Other programs read LF line ends, and one after the last password.
    std::string lines = h.List();
    for (size_t at; (at = lines.find("\r\n")) != std::string::npos;) lines.replace(at, 2, "\n");
    EXPECT_EQ(h.files.files[path], lines);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 10);
    EXPECT_EQ(h.Status(), "File saved");
    EXPECT_EQ(h.ui.txtProgress.TextRef(), U"");
    EXPECT_EQ(h.ui.pbProgress.Value(), 100);
    ASSERT_EQ(h.box.shown.size(), 1u);
    EXPECT_EQ(h.box.shown[0].text, "You saved the file as " + path);
    EXPECT_EQ(h.box.shown[0].title, "COMPLETE: File Saved.");
}

TEST(SaveCommand, OnlyTheHtmlTypeWritesTheDocumentWhateverTheName) {
    FormHarness h;
    h.ui.rtfPasswords.SetText(T("pä<ss\r\n"));
    h.dialogs.saves = {{"/d/Passwords.txt", 4}, {"/d/list.htm", 1}, {"/d/list.doc", 2},
                       {"/d/list.xls", 3}, {"/d/list", 5}};
    for (int i = 0; i < 5; ++i) h.form.cmdSave_Click();
    EXPECT_EQ(h.files.files["/d/Passwords.txt"], kHead + "pä&lt;ss\n" + kTail + "\n");  // UTF-8, escaped
    for (const char* plain : {"/d/list.htm", "/d/list.doc", "/d/list.xls", "/d/list"})
        EXPECT_EQ(h.files.files[plain], "pä<ss\n") << plain;
    // A last line the user left without its end gets one; a lone CR is a line end too.
    h.ui.rtfPasswords.SetText(U"a\r\nb\rc");
    h.dialogs.saves = {{"/d/edited.txt", 1}};
    h.form.cmdSave_Click();
    EXPECT_EQ(h.files.files["/d/edited.txt"], "a\nb\nc\n");
}

TEST(SaveCommand, AnEmptyListGivesAnEmptyFileOrAnEmptyPage) {
    FormHarness h;
    h.dialogs.saves = {{"/d/empty.txt", 5}, {"/d/empty.htm", 4}};
    h.form.cmdSave_Click();
    h.form.cmdSave_Click();
    EXPECT_EQ(h.files.files["/d/empty.txt"], "");  // no empty password for an importer to read
    EXPECT_EQ(h.files.files["/d/empty.htm"], kHead + kTail + "\n");
}

TEST(SaveCommand, CancelWritesNothingAndSaysSaveCancelled) {
    FormHarness h;
    h.form.cmdSave_Click();
    EXPECT_EQ(h.Status(), "Save cancelled");
    EXPECT_EQ(h.ui.txtStatus.ForeColor(), (Rgb{192, 0, 0}));
    EXPECT_TRUE(h.box.shown.empty());
    EXPECT_TRUE(h.files.files.empty());
}

TEST(SaveCommand, AFailedWriteIsReportedWithTheReasonAndNeverAsSaved) {
    FormHarness h;
    h.form.cmdGenerate_Click();
    h.files.failure = "File too large";
    h.dialogs.saves = {{"/d/Passwords.txt", 1}};
    h.form.cmdSave_Click();
    EXPECT_EQ(h.Status(), "Save cancelled");
    ASSERT_EQ(h.box.shown.size(), 1u);
    EXPECT_EQ(h.box.shown[0].title, "ERROR: cmdSave_Click");
    EXPECT_NE(h.box.shown[0].text.find("could not be saved as /d/Passwords.txt: File too large"),
              std::string::npos);
    EXPECT_EQ(h.box.shown[0].text.find("You saved"), std::string::npos);
}

TEST(PrintCommand, EachCopyIsOneRunWithHeadingRuleAndList) {
    FormHarness h;
    h.ui.rtfPasswords.SetText(U"aa\r\nbb\r\n");
    h.dialogs.copies = {2};
    h.form.cmdPrint_Click();
    std::vector<std::string> one = {"face printer", "font 10 bold", "text Morvane Password Generator", "zone",
                                    "zone", "zone", "zone"};
    const std::vector<std::string>& log = h.printer.log;
    ASSERT_EQ(log.size(), 2 * 20 + 1);
    for (int copy = 0; copy < 2; ++copy) {
        auto at = log.begin() + copy * 20;
        EXPECT_TRUE(std::equal(one.begin(), one.end(), at));
        EXPECT_EQ(at[7].rfind("text ", 0), 0u);  // the date and time
        EXPECT_EQ(at[8], "line");
        EXPECT_EQ(at[9], "text " + std::string(100, '_'));
        EXPECT_EQ(at[10], "line");
        EXPECT_EQ(at[11], "face list");  // the list in the window's face
        EXPECT_EQ(at[12], "font 8");
        EXPECT_EQ(at[13], "text aa");
        EXPECT_EQ(at[15], "text bb");
        EXPECT_EQ(at[17], "text ");  // the list's last line break ends an empty line
        EXPECT_EQ(at[18], "line");
        EXPECT_EQ(at[19], "page");
    }
    EXPECT_EQ(log.back(), "end");
    EXPECT_EQ(h.Status(), "Print complete");
}

TEST(PrintCommand, CancelAndFailureBothSayPrintCancelled) {
    FormHarness h;
    h.form.cmdPrint_Click();
    EXPECT_EQ(h.Status(), "Print cancelled");
    EXPECT_TRUE(h.printer.log.empty());

    h.dialogs.copies = {3};
    h.printer.fail_on_text = true;
    h.form.cmdPrint_Click();
    EXPECT_EQ(h.Status(), "Print cancelled");
    EXPECT_EQ(h.printer.log, (std::vector<std::string>{"face printer", "font 10 bold"}));  // no further copies
    EXPECT_TRUE(h.box.shown.empty());
}
