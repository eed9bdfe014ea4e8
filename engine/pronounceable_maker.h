#pragma once
// Passwords a person can say: groups of two consonant-vowel-consonant
// syllables joined by hyphens ("rufmed-Kobnit-pa3zuv"), one letter in upper
// case and one digit in a letter's place. Every string of the format is
// exactly as likely as any other, and the count of them is exact.
#include <string>
#include <vector>

#include "engine/output_count.h"
#include "engine/rand.h"
#include "platform/base/text.h"

namespace morvane {

inline constexpr int kFewestGroups = 1;
inline constexpr int kMostGroups = 8;
inline constexpr int kDefaultGroups = 3;
inline constexpr int kLettersInAGroup = 6;  // two syllables

// Letters that are said and heard one way: no c (k or s), l (1 or I), q, x
// or y.
inline const Text kSpokenConsonants = U"bdfghjkmnprstvwz";
inline const Text kSpokenVowels = U"aeiou";
inline const Text kSpokenDigits = U"0123456789";

// What each place of the format draws from, once the exclusions are out.
struct SpokenSets {
    Text consonants, vowels, upper_consonants, upper_vowels, digits;
};

// The sets without the characters of `excluded` (a set of code points);
// the problem names the set left empty.
std::string SpokenSetsWithout(const Text& excluded, SpokenSets& sets);

class PronounceableMaker {
public:
    PronounceableMaker(SpokenSets sets, int groups);
    void Make(Text& out);
    void AppendUtf8(std::string& out);
    // How many different passwords the format gives, and log2 of it.
    OutputCount Count() const;
    int Length() const { return groups_ * (kLettersInAGroup + 1) - 1; }

private:
    enum Kind { kConsonant, kVowel };
    static Kind KindAt(int letter) { return letter % 3 == 1 ? kVowel : kConsonant; }
    // The letter place of the nth place of a kind: syllables of three, the
    // vowel in the middle.
    static int PlaceOf(Kind kind, uint32_t nth) {
        const int n = static_cast<int>(nth);
        return kind == kVowel ? 3 * n + 1 : 3 * (n / 2) + 2 * (n % 2);
    }
    const Text& Letters(Kind kind) const { return kind == kConsonant ? sets_.consonants : sets_.vowels; }
    const Text& Capitals(Kind kind) const { return kind == kConsonant ? sets_.upper_consonants : sets_.upper_vowels; }

    SpokenSets sets_;
    std::string ascii_[2];  // the letters of each kind as the output writes them
    int groups_;
    int letters_;
    int of_kind_[2];       // letter places of each kind
    // How much the format's count grows with the digit on a place of the
    // first kind and the capital on one of the second, in small numbers:
    // places of the digit's kind, of the capital's kind besides it, capitals,
    // and what the letters of the other places weigh.
    struct Arrangement {
        Kind digit_kind, capital_kind;
        uint32_t digit_places, capital_places, capitals, letters_weight;
        uint32_t weight() const { return digit_places * capital_places * capitals * letters_weight; }
    };
    Arrangement arrangements_[4];
    uint32_t weight_total_;
    // What each password draws at once: the arrangement with its places and
    // capital, the digit, and a letter for every place.
    std::vector<uint32_t> spans_, drawn_;
    std::vector<DigitChunk> plan_;
};

}  // namespace morvane
