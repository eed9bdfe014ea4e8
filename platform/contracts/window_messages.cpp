#include "platform/contracts/window_messages.h"

#include <map>

namespace morvane {
namespace {

std::map<std::string, unsigned>& Registered() {
    static std::map<std::string, unsigned> names;
    return names;
}
bool registration_fails = false;

}  // namespace

unsigned RegisterWindowMessage(const std::string& name) {
    if (registration_fails || name.empty()) return 0;
    auto& names = Registered();
    auto it = names.find(name);
    if (it != names.end()) return it->second;
    unsigned id = 0xC000 + static_cast<unsigned>(names.size());
    names[name] = id;
    return id;
}

void FailMessageRegistration(bool fail) { registration_fails = fail; }

}  // namespace morvane
