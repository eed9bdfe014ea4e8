#pragma once
// Clock readings as local-time text.
#include <chrono>

#include "platform/base/text.h"

namespace morvane {

// `format` as for strftime, e.g. "%H:%M:%S".
Text LocalTimeText(std::chrono::system_clock::time_point t, const char* format);

}  // namespace morvane
