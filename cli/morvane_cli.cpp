// morvane-cli: passwords from the command line, made with the window's rules
// and written as they are made.
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <optional>
#include <string.h>
#include <string>

#include "cli/clipboard_copy.h"
#include "cli/password_hash.h"
#include "cli/user_list.h"
#include "options/cli_options.h"
#include "engine/generator.h"
#include "engine/word_list_file.h"
#include "options/built_in_profiles.h"
#include "options/profile_settings.h"
#include "options/profile_store.h"
#include "options/site_tables.h"
#include "options/strength_line.h"
#include "output/output_formats.h"
#include "output/qr_code.h"
#include "platform/base/atomic_file.h"
#include "platform/base/process_guard.h"
#include "platform/base/wiped_memory.h"
#include "platform/base/runtime_error.h"
#include "platform/base/write_all.h"

using namespace morvane;

namespace {

constexpr int kSystemError = kExitSystemError;
static_assert(kExitSystemError == kSystemFailureExit);

// Standard output in large blocks. A reader that went away ends the program
// quietly; any other failed write ends it with the reason.
class Output {
public:
    void Add(const std::string& s) {
        buffer_ += s;
        MaybeFlush();
    }
    std::string& buffer() { return buffer_; }
    void MaybeFlush() {
        if (buffer_.size() >= kBlock) Flush();
    }
    void Flush() {
        if (const int error = WriteAll(STDOUT_FILENO, buffer_); error != 0) {
            if (error == EPIPE) std::_Exit(0);
            std::fprintf(stderr, "morvane-cli: write error: %s\n", std::strerror(error));
            std::_Exit(kSystemError);
        }
        ::explicit_bzero(buffer_.data(), buffer_.size());  // the passwords leave no copy behind
        buffer_.clear();
    }
    ~Output() { Wipe(buffer_); }

private:
    static constexpr size_t kBlock = 1 << 16;
    std::string buffer_;
};

// A usage error: its line, and where to read how it is used.
int UsageError(const std::string& message) {
    std::fprintf(stderr, "morvane-cli: %s\nTry 'morvane-cli --help' for more information.\n", message.c_str());
    return kExitUsage;
}

// A check that refuses the options as given.
int Refuse(const std::string& message) {
    std::fprintf(stderr, "morvane-cli: %s\n", message.c_str());
    return kExitUsage;
}

// The options given that leave characters out, as a refusal names them:
// "--exclude-look-alikes and --other-out".
std::string ExclusionsNamed(const CliOptions& options) {
    std::string named;
    for (const std::string& exclusion : options.exclusions_given) named += (named.empty() ? "" : " and ") + exclusion;
    return named.empty() ? "the exclusions" : named;
}

// Why the generator refuses the options, naming the options given.
std::string RefusalLine(const CliOptions& options, const Generator& generator) {
    switch (generator.refusal()) {
        case GeneratorRefusal::kNone: break;
        case GeneratorRefusal::kWordListRefused: return generator.problem();
        case GeneratorRefusal::kEachTypeImpossible: return "--each-type: " + generator.problem();
        case GeneratorRefusal::kNothingToSay:
            return "--pronounceable: " + generator.problem() + " after " + ExclusionsNamed(options);
        case GeneratorRefusal::kEmptiedByExclusion:
            return ExclusionsNamed(options) + (options.exclusions_given.size() == 1 ? " leaves" : " leave") +
                   " no character to choose from";
        case GeneratorRefusal::kPoolTooLarge:
            return "--other-in gives more than " + std::to_string(kMaxPoolEntries) + " characters";
        case GeneratorRefusal::kNothingToDrawFrom:
            return "no character to choose from: every character type is turned off";
        case GeneratorRefusal::kRuleRefused:
            return (options.site.empty() ? std::string("--rules: ") : "--site " + options.site + ": ") +
                   generator.problem();
        case GeneratorRefusal::kTooFewPossible:
            return "--count must be at most " + std::to_string(generator.possible().AsRunCount()) +
                   " with --unique: no more different passwords can be made";
    }
    return {};
}

// The refusal when a unique run found no further different password.
int NoFurtherPassword(Output& out, int32_t done) {
    out.Flush();
    return Refuse("--unique: no further different password was found after " + std::to_string(done) +
                  ": no more than that many can be made with these options");
}

// Rewrites the lines from `start` on (each output ending at `ends`, its
// line end behind it) in the format, each password as the format writes it.
void RewriteLines(const OutputFormatEntry& format, const Generator& generator, std::string& buffer, size_t start,
                  const size_t* ends, int lines, std::string_view line_end, std::string& made, bool first_of_run) {
    made.assign(buffer, start, std::string::npos);
    ::explicit_bzero(buffer.data() + start, buffer.size() - start);
    buffer.resize(start);
    size_t from = 0;
    for (int i = 0; i < lines; ++i) {
        const size_t end = ends[i] - start;
        const std::string_view password = std::string_view(made).substr(from, end - from);
        if (!(first_of_run && i == 0)) buffer += format.between;
        format.append_password(buffer, password, generator.BitsOf(FromUtf8(password).size()));
        buffer += line_end;
        from = end + line_end.size();
    }
    ::explicit_bzero(made.data(), made.size());
    made.clear();
}

// The profiles, one a line: the name, built-in or own, what it makes and its
// strength, separated by tabs.
int ListProfiles(Output& out, const ProfileFile& own, const SiteTables& tables) {
    const auto line = [&](const std::string& name, const char* kind, const ProfileOptions& profile) {
        GenerationSettings settings;
        std::string what = SettingsOfProfile(profile, tables, settings);
        std::string strength;
        if (what.empty()) {
            what = DescribeMaking(settings);
            strength = DescribeStrength(settings).text;
            if (strength.rfind("Strength: ", 0) == 0) strength.erase(0, 10);
        }
        out.Add(name + "\t" + kind + "\t" + what + "\t" + strength + "\n");
    };
    for (const BuiltInProfile& profile : BuiltInProfiles()) line(profile.name, "built-in", profile.options);
    for (const Profile& profile : own.profiles) line(profile.name, "own", profile.options);
    out.Flush();
    return kExitDone;
}

// What --save-profile keeps: the options given, a word list by its whole
// path, so that the profile means the same from any folder.
int SaveGivenAsProfile(const CliOptions& options) {
    ProfileOptions kept = options.kept;
    for (ProfileOption& option : kept) {
        if (option.name != "wordlist") continue;
        if (option.value == kStandardInputName)
            return Refuse("--save-profile cannot keep --wordlist -: a profile cannot read standard input");
        std::error_code error;
        const std::filesystem::path whole = std::filesystem::absolute(option.value, error);
        if (!error) option.value = whole.lexically_normal().string();
    }
    if (std::string problem = SaveProfile(*options.save_profile, kept); !problem.empty())
        return Refuse("--save-profile " + *options.save_profile + ": " + problem);
    return kExitDone;
}

// The run's next password as UTF-8, nothing of it left in the text it was
// made in; false when --unique finds no further different one.
bool NextUtf8(Generator& generator, std::string& password) {
    Text made;
    const bool found = generator.Next(made);
    password = ToUtf8(made);
    Wipe(made);
    return found;
}

// --copy: the run's first password onto the clipboard, and a note of when
// it leaves it.
int CopyFirst(const CliOptions& options, Generator& generator) {
    std::string utf8;
    NextUtf8(generator, utf8);  // the run's first: always a new one
    const CopyResult copy = CopyToClipboard(utf8, options.clear_after);
    Wipe(utf8);
    if (!copy.copied) {
        std::fprintf(stderr, "morvane-cli: --copy: the password could not be put on the clipboard: %s\n",
                     copy.problem.c_str());
        return kSystemError;
    }
    if (copy.delay_seconds == 0) {
        std::fprintf(stderr, "morvane-cli: the password is on the clipboard, to stay there.\n");
        return kExitDone;
    }
    const std::time_t clears = std::time(nullptr) + copy.delay_seconds;
    char at[16];
    std::strftime(at, sizeof at, "%H:%M:%S", std::localtime(&clears));
    std::fprintf(stderr, "morvane-cli: the password is on the clipboard until %s (%d %s).\n", at,
                 copy.delay_seconds, copy.delay_seconds == 1 ? "second" : "seconds");
    return kExitDone;
}

// The hash method and cost asked for, checked.
std::optional<HashChoice> HashChoiceOf(const CliOptions& options, std::string& problem) {
    const std::optional<HashMethod> method = HashMethodNamed(options.hash);
    if (!method) {
        problem = "--hash must be " + HashMethodNames();
        return std::nullopt;
    }
    HashChoice choice;
    choice.method = *method;
    if (options.hash_cost) {
        problem = HashCostProblem(choice.method, *options.hash_cost);
        if (!problem.empty()) return std::nullopt;
        choice.cost = static_cast<int>(*options.hash_cost);
    }
    return choice;
}

// The password's hash; a password longer than the method reads is refused
// rather than hashed in part.
bool Hashed(const std::string& password, const HashChoice& choice, std::string& hash, std::string& problem) {
    if (const size_t most = HashReadsAtMost(choice.method); most != 0 && password.size() > most) {
        problem = "--hash bcrypt reads only the first " + std::to_string(most) + " bytes of a password, and one of " +
                  std::to_string(password.size()) + " was made: give --max or -l " + std::to_string(most) +
                  " or less, or another --hash";
        return false;
    }
    hash = HashPassword(password, choice, problem);
    return !hash.empty();
}

// --hash: each password, and its hash, as the format writes them: a tab
// between them in text, a "hash" member in ndjson, and with --null each a
// field of its own.
int WriteWithHashes(const CliOptions& options, Generator& generator, const HashChoice& choice, Output& out,
                    const std::string& line_end) {
    const bool ndjson = options.format == OutputFormat::kNdjson;
    std::string password, hash, problem;
    for (int32_t done = 0; done < options.settings.count; ++done) {
        if (!NextUtf8(generator, password)) {
            Wipe(password);
            return NoFurtherPassword(out, done);
        }
        if (!Hashed(password, choice, hash, problem)) {
            Wipe(password);
            out.Flush();
            return Refuse(problem);
        }
        std::string& buffer = out.buffer();
        if (ndjson) {
            FormatEntry(OutputFormat::kNdjson).append_password(buffer, password,
                                                               generator.BitsOf(FromUtf8(password).size()));
            buffer.pop_back();  // the object's closing brace, after which the hash goes in
            buffer += ", \"hash\": \"" + hash + "\"}";
        } else {
            buffer += password;
            buffer += options.null_terminated ? std::string(1, '\0') : std::string("\t");
            buffer += hash;
        }
        buffer += line_end;
        Wipe(password);
        out.MaybeFlush();
    }
    out.Flush();
    return kExitDone;
}

// --for-users: a password for each user named; user:hash lines on standard
// output, and user:password lines into a new file, written whole or not at
// all before anything is written out.
int ProvisionUsers(const CliOptions& options, Generator& generator, const HashChoice& choice,
                   const std::vector<std::string>& users, Output& out) {
    std::string passwords, hashes, password, hash, problem;
    for (size_t done = 0; done < users.size(); ++done) {
        const std::string& user = users[done];
        const bool found = NextUtf8(generator, password);
        if (!found || !Hashed(password, choice, hash, problem)) {
            Wipe(password);
            Wipe(passwords);
            return found ? Refuse(problem) : NoFurtherPassword(out, static_cast<int32_t>(done));
        }
        passwords += user;  // piece by piece: no unwiped temporary holds the password
        passwords += ':';
        passwords += password;
        passwords += '\n';
        hashes += user + ":" + hash + "\n";
        Wipe(password);
    }
    problem = WriteFileWhole(options.passwords_to, passwords, {.existing = WholeFileWrite::Existing::kRefuse});
    Wipe(passwords);
    if (!problem.empty()) return Refuse("--passwords-to " + options.passwords_to + ": " + problem);
    out.Add(hashes);
    out.Flush();
    return kExitDone;
}

// --qr: the first password as a QR code (or the Wi-Fi join code made
// with it), the password itself only when asked.
int DrawQr(const CliOptions& options, Generator& generator, Output& out) {
    std::string password;
    NextUtf8(generator, password);  // the run's first: always a new one
    std::string text = options.qr_wifi ? WifiJoinText(*options.qr_wifi, password) : password;
    QrCode code = EncodeQr(text);
    Wipe(text);
    if (code.size == 0) {
        Wipe(password);
        return Refuse("--qr: the password is too long for a QR code");
    }
    std::string drawn = QrAsHalfBlocks(code);
    WipeQr(code);
    out.Add(drawn);
    Wipe(drawn);
    if (options.qr_text) {
        out.buffer() += password;
        out.buffer() += '\n';
    }
    Wipe(password);
    out.Flush();
    return kExitDone;
}

}  // namespace

