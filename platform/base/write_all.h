#pragma once
// Writing a whole text to a file descriptor.
#include <string_view>

namespace morvane {

// Writes all of `data` to `fd`, going on after an interrupted or partial
// write; 0, or the errno of the write that failed (EIO for one that wrote
// nothing).
int WriteAll(int fd, std::string_view data);

}  // namespace morvane
