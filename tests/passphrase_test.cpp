// Passphrases and the "each chosen type" rule: word lists read as users
// keep them, exact counts against enumeration, and uniform draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>

#include "tests/chi_square.h"
#include "engine/each_type_rule.h"
#include "engine/password_maker.h"
#include "engine/passphrase_maker.h"
#include "engine/pronounceable_maker.h"
#include "engine/word_list.h"

using namespace morvane;

namespace {

std::vector<Text> Words(std::initializer_list<const char32_t*> words) {
    std::vector<Text> out;
    for (const char32_t* w : words) out.emplace_back(w);
    return out;
}

// Every text that some choice of words, cases, digit places and digits
// gives, found by trying them all.
std::set<Text> EnumeratePassphrases(const std::vector<Text>& words, const PassphraseOptions& o) {
    std::vector<std::function<Text(const Text&)>> cases;
    if (o.word_case == WordCase::kLower || o.word_case == WordCase::kRandom) cases.push_back(LowerCase);
    if (o.word_case == WordCase::kTitle || o.word_case == WordCase::kRandom) cases.push_back(TitleCase);
    if (o.word_case == WordCase::kUpper || o.word_case == WordCase::kRandom) cases.push_back(UpperCase);
    const int tokens = o.words + o.digits;
    std::set<Text> texts;
    for (uint32_t digit_places = 0; digit_places < (1u << tokens); ++digit_places) {
        if (std::popcount(digit_places) != o.digits) continue;
        // One choice per token: a word and its case, or a digit.
        std::function<void(int, Text)> fill = [&](int t, Text so_far) {
            if (t == tokens) {
                texts.insert(so_far);
                return;
            }
            std::vector<Text> between = {o.separator};
            if (!o.separators.empty()) {
                between.clear();
                for (char32_t c : o.separators) between.push_back(Text(1, c));
            }
            for (const Text& separator : t == 0 ? std::vector<Text>{U""} : between) {
                const Text joined = so_far + separator;
                if (digit_places & (1u << t)) {
                    for (char32_t d = U'0'; d <= U'9'; ++d) fill(t + 1, joined + d);
                } else {
                    for (const Text& w : words)
                        for (auto& form : cases) fill(t + 1, joined + form(w));
                }
            }
        };
        fill(0, U"");
    }
    return texts;
}

// Draws `outcomes` times 200 and checks that every outcome came, each about
// equally often (chi-square within bounds that fair draws leave once in 10^9 runs).
void ExpectEveryOutcomeEquallyLikely(const std::function<void(Text&)>& draw, uint64_t outcomes) {
    std::map<Text, int> seen;
    const int draws = 200 * static_cast<int>(outcomes);
    Text p;
    for (int i = 0; i < draws; ++i) {
        draw(p);
        ++seen[p];
    }
    ASSERT_EQ(seen.size(), outcomes);
    const double expected = static_cast<double>(draws) / static_cast<double>(outcomes);
    double chi = 0;
    for (auto& [text, n] : seen) chi += (n - expected) * (n - expected) / expected;
    const double df = static_cast<double>(outcomes) - 1.0;
    const auto fair = chi_square::FairBoundsFor(df);
    EXPECT_LT(chi, fair.high);
    EXPECT_GT(chi, fair.low);
}

}  // namespace

