#include "engine/each_type_rule.h"

#include <algorithm>
#include <cmath>
#include <bit>
#include <map>

namespace morvane {
namespace {

// Fewer passwords than one in so many draws keeping the rule is refused.
constexpr double kLeastAcceptance = 1e-6;

using Big = unsigned __int128;


}  // namespace

EachTypeRule::EachTypeRule(const GenerationSettings& settings, const Pool& pool) : pool_size_(pool.size()) {
    std::map<char32_t, size_t> entries;
    for (char32_t c : pool) ++entries[c];
    for (auto [c, n] : entries) {
        distinct_.push_back(c);
        entries_.push_back(n);
    }
    for (const CharacterClassEntry& entry : CharacterClasses()) {
        if (!entry.is_type || !(settings.*entry.chosen)) continue;
        std::vector<char32_t> set;
        for (char32_t c : distinct_)
            if (InClass(c, entry)) set.push_back(c);
        type_sets_.push_back(std::move(set));
    }
    if (settings.other_in) {
        const Pool other = GetOther(settings.other_in_text);
        std::vector<char32_t> set;
        for (char32_t c : distinct_)
            if (std::find(other.begin(), other.end(), c) != other.end()) set.push_back(c);
        if (!other.empty()) type_sets_.push_back(std::move(set));
    }
    for (char32_t c : distinct_) {
        uint8_t mask = 0;
        for (size_t t = 0; t < type_sets_.size(); ++t)
            if (std::binary_search(type_sets_[t].begin(), type_sets_[t].end(), c)) mask |= uint8_t(1u << t);
        distinct_masks_.push_back(mask);
        if (c < 128) ascii_[c] = mask;
        else beyond_ascii_[c] = mask;
    }
    all_ = static_cast<uint8_t>((1u << type_sets_.size()) - 1);
}

uint8_t EachTypeRule::MaskOf(char32_t c) const {
    if (c < 128) return ascii_[c];
    auto it = beyond_ascii_.find(c);
    return it == beyond_ascii_.end() ? 0 : it->second;
}

bool EachTypeRule::Accepts(std::u32string_view password) const {
    uint8_t seen = 0;
    for (char32_t c : password) seen |= MaskOf(c);
    return seen == all_;
}

bool EachTypeRule::AcceptsUtf8(std::string_view password) const {
    uint8_t seen = 0;
    for (char c : password) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) return Accepts(FromUtf8(password));
        seen |= ascii_[byte];
    }
    return seen == all_;
}

size_t EachTypeRule::DistinctOutside(uint32_t missed) const {
    size_t left = 0;
    for (uint8_t mask : distinct_masks_) left += (mask & missed) == 0;
    return left;
}

size_t EachTypeRule::EntriesOutside(uint32_t missed) const {
    size_t left = 0;
    for (size_t d = 0; d < distinct_.size(); ++d) left += (distinct_masks_[d] & missed) == 0 ? entries_[d] : 0;
    return left;
}

double EachTypeRule::PLogPOutside(uint32_t missed) const {
    double sum = 0;
    for (size_t d = 0; d < distinct_.size(); ++d) {
        if (distinct_masks_[d] & missed) continue;
        const double p = static_cast<double>(entries_[d]) / static_cast<double>(pool_size_);
        sum += p * std::log2(p);
    }
    return sum;
}

template <class Term>
auto EachTypeRule::IncludeExclude(Term term) const {
    decltype(term(0u)) sum = 0;
    for (uint32_t missed = 0; missed < (1u << type_sets_.size()); ++missed)
        sum += (std::popcount(missed) % 2 ? -1 : 1) * term(missed);
    return sum;
}

// Inclusion and exclusion over the sets of types missed: a password that
// misses every type of a set draws only from the characters in none of them.
OutputCount EachTypeRule::Count(int length) const {
    const double distinct = static_cast<double>(distinct_.size());
    const double total_bits = length * std::log2(distinct);
    if (total_bits < 120) {
        const __int128 sum = IncludeExclude([&](uint32_t missed) {
            const Big left = DistinctOutside(missed);
            Big power = 1;
            for (int i = 0; i < length; ++i) power *= left;
            return static_cast<__int128>(power);
        });
        return OutputCount::Of(static_cast<Big>(sum));
    }
    // Too many to hold: the share that keeps the rule, times all of them.
    const double share = IncludeExclude(
        [&](uint32_t missed) { return std::pow(static_cast<double>(DistinctOutside(missed)) / distinct, length); });
    return OutputCount::FromBits(total_bits + std::log2(share));
}

// A kept password s of length L has chance W(s) / A, W the product of its
// characters' chances and A the share of draws kept, so its entropy is
// log2 A - (1/A) sum over kept s of W(s) log2 W(s). By inclusion and
// exclusion over the types missed, with q the chance of a character outside
// them and r its sum of p log2 p, that sum is sum (-1)^|missed| L q^(L-1) r.
double EachTypeRule::Bits(int length) const {
    const double pool = static_cast<double>(pool_size_);
    const double kept = IncludeExclude(
        [&](uint32_t missed) { return std::pow(static_cast<double>(EntriesOutside(missed)) / pool, length); });
    const double weighted = IncludeExclude([&](uint32_t missed) {
        const double q = static_cast<double>(EntriesOutside(missed)) / pool;
        return length * std::pow(q, length - 1) * PLogPOutside(missed);
    });
    return std::log2(kept) - weighted / kept;
}

OutputCount EachTypeRule::CountOver(int min_length, int max_length, bool variable_length) const {
    OutputCount all;
    for (int length = variable_length ? min_length : max_length; length <= max_length; ++length)
        all = all + Count(length);
    return all;
}

double EachTypeRule::Acceptance(int min_length, int max_length, bool variable_length) const {
    const int first = variable_length ? min_length : max_length;
    double sum = 0;
    for (int length = first; length <= max_length; ++length) {
        sum += IncludeExclude([&](uint32_t missed) {
            return std::pow(static_cast<double>(EntriesOutside(missed)) / static_cast<double>(pool_size_), length);
        });
    }
    return sum / (max_length - first + 1);
}

std::string EachTypeRule::Problem(int min_length, int max_length, bool variable_length) const {
    for (const auto& set : type_sets_)
        if (set.empty()) return "A chosen type has no character left after the exclusions.";
    const int shortest = variable_length ? min_length : max_length;
    if (shortest < types())
        return "A password of " + std::to_string(shortest) + " characters cannot hold one of each of the " +
               std::to_string(types()) + " chosen types.";
    if (Acceptance(min_length, max_length, variable_length) < kLeastAcceptance)
        return "Too few passwords hold one of each chosen type.";
    return {};
}

}  // namespace morvane
