#pragma once
#include <QString>

#include "platform/contracts/desktop.h"

namespace morvane {

// Opens targets through the desktop's default programs.
class QtDesktop : public DesktopService {
public:
    void Open(const std::string& target) override;
};

// Where the user's files go: the documents folder, or home without one.
QString DocumentsFolder();

}  // namespace morvane
