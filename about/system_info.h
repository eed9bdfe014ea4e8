#pragma once
// Finding and starting the System Information tool.
#include <functional>
#include <string>

#include "platform/contracts/message_box.h"
#include "platform/contracts/registry.h"
#include "platform/base/text.h"

namespace morvane {

// Starts a program with a normal, focused window, without waiting for it;
// a program that cannot be started is a run-time failure.
using ProgramStarter = std::function<void(const std::string& path)>;

// Reads a registry value into `value`; true when it was read.
bool GetKeyValue(Registry& registry, RegistryKey root, const std::string& key_name,
                 const std::string& value_name, std::string& value);

void StartSysInfo(Registry& registry, const ProgramStarter& start, MessageBoxService& box);

}  // namespace morvane
