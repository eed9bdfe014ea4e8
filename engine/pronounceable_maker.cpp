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
    // A password with its digit on a place of kind d and its capital on one
    // of kind u: n_d (n_u - [d = u]) pairs of places, |digits| digits,
    // |capitals_u| capitals, and the letters of the other places. Divided by
    // what the four arrangements share (the digits, and the letters of every
    // place over |consonants|^2 |vowels|^2), the other places leave one
    // letter count of the kind opposite d and one of the kind opposite u.
    weight_total_ = 0;
    int at = 0;
    for (Kind d : {kConsonant, kVowel})
        for (Kind u : {kConsonant, kVowel}) {
            Arrangement& a = arrangements_[at++];
            a = {d, u, static_cast<uint32_t>(of_kind_[d]), static_cast<uint32_t>(of_kind_[u] - (d == u)),
                 static_cast<uint32_t>(Capitals(u).size()), 1};
            for (Kind taken : {d, u})
                a.letters_weight *= static_cast<uint32_t>(Letters(taken == kConsonant ? kVowel : kConsonant).size());
            weight_total_ += a.weight();
        }
    for (Kind kind : {kConsonant, kVowel})
        for (char32_t c : Letters(kind)) ascii_[kind] += static_cast<char>(c);
    spans_ = {weight_total_, static_cast<uint32_t>(sets_.digits.size())};
    for (int i = 0; i < letters_; ++i) spans_.push_back(static_cast<uint32_t>(Letters(KindAt(i)).size()));
    drawn_.resize(spans_.size());
    plan_.resize(spans_.size() + 1);
    plan_.resize(PlanDigits(spans_.data(), spans_.size(), 64, plan_.data()));
}

OutputCount PronounceableMaker::Count() const {
    // The arrangements' weights times what they all leave out: the digits,
    // and the letters of every place over |consonants|^2 |vowels|^2.
    const uint64_t consonants = sets_.consonants.size(), vowels = sets_.vowels.size();
    unsigned __int128 total = static_cast<unsigned __int128>(weight_total_) * sets_.digits.size();
    if (MultiplyByPower(total, consonants, of_kind_[kConsonant] - 2) && MultiplyByPower(total, vowels, of_kind_[kVowel] - 2))
        return OutputCount::Of(total);
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
    DrawPlannedDigits(spans_.data(), drawn_.data(), plan_.data(), plan_.size(), 0);
    // The first number picks the arrangement as often as its passwords come,
    // and within it the digit's place, the capital's place and the capital,
    // each value as often as the others; what is left over is not read.
    uint32_t pick = drawn_[0];
    const Arrangement* a = arrangements_;
    while (pick >= a->weight()) pick -= (a++)->weight();
    pick /= a->letters_weight;
    const uint32_t capital = pick % a->capitals;
    pick /= a->capitals;
    uint32_t capital_nth = pick % a->capital_places;
    const uint32_t digit_nth = pick / a->capital_places;
    if (a->capital_kind == a->digit_kind && capital_nth >= digit_nth) ++capital_nth;  // the places besides the digit's
    const int digit_at = PlaceOf(a->digit_kind, digit_nth), capital_at = PlaceOf(a->capital_kind, capital_nth);
    // Written in place: the letters, a hyphen after each group but the last;
    // then the digit and the capital over the letters drawn for their places.
    const size_t start = out.size();
    out.resize(start + static_cast<size_t>(Length()), '-');
    char* write = out.data() + start;
    const auto at = [](int letter) { return letter + letter / kLettersInAGroup; };
    for (int i = 0; i < letters_; ++i) write[at(i)] = ascii_[KindAt(i)][drawn_[static_cast<size_t>(i) + 2]];
    write[at(digit_at)] = static_cast<char>(sets_.digits[drawn_[1]]);  // the format's characters are ASCII
    write[at(capital_at)] = static_cast<char>(Capitals(a->capital_kind)[capital]);
    ::explicit_bzero(drawn_.data(), drawn_.size() * sizeof(uint32_t));
    ::explicit_bzero(&pick, sizeof pick);
}

}  // namespace morvane
