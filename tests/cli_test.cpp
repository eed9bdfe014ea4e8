// morvane-cli as a user runs it: output, flags, messages and exit codes.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <cctype>
#include <cstdlib>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli_run.h"

TEST(CommandLine, DefaultsAreStrongTwentyOfAllPrintableCharacters) {
    Result r = Cli("--show-strength");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "Strength: 131.1 bits per password (94 characters, 20 long): Excellent\n");
    std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 10u);
    for (const std::string& line : lines) {
        EXPECT_EQ(line.size(), 20u) << line;
        for (char c : line) EXPECT_TRUE(c >= 33 && c <= 126) << line;  // no blank, no control
    }
}

TEST(CommandLine, FlagsChooseTheCharactersLengthsAndLineEnds) {
    Result digits = Cli("-n 200 --no-upper --no-lower --no-special --fixed --max 12 --crlf");
    ASSERT_EQ(digits.code, 0) << digits.err;
    ASSERT_EQ(digits.code, 0);
    for (const std::string& line : Lines(digits.out, "\r\n")) {
        ASSERT_EQ(line.size(), 12u);
        for (char c : line) EXPECT_TRUE(c >= '0' && c <= '9');
    }
    Result other = Cli("--count=300 --no-upper --no-lower --no-numbers --no-special --other-in 'x y' "
                       "--spaces --min 4 --max 5");
    std::set<char> seen;
    for (const std::string& line : Lines(other.out)) {
        EXPECT_TRUE(line.size() == 4 || line.size() == 5);
        seen.insert(line.begin(), line.end());
    }
    EXPECT_EQ(seen, (std::set<char>{' ', 'x', 'y'}));
    Result out = Cli("-n 500 --no-special --no-upper --no-lower --exclude-look-alikes --other-out '2 3'");
    for (const std::string& line : Lines(out.out))
        for (char c : line) EXPECT_TRUE(c >= '4' && c <= '9' && c != '8') << line;
}

TEST(CommandLine, RefusalsNameTheOptionAndEndWithTwo) {
    struct Case {
        std::string args, err;
        std::string run_under = "";  // env, for one
    } cases[] = {
        {"--no-upper --no-lower --no-numbers --no-special",
         "morvane-cli: no character to choose from: every character type is turned off\n"},
        {"-l 200", "morvane-cli: --length must be a whole number from 4 to 128\n"},
        {"--min 9 --max 8", "morvane-cli: --min must not be greater than --max\n"},
        {"-n 2147483648", "morvane-cli: --count must be a whole number from 1 to 2147483647\n"},
        {"-n 2.7", "morvane-cli: --count must be a whole number from 1 to 2147483647\n"},
        {"-n 1e3", "morvane-cli: --count must be a whole number from 1 to 2147483647\n"},
        {"--min 6.9", "morvane-cli: --min must be a whole number from 4 to 128\n"},
        {"-n ' 5'", "morvane-cli: --count must be a whole number from 1 to 2147483647\n"},
        {"--format xml", "morvane-cli: --format must be text, html, ndjson or json\n"},
        {"--lenght 5", "morvane-cli: unknown option --lenght: did you mean --length?\n"},
        {"--zzz", "morvane-cli: unknown option --zzz\n"},
        {"16 5 2", "morvane-cli: unexpected argument '2': the length and the count are given already\n"},
        {"200", "morvane-cli: --length must be a whole number from 4 to 128\n"},
        {"--format json -n 100001",
         "morvane-cli: --format json holds at most 100000 passwords, one document read whole: give --format ndjson "
         "for more\n"},
        // Nowhere to copy to: refused before anything is made.
        {"-c -n 3", "morvane-cli: --copy needs a desktop to copy to: neither DISPLAY nor WAYLAND_DISPLAY is set\n",
         "env -u DISPLAY -u WAYLAND_DISPLAY"},
        // Only the options given are named.
        {"--no-upper --no-lower --no-special --other-out '0 1 2 3 4 5 6 7 8 9'",
         "morvane-cli: --other-out leaves no character to choose from\n"},
        {"--no-upper --no-lower --no-special --no-numbers --other-in 'a b c' --other-out 'a b c'",
         "morvane-cli: --other-out leaves no character to choose from\n"},
        {"--no-upper --no-lower --no-special --no-numbers --other-in '1 l 0' --exclude-look-alikes",
         "morvane-cli: --exclude-look-alikes leaves no character to choose from\n"},
        {"--no-upper --no-lower --no-special --no-numbers --other-in '1 x' --exclude-look-alikes --other-out x",
         "morvane-cli: --exclude-look-alikes and --other-out leave no character to choose from\n"},
    };
    const std::string hint = "Try 'morvane-cli --help' for more information.\n";
    for (const Case& c : cases) {
        Result r = Cli(c.args, "", c.run_under);
        EXPECT_EQ(r.code, 2) << c.args;
        // A usage error also tells where to read more; a refused check does not.
        if (r.err.size() > hint.size() && r.err.substr(r.err.size() - hint.size()) == hint)
            r.err.resize(r.err.size() - hint.size());
        EXPECT_EQ(r.err, c.err) << c.args;
        EXPECT_EQ(r.out, "") << c.args;
    }
}