TEST(WordList, ReadsAListAsUsersKeepItAndTheBuiltInOneWhole) {
    const std::string file = "11111 abacus\n11112\tabdomen\n\n  apple  \nabacus\nyo-yo\n12 34\n7\r\nzebra\n";
    EXPECT_EQ(ReadWordList(file, U"-"), Words({U"abacus", U"abdomen", U"apple", U"34", U"7", U"zebra"}));
    EXPECT_EQ(ReadWordList(file, U" "), Words({U"abacus", U"abdomen", U"apple", U"yo-yo", U"34", U"7", U"zebra"}));
    EXPECT_EQ(ReadWordList(EffLargeWordListText(), U" ").size(), 7776u);
    EXPECT_EQ(ReadWordList(EffLargeWordListText(), U"-").size(), 7772u);  // drop-down, felt-tip, t-shirt, yo-yo
    // Too short a list is refused.
    std::string short_list;
    for (int i = 0; i < 1023; ++i) short_list += "w" + std::to_string(i) + "\n";
    PassphraseOptions options;
    EXPECT_NE(PassphraseProblem(ReadWordList(short_list, U"-"), options), "");
    short_list += "one-more\nw1023\n";
    EXPECT_EQ(PassphraseProblem(ReadWordList(short_list, U"-"), options), "");
    options.separator = U"";
    EXPECT_NE(PassphraseProblem(ReadWordList(short_list, U"-"), options), "");
}

TEST(PassphraseCount, IsExactlyTheNumberOfDifferentTextsOnSmallCases) {
    struct Case {
        std::vector<Text> words;
        WordCase word_case;
        int words_drawn, digits;
        const char32_t* separators = U"";
    } cases[] = {
        {Words({U"ab", U"cd", U"ef", U"gh", U"ij"}), WordCase::kLower, 2, 1, U"+!7"},  // a digit among them
        {Words({U"ab", U"x", U"cd"}), WordCase::kRandom, 2, 2, U"-_"},
        {Words({U"ab", U"cd", U"ef"}), WordCase::kLower, 2, 0},
        {Words({U"ab", U"Ab", U"x"}), WordCase::kLower, 2, 1},  // two words read the same
        {Words({U"ab", U"x", U"7"}), WordCase::kRandom, 2, 1},  // "X" is both Title and UPPER
        {Words({U"7", U"8", U"ok"}), WordCase::kTitle, 2, 2},   // words that read as digits
        {Words({U"é", U"ß", U"q"}), WordCase::kUpper, 3, 1},
        {Words({U"a"}), WordCase::kRandom, 1, 3},
    };
    for (const Case& c : cases) {
        PassphraseOptions o;
        o.words = c.words_drawn;
        o.digits = c.digits;
        o.word_case = c.word_case;
        o.separator = U"+";
        o.separators = c.separators;
        const size_t enumerated = EnumeratePassphrases(c.words, o).size();
        const OutputCount counted = CountPassphrases(c.words, o);
        EXPECT_EQ(counted.capped, enumerated) << c.words_drawn << " words, " << c.digits << " digits";
        EXPECT_NEAR(counted.bits, std::log2(static_cast<double>(enumerated)), 1e-9);
    }
    // The default: six words of the built-in list, 7772^6 passphrases.
    const OutputCount six = CountPassphrases(ReadWordList(EffLargeWordListText(), U"-"), PassphraseOptions{});
    EXPECT_NEAR(six.bits, 6 * std::log2(7772.0), 1e-9);
}

TEST(PassphraseMaker, EveryArrangementOfWordsCasesAndDigitsIsEquallyLikely) {
    const auto words = Words({U"ab", U"cd", U"ef"});
    PassphraseOptions o;
    o.words = 2;
    o.digits = 1;
    o.word_case = WordCase::kRandom;
    const size_t outcomes = EnumeratePassphrases(words, o).size();  // 3 places x 10 digits x 9 x 9
    ASSERT_EQ(outcomes, 2430u);
    PassphraseMaker maker(words, o);
    ExpectEveryOutcomeEquallyLikely([&](Text& p) { maker.Make(p); }, outcomes);
    // A recipe: five words, three separators (a digit among them), each gap its own.
    const auto five = Words({U"ab", U"cd", U"ef", U"gh", U"ij"});
    o.word_case = WordCase::kLower;
    o.separators = U"+!7";
    const size_t recipes = EnumeratePassphrases(five, o).size();  // 3 places x 10 digits x 25 x 3^2
    ASSERT_EQ(recipes, 6750u);
    EXPECT_EQ(CountPassphrases(five, o).capped, recipes);
    PassphraseMaker recipe(five, o);
    ExpectEveryOutcomeEquallyLikely([&](Text& p) { recipe.Make(p); }, recipes);
}

