#pragma once
// Writing a whole file so that the file it replaces is never left half
// written: either the new content is complete or the old file is unchanged.
#include <string>

namespace morvane {

class FileSaver {
public:
    virtual ~FileSaver() = default;
    // Writes `bytes` as the whole file at `path`. Returns an empty text on
    // success, otherwise the system's reason.
    virtual std::string Save(const std::string& path, const std::string& bytes) = 0;
};

}  // namespace morvane
