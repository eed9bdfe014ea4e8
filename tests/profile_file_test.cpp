// The profiles file as a user writes it by hand, what it refuses, and the
// program's own changes to it, which leave the rest of the file as it was.
#include <gtest/gtest.h>

#include <fstream>

#include "options/built_in_profiles.h"
#include "options/cli_options.h"
#include "options/profile_file.h"
#include "options/profile_settings.h"
#include "options/strength_line.h"

using namespace morvane;

namespace {

std::vector<std::pair<std::string, std::string>> Pairs(const ProfileOptions& options) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const ProfileOption& o : options) pairs.emplace_back(o.name, o.Shown());
    return pairs;
}

ProfileFile Read(const std::string& text) {
    ProfileProblem problem;
    std::optional<ProfileFile> file = ReadProfiles(text, "profiles.toml", problem);
    EXPECT_TRUE(file) << problem.Text() << "\n" << text;
    return file ? *file : ProfileFile{};
}

GenerationSettings SettingsOf(const ProfileOptions& options) {
    CliOptions read;
    EXPECT_EQ(ParseProfileOptions(options, read), "");
    return read.settings;
}

}  // namespace

TEST(ProfileFile, AHandWrittenFileGivesEachProfilesOptionsInItsOrder) {
    const ProfileFile file = Read(R"(# my profiles
window-start = "long"

[long]
length = 20          # long enough
exclude-look-alikes = true

each-type = true
unique = false

# for the bank
[bank]
site = "mybank.example"
count = 1

[words]
separator = "\"·\\"
passphrase = true
)");
    EXPECT_EQ(file.window_start, "long");
    ASSERT_EQ(file.profiles.size(), 3u);
    EXPECT_EQ(file.profiles[0].name, "long");
    using P = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(Pairs(file.profiles[0].options), (P{{"length", "20"}, {"exclude-look-alikes", ""}, {"each-type", ""}}));
    EXPECT_EQ(Pairs(file.Find("bank")->options), (P{{"site", "mybank.example"}, {"count", "1"}}));
    EXPECT_EQ(Pairs(file.Find("words")->options), (P{{"separator", "\"·\\"}, {"passphrase", ""}}));
    // A profile means what the same options mean on the command line.
    const GenerationSettings strong = SettingsOf(file.profiles[0].options);
    EXPECT_TRUE(strong.each_type());
    EXPECT_EQ(strong.shortest(), 20);
    EXPECT_TRUE(strong.look_alikes_out);
    EXPECT_EQ(SettingsOf(file.Find("words")->options).passphrase.separator, U"\"·\\");
}

TEST(ProfileFile, WhatIsNotAProfileIsRefusedWithTheFileAndLine) {
    const std::pair<const char*, const char*> refused[] = {
        {"[a]\ncolour = \"red\"\n", "profiles.toml:2: \"colour\" is not an option of a profile"},
        {"[a]\ncrlf = true\n", "profiles.toml:2: \"crlf\" is not an option of a profile"},
        {"[a]\ncount = \"five\"\n", "profiles.toml:2: count must be a whole number"},
        {"[a]\nlength = 20.0\n", "profiles.toml:2: length must be a whole number"},
        {"[a]\nunique = 1\n", "profiles.toml:2: unique must be true or false"},
        {"[a]\nsite = 5\n", "profiles.toml:2: site must be a text in quotes"},
        {"[a]\n\ncount = 0\n", "profiles.toml:3: profile a: --count must be a whole number from 1 to 2147483647"},
        {"[a]\nlength = 200\n", "profiles.toml:2: profile a: --length must be a whole number from 4 to 128"},
        {"[a]\ncase = \"shouting\"\n", "profiles.toml:2: profile a: --case must be lower, title, upper or random (in any letter case)"},
        {"[a]\npassphrase = true\nlength = 20\n",
         "profiles.toml:1: profile a: --passphrase cannot be given with --length: passphrases are made of words, not "
         "characters"},
        {"[a]\nrules = \"minlength: 8\"\nsite = \"x.example\"\n",
         "profiles.toml:1: profile a: --rules cannot be given with --site: each gives a rule"},
        {"\n[\"my bank\"]\ncount = 1\n",
         "profiles.toml:2: \"my bank\" is not a profile's name: one word of letters, digits, - and _"},
        {"[strong]\ncount = 1\n",
         "profiles.toml:1: \"strong\" is the name of a built-in profile: give yours another"},
        {"count = 5\n", "profiles.toml:1: \"count\" is neither window-start nor a profile's table"},
        {"[[a]]\ncount = 1\n", "profiles.toml:1: \"a\" is neither window-start nor a profile's table"},
        {"window-start = \"none\"\n[a]\ncount = 1\n", "profiles.toml:1: window-start names no profile: none"},
        {"window-start = true\n", "profiles.toml:1: window-start must be a profile's name in quotes"},
    };
    for (const auto& [text, message] : refused) {
        ProfileProblem problem;
        EXPECT_FALSE(ReadProfiles(text, "profiles.toml", problem)) << text;
        EXPECT_EQ(problem.Text(), message) << text;
    }
    ProfileProblem broken;
    EXPECT_FALSE(ReadProfiles("[a]\ncount = 1\n[b\n", "profiles.toml", broken));
    EXPECT_EQ(broken.line, 3) << broken.Text();
    // window-start may name a built-in profile.
    EXPECT_EQ(Read("window-start = \"pin6\"\n").window_start, "pin6");
}

