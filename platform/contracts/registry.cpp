#include "platform/contracts/registry.h"

#include <unistd.h>

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

namespace {

struct SystemInfoTool {
    const char* program;
    std::vector<std::string> arguments;
};

// The desktops' own system-information programs, each with what opens its
// overview of the machine.
const std::vector<SystemInfoTool>& SystemInfoTools() {
    static const std::vector<SystemInfoTool> tools = {
        {"kinfocenter", {}},
        {"gnome-control-center", {"info-overview"}},
        {"xfce4-about", {}},
        {"hardinfo2", {}},
        {"hardinfo", {}},
        {"gnome-system-monitor", {}},
    };
    return tools;
}

}  // namespace

std::string FindSystemInfoTool(const std::string& search_path) {
    for (const SystemInfoTool& tool : SystemInfoTools()) {
        std::stringstream folders(search_path);
        std::string folder;
        while (std::getline(folders, folder, ':')) {
            if (folder.empty()) continue;
            const std::filesystem::path candidate = std::filesystem::path(folder) / tool.program;
            std::error_code ec;
            if (std::filesystem::is_regular_file(candidate, ec) &&
                ::access(candidate.c_str(), X_OK) == 0)
                return candidate.string();
        }
    }
    return {};
}

std::vector<std::string> SystemInfoArguments(const std::string& program_path) {
    const std::string name = std::filesystem::path(program_path).filename().string();
    for (const SystemInfoTool& tool : SystemInfoTools())
        if (name == tool.program) return tool.arguments;
    return {};
}

void FillRegistryFromSystem(Registry& registry) {
    const char* path = std::getenv("PATH");
    const std::string tool = path ? FindSystemInfoTool(path) : std::string();
    if (!tool.empty())
        registry.SetString(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", tool);
}

}  // namespace morvane
