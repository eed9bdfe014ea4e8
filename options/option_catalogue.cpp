#include "options/option_catalogue.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

#include "engine/generation_settings.h"
#include "options/cli_options.h"
#include "output/output_formats.h"

namespace morvane {
namespace {

using G = OptionGroup;
using V = ProfileValue;

// A whole number and nothing else: no sign but a leading +, no point, no
// exponent, no blanks; none when it is not one or does not fit 64 bits.
std::optional<int64_t> WholeNumber(std::string_view digits) {
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    if (digits.empty() || digits.front() < '0' || digits.front() > '9') return std::nullopt;
    int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

std::vector<std::string> FormatChoices() {
    std::vector<std::string> names;
    for (const OutputFormatEntry& format : OutputFormats()) names.emplace_back(format.name);
    return names;
}

// A flag that sets one field of what is made.
template <auto field, bool to>
std::string SetSetting(const OptionValue&, CliOptions& options, OptionsGiven&) {
    options.settings.*field = to;
    return {};
}
template <auto field>
std::string SetCliFlag(const OptionValue&, CliOptions& options, OptionsGiven&) {
    options.*field = true;
    return {};
}
// A text kept as given.
template <auto field>
std::string SetCliText(const OptionValue& value, CliOptions& options, OptionsGiven&) {
    options.*field = value.text;
    return {};
}
std::string Nothing(const OptionValue&, CliOptions&, OptionsGiven&) { return {}; }
// A number of the passphrase options, checked against the entry's range.
template <int PassphraseOptions::*field>
std::string SetPassphraseNumber(const OptionValue& value, CliOptions& options, OptionsGiven&) {
    options.settings.passphrase.*field = static_cast<int>(*value.number);
    return {};
}
// A length as given, settled once every option is read.
template <std::optional<int64_t> OptionsGiven::*length>
std::string SetGivenLength(const OptionValue& value, CliOptions&, OptionsGiven& given) {
    given.*length = value.number;
    return {};
}

// A flag's value when the settings hold it, for a profile to keep.
std::optional<std::string> Flag(bool on) { return on ? std::optional<std::string>("") : std::nullopt; }
// Whether the settings' lengths are what is made: the pool's, or a rule's when given.
bool LengthsApply(const GenerationSettings& s) { return s.from_pool() || (s.site_rules() && s.length_given); }
// A passphrase option's number, where it is not the default.
template <int PassphraseOptions::*field>
std::optional<std::string> KeptPassphraseNumber(const GenerationSettings& s) {
    if (!s.passphrases() || s.passphrase.*field == PassphraseOptions{}.*field) return std::nullopt;
    return std::to_string(s.passphrase.*field);
}
// A bound of lengths that differ, where they apply and, in the pool, where
// it is not the default.
template <int GenerationSettings::*bound>
std::optional<std::string> KeptLengthBound(const GenerationSettings& s) {
    if (!LengthsApply(s) || s.shortest() == s.max_length || (s.from_pool() && s.*bound == GenerationSettings{}.*bound))
        return std::nullopt;
    return std::to_string(s.*bound);
}
// The cases by their names, in the order of WordCase.
const std::vector<std::string> kCaseNames = {"lower", "title", "upper", "random"};

constexpr unsigned kNotCharacters = kKindLengths | kKindCharacters | kKindNarrowing | kKindBlank;
constexpr unsigned kNotSyllables = kKindLengths | kKindCharacters | kKindBlank | kKindPassphrases | kKindRule;
constexpr const char* kWordsNotCharacters = "passphrases are made of words, not characters";
constexpr const char* kMadeByTheRule = "the rule decides which characters a password holds";

std::vector<OptionEntry> MakeCatalogue() {
    return {
        // What is made.
        {'n', "count", Takes::kNumber, "N", "how many passwords (10)", G::kMaking, V::kNumber, kKindOther, 1,
         std::numeric_limits<int32_t>::max(), {}, Completion::kNothing, 0, {}, {}, nullptr,
         [](const OptionValue& v, CliOptions& o, OptionsGiven&) {
             o.settings.count = static_cast<int32_t>(*v.number);
             return std::string();
         },
         [](const GenerationSettings& s) -> std::optional<std::string> {
             if (s.count == GenerationSettings{}.count) return std::nullopt;
             return std::to_string(s.count);
         }},
        {'l', "length", Takes::kNumber, "N", "every password N characters long (4 to 128)", G::kMaking, V::kNumber,
         kKindExactLength, kShortestLength, kLongestLength, {}, Completion::kNothing,
         kKindPassphrases | kKindPronounceable | kKindLengthBound, {}, {}, nullptr,
         SetGivenLength<&OptionsGiven::length>,
         [](const GenerationSettings& s) -> std::optional<std::string> {
             if (!LengthsApply(s) || s.shortest() != s.max_length) return std::nullopt;
             return std::to_string(s.max_length);
         }},
        {0, "min", Takes::kNumber, "N", "shortest length (20); moves --max up if needed", G::kMaking, V::kNumber,
         kKindLengthBound, kShortestLength, kLongestLength, {}, Completion::kNothing,
         kKindPassphrases | kKindPronounceable | kKindExactLength, {}, {}, nullptr,
         SetGivenLength<&OptionsGiven::min>, KeptLengthBound<&GenerationSettings::min_length>},
        {0, "max", Takes::kNumber, "N", "longest length (20); moves --min down if needed", G::kMaking, V::kNumber,
         kKindLengthBound, kShortestLength, kLongestLength, {}, Completion::kNothing,
         kKindPassphrases | kKindPronounceable | kKindExactLength, {}, {}, nullptr,
         SetGivenLength<&OptionsGiven::max>, KeptLengthBound<&GenerationSettings::max_length>},
        {0, "fixed", Takes::kNothing, "", "every password has --max characters", G::kMaking, V::kFlag,
         kKindFixedLength, 0, 0, {}, Completion::kNothing, kKindPassphrases | kKindPronounceable, {}, {}, nullptr,
         SetSetting<&GenerationSettings::variable_length, false>},
        {0, "no-upper", Takes::kNothing, "", "no upper-case letters", G::kMaking, V::kFlag, kKindCharacters, 0, 0,
         {}, Completion::kNothing, kKindPassphrases | kKindPronounceable | kKindRule, {}, {}, nullptr,
         SetSetting<&GenerationSettings::upper, false>,
         [](const GenerationSettings& s) -> std::optional<std::string> { return Flag(s.from_pool() && !s.upper); }},
        {0, "no-lower", Takes::kNothing, "", "no lower-case letters", G::kMaking, V::kFlag, kKindCharacters, 0, 0,
         {}, Completion::kNothing, kKindPassphrases | kKindPronounceable | kKindRule, {}, {}, nullptr,
         SetSetting<&GenerationSettings::lower, false>,
         [](const GenerationSettings& s) -> std::optional<std::string> { return Flag(s.from_pool() && !s.lower); }},
        {0, "no-numbers", Takes::kNothing, "", "no digits", G::kMaking, V::kFlag, kKindCharacters, 0, 0, {},
         Completion::kNothing, kKindPassphrases | kKindPronounceable | kKindRule, {}, {}, nullptr,
         SetSetting<&GenerationSettings::numbers, false>,
         [](const GenerationSettings& s) -> std::optional<std::string> { return Flag(s.from_pool() && !s.numbers); }},
        {0, "no-special", Takes::kNothing, "", "no special characters", G::kMaking, V::kFlag, kKindCharacters, 0, 0,
         {}, Completion::kNothing, kKindPassphrases | kKindPronounceable | kKindRule, {}, {}, nullptr,
         SetSetting<&GenerationSettings::special, false>,
         [](const GenerationSettings& s) -> std::optional<std::string> { return Flag(s.from_pool() && !s.special); }},
        {0, "other-in", Takes::kText, "TEXT", "also these characters (separated by blanks)", G::kMaking, V::kText,
         kKindCharacters, 0, 0, {}, Completion::kNothing, kKindPassphrases | kKindPronounceable | kKindRule, {}, {},
         nullptr,
         [](const OptionValue& v, CliOptions& o, OptionsGiven&) {
             o.settings.other_in = true;
             o.settings.other_in_text = FromUtf8(v.text);
             return std::string();
         },
         [](const GenerationSettings& s) -> std::optional<std::string> {
             if (!s.from_pool() || !s.other_in || s.other_in_text.empty()) return std::nullopt;
             return ToUtf8(s.other_in_text);
         }},
        {0, "spaces", Takes::kNothing, "", "let the blank in", G::kMaking, V::kFlag, kKindBlank, 0, 0, {},
         Completion::kNothing, kKindPronounceable, {}, {}, nullptr, SetSetting<&GenerationSettings::spaces, true>,
         [](const GenerationSettings& s) -> std::optional<std::string> {
             return Flag((s.from_pool() || s.site_rules()) && s.spaces);
         }},
        {0, "exclude-look-alikes", Takes::kNothing, "", "leave out 1 I | l 0 o O ` ' B 8", G::kMaking, V::kFlag,
         kKindNarrowing, 0, 0, {}, Completion::kNothing, 0, {}, {}, nullptr,
         SetSetting<&GenerationSettings::look_alikes_out, true>,
         [](const GenerationSettings& s) -> std::optional<std::string> {
             return Flag(!s.passphrases() && s.look_alikes_out);
         }},
        {0, "other-out", Takes::kText, "TEXT", "leave out these characters", G::kMaking, V::kText, kKindNarrowing,
         0, 0, {}, Completion::kNothing, 0, {}, {}, nullptr,
         [](const OptionValue& v, CliOptions& o, OptionsGiven&) {
             o.settings.other_out = true;
             o.settings.other_out_text = FromUtf8(v.text);
             return std::string();
         },
         [](const GenerationSettings& s) -> std::optional<std::string> {
             if (s.passphrases() || !s.other_out || s.other_out_text.empty()) return std::nullopt;
             return ToUtf8(s.other_out_text);
         }},
        {0, "unique", Takes::kNothing, "", "no password twice in this run", G::kMaking, V::kFlag, kKindOther, 0, 0,
         {}, Completion::kNothing, 0, {}, {}, nullptr, SetSetting<&GenerationSettings::unique, true>,
         [](const GenerationSettings& s) -> std::optional<std::string> { return Flag(s.unique); }},
        {0, "format", Takes::kText, "FORMAT",
         "text (the default), html (the HTML document),\n"
         "ndjson: one JSON object a line with \"password\",\n"
         "\"length\" and \"bits\", or json: one array of them\n"
         "(at most 100000)",
         G::kMaking, V::kText, kKindFormat, 0, 0, FormatChoices(), Completion::kChoices, kKindFormat, {}, {},
         nullptr,
         [](const OptionValue& v, CliOptions& o, OptionsGiven& g) {
             const OutputFormatEntry* format = FindFormat(v.text);
             if (!format) return "--format must be " + FormatNames();
             o.format = format->format;
             g.format = v.text;
             return std::string();
         }},
        {0, "html", Takes::kNothing, "", "the same as --format html", G::kMaking, V::kNotKept, kKindFormat, 0, 0,
         {}, Completion::kNothing, kKindFormat, {}, {}, nullptr,
         [](const OptionValue&, CliOptions& o, OptionsGiven&) {
             o.format = OutputFormat::kHtml;
             return std::string();
         }},
        {0, "crlf", Takes::kNothing, "", "end lines with CR LF instead of LF", G::kMaking, V::kNotKept,
         kKindLineEnd, 0, 0, {}, Completion::kNothing, kKindLineEnd, {}, {}, nullptr, SetCliFlag<&CliOptions::crlf>},
        {'0', "null", Takes::kNothing, "", "end each password with a NUL character", G::kMaking, V::kNotKept,
         kKindLineEnd, 0, 0, {}, Completion::kNothing, kKindLineEnd,
         {{kKindLineEnd, "each ends a line its own way"}}, {}, nullptr, SetCliFlag<&CliOptions::null_terminated>},
        {0, "each-type", Takes::kNothing, "", "every password holds one of each chosen type", G::kMaking, V::kFlag,
         kKindCharacters, 0, 0, {}, Completion::kNothing, kKindPassphrases | kKindPronounceable | kKindRule, {}, {},
         nullptr, Nothing,
         [](const GenerationSettings& s) -> std::optional<std::string> { return Flag(s.each_type()); }},
        {0, "show-strength", Takes::kNothing, "", "write the strength line to standard error", G::kMaking,
         V::kNotKept, kKindOther, 0, 0, {}, Completion::kNothing, 0, {}, {}, nullptr,
         SetCliFlag<&CliOptions::show_strength>},
        {'c', "copy", Takes::kNothing, "",
         "put the first password on the clipboard instead of\n"
         "writing it (one password unless -n is given),\n"
         "marked secret for clipboard managers",
         G::kMaking, V::kNotKept, kKindOther, 0, 0, {}, Completion::kNothing, 0, {}, {}, nullptr,
         SetCliFlag<&CliOptions::copy>},
        {0, "clear-after", Takes::kNumber, "SECONDS",
         "clear the copy after this long, only while the\n"
         "clipboard still holds it; 0: never (the window's\n"
         "setting, else 30)",
         G::kMaking, V::kNotKept, kKindOther, 0, kMostClearAfterSeconds, {}, Completion::kNothing, 0, {}, {"copy"},
         "--copy",
         [](const OptionValue& v, CliOptions& o, OptionsGiven&) {
             o.clear_after = static_cast<int>(*v.number);
             return std::string();
         }},

        // Codes to scan, and accounts to provision.
        {0, "qr", Takes::kOptionalValue, "[=force]",
         "the first password as a QR code on the terminal,\n"
         "the password itself not written; =force: also\n"
         "where standard output is no terminal",
         G::kProvisioning, V::kNotKept, kKindOther, 0, 0, {"force"}, Completion::kNothing, 0, {}, {}, nullptr,
         [](const OptionValue& v, CliOptions& o, OptionsGiven&) {
             if (!v.text.empty() && v.text != "force") return std::string("--qr takes no value but =force");
             o.qr = v.text.empty() ? CliOptions::QrDrawing::kOnTerminal : CliOptions::QrDrawing::kForced;
             return std::string();
         }},
        {0, "qr-text", Takes::kNothing, "", "also write the password under its code", G::kProvisioning, V::kNotKept,
         kKindOther, 0, 0, {}, Completion::kNothing, 0, {}, {"qr", "qr-wifi"}, "--qr",
         SetCliFlag<&CliOptions::qr_text>},
        {0, "qr-wifi", Takes::kText, "NETWORK",
         "the code joins this Wi-Fi network (WPA) with the\n"
         "password as its key",
         G::kProvisioning, V::kNotKept, kKindOther, 0, 0, {}, Completion::kNothing, 0, {}, {}, nullptr,
         [](const OptionValue& v, CliOptions& o, OptionsGiven&) {
             if (v.text.empty()) return std::string("--qr-wifi needs the network's name");
             o.qr_wifi = v.text;
             return std::string();
         }},
        {0, "hash", Takes::kText, "METHOD",
         "beside each password, a tab and its hash for the\n"
         "system's login: yescrypt, sha512crypt, sha256crypt\n"
         "or bcrypt (72 bytes of password at most)",
         G::kProvisioning, V::kNotKept, kKindOther, 0, 0, {}, Completion::kHashMethods, 0, {}, {}, nullptr,
         SetCliText<&CliOptions::hash>},  // morvane-cli, which knows the methods, checks the name
        {0, "hash-cost", Takes::kNumber, "N",
         "the method's cost (bcrypt 4 to 31, default 12;\n"
         "yescrypt 1 to 11; SHA rounds 1000 to 999999999)",
         G::kProvisioning, V::kNotKept, kKindOther, 0, std::numeric_limits<int64_t>::max(), {},
         Completion::kNothing, 0, {}, {"hash"}, "--hash",
         [](const OptionValue& v, CliOptions& o, OptionsGiven&) {
             o.hash_cost = v.number;
             return std::string();
         }},
        {0, "for-users", Takes::kText, "FILE",
         "one password per user named in FILE (one a line;\n"
         "- reads standard input): user:hash lines, for\n"
         "chpasswd -e, or htpasswd with --hash bcrypt",
         G::kProvisioning, V::kNotKept, kKindOther, 0, 0, {}, Completion::kFiles, 0, {}, {}, nullptr,
         [](const OptionValue& v, CliOptions& o, OptionsGiven&) {
             if (v.text.empty()) return std::string("--for-users needs a file's name");
             o.for_users = v.text;
             return std::string();
         }},
        {0, "passwords-to", Takes::kText, "FILE",
         "with --for-users: user:password lines into this\n"
         "new file (0600, never over a file or a link)",
         G::kProvisioning, V::kNotKept, kKindOther, 0, 0, {}, Completion::kFiles, 0, {}, {"for-users"},
         "--for-users",
         [](const OptionValue& v, CliOptions& o, OptionsGiven&) {
             if (v.text.empty()) return std::string("--passwords-to needs a file's name");
             o.passwords_to = v.text;
             return std::string();
         }},

        // Site rules.
        {0, "rules", Takes::kText, "TEXT",
         "passwords that keep this rule, for example\n"
         "\"minlength: 8; required: digit; allowed: lower\"",
         G::kSiteRules, V::kText, kKindRule, 0, 0, {}, Completion::kNothing,
         kKindPassphrases | kKindPronounceable | kKindCharacters | kKindRule | kKindLengths,
         {{kKindPassphrase | kKindCharacters, kMadeByTheRule}, {kKindRule, "each gives a rule"}}, {}, nullptr,
         [](const OptionValue& v, CliOptions& o, OptionsGiven&) {
             o.settings.mode = GenerationMode::kSiteRules;
             o.settings.rules = v.text;
             return std::string();
         },
         [](const GenerationSettings& s) -> std::optional<std::string> {
             if (!s.site_rules() || !s.site.empty()) return std::nullopt;
             return s.rules;
         }},
        {0, "site", Takes::kText, "SITE",
         "the rule of this site, by domain or URL; the\n"
         "sites' table is Apple's password-manager-resources\n"
         "(MIT), and ~/.config/morvane/password-rules.json\n"
         "adds sites of your own",
         G::kSiteRules, V::kText, kKindRule, 0, 0, {}, Completion::kSites,
         kKindPassphrases | kKindPronounceable | kKindCharacters | kKindRule | kKindLengths, {}, {}, nullptr,
         [](const OptionValue& v, CliOptions& o, OptionsGiven&) {
             if (v.text.empty()) return std::string("--site needs a site's domain or address");
             o.site = v.text;
             return std::string();
         },
         [](const GenerationSettings& s) -> std::optional<std::string> {
             if (!s.site_rules() || s.site.empty()) return std::nullopt;
             return s.site;
         }},
        {0, "list-sites", Takes::kNothing, "",
         "the sites whose rules are known, one a line\n"
         "Passwords are 20 long, brought into the rule's\n"
         "range; -l, --min and --max choose within it.",
         G::kSiteRules, V::kNotKept, kKindOther, 0, 0, {}, Completion::kNothing, 0, {}, {}, nullptr,
         SetCliFlag<&CliOptions::list_sites>},

        // Passphrases.
        {0, "passphrase", Takes::kNothing, "", "words instead of characters", G::kPassphrases, V::kFlag,
         kKindPassphrase, 0, 0, {}, Completion::kNothing,
         kKindCharacters | kKindNarrowing | kKindBlank | kKindLengths | kKindRule | kKindPronounceable,
         {{kNotCharacters, kWordsNotCharacters}}, {}, nullptr,
         [](const OptionValue&, CliOptions& o, OptionsGiven&) {
             o.settings.mode = GenerationMode::kPassphrase;
             return std::string();
         },
         [](const GenerationSettings& s) -> std::optional<std::string> { return Flag(s.passphrases()); }},
        {0, "words", Takes::kNumber, "N", "words in each passphrase, 1 to 64 (6)", G::kPassphrases, V::kNumber,
         kKindWordChoice, kFewestPassphraseWords, kMostPassphraseWords, {}, Completion::kNothing,
         kKindCharacters | kKindRule, {}, {"passphrase"}, "passphrases",
         SetPassphraseNumber<&PassphraseOptions::words>, KeptPassphraseNumber<&PassphraseOptions::words>},
        {0, "wordlist", Takes::kText, "FILE",
         "a word list of your own, one word a line (at least\n"
         "1024 words; - reads standard input); the built-in\n"
         "one is the EFF Large Wordlist (CC BY 3.0,\n"
         "Electronic Frontier Foundation)",
         G::kPassphrases, V::kText, kKindWordChoice, 0, 0, {}, Completion::kFiles, kKindCharacters | kKindRule, {},
         {"passphrase"}, "passphrases",
         [](const OptionValue& v, CliOptions& o, OptionsGiven&) {
             o.settings.word_list_file = v.text;
             return std::string();
         },
         [](const GenerationSettings& s) -> std::optional<std::string> {
             if (!s.passphrases() || s.word_list_file.empty()) return std::nullopt;
             return s.word_list_file;
         }},
        {0, "separator", Takes::kText, "TEXT", "what stands between the words (-)", G::kPassphrases, V::kText,
         kKindWordChoice | kKindSeparator, 0, 0, {}, Completion::kNothing, kKindCharacters | kKindRule, {},
         {"passphrase"},
         "passphrases",
         [](const OptionValue& v, CliOptions& o, OptionsGiven&) {
             o.settings.passphrase.separator = FromUtf8(v.text);
             return std::string();
         },
         [](const GenerationSettings& s) -> std::optional<std::string> {
             if (!s.passphrases() ||
                 !s.passphrase.separators.empty() ||
                 s.passphrase.separator == PassphraseOptions{}.separator) return std::nullopt;
             return ToUtf8(s.passphrase.separator);
         }},
        {0, "separators", Takes::kText, "SET",
         "each gap between words takes one of these\n"
         "characters, drawn on its own (--separators '0123456789!#%')",
         G::kPassphrases, V::kText, kKindWordChoice | kKindSeparator, 0, 0, {}, Completion::kNothing,
         kKindCharacters | kKindRule | kKindSeparator, {{kKindSeparator, "each gap takes a separator of the set"}},
         {"passphrase"}, "passphrases",
         [](const OptionValue& v, CliOptions& o, OptionsGiven&) {
             if (v.text.empty()) return std::string("--separators needs at least one character");
             o.settings.passphrase.separators = FromUtf8(v.text);
             return std::string();
         },
         [](const GenerationSettings& s) -> std::optional<std::string> {
             if (!s.passphrases() || s.passphrase.separators.empty()) return std::nullopt;
             return ToUtf8(s.passphrase.separators);
         }},
        {0, "min-word-length", Takes::kNumber, "N", "only words of at least N characters, 1 to 32",
         G::kPassphrases, V::kNumber, kKindWordChoice, kShortestWordLimit, kLongestWordLimit, {},
         Completion::kNothing, kKindCharacters | kKindRule, {}, {"passphrase"}, "passphrases",
         SetPassphraseNumber<&PassphraseOptions::min_word_length>, KeptPassphraseNumber<&PassphraseOptions::min_word_length>},
        {0, "max-word-length", Takes::kNumber, "N", "only words of at most N characters, 1 to 32",
         G::kPassphrases, V::kNumber, kKindWordChoice, kShortestWordLimit, kLongestWordLimit, {},
         Completion::kNothing, kKindCharacters | kKindRule, {}, {"passphrase"}, "passphrases",
         SetPassphraseNumber<&PassphraseOptions::max_word_length>, KeptPassphraseNumber<&PassphraseOptions::max_word_length>},
        {0, "case", Takes::kChoice, "CASE",
         "lower, title, upper or random (one per word), in\n"
         "any letter case",
         G::kPassphrases, V::kText, kKindWordChoice, 0, 0, kCaseNames, Completion::kChoices,
         kKindCharacters | kKindRule, {}, {"passphrase"}, "passphrases",
         [](const OptionValue& v, CliOptions& o, OptionsGiven&) {
             o.settings.passphrase.word_case = static_cast<WordCase>(*v.number);
             return std::string();
         },
         [](const GenerationSettings& s) -> std::optional<std::string> {
             if (!s.passphrases() || s.passphrase.word_case == PassphraseOptions{}.word_case) return std::nullopt;
             return kCaseNames[static_cast<size_t>(s.passphrase.word_case)];
         }},
        {0, "digits", Takes::kNumber, "N", "random digits among the words, 0 to 64 (0)", G::kPassphrases,
         V::kNumber, kKindWordChoice, 0, kMostPassphraseDigits, {}, Completion::kNothing,
         kKindCharacters | kKindRule, {}, {"passphrase"}, "passphrases",
         SetPassphraseNumber<&PassphraseOptions::digits>, KeptPassphraseNumber<&PassphraseOptions::digits>},

        // Pronounceable passwords.
        {0, "pronounceable", Takes::kNothing, "",
         "syllables a person can say, 6 letters a group, one\n"
         "of them upper case and one a digit (rufmed-Kobnit-pa3zuv)",
         G::kPronounceable, V::kFlag, kKindSpoken, 0, 0, {}, Completion::kNothing, kNotSyllables,
         {{kNotSyllables, "pronounceable passwords are made of syllables"}}, {}, nullptr,
         [](const OptionValue&, CliOptions& o, OptionsGiven&) {
             o.settings.mode = GenerationMode::kPronounceable;
             return std::string();
         },
         [](const GenerationSettings& s) { return Flag(s.pronounceable()); }},
        {0, "groups", Takes::kNumber, "N", "groups of 6 letters, 1 to 8 (3)", G::kPronounceable, V::kNumber,
         kKindGroups, kFewestGroups, kMostGroups, {}, Completion::kNothing,
         kKindCharacters | kKindRule | kKindPassphrases | kKindLengths, {}, {"pronounceable"},
         "pronounceable passwords",
         [](const OptionValue& v, CliOptions& o, OptionsGiven&) {
             o.settings.groups = static_cast<int>(*v.number);
             return std::string();
         },
         [](const GenerationSettings& s) -> std::optional<std::string> {
             if (!s.pronounceable() || s.groups == kDefaultGroups) return std::nullopt;
             return std::to_string(s.groups);
         }},

        // Profiles.
        {0, "profile", Takes::kText, "NAME",
         "the options of this profile; options after it\n"
         "override those they contradict",
         G::kProfiles, V::kNotKept, kKindOther, 0, 0, {}, Completion::kProfiles, 0, {}, {}, nullptr, Nothing},
        {0, "list-profiles", Takes::kNothing, "",
         "the profiles, built-in and your own, one a line:\n"
         "the name, which kind, what it makes, its strength",
         G::kProfiles, V::kNotKept, kKindOther, 0, 0, {}, Completion::kNothing, 0, {}, {}, nullptr,
         SetCliFlag<&CliOptions::list_profiles>},
        {0, "save-profile", Takes::kText, "NAME",
         "keep the options given as this profile, and make\n"
         "nothing; a profile of that name is replaced",
         G::kProfiles, V::kNotKept, kKindOther, 0, 0, {}, Completion::kOwnProfiles, 0, {}, {}, nullptr,
         [](const OptionValue& v, CliOptions& o, OptionsGiven&) {
             o.save_profile = v.text;
             return std::string();
         }},
        {0, "delete-profile", Takes::kText, "NAME", "delete a profile of your own", G::kProfiles, V::kNotKept,
         kKindOther, 0, 0, {}, Completion::kOwnProfiles, 0, {}, {}, nullptr,
         [](const OptionValue& v, CliOptions& o, OptionsGiven&) {
             o.delete_profile = v.text;
             return std::string();
         }},

        {'h', "help", Takes::kNothing, "", "this text", G::kProgram, V::kNotKept, kKindOther, 0, 0, {},
         Completion::kNothing, 0, {}, {}, nullptr, SetCliFlag<&CliOptions::help>},
        {0, "version", Takes::kNothing, "", "the program's version", G::kProgram, V::kNotKept, kKindOther, 0, 0,
         {}, Completion::kNothing, 0, {}, {}, nullptr, SetCliFlag<&CliOptions::version>},
    };
}

bool SameInAnyCase(std::string_view typed, std::string_view known) {
    return typed.size() == known.size() &&
           std::equal(typed.begin(), typed.end(), known.begin(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

// Edits (a letter put in, left out, changed, or two swapped) from one word
// to the other.
size_t EditsBetween(std::string_view a, std::string_view b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i)
        for (size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

}  // namespace

std::span<const OptionEntry> OptionCatalogue() {
    static const std::vector<OptionEntry> catalogue = MakeCatalogue();
    return catalogue;
}

const OptionEntry* FindOption(std::string_view long_name) {
    for (const OptionEntry& o : OptionCatalogue())
        if (long_name == o.long_name) return &o;
    return nullptr;
}

const OptionEntry* FindShortOption(char short_name) {
    for (const OptionEntry& o : OptionCatalogue())
        if (o.short_name != 0 && short_name == o.short_name) return &o;
    return nullptr;
}

ProfileValue ProfileValueOf(std::string_view long_name) {
    const OptionEntry* o = FindOption(long_name);
    return o ? o->kept : ProfileValue::kNotKept;
}

std::string RangeMessage(const OptionEntry& entry) {
    const std::string name = std::string("--") + entry.long_name;
    if (entry.highest == std::numeric_limits<int64_t>::max()) return name + " must be a whole number";
    return name + " must be a whole number from " + std::to_string(entry.lowest) + " to " +
           std::to_string(entry.highest);
}

std::string ReadOptionValue(const OptionEntry& entry, OptionValue& value) {
    const std::string name = std::string("--") + entry.long_name;
    if (entry.takes != Takes::kNothing && !IsValidUtf8(value.text)) return "the value of " + name + " is not valid UTF-8";
    if (entry.takes == Takes::kNumber) {
        if (!value.number) value.number = WholeNumber(value.text);
        if (!value.number || *value.number < entry.lowest || *value.number > entry.highest) return RangeMessage(entry);
        if (value.text.empty()) value.text = std::to_string(*value.number);
    } else if (entry.takes == Takes::kChoice) {
        const auto it = std::find_if(entry.choices.begin(), entry.choices.end(),
                                     [&](const std::string& choice) { return SameInAnyCase(value.text, choice); });
        if (it == entry.choices.end()) {
            std::string names;
            for (size_t i = 0; i < entry.choices.size(); ++i)
                names += (i == 0 ? "" : i + 1 == entry.choices.size() ? " or " : ", ") + entry.choices[i];
            return name + " must be " + names + " (in any letter case)";
        }
        value.number = it - entry.choices.begin();
    }
    return {};
}

std::string NearestOption(std::string_view typed) {
    constexpr size_t kMostEdits = 2;
    const OptionEntry* nearest = nullptr;
    size_t fewest = kMostEdits + 1;
    for (const OptionEntry& o : OptionCatalogue())
        if (const size_t edits = EditsBetween(typed, o.long_name); edits < fewest) {
            fewest = edits;
            nearest = &o;
        }
    return nearest ? std::string(": did you mean --") + nearest->long_name + "?" : std::string();
}

bool OptionsGiven::Has(std::string_view name) const {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string OptionsGiven::FirstOfKinds(unsigned kinds, std::string_view besides) const {
    for (const std::string& name : names)
        if (const OptionEntry* o = FindOption(name); o && (o->kind & kinds) && name != besides) return name;
    return {};
}

std::string OptionsGiven::Named(std::string_view name) const {
    for (const auto& [option, profile] : by_profile)
        if (option == name) return "--" + option + " (profile " + profile + ")";
    return "--" + std::string(name);
}

namespace {

// The headings of the usage text's paragraphs; none for the first and last.
struct GroupText {
    OptionGroup group;
    const char* heading;
};
constexpr GroupText kGroups[] = {
    {OptionGroup::kMaking, nullptr},
    {OptionGroup::kProvisioning, "To scan, and to provision accounts:"},
    {OptionGroup::kSiteRules, "Site rules (the Password Rules language):"},
    {OptionGroup::kPassphrases, "Passphrases:"},
    {OptionGroup::kPronounceable, "Pronounceable passwords (--exclude-look-alikes and --other-out narrow them):"},
    {OptionGroup::kProfiles, "Profiles (kept in ~/.config/morvane/profiles.toml, shared with the window):"},
    {OptionGroup::kProgram, nullptr},
};

// Where an option's help begins, and the widest its names may be beside it.
constexpr size_t kHelpColumn = 25;

void AppendOptionHelp(std::string& usage, const OptionEntry& entry) {
    std::string names = entry.short_name ? std::string("  -") + entry.short_name + ", --" : std::string("      --");
    names += entry.long_name;
    if (*entry.value_name) {
        if (entry.takes != Takes::kOptionalValue) names += ' ';
        names += entry.value_name;
    }
    usage += names;
    if (names.size() + 2 > kHelpColumn) usage += "\n" + std::string(kHelpColumn, ' ');
    else usage += std::string(kHelpColumn - names.size(), ' ');
    for (const char* c = entry.help; *c; ++c) {
        usage += *c;
        if (*c == '\n') usage += std::string(kHelpColumn, ' ');
    }
    usage += '\n';
}

}  // namespace

std::string CliUsage() {
    std::string usage =
        "Usage: morvane-cli [OPTION]... [LENGTH [COUNT]]\n"
        "Makes random passwords with the rules of the Morvane Password Generator,\n"
        "one per line, drawn from the operating system's secure random source.\n"
        "Without options: 10 passwords of 20 characters from all 94 printable ones.\n";
    for (const GroupText& group : kGroups) {
        usage += "\n";
        if (group.heading) usage += std::string(group.heading) + "\n";
        for (const OptionEntry& entry : OptionCatalogue())
            if (entry.group == group.group) AppendOptionHelp(usage, entry);
    }
    usage +=
        "\n"
        "Strong passwords: morvane-cli -l 24 --exclude-look-alikes\n"
        "Five of 16 characters, as pwgen takes them: morvane-cli 16 5\n"
        "Strong passphrases: morvane-cli --passphrase --words 7\n"
        "A 6-digit PIN: morvane-cli --profile pin6 -n 1\n"
        "One to paste, gone in 45 seconds: morvane-cli -c --clear-after 45\n"
        "\n"
        "Exit status: 0 done; 1 a write or system error, or a copy the desktop did\n"
        "not take; 2 a usage error or a refused check.\n"
        "Full documentation: man morvane-cli\n";
    return usage;
}

std::string BashCompletion(const std::vector<std::string>& hash_methods) {
    const auto words = [](const std::vector<std::string>& list) {
        std::string joined;
        for (const std::string& word : list) joined += (joined.empty() ? "" : " ") + word;
        return joined;
    };
    const auto names_of = [](const OptionEntry& entry) {
        std::string names = entry.short_name ? std::string("-") + entry.short_name + " | " : std::string();
        return names + "--" + entry.long_name;
    };
    std::string script =
        "# bash completion for morvane-cli                          -*- shell-script -*-\n"
        "# Made by the build from the program's options.\n"
        "\n"
        "_morvane_cli() {\n"
        "    local cur prev\n"
        "    COMPREPLY=()\n"
        "    cur=\"${COMP_WORDS[COMP_CWORD]}\"\n"
        "    prev=\"${COMP_WORDS[COMP_CWORD-1]}\"\n"
        "    case \"$prev\" in\n";
    // The options that take a value, each offer once with all its options.
    std::vector<std::pair<std::string, std::string>> arms;  // offer, options
    std::vector<std::string> all;
    for (const OptionEntry& entry : OptionCatalogue()) {
        if (entry.short_name) all.push_back(std::string("-") + entry.short_name);
        all.push_back(std::string("--") + entry.long_name);
        for (const std::string& choice : entry.takes == Takes::kOptionalValue ? entry.choices : std::vector<std::string>{})
            all.push_back(std::string("--") + entry.long_name + "=" + choice);
        if (!TakesAValueAfterIt(entry)) continue;
        std::string offer;
        switch (entry.completion) {
            case Completion::kNothing: break;  // a number, the user's own characters or a rule
            case Completion::kChoices: offer = "compgen -W \"" + words(entry.choices) + "\""; break;
            case Completion::kHashMethods: offer = "compgen -W \"" + words(hash_methods) + "\""; break;
            case Completion::kFiles: offer = "compgen -f"; break;
            case Completion::kSites: offer = "compgen -W \"$(morvane-cli --list-sites 2>/dev/null)\""; break;
            case Completion::kProfiles:
                offer = "compgen -W \"$(morvane-cli --list-profiles 2>/dev/null | cut -f1)\"";
                break;
            case Completion::kOwnProfiles:  // a new name may be typed for saving
                offer = "compgen -W \"$(morvane-cli --list-profiles 2>/dev/null | awk -F '\\t' '$2 == \"own\" { print $1 }')\"";
                break;
        }
        const auto arm = std::find_if(arms.begin(), arms.end(), [&](const auto& a) { return a.first == offer; });
        if (arm == arms.end()) arms.emplace_back(offer, names_of(entry));
        else arm->second += " | " + names_of(entry);
    }
    for (const auto& [offer, names] : arms) {
        script += "        " + names + ")\n";
        if (!offer.empty()) script += "            COMPREPLY=($(" + offer + " -- \"$cur\"))\n";
        script += "            return\n            ;;\n";
    }
    script += "    esac\n    COMPREPLY=($(compgen -W \"" + words(all) + "\" -- \"$cur\"))\n}\n"
              "complete -F _morvane_cli morvane-cli\n";
    return script;
}

}  // namespace morvane
