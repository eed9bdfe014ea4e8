// Profiles on the command line: the built-in ones make what they say, the
// user's are saved, listed, used, overridden and deleted, and a file that
// does not read well is refused and left exactly as it was.
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

#include "cli_run.h"

namespace {

const std::string kDigits = "0123456789";
const std::string kLookAlikes = "1I|l0oO`'B8";

// A configuration folder of the test's own, set for the runs that follow.
struct Config {
    std::string folder = std::filesystem::path(testing::TempDir() + "/profiles-" + std::to_string(getpid()) + "-" +
                                               testing::UnitTest::GetInstance()->current_test_info()->name())
                             .lexically_normal()
                             .string();
    Config() {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder + "/morvane");
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    }
    ~Config() {
        unsetenv("XDG_CONFIG_HOME");
        std::filesystem::remove_all(folder);
    }
    std::string File() const { return folder + "/morvane/profiles.toml"; }
    void Write(const std::string& text) const { std::ofstream(File(), std::ios::binary) << text; }
    std::string Read() const {
        std::ifstream in(File(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

// The lines of --list-profiles by name: the kind, what it makes, the strength.
std::map<std::string, std::vector<std::string>> Listed() {
    const Result listed = Cli("--list-profiles");
    EXPECT_EQ(listed.code, 0) << listed.err;
    std::map<std::string, std::vector<std::string>> by_name;
    for (const std::string& line : Lines(listed.out)) {
        std::vector<std::string> fields;
        std::stringstream in(line);
        for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
        EXPECT_EQ(fields.size(), 4u) << line;
        by_name[fields[0]] = {fields.begin() + 1, fields.end()};
    }
    return by_name;
}

// The strength as --list-profiles says it: without "Strength: " and
// without the advice that follows Poor and Weak.
std::string StrengthOf(const std::string& args) {
    const Result r = Cli(args + " -n 1 --show-strength");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err.rfind("Strength: ", 0), 0u) << r.err;
    const std::string line = r.err.substr(10, r.err.size() - 11);
    return line.substr(0, line.find("; "));
}

}  // namespace

TEST(CommandLineProfiles, EachBuiltInProfileMakesWhatItsDocumentedOptionsMake) {
    Config config;
    const auto made = [](const std::string& profile) {
        const Result r = Cli("--profile " + profile + " -n 200");
        EXPECT_EQ(r.code, 0) << profile << ": " << r.err;
        return Lines(r.out);
    };
    for (const char* pin : {"pin4", "pin6"})
        for (const std::string& line : made(pin)) {
            EXPECT_EQ(line.size(), pin[3] == '4' ? 4u : 6u) << line;
            EXPECT_EQ(line.find_first_not_of(kDigits), std::string::npos) << line;
        }
    for (const std::string& line : made("letters-digits")) {
        EXPECT_EQ(line.size(), 16u);
        EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](unsigned char c) { return std::isalnum(c); })) << line;
    }
    for (const std::string& line : made("strong")) {
        EXPECT_EQ(line.size(), 20u);
        EXPECT_EQ(line.find_first_of(kLookAlikes), std::string::npos) << line;
        EXPECT_TRUE(std::any_of(line.begin(), line.end(), [](unsigned char c) { return std::isupper(c); })) << line;
        EXPECT_TRUE(std::any_of(line.begin(), line.end(), [](unsigned char c) { return std::islower(c); })) << line;
        EXPECT_TRUE(std::any_of(line.begin(), line.end(), [](unsigned char c) { return std::isdigit(c); })) << line;
        EXPECT_TRUE(std::any_of(line.begin(), line.end(), [](unsigned char c) { return std::ispunct(c); })) << line;
    }
    for (const std::string& line : made("wifi")) {
        EXPECT_EQ(line.size(), 24u);
        EXPECT_EQ(line.find_first_of(kLookAlikes + " "), std::string::npos) << line;
        EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](unsigned char c) { return std::isgraph(c); })) << line;
    }
    for (const std::string& line : made("shell-safe")) {
        EXPECT_EQ(line.size(), 24u);
        EXPECT_EQ(line.find_first_of("`~!#$&*()\\|;'\"<>?[]{}^ "), std::string::npos) << line;
    }
    for (const auto& [profile, words] : {std::pair{"passphrase6", 6}, {"passphrase8", 8}})
        for (const std::string& line : made(profile)) {
            EXPECT_EQ(std::count(line.begin(), line.end(), '-'), words - 1) << line;
            EXPECT_TRUE(std::none_of(line.begin(), line.end(), [](unsigned char c) { return std::isupper(c); }));
        }
    for (const std::string& line : made("recipe5")) {
        EXPECT_EQ(std::count_if(line.begin(), line.end(), [](unsigned char c) { return std::isupper(c); }), 5) << line;
        EXPECT_EQ(std::count_if(line.begin(), line.end(), [](char c) { return std::strchr("0123456789!#%", c); }), 4) << line;
    }
    for (const std::string& line : made("spoken4")) EXPECT_EQ(line.size(), 27u) << line;
    // The list gives each with the strength of the same options given by hand.
    const auto listed = Listed();
    const std::pair<const char*, const char*> by_hand[] = {
        {"pin4", "-l 4 --no-upper --no-lower --no-special"},
        {"pin6", "-l 6 --no-upper --no-lower --no-special"},
        {"letters-digits", "-l 16 --no-special"},
        {"strong", "-l 20 --exclude-look-alikes --each-type"},
        {"wifi", "-l 24 --exclude-look-alikes"},
        {"shell-safe", "-l 24 --other-out '` ~ ! # $ & * ( ) \\ | ; '\"'\"' \" < > ? [ ] { } ^'"},
        {"passphrase6", "--passphrase --words 6"},
        {"passphrase8", "--passphrase --words 8"},
        {"recipe5", "--passphrase --words 5 --separators '0123456789!#%' --case title"},
        {"spoken4", "--pronounceable --groups 4"},
    };
    ASSERT_EQ(listed.size(), std::size(by_hand));
    for (const auto& [name, options] : by_hand) {
        ASSERT_TRUE(listed.count(name)) << name;
        EXPECT_EQ(listed.at(name)[0], "built-in");
        EXPECT_EQ(listed.at(name)[2], StrengthOf(options)) << name;
        EXPECT_EQ(StrengthOf(std::string("--profile ") + name), StrengthOf(options)) << name;
    }
    EXPECT_EQ(listed.at("strong")[2], "127.2 bits per password (83 characters, 20 long): Excellent");
    EXPECT_EQ(listed.at("pin4")[2], "13.3 bits per password (10 characters, 4 long): Poor");
}

