// morvane-cli for what is done with a new password: hashes for the
// system's login and htpasswd, one password per user of a list, and a QR
// code to scan, each read back by the tools that use them.
#include <crypt.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <regex>
#include <set>

#include "cli_run.h"

namespace {

namespace fs = std::filesystem;

// Whether `hash` is the hash of `password`, as the system's login checks it.
bool Verifies(const std::string& password, const std::string& hash) {
    crypt_data data{};
    const char* again = crypt_rn(password.c_str(), hash.c_str(), &data, sizeof data);
    return again && hash == again;
}

std::string Split(const std::string& line, char at, std::string& rest) {
    const size_t cut = line.find(at);
    rest = cut == std::string::npos ? std::string() : line.substr(cut + 1);
    return line.substr(0, cut);
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Have(const char* tool) { return std::system((std::string("command -v ") + tool + " >/dev/null").c_str()) == 0; }

struct Folder {
    fs::path path = fs::path(testing::TempDir()) / ("provisioning-" + std::to_string(getpid()));
    Folder() { fs::create_directories(path); }
    ~Folder() { fs::remove_all(path); }
    fs::path Write(const std::string& name, const std::string& text) const {
        std::ofstream(path / name) << text;
        return path / name;
    }
};

}  // namespace

TEST(CliHash, EachMethodHashesEachPasswordAsTheLoginChecksIt) {
    struct Case {
        const char* args;
        const char* prefix;
    };
    for (const Case& c : {Case{"--hash yescrypt", "$y$"}, {"--hash sha512crypt", "$6$"},
                          {"--hash sha256crypt --hash-cost 6000", "$5$rounds=6000$"},
                          {"--hash bcrypt --hash-cost 4", "$2b$04$"}}) {
        SCOPED_TRACE(c.args);
        const Result r = Cli(std::string(c.args) + " -n 3 -l 16");
        ASSERT_EQ(r.code, 0) << r.err;
        std::set<std::string> hashes;
        for (const std::string& line : Lines(r.out)) {
            std::string hash;
            const std::string password = Split(line, '\t', hash);
            EXPECT_EQ(password.size(), 16u);
            EXPECT_EQ(hash.rfind(c.prefix, 0), 0u) << hash;
            EXPECT_TRUE(Verifies(password, hash)) << line;
            hashes.insert(hash);
        }
        EXPECT_EQ(hashes.size(), 3u);
    }
}

TEST(CliHash, NdjsonGainsAHashAndNullSeparatesEachField) {
    const Result json = Cli("--hash sha256crypt --format ndjson -n 2");
    ASSERT_EQ(json.code, 0) << json.err;
    for (const std::string& line : Lines(json.out)) {
        const std::regex object(R"re(^\{"password": "(.*)", "length": \d+, "bits": [0-9.]+, "hash": "(\$5\$[^"]+)"\}$)re");
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, object)) << line;
        if (m[1].str().find('\\') == std::string::npos) EXPECT_TRUE(Verifies(m[1], m[2]));
    }
    const Result fields = Cli("--hash sha256crypt -0 -n 2");
    ASSERT_EQ(fields.code, 0) << fields.err;
    const std::vector<std::string> parts = Lines(fields.out, std::string(1, '\0'));
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_TRUE(Verifies(parts[0], parts[1]));
    EXPECT_TRUE(Verifies(parts[2], parts[3]));
}