namespace {

// Upper A B C, numbers 0 1 2, Other x y: everything else left out.
GenerationSettings SmallChoice() {
    GenerationSettings choice;
    choice.special = choice.lower = false;
    choice.other_in = true;
    choice.other_in_text = U"x y";
    choice.other_out = true;
    for (char32_t c = U'D'; c <= U'Z'; ++c) choice.other_out_text += Text{c, U' '};
    for (char32_t c = U'3'; c <= U'9'; ++c) choice.other_out_text += Text{c, U' '};
    return choice;
}

}  // namespace

TEST(EachTypeRule, CountsExactlyThePasswordsHoldingEveryTypeAndRefusesWhatCannotBe) {
    const GenerationSettings choice = SmallChoice();
    Pool pool;
    ASSERT_EQ(BuildPool(choice, pool), PoolOutcome::kBuilt);
    ASSERT_EQ(pool.size(), 8u);
    const EachTypeRule rule(choice, pool);
    EXPECT_EQ(rule.types(), 3);
    for (int length = 3; length <= 6; ++length) {
        uint64_t keeping = 0, all = 1;
        for (int i = 0; i < length; ++i) all *= pool.size();
        Text password(static_cast<size_t>(length), U' ');
        for (uint64_t n = 0; n < all; ++n) {
            uint64_t rest = n;
            for (int i = 0; i < length; ++i, rest /= pool.size()) password[i] = pool[rest % pool.size()];
            keeping += rule.Accepts(password);
        }
        EXPECT_EQ(rule.Count(length).capped, keeping) << length;
    }
    EXPECT_NE(rule.Problem(2, 2, false), "");  // two characters cannot hold three types
    EXPECT_EQ(rule.Problem(3, 8, true), "");
    // The defaults: 94 characters, four types, 8 long.
    Pool defaults;
    BuildPool(GenerationSettings{}, defaults);
    const EachTypeRule four(GenerationSettings{}, defaults);
    // Inclusion and exclusion over the four classes' sizes.
    const int sizes[] = {26, 26, 10, 32};
    long double keeping = 0;
    for (int missed = 0; missed < 16; ++missed) {
        int left = 94;
        for (int t = 0; t < 4; ++t) left -= (missed >> t & 1) * sizes[t];
        keeping += (std::popcount(unsigned(missed)) % 2 ? -1 : 1) * std::pow(static_cast<long double>(left), 8);
    }
    const double expected = static_cast<double>(std::log2(keeping));
    EXPECT_NEAR(four.Count(8).bits, expected, 1e-6);
}

TEST(EachTypeRule, DrawingWholePasswordsAndRejectingKeepsEveryAcceptedOneEquallyLikely) {
    const GenerationSettings choice = SmallChoice();
    Pool pool;
    BuildPool(choice, pool);
    const EachTypeRule rule(choice, pool);
    PasswordMaker maker(pool, 4, 4, false);
    const uint64_t outcomes = rule.Count(4).capped;
    ASSERT_EQ(outcomes, 1728u);  // 8^4 - (5^4 + 5^4 + 6^4) + (2^4 + 3^4 + 3^4) - 0^4
    ExpectEveryOutcomeEquallyLikely(
        [&](Text& p) {
            do maker.Make(p);
            while (!rule.Accepts(p));
        },
        outcomes);
}

namespace {

// -sum p log2 p over the outcomes of `chances` (each scaled by the same total).
double Entropy(const std::map<Text, double>& chances) {
    double total = 0, bits = 0;
    for (auto& [text, p] : chances) total += p;
    for (auto& [text, p] : chances) bits -= p / total * std::log2(p / total);
    return bits;
}

}  // namespace

