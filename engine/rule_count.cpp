#include "engine/rule_count.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>
#include <tuple>

namespace morvane {

// --- BigCount

BigCount::BigCount(uint64_t value) {
    while (value) {
        limbs_.push_back(static_cast<uint32_t>(value));
        value >>= 32;
    }
}

void BigCount::Trim() {
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
}

BigCount& BigCount::operator+=(const BigCount& other) {
    if (limbs_.size() < other.limbs_.size()) limbs_.resize(other.limbs_.size(), 0);
    uint64_t carry = 0;
    for (size_t i = 0; i < limbs_.size(); ++i) {
        const uint64_t sum = uint64_t{limbs_[i]} + (i < other.limbs_.size() ? other.limbs_[i] : 0) + carry;
        limbs_[i] = static_cast<uint32_t>(sum);
        carry = sum >> 32;
    }
    if (carry) limbs_.push_back(static_cast<uint32_t>(carry));
    return *this;
}

BigCount BigCount::operator*(uint32_t factor) const {
    BigCount product;
    uint64_t carry = 0;
    for (uint32_t limb : limbs_) {
        const uint64_t p = uint64_t{limb} * factor + carry;
        product.limbs_.push_back(static_cast<uint32_t>(p));
        carry = p >> 32;
    }
    if (carry) product.limbs_.push_back(static_cast<uint32_t>(carry));
    product.Trim();
    return product;
}

double BigCount::Log2() const {
    if (limbs_.empty()) return -INFINITY;
    // The top two limbs carry all a double holds.
    const size_t n = limbs_.size();
    double top = limbs_[n - 1];
    if (n > 1) top = top * 4294967296.0 + limbs_[n - 2];
    return std::log2(top) + 32.0 * static_cast<double>(n > 1 ? n - 2 : 0);
}

std::string BigCount::Decimal() const {
    if (limbs_.empty()) return "0";
    std::vector<uint32_t> rest = limbs_;
    std::string digits;
    while (!rest.empty()) {
        uint64_t remainder = 0;
        for (size_t i = rest.size(); i-- > 0;) {
            const uint64_t value = (remainder << 32) | rest[i];
            rest[i] = static_cast<uint32_t>(value / 10);
            remainder = value % 10;
        }
        digits += static_cast<char>('0' + remainder);
        while (!rest.empty() && rest.back() == 0) rest.pop_back();
    }
    std::reverse(digits.begin(), digits.end());
    return digits;
}

namespace {

constexpr int kMostRequiredLines = 6;  // the matchable sets of lines fit 64 bits

// The families of required lines that can be matched to positions so far,
// as a set of subsets; a character in the lines of `mask` adds itself to
// every family that misses one of them.
uint64_t AfterCharacter(uint64_t families, uint32_t mask, int lines) {
    uint64_t grown = families;
    const uint32_t all = (1u << lines);
    for (uint32_t set = 0; set < all; ++set) {
        if (!(families >> set & 1)) continue;
        for (int line = 0; line < lines; ++line)
            if ((mask >> line & 1) && !(set >> line & 1)) grown |= uint64_t{1} << (set | (1u << line));
    }
    return grown;
}

uint32_t MaskOf(const PasswordRule& rule, int c) {
    uint32_t mask = 0;
    for (size_t line = 0; line < rule.required.size(); ++line)
        if (rule.required[line].test(static_cast<size_t>(c))) mask |= 1u << line;
    return mask;
}

// The group a character steps within: a-z, A-Z, 0-9, or none.
int StepGroup(int c) {
    if (c >= 'a' && c <= 'z') return 1;
    if (c >= 'A' && c <= 'Z') return 2;
    if (c >= '0' && c <= '9') return 3;
    return 0;
}

// The runs that end a password so far.
struct Runs {
    int last = -1;        // the last character, none at the start
    int repeating = 0;    // of the last character
    int sequential = 0;   // of steps of one direction, the last character included
    int direction = 0;    // +1, -1, or 0 while the run is one character
    auto Key() const { return std::tie(last, repeating, sequential, direction); }
    bool operator<(const Runs& other) const { return Key() < other.Key(); }
};

// The runs after `c`, or none when they grow beyond the rule's limits.
bool Extend(const PasswordRule& rule, const Runs& before, int c, Runs& after) {
    after.last = c;
    after.repeating = before.last == c ? before.repeating + 1 : 1;
    const int step = c - before.last;
    const bool steps = before.last >= 0 && (step == 1 || step == -1) && StepGroup(c) != 0 &&
                       StepGroup(c) == StepGroup(before.last);
    if (steps && (before.direction == step || before.sequential == 1)) {
        after.sequential = before.sequential + 1;
        after.direction = step;
    } else if (steps) {
        after.sequential = 2;
        after.direction = step;
    } else {
        after.sequential = 1;
        after.direction = 0;
    }
    if (rule.max_repeating && after.repeating > rule.max_repeating) return false;
    if (rule.max_sequential && after.sequential > rule.max_sequential) return false;
    // Only what the limits look at is kept, so that like states meet.
    if (!rule.max_repeating && !rule.max_sequential) after = Runs{};
    return true;
}

}  // namespace

BigCount CountRulePasswords(const PasswordRule& rule, int length) {
    const int lines = static_cast<int>(rule.required.size());
    if (lines > kMostRequiredLines) throw std::length_error("too many required lines");
    const uint64_t matched = uint64_t{1} << ((1u << lines) - 1);
    std::vector<int> characters;
    for (int c = 0; c < 128; ++c)
        if (rule.allowed.test(static_cast<size_t>(c))) characters.push_back(c);
    using State = std::pair<uint64_t, Runs>;
    std::map<State, BigCount> states{{{uint64_t{1}, Runs{}}, BigCount(1)}};
    const bool runs = rule.max_repeating || rule.max_sequential;
    for (int position = 0; position < length; ++position) {
        std::map<State, BigCount> next;
        for (const auto& [state, count] : states) {
            if (runs) {
                for (int c : characters) {
                    Runs after;
                    if (!Extend(rule, state.second, c, after)) continue;
                    next[{AfterCharacter(state.first, MaskOf(rule, c), lines), after}] += count;
                }
            } else {
                // Characters in the same lines lead alike: counted together.
                std::map<uint32_t, uint32_t> per_mask;
                for (int c : characters) ++per_mask[MaskOf(rule, c)];
                for (auto [mask, n] : per_mask) next[{AfterCharacter(state.first, mask, lines), Runs{}}] += count * n;
            }
        }
        states = std::move(next);
    }
    BigCount total;
    for (const auto& [state, count] : states)
        if (state.first & matched) total += count;
    return total;
}

bool KeepsRule(const PasswordRule& rule, const std::string& password) {
    for (char c : password)
        if (!rule.allowed.test(static_cast<unsigned char>(c))) return false;
    Runs runs;
    for (char c : password) {
        Runs after;
        if (!Extend(rule, runs, static_cast<unsigned char>(c), after)) return false;
        runs = after;
    }
    // Each required line at a position of its own: tried line by line.
    std::vector<bool> taken(password.size(), false);
    const std::function<bool(size_t)> match = [&](size_t line) {
        if (line == rule.required.size()) return true;
        for (size_t p = 0; p < password.size(); ++p) {
            if (taken[p] || !rule.required[line].test(static_cast<unsigned char>(password[p]))) continue;
            taken[p] = true;
            if (match(line + 1)) return true;
            taken[p] = false;
        }
        return false;
    };
    return match(0);
}

uint64_t CountRulePasswordsByEnumeration(const PasswordRule& rule, int length) {
    std::string alphabet;
    for (int c = 0; c < 128; ++c)
        if (rule.allowed.test(static_cast<size_t>(c))) alphabet += static_cast<char>(c);
    std::vector<size_t> digits(static_cast<size_t>(length), 0);
    std::string password(static_cast<size_t>(length), alphabet.empty() ? ' ' : alphabet[0]);
    uint64_t count = 0;
    if (alphabet.empty()) return 0;
    while (true) {
        for (int i = 0; i < length; ++i) password[static_cast<size_t>(i)] = alphabet[digits[static_cast<size_t>(i)]];
        count += KeepsRule(rule, password);
        int i = 0;
        while (i < length && ++digits[static_cast<size_t>(i)] == alphabet.size()) digits[static_cast<size_t>(i++)] = 0;
        if (i == length) return count;
    }
}

}  // namespace morvane
