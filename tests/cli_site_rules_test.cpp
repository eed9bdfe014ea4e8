// morvane-cli with sites' password rules: --site, --rules and --list-sites,
// the user's own table, and what is refused.
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "cli_run.h"

namespace {

bool Holds(const std::string& password, const std::string& members) {
    return password.find_first_of(members) != std::string::npos;
}

const std::string kUpper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ", kLower = "abcdefghijklmnopqrstuvwxyz", kDigits = "0123456789";

// A config folder of its own, with the user's table when given.
std::string ConfigWith(const std::string& table) {
    static int made = 0;
    const std::string folder = testing::TempDir() + "/morvane-config-" + std::to_string(getpid()) + "-" +
                               std::to_string(++made);
    ::mkdir(folder.c_str(), 0700);
    ::mkdir((folder + "/morvane").c_str(), 0700);
    if (!table.empty()) std::ofstream(folder + "/morvane/password-rules.json") << table;
    return folder;
}

}  // namespace

TEST(CommandLineSiteRules, ASiteFoundByItsAddressGivesPasswordsThatKeepItsRuleWithExactBits) {
    const Result r = Cli("--site 'https://www.Ubisoft.com/en-us/login?x=1' -n 300 --format ndjson --show-strength");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "Strength: 96.7 bits per password (ubisoft.com's rule, 74 characters, 16 long): Good\n");
    const std::string specials = "!@#$%^&*()+";
    for (const std::string& line : Lines(r.out)) {
        // {"password": "...", "length": 16, "bits": 96.68}
        const size_t open = line.find("\"password\": \"") + 13, close = line.find("\", \"length\"");
        ASSERT_NE(close, std::string::npos) << line;
        std::string password = line.substr(open, close - open);
        EXPECT_NE(line.find("\"length\": 16, \"bits\": 96.68}"), std::string::npos) << line;
        ASSERT_EQ(password.size(), 16u);
        for (char c : password)
            EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == '-' || specials.find(c) != std::string::npos)
                << password;
        EXPECT_TRUE(Holds(password, kUpper) && Holds(password, kLower) && Holds(password, kDigits) &&
                    Holds(password, "-") && Holds(password, specials))
            << password;
    }
    // -l and --min/--max choose within the rule's range.
    const Result shorter = Cli("--site ubisoft.com -n 50 -l 9");
    ASSERT_EQ(shorter.code, 0) << shorter.err;
    for (const std::string& line : Lines(shorter.out)) EXPECT_EQ(line.size(), 9u);
    const Result range = Cli("--site ubisoft.com -n 400 --min 8 --max 10");
    std::map<size_t, int> lengths;  // each as often as its passwords: 10 about 74 times as often as 9
    for (const std::string& line : Lines(range.out)) ++lengths[line.size()];
    EXPECT_EQ(lengths.begin()->first >= 8 && lengths.rbegin()->first == 10, true);
    EXPECT_GT(lengths[10], 370) << lengths[9];
    // A rule with no maximum: 20, the default length.
    const Result typed = Cli("--rules 'required: digit; allowed: lower' -n 20 -0");
    ASSERT_EQ(typed.code, 0) << typed.err;
    for (const std::string& password : Lines(typed.out, std::string(1, '\0'))) {
        EXPECT_EQ(password.size(), 20u);
        EXPECT_TRUE(Holds(password, kDigits));
        EXPECT_EQ(password.find_first_not_of(kLower + kDigits), std::string::npos) << password;
    }
}

TEST(CommandLineSiteRules, TheUsersOptionsNarrowTheRule) {
    // The blank only when let in; look-alikes and Other out taken out.
    const Result blanks = Cli("--rules 'allowed: [ ab]; required: [b]' -n 100 -l 12");
    ASSERT_EQ(blanks.code, 0) << blanks.err;
    EXPECT_EQ(blanks.out.find(' '), std::string::npos);
    const Result spaces = Cli("--rules 'allowed: [ ab]; required: [b]' -n 100 -l 12 --spaces");
    EXPECT_NE(spaces.out.find(' '), std::string::npos);
    const Result narrowed = Cli("--site ubisoft.com -n 200 --exclude-look-alikes --other-out '# $'");
    ASSERT_EQ(narrowed.code, 0) << narrowed.err;
    EXPECT_EQ(narrowed.out.find_first_of("1Il0oOB8#$"), std::string::npos);
}