TEST(CommandLine, OptionsThatDoNotApplyOrConflictAreRefusedInOneLineNamingBoth) {
    // Each pair is refused by the catalogue's own tests; here, as a user
    // meets it: one line, exit status 2 and nothing made, in either order.
    struct Case {
        std::string args, err;
    } cases[] = {
        {"--words 5", "--words applies only to passphrases: give it with --passphrase"},
        {"--clear-after 5", "--clear-after applies only to --copy: give it with --copy"},
        {"-c --html", "--copy cannot be given with --html: the copy is plain text"},
        {"--copy --format ndjson", "--copy cannot be given with --format ndjson: the copy is plain text"},
        {"--save-profile p -c", "--save-profile cannot be given with --copy: a profile keeps only what is made"},
        {"--passphrase -l 12", "--passphrase cannot be given with --length: passphrases are made of words, not characters"},
        {"--spaces --passphrase", "--passphrase cannot be given with --spaces: passphrases are made of words, not characters"},
        {"-0 --crlf", "--null cannot be given with --crlf: each ends a line its own way"},
        {"--crlf --null", "--null cannot be given with --crlf: each ends a line its own way"},
        {"--html --format text", "--html cannot be given with --format text: they name different formats"},
        {"--format=ndjson --html", "--html cannot be given with --format ndjson: they name different formats"},
    };
    for (const Case& c : cases) {
        Result r = Cli(c.args);
        EXPECT_EQ(r.code, 2) << c.args;
        EXPECT_EQ(r.err, "morvane-cli: " + c.err + "\nTry 'morvane-cli --help' for more information.\n") << c.args;
        EXPECT_EQ(r.out, "") << c.args;
    }
    // What goes together still does.
    EXPECT_EQ(Cli("--passphrase --words 4 --unique -n 3").code, 0);
    EXPECT_EQ(Cli("--html --format html -n 2").code, 0);
    EXPECT_EQ(Cli("-0 -n 2").code, 0);
}

TEST(CommandLine, ShortOptionsBundleAndTakeAttachedValuesAndABoundGivenAloneMovesTheOther) {
    auto lengths = [](const Result& r) {
        std::set<size_t> seen;
        for (const std::string& line : Lines(r.out)) seen.insert(line.size());
        return seen;
    };
    Result attached = Cli("-n3 -l16");
    ASSERT_EQ(attached.code, 0) << attached.err;
    EXPECT_EQ(Lines(attached.out).size(), 3u);
    EXPECT_EQ(lengths(attached), std::set<size_t>{16});
    Result bundled = Cli("-0n4");
    ASSERT_EQ(bundled.code, 0) << bundled.err;
    EXPECT_EQ(Lines(bundled.out, std::string(1, '\0')).size(), 4u);
    Result up = Cli("-n 300 --min 24");  // the maximum follows to 24
    EXPECT_EQ(lengths(up), std::set<size_t>{24});
    Result down = Cli("-n 300 --max 5");  // the minimum follows to 5
    EXPECT_EQ(lengths(down), std::set<size_t>{5});
    Result kept = Cli("-n 300 --min 18");  // no crossing: 18 to the default 20
    EXPECT_EQ(lengths(kept), (std::set<size_t>{18, 19, 20}));
}

