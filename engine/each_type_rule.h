#pragma once
// "At least one of each chosen type": a password is kept only when it holds a
// character of every type chosen (upper case, lower case, numbers, special,
// Other). Whole passwords are drawn and those that miss a type are drawn
// again, so every password that keeps the rule stays exactly as likely as
// without it: nothing is seeded, filled in or shuffled.
#include <array>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/character_pool.h"
#include "engine/output_count.h"

namespace morvane {

class EachTypeRule {
public:
    // The chosen types as the settings name them, each narrowed to the
    // characters left in the built `pool`.
    EachTypeRule(const GenerationSettings& settings, const Pool& pool);

    bool Accepts(std::u32string_view password) const;
    bool AcceptsUtf8(std::string_view password) const;
    // What is wrong with the rule at these lengths, or empty: a type with no
    // character left, a length too short to hold every type, or so few
    // passwords keeping it that a million draws would not find one.
    std::string Problem(int min_length, int max_length, bool variable_length) const;
    // Different passwords of one length that keep the rule.
    OutputCount Count(int length) const;
    // The exact entropy of the passwords of one length that the maker draws
    // and the rule keeps, in bits: a character in the pool more than once is
    // drawn more often, so this is below log2 of the count when the pool
    // repeats characters.
    double Bits(int length) const;
    // The same over every length a run makes.
    OutputCount CountOver(int min_length, int max_length, bool variable_length) const;
    // Share of the maker's draws that keep the rule, over its lengths.
    double Acceptance(int min_length, int max_length, bool variable_length) const;
    int types() const { return static_cast<int>(type_sets_.size()); }

private:
    uint8_t MaskOf(char32_t c) const;
    // The characters in none of the types in `missed`: distinct ones, or
    // pool entries (a character in the pool twice counting twice).
    size_t DistinctOutside(uint32_t missed) const;
    size_t EntriesOutside(uint32_t missed) const;
    // Sum of p log2 p over the characters in none of the types in `missed`,
    // p = entries / pool size.
    double PLogPOutside(uint32_t missed) const;
    // Sum over every set of types missed of (-1)^|missed| term(missed).
    template <class Term>
    auto IncludeExclude(Term term) const;

    std::vector<std::vector<char32_t>> type_sets_;  // distinct characters of each type
    std::vector<char32_t> distinct_;                // the pool's distinct characters
    std::vector<uint8_t> distinct_masks_;           // the types each belongs to
    std::vector<size_t> entries_;                   // its entries in the pool
    size_t pool_size_ = 0;
    uint8_t all_ = 0;
    std::array<uint8_t, 128> ascii_{};
    std::unordered_map<char32_t, uint8_t> beyond_ascii_;
};

}  // namespace morvane
