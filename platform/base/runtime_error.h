#pragma once
// Run-time failures raised by procedures and controls, with the error numbers
// the error report shows.
#include <stdexcept>
#include <string>

namespace morvane {

enum ErrorNumber : int {
    kErrInvalidCall = 5,       // invalid procedure call or argument
    kErrOverflow = 6,
    kErrOutOfMemory = 7,
    kErrSubscript = 9,
    kErrTypeMismatch = 13,
    kErrFileNotFound = 53,
    kErrFileIo = 57,
    kErrPathNotFound = 76,
    kErrCancel = 32755,        // a common dialog was cancelled
};

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, const std::string& description,
                 std::string source = "Morvane")
        : std::runtime_error(description), number_(number), source_(std::move(source)) {}
    int Number() const { return number_; }
    const std::string& Source() const { return source_; }
    std::string Description() const { return what(); }

private:
    int number_;
    std::string source_;
};

inline RuntimeError OverflowError() { return RuntimeError(kErrOverflow, "Overflow"); }
inline RuntimeError SubscriptError() { return RuntimeError(kErrSubscript, "Subscript out of range"); }
inline RuntimeError InvalidCallError() {
    return RuntimeError(kErrInvalidCall, "Invalid procedure call or argument");
}

}  // namespace morvane