TEST(CommandLineSiteRules, UniqueRunsReachExactlyTheRulesCountAndRefuseOneMore) {
    // Two or more digits among 4 characters of a, b and the digits: 20400.
    const std::string rule = "--rules 'allowed: [ab]; required: digit; required: digit; minlength: 4; maxlength: 4'";
    const Result all = Cli(rule + " --unique -n 20400");
    ASSERT_EQ(all.code, 0) << all.err;
    const std::vector<std::string> lines = Lines(all.out);
    EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()).size(), 20400u);
    const Result more = Cli(rule + " --unique -n 20401");
    EXPECT_EQ(more.code, 2);
    EXPECT_EQ(more.err, "morvane-cli: --count must be at most 20400 with --unique: no more different passwords can "
                        "be made\n");
}

TEST(CommandLineSiteRules, RulesThatCannotBeKeptOrReadAreRefusedInOneLineWithTwo) {
    const std::pair<std::string, std::string> refused[] = {
        {"--rules 'required: [a-z]'",
         "--rules: the rule at 13: '-' stands only first in a class: there are no ranges such as [a-z]"},
        {"--rules 'minlength: 8; colour: red'", "--rules: the rule at 15: unknown property \"colour\""},
        {"--rules 'allowed: [a]; max-consecutive: 1; minlength: 6'",
         "--rules: no password of length 20 keeps the rule"},
        {"--rules 'required: upper; required: lower; required: digit; required: [-]; required: [!]; maxlength: 4'",
         "--rules: no password of length 4 keeps the rule"},
        {"--site ubisoft.com -l 30", "--site ubisoft.com: length 30 lies outside the rule's range of 8 to 16"},
        {"--site ubisoft.com --min 4 --max 12",
         "--site ubisoft.com: lengths 4 to 12 lie outside the rule's range of 8 to 16"},
        {"--site ubisoft.com --other-out -",
         "--site ubisoft.com: \"required: [-]\" has no character left once the blank and the Other out characters "
         "are taken out"},
        {"--rules 'required: [ ]'", "--rules: \"required: [ ]\" has no character left once the blank is taken out"},
    };
    for (const auto& [args, message] : refused) {
        const Result r = Cli(args);
        EXPECT_EQ(r.code, 2) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_EQ(r.err, "morvane-cli: " + message + "\n") << args;
    }
    for (const char* other : {"--passphrase", "--each-type", "--no-upper", "--other-in x"}) {
        const std::string name = std::string(other).substr(0, std::string(other).find(' '));
        const Result typed = Cli(std::string("--rules 'minlength: 8' ") + other);
        EXPECT_EQ(typed.code, 2) << other;
        EXPECT_EQ(typed.err.rfind("morvane-cli: --rules cannot be given with " + name +
                                      ": the rule decides which characters a password holds\n",
                                  0),
                  0u)
            << typed.err;
        // A known site's rule decides them too; an unknown site leaves them standing.
        const Result known = Cli(std::string("--site www.ubisoft.com ") + other);
        EXPECT_EQ(known.code, 2) << other;
        EXPECT_EQ(known.err, "morvane-cli: --site www.ubisoft.com: " + name +
                                 " does not apply: ubisoft.com's rule decides which characters a password holds\n");
    }
    EXPECT_EQ(Cli("--site a.com --rules 'minlength: 8'").err.rfind(
                  "morvane-cli: --rules cannot be given with --site: each gives a rule\n", 0),
              0u);
}

