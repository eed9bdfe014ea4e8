#include "options/number_text.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <string>

#include "platform/base/runtime_error.h"

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

// Power of ten of the first significant digit, for a value too large or too
// small for a double.
long Magnitude(const std::string& digits) {
    size_t e = digits.find_first_of("eE");
    std::string mantissa = digits.substr(0, e);
    long exponent = 0;
    if (e != std::string::npos) {
        std::string ex = digits.substr(e + 1);
        bool negative = !ex.empty() && ex[0] == '-';
        for (char c : ex)
            if (c >= '0' && c <= '9' && exponent < 100000) exponent = exponent * 10 + (c - '0');
        if (negative) exponent = -exponent;
    }
    size_t point = mantissa.find('.');
    std::string whole = mantissa.substr(0, point);
    size_t first = whole.find_first_not_of('0');
    if (first != std::string::npos) return static_cast<long>(whole.size() - first) + exponent;
    std::string fraction = point == std::string::npos ? "" : mantissa.substr(point + 1);
    size_t nonzero = fraction.find_first_not_of('0');
    if (nonzero == std::string::npos) return LONG_MIN;  // zero
    return -static_cast<long>(nonzero) + exponent;
}

// A decimal number in the grammar above, independent of the locale.
double ParseDecimal(std::string text) {
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.erase(0, 1);
    }
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value,
                                        std::chars_format::general);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        long magnitude = Magnitude(text);
        value = magnitude > 0 ? HUGE_VAL : 0.0;
    } else if (error != std::errc()) {
        value = 0;
    }
    return negative ? -value : value;
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
    // The scanned part is plain ASCII; "." is the decimal point in every locale.
    std::string ascii(t.begin() + static_cast<long>(i), t.begin() + static_cast<long>(i + n));
    return ParseDecimal(ascii);
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