TEST(ProfileFile, TheProgramsChangesKeepTheUsersCommentsAndOtherProfiles) {
    const std::string text = "# mine\n\n[strong2]\n# the long one\nlength = 24 # yes\n\n# for the bank\n[bank]\ncount = 1\n";
    // Replaced in place: the comment before the next table stays with it.
    const std::string replaced = WithProfile(text, {"strong2", {{"length", "30"}, {"unique", ""}}});
    EXPECT_EQ(replaced, "# mine\n\n[strong2]\nlength = 30\nunique = true\n\n# for the bank\n[bank]\ncount = 1\n");
    // Added at the end, with a text that needs escaping.
    const std::string added = WithProfile(text, {"odd", {{"other-in", "\" \\ \t é"}}});
    EXPECT_EQ(added.substr(0, text.size()), text);
    EXPECT_EQ(Read(added).Find("odd")->options[0].value, "\" \\ \t é");
    // Taken out, with window-start when it named it.
    const std::string started = WithWindowStart(text, "bank");
    EXPECT_EQ(started, "# mine\n\nwindow-start = \"bank\"\n\n[strong2]\n# the long one\nlength = 24 # yes\n\n"
                       "# for the bank\n[bank]\ncount = 1\n");
    EXPECT_EQ(WithWindowStart(started, "strong2"), "# mine\n\nwindow-start = \"strong2\"\n\n[strong2]\n# the long "
                                                   "one\nlength = 24 # yes\n\n# for the bank\n[bank]\ncount = 1\n");
    EXPECT_EQ(WithoutProfile(started, "bank"), "# mine\n\n\n[strong2]\n# the long one\nlength = 24 # yes\n\n# for the bank\n");
    EXPECT_EQ(WithoutProfile(text, "strong2"), "# mine\n\n# for the bank\n[bank]\ncount = 1\n");
    EXPECT_EQ(WithWindowStart(WithWindowStart(text, "bank"), ""), "# mine\n\n\n[strong2]\n# the long one\nlength = 24 # "
                                                                  "yes\n\n# for the bank\n[bank]\ncount = 1\n");
    // A table written inline is written anew, its meaning kept.
    const ProfileFile inline_written = Read(WithProfile("a = { count = 2 }\nb = { unique = true }\n", {"a", {{"count", "3"}}}));
    EXPECT_EQ(Pairs(inline_written.Find("a")->options), (std::vector<std::pair<std::string, std::string>>{{"count", "3"}}));
    EXPECT_TRUE(inline_written.Find("b"));
}