TEST(CliHash, WhatAMethodCannotTakeIsRefusedWithTheReason) {
    struct Case {
        const char* args;
        const char* said;
    };
    for (const Case& c : {
             Case{"--hash bcrypt -l 80", "reads only the first 72 bytes of a password, and one of 80 was made"},
             {"--hash md5", "--hash must be yescrypt, sha512crypt, sha256crypt or bcrypt"},
             {"--hash bcrypt --hash-cost 32", "--hash-cost for bcrypt must be a whole number from 4 to 31"},
             {"--hash yescrypt --hash-cost 0", "--hash-cost for yescrypt must be a whole number from 1 to 11"},
             {"--hash-cost 12", "--hash-cost applies only to --hash"},
             {"--hash bcrypt --html", "--hash cannot be given with --html"},
             {"--hash bcrypt --copy", "--hash cannot be given with --copy"},
         }) {
        SCOPED_TRACE(c.args);
        const Result r = Cli(c.args);
        EXPECT_EQ(r.code, 2);
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

TEST(CliForUsers, EachUserGetsAPasswordItsHashOnStandardOutputAndThePasswordInANewPrivateFile) {
    Folder folder;
    const fs::path users = folder.Write("users", "alice\nbob_2\nsvc-backup$\n");
    for (const char* hash : {"", " --hash bcrypt --hash-cost 4"}) {
        SCOPED_TRACE(hash);
        const fs::path kept = folder.path / (std::string("passwords") + (*hash ? "-bcrypt" : ""));
        const Result r = Cli("--for-users " + users.string() + " --passwords-to " + kept.string() + hash);
        ASSERT_EQ(r.code, 0) << r.err;
        struct stat st {};
        ASSERT_EQ(::stat(kept.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        const std::vector<std::string> hashes = Lines(r.out), passwords = Lines(ReadFile(kept));
        ASSERT_EQ(hashes.size(), 3u);
        ASSERT_EQ(passwords.size(), 3u);
        for (size_t i = 0; i < 3; ++i) {
            std::string hash_of, password;
            EXPECT_EQ(Split(hashes[i], ':', hash_of), Split(passwords[i], ':', password));
            EXPECT_EQ(hash_of.rfind(*hash ? "$2b$04$" : "$y$", 0), 0u) << hash_of;
            EXPECT_TRUE(Verifies(password, hash_of)) << hashes[i];
        }
        // htpasswd takes the bcrypt lines as they are.
        if (*hash && Have("htpasswd")) {
            const fs::path file = folder.Write("htpasswd", r.out);
            std::string password;
            Split(passwords[0], ':', password);
            std::string quoted;  // for the shell: each ' written as '\''
            for (char c : password) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
            EXPECT_EQ(std::system(("htpasswd -vb " + file.string() + " alice '" + quoted + "' 2>/dev/null").c_str()), 0)
                << password;
        }
    }
    // Standard input names the users as well.
    const Result piped = Cli("--for-users - --passwords-to " + (folder.path / "piped").string(), "",
                             "printf 'carol\\n' |");
    EXPECT_EQ(piped.code, 0) << piped.err;
    EXPECT_EQ(piped.out.rfind("carol:$y$", 0), 0u);
}

TEST(CliForUsers, ABadListOrAFileInTheWayIsRefusedAndNothingIsWritten) {
    Folder folder;
    const fs::path users = folder.Write("users", "alice\n");
    const fs::path existing = folder.Write("existing", "kept\n");
    fs::create_symlink(folder.path / "elsewhere", folder.path / "link");
    const std::string list = "--for-users " + users.string();
    const std::string to_new = " --passwords-to " + (folder.path / "new").string();
    struct Case {
        std::string args;
        const char* said;
    };
    for (const Case& c : {
             Case{"--for-users " + folder.Write("bad", "alice\nbo:b\n").string() + to_new,
                  ", line 2: \"bo:b\" is not a user name"},
             {"--for-users " + folder.Write("twice", "alice\nalice\n").string() + to_new, ", line 2: \"alice\" is named twice"},
             {"--for-users " + folder.Write("gap", "alice\n\nbob\n").string() + to_new, ", line 2: an empty line"},
             {"--for-users " + folder.Write("empty", "").string() + to_new, "names no user"},
             {"--for-users " + (folder.path / "missing").string() + to_new, "No such file or directory"},
             {list + " --passwords-to " + existing.string(), "exists already"},
             {list + " --passwords-to " + (folder.path / "link").string(), "exists already"},
             {list, "--for-users needs --passwords-to FILE"},
             {list + " -n 3" + to_new, "--for-users cannot be given with --count"},
         }) {
        SCOPED_TRACE(c.args);
        const Result r = Cli(c.args);
        EXPECT_EQ(r.code, 2);
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(fs::exists(folder.path / "new"));
    }
    EXPECT_EQ(ReadFile(existing), "kept\n");
    EXPECT_FALSE(fs::exists(folder.path / "elsewhere"));
    for (const auto& entry : fs::directory_iterator(folder.path))
        EXPECT_NE(entry.path().filename().string().front(), '.') << "a leftover: " << entry.path();
}

TEST(CliQr, TheCodeScansBackToThePasswordOrToTheWifiJoinCode) {
    if (!Have("zbarimg")) GTEST_SKIP() << "zbarimg (zbar-tools) is not installed";
    Folder folder;
    const fs::path drawn = folder.path / "drawn";
    const std::string decode = " | tee " + drawn.string() + " | python3 " + MORVANE_TESTS_DIR + "/qr_decode.py";
    struct Case {
        const char* args;
        std::string before, after;  // the join code around the password
    };
    for (const Case& c : {Case{"", "", ""}, {" --qr-wifi 'Home; \"5G\"'", "WIFI:T:WPA;S:Home\\; \\\"5G\\\";P:", ";;"}}) {
        SCOPED_TRACE(c.args);
        const Result scanned = Cli(std::string("--qr=force --qr-text -l 24 --no-special") + c.args, decode);
        ASSERT_EQ(scanned.code, 0) << scanned.err;
        const std::string shown = ReadFile(drawn);
        const std::string password = shown.substr(shown.rfind("\x1b[0m\n") + 5, 24);
        EXPECT_EQ(scanned.out, c.before + password + c.after + "\n");
    }
}

TEST(CliQr, WithoutATerminalTheCodeIsRefusedUnlessForcedAndThePasswordIsNotWritten) {
    const Result refused = Cli("--qr");
    EXPECT_EQ(refused.code, 2);
    EXPECT_NE(refused.err.find("standard output is not one: give --qr=force"), std::string::npos) << refused.err;
    const Result forced = Cli("--qr=force -l 20");
    ASSERT_EQ(forced.code, 0);
    for (const std::string& line : Lines(forced.out)) {  // every line of the code, and nothing else
        const std::regex code_line("^\x1b\\[30;47m( |\u2580|\u2584|\u2588)+\x1b\\[0m$");
        EXPECT_TRUE(std::regex_match(line, code_line)) << line;
    }
    for (const char* args : {"--qr=maybe", "--qr-text", "--qr --copy", "--qr=force -n 3"})
        EXPECT_EQ(Cli(args).code, 2) << args;
    // A profile's count gives way to the one code.
    Folder config;
    fs::create_directories(config.path / "morvane");
    config.Write("morvane/profiles.toml", "[bank]\ncount = 4\nlength = 12\n");
    const Result profiled = Cli("--profile bank --qr=force --qr-text", "", "XDG_CONFIG_HOME=" + config.path.string());
    EXPECT_EQ(profiled.code, 0) << profiled.err;
    EXPECT_EQ(profiled.out.substr(profiled.out.rfind("\x1b[0m\n") + 5).size(), 13u);  // one password and its line end
}
