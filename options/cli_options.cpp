#include "options/cli_options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

namespace morvane {

const char* const kCliUsage =
    "Usage: morvane-cli [OPTION]... [LENGTH [COUNT]]\n"
    "Makes random passwords with the rules of the Morvane Password Generator,\n"
    "one per line, drawn from the operating system's secure random source.\n"
    "\n"
    "  -n, --count N          how many passwords (10)\n"
    "  -l, --length N         every password N characters long (4 to 128)\n"
    "      --min N            shortest length (6); moves --max up if needed\n"
    "      --max N            longest length (8); moves --min down if needed\n"
    "      --fixed            every password has --max characters\n"
    "      --no-upper         no upper-case letters\n"
    "      --no-lower         no lower-case letters\n"
    "      --no-numbers       no digits\n"
    "      --no-special       no special characters\n"
    "      --other-in TEXT    also these characters (separated by blanks)\n"
    "      --spaces           let the blank in\n"
    "      --exclude-look-alikes\n"
    "                         leave out 1 I | l 0 o O ` ' B 8\n"
    "      --other-out TEXT   leave out these characters\n"
    "      --unique           no password twice in this run\n"
    "      --format FORMAT    text (the default), html (the HTML document),\n"
    "                         ndjson: one JSON object a line with \"password\",\n"
    "                         \"length\" and \"bits\", or json: one array of them\n"
    "                         (at most 100000)\n"
    "      --html             the same as --format html\n"
    "      --crlf             end lines with CR LF instead of LF\n"
    "  -0, --null             end each password with a NUL character\n"
    "      --each-type        every password holds one of each chosen type\n"
    "      --show-strength    write the strength line to standard error\n"
    "  -c, --copy             put the first password on the clipboard instead of\n"
    "                         writing it (one password unless -n is given),\n"
    "                         marked secret for clipboard managers\n"
    "      --clear-after SECONDS\n"
    "                         clear the copy after this long, only while the\n"
    "                         clipboard still holds it; 0: never (the window's\n"
    "                         setting, else 30)\n"
    "\n"
    "To scan, and to provision accounts:\n"
    "      --qr[=force]       the first password as a QR code on the terminal,\n"
    "                         the password itself not written; =force: also\n"
    "                         where standard output is no terminal\n"
    "      --qr-text          also write the password under its code\n"
    "      --qr-wifi NETWORK  the code joins this Wi-Fi network (WPA) with the\n"
    "                         password as its key\n"
    "      --hash METHOD      beside each password, a tab and its hash for the\n"
    "                         system's login: yescrypt, sha512crypt, sha256crypt\n"
    "                         or bcrypt (72 bytes of password at most)\n"
    "      --hash-cost N      the method's cost (bcrypt 4 to 31, default 12;\n"
    "                         yescrypt 1 to 11; SHA rounds 1000 to 999999999)\n"
    "      --for-users FILE   one password per user named in FILE (one a line;\n"
    "                         - reads standard input): user:hash lines, for\n"
    "                         chpasswd -e, or htpasswd with --hash bcrypt\n"
    "      --passwords-to FILE\n"
    "                         with --for-users: user:password lines into this\n"
    "                         new file (0600, never over a file or a link)\n"
    "\n"
    "Site rules (the Password Rules language):\n"
    "      --rules TEXT       passwords that keep this rule, for example\n"
    "                         \"minlength: 8; required: digit; allowed: lower\"\n"
    "      --site SITE        the rule of this site, by domain or URL; the\n"
    "                         sites' table is Apple's password-manager-resources\n"
    "                         (MIT), and ~/.config/morvane/password-rules.json\n"
    "                         adds sites of your own\n"
    "      --list-sites       the sites whose rules are known, one a line\n"
    "                         Passwords are 20 long, brought into the rule's\n"
    "                         range; -l, --min and --max choose within it.\n"
    "\n"
    "Passphrases:\n"
    "      --passphrase       words instead of characters\n"
    "      --words N          words in each passphrase, 1 to 64 (6)\n"
    "      --wordlist FILE    a word list of your own, one word a line (at least\n"
    "                         1024 words; - reads standard input); the built-in\n"
    "                         one is the EFF Large Wordlist (CC BY 3.0,\n"
    "                         Electronic Frontier Foundation)\n"
    "      --separator TEXT   what stands between the words (-)\n"
    "      --case CASE        lower, title, upper or random (one per word), in\n"
    "                         any letter case\n"
    "      --digits N         random digits among the words, 0 to 64 (0)\n"
    "\n"
    "Profiles (kept in ~/.config/morvane/profiles.toml, shared with the window):\n"
    "      --profile NAME     the options of this profile; options after it\n"
    "                         override those they contradict\n"
    "      --list-profiles    the profiles, built-in and your own, one a line:\n"
    "                         the name, which kind, what it makes, its strength\n"
    "      --save-profile NAME\n"
    "                         keep the options given as this profile, and make\n"
    "                         nothing; a profile of that name is replaced\n"
    "      --delete-profile NAME\n"
    "                         delete a profile of your own\n"
    "\n"
    "  -h, --help             this text\n"
    "      --version          the program's version\n"
    "\n"
    "Strong passwords: morvane-cli -l 20 --exclude-look-alikes\n"
    "Five of 16 characters, as pwgen takes them: morvane-cli 16 5\n"
    "Strong passphrases: morvane-cli --passphrase --words 7\n"
    "A 6-digit PIN: morvane-cli --profile pin6 -n 1\n"
    "One to paste, gone in 45 seconds: morvane-cli -c -l 20 --clear-after 45\n"
    "\n"
    "Exit status: 0 done; 1 a write or system error, or a copy the desktop did\n"
    "not take; 2 a usage error or a refused check.\n"
    "Full documentation: man morvane-cli\n";

namespace {

// A whole number and nothing else: no sign but a leading +, no point, no
// exponent, no blanks; none when it is not one or does not fit 64 bits.
std::optional<int64_t> WholeNumber(const std::string& text) {
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    if (digits.empty() || digits.front() < '0' || digits.front() > '9') return std::nullopt;
    int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

std::string RangeMessage(const std::string& option, int64_t lowest, int64_t highest) {
    return option + " must be a whole number from " + std::to_string(lowest) + " to " +
           std::to_string(highest);
}

enum class Takes { kNothing, kValue, kOptionalValue };  // an optional value only as --name=value

struct OptionSpec {
    char short_name;  // 0: long only
    const char* long_name;
    Takes takes;
    ProfileValue kept = ProfileValue::kNotKept;
};

constexpr ProfileValue kFlag = ProfileValue::kFlag, kNumber = ProfileValue::kNumber, kText = ProfileValue::kText;

constexpr OptionSpec kOptions[] = {
    {'n', "count", Takes::kValue, kNumber},
    {'l', "length", Takes::kValue, kNumber},
    {0, "min", Takes::kValue, kNumber},
    {0, "max", Takes::kValue, kNumber},
    {0, "fixed", Takes::kNothing, kFlag},
    {0, "no-upper", Takes::kNothing, kFlag},
    {0, "no-lower", Takes::kNothing, kFlag},
    {0, "no-numbers", Takes::kNothing, kFlag},
    {0, "no-special", Takes::kNothing, kFlag},
    {0, "other-in", Takes::kValue, kText},
    {0, "spaces", Takes::kNothing, kFlag},
    {0, "exclude-look-alikes", Takes::kNothing, kFlag},
    {0, "other-out", Takes::kValue, kText},
    {0, "unique", Takes::kNothing, kFlag},
    {0, "format", Takes::kValue, kText},
    {0, "html", Takes::kNothing},
    {0, "crlf", Takes::kNothing},
    {'0', "null", Takes::kNothing},
    {'h', "help", Takes::kNothing},
    {0, "version", Takes::kNothing},
    {0, "passphrase", Takes::kNothing, kFlag},
    {0, "words", Takes::kValue, kNumber},
    {0, "wordlist", Takes::kValue, kText},
    {0, "separator", Takes::kValue, kText},
    {0, "case", Takes::kValue, kText},
    {0, "digits", Takes::kValue, kNumber},
    {0, "each-type", Takes::kNothing, kFlag},
    {0, "show-strength", Takes::kNothing},
    {'c', "copy", Takes::kNothing},
    {0, "clear-after", Takes::kValue},
    {0, "qr", Takes::kOptionalValue},
    {0, "qr-text", Takes::kNothing},
    {0, "qr-wifi", Takes::kValue},
    {0, "hash", Takes::kValue},
    {0, "hash-cost", Takes::kValue},
    {0, "for-users", Takes::kValue},
    {0, "passwords-to", Takes::kValue},
    {0, "rules", Takes::kValue, kText},
    {0, "site", Takes::kValue, kText},
    {0, "list-sites", Takes::kNothing},
    {0, "profile", Takes::kValue},
    {0, "list-profiles", Takes::kNothing},
    {0, "save-profile", Takes::kValue},
    {0, "delete-profile", Takes::kValue},
};

const OptionSpec* FindLong(std::string_view name) {
    for (const OptionSpec& o : kOptions)
        if (name == o.long_name) return &o;
    return nullptr;
}

const OptionSpec* FindShort(char name) {
    for (const OptionSpec& o : kOptions)
        if (o.short_name != 0 && name == o.short_name) return &o;
    return nullptr;
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
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

// ": did you mean --length?" for the one option nearest a mistyped name,
// within two edits; else nothing.
std::string NearestOption(std::string_view typed) {
    constexpr size_t kMostEdits = 2;
    const OptionSpec* nearest = nullptr;
    size_t fewest = kMostEdits + 1;
    for (const OptionSpec& o : kOptions)
        if (const size_t edits = EditsBetween(typed, o.long_name); edits < fewest) {
            fewest = edits;
            nearest = &o;
        }
    return nearest ? std::string(": did you mean --") + nearest->long_name + "?" : std::string();
}

bool IsOneOf(std::string_view name, std::initializer_list<const char*> these) {
    return std::any_of(these.begin(), these.end(), [&](const char* n) { return name == n; });
}

// The options that choose what kind of output is made, and what each
// chooses; and the lengths, which --length gives otherwise than the bounds.
const std::initializer_list<const char*> kPassphraseOptions = {"words", "separator", "case", "digits", "wordlist"};
const std::initializer_list<const char*> kCharacterChoices = {"each-type", "no-upper", "no-lower",
                                                              "no-numbers", "no-special", "other-in"};
const std::initializer_list<const char*> kNarrowing = {"spaces", "exclude-look-alikes", "other-out"};
const std::initializer_list<const char*> kLengths = {"length", "min", "max", "fixed"};
const std::initializer_list<const char*> kRuleGivers = {"rules", "site"};

// Whether an option given later overrides an earlier one from elsewhere (a
// profile, or the command line before it): the same option, or one it
// cannot stand with.
bool Overrides(std::string_view later, std::string_view earlier) {
    if (later == earlier) return true;
    if (later == "length" && IsOneOf(earlier, {"min", "max"})) return true;
    if (IsOneOf(later, {"min", "max"}) && earlier == "length") return true;
    if (later == "html" || later == "format") return IsOneOf(earlier, {"html", "format"});
    if (later == "null" || later == "crlf") return IsOneOf(earlier, {"null", "crlf"});
    const bool earlier_passphrase = earlier == "passphrase" || IsOneOf(earlier, kPassphraseOptions);
    if (later == "passphrase")
        return IsOneOf(earlier, kCharacterChoices) || IsOneOf(earlier, kNarrowing) || IsOneOf(earlier, kLengths) ||
               IsOneOf(earlier, kRuleGivers);
    if (IsOneOf(later, kRuleGivers))  // a rule has its own lengths
        return earlier_passphrase || IsOneOf(earlier, kCharacterChoices) || IsOneOf(earlier, kRuleGivers) ||
               IsOneOf(earlier, kLengths);
    if (IsOneOf(later, kCharacterChoices)) return earlier_passphrase || IsOneOf(earlier, kRuleGivers);
    if (IsOneOf(later, kLengths)) return earlier_passphrase;
    return false;
}

}  // namespace

ProfileValue ProfileValueOf(std::string_view long_name) {
    const OptionSpec* o = FindLong(long_name);
    return o ? o->kept : ProfileValue::kNotKept;
}

namespace {

// What the options said, before the lengths are settled and the options
// are weighed against each other.
struct Given {
    std::optional<int64_t> min, max, length;
    std::string format;                 // the value of --format
    std::vector<std::string> names;     // each option given, by its long name, once
    // The profile an option was given by, beside its name.
    std::vector<std::pair<std::string, std::string>> by_profile;
    bool Has(std::string_view name) const { return std::find(names.begin(), names.end(), name) != names.end(); }
    // The first given of these, or none.
    std::string FirstOf(std::initializer_list<const char*> these) const {
        for (const std::string& name : names)
            for (const char* n : these)
                if (name == n) return name;
        return {};
    }
    // The option as a message names it: "--length", or "--length (profile
    // strong)" when a profile gave it.
    std::string Named(std::string_view name) const {
        for (const auto& [option, profile] : by_profile)
            if (option == name) return "--" + option + " (profile " + profile + ")";
        return "--" + std::string(name);
    }
};

// Applies one option with its value; returns what is wrong with it.
std::string Apply(const OptionSpec& o, const std::string& value, CliOptions& options, Given& given) {
    const std::string name = std::string("--") + o.long_name;
    const std::string_view n = o.long_name;
    if (!given.Has(n)) given.names.emplace_back(n);
    if (o.takes == Takes::kValue && !IsValidUtf8(value)) return "the value of " + name + " is not valid UTF-8";
    if (n == "count") {
        auto v = WholeNumber(value);
        if (!v || *v < 1 || *v > std::numeric_limits<int32_t>::max())
            return RangeMessage(name, 1, std::numeric_limits<int32_t>::max());
        options.settings.count = static_cast<int32_t>(*v);
    } else if (n == "length" || n == "min" || n == "max") {
        auto v = WholeNumber(value);
        if (!v || *v < kShortestLength || *v > kLongestLength)
            return RangeMessage(name, kShortestLength, kLongestLength);
        (n == "length" ? given.length : n == "min" ? given.min : given.max) = *v;
    } else if (n == "words" || n == "digits") {
        const bool words = n == "words";
        const int lowest = words ? kFewestPassphraseWords : 0;
        const int highest = words ? kMostPassphraseWords : kMostPassphraseDigits;
        auto v = WholeNumber(value);
        if (!v || *v < lowest || *v > highest) return RangeMessage(name, lowest, highest);
        (words ? options.settings.passphrase.words : options.settings.passphrase.digits) = static_cast<int>(*v);
    } else if (n == "case") {
        const std::pair<const char*, WordCase> cases[] = {{"lower", WordCase::kLower},
                                                          {"title", WordCase::kTitle},
                                                          {"upper", WordCase::kUpper},
                                                          {"random", WordCase::kRandom}};
        // The window's names (Title, UPPER, rAnDoM) are taken in any letter case.
        const auto same = [&](std::string_view known) {
            return value.size() == known.size() &&
                   std::equal(value.begin(), value.end(), known.begin(),
                              [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
        };
        const auto it = std::find_if(std::begin(cases), std::end(cases), [&](auto& c) { return same(c.first); });
        if (it == std::end(cases)) return name + " must be lower, title, upper or random (in any letter case)";
        options.settings.passphrase.word_case = it->second;
    } else if (n == "separator") {
        options.settings.passphrase.separator = FromUtf8(value);
    } else if (n == "wordlist") {
        options.settings.word_list_file = value;
    } else if (n == "format") {
        const OutputFormatEntry* format = FindFormat(value);
        if (!format) return name + " must be " + FormatNames();
        options.format = format->format;
        given.format = value;
    } else if (n == "other-in") {
        options.settings.other_in = true;
        options.settings.other_in_text = FromUtf8(value);
    } else if (n == "other-out") {
        options.settings.other_out = true;
        options.settings.other_out_text = FromUtf8(value);
    } else if (n == "fixed") options.settings.variable_length = false;
    else if (n == "no-upper") options.settings.upper = false;
    else if (n == "no-lower") options.settings.lower = false;
    else if (n == "no-numbers") options.settings.numbers = false;
    else if (n == "no-special") options.settings.special = false;
    else if (n == "spaces") options.settings.spaces = true;
    else if (n == "exclude-look-alikes") options.settings.look_alikes_out = true;
    else if (n == "unique") options.settings.unique = true;
    else if (n == "html") options.format = OutputFormat::kHtml;
    else if (n == "crlf") options.crlf = true;
    else if (n == "null") options.null_terminated = true;
    else if (n == "help") options.help = true;
    else if (n == "version") options.version = true;
    else if (n == "passphrase") options.settings.mode = GenerationMode::kPassphrase;
    else if (n == "show-strength") options.show_strength = true;
    else if (n == "copy") options.copy = true;
    else if (n == "clear-after") {
        auto v = WholeNumber(value);
        if (!v || *v < 0 || *v > kMostClearAfterSeconds) return RangeMessage(name, 0, kMostClearAfterSeconds);
        options.clear_after = static_cast<int>(*v);
    }
    else if (n == "qr") {
        if (!value.empty() && value != "force") return "--qr takes no value but =force";
        options.qr = value.empty() ? CliOptions::QrDrawing::kOnTerminal : CliOptions::QrDrawing::kForced;
    } else if (n == "qr-text") options.qr_text = true;
    else if (n == "qr-wifi") {
        if (value.empty()) return "--qr-wifi needs the network's name";
        options.qr_wifi = value;
    } else if (n == "hash") {
        options.hash = value;  // the methods are morvane-cli's, which checks the name
    } else if (n == "hash-cost") {
        auto v = WholeNumber(value);
        if (!v) return "--hash-cost must be a whole number";
        options.hash_cost = *v;
    } else if (n == "for-users" || n == "passwords-to") {
        if (value.empty()) return name + " needs a file's name";
        (n == "for-users" ? options.for_users : options.passwords_to) = value;
    }
    else if (n == "list-sites") options.list_sites = true;
    else if (n == "rules") {
        options.settings.mode = GenerationMode::kSiteRules;
        options.settings.rules = value;
    } else if (n == "site") {
        if (value.empty()) return "--site needs a site's domain or address";
        options.site = value;
    } else if (n == "list-profiles") {
        options.list_profiles = true;
    } else if (n == "save-profile" || n == "delete-profile") {
        (n == "save-profile" ? options.save_profile : options.delete_profile) = value;
    }
    return {};
}

// The lengths from what was given: --length fixes both; --min or --max
// alone moves the other bound when it would cross it.
std::string SettleLengths(const Given& given, GenerationSettings& settings) {
    settings.length_given = given.length || given.min || given.max;
    if (given.length) {
        if (given.min || given.max) return "--length cannot be given with --min or --max";
        settings.min_length = settings.max_length = static_cast<int>(*given.length);
        settings.variable_length = false;
        return {};
    }
    if (given.min) settings.min_length = static_cast<int>(*given.min);
    if (given.max) settings.max_length = static_cast<int>(*given.max);
    if (settings.min_length > settings.max_length) {
        if (given.min && given.max) return "--min must not be greater than --max";
        if (given.min) settings.max_length = settings.min_length;
        else settings.min_length = settings.max_length;
    }
    if (!settings.variable_length) settings.min_length = settings.max_length;
    return {};
}

// What a site's rule decides, and the options that say otherwise.
const std::initializer_list<const char*> kDecidedByARule = {"passphrase", "each-type", "no-upper", "no-lower",
                                                            "no-numbers", "no-special", "other-in"};

// What the QR code, the hashes and a list of users ask of each other and
// of the output.
std::string OutputConflict(const Given& given) {
    const bool qr = given.Has("qr") || given.Has("qr-wifi");
    if (given.Has("qr-text") && !qr) return "--qr-text applies only to --qr: give it with --qr";
    if (given.Has("hash-cost") && !given.Has("hash")) return "--hash-cost applies only to --hash: give it with --hash";
    if (given.Has("passwords-to") && !given.Has("for-users"))
        return "--passwords-to applies only to --for-users: give it with --for-users";
    if (given.Has("for-users") && !given.Has("passwords-to"))
        return "--for-users needs --passwords-to FILE: the passwords would otherwise be lost";
    const std::string output = given.Has("format") && given.format != "text" ? "format" : given.Has("html") ? "html" : "";
    for (const char* kind : {"qr", "qr-wifi", "for-users"}) {
        if (!given.Has(kind)) continue;
        for (const char* other : {"copy", "count", "crlf", "null", "qr", "qr-wifi", "for-users", "hash"}) {
            if (other == std::string_view(kind) || !given.Has(other)) continue;
            if (std::string_view(kind).starts_with("qr") && std::string_view(other).starts_with("qr")) continue;
            // A profile's count gives way: one password is drawn.
            if (std::string_view(other) == "count" && given.Named(other) != "--count") continue;
            if (std::string_view(kind) == "for-users" && std::string_view(other) == "hash") continue;
            return "--" + std::string(kind) + " cannot be given with " + given.Named(other);
        }
        if (!output.empty()) return "--" + std::string(kind) + " cannot be given with " + given.Named(output);
    }
    if (given.Has("hash") && !output.empty() && given.format != "ndjson")
        return "--hash cannot be given with " + given.Named(output) + ": the hash goes in text or ndjson";
    if (given.Has("hash") && given.Has("copy")) return "--hash cannot be given with --copy: the copy is the password alone";
    return {};
}

// Options that make sense only with another, or not with it: the first
// pair met, named in one line.
std::string Conflict(const Given& given, int64_t options_count) {
    const bool passphrase = given.Has("passphrase");
    if (!passphrase) {
        if (std::string alone = given.FirstOf(kPassphraseOptions); !alone.empty())
            return given.Named(alone) + " applies only to passphrases: give it with --passphrase";
    } else if (std::string other = given.FirstOf({"length", "min", "max", "fixed", "each-type", "no-upper", "no-lower",
                                                "no-numbers", "no-special", "other-in", "spaces",
                                                "exclude-look-alikes", "other-out"});
               !other.empty()) {
        return given.Named("passphrase") + " cannot be given with " + given.Named(other) +
               ": passphrases are made of words, not characters";
    }
    // A site's rule is looked up later: what it decides is weighed then,
    // since for a site not known the other options stand.
    if (given.Has("rules")) {
        if (std::string other = given.FirstOf(kDecidedByARule); !other.empty())
            return given.Named("rules") + " cannot be given with " + given.Named(other) +
                   ": the rule decides which characters a password holds";
        if (given.Has("site")) return given.Named("rules") + " cannot be given with " + given.Named("site") +
                                      ": each gives a rule";
    }
    if (given.Has("clear-after") && !given.Has("copy")) return "--clear-after applies only to --copy: give it with --copy";
    if (given.Has("copy") && given.Has("html")) return "--copy cannot be given with --html: the copy is plain text";
    if (given.Has("copy") && given.Has("format") && given.format != "text")
        return "--copy cannot be given with " + given.Named("format") + " " + given.format + ": the copy is plain text";
    if (std::string problem = OutputConflict(given); !problem.empty()) return problem;
    if (given.format == "json") {
        if (given.Has("null")) return "--null cannot be given with " + given.Named("format") + " json: a NUL is no part of JSON";
        if (given.Has("count") && options_count > kMostInJsonDocument)
            return "--format json holds at most " + std::to_string(kMostInJsonDocument) +
                   " passwords, one document read whole: give --format ndjson for more";
    }
    if (given.Has("null") && given.Has("crlf")) return "--null cannot be given with --crlf: each ends a line its own way";
    if (given.Has("html") && given.Has("format") && given.format != "html")
        return "--html cannot be given with " + given.Named("format") + " " + given.format +
               ": they name different formats";
    // What is done with profiles is done alone, and a profile keeps only
    // what is made.
    const std::string action = given.FirstOf({"save-profile", "delete-profile", "list-profiles"});
    if (action == "save-profile") {
        if (std::string other = given.FirstOf({"delete-profile", "list-profiles", "list-sites", "crlf", "null",
                                               "show-strength", "copy", "clear-after", "qr", "qr-text", "qr-wifi", "hash",
                                               "hash-cost", "for-users", "passwords-to"});
            !other.empty())
            return "--save-profile cannot be given with --" + other + ": a profile keeps only what is made";
    } else if (!action.empty()) {
        for (const std::string& other : given.names)
            if (other != action) return "--" + action + " cannot be given with " + given.Named(other) + ": it is done alone";
    }
    return {};
}

// One option as it was given: what it is, its value, and where it came
// from (0: the command line; else which profile, counting from 1).
struct GivenOption {
    const OptionSpec* spec;
    std::string value;
    int source;
    int line = 0;  // of the profiles file
};

// A profile's options, given from `source`; what is not an option a profile
// keeps is refused.
std::string TakeProfile(const ProfileOptions& profile, int source, std::vector<GivenOption>& all) {
    for (const ProfileOption& option : profile) {
        const OptionSpec* spec = FindLong(option.name);
        if (!spec || spec->kept == ProfileValue::kNotKept)
            return "\"" + option.name + "\" is not an option of a profile";
        all.push_back({spec, option.value, source, option.line});
    }
    return {};
}

// The options given, of the command line and profiles, read into `options`:
// each overridden one left out, the others applied in their order, and
// then weighed against each other.
std::string ApplyAll(const std::vector<GivenOption>& all, const std::vector<std::string>& profiles,
                     CliOptions& options, int* line_of_problem = nullptr) {
    Given given;
    const std::string_view name_of_profile = "profile";
    for (size_t i = 0; i < all.size(); ++i) {
        const GivenOption& option = all[i];
        const bool overridden = std::any_of(all.begin() + static_cast<std::ptrdiff_t>(i) + 1, all.end(),
                                            [&](const GivenOption& later) {
                                                // A later profile stands whole in an earlier one's place.
                                                if (later.source > 0 && option.source > 0)
                                                    return later.source != option.source;
                                                return later.source != option.source &&
                                                       Overrides(later.spec->long_name, option.spec->long_name);
                                            });
        if (overridden || option.spec->long_name == name_of_profile) continue;
        if (option.source > 0)
            given.by_profile.emplace_back(option.spec->long_name, profiles[static_cast<size_t>(option.source - 1)]);
        if (std::string error = Apply(*option.spec, option.value, options, given); !error.empty()) {
            if (line_of_problem) *line_of_problem = option.line;
            if (option.source > 0)
                return "profile " + profiles[static_cast<size_t>(option.source - 1)] + ": " + error;
            return error;
        }
        // A profile keeps each option once, as it was last given.
        const bool html = option.spec->long_name == std::string_view("html");
        if (option.spec->kept != ProfileValue::kNotKept || html) {
            ProfileOption kept = html ? ProfileOption{"format", "html"} : ProfileOption{option.spec->long_name, option.value};
            std::erase_if(options.kept, [&](const ProfileOption& k) { return k.name == kept.name; });
            options.kept.push_back(std::move(kept));
        }
    }
    if (std::string conflict = Conflict(given, options.settings.count); !conflict.empty()) return conflict;
    if (given.Has("each-type")) options.settings.mode = GenerationMode::kEachType;
    if ((given.Has("copy") && !given.Has("count")) || given.Has("qr") || given.Has("qr-wifi"))
        options.settings.count = 1;
    if (given.Has("qr-wifi") && !given.Has("qr")) options.qr = CliOptions::QrDrawing::kOnTerminal;
    if (given.Has("for-users") && options.hash.empty()) options.hash = "yescrypt";
    if (std::string decided = given.FirstOf(kDecidedByARule); !decided.empty())
        options.decided_by_a_rule = given.Named(decided);
    for (const char* exclusion : {"exclude-look-alikes", "other-out"}) {
        if (!given.Has(exclusion)) continue;
        if (!options.exclusions_given.empty()) options.exclusions_given += " and ";
        options.exclusions_given += given.Named(exclusion);
    }
    return SettleLengths(given, options.settings);
}

}  // namespace

std::string ParseCliOptions(const std::vector<std::string>& args, CliOptions& options, const ProfileFinder& profiles) {
    options = CliOptions{};
    std::vector<GivenOption> all;
    const auto take = [&](const OptionSpec& o, std::string value) -> std::string {
        all.push_back({&o, value, 0});
        if (o.long_name != std::string_view("profile")) return {};
        std::string problem;
        std::optional<ProfileOptions> found;
        if (profiles) found = profiles(value, problem);
        if (!found) return problem.empty() ? "no profile is named " + value : problem;
        options.profiles_used.push_back(value);
        const int source = static_cast<int>(options.profiles_used.size());
        if (std::string error = TakeProfile(*found, source, all); !error.empty()) return "profile " + value + ": " + error;
        return {};
    };
    int positional = 0;  // numbers given without an option
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string error;
        if (a.rfind("--", 0) == 0 && a.size() > 2) {
            const size_t equals = a.find('=');
            const std::string name = a.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
            const OptionSpec* o = FindLong(name);
            if (!o) return "unknown option --" + name + NearestOption(name);
            std::string value;
            if (equals != std::string::npos) {
                if (o->takes == Takes::kNothing) return "option --" + name + " takes no value";
                if (o->takes == Takes::kOptionalValue && a.size() == equals + 1)
                    return "option --" + name + "= needs its value after the =";
                value = a.substr(equals + 1);
            } else if (o->takes == Takes::kValue) {
                if (i + 1 >= args.size()) return "option --" + name + " needs a value";
                value = args[++i];
            }
            error = take(*o, value);
        } else if (a.size() > 1 && a[0] == '-') {
            // Bundled short options; one that takes a value takes the rest
            // of the word, or else the next argument.
            for (size_t k = 1; k < a.size() && error.empty(); ++k) {
                const OptionSpec* o = FindShort(a[k]);
                if (!o) return std::string("unknown option -") + a[k];
                std::string value;
                if (o->takes == Takes::kValue) {
                    if (k + 1 < a.size()) value = a.substr(k + 1);
                    else if (i + 1 < args.size()) value = args[++i];
                    else return std::string("option -") + a[k] + " needs a value";
                    k = a.size();
                }
                error = take(*o, value);
            }
        } else if (WholeNumber(a) && positional < 2) {
            // As pwgen reads it: a number alone is the length, a second the count.
            error = take(*FindLong(positional++ == 0 ? "length" : "count"), a);
        } else {
            return "unexpected argument '" + a + "'" +
                   (WholeNumber(a) ? ": the length and the count are given already" : "");
        }
        if (!error.empty()) return error;
    }
    return ApplyAll(all, options.profiles_used, options);
}

std::string ParseProfileOptions(const ProfileOptions& profile, CliOptions& options, int* line_of_problem) {
    options = CliOptions{};
    std::vector<GivenOption> all;
    if (std::string error = TakeProfile(profile, 0, all); !error.empty()) return error;
    return ApplyAll(all, {}, options, line_of_problem);
}

}  // namespace morvane
