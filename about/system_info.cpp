#include "about/system_info.h"

#include <cstdio>
#include <filesystem>
#include <vector>

namespace morvane {

bool GetKeyValue(Registry& registry, RegistryKey root, const std::string& key_name,
                 const std::string& value_name, std::string& value) {
    constexpr long kReadAccess = 0x2003F;
    RegistryKey key = 0;
    if (registry.RegOpenKeyEx(root, key_name, 0, kReadAccess, &key) != kErrorSuccess) {
        value.clear();
        registry.RegCloseKey(key);
        return false;
    }
    std::vector<unsigned char> buffer(1024, 0);
    long size = 1024;
    int type = 0;
    if (registry.RegQueryValueEx(key, value_name, &type, buffer.data(), &size) != kErrorSuccess) {
        value.clear();
        registry.RegCloseKey(key);
        return false;
    }
    std::string text(buffer.begin(), buffer.begin() + size);
    if (!text.empty() && text.back() == '\0') text.pop_back();
    if (type == kRegString) {
        value = text;
    } else if (type == kRegDword) {
        std::string hex = value;
        for (auto it = text.rbegin(); it != text.rend(); ++it) {
            char digits[8];
            std::snprintf(digits, sizeof digits, "%X", static_cast<unsigned char>(*it));
            hex += digits;
        }
        value = std::to_string(std::stoll(hex.empty() ? "0" : hex, nullptr, 16));
    }
    registry.RegCloseKey(key);
    return true;
}

void StartSysInfo(Registry& registry, const ProgramStarter& start, MessageBoxService& box) {
    try {
        std::string path;
        if (GetKeyValue(registry, kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                        "PATH", path)) {
            start(path);
            return;
        }
        std::string folder;
        if (GetKeyValue(registry, kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location",
                        "MSINFO", folder)) {
            std::string program = folder + "/MSINFO32.EXE";
            std::error_code ec;
            if (std::filesystem::is_regular_file(program, ec)) {
                start(program);
                return;
            }
        }
    } catch (...) {
    }
    box.Show("System Information Is Unavailable At This Time", kOkOnly, "");
}

}  // namespace morvane
