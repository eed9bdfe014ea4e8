#pragma once
// The standard error report: an OK-only box without icon whose text is the
// failure's description, number and source on three lines.
#include <exception>
#include <string>

#include "platform/contracts/message_box.h"
#include "platform/base/runtime_error.h"

namespace morvane {

std::string ErrorReportText(const RuntimeError& e);

// Title for a procedure of a window: "ERROR: name".
inline std::string FormErrorTitle(const std::string& name) { return "ERROR: " + name; }
// Title for a procedure of a module or the About box: "ERROR:name".
inline std::string ModuleErrorTitle(const std::string& name) { return "ERROR:" + name; }

// Turns whatever was thrown into a run-time failure.
RuntimeError CurrentFailure(std::exception_ptr p);

void ShowErrorReport(MessageBoxService& box, const std::string& title, const RuntimeError& e);

enum class Owner { kWindow, kModule };

// Runs `body`; a failure is reported under the procedure's name and ends the body.
template <class Body>
void TrapErrors(MessageBoxService& box, Owner owner, const char* name, Body&& body) {
    try {
        body();
    } catch (...) {
        RuntimeError failure = CurrentFailure(std::current_exception());
        ShowErrorReport(box, owner == Owner::kWindow ? FormErrorTitle(name) : ModuleErrorTitle(name),
                        failure);
    }
}

}  // namespace morvane
