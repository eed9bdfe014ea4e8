// The Save command: the list, plain or as HTML, into a file the user names,
// and the list as the HTML page.
#include <iterator>

#include "app/frm_main.h"
#include "output/html_document.h"
#include "output/line_ends.h"
#include "output/output_formats.h"

namespace morvane {
namespace {

// The types the Save dialog offers, in its order, and the format each is
// written in.
struct SaveType {
    const char* description;
    const char* pattern;
    OutputFormat format;
};
constexpr SaveType kSaveTypes[] = {
    {"Text Files (*.txt)", "*.txt", OutputFormat::kText},
    {"Microsoft Word (*.doc)", "*.doc", OutputFormat::kText},
    {"Microsoft Excel (*.xls)", "*.xls", OutputFormat::kText},
    {"HTML File (*.htm)", "*.htm", OutputFormat::kHtml},
    {"All Files (*.*)", "*.*", OutputFormat::kText},
};

std::string SaveFilter() {
    std::string filter;
    for (const SaveType& type : kSaveTypes) {
        if (!filter.empty()) filter += '|';
        filter += std::string(type.description) + '|' + type.pattern;
    }
    return filter;
}

// The format of the type chosen; the plain list when the dialog names none.
OutputFormat FormatChosen(int filter_index) {
    const bool known = filter_index >= 1 && filter_index <= static_cast<int>(std::size(kSaveTypes));
    return known ? kSaveTypes[filter_index - 1].format : OutputFormat::kText;
}

}  // namespace


void frmMain::cmdSave_Click() {
    SaveRequest request;
    bool prepared = false;
    Trap("cmdSave_Click", [&] {
        request.title = "Save File";
        request.file_name = "Passwords.txt";
        request.filter = SaveFilter();
        request.filter_index = 1;
        request.flags = kOverwritePrompt | kHideReadOnly | kPathMustExist;
        request.initial_dir = env_.documents_folder;
        if (!env_.dialogs || !env_.files) throw InvalidCallError();
        prepared = true;
    });
    if (!prepared) return;

    SaveAnswer answer;
    try {
        answer = env_.dialogs->ShowSave(request);
    } catch (...) {
        ChangeStatus(kStatusSaveCancelled);  // cancelled, or the dialog failed
        return;
    }
    const OutputFormat format = FormatChosen(answer.filter_index);
    const Text formatted = format == OutputFormat::kHtml ? FormatAsHTML() : Text();
    // The plain list is written from where it stands, not copied first.
    const Text& content = format == OutputFormat::kText ? c_.rtfPasswords->TextView() : formatted;
    // Other programs read the file: LF line ends, and one after the last
    // line, so that no empty line follows the list.
    std::string bytes;
    bytes.reserve(content.size() + 1);  // a long list is not copied again for the last line end
    AppendUtf8WithLineFeeds(bytes, content);
    EndWithOneLineEnd(bytes);
    std::string failure = env_.files->Save(answer.file_name, bytes);
    Wipe(bytes);
    if (!failure.empty()) {
        ChangeStatus(kStatusSaveCancelled);
        ShowErrorReport(*env_.box, FormErrorTitle("cmdSave_Click"),
                        RuntimeError(kErrFileIo, "The file could not be saved as " +
                                                     answer.file_name + ": " + failure));
        return;
    }
    ChangeStatus(kStatusFileSaved);
    Message("You saved the file as " + answer.file_name, "COMPLETE: File Saved.");
}

Text frmMain::FormatAsHTML() {
    Text document;
    Trap("FormatAsHTML", [&] { document = BuildHtmlDocument(c_.rtfPasswords->GetText()); });
    return document;
}

}  // namespace morvane
