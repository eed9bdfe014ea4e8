// The Save command: the list, plain or as HTML, into a file the user names.
#include "app/frm_main.h"
#include "output/line_ends.h"

namespace morvane {

void frmMain::cmdSave_Click() {
    SaveRequest request;
    bool prepared = false;
    Trap("cmdSave_Click", [&] {
        request.title = "Save File";
        request.file_name = "Passwords.txt";
        request.filter = std::string("Text Files (*.txt)|*.txt|Microsoft Word (*.doc)|*.doc|") +
                         "Microsoft Excel (*.xls)|*.xls|HTML File (*.htm)|*.htm|" +
                         "All Files (*.*)|*.*";
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
    const Text html = answer.filter_index == 4 ? FormatAsHTML() : Text();
    const Text& content = answer.filter_index == 4 ? html : c_.rtfPasswords->TextView();
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

}  // namespace morvane
