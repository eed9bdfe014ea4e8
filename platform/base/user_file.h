#pragma once
// Reading a file the user keeps (a table of sites, profiles, a word list):
// a regular file only, opened without waiting so that a pipe with no writer
// is told and not waited on, and read up to a bound, so that neither a pipe
// nor a device such as /dev/zero in its place can hang or fill memory. A
// byte-order mark before UTF-8 is dropped.
#include <cstddef>
#include <string>

namespace morvane {

inline constexpr size_t kLargestUserFileBytes = size_t{16} << 20;

struct UserFile {
    enum Outcome { kRead, kMissing, kRefused } outcome = kMissing;
    std::string text;     // kRead: the bytes, without a byte-order mark
    std::string problem;  // kRefused: why, after the file's name ("is a pipe, not a file of profiles")
};

// `meant` names what the file should be, for the message: "a file of profiles".
UserFile ReadUserFile(const std::string& path, const std::string& meant, size_t most_bytes = kLargestUserFileBytes);

// Appends what `fd` gives until its end or one byte past `most_bytes`, so
// that a larger input is seen; false, with errno, when a read fails.
bool ReadAtMost(int fd, size_t most_bytes, std::string& text);

// What a file that is not a regular one is, for a message: "a folder", "a pipe", ...
const char* KindOfFile(unsigned mode);

}  // namespace morvane
