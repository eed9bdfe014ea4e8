#include "platform/base/local_time.h"

#include <ctime>

namespace morvane {

Text LocalTimeText(std::chrono::system_clock::time_point t, const char* format) {
    std::time_t seconds = std::chrono::system_clock::to_time_t(t);
    std::tm local{};
    localtime_r(&seconds, &local);
    char buffer[64];
    size_t n = std::strftime(buffer, sizeof buffer, format, &local);
    return Ascii(std::string_view(buffer, n));
}

}  // namespace morvane