TEST(CommandLine, NdjsonIsOneValidJsonObjectALineForEveryPassword) {
    // Characters JSON must escape, and some beyond ASCII.
    const std::string page = testing::TempDir() + "/morvane-cli-" + std::to_string(getpid()) + ".ndjson";
    Result r = Cli("--format ndjson -n 500 --no-upper --no-lower --no-numbers --no-special "
                   "--other-in '\" \\ / é 😀' --spaces",
                   " | tee " + page);
    ASSERT_EQ(r.code, 0) << r.err;
    // Six characters: log2(6) bits each.
    const std::string check = std::string("python3 ") + NDJSON_CHECK_SCRIPT + " " + page + " '\" \\ / é 😀' 2.585";
    std::unique_ptr<FILE, int (*)(FILE*)> python(popen(check.c_str(), "r"), pclose);
    char answer[256] = {};
    ASSERT_NE(fgets(answer, sizeof answer, python.get()), nullptr);
    EXPECT_STREQ(answer, "ok 500\n");
    EXPECT_EQ(Lines(r.out).size(), 500u);
    std::remove(page.c_str());
}

TEST(CommandLine, BadFlagsGetOneLineAndTheHint) {
    for (const char* bad : {"--bogus", "-n", "--fixed=1", "stray", "-x", "-l"}) {
        Result r = Cli(bad);
        EXPECT_EQ(r.code, 2) << bad;
        EXPECT_EQ(Lines(r.err).size(), 2u) << r.err;
        EXPECT_NE(r.err.find("Try 'morvane-cli --help' for more information."), std::string::npos) << bad;
        EXPECT_EQ(r.out, "");
    }
    Result help = Cli("--help");
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("--exclude-look-alikes"), std::string::npos);
    EXPECT_NE(help.out.find("Exit status: 0 done; 1 a write or system error"), std::string::npos);
    EXPECT_NE(help.out.find("2 a usage error or a refused check"), std::string::npos);
    Result version = Cli("--version");
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out.rfind("morvane-cli ", 0), 0u);
}

TEST(CommandLine, HtmlIsTheSavedDocumentAroundTheList) {
    Result r = Cli("--html -n 3 --crlf");
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.out.rfind("<html><head><meta charset=\"utf-8\"><title>Morvane Password Generator</title></head>", 0),
              0u);
    const std::string tail = "</pre></td></tr></table></body></html>\r\n";
    ASSERT_GE(r.out.size(), tail.size());
    EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail);
    size_t pre = r.out.find("<pre>") + 5;
    std::string list = r.out.substr(pre, r.out.find("</pre>") - pre);
    EXPECT_EQ(Lines(list, "\r\n").size(), 3u);
}

TEST(CommandLine, AClosedPipeEndsItQuietly) {
    Result r = Cli("-n 100000000", " | head -n 2");
    EXPECT_EQ(Lines(r.out).size(), 2u);
    EXPECT_EQ(r.err, "");  // no complaint about the broken pipe
}