TEST(WordList, CaseVariantsAreOneWordAndNoCaseFormWrittenHoldsTheSeparator) {
    EXPECT_EQ(ReadWordList("Paris\nparis\nPARIS\nrome\n", U"-"), Words({U"Paris", U"rome"}));
    // "qaq" written UPPER holds the separator A: "Q" "QAQ" and "QAQ" "Q" would read alike.
    EXPECT_EQ(ReadWordList("q\nqaq\n", U"A", WordCase::kUpper), Words({U"q"}));
    EXPECT_EQ(ReadWordList("q\nqaq\n", U"A", WordCase::kRandom), Words({U"q"}));
    EXPECT_EQ(ReadWordList("q\nqaq\n", U"A", WordCase::kLower), Words({U"q", U"qaq"}));
}

TEST(PassphraseBits, IsTheExactEntropyOfTheDrawsWhereCaseFormsFallTogether) {
    // "a" is A as Title and as UPPER; "1x" is 1x as lower and Title.
    const std::vector<Text> words = Words({U"a", U"bc", U"1x"});
    PassphraseOptions o;
    o.words = 2;
    o.digits = 1;
    o.word_case = WordCase::kRandom;
    // Every draw: a place for the digit, the digit, and a word and case per word token.
    const std::function<Text(const Text&)> cases[] = {LowerCase, TitleCase, UpperCase};
    std::map<Text, double> chances;
    for (int place = 0; place < 3; ++place)
        for (char32_t digit = U'0'; digit <= U'9'; ++digit)
            for (const Text& first : words)
                for (const auto& first_case : cases)
                    for (const Text& second : words)
                        for (const auto& second_case : cases) {
                            Text tokens[3];
                            int w = 0;
                            for (int t = 0; t < 3; ++t)
                                tokens[t] = t == place ? Text(1, digit) : (w++ == 0 ? first_case(first) : second_case(second));
                            chances[tokens[0] + U"-" + tokens[1] + U"-" + tokens[2]] += 1;
                        }
    EXPECT_NEAR(PassphraseBits(words, o), Entropy(chances), 1e-9);
    EXPECT_LT(PassphraseBits(words, o), CountPassphrases(words, o).bits - 0.1);  // not log2 of unequal outcomes
    o.word_case = WordCase::kTitle;
    EXPECT_NEAR(PassphraseBits(words, o), CountPassphrases(words, o).bits, 1e-9);  // all alike likely
}

TEST(EachTypeRule, BitsAreTheExactEntropyOfWhatIsDrawnFromAPoolThatRepeatsACharacter) {
    GenerationSettings choice = SmallChoice();
    choice.other_in_text = U"x x x y";  // x three times as likely as y
    Pool pool;
    ASSERT_EQ(BuildPool(choice, pool), PoolOutcome::kBuilt);
    ASSERT_EQ(pool.size(), 10u);
    const EachTypeRule rule(choice, pool);
    for (int length = 3; length <= 5; ++length) {
        std::map<Text, double> chances;
        uint64_t all = 1;
        for (int i = 0; i < length; ++i) all *= pool.size();
        Text password(static_cast<size_t>(length), U' ');
        for (uint64_t n = 0; n < all; ++n) {
            uint64_t rest = n;
            for (int i = 0; i < length; ++i, rest /= pool.size()) password[i] = pool[rest % pool.size()];
            if (rule.Accepts(password)) chances[password] += 1;
        }
        EXPECT_NEAR(rule.Bits(length), Entropy(chances), 1e-9) << length;
        EXPECT_LT(rule.Bits(length), rule.Count(length).bits) << length;
    }
    // Without repeats it is log2 of the count.
    const EachTypeRule even(SmallChoice(), [] {
        Pool p;
        BuildPool(SmallChoice(), p);
        return p;
    }());
    EXPECT_NEAR(even.Bits(6), even.Count(6).bits, 1e-9);
}

