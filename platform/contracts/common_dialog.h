#pragma once
// The save, print and font dialogs. Cancel is reported as a run-time error
// with number 32755, as the dialogs' callers expect.
#include <string>

#include "platform/contracts/controls.h"
#include "platform/base/runtime_error.h"

namespace morvane {

enum SaveFlags : int {
    kOverwritePrompt = 0x2,
    kHideReadOnly = 0x4,
    kPathMustExist = 0x800,
};

struct SaveRequest {
    std::string title;
    std::string file_name;
    std::string filter;  // description|pattern|description|pattern...
    int filter_index = 1;
    int flags = 0;
    std::string initial_dir;
};

struct SaveAnswer {
    std::string file_name;  // the full path
    int filter_index = 1;   // the type selected when the dialog closed
};

class CommonDialog {
public:
    virtual ~CommonDialog() = default;
    virtual SaveAnswer ShowSave(const SaveRequest& request) = 0;
    // Returns the number of copies.
    virtual int ShowPrinter() = 0;
    virtual FontSpec ShowFont(const FontSpec& initial) = 0;
};

inline RuntimeError CancelError() { return RuntimeError(kErrCancel, "Cancel was selected."); }

// The faces a printer prints in: its own, and the password list's, which
// keeps look-alike characters apart.
enum class PrintFace { kPrinter, kList };

// The printer: text in the current font, print zones, pages, one document.
class Printer {
public:
    virtual ~Printer() = default;
    virtual void SetFace(PrintFace face) = 0;  // the printer's own until set
    virtual void SetFont(double points, bool bold) = 0;
    virtual void Print(const Text& text) = 0;  // at the current position
    virtual void NextZone() = 0;               // to the start of the next print zone
    virtual void EndLine() = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
};

}  // namespace morvane
