#pragma once
// Passphrases: words drawn from a list, each in the chosen case, joined by a
// separator, with random digits standing between them.
#include <string>
#include <utility>
#include <vector>

#include "engine/output_count.h"
#include "platform/base/text.h"

namespace morvane {

enum class WordCase { kLower, kTitle, kUpper, kRandom };  // kRandom: one of the three per word

inline constexpr int kFewestPassphraseWords = 1;
inline constexpr int kMostPassphraseWords = 64;
inline constexpr int kMostPassphraseDigits = 64;

inline constexpr int kShortestWordLimit = 1;
inline constexpr int kLongestWordLimit = 32;

struct PassphraseOptions {
    int words = 6;
    Text separator = U"-";
    WordCase word_case = WordCase::kLower;
    int digits = 0;  // random digits 0 to 9, each standing alone between words
    // When not empty, each gap between tokens draws one of these characters
    // instead of the separator, each as likely, each gap on its own.
    Text separators;
    // Only words this many characters long are drawn; 0: no bound.
    int min_word_length = 0, max_word_length = 0;

    // The characters no word may hold, so that a passphrase splits back
    // into its tokens in one way: those of the separator or the set, and
    // every digit when the set holds one (a digit token then stands between
    // digits that separate).
    Text KeptOutOfWords() const;
};

// What is wrong with the options for this list, or empty. The separator
// must not be empty and must hold no digit, so that a passphrase reads back
// into its words and digits in one way only.
std::string PassphraseProblem(const std::vector<Text>& words, const PassphraseOptions& options);

class PassphraseMaker {
public:
    // `words` as ReadWordList gives them, checked by PassphraseProblem.
    PassphraseMaker(const std::vector<Text>& words, PassphraseOptions options);
    void Make(Text& passphrase);
    void AppendUtf8(std::string& out);

private:
    int Arrange(int* digit_at);
    std::pair<int, size_t> DrawWord();

    std::vector<Text> forms_[3];  // each word lower, Title and UPPER
    std::vector<std::string> utf8_[3];
    PassphraseOptions options_;
    std::string separator_utf8_;
    std::vector<std::string> separators_utf8_;  // the set's, one each
};

// The number of different passphrases the list and options can give: each
// text counted once, however many draws lead to it.
OutputCount CountPassphrases(const std::vector<Text>& words, const PassphraseOptions& options);

// The exact entropy of the passphrases drawn, in bits: each text weighted by
// how likely it is, so that case forms that fall together ("A" is both the
// Title and the UPPER form of "a") count once with their joint chance.
// `words` as ReadWordList gives them (no two alike in any case).
double PassphraseBits(const std::vector<Text>& words, const PassphraseOptions& options);

// The characters of a separators' set, each once, in their order.
Text DistinctSeparators(const Text& set);
// The word lengths asked for, in words: "8 to 9 characters".
std::string WordLengthsInWords(const PassphraseOptions& options);

// Case of letters A-Z and the Latin-1 letters; other characters stay.
Text LowerCase(const Text& word);
Text UpperCase(const Text& word);
Text TitleCase(const Text& word);  // the first character upper, the rest lower

}  // namespace morvane
