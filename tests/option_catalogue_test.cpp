// Each option of the catalogue, as every reader of it shows it: the help,
// the manual page, the shell's completion, a profile's round trip, and the
// refusals of a value out of range and of an option without what it needs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <limits>
#include <memory>
#include <regex>
#include <set>

#include "options/cli_options.h"
#include "options/option_catalogue.h"
#include "options/profile_file.h"

using namespace morvane;

namespace {

std::string FileText(const char* path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// What bash offers after the words typed, with the completion the build made.
std::string Offered(const std::string& typed) {
    const std::string command = "bash -c 'source " MORVANE_COMPLETION "; COMP_WORDS=(morvane-cli " + typed +
                                "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _morvane_cli; echo \"${COMPREPLY[*]}\"'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(("timeout 20 " + command).c_str(), "r"), pclose);
    std::string out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) out.append(buffer, n);
    return out.substr(0, out.find('\n'));
}

// A value each option takes; the catalogue's lowest for a number, its first
// choice for a choice.
std::string ValueFor(const OptionEntry& entry) {
    static const std::pair<const char*, const char*> kTexts[] = {
        {"format", "ndjson"}, {"hash", "bcrypt"},        {"site", "example.com"}, {"rules", "minlength: 8"},
        {"other-in", "é ß"},  {"other-out", "a b"},      {"separator", "+"},      {"wordlist", "words.txt"},
        {"qr", "force"},      {"qr-wifi", "home"},       {"for-users", "users"},  {"passwords-to", "new"},
        {"profile", ""},      {"save-profile", "mine"},  {"delete-profile", "mine"}, {"separators", "!#%"},
    };
    if (entry.takes == Takes::kNumber) return std::to_string(entry.lowest);
    if (entry.takes == Takes::kChoice) return entry.choices.front();
    for (const auto& [name, text] : kTexts)
        if (entry.long_name == std::string_view(name)) return text;
    return {};
}

// The option with its value and what it needs, as a command line.
std::vector<std::string> Given(const OptionEntry& entry);
std::vector<std::string> Given(const OptionEntry& entry) {
    std::vector<std::string> args;
    if (!entry.needs.empty()) args = Given(*FindOption(entry.needs.front()));
    if (entry.long_name == std::string_view("for-users")) args.insert(args.end(), {"--passwords-to", "new"});
    const std::string value = ValueFor(entry);
    if (entry.takes == Takes::kOptionalValue) args.push_back(std::string("--") + entry.long_name + (value.empty() ? "" : "=" + value));
    else args.push_back(std::string("--") + entry.long_name);
    if (TakesAValueAfterIt(entry)) args.push_back(value);
    return args;
}

}  // namespace

TEST(OptionCatalogue, EachOptionIsInTheHelpTheManualPageAndTheCompletionAndNothingElseIs) {
    const std::string usage = CliUsage();
    std::string page = FileText(MORVANE_CLI_MAN_PAGE);
    for (size_t at; (at = page.find("\\-")) != std::string::npos;) page.replace(at, 2, "-");
    std::set<std::string> in_page;
    // Options of morvane-cli: not of another program named on the line, nor a mistyped one.
    const std::regex option_name("(^|[^a-z] )--([a-z][a-z0-9-]*[a-z0-9])(?!: did you mean)");
    for (std::sregex_iterator it(page.begin(), page.end(), option_name), end; it != end; ++it) in_page.insert((*it)[2]);
    std::set<std::string> catalogued;
    for (const OptionEntry& entry : OptionCatalogue()) {
        SCOPED_TRACE(entry.long_name);
        catalogued.insert(entry.long_name);
        const std::string first_help_line = std::string(entry.help).substr(0, std::string(entry.help).find('\n'));
        EXPECT_NE(usage.find(std::string("--") + entry.long_name), std::string::npos);
        EXPECT_NE(usage.find(first_help_line), std::string::npos);
        if (entry.short_name)
            EXPECT_NE(usage.find(std::string("-") + entry.short_name + ", --" + entry.long_name), std::string::npos);
        // A number's range, as the manual page's entry gives it.
        const size_t described = page.find("--" + std::string(entry.long_name) + (entry.takes == Takes::kNothing ? "\n" : " "));
        ASSERT_NE(described, std::string::npos) << "no entry in the manual page";
        std::string description = page.substr(described, page.find(".TP", described) - described);
        std::replace(description.begin(), description.end(), '\n', ' ');
        if (entry.takes == Takes::kNumber && entry.highest < std::numeric_limits<int64_t>::max())
            EXPECT_NE(description.find(std::to_string(entry.lowest) + " to " + std::to_string(entry.highest)), std::string::npos)
                << description;
        EXPECT_NE(Offered(std::string("--") + entry.long_name).find(std::string("--") + entry.long_name), std::string::npos);
        for (const std::string& choice : entry.completion == Completion::kChoices ? entry.choices : std::vector<std::string>{})
            EXPECT_NE(Offered(std::string("--") + entry.long_name + " \"\"").find(choice), std::string::npos) << choice;
    }
    // The manual page names what the program has, and the program nothing the page leaves out.
    for (const std::string& name : in_page) EXPECT_TRUE(catalogued.count(name)) << "--" << name << " is in the manual page only";
    for (const std::string& name : catalogued) EXPECT_TRUE(in_page.count(name)) << "--" << name << " is not in the manual page";
    EXPECT_EQ(Offered("--hash \"\""), "yescrypt sha512crypt sha256crypt bcrypt");
}

