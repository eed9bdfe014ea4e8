#pragma once
// The exact number of passwords of one length that a Password Rule allows:
// every required line matched to a position of its own (a one-to-one
// matching), no run of one character and no run of steps longer than the
// rule lets, each character from the allowed ones.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/password_rule.h"

namespace morvane {

// A whole number of any size, as the counts of long passwords need.
class BigCount {
public:
    BigCount() = default;
    explicit BigCount(uint64_t value);
    BigCount& operator+=(const BigCount& other);
    BigCount operator*(uint32_t factor) const;
    bool operator==(const BigCount& other) const { return limbs_ == other.limbs_; }
    bool IsZero() const { return limbs_.empty(); }
    double Log2() const;
    std::string Decimal() const;

private:
    void Trim();
    std::vector<uint32_t> limbs_;  // least significant first, no leading zeros
};

BigCount CountRulePasswords(const PasswordRule& rule, int length);

// The same by trying every string, for checking on small cases.
uint64_t CountRulePasswordsByEnumeration(const PasswordRule& rule, int length);
// Whether one password keeps the rule.
bool KeepsRule(const PasswordRule& rule, const std::string& password);

}  // namespace morvane
