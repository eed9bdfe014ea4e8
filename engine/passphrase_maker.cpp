#include "engine/passphrase_maker.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "engine/rand.h"
#include "engine/word_list.h"

namespace morvane {
namespace {

constexpr int kCaseForms = 3;  // lower, Title, UPPER
constexpr int kDigitValues = 10;

char32_t Lower(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    if (c == 0x178) return 0xFF;
    return c;
}

char32_t Upper(char32_t c) {
    if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
    if (c == 0xFF) return 0x178;
    return c;
}

int FormIndex(WordCase word_case) {
    switch (word_case) {
        case WordCase::kTitle: return 1;
        case WordCase::kUpper: return 2;
        default: return 0;
    }
}

bool IsDigitText(const Text& t) { return t.size() == 1 && t[0] >= U'0' && t[0] <= U'9'; }

using Big = unsigned __int128;
constexpr Big kBigCap = Big{1} << 120;

Big Times(Big a, Big b) {
    if (a == 0 || b == 0) return 0;
    if (a > kBigCap / b) return kBigCap;
    return a * b;
}

Big Power(Big base, int exponent) {
    Big result = 1;
    for (int i = 0; i < exponent; ++i) result = Times(result, base);
    return result;
}

Big Binomial(int n, int k) {
    Big result = 1;
    for (int i = 1; i <= k; ++i) result = Times(result, static_cast<Big>(n - k + i)) / i;
    return result;
}

double Log2Binomial(int n, int k) {
    return (std::lgamma(n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0)) / std::log(2.0);
}

// -sum p log2 p over the texts one word token can stand as.
double WordTokenBits(const std::vector<Text>& words, WordCase word_case) {
    const double list = static_cast<double>(words.size());
    if (word_case != WordCase::kRandom) return std::log2(list);
    // Each form is drawn with 1/3 of its word's chance; forms that are the
    // same text add up.
    double forms_bits = 0;
    for (const Text& w : words) {
        const Text lower = LowerCase(w), title = TitleCase(w), upper = UpperCase(w);
        const int alike = (title == upper) + (lower == title) + (lower == upper);
        if (alike == 0) forms_bits += std::log2(3.0);
        else if (alike == 1) forms_bits += std::log2(3.0) - 2.0 / 3.0;  // 2/3 log2 3/2 + 1/3 log2 3
    }
    return std::log2(list) + forms_bits / list;
}

}  // namespace

double PassphraseBits(const std::vector<Text>& words, const PassphraseOptions& options) {
    if (words.empty()) return -INFINITY;
    if (options.digits > 0) {
        for (const Text& w : words)
            for (const Text& f : {LowerCase(w), TitleCase(w), UpperCase(w)})
                if (IsDigitText(f)) return CountPassphrases(words, options).bits;  // a word that reads as a digit
    }
    const int k = options.words, n = options.digits;
    const double gap_choices = static_cast<double>(std::max<size_t>(DistinctSeparators(options.separators).size(), 1));
    return Log2Binomial(k + n, n) + n * std::log2(static_cast<double>(kDigitValues)) +
           k * WordTokenBits(words, options.word_case) + (k + n - 1) * std::log2(gap_choices);
}

Text LowerCase(const Text& word) {
    Text out = word;
    for (char32_t& c : out) c = Lower(c);
    return out;
}

Text UpperCase(const Text& word) {
    Text out = word;
    for (char32_t& c : out) c = Upper(c);
    return out;
}

Text TitleCase(const Text& word) {
    Text out = LowerCase(word);
    if (!out.empty()) out[0] = Upper(out[0]);
    return out;
}

std::string WordLengthsInWords(const PassphraseOptions& options) {
    const int least = options.min_word_length, most = options.max_word_length;
    if (least > 0 && most > 0) return least == most ? std::to_string(least) + " characters" :
                                                       std::to_string(least) + " to " + std::to_string(most) + " characters";
    return least > 0 ? "at least " + std::to_string(least) + " characters" : "at most " + std::to_string(most) + " characters";
}

Text DistinctSeparators(const Text& set) {
    Text distinct;
    for (char32_t c : set)
        if (distinct.find(c) == Text::npos) distinct += c;
    return distinct;
}

Text PassphraseOptions::KeptOutOfWords() const {
    if (separators.empty()) return separator;
    const bool digit = std::any_of(separators.begin(), separators.end(), [](char32_t c) { return c >= U'0' && c <= U'9'; });
    return digit ? separators + U"0123456789" : separators;
}

std::string PassphraseProblem(const std::vector<Text>& words, const PassphraseOptions& options) {
    if (options.words < kFewestPassphraseWords || options.words > kMostPassphraseWords)
        return "Enter a number of words from 1 to 64.";
    if (options.digits < 0 || options.digits > kMostPassphraseDigits)
        return "Enter a number of digits from 0 to 64.";
    if (!options.separators.empty()) {
        if (std::any_of(options.separators.begin(), options.separators.end(), IsControlCharacter))
            return "The separators must not hold a control character.";
    } else if (options.separator.empty()) {
        return "Enter a separator: without one, different passphrases could read the same.";
    } else if (std::any_of(options.separator.begin(), options.separator.end(),
                           [](char32_t c) { return c >= U'0' && c <= U'9'; })) {
        return "The separator must not hold a digit.";
    }
    if (options.separators.empty() && std::any_of(options.separator.begin(), options.separator.end(), IsControlCharacter))
        return "The separator must not hold a control character.";
    if (words.size() < kFewestWords && (options.min_word_length > 0 || options.max_word_length > 0))
        return "Only " + std::to_string(words.size()) + " words of the list are " + WordLengthsInWords(options) +
               " long; at least 1024 are needed.";
    if (words.size() < kFewestWords)
        return "The word list holds " + std::to_string(words.size()) +
               " different words without the separator; it needs at least 1024.";
    return {};
}

PassphraseMaker::PassphraseMaker(const std::vector<Text>& words, PassphraseOptions options)
    : options_(std::move(options)) {
    for (const Text& w : words) {
        const Text forms[kCaseForms] = {LowerCase(w), TitleCase(w), UpperCase(w)};
        for (int f = 0; f < kCaseForms; ++f) {
            forms_[f].push_back(forms[f]);
            utf8_[f].push_back(ToUtf8(forms[f]));
        }
    }
    separator_utf8_ = ToUtf8(options_.separator);
    for (char32_t c : DistinctSeparators(options_.separators)) separators_utf8_.push_back(ToUtf8(Text(1, c)));
}

// Where the digits stand: each goes into a place drawn among the tokens so
// far, which makes every arrangement of words and digits equally likely.
// Returns the number of tokens; digit_at holds a digit, or -1 for a word.
int PassphraseMaker::Arrange(int* digit_at) {
    int tokens = options_.words;
    std::fill(digit_at, digit_at + tokens, -1);
    for (int d = 0; d < options_.digits; ++d) {
        const int place = Rand(0, tokens);
        std::copy_backward(digit_at + place, digit_at + tokens, digit_at + tokens + 1);
        digit_at[place] = Rand(0, kDigitValues - 1);
        ++tokens;
    }
    return tokens;
}

// A word of the list in the chosen case: (its case form, its index).
std::pair<int, size_t> PassphraseMaker::DrawWord() {
    const int form = options_.word_case == WordCase::kRandom ? Rand(0, kCaseForms - 1)
                                                              : FormIndex(options_.word_case);
    return {form, static_cast<size_t>(Rand(0, static_cast<int>(forms_[0].size()) - 1))};
}

void PassphraseMaker::Make(Text& passphrase) {
    passphrase.clear();
    int digit_at[kMostPassphraseWords + kMostPassphraseDigits];
    const int tokens = Arrange(digit_at);
    for (int t = 0; t < tokens; ++t) {
        if (t > 0 && separators_utf8_.empty()) passphrase += options_.separator;
        else if (t > 0) passphrase += FromUtf8(separators_utf8_[static_cast<size_t>(Rand(0, static_cast<int>(separators_utf8_.size()) - 1))]);
        if (digit_at[t] >= 0) {
            passphrase += static_cast<char32_t>(U'0' + digit_at[t]);
        } else {
            const auto [form, word] = DrawWord();
            passphrase += forms_[form][word];
        }
    }
}

void PassphraseMaker::AppendUtf8(std::string& out) {
    int digit_at[kMostPassphraseWords + kMostPassphraseDigits];
    const int tokens = Arrange(digit_at);
    for (int t = 0; t < tokens; ++t) {
        if (t > 0 && separators_utf8_.empty()) out += separator_utf8_;
        else if (t > 0) out += separators_utf8_[static_cast<size_t>(Rand(0, static_cast<int>(separators_utf8_.size()) - 1))];
        if (digit_at[t] >= 0) {
            out += static_cast<char>('0' + digit_at[t]);
        } else {
            const auto [form, word] = DrawWord();
            out += utf8_[form][word];
        }
    }
}

// A passphrase is a row of k word tokens and N digit tokens; it splits back
// into them in one way, since no word and no digit holds a character of the
// separator. The texts a word can stand as are the set S of its case forms;
// a digit stands as one of D = "0" to "9". Where S and D share texts, a row
// is possible when its tokens found only in S number at most k and those
// found only in D at most N: the sum below counts those rows.
OutputCount CountPassphrases(const std::vector<Text>& words, const PassphraseOptions& options) {
    std::set<Text> forms;
    for (const Text& w : words) {
        switch (options.word_case) {
            case WordCase::kLower: forms.insert(LowerCase(w)); break;
            case WordCase::kTitle: forms.insert(TitleCase(w)); break;
            case WordCase::kUpper: forms.insert(UpperCase(w)); break;
            case WordCase::kRandom:
                forms.insert(LowerCase(w));
                forms.insert(TitleCase(w));
                forms.insert(UpperCase(w));
                break;
        }
    }
    const int k = options.words, n = options.digits;
    int both = 0;
    for (const Text& f : forms) both += IsDigitText(f);
    const Big only_words = forms.size() - static_cast<size_t>(both);
    const Big only_digits = static_cast<Big>(kDigitValues - both);
    const double log_words = std::log2(static_cast<double>(only_words));
    const double log_digits = std::log2(static_cast<double>(only_digits));
    const double log_both = std::log2(static_cast<double>(both));
    Big exact = 0;
    double bits = -INFINITY;
    for (int i = 0; i <= k; ++i) {
        for (int j = 0; j <= n; ++j) {
            const int shared = k + n - i - j;
            if (shared > 0 && both == 0) continue;
            if ((i > 0 && only_words == 0) || (j > 0 && only_digits == 0)) continue;
            // (k+n)! / (i! j! shared!) orders, then a text for each token.
            exact += Times(Times(Times(Binomial(k + n, i), Binomial(k + n - i, j)), Power(only_words, i)),
                           Times(Power(only_digits, j), Power(static_cast<Big>(both), shared)));
            if (exact > kBigCap) exact = kBigCap;
            const double term = Log2Binomial(k + n, i) + Log2Binomial(k + n - i, j) + i * log_words +
                                j * log_digits + (shared > 0 ? shared * log_both : 0);
            bits = std::isinf(bits) ? term : std::max(bits, term) + std::log2(1 + std::exp2(-std::abs(bits - term)));
        }
    }
    // Each gap between the k + n tokens takes one of the set's characters.
    const Big gap_choices = std::max<size_t>(DistinctSeparators(options.separators).size(), 1);
    const int gaps = k + n - 1;
    exact = Times(exact, Power(gap_choices, gaps));
    if (exact > kBigCap) exact = kBigCap;
    bits += gaps * std::log2(static_cast<double>(gap_choices));
    return exact < kBigCap ? OutputCount::Of(exact) : OutputCount::FromBits(bits);
}

}  // namespace morvane