TEST(CommandLineSiteRules, TheUsersOwnTableAddsSitesAndOverridesBundledOnes) {
    // Written by an editor that starts its UTF-8 with a byte-order mark.
    const std::string config = ConfigWith(
        "\xEF\xBB\xBF{\n  \"ubisoft.com\": {\"password-rules\": \"minlength: 6; maxlength: 6; allowed: digit\"},\n"
        "  \"intranet.example\": {\"password-rules\": \"required: [xyz]; allowed: [xyz]\"}\n}\n");
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const Result digits = Cli("--site www.ubisoft.com -n 30");
    ASSERT_EQ(digits.code, 0) << digits.err;
    for (const std::string& line : Lines(digits.out)) {
        EXPECT_EQ(line.size(), 6u);
        EXPECT_EQ(line.find_first_not_of(kDigits), std::string::npos) << line;
    }
    const Result added = Cli("--site https://intranet.example/login -n 5");
    ASSERT_EQ(added.code, 0) << added.err;
    for (const std::string& line : Lines(added.out)) EXPECT_EQ(line.find_first_not_of("xyz"), std::string::npos);
    const Result listed = Cli("--list-sites");
    const std::vector<std::string> sites = Lines(listed.out);
    EXPECT_EQ(sites.size(), 435u);  // the 434 bundled and the new one
    EXPECT_TRUE(std::is_sorted(sites.begin(), sites.end()));
    EXPECT_NE(std::find(sites.begin(), sites.end(), "intranet.example"), sites.end());

    // A broken table is refused with its file, line and column; its bytes stay.
    const std::string broken = ConfigWith("{\n  \"a.example\": {\"password-rules\": \"minlength: 8\",}\n}\n");
    setenv("XDG_CONFIG_HOME", broken.c_str(), 1);
    const Result refused = Cli("--site a.example");
    EXPECT_EQ(refused.code, 2);
    EXPECT_EQ(refused.err.rfind("morvane-cli: " + broken + "/morvane/password-rules.json:2:", 0), 0u) << refused.err;
    std::ifstream kept(broken + "/morvane/password-rules.json");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}),
              "{\n  \"a.example\": {\"password-rules\": \"minlength: 8\",}\n}\n");
    unsetenv("XDG_CONFIG_HOME");
}

// A site whose rule is not known gets the strong default, as in the
// window, shaped by the lengths and kinds of characters given; an address,
// a bare name and an empty site are told.
TEST(CommandLineSiteRules, AnUnknownSiteGetsTheStrongDefaultWithANote) {
    const Result r = Cli("--site https://nowhere.example/x -n 5 -l 12 --no-special");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "morvane-cli: no password rule is known for nowhere.example: 12 characters of the kinds chosen\n");
    for (const std::string& line : Lines(r.out)) {
        EXPECT_EQ(line.size(), 12u);
        EXPECT_EQ(line.find_first_not_of(kUpper + kLower + kDigits), std::string::npos);
    }
    const std::pair<const char*, const char*> cases[] = {
        {"--site github.com", "morvane-cli: no password rule is known for github.com: 20 characters of every kind\n"
                              "Strength: 131.1 bits per password (the rule, 94 characters, 20 long): Excellent\n"
                              "Change it at: https://github.com/settings/security\n"},
        {"--site 192.168.1.1", "morvane-cli: no password rule is known for 192.168.1.1: 20 characters of every kind\n"
                               "Strength: 131.1 bits per password (the rule, 94 characters, 20 long): Excellent\n"},
        {"--site localhost", "morvane-cli: no password rule is known for localhost: 20 characters of every kind\n"
                             "Strength: 131.1 bits per password (the rule, 94 characters, 20 long): Excellent\n"},
        {"--site ''", "morvane-cli: --site needs a site's domain or address\nTry 'morvane-cli --help' for more "
                      "information.\n"},
    };
    for (const auto& [args, err] : cases) {
        const Result one = Cli(std::string(args) + " -n 1 --show-strength");
        EXPECT_EQ(one.err, err) << args;
        if (one.code == 0) EXPECT_EQ(Lines(one.out).at(0).size(), 20u) << args;
    }
    const Result listed = Cli("--list-sites");
    EXPECT_EQ(listed.code, 0);
    EXPECT_GE(Lines(listed.out).size(), 434u);
}