static int Run(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);  // a closed pipe shows up as EPIPE
    std::signal(SIGXFSZ, SIG_IGN);  // and the file-size limit as EFBIG
    // The user's profiles are read when an option asks for them; a file
    // that does not read well is refused, and left as it is.
    std::optional<ProfileFile> own;
    ProfileProblem unread;
    bool read = false;
    const auto own_profiles = [&]() -> const std::optional<ProfileFile>& {
        if (!read) own = LoadProfiles(unread);
        read = true;
        return own;
    };
    const ProfileFinder profiles = [&](const std::string& name, std::string& problem) -> std::optional<ProfileOptions> {
        if (!FindBuiltInProfile(name) && !own_profiles()) return std::nullopt;
        return FindProfileIn(own ? *own : ProfileFile{})(name, problem);
    };
    CliOptions options;
    std::string error = ParseCliOptions(std::vector<std::string>(argv + 1, argv + argc), options, profiles);
    if (read && !own) return Refuse(unread.Text());
    if (!error.empty()) return UsageError(error);
    Output out;
    if (options.help || options.version) {
        out.Add(options.help ? CliUsage() : std::string("morvane-cli ") + MORVANE_VERSION + "\n");
        out.Flush();
        return kExitDone;
    }
    if (options.save_profile) return SaveGivenAsProfile(options);
    if (options.delete_profile) {
        if (std::string problem = DeleteProfile(*options.delete_profile); !problem.empty())
            return Refuse("--delete-profile " + *options.delete_profile + ": " + problem);
        return kExitDone;
    }
    SiteFound site_found;
    if (options.list_sites || options.list_profiles || !options.site.empty()) {
        std::string problem;
        const SiteTables tables = LoadSiteTables(problem);
        if (!problem.empty()) return Refuse(problem);
        if (options.list_profiles) {
            if (!own_profiles()) return Refuse(unread.Text());
            return ListProfiles(out, *own, tables);
        }
        if (options.list_sites) {  // with the page where the password is changed, where it is known
            for (const std::string& site : KnownSites(tables)) {
                const std::string& page = FindSite(site, tables).change_page;
                out.Add(site + (page.empty() ? "" : "\t" + page) + "\n");
            }
            out.Flush();
            return kExitDone;
        }
        std::string note;
        if (std::string refused = TakeSiteRule(options, tables, note); !refused.empty()) return Refuse(refused);
        if (!note.empty()) std::fprintf(stderr, "morvane-cli: %s\n", note.c_str());
        site_found = FindSite(options.site, tables);
    }
    if (options.settings.passphrases()) {  // read once: standard input can be read only once
        std::string problem;
        auto words = LoadWords(options.settings, problem);
        if (!words) return Refuse(problem);
        options.settings.read_words = std::make_shared<const std::vector<Text>>(std::move(*words));
    }
    if (options.copy && !DesktopToCopyTo())
        return Refuse("--copy needs a desktop to copy to: neither DISPLAY nor WAYLAND_DISPLAY is set");
    if (options.qr == CliOptions::QrDrawing::kOnTerminal && !::isatty(STDOUT_FILENO))
        return Refuse("--qr draws on a terminal, and standard output is not one: give --qr=force to write it anyway");
    std::optional<HashChoice> hash_choice;
    if (!options.hash.empty()) {
        std::string problem;
        hash_choice = HashChoiceOf(options, problem);
        if (!hash_choice) return Refuse(problem);
    }
    std::vector<std::string> users;
    if (!options.for_users.empty()) {
        std::string problem;
        users = ReadUserNames(options.for_users, problem);
        if (users.empty()) return Refuse("--for-users " + problem);
        if (users.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
            return Refuse("--for-users names more users than one run makes");
        options.settings.count = static_cast<int32_t>(users.size());
    }
    Generator generator(options.settings);
    if (!generator.ready()) return Refuse(RefusalLine(options, generator));
    if (generator.rule_choice() && options.site.empty())  // a rule the user typed
        for (const std::string& note : generator.rule_choice()->rule.notes)
            std::fprintf(stderr, "morvane-cli: note: the rule: %s\n", note.c_str());
    if (options.show_strength) {
        std::fprintf(stderr, "%s\n", DescribeStrength(options.settings).Shown().c_str());
        if (site_found.code_after_password)
            std::fprintf(stderr, "%s wants the one-time code typed after the password.\n",
                         HostOf(options.site).c_str());
        if (!site_found.change_page.empty()) std::fprintf(stderr, "Change it at: %s\n", site_found.change_page.c_str());
    }

    const std::string line_end = options.null_terminated ? std::string(1, '\0') : options.crlf ? "\r\n" : "\n";
    if (options.qr != CliOptions::QrDrawing::kNone) return DrawQr(options, generator, out);
    if (!users.empty()) return ProvisionUsers(options, generator, *hash_choice, users, out);
    if (hash_choice) return WriteWithHashes(options, generator, *hash_choice, out, line_end);
    const OutputFormatEntry& format = FormatEntry(options.format);
    out.Add(format.head());
    std::string& buffer = out.buffer();
    std::string made;  // the lines a format rewrites, while it does
    const int32_t count = options.settings.count;
    int32_t done = 0;
    if (options.copy) {
        if (const int copied = CopyFirst(options, generator); copied != kExitDone) return copied;
        done = 1;
    }
    while (done < count) {
        const int lines = static_cast<int>(std::min<int64_t>(Generator::kLinesAtOnce, count - done));
        const size_t start = buffer.size();
        size_t ends[Generator::kLinesAtOnce];
        const int kept = generator.AppendLinesUtf8(buffer, lines, line_end, format.append_password ? ends : nullptr);
        if (kept == Generator::kNoFurther) return NoFurtherPassword(out, done);
        if (format.append_password) RewriteLines(format, generator, buffer, start, ends, kept, line_end, made, done == 0);
        done += kept;
        out.MaybeFlush();
    }
    if (const std::string tail = format.tail(); !tail.empty()) {
        out.Add(tail);
        out.Add(line_end);
    }
    out.Flush();
    return kExitDone;
}

int main(int argc, char** argv) {
    GuardProcess("morvane-cli");
    return Run(argc, argv);
}
