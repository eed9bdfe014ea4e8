#pragma once
// Saving through a private temporary file beside the target, renamed over
// it once complete; a file in a folder we may not write is left as it was.
#include "platform/contracts/file_saver.h"

namespace morvane {

// Why a pipe, a device or a folder in the file's place was not replaced.
inline constexpr const char* kNotARegularFile =
    "it is not a regular file, so nothing was written and it was left as it was.";

class QtFileSaver : public FileSaver {
public:
    // A new file is readable and writable by its owner only, since it holds
    // passwords; a replaced file keeps its permissions. A symbolic link is
    // followed and stays a link.
    std::string Save(const std::string& path, const std::string& bytes) override;
};

}  // namespace morvane
