// The Print command: per copy a heading, a rule and the whole list.
#include <langinfo.h>

#include <string>
#include <utility>

#include "app/frm_main.h"
#include "output/line_ends.h"
#include "platform/base/local_time.h"

namespace morvane {
namespace {

// The system's short date, with the year in four digits where its format
// has two ("12/10/26" reads as three ways of a date), and its long time.
Text GeneralDateTime(std::chrono::system_clock::time_point t) {
    std::string format = nl_langinfo(D_FMT);
    for (auto [two_digits, four_digits] : {std::pair{"%y", "%Y"}, {"%D", "%m/%d/%Y"}})
        for (size_t at = format.find(two_digits); at != std::string::npos; at = format.find(two_digits, at))
            format.replace(at, 2, four_digits);
    return LocalTimeText(t, (format + " %X").c_str());
}

// Each line break (CR LF, or a lone CR or LF) starts a new printed line.
void PrintLines(Printer& printer, const Text& text) {
    SplitAtLineEnds(text, [&](std::u32string_view line) { printer.Print(Text(line)); }, [&] { printer.EndLine(); });
    printer.EndLine();
}

}  // namespace

void frmMain::cmdPrint_Click() {
    Text title;
    Text rule;
    bool prepared = false;
    Trap("cmdPrint_Click", [&] {
        title = U"Morvane Password Generator";
        rule = Text(100, U'_');
        if (!env_.dialogs || !env_.printer) throw InvalidCallError();
        prepared = true;
    });
    if (!prepared) return;

    bool failed = false;
    try {
        int copies = env_.dialogs->ShowPrinter();
        Text list = c_.rtfPasswords->GetText();
        Printer& printer = *env_.printer;
        for (int copy = 1; copy <= copies; ++copy) {
            Text when = GeneralDateTime(env_.now());
            printer.SetFace(PrintFace::kPrinter);
            printer.SetFont(10, true);
            printer.Print(title);
            for (int zone = 0; zone < 4; ++zone) printer.NextZone();
            printer.Print(when);
            printer.EndLine();
            printer.Print(rule);
            printer.EndLine();
            // The list in the window's face, where O and 0, I and l differ.
            printer.SetFace(PrintFace::kList);
            printer.SetFont(8, false);
            PrintLines(printer, list);
            printer.NewPage();
        }
        printer.EndDoc();
    } catch (const RuntimeError& error) {
        failed = true;
        // Cancelled in the dialog ends quietly; a file that could not be
        // written says why.
        if (error.Number() == kErrFileIo) {
            ChangeStatus(kStatusPrintCancelled);
            ShowErrorReport(*env_.box, FormErrorTitle("cmdPrint_Click"), error);
            return;
        }
    } catch (...) {
        failed = true;
    }
    ChangeStatus(failed ? kStatusPrintCancelled : kStatusPrintComplete);
}

}  // namespace morvane
