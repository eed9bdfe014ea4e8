#include "engine/rule_count.h"

#include <algorithm>
#include <bit>
#include <cmath>
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

BigCount& BigCount::operator-=(const BigCount& other) {
    int64_t borrow = 0;
    for (size_t i = 0; i < limbs_.size(); ++i) {
        int64_t difference = int64_t{limbs_[i]} - (i < other.limbs_.size() ? other.limbs_[i] : 0) - borrow;
        borrow = difference < 0;
        if (borrow) difference += int64_t{1} << 32;
        limbs_[i] = static_cast<uint32_t>(difference);
    }
    Trim();
    return *this;
}

BigCount BigCount::operator*(const BigCount& other) const {
    BigCount product;
    if (IsZero() || other.IsZero()) return product;
    product.limbs_.assign(limbs_.size() + other.limbs_.size(), 0);
    for (size_t i = 0; i < limbs_.size(); ++i) {
        uint64_t carry = 0;
        for (size_t j = 0; j < other.limbs_.size(); ++j) {
            const uint64_t p = uint64_t{limbs_[i]} * other.limbs_[j] + product.limbs_[i + j] + carry;
            product.limbs_[i + j] = static_cast<uint32_t>(p);
            carry = p >> 32;
        }
        product.limbs_[i + other.limbs_.size()] = static_cast<uint32_t>(carry);
    }
    product.Trim();
    return product;
}

std::strong_ordering BigCount::operator<=>(const BigCount& other) const {
    if (limbs_.size() != other.limbs_.size()) return limbs_.size() <=> other.limbs_.size();
    for (size_t i = limbs_.size(); i-- > 0;)
        if (limbs_[i] != other.limbs_[i]) return limbs_[i] <=> other.limbs_[i];
    return std::strong_ordering::equal;
}

std::optional<uint64_t> BigCount::ToUint64() const {
    if (limbs_.size() > 2) return std::nullopt;
    uint64_t value = 0;
    for (size_t i = limbs_.size(); i-- > 0;) value = value << 32 | limbs_[i];
    return value;
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

static_assert(kMostRequiredLines <= 6, "the matchable sets of lines fit 64 bits");

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

BigCount CountRulePasswordsWithoutRuns(const PasswordRule& rule, int length) {
    PasswordRule free = rule;
    free.max_repeating = free.max_sequential = 0;
    return CountRulePasswords(free, length);
}

BigCount CountRulePasswords(const PasswordRule& rule, int length) {
    return CountRulePasswordsUpTo(rule, length).back();
}

std::vector<BigCount> CountRulePasswordsUpTo(const PasswordRule& rule, int length) {
    const int lines = static_cast<int>(rule.required.size());
    if (lines > kMostRequiredLines) throw std::length_error("too many required lines");
    const uint64_t matched = uint64_t{1} << ((1u << lines) - 1);
    std::vector<int> characters;
    for (int c = 0; c < 128; ++c)
        if (rule.allowed.test(static_cast<size_t>(c))) characters.push_back(c);
    using State = std::pair<uint64_t, Runs>;
    std::map<State, BigCount> states{{{uint64_t{1}, Runs{}}, BigCount(1)}};
    const bool runs = rule.max_repeating || rule.max_sequential;
    std::vector<BigCount> totals;
    const auto total_now = [&] {
        BigCount total;
        for (const auto& [state, count] : states)
            if (state.first & matched) total += count;
        totals.push_back(std::move(total));
    };
    total_now();
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
        total_now();
    }
    return totals;
}

bool HasRunLimits(const PasswordRule& rule) { return rule.max_repeating || rule.max_sequential; }

bool CanMatchLines(const uint32_t* counts_by_mask, int lines) {
    const uint32_t all = 1u << lines;
    // Every set of lines needs at least as many characters serving one of them.
    for (uint32_t set = 1; set < all; ++set) {
        uint32_t serving = 0;
        for (uint32_t mask = 1; mask < all; ++mask)
            if (mask & set) serving += counts_by_mask[mask];
        if (serving < static_cast<uint32_t>(std::popcount(set))) return false;
    }
    return true;
}

bool KeepsRequiredLines(const PasswordRule& rule, std::string_view password) {
    const int lines = static_cast<int>(rule.required.size());
    if (lines == 0) return true;
    if (lines > kMostRequiredLines) throw std::length_error("too many required lines");
    uint32_t counts[1u << kMostRequiredLines] = {};
    for (char c : password) ++counts[MaskOf(rule, static_cast<unsigned char>(c))];
    return CanMatchLines(counts, lines);
}

bool KeepsRuns(const PasswordRule& rule, std::string_view password) {
    if (!HasRunLimits(rule)) return true;
    Runs runs;
    for (char c : password) {
        Runs after;
        if (!Extend(rule, runs, static_cast<unsigned char>(c), after)) return false;
        runs = after;
    }
    return true;
}

bool KeepsRule(const PasswordRule& rule, std::string_view password) {
    for (char c : password)
        if (!rule.allowed.test(static_cast<unsigned char>(c))) return false;
    return KeepsRuns(rule, password) && KeepsRequiredLines(rule, password);
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
