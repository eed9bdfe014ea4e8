#pragma once
// What to generate, as one value: the kind of output, the characters and
// lengths of passwords, the words of passphrases, how many and whether each
// is new to the run. The window fills it once its checks pass, morvane-cli
// from its flags; the generator, the strength line and the counts read it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/passphrase_maker.h"
#include "engine/pronounceable_maker.h"
#include "platform/base/text.h"

namespace morvane {

enum class GenerationMode {
    kCharacters,  // passwords drawn from the pool of characters
    kEachType,    // the same, each holding one of every chosen type
    kPassphrase,  // words drawn from a list
    kSiteRules,   // passwords that keep a rule in the Password Rules language
    kPronounceable,  // syllables a person can say, with a capital and a digit
};

inline constexpr int kShortestLength = 4;
inline constexpr int kLongestLength = 128;
inline constexpr int32_t kMostPasswords = INT32_MAX;
inline constexpr int kDefaultRuleLength = 20;

// The name that reads a word list from standard input.
inline constexpr const char* kStandardInputName = "-";

struct GenerationSettings {
    GenerationMode mode = GenerationMode::kCharacters;

    // The pool: the classes in their fixed order, then the user's own
    // characters, then the exclusions.
    bool spaces = false;  // the blank is let in
    bool special = true;
    bool numbers = true;
    bool upper = true;
    bool lower = true;
    bool other_in = false;
    Text other_in_text;  // separated by blanks
    bool look_alikes_out = false;
    bool other_out = false;
    Text other_out_text;

    // Lengths of passwords, kShortestLength to kLongestLength; with a fixed
    // length every password is max_length long.
    int min_length = 6;
    int max_length = 8;
    bool variable_length = true;

    // Passphrases: the options and the list, the built-in EFF list when
    // empty. The words once read, so that a run reads its list once
    // (standard input can be read only once).
    PassphraseOptions passphrase;
    std::string word_list_file;
    std::shared_ptr<const std::vector<Text>> read_words;

    // Site rules: the rule, and the site it is the rule of (for the user's
    // eyes). Its characters are narrowed by the blank, look-alikes and Other
    // out; without a length of the user's, passwords are kDefaultRuleLength
    // long, brought into the rule's range.
    std::string rules;
    std::string site;
    std::string unknown_site;  // a site named whose rule is not known: the rule is the strong default
    bool length_given = false;

    // Pronounceable passwords: groups of six letters, kFewestGroups to
    // kMostGroups; narrowed by look-alikes and Other out.
    int groups = kDefaultGroups;

    int32_t count = 10;   // 1 to kMostPasswords
    bool unique = false;  // no output twice in a run

    bool passphrases() const { return mode == GenerationMode::kPassphrase; }
    bool each_type() const { return mode == GenerationMode::kEachType; }
    bool site_rules() const { return mode == GenerationMode::kSiteRules; }
    bool pronounceable() const { return mode == GenerationMode::kPronounceable; }
    // Drawn from the pool of characters the boxes choose, with the lengths
    // of the window's fields.
    bool from_pool() const { return mode == GenerationMode::kCharacters || mode == GenerationMode::kEachType; }
    // The shortest length drawn.
    int shortest() const { return variable_length ? min_length : max_length; }
};

}  // namespace morvane
