#include "platform/registry.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

namespace morvane {

void Registry::SetString(RegistryKey root, const std::string& key, const std::string& name,
                         const std::string& value, bool with_terminator) {
    std::vector<unsigned char> bytes(value.begin(), value.end());
    if (with_terminator) bytes.push_back(0);
    SetValue(root, key, name, kRegString, std::move(bytes));
}

void Registry::SetValue(RegistryKey root, const std::string& key, const std::string& name, int type,
                        std::vector<unsigned char> bytes) {
    keys_[{root, key}][name] = Value{type, std::move(bytes)};
}

long Registry::RegOpenKeyEx(RegistryKey root, const std::string& key, int, long,
                            RegistryKey* opened) {
    auto it = keys_.find({root, key});
    if (it == keys_.end()) return kErrorFileNotFound;
    *opened = next_handle_++;
    open_[*opened] = &it->second;
    return kErrorSuccess;
}

long Registry::RegQueryValueEx(RegistryKey key, const std::string& name, int* type,
                               unsigned char* data, long* size) {
    auto it = open_.find(key);
    if (it == open_.end()) return 6;  // invalid handle
    auto value = it->second->find(name);
    if (value == it->second->end()) return kErrorFileNotFound;
    if (static_cast<long>(value->second.bytes.size()) > *size) return 234;  // more data
    *type = value->second.type;
    std::memcpy(data, value->second.bytes.data(), value->second.bytes.size());
    *size = static_cast<long>(value->second.bytes.size());
    return kErrorSuccess;
}

long Registry::RegCloseKey(RegistryKey key) { return open_.erase(key) ? kErrorSuccess : 6; }

void FillRegistryFromSystem(Registry& registry) {
    const char* path = std::getenv("PATH");
    if (!path) return;
    for (const char* tool : {"hardinfo", "gnome-system-monitor", "ksysguard", "lshw-gtk"}) {
        std::stringstream folders(path);
        std::string folder;
        while (std::getline(folders, folder, ':')) {
            std::filesystem::path candidate = std::filesystem::path(folder) / tool;
            std::error_code ec;
            if (!folder.empty() && std::filesystem::is_regular_file(candidate, ec)) {
                registry.SetString(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                                   "PATH", candidate.string());
                return;
            }
        }
    }
}

}  // namespace morvane
