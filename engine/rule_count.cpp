#include "engine/rule_count.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <map>
#include <stdexcept>
#include <deque>
#include <mutex>
#include <tuple>

#include "engine/rule_states.h"

namespace morvane {

// --- BigCount

BigCount::BigCount(uint64_t value) {
    while (value) {
        limbs_.push_back(static_cast<uint32_t>(value));
        value >>= 32;
    }
}

BigCount BigCount::FromWords(const uint64_t* words, size_t count) {
    BigCount value;
    for (size_t i = 0; i < count; ++i) {
        value.limbs_.push_back(static_cast<uint32_t>(words[i]));
        value.limbs_.push_back(static_cast<uint32_t>(words[i] >> 32));
    }
    value.Trim();
    return value;
}

void BigCount::ToWords(uint64_t* words, size_t count) const {
    for (size_t i = 0; i < count; ++i) {
        const uint64_t low = 2 * i < limbs_.size() ? limbs_[2 * i] : 0;
        const uint64_t high = 2 * i + 1 < limbs_.size() ? limbs_[2 * i + 1] : 0;
        words[i] = high << 32 | low;
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

const BigCount& Binomial(int n, int k) {
    static const std::vector<std::vector<BigCount>> table = [] {
        std::vector<std::vector<BigCount>> rows(129);
        for (size_t i = 0; i < rows.size(); ++i) {
            rows[i].resize(i + 1, BigCount(1));
            for (size_t j = 1; j < i; ++j) {
                rows[i][j] = rows[i - 1][j - 1];
                rows[i][j] += rows[i - 1][j];
            }
        }
        return rows;
    }();
    return table[static_cast<size_t>(n)][static_cast<size_t>(k)];
}

BigCount CountRulePasswords(const PasswordRule& rule, int length) {
    return CountRulePasswordsUpTo(rule, length).back();
}

namespace {

// Counts already made, by rule, the newest last: the strength line and the
// rule field's check ask again for the same rule at every keystroke.
struct RememberedCounts {
    PasswordRule rule;
    std::vector<BigCount> counts;
};

bool SameCounting(const PasswordRule& a, const PasswordRule& b) {
    return a.allowed == b.allowed && a.required == b.required && a.max_repeating == b.max_repeating &&
           a.max_sequential == b.max_sequential;
}

constexpr size_t kRememberedRules = 32;

}  // namespace

std::vector<BigCount> CountRulePasswordsUpTo(const PasswordRule& rule, int length) {
    if (rule.required.size() > static_cast<size_t>(kMostRequiredLines))
        throw std::length_error("too many required lines");
    static std::mutex guard;
    static std::deque<RememberedCounts> remembered;
    {
        std::lock_guard lock(guard);
        for (const RememberedCounts& known : remembered)
            if (SameCounting(known.rule, rule) && known.counts.size() > static_cast<size_t>(length))
                return {known.counts.begin(), known.counts.begin() + length + 1};
    }
    std::vector<BigCount> counts = CountByStates(rule, length);
    std::lock_guard lock(guard);
    remembered.push_back({rule, counts});
    if (remembered.size() > kRememberedRules) remembered.pop_front();
    return counts;
}

std::vector<LinesGroup> GroupByLines(const PasswordRule& rule) {
    std::vector<LinesGroup> groups;
    for (int c = 0; c < 128; ++c) {
        if (!rule.allowed.test(static_cast<size_t>(c))) continue;
        const uint32_t lines = LinesServedBy(rule, c);
        auto group = std::find_if(groups.begin(), groups.end(), [&](const LinesGroup& g) { return g.lines == lines; });
        if (group == groups.end()) group = groups.insert(groups.end(), LinesGroup{lines, {}});
        group->characters += static_cast<char>(c);
    }
    return groups;
}

bool HasRunLimits(const PasswordRule& rule) { return rule.max_repeating || rule.max_sequential; }

bool CanMatchLines(const std::vector<ServedLines>& served, int lines) {
    const uint32_t all = 1u << lines;
    for (uint32_t set = 1; set < all; ++set) {
        uint32_t serving = 0;
        for (const ServedLines& s : served)
            if (s.lines & set) serving += s.count;
        if (serving < static_cast<uint32_t>(std::popcount(set))) return false;
    }
    return true;
}

bool KeepsRequiredLines(const PasswordRule& rule, std::string_view password) {
    const int lines = static_cast<int>(rule.required.size());
    if (lines == 0) return true;
    if (lines > kMostRequiredLines) throw std::length_error("too many required lines");
    std::vector<ServedLines> served;
    for (char c : password) {
        const uint32_t mask = LinesServedBy(rule, static_cast<unsigned char>(c));
        auto it = std::find_if(served.begin(), served.end(), [&](const ServedLines& s) { return s.lines == mask; });
        if (it == served.end()) served.push_back({mask, 1});
        else ++it->count;
    }
    return CanMatchLines(served, lines);
}

bool KeepsRuns(const PasswordRule& rule, std::string_view password) {
    if (!HasRunLimits(rule)) return true;
    Runs runs;
    for (char c : password) {
        Runs after;
        if (!ExtendRuns(rule, runs, static_cast<unsigned char>(c), after)) return false;
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
