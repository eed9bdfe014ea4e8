// morvane-cli: passwords from the command line, made with the window's rules
// and written as they are made.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string.h>
#include <string>

#include "cli/cli_options.h"
#include "engine/generator.h"
#include "engine/word_list_file.h"
#include "options/site_tables.h"
#include "options/strength_line.h"
#include "output/output_formats.h"
#include "platform/base/process_guard.h"
#include "platform/base/wiped_memory.h"
#include "platform/base/runtime_error.h"

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
        size_t done = 0;
        while (done < buffer_.size()) {
            ssize_t n = ::write(STDOUT_FILENO, buffer_.data() + done, buffer_.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno == EPIPE) std::_Exit(0);
            if (n <= 0) {
                std::fprintf(stderr, "morvane-cli: write error: %s\n", std::strerror(n < 0 ? errno : EIO));
                std::_Exit(kSystemError);
            }
            done += static_cast<size_t>(n);
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

// Why the generator refuses the options, naming the options given.
std::string RefusalLine(const CliOptions& options, const Generator& generator) {
    switch (generator.refusal()) {
        case GeneratorRefusal::kNone: break;
        case GeneratorRefusal::kWordListRefused: return generator.problem();
        case GeneratorRefusal::kEachTypeImpossible: return "--each-type: " + generator.problem();
        case GeneratorRefusal::kEmptiedByExclusion:
            return options.exclusions_given + (options.exclusions_given.find(" and ") != std::string::npos
                                                   ? " leave no character to choose from"
                                                   : " leaves no character to choose from");
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
                  const size_t* ends, int lines, std::string_view line_end, std::string& made) {
    made.assign(buffer, start, std::string::npos);
    ::explicit_bzero(buffer.data() + start, buffer.size() - start);
    buffer.resize(start);
    size_t from = 0;
    for (int i = 0; i < lines; ++i) {
        const size_t end = ends[i] - start;
        const std::string_view password = std::string_view(made).substr(from, end - from);
        format.append_password(buffer, password, generator.BitsOf(FromUtf8(password).size()));
        buffer += line_end;
        from = end + line_end.size();
    }
    ::explicit_bzero(made.data(), made.size());
    made.clear();
}

}  // namespace

static int Run(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);  // a closed pipe shows up as EPIPE
    std::signal(SIGXFSZ, SIG_IGN);  // and the file-size limit as EFBIG
    CliOptions options;
    std::string error = ParseCliOptions(std::vector<std::string>(argv + 1, argv + argc), options);
    if (!error.empty()) return UsageError(error);
    Output out;
    if (options.help || options.version) {
        out.Add(options.help ? std::string(kCliUsage) : std::string("morvane-cli ") + MORVANE_VERSION + "\n");
        out.Flush();
        return kExitDone;
    }
    if (options.list_sites || !options.site.empty()) {
        std::string problem;
        const SiteTables tables = LoadSiteTables(problem);
        if (!problem.empty()) return Refuse(problem);
        if (options.list_sites) {
            for (const std::string& site : KnownSites(tables)) out.Add(site + "\n");
            out.Flush();
            return kExitDone;
        }
        if (const auto found = LookUpSite(options.site, tables.own, tables.bundled)) {
            if (!options.decided_by_a_rule.empty())
                return Refuse("--site " + options.site + ": " + options.decided_by_a_rule + " does not apply: " +
                              found->first + "'s rule decides which characters a password holds");
            options.settings.mode = GenerationMode::kSiteRules;
            options.settings.rules = found->second.rule;
            options.settings.site = found->first;
        } else {
            std::fprintf(stderr, "morvane-cli: no password rule is known for %s: the other options apply as they are\n",
                         HostOf(options.site).c_str());
        }
    }
    if (options.settings.passphrases()) {  // read once: standard input can be read only once
        std::string problem;
        auto words = LoadWords(options.settings, problem);
        if (!words) return Refuse(problem);
        options.settings.read_words = std::make_shared<const std::vector<Text>>(std::move(*words));
    }
    Generator generator(options.settings);
    if (!generator.ready()) return Refuse(RefusalLine(options, generator));
    if (options.show_strength) std::fprintf(stderr, "%s\n", DescribeStrength(options.settings).text.c_str());

    const OutputFormatEntry& format = FormatEntry(options.format);
    const std::string line_end = options.null_terminated ? std::string(1, '\0') : options.crlf ? "\r\n" : "\n";
    out.Add(format.head());
    std::string& buffer = out.buffer();
    std::string made;  // the lines a format rewrites, while it does
    const int32_t count = options.settings.count;
    for (int32_t done = 0; done < count;) {
        const int lines = static_cast<int>(std::min<int64_t>(Generator::kLinesAtOnce, count - done));
        const size_t start = buffer.size();
        size_t ends[Generator::kLinesAtOnce];
        const int kept = generator.AppendLinesUtf8(buffer, lines, line_end, format.append_password ? ends : nullptr);
        if (kept == Generator::kNoFurther) return NoFurtherPassword(out, done);
        if (format.append_password) RewriteLines(format, generator, buffer, start, ends, kept, line_end, made);
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