namespace {

// Every string of a pronounceable format, written out place by place.
std::set<Text> EveryPronounceable(const SpokenSets& sets, int groups) {
    const int letters = groups * kLettersInAGroup;
    const auto vowel = [](int i) { return i % 3 == 1; };
    std::set<Text> all;
    for (int digit = 0; digit < letters; ++digit)
        for (int capital = 0; capital < letters; ++capital) {
            if (capital == digit) continue;
            std::function<void(int, Text)> fill = [&](int i, Text made) {
                if (i == letters) return void(all.insert(made));
                if (i > 0 && i % kLettersInAGroup == 0) made += U'-';
                const Text& from = i == digit     ? sets.digits
                                   : i == capital ? (vowel(i) ? sets.upper_vowels : sets.upper_consonants)
                                                  : (vowel(i) ? sets.vowels : sets.consonants);
                for (char32_t c : from) fill(i + 1, made + c);
            };
            fill(0, U"");
        }
    return all;
}

}  // namespace

TEST(Pronounceable, CountsExactlyEveryStringAndDrawsEachEquallyOften) {
    const struct {
        const char32_t* excluded;
        int groups;
    } cases[] = {
        {U"cfghjkmnprstvwzCFGHJKMNPRSTVWZeiouEIOU013456789", 1},  // two consonants, one vowel, two digits
        {U"fghjkmnprstvwzFGHJKMNPRSTVWZiouIOU23456789", 1},       // capitals of both kinds, unevenly
        {U"dfghjkmnprstvwzDFGHJKMNPRSTVWZeiouAEIOU013456789", 1},  // no capital vowel: only consonants take it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(ToUtf8(c.excluded)));
        SpokenSets sets;
        ASSERT_EQ(SpokenSetsWithout(c.excluded, sets), "");
        PronounceableMaker maker(sets, c.groups);
        const std::set<Text> every = EveryPronounceable(sets, c.groups);
        EXPECT_EQ(maker.Count().capped, every.size());
        EXPECT_NEAR(maker.Count().bits, std::log2(static_cast<double>(every.size())), 1e-9);
        ExpectEveryOutcomeEquallyLikely([&](Text& made) { maker.Make(made); }, every.size());
    }
    // Two groups, counted against writing them all out; the default, at least 70 bits.
    SpokenSets few;
    ASSERT_EQ(SpokenSetsWithout(U"fghjkmnprstvwzFGHJKMNPRSTVWZeiouEIOU23456789", few), "");
    EXPECT_EQ(PronounceableMaker(few, 2).Count().capped, EveryPronounceable(few, 2).size());
    SpokenSets all;
    ASSERT_EQ(SpokenSetsWithout(U"", all), "");
    PronounceableMaker standard(all, kDefaultGroups);
    EXPECT_GE(standard.Count().bits, 70.0);
    // Eight groups go beyond 128 bits, counted in logarithms.
    EXPECT_NEAR(PronounceableMaker(all, kMostGroups).Count().bits, 176.4, 0.05);
    std::string made;
    standard.AppendUtf8(made);
    EXPECT_EQ(made.size(), 20u);
    EXPECT_EQ(std::count_if(made.begin(), made.end(), [](char ch) { return ch >= '0' && ch <= '9'; }), 1) << made;
    EXPECT_EQ(std::count_if(made.begin(), made.end(), [](char ch) { return ch >= 'A' && ch <= 'Z'; }), 1) << made;
    EXPECT_EQ(made[6], '-');
    EXPECT_EQ(made[13], '-');
    // What the exclusions empty is named.
    EXPECT_EQ(SpokenSetsWithout(U"aeiou", all), "no vowel is left to say");
    EXPECT_EQ(SpokenSetsWithout(U"0123456789", all), "no digit is left");
}