TEST(CommandLine, HtmlShowsABrowserEveryPasswordAsMade) {
    for (const char* html : {"--html", "--format html", "--format=html"}) {
        SCOPED_TRACE(html);
        // Only characters that markup would take, and some beyond ASCII.
        const std::string page = testing::TempDir() + "/morvane-cli-page-" + std::to_string(getpid()) + ".htm";
        Result r = Cli(std::string(html) +
                           " -n 2000 --min 6 --max 8 --no-upper --no-lower --no-numbers --no-special --other-in '< > & ; # ! / a p t é 😀'",
                       " | tee " + page);
        ASSERT_EQ(r.code, 0) << r.err;
        std::string shown;
        {
            std::unique_ptr<FILE, int (*)(FILE*)> parser(
                popen((std::string("python3 ") + HTML_PRE_TEXT_SCRIPT + " " + page).c_str(), "r"), pclose);
            char buffer[65536];
            for (size_t n; (n = fread(buffer, 1, sizeof buffer, parser.get())) > 0;) shown.append(buffer, n);
        }
        std::remove(page.c_str());
        const std::vector<std::string> lines = Lines(shown);
        ASSERT_EQ(lines.size(), 2000u);
        const std::set<std::string> pool = {"<", ">", "&", ";", "#", "!", "/", "a", "p", "t", "é", "😀"};
        for (const std::string& line : lines) {
            size_t characters = 0;
            for (size_t at = 0; at < line.size(); ++characters) {
                size_t size = 1;
                while (at + size < line.size() && (line[at + size] & 0xC0) == 0x80) ++size;
                ASSERT_TRUE(pool.count(line.substr(at, size))) << line;
                at += size;
            }
            EXPECT_TRUE(characters >= 6 && characters <= 8) << line;
        }
    }
}

TEST(CommandLine, AFailedWriteSaysWhyAndEndsWithOne) {
    for (const char* args : {"-n 10", "--help", "--version", "-n 100000 --html"}) {
        Result r = Cli(std::string(args) + " >/dev/full");
        EXPECT_EQ(r.code, 1) << args;
        EXPECT_EQ(r.err, "morvane-cli: write error: No space left on device\n") << args;
    }
    // Past the file-size limit: a write error like any other, not a kill.
    const std::string stem = testing::TempDir() + "/morvane-cli-limited-" + std::to_string(getpid());
    const std::string command = "bash -c 'ulimit -f 1; exec " + std::string(MORVANE_CLI) + " -n 100000 >" + stem +
                                ".txt 2>" + stem + ".err'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal";
    EXPECT_EQ(WEXITSTATUS(status), 1);
    std::ifstream err(stem + ".err");
    std::string said((std::istreambuf_iterator<char>(err)), std::istreambuf_iterator<char>());
    EXPECT_EQ(said, "morvane-cli: write error: File too large\n");
    std::remove((stem + ".txt").c_str());
    std::remove((stem + ".err").c_str());
}

TEST(CommandLine, MalformedUtf8InAnOptionIsRefusedNamingTheOption) {
    // A surrogate, a code point past U+10FFFF, an overlong "!", a lead byte
    // without its continuation.
    for (const char* bytes : {"\\355\\240\\200", "\\364\\220\\200\\200", "\\300\\241", "\\342A"}) {
        for (const char* option : {"--other-in", "--other-out"}) {
            Result r = Cli(std::string(option) + " \"$(printf '" + bytes + "')\"");
            EXPECT_EQ(r.code, 2) << option << " " << bytes;
            EXPECT_EQ(r.err.rfind(std::string("morvane-cli: the value of ") + option + " is not valid UTF-8", 0), 0u)
                << r.err;
            EXPECT_EQ(r.out, "");
        }
    }
    Result fine = Cli("-n 50 --no-upper --no-lower --no-numbers --no-special --other-in 'é 😀 Ω'");
    EXPECT_EQ(fine.code, 0);
    EXPECT_EQ(Lines(fine.out).size(), 50u);
}

TEST(CommandLine, RunningOutOfMemoryGivesAMessageAndExitOneInsteadOfAnAbort) {
#ifdef MORVANE_SANITIZED
    GTEST_SKIP() << "the sanitizers reserve more address space than the limit allows";
#endif
    // A memory limit the duplicate index cannot stay within.
    const std::string err_file = testing::TempDir() + "/morvane-cli-oom.txt";
    const int status = std::system(("ulimit -v 60000; ulimit -c unlimited; cd " + testing::TempDir() + " && " +
                                    MORVANE_CLI + " --unique -n 10000000 --fixed --max 8 >/dev/null 2>" + err_file)
                                       .c_str());
    std::ifstream in(err_file);
    std::stringstream err;
    err << in.rdbuf();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_EQ(err.str(), "morvane-cli: out of memory\n");
}

