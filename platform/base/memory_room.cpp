#include "platform/base/memory_room.h"

#include <sys/resource.h>

#include <algorithm>
#include <fstream>
#include <string>

namespace morvane {
namespace {

// A "Name:   123 kB" line of a /proc file, in bytes.
uint64_t ProcValue(const char* file, const std::string& name) {
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(name + ":", 0) != 0) continue;
        uint64_t kib = 0;
        for (char c : line.substr(name.size() + 1))
            if (c >= '0' && c <= '9') kib = kib * 10 + static_cast<uint64_t>(c - '0');
        return kib * 1024;
    }
    return UINT64_MAX;
}

}  // namespace

uint64_t MemoryRoom() {
    uint64_t room = ProcValue("/proc/meminfo", "MemAvailable");
    rlimit limit {};
    if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        const uint64_t used = ProcValue("/proc/self/status", "VmSize");
        const uint64_t cap = static_cast<uint64_t>(limit.rlim_cur);
        room = std::min(room, used == UINT64_MAX || used >= cap ? 0 : cap - used);
    }
    return room;
}

}  // namespace morvane
