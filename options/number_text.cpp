#include "options/number_text.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/runtime_error.h"

namespace morvane {
namespace {

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
bool IsBlank(char32_t c) { return c == U' '; }

// Length of the number starting at `i` (0 when none), as the grammar allows.
size_t ScanNumber(const Text& t, size_t i) {
    size_t start = i;
    if (i < t.size() && (t[i] == U'+' || t[i] == U'-')) ++i;
    size_t digits = 0;
    bool point = false;
    while (i < t.size()) {
        if (IsDigit(t[i])) {
            ++digits;
        } else if (t[i] == U'.' && !point) {
            point = true;
        } else {
            break;
        }
        ++i;
    }
    if (digits == 0) return 0;
    if (i < t.size() && (t[i] == U'e' || t[i] == U'E')) {
        size_t j = i + 1;
        if (j < t.size() && (t[j] == U'+' || t[j] == U'-')) ++j;
        size_t exp_digits = 0;
        while (j < t.size() && IsDigit(t[j])) { ++j; ++exp_digits; }
        if (exp_digits > 0) i = j;
    }
    return i - start;
}

}  // namespace

bool IsNumericText(const Text& t) {
    size_t i = 0;
    while (i < t.size() && IsBlank(t[i])) ++i;
    size_t n = ScanNumber(t, i);
    if (n == 0) return false;
    i += n;
    while (i < t.size() && IsBlank(t[i])) ++i;
    return i == t.size();
}

double LeadingValue(const Text& t) {
    size_t i = 0;
    while (i < t.size() && (IsBlank(t[i]) || t[i] == U'\t' || t[i] == U'\n' || t[i] == U'\r')) ++i;
    size_t n = ScanNumber(t, i);
    if (n == 0) return 0.0;
    std::string ascii(t.begin() + static_cast<long>(i), t.begin() + static_cast<long>(i + n));
    return std::strtod(ascii.c_str(), nullptr);
}

int16_t ToInt16(double value) {
    double whole = std::nearbyint(value);
    if (!(whole >= -32768.0 && whole <= 32767.0)) throw OverflowError();
    return static_cast<int16_t>(whole);
}

int32_t ToInt32(double value) {
    double whole = std::nearbyint(value);
    if (!(whole >= -2147483648.0 && whole <= 2147483647.0)) throw OverflowError();
    return static_cast<int32_t>(whole);
}

}  // namespace morvane