TEST(CommandLine, ItsMemoryCannotBeDumpedOrReadByTheSameUser) {
    // Started as an unprivileged user, the files that expose its memory
    // belong to the superuser: the process is not dumpable.
    const std::string run_as = geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const std::string command = run_as + MORVANE_CLI + " -n 1000000000 >/dev/null & sleep 0.5; "
                                "pid=$(pgrep -n -f 'morvane-cli -n 1000000000'); "
                                "stat -c %u /proc/$pid/mem; kill $pid";
    std::unique_ptr<FILE, int (*)(FILE*)> shell(popen(command.c_str(), "r"), pclose);
    char owner[32] = {};
    ASSERT_NE(fgets(owner, sizeof owner, shell.get()), nullptr);
    EXPECT_STREQ(owner, "0\n");
}

namespace {

// A word list of `words` words, w0 to w(n-1), in a file of the test's own.
std::string WordListFile(int words) {
    const std::string path = testing::TempDir() + "/words-" + std::to_string(getpid()) + "-" +
                             std::to_string(words) + ".txt";
    std::ofstream out(path);
    for (int i = 0; i < words; ++i) out << "w" << i << "\n";
    return path;
}

}  // namespace

TEST(CommandLinePassphrases, WordsCasesDigitsAndSeparatorAsAsked) {
    Result r = Cli("--passphrase -n 200 --words 4 --separator . --case title --digits 2");
    ASSERT_EQ(r.code, 0) << r.err;
    for (const std::string& line : Lines(r.out)) {
        int words = 0, digits = 0;
        std::stringstream tokens(line);
        for (std::string token; std::getline(tokens, token, '.');) {
            if (token.size() == 1 && std::isdigit(static_cast<unsigned char>(token[0]))) {
                ++digits;
            } else {
                ++words;
                EXPECT_TRUE(std::isupper(static_cast<unsigned char>(token[0]))) << line;
                for (size_t i = 1; i < token.size(); ++i)
                    EXPECT_FALSE(std::isupper(static_cast<unsigned char>(token[i]))) << line;
            }
        }
        EXPECT_EQ(words, 4) << line;
        EXPECT_EQ(digits, 2) << line;
    }
    Result strength = Cli("--passphrase -n 1 --show-strength");
    EXPECT_EQ(strength.err, "Strength: 77.5 bits per passphrase (7772 words, 6 drawn): Good\n");
}

TEST(CommandLinePassphrases, AListOfFewerThan1024WordsIsRefused) {
    Result small = Cli("--passphrase --wordlist " + WordListFile(1023));
    EXPECT_EQ(small.code, 2);
    EXPECT_NE(small.err.find("it needs at least 1024"), std::string::npos) << small.err;
}

// Every kind of output: a unique run reaches the exact number of different
// ones, each once, and one more is refused before anything is made.
TEST(CommandLine, EveryKindsUniqueRunReachesItsExactCountAndNoFurther) {
    const std::string list = WordListFile(1024);
    const struct {
        std::string args;
        long count;
    } kinds[] = {
        {"--no-upper --no-lower --no-special -l 4", 10000},
        {"--each-type --no-upper --no-lower --no-special --other-in x -l 4", 4640},  // 11^4 - 10^4 - 1 hold both
        {"--passphrase --words 1 --wordlist " + list, 1024},
        // "w0" and "W0": 2048 forms, times 2 places x 10 digits.
        {"--passphrase --words 1 --digits 1 --case random --wordlist " + list, 40960},
        {"--passphrase --words 1 --min-word-length 9 --max-word-length 9", 1556},  // the EFF words of nine letters
        // Two consonants, one vowel, two digits: 640 passwords of one group.
        {"--pronounceable --groups 1 --other-out 'f g h j k m n p r s t v w z F G H J K M N P R S T V W Z e i o u E I O "
         "U 2 3 4 5 6 7 8 9'",
         640},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.args);
        Result all = Cli(kind.args + " --unique -n " + std::to_string(kind.count));
        ASSERT_EQ(all.code, 0) << all.err;
        const std::vector<std::string> lines = Lines(all.out);
        EXPECT_EQ(lines.size(), static_cast<size_t>(kind.count));
        EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()).size(), static_cast<size_t>(kind.count));
        Result more = Cli(kind.args + " --unique -n " + std::to_string(kind.count + 1));
        EXPECT_EQ(more.code, 2);
        EXPECT_EQ(more.out, "");
        EXPECT_EQ(more.err, "morvane-cli: --count must be at most " + std::to_string(kind.count) +
                                " with --unique: no more different passwords can be made\n");
    }
    std::remove(list.c_str());
}

