#pragma once
// The exact number of passwords of one length that a Password Rule allows:
// every required line matched to a position of its own (a one-to-one
// matching), no run of one character and no run of steps longer than the
// rule lets, each character from the allowed ones.
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/password_rule.h"

namespace morvane {

// A whole number of any size, as the counts of long passwords need.
class BigCount {
public:
    BigCount() = default;
    explicit BigCount(uint64_t value);
    // From 64-bit words, the least significant first.
    static BigCount FromWords(const uint64_t* words, size_t count);
    // Writes the value to `count` words, as far as they hold it.
    void ToWords(uint64_t* words, size_t count) const;
    BigCount& operator+=(const BigCount& other);
    BigCount& operator-=(const BigCount& other);  // other is not larger
    BigCount operator*(uint32_t factor) const;
    BigCount operator*(const BigCount& other) const;
    bool operator==(const BigCount& other) const { return limbs_ == other.limbs_; }
    std::strong_ordering operator<=>(const BigCount& other) const;
    // The value, when it fits 64 bits.
    std::optional<uint64_t> ToUint64() const;
    bool IsZero() const { return limbs_.empty(); }
    double Log2() const;
    std::string Decimal() const;

private:
    void Trim();
    std::vector<uint32_t> limbs_;  // least significant first, no leading zeros
};

BigCount CountRulePasswords(const PasswordRule& rule, int length);
// The counts at every length from 0 to `longest`, in one pass.
std::vector<BigCount> CountRulePasswordsUpTo(const PasswordRule& rule, int longest);

// The most required lines a rule may have for counting and drawing.
inline constexpr int kMostRequiredLines = 10;

// How many ways there are to choose k of n, for n up to 128.
const BigCount& Binomial(int n, int k);

// The same by trying every string, for checking on small cases.
uint64_t CountRulePasswordsByEnumeration(const PasswordRule& rule, int length);
// Whether one password keeps the rule: its characters allowed, each required
// line given a position of its own, no run beyond the limits.
bool KeepsRule(const PasswordRule& rule, std::string_view password);
bool KeepsRequiredLines(const PasswordRule& rule, std::string_view password);
bool KeepsRuns(const PasswordRule& rule, std::string_view password);
bool HasRunLimits(const PasswordRule& rule);

// Characters that serve the same required lines, as a bit mask, and how many.
struct ServedLines {
    uint32_t lines = 0;
    uint32_t count = 0;
};
// The allowed characters by the required lines they serve, in order.
struct LinesGroup {
    uint32_t lines = 0;      // as a bit mask
    std::string characters;  // ASCII
};
std::vector<LinesGroup> GroupByLines(const PasswordRule& rule);

// Whether such characters can give every required line a position of its
// own (Hall's condition: any k lines are served by at least k characters).
bool CanMatchLines(const std::vector<ServedLines>& served, int lines);

}  // namespace morvane
