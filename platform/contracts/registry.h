#pragma once
// A small registry kept in memory: the platform fills it at start-up with the
// entries the program looks up, tests fill it themselves.
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace morvane {

using RegistryKey = intptr_t;
inline constexpr RegistryKey kHkeyLocalMachine = static_cast<RegistryKey>(0x80000002);
enum RegistryType : int { kRegString = 1, kRegDword = 4 };
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;

class Registry {
public:
    void SetString(RegistryKey root, const std::string& key, const std::string& name,
                   const std::string& value, bool with_terminator = true);
    void SetValue(RegistryKey root, const std::string& key, const std::string& name, int type,
                  std::vector<unsigned char> bytes);

    // The calls the program makes; each returns 0 on success.
    long RegOpenKeyEx(RegistryKey root, const std::string& key, int options, long access,
                      RegistryKey* opened);
    long RegQueryValueEx(RegistryKey key, const std::string& name, int* type, unsigned char* data,
                         long* size);
    long RegCloseKey(RegistryKey key);

private:
    struct Value {
        int type;
        std::vector<unsigned char> bytes;
    };
    std::map<std::tuple<RegistryKey, std::string>, std::map<std::string, Value>> keys_;
    std::map<RegistryKey, std::map<std::string, Value>*> open_;
    RegistryKey next_handle_ = 1;
};

// The first of the desktops' system-information programs found in the
// folders of `search_path` (a PATH value), or empty.
std::string FindSystemInfoTool(const std::string& search_path);
// What such a program is started with to show its overview of the machine.
std::vector<std::string> SystemInfoArguments(const std::string& program_path);
// Points the System Information entry at the first of them on PATH.
void FillRegistryFromSystem(Registry& registry);

}  // namespace morvane
