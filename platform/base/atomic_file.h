#pragma once
// The one way the program writes a file: whole or not at all. The text goes
// to a new file beside the target, readable by the user alone from its first
// instant, is flushed to the disk, and then takes the target's place in one
// step. A failure leaves the old file as it was and nothing new behind, and
// what an interrupted write of the same file left is cleared first.
#include <functional>
#include <string>

namespace morvane {

// Why a pipe, a device or a folder in the file's place was not replaced.
inline constexpr const char* kNotARegularFile =
    "it is not a regular file, so nothing was written and it was left as it was.";

struct WholeFileWrite {
    enum class Existing {
        kReplace,  // a file there is replaced; a link is followed and stays
        kRefuse,   // the file must be new: nothing at the path is written over or followed
    };
    Existing existing = Existing::kReplace;
    // A replaced file keeps its permissions; otherwise it is made private.
    bool keep_permissions = true;
    // Called between the pieces of a long text, so that a window can repaint.
    std::function<void()> between_pieces;
};

// What went wrong, in words to follow the path, or nothing.
std::string WriteFileWhole(const std::string& path, const std::string& text, const WholeFileWrite& how = {});

}  // namespace morvane
