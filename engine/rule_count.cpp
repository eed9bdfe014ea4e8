#include "engine/rule_count.h"

#include <algorithm>
#include <array>
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

static_assert(kMostRequiredLinesWithRuns <= 6, "the matchable sets of lines fit 64 bits");

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
    if (!rule.max_repeating) after.repeating = 0;
    if (!rule.max_sequential) after.sequential = after.direction = 0;
    return true;
}

}  // namespace

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

// The sets of required lines that can be matched so far, as a set of them:
// bit s of word s / 64.
struct LineFamilies {
    std::array<uint64_t, (size_t{1} << kMostRequiredLines) / 64> words{};
    bool test(uint32_t set) const { return words[set / 64] >> (set % 64) & 1; }
    void set(uint32_t set) { words[set / 64] |= uint64_t{1} << (set % 64); }
    auto operator<=>(const LineFamilies&) const = default;
};

LineFamilies AfterCharacterOf(const LineFamilies& families, uint32_t mask, int lines) {
    LineFamilies grown = families;
    const uint32_t all = 1u << lines;
    for (uint32_t set = 0; set < all; ++set) {
        if (!families.test(set)) continue;
        for (int line = 0; line < lines; ++line)
            if ((mask >> line & 1) && !(set >> line & 1)) grown.set(set | (1u << line));
    }
    return grown;
}

// Without limits on runs the order of the characters does not matter: the
// groups of characters that serve the same lines are taken one after the
// other, each some number of times, placed among the positions in every way.
std::vector<BigCount> CountWithoutRunsUpTo(const PasswordRule& rule, int longest) {
    const int lines = static_cast<int>(rule.required.size());
    struct State {
        int used;
        LineFamilies families;
        BigCount ways;
    };
    LineFamilies start;
    start.set(0);
    std::map<std::pair<int, LineFamilies>, State> states{{{0, start}, State{0, start, BigCount(1)}}};
    for (const LinesGroup& group : GroupByLines(rule)) {
        const uint32_t mask = group.lines, members = static_cast<uint32_t>(group.characters.size());
        std::map<std::pair<int, LineFamilies>, State> next;
        for (const auto& [where, state] : states) {
            LineFamilies families = state.families;
            BigCount power(1);  // members^taken
            for (int taken = 0; state.used + taken <= longest; ++taken) {
                if (taken > 0) {
                    if (taken <= lines) families = AfterCharacterOf(families, mask, lines);
                    power = power * members;
                }
                const int used = state.used + taken;
                BigCount ways = state.ways * Binomial(used, taken) * power;
                auto [slot, added] = next.try_emplace({used, families}, State{used, families, BigCount()});
                slot->second.ways += ways;
            }
        }
        states = std::move(next);
    }
    std::vector<BigCount> totals(static_cast<size_t>(longest) + 1);
    for (const auto& [where, state] : states)
        if (state.families.test((1u << lines) - 1)) totals[static_cast<size_t>(state.used)] += state.ways;
    return totals;
}

}  // namespace

std::vector<BigCount> CountRulePasswordsUpTo(const PasswordRule& rule, int length) {
    const int lines = static_cast<int>(rule.required.size());
    if (lines > kMostRequiredLines) throw std::length_error("too many required lines");
    if (!HasRunLimits(rule)) return CountWithoutRunsUpTo(rule, length);
    if (lines > kMostRequiredLinesWithRuns) throw std::length_error("too many required lines with limits on runs");
    const uint64_t matched = uint64_t{1} << ((1u << lines) - 1);
    std::vector<int> characters;
    for (int c = 0; c < 128; ++c)
        if (rule.allowed.test(static_cast<size_t>(c))) characters.push_back(c);
    using State = std::pair<uint64_t, Runs>;
    std::map<State, BigCount> states{{{uint64_t{1}, Runs{}}, BigCount(1)}};
    std::vector<BigCount> totals;
    const auto total_now = [&] {
        BigCount total;
        for (const auto& [state, count] : states)
            if (state.first & matched) total += count;
        totals.push_back(std::move(total));
    };
    total_now();
    uint32_t masks[128] = {};
    Runs fresh[128];  // the runs after a character that neither repeats nor steps
    for (int c : characters) {
        masks[c] = MaskOf(rule, c);
        Extend(rule, Runs{}, c, fresh[c]);
    }
    for (int position = 0; position < length; ++position) {
        // Every character after every password so far, as if it began new
        // runs; then, for the few characters that repeat or step from a
        // password's last one, that share is moved to the runs it makes.
        std::map<uint64_t, BigCount> by_families;
        for (const auto& [state, count] : states) by_families[state.first] += count;
        std::map<State, BigCount> next;
        for (const auto& [families, count] : by_families) {
            std::map<uint32_t, uint64_t> after_mask;  // the families after a character of those lines
            for (int c : characters) {
                auto [grown, added] = after_mask.try_emplace(masks[c]);
                if (added) grown->second = AfterCharacter(families, masks[c], lines);
                next[{grown->second, fresh[c]}] += count;
            }
        }
        for (const auto& [state, count] : states) {
            const int last = state.second.last;
            if (last < 0) continue;
            for (int c : {last, last - 1, last + 1}) {
                if (c < 0 || c >= 128 || !rule.allowed.test(static_cast<size_t>(c))) continue;
                Runs after;
                const bool kept = Extend(rule, state.second, c, after);
                if (kept && !(after < fresh[c]) && !(fresh[c] < after)) continue;  // it begins new runs after all
                const uint64_t families = AfterCharacter(state.first, masks[c], lines);
                next[{families, fresh[c]}] -= count;
                if (kept) next[{families, after}] += count;
            }
        }
        std::erase_if(next, [](const auto& entry) { return entry.second.IsZero(); });
        states = std::move(next);
        total_now();
    }
    return totals;
}

std::vector<LinesGroup> GroupByLines(const PasswordRule& rule) {
    std::vector<LinesGroup> groups;
    for (int c = 0; c < 128; ++c) {
        if (!rule.allowed.test(static_cast<size_t>(c))) continue;
        const uint32_t lines = MaskOf(rule, c);
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
        const uint32_t mask = MaskOf(rule, static_cast<unsigned char>(c));
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