TEST(ProfileFile, WhatAProfileKeepsOfTheSettingsGivesTheSameSettingsAndStrength) {
    GenerationSettings variable;
    variable.min_length = 10;
    variable.max_length = 14;
    variable.special = false;
    variable.other_in = true;
    variable.other_in_text = U"é ß";
    variable.spaces = true;
    variable.count = 3;
    GenerationSettings fixed;
    fixed.variable_length = false;
    fixed.max_length = 20;
    fixed.mode = GenerationMode::kEachType;
    fixed.look_alikes_out = true;
    fixed.other_out = true;
    fixed.other_out_text = U"% &";
    GenerationSettings words;
    words.mode = GenerationMode::kPassphrase;
    words.passphrase = {8, U"_", WordCase::kTitle, 2};
    words.unique = true;
    GenerationSettings rule;
    rule.mode = GenerationMode::kSiteRules;
    rule.rules = "minlength: 8; maxlength: 16; required: digit; allowed: lower";
    rule.length_given = true;
    rule.min_length = rule.max_length = 12;
    rule.variable_length = false;
    // The window's lengths and boxes stand aside for pronounceable passwords and recipes.
    GenerationSettings spoken = fixed;
    spoken.mode = GenerationMode::kPronounceable;
    spoken.groups = 5;
    spoken.min_length = 9;
    GenerationSettings recipe = words;
    recipe.passphrase.separators = U"0123456789!";
    recipe.passphrase.min_word_length = 4;
    recipe.passphrase.max_word_length = 7;
    recipe.min_length = recipe.max_length = 9;
    for (const GenerationSettings& settings : {variable, fixed, words, rule, spoken, recipe, GenerationSettings{}}) {
        const ProfileOptions kept = KeptOptionsOf(settings);
        const ProfileFile file = Read(ProfileTable({"p", kept}));
        const GenerationSettings again = SettingsOf(file.profiles.at(0).options);
        EXPECT_EQ(DescribeStrength(again).text, DescribeStrength(settings).text);
        EXPECT_EQ(DescribeMaking(again), DescribeMaking(settings));
        EXPECT_EQ(again.count, settings.count);
        EXPECT_EQ(again.unique, settings.unique);
        EXPECT_EQ(again.mode, settings.mode);
    }
    EXPECT_TRUE(KeptOptionsOf(GenerationSettings{}).empty());  // the defaults keep nothing
}

TEST(ProfileFile, LaterOptionsOverrideWhatAProfileGaveThatTheyContradict) {
    const ProfileFinder profiles = [](const std::string& name, std::string& problem) -> std::optional<ProfileOptions> {
        if (name == "bank") return ProfileOptions{{"site", "mybank.example"}, {"count", "1"}};
        if (name == "range") return ProfileOptions{{"min", "10"}, {"max", "12"}};
        if (const BuiltInProfile* p = FindBuiltInProfile(name)) return p->options;
        problem = "no profile is named " + name;
        return std::nullopt;
    };
    const auto parse = [&](std::vector<std::string> args, CliOptions& options) {
        return ParseCliOptions(args, options, profiles);
    };
    CliOptions o;
    ASSERT_EQ(parse({"--profile", "bank", "-n", "5"}, o), "");
    EXPECT_EQ(o.settings.count, 5);
    EXPECT_EQ(o.site, "mybank.example");
    ASSERT_EQ(parse({"--profile", "strong", "--min", "8", "--max", "12"}, o), "");
    EXPECT_EQ(o.settings.min_length, 8);
    EXPECT_EQ(o.settings.max_length, 12);
    EXPECT_TRUE(o.settings.each_type());
    ASSERT_EQ(parse({"--profile", "range", "-l", "16"}, o), "");
    EXPECT_EQ(o.settings.shortest(), 16);
    EXPECT_EQ(o.settings.max_length, 16);
    ASSERT_EQ(parse({"--profile", "pin4", "--passphrase"}, o), "");  // a kind of output replaces the other
    EXPECT_TRUE(o.settings.passphrases());
    ASSERT_EQ(parse({"--profile", "passphrase8", "-l", "12"}, o), "");
    EXPECT_EQ(o.settings.mode, GenerationMode::kCharacters);
    EXPECT_EQ(o.settings.shortest(), 12);
    ASSERT_EQ(parse({"--profile", "passphrase6", "--words", "7"}, o), "");
    EXPECT_EQ(o.settings.passphrase.words, 7);
    ASSERT_EQ(parse({"--profile", "bank", "--rules", "minlength: 9"}, o), "");
    EXPECT_EQ(o.site, "");
    ASSERT_EQ(parse({"--profile", "strong", "--site", "ubisoft.com"}, o), "");  // a rule has its own lengths
    EXPECT_FALSE(o.settings.length_given);
    EXPECT_TRUE(o.settings.look_alikes_out);  // and is narrowed as the profile narrows
    EXPECT_EQ(o.decided_by_a_rule, "");
    ASSERT_EQ(parse({"--profile", "pin6", "--profile", "letters-digits"}, o), "");
    EXPECT_EQ(o.settings.shortest(), 16);
    EXPECT_FALSE(o.settings.special);
    EXPECT_TRUE(o.settings.upper);  // the later profile stands whole in the earlier one's place
    // What does not contradict stands, and a refusal names where an option came from.
    EXPECT_EQ(parse({"--profile", "passphrase6", "--spaces"}, o),
              "--passphrase (profile passphrase6) cannot be given with --spaces: passphrases are made of words, not "
              "characters");
    EXPECT_EQ(parse({"--profile", "nobody"}, o), "no profile is named nobody");
    // What --save-profile keeps: the options after the overriding.
    ASSERT_EQ(parse({"--save-profile", "x", "--profile", "strong", "-l", "24", "--html"}, o), "");
    EXPECT_EQ(Pairs(o.kept), (std::vector<std::pair<std::string, std::string>>{
                                 {"exclude-look-alikes", ""}, {"each-type", ""}, {"length", "24"}, {"format", "html"}}));
    ASSERT_EQ(parse({"--save-profile", "x", "-n", "5", "--format", "ndjson", "-n6", "--format=html"}, o), "");
    EXPECT_EQ(Pairs(o.kept), (std::vector<std::pair<std::string, std::string>>{{"count", "6"}, {"format", "html"}}));
    EXPECT_EQ(parse({"--save-profile", "x", "--crlf"}, o),
              "--save-profile cannot be given with --crlf: a profile keeps only what is made");
    EXPECT_EQ(parse({"--delete-profile", "x", "-n", "2"}, o), "--delete-profile cannot be given with --count: it is done alone");
}