TEST(CommandLineProfiles, ASavedProfileIsListedUsedOverriddenAndDeleted) {
    Config config;
    config.Write("# kept as I wrote it\n[bank]\nsite = \"ubisoft.com\"  # my bank\ncount = 1\n");
    Result saved = Cli("--save-profile long -l 24 --exclude-look-alikes --no-special -n 3");
    ASSERT_EQ(saved.code, 0) << saved.err;
    EXPECT_EQ(saved.out, "");  // nothing is made
    EXPECT_EQ(config.Read(), "# kept as I wrote it\n[bank]\nsite = \"ubisoft.com\"  # my bank\ncount = 1\n\n[long]\n"
                             "length = 24\nexclude-look-alikes = true\nno-special = true\ncount = 3\n");
    struct stat status {};
    ASSERT_EQ(stat(config.File().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_EQ(std::filesystem::directory_iterator(config.folder + "/morvane")->path(), config.File());  // no leftover

    const auto listed = Listed();
    EXPECT_EQ(listed.at("long"), (std::vector<std::string>{
                                     "own", "passwords of 24 characters: upper, lower, digits; no look-alikes; 3 a run",
                                     StrengthOf("-l 24 --exclude-look-alikes --no-special")}));
    EXPECT_EQ(listed.at("bank")[1], "passwords by ubisoft.com's rule; 1 a run");
    ASSERT_EQ(Cli("--save-profile elsewhere --site https://nowhere.example/ -l 12").code, 0);
    EXPECT_EQ(Listed().at("elsewhere")[1],
              "passwords of 12 characters: upper, lower, digits, special; no rule is known for nowhere.example");
    ASSERT_EQ(Cli("--delete-profile elsewhere").code, 0);
    const Result used = Cli("--profile long");
    ASSERT_EQ(used.code, 0);
    ASSERT_EQ(Lines(used.out).size(), 3u);
    for (const std::string& line : Lines(used.out)) EXPECT_EQ(line.size(), 24u);
    // Options given after it override what it gave.
    const Result more = Cli("--profile bank -n 5");
    ASSERT_EQ(Lines(more.out).size(), 5u);
    for (const std::string& line : Lines(more.out)) EXPECT_EQ(line.size(), 16u);  // ubisoft.com's rule
    const Result shorter = Cli("--profile long --min 8 --max 10");
    EXPECT_EQ(shorter.code, 0) << shorter.err;
    ASSERT_EQ(Lines(shorter.out).size(), 3u);
    for (const std::string& line : Lines(shorter.out)) EXPECT_TRUE(line.size() >= 8 && line.size() <= 10) << line;
    // A later character option takes the place of a profile's site.
    const Result plain = Cli("--profile bank --no-special -l 12");
    EXPECT_EQ(plain.code, 0) << plain.err;
    ASSERT_EQ(Lines(plain.out).size(), 1u);
    EXPECT_EQ(Lines(plain.out)[0].size(), 12u);
    EXPECT_EQ(Lines(plain.out)[0].find_first_not_of(
                  "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              std::string::npos);

    // Saved again under its name, it is replaced where it stands.
    ASSERT_EQ(Cli("--save-profile bank --site ubisoft.com -n 2").code, 0);
    EXPECT_EQ(config.Read(), "# kept as I wrote it\n[bank]\nsite = \"ubisoft.com\"\ncount = 2\n\n[long]\n"
                             "length = 24\nexclude-look-alikes = true\nno-special = true\ncount = 3\n");
    ASSERT_EQ(Cli("--delete-profile bank").code, 0);
    EXPECT_EQ(config.Read(), "# kept as I wrote it\n[long]\nlength = 24\nexclude-look-alikes = true\n"
                             "no-special = true\ncount = 3\n");
    const Result gone = Cli("--profile bank");
    EXPECT_EQ(gone.code, 2);
    EXPECT_EQ(gone.err, "morvane-cli: no profile is named bank: --list-profiles lists them\n"
                        "Try 'morvane-cli --help' for more information.\n");
}

// Programs that save at once all keep their profiles; a file that is a
// link stays one, its target changed; a table whose string holds a line
// like a table's start is neither torn nor lost.
TEST(CommandLineProfiles, SavesAtOnceLinksAndStringsLoseNothing) {
    Config config;
    const std::string target = config.folder + "/dotfiles/profiles.toml";
    std::filesystem::create_directories(config.folder + "/dotfiles");
    std::ofstream(target) << "# kept in dotfiles\n[mine]\nlength = 10\n";
    std::filesystem::create_symlink(target, config.File());
    constexpr int kWriters = 8, kRounds = 20;
    for (int round = 0; round < kRounds; ++round) {
        std::string command = "cd " + config.folder + " && (";
        for (int w = 0; w < kWriters; ++w)
            command += "timeout 60 " + std::string(MORVANE_CLI) + " --save-profile p" + std::to_string(round) + "_" +
                       std::to_string(w) + " -l 6 >/dev/null & ";
        command += "wait)";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    const auto listed = Listed();
    for (int round = 0; round < kRounds; ++round)
        for (int w = 0; w < kWriters; ++w)
            EXPECT_TRUE(listed.count("p" + std::to_string(round) + "_" + std::to_string(w))) << round << " " << w;
    EXPECT_TRUE(listed.count("mine"));
    EXPECT_TRUE(std::filesystem::is_symlink(config.File()));
    EXPECT_EQ((std::filesystem::status(target).permissions() & std::filesystem::perms::all),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    std::filesystem::remove(config.File());
    const std::string text = "[a]\nlength = 10\n[b]\nrules = \"\"\"\n[x]\nminlength: 8\"\"\"\nlength = 12\n";
    for (const char* change : {"--save-profile b -l 14", "--save-profile a -l 9", "--delete-profile a",
                               "--delete-profile b"}) {
        config.Write(text);
        EXPECT_EQ(Cli(change).code, 0) << change;
        const Result read = Cli("--list-profiles");
        EXPECT_EQ(read.code, 0) << change << ": " << read.err << config.Read();
        if (std::string(change) != "--delete-profile b") EXPECT_NE(read.out.find("\nb\town\t"), std::string::npos) << change;
    }
}

TEST(CommandLineProfiles, RefusalsSayWhatAndWhereAndLeaveTheFileAsItWas) {
    Config config;
    const std::pair<std::string, std::string> broken[] = {
        {"[a]\ncolour = \"red\"\n", ":2: \"colour\" is not an option of a profile"},
        {"[a]\ncount = \"five\"\n", ":2: count must be a whole number"},
        {"[a]\n\ncount = 0\n", ":3: profile a: --count must be a whole number from 1 to 2147483647"},
        {"[a]\nfixed = \"yes\"\n", ":2: fixed must be true or false"},
        {"[strong]\ncount = 1\n", ":1: \"strong\" is the name of a built-in profile: give yours another"},
        {"[a]\ncount = 1\n[b\n", ":3: "},
    };
    for (const auto& [text, message] : broken) {
        config.Write(text);
        for (const char* args : {"--profile a", "--list-profiles", "--save-profile c -n 2", "--delete-profile a"}) {
            const Result r = Cli(args);
            EXPECT_EQ(r.code, 2) << args;
            EXPECT_EQ(r.err.rfind("morvane-cli: ", 0), 0u);
            EXPECT_NE(r.err.find(config.File() + message), std::string::npos) << args << ": " << r.err;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            EXPECT_EQ(config.Read(), text) << args;
        }
    }
    // A file that cannot be read at all is never written; a pipe or a
    // device in its place is told at once and not read without end, for the
    // profiles as for the sites' table.
    const std::string fifo = config.folder + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string sites = config.folder + "/morvane/password-rules.json";
    const struct {
        std::string file, kind;
        std::vector<std::string> args;
    } unreadable[] = {
        {config.File(), "a folder, not a file of profiles", {"--save-profile c -n 2", "--list-profiles"}},
        {config.File(), "a pipe, not a file of profiles",
         {"--save-profile c -n 2", "--list-profiles", "--profile c", "--delete-profile c"}},
        {config.File(), "a device, not a file of profiles", {"--save-profile c -n 2", "--list-profiles"}},
        {sites, "a pipe, not a table of sites", {"--site example.com", "--list-sites"}},
        {sites, "a device, not a table of sites", {"--site example.com", "--list-sites"}},
    };
    for (const auto& c : unreadable) {
        std::filesystem::remove(c.file);
        if (c.kind.starts_with("a folder")) std::filesystem::create_directory(c.file);
        else std::filesystem::create_symlink(c.kind.starts_with("a pipe") ? fifo : "/dev/zero", c.file);
        for (const std::string& args : c.args) {
            const Result r = Cli(args);
            EXPECT_EQ(r.code, 2) << args;
            const bool changes = args.starts_with("--save") || args.starts_with("--delete");
            EXPECT_EQ(r.err, "morvane-cli: " + (changes ? args.substr(0, args.find(" c") + 2) + ": " : "") + c.file +
                                 " is " + c.kind + (changes ? "; the file is left as it is" : "") + "\n")
                << args;
        }
        std::filesystem::remove(c.file);
    }
    // Names the file cannot keep, and no folder to keep it in.
    const std::pair<std::string, std::string> names[] = {
        {"--save-profile window-start -l 5",
         "--save-profile window-start: \"window-start\" names the profile the window starts with: give yours another "
         "name"},
        {"--save-profile '' -l 5", "--save-profile : a profile needs a name: one word of letters, digits, - and _"},
        {"--delete-profile ''", "--delete-profile : no profile of yours is named "},
    };
    for (const auto& [args, message] : names) EXPECT_EQ(Cli(args).err, "morvane-cli: " + message + "\n") << args;
    unsetenv("XDG_CONFIG_HOME");
    const std::string own_home = std::getenv("HOME") ? std::getenv("HOME") : "";
    for (const char* home : {"", "relative"}) {
        setenv("HOME", home, 1);
        const Result homeless = Cli("--save-profile q -l 5");
        EXPECT_EQ(homeless.code, 2) << home;
        EXPECT_NE(homeless.err.find("so there is no folder for your own files"), std::string::npos) << homeless.err;
    }
    setenv("HOME", own_home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", config.folder.c_str(), 1);
    // Built-in profiles are not the user's to take or to delete.
    const std::pair<const char*, const char*> refused[] = {
        {"--save-profile strong -l 30",
         "morvane-cli: --save-profile strong: \"strong\" is the name of a built-in profile: give yours another\n"},
        {"--save-profile 'my bank' -n 1",
         "morvane-cli: --save-profile my bank: \"my bank\" is not a profile's name: one word of letters, digits, - "
         "and _\n"},
        {"--delete-profile pin4", "morvane-cli: --delete-profile pin4: \"pin4\" is a built-in profile: it cannot be "
                                  "deleted\n"},
        {"--delete-profile nobody", "morvane-cli: --delete-profile nobody: no profile of yours is named nobody\n"},
        {"--save-profile x --wordlist - --passphrase",
         "morvane-cli: --save-profile cannot keep --wordlist -: a profile cannot read standard input\n"},
    };
    for (const auto& [args, message] : refused) {
        const Result r = Cli(args);
        EXPECT_EQ(r.code, 2) << args;
        EXPECT_EQ(r.err, message) << args;
    }
    EXPECT_FALSE(std::filesystem::exists(config.File()));  // nothing refused wrote a file
    // A word list is kept by its whole path.
    std::ofstream(config.folder + "/words.txt") << "x\n";
    ASSERT_EQ(system(("cd " + config.folder + " && " + MORVANE_CLI + " --save-profile w --passphrase --wordlist words.txt")
                         .c_str()),
              0);
    EXPECT_NE(config.Read().find("wordlist = \"" + config.folder + "/words.txt\""), std::string::npos) << config.Read();
}
