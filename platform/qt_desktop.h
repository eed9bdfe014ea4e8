#pragma once
#include "platform/desktop.h"

namespace morvane {

// Opens targets through the desktop's default programs.
class QtDesktop : public DesktopService {
public:
    void Open(const std::string& target) override;
};

}  // namespace morvane