TEST(ProfileFile, EachBuiltInProfileIsDocumentedWithItsExactStrength) {
    std::ifstream in(MORVANE_CLI_MAN_PAGE);
    std::string page(std::istreambuf_iterator<char>(in), {});
    for (size_t at; (at = page.find("\\-")) != std::string::npos;) page.replace(at, 2, "-");
    const SiteTables no_sites;
    for (const BuiltInProfile& profile : BuiltInProfiles()) {
        GenerationSettings settings;
        ASSERT_EQ(SettingsOfProfile(profile.options, no_sites, settings), "") << profile.name;
        EXPECT_NE(ProfileNameProblem(profile.name).find("built-in"), std::string::npos) << profile.name;
        const std::string strength = DescribeStrength(settings).text;  // "Strength: 13.3 bits per ..."
        const std::string bits = strength.substr(10, strength.find(" bits") - 10) + " bits";
        const size_t entry = page.find(".TP\n.B " + std::string(profile.name) + "\n");
        ASSERT_NE(entry, std::string::npos) << profile.name << " is not in the manual page";
        const std::string text = page.substr(entry, page.find(".TP", entry + 3) - entry);
        EXPECT_NE(text.find(bits), std::string::npos) << profile.name << ": " << bits << " in\n" << text;
    }
}

// Poor and Weak say the least change of the options that makes them Good;
// Good and better say none.
TEST(StrengthAdvice, PoorAndWeakSayTheLeastChangeThatMakesThemGood) {
    const struct {
        std::vector<std::string> args;
        std::string advice;
    } cases[] = {
        {{"--min", "6", "--max", "8"}, "a Min Length of 12 makes it Good"},  // the window's start
        {{"--fixed", "--max", "8"}, "12 characters make it Good"},
        {{"--no-upper", "--no-lower", "--no-special", "-l", "6"}, "23 characters make it Good"},
        {{"-l", "12"}, ""},
        {{"--passphrase", "--words", "4"}, "6 words make it Good"},
        {{"--passphrase", "--words", "6"}, ""},
        {{"--no-upper", "--no-lower", "--no-special", "--other-out", "0 1 2 3 4 5 6 7 8", "-l", "8"},
         "Profiles > strong makes it Good"},  // one character left: no length helps
        // A site's rule and the each-type rule are counted only as long as
        // their lengths go.
        {{"--rules", "minlength: 8; maxlength: 64; allowed: lower", "-l", "8"}, ""},
        {{"--each-type", "-l", "8"}, ""},
    };
    for (const auto& c : cases) {
        CliOptions options;
        ASSERT_EQ(ParseCliOptions(c.args, options), "") << testing::PrintToString(c.args);
        EXPECT_EQ(DescribeStrength(options.settings).advice, c.advice) << testing::PrintToString(c.args);
    }
}
