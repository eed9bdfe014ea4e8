#include "engine/pronounceable_maker.h"

#include <string.h>

#include <cmath>

#include "engine/character_codes.h"
#include "engine/rand.h"

namespace morvane {
namespace {

Text Without(const Text& set, const Text& excluded) {
    Text kept;
    for (char32_t c : set)
        if (excluded.find(c) == Text::npos) kept += c;
    return kept;
}

Text Capitals(const Text& lower) {
    Text upper;
    for (char32_t c : lower) upper += c - U'a' + U'A';
    return upper;
}

// `base` to the power `exponent`, times `into`; false when it leaves 128 bits.
bool MultiplyByPower(unsigned __int128& into, uint64_t base, int exponent) {
    for (int i = 0; i < exponent; ++i)
        if (__builtin_mul_overflow(into, static_cast<unsigned __int128>(base), &into)) return false;
    return true;
}

void AppendUtf8Of(std::string& out, char32_t c) {
    out += static_cast<char>(c);  // the format's letters, digits and hyphen are ASCII
}

}  // namespace

std::string SpokenSetsWithout(const Text& excluded, SpokenSets& sets) {
    sets.consonants = Without(kSpokenConsonants, excluded);
    sets.vowels = Without(kSpokenVowels, excluded);
    sets.upper_consonants = Without(Capitals(kSpokenConsonants), excluded);
    sets.upper_vowels = Without(Capitals(kSpokenVowels), excluded);
    sets.digits = Without(kSpokenDigits, excluded);
    if (sets.consonants.empty()) return "no consonant is left to say";
    if (sets.vowels.empty()) return "no vowel is left to say";
    if (sets.digits.empty()) return "no digit is left";
    if (sets.upper_consonants.empty() && sets.upper_vowels.empty()) return "no capital letter is left";
    return {};
}

PronounceableMaker::PronounceableMaker(SpokenSets sets, int groups)
    : sets_(std::move(sets)), groups_(groups), letters_(groups * kLettersInAGroup) {
    of_kind_[kConsonant] = of_kind_[kVowel] = 0;
    for (int i = 0; i < letters_; ++i) ++of_kind_[KindAt(i)];
    // With the digit on a place of kind d and the capital on one of kind u,
    // the format gives n_d (n_u - [d = u]) |digits| |capitals_u| times the
    // letters of the other places; over the letters of every place and the
    // digits, that is the weight below, a common factor left out.
    weight_total_ = 0;
    for (Kind d : {kConsonant, kVowel})
        for (Kind u : {kConsonant, kVowel}) {
            uint64_t weight = static_cast<uint64_t>(of_kind_[d]) * static_cast<uint64_t>(of_kind_[u] - (d == u)) *
                              Capitals(u).size();
            // Two places are no plain letters: the whole's letters with one
            // of d's kind and one of u's taken out, times |consonants|^2
            // |vowels|^2, leave the other kind's count for each.
            for (Kind other : {d, u}) weight *= Letters(other == kConsonant ? kVowel : kConsonant).size();
            weight_[d][u] = static_cast<uint32_t>(weight);
            weight_total_ += weight_[d][u];
        }
    drawn_.resize(static_cast<size_t>(letters_));
}

OutputCount PronounceableMaker::Count() const {
    const uint64_t consonants = sets_.consonants.size(), vowels = sets_.vowels.size();
    unsigned __int128 total = 0;
    bool exact = true;
    for (Kind d : {kConsonant, kVowel})
        for (Kind u : {kConsonant, kVowel}) {
            unsigned __int128 part = static_cast<unsigned __int128>(of_kind_[d]) * (of_kind_[u] - (d == u)) *
                                     sets_.digits.size() * Capitals(u).size();
            const int consonant_places = of_kind_[kConsonant] - (d == kConsonant) - (u == kConsonant);
            const int vowel_places = of_kind_[kVowel] - (d == kVowel) - (u == kVowel);
            exact = exact && MultiplyByPower(part, consonants, consonant_places) &&
                    MultiplyByPower(part, vowels, vowel_places) && !__builtin_add_overflow(total, part, &total);
        }
    if (exact) return OutputCount::Of(total);
    const double bits = std::log2(static_cast<double>(sets_.digits.size())) +
                        (of_kind_[kConsonant] - 2) * std::log2(static_cast<double>(consonants)) +
                        (of_kind_[kVowel] - 2) * std::log2(static_cast<double>(vowels)) +
                        std::log2(static_cast<double>(weight_total_));
    return OutputCount::FromBits(bits);
}

void PronounceableMaker::Make(Text& out) {
    std::string utf8;
    AppendUtf8(utf8);
    out.assign(utf8.begin(), utf8.end());
    ::explicit_bzero(utf8.data(), utf8.size());
}

void PronounceableMaker::AppendUtf8(std::string& out) {
    // Which kinds of place take the digit and the capital, as often as the
    // passwords of each; then the places among those of their kinds.
    uint32_t pick = static_cast<uint32_t>(Rand(0, static_cast<int32_t>(weight_total_) - 1));
    int combination = 0;  // digit kind * 2 + capital kind
    while (pick >= weight_[combination / 2][combination % 2]) pick -= weight_[combination / 2][combination++ % 2];
    const Kind digit_kind = static_cast<Kind>(combination / 2), capital_kind = static_cast<Kind>(combination % 2);
    int digit_nth = Rand(0, of_kind_[digit_kind] - 1);
    int capital_nth = Rand(0, of_kind_[capital_kind] - (digit_kind == capital_kind) - 1);
    int digit_at = -1, capital_at = -1;
    for (int i = 0; i < letters_; ++i) {
        if (KindAt(i) == digit_kind && digit_nth-- == 0) digit_at = i;
        else if (KindAt(i) == capital_kind && capital_nth-- == 0) capital_at = i;
    }
    for (int i = 0; i < letters_; ++i) {
        const Text& from = i == digit_at ? sets_.digits : i == capital_at ? Capitals(KindAt(i)) : Letters(KindAt(i));
        drawn_[static_cast<size_t>(i)] = from[static_cast<size_t>(Rand(0, static_cast<int32_t>(from.size()) - 1))];
    }
    for (int i = 0; i < letters_; ++i) {
        if (i > 0 && i % kLettersInAGroup == 0) out += '-';
        AppendUtf8Of(out, drawn_[static_cast<size_t>(i)]);
    }
    ::explicit_bzero(drawn_.data(), drawn_.size() * sizeof(char32_t));
}

}  // namespace morvane