TEST(OptionCatalogue, EachOptionIsTakenRefusedOutOfRangeAndWithoutWhatItNeedsAndKeptByAProfile) {
    for (const OptionEntry& entry : OptionCatalogue()) {
        SCOPED_TRACE(entry.long_name);
        if (entry.long_name == std::string_view("profile")) continue;  // tried by the profiles' own tests
        CliOptions options;
        const std::vector<std::string> args = Given(entry);
        EXPECT_EQ(ParseCliOptions(args, options), "");
        const std::string name = std::string("--") + entry.long_name;
        if (entry.takes == Takes::kNumber) {
            for (int64_t outside : {entry.lowest - 1, entry.highest == std::numeric_limits<int64_t>::max() ? -1 : entry.highest + 1}) {
                std::vector<std::string> refused = args;
                refused.back() = std::to_string(outside);
                EXPECT_EQ(ParseCliOptions(refused, options), RangeMessage(entry)) << outside;
            }
        }
        if (entry.takes == Takes::kChoice) {
            std::vector<std::string> shouted = args;
            for (char& c : shouted.back()) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            EXPECT_EQ(ParseCliOptions(shouted, options), "");
            shouted.back() = "none";
            EXPECT_NE(ParseCliOptions(shouted, options).find(name + " must be " + entry.choices.front()), std::string::npos);
        }
        if (!entry.needs.empty()) {
            const std::vector<std::string> alone(args.end() - (TakesAValueAfterIt(entry) ? 2 : 1), args.end());
            EXPECT_EQ(ParseCliOptions(alone, options),
                      name + " applies only to " + entry.applies_to + ": give it with --" + entry.needs.front());
        }
        if (entry.kept == ProfileValue::kNotKept) continue;
        // Kept: written to a profile, read back, the same settings and the same profile.
        CliOptions given;
        ASSERT_EQ(ParseCliOptions(args, given), "");
        const std::string file = ProfileTable({"trial", given.kept});
        ProfileProblem problem;
        const std::optional<ProfileFile> read = ReadProfiles(file, "profiles.toml", problem);
        ASSERT_TRUE(read) << problem.Text() << "\n" << file;
        CliOptions from_profile;
        ASSERT_EQ(ParseCliOptions({"--profile", "trial"}, from_profile,
                                  [&](const std::string&, std::string&) { return read->Find("trial")->options; }),
                  "");
        EXPECT_EQ(ProfileTable({"trial", from_profile.kept}), file);
        EXPECT_EQ(from_profile.settings.mode, given.settings.mode);
        EXPECT_EQ(from_profile.settings.count, given.settings.count);
        EXPECT_EQ(from_profile.settings.shortest(), given.settings.shortest());
        EXPECT_EQ(from_profile.settings.max_length, given.settings.max_length);
        EXPECT_EQ(from_profile.settings.passphrase.words, given.settings.passphrase.words);
        EXPECT_EQ(from_profile.settings.passphrase.digits, given.settings.passphrase.digits);
        EXPECT_EQ(from_profile.settings.passphrase.word_case, given.settings.passphrase.word_case);
        EXPECT_EQ(from_profile.settings.other_in_text, given.settings.other_in_text);
        EXPECT_EQ(from_profile.format, given.format);
        // A number stays a number in the file.
        if (entry.kept == ProfileValue::kNumber)
            EXPECT_NE(file.find(std::string(entry.long_name) + " = " + ValueFor(entry) + "\n"), std::string::npos) << file;
    }
}

// Each pair that cannot stand together is refused naming both, whichever
// comes first, and a later one of them given after a profile's overrides it.
TEST(OptionCatalogue, EachConflictIsRefusedNamingBothAndALaterOptionOverridesAProfilesOne) {
    for (const OptionEntry& entry : OptionCatalogue())
        for (const OptionConflict& conflict : entry.conflicts)
            for (const OptionEntry& other : OptionCatalogue()) {
                if (&other == &entry || !(other.kind & conflict.kinds) || !other.needs.empty()) continue;
                SCOPED_TRACE(std::string(entry.long_name) + " with " + other.long_name);
                CliOptions options;
                for (const auto& [first, second] : {std::pair(&entry, &other), std::pair(&other, &entry)}) {
                    std::vector<std::string> args = Given(*first);
                    const std::vector<std::string> then = Given(*second);
                    args.insert(args.end(), then.begin(), then.end());
                    EXPECT_EQ(ParseCliOptions(args, options), std::string("--") + entry.long_name +
                                                                  " cannot be given with --" + other.long_name + ": " +
                                                                  conflict.why);
                }
                if (other.kept == ProfileValue::kNotKept || entry.kept == ProfileValue::kNotKept) continue;
                CliOptions first;
                ASSERT_EQ(ParseCliOptions(Given(other), first), "");
                std::vector<std::string> after_profile = {"--profile", "p"};
                const std::vector<std::string> own = Given(entry);
                after_profile.insert(after_profile.end(), own.begin(), own.end());
                EXPECT_EQ(ParseCliOptions(after_profile, options, [&](const std::string&, std::string&) { return first.kept; }),
                          "");
            }
}