// Empty values, as rules on web pages often hold them, mean the property is
// absent, and a rule typed says so on standard error.
TEST(CommandLineSiteRules, EmptyValuesAreReadAsAbsentWithANote) {
    const std::pair<const char*, const char*> cases[] = {
        {"allowed:;", "morvane-cli: note: the rule: the empty allowed at 1 is left out\n"},
        {"required: ; required: upper",
         "morvane-cli: note: the rule: the empty required at 1 is left out\n"},
        {"allowed:[];", "morvane-cli: note: the rule: the allowed at 1 holds no printable ASCII character and is left "
                        "out\n"},
        {"minlength:; required: digit", "morvane-cli: note: the rule: the empty minlength at 1 is left out\n"},
    };
    for (const auto& [rule, note] : cases) {
        const Result r = Cli(std::string("--rules '") + rule + "' -n 3");
        EXPECT_EQ(r.code, 0) << rule;
        EXPECT_EQ(r.err, note) << rule;
        EXPECT_EQ(Lines(r.out).size(), 3u) << rule;
    }
    EXPECT_EQ(Cli("--rules 'required: upper,' -n 1").code, 2);  // bad syntax stays refused
    // A minimum above the default length raises it.
    const Result longer = Cli("--rules 'minlength: 24' -n 2");
    ASSERT_EQ(longer.code, 0) << longer.err;
    for (const std::string& line : Lines(longer.out)) EXPECT_EQ(line.size(), 24u);
}

// Sites that sign in with another's account take its rule; where the sites
// of one account each have a rule, a password keeps every one. The page
// where the password is changed, and a site that wants the one-time code
// after the password, are said with the strength.
TEST(CommandLineSiteRules, SharedAccountsTakeTheirRulesAndTheChangePageIsGiven) {
    const Result x = Cli("--site x.com -n 1 --show-strength");
    ASSERT_EQ(x.code, 0) << x.err;
    EXPECT_EQ(Lines(x.err).at(0), "morvane-cli: x.com signs in with twitter.com's account: twitter.com's rule");
    EXPECT_EQ(Lines(x.err).at(1), Lines(Cli("--site twitter.com -n 1 --show-strength").err).at(0));
    for (const auto& [site, account] : std::vector<std::pair<std::string, std::string>>{
             {"bit.ly", "bitly.com"}, {"fortnite.com", "epicgames.com"}, {"playstation.com", "sony.com"}}) {
        const Result r = Cli("--site " + site + " -n 1");
        EXPECT_EQ(r.err, "morvane-cli: " + site + " signs in with " + account + "'s account: " + account + "'s rule\n");
    }
    // airfrance.com and klm.com: each password keeps both rules, and the
    // count is of those that do (klm.com's allows any 8 to 12 characters).
    const Result both = Cli("--site airfrance.com -n 200 --show-strength");
    ASSERT_EQ(both.code, 0) << both.err;
    EXPECT_EQ(Lines(both.err).at(0), "morvane-cli: airfrance.com shares its account with klm.com: a password keeps the "
                                     "rule of each");
    const std::string alone = Lines(Cli("--rules 'minlength: 8; maxlength: 12; required: lower; required: upper; "
                                        "required: digit; allowed: [-!#$&+/?@_];' -n 1 --show-strength -l 12")
                                        .err)
                                  .at(0);
    EXPECT_EQ(Lines(both.err).at(1).substr(0, 34), alone.substr(0, 34));  // "Strength: 73.8 bits per password "
    for (const std::string& password : Lines(both.out)) {
        EXPECT_EQ(password.size(), 12u);
        EXPECT_TRUE(Holds(password, kUpper) && Holds(password, kLower) && Holds(password, kDigits)) << password;
        EXPECT_EQ(password.find_first_not_of(kUpper + kLower + kDigits + "-!#$&+/?@_"), std::string::npos) << password;
    }
    const Result code = Cli("--site https://www.etrade.com/login -n 1 --show-strength");
    EXPECT_EQ(Lines(code.err).at(2), "www.etrade.com wants the one-time code typed after the password.");
    EXPECT_EQ(Lines(code.err).at(3), "Change it at: https://us.etrade.com/etx/pxy/security-settings/change-password/page");
    const Result listed = Cli("--list-sites");
    const std::vector<std::string> sites = Lines(listed.out);
    EXPECT_EQ(sites.size(), 434u);
    EXPECT_NE(std::find(sites.begin(), sites.end(), "ae.com\thttps://www.ae.com/myaccount"),
              sites.end());
    EXPECT_NE(std::find(sites.begin(), sites.end(), "163.com"), sites.end());
}
