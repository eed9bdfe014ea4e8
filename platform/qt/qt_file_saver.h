#pragma once
// Saving the list and the printed PDF through the program's one writer of
// whole files, the window kept painting meanwhile.
#include "platform/base/atomic_file.h"
#include "platform/contracts/file_saver.h"

namespace morvane {

class QtFileSaver : public FileSaver {
public:
    // A new file is readable and writable by its owner only, since it holds
    // passwords; a replaced file keeps its permissions. A symbolic link is
    // followed and stays a link.
    std::string Save(const std::string& path, const std::string& bytes) override;
};

}  // namespace morvane