namespace {

std::string TestPath(const std::string& name) { return testing::TempDir() + "/" + std::to_string(getpid()) + "-" + name; }

std::string WriteFile(const std::string& name, const std::string& bytes) {
    const std::string path = TestPath(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// 1024 words, w0 to w1023, one a line, behind `before` and with `line`
// put in as line `at` (from 1).
std::string Words(const std::string& before = "", const std::string& line = "", int at = 0) {
    std::string text = before;
    for (int i = 0; i < 1024; ++i) {
        if (i + 1 == at) text += line + "\n";
        text += "w" + std::to_string(i) + "\n";
    }
    return text;
}

}  // namespace

TEST(CommandLinePassphrases, AWordListThatIsNotARegularFileOfUtf8WordsIsRefusedSayingWhatItIs) {
    const std::string fifo = TestPath("fifo.txt");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);  // no writer: reading it would wait forever
    const std::string huge = TestPath("huge.txt");
    { std::ofstream(huge) << "w"; }
    ASSERT_EQ(truncate(huge.c_str(), (16 << 20) + 1), 0);
    const std::string utf16 = WriteFile("utf16.txt", std::string("\xFF\xFE" "w\0" "0\0" "\n\0", 8));
    const std::string bad_utf8 = WriteFile("bad.txt", Words("", "w\xC3", 3));
    const std::string escape = WriteFile("escape.txt", Words("", "w\x1b[2J", 5));
    const std::string nul = WriteFile("nul.txt", Words("", std::string("w\0x", 3), 7));
    const struct {
        std::string list, says;
    } refused[] = {
        {fifo, "The word list " + fifo + " is a pipe, not a file of words."},
        {"/dev/zero", "The word list /dev/zero is a device, not a file of words."},
        {testing::TempDir(), "The word list " + testing::TempDir() + " is a folder, not a file of words."},
        {huge, "The word list " + huge + " is larger than 16 MiB."},
        {utf16, "The word list " + utf16 + " is UTF-16 text; save it as UTF-8."},
        {bad_utf8, "The word list " + bad_utf8 + " is not UTF-8 text (line 3)."},
        {escape, "The word list " + escape + " holds a control character on line 5."},
        {nul, "The word list " + nul + " holds a NUL character on line 7."},
    };
    for (const auto& [list, says] : refused) {
        Result r = Cli("--passphrase -n 1 --wordlist '" + list + "'");
        EXPECT_EQ(r.code, 2) << list;
        EXPECT_EQ(r.err, "morvane-cli: " + says + "\n") << list;
    }
    Result separator = Cli("--passphrase -n 1 --separator \"$(printf '\\033')\"");
    EXPECT_EQ(separator.code, 2);
    EXPECT_EQ(separator.err, "morvane-cli: The separator must not hold a control character.\n");
    for (const std::string& path : {fifo, huge, utf16, bad_utf8, escape, nul}) std::remove(path.c_str());
}

TEST(CommandLinePassphrases, AByteOrderMarkIsDroppedAndStandardInputIsReadOnce) {
    const std::string marked = WriteFile("marked.txt", Words("\xEF\xBB\xBF"));
    Result all = Cli("--passphrase --words 1 --unique -n 1024 --wordlist " + marked);
    ASSERT_EQ(all.code, 0) << all.err;
    const std::vector<std::string> lines = Lines(all.out);
    const std::set<std::string> words(lines.begin(), lines.end());
    EXPECT_EQ(words.size(), 1024u);
    EXPECT_TRUE(words.count("w0"));  // the first word as it reads, without the mark
    EXPECT_EQ(all.out.find("\xEF\xBB\xBF"), std::string::npos);
    // From a pipe: the strength line and the passphrases come from one reading.
    Result piped = Cli("--passphrase --words 2 -n 3 --show-strength --wordlist - < " + marked);
    EXPECT_EQ(piped.code, 0) << piped.err;
    EXPECT_EQ(piped.err, "Strength: 20.0 bits per passphrase (1024 words, 2 drawn): Poor; 8 words make it Good\n");
    EXPECT_EQ(Lines(piped.out).size(), 3u);
    std::remove(marked.c_str());
}

TEST(CommandLine, AUniqueRunTakesMemoryForWhatItWritesNotForAllItWasAskedFor) {
#ifdef MORVANE_SANITIZED
    GTEST_SKIP() << "the sanitizers' own memory is not the program's";
#endif
    // 300 million would take 4 GiB of index; the reader stops after 100,000.
    // The peak is the shell's and its pipeline's, as they end.
    const pid_t shell = fork();
    if (shell == 0) {
        execl("/bin/sh", "sh", "-c",
              ("timeout 60 " + std::string(MORVANE_CLI) + " --unique -n 300000000 | head -n 100000 | sort -u | wc -l")
                  .c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    ASSERT_EQ(wait4(shell, &status, 0, &usage), shell);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_LT(usage.ru_maxrss, 64 * 1024) << "KiB at the peak";
}

TEST(CommandLinePassphrases, CountsAndStrengthAreOfWhatCanBeWrittenAndHowLikelyItIs) {
    // q and qaq in UPPER with the separator A: QAQAQ twice. qaq goes, so
    // 1024 words, 1024^2 different passphrases of two.
    std::string q_and_qaq = "q\nqaq\n";
    for (int i = 0; i < 1023; ++i) q_and_qaq += "w" + std::to_string(i) + "\n";
    const std::string cased = WriteFile("cased.txt", q_and_qaq);
    Result more = Cli("--passphrase --words 2 --separator A --case upper --unique -n 1048577 --wordlist " + cased);
    EXPECT_EQ(more.code, 2);
    EXPECT_EQ(more.err, "morvane-cli: --count must be at most 1048576 with --unique: no more different passwords "
                        "can be made\n");
    // A list that holds each word in two case forms is one of half the words.
    std::string doubled;
    for (int i = 0; i < 1024; ++i) doubled += "w" + std::to_string(i) + "\nW" + std::to_string(i) + "\n";
    const std::string variants = WriteFile("variants.txt", doubled);
    Result lower = Cli("--passphrase -n 1 --show-strength --wordlist " + variants);
    EXPECT_EQ(lower.err, "Strength: 60.0 bits per passphrase (1024 words, 6 drawn): Weak; 8 words make it Good\n");
    // Sixteen exclamation marks in Other: drawn sixteen times as often.
    std::string marks;
    for (int i = 0; i < 16; ++i) marks += "! ";
    Result weighted = Cli("-l 12 --no-special --other-in '" + marks + "' --each-type -n 1 --show-strength");
    EXPECT_EQ(weighted.err, "Strength: 64.9 bits per password (63 characters, 12 long): Weak\n");
    std::remove(cased.c_str());
    std::remove(variants.c_str());
}

TEST(CommandLineEachType, EveryPasswordHoldsEachTypeAndUniqueRunsReachTheExactCount) {
    Result r = Cli("--each-type -n 2000 -l 4");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Lines(r.out).size(), 2000u);
    for (const std::string& line : Lines(r.out)) {
        bool upper = false, lower = false, digit = false, special = false;
        for (unsigned char c : line) {
            upper |= std::isupper(c) != 0;
            lower |= std::islower(c) != 0;
            digit |= std::isdigit(c) != 0;
            special |= std::ispunct(c) != 0;
        }
        EXPECT_TRUE(upper && lower && digit && special) << line;
    }
    Result short_one = Cli("--each-type -l 4 --other-in x");  // five types in four characters
    EXPECT_EQ(short_one.code, 2);
    EXPECT_EQ(short_one.err, "morvane-cli: --each-type: A password of 4 characters cannot hold one of each of the 5 "
                             "chosen types.\n");
}

// What people bring from pwgen and xkcdpass: a length and a count given
// alone, the case as the window names it, and one JSON document.
TEST(CommandLine, TheLengthAndCountGivenAloneTheWindowsCaseNamesAndOneJsonDocument) {
    const Result pwgen = Cli("16 5");
    ASSERT_EQ(pwgen.code, 0) << pwgen.err;
    const std::vector<std::string> lines = Lines(pwgen.out);
    ASSERT_EQ(lines.size(), 5u);
    for (const std::string& line : lines) EXPECT_EQ(line.size(), 16u);
    for (const char* name : {"Title", "UPPER", "rAnDoM", "LOWER"})
        EXPECT_EQ(Cli(std::string("--passphrase -n 1 --case ") + name).code, 0) << name;
    const Result document = Cli("--format json -n 3 -l 12", " | python3 -c 'import json,sys; d=json.load(sys.stdin); "
                                                            "print(len(d), {len(o[\"password\"]) for o in d})'");
    EXPECT_EQ(document.out, "3 {12}\n") << document.err;
}

// Pronounceable passwords: the format, each one's exact bits, the groups,
// and what the exclusions leave empty named.
TEST(CommandLinePronounceable, TheFormatTheExactCountAndTheRefusals) {
    Result standard = Cli("--pronounceable -n 40 --format ndjson --show-strength");
    ASSERT_EQ(standard.code, 0) << standard.err;
    EXPECT_EQ(standard.err, "Strength: 70.3 bits per password (pronounceable, 3 groups of 6 letters): Weak; 4 groups "
                            "make it Good\n");
    for (const std::string& line : Lines(standard.out))
        EXPECT_NE(line.find("\"length\": 20, \"bits\": 70.30}"), std::string::npos) << line;
    Result four = Cli("--pronounceable --groups 4 -n 20");
    for (const std::string& line : Lines(four.out)) {
        EXPECT_EQ(line.size(), 27u) << line;
        EXPECT_EQ(std::count(line.begin(), line.end(), '-'), 3) << line;
    }
    EXPECT_EQ(Cli("--pronounceable --exclude-look-alikes --other-out 'a e i u'").err,
              "morvane-cli: --pronounceable: no vowel is left to say after --exclude-look-alikes and --other-out\n");
}

// Passphrases to a recipe: each gap draws its separator from a set, words
// of the lengths asked for, and the strength following.
TEST(CommandLinePassphrases, ARecipesSeparatorsAndWordLengthsWithTheirCountsAndRefusals) {
    Result mixed = Cli("--passphrase --words 3 --separators '0123456789!#%' -n 300 --show-strength");
    ASSERT_EQ(mixed.code, 0) << mixed.err;
    EXPECT_EQ(mixed.err, "Strength: 46.2 bits per passphrase (7776 words, 3 drawn, 13 separators): Weak; 5 words make it "
                         "Good\n");
    std::set<char> between;
    for (const std::string& line : Lines(mixed.out)) {
        const std::vector<std::string> words = [&] {
            std::vector<std::string> parts(1);
            for (char c : line) {
                if (std::string("0123456789!#%").find(c) != std::string::npos) between.insert(c), parts.emplace_back();
                else parts.back() += c;
            }
            return parts;
        }();
        EXPECT_EQ(words.size(), 3u) << line;
    }
    EXPECT_EQ(between.size(), 13u);  // each character of the set comes
    for (const std::string& word : Lines(Cli("--passphrase --words 1 --min-word-length 9 --max-word-length 9 -n 50").out))
        EXPECT_EQ(word.size(), 9u) << word;
    EXPECT_EQ(Cli("--passphrase --min-word-length 10").err,
              "morvane-cli: Only 0 words of the list are at least 10 characters long; at least 1024 are needed.\n");
}
