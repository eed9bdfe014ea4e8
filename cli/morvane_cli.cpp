// morvane-cli: passwords from the command line, made with the window's rules
// and written as they are made.
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <optional>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string.h>
#include <string>

#include "cli/cli_options.h"
#include "engine/character_pool.h"
#include "engine/duplicate_index.h"
#include "engine/password_maker.h"
#include "engine/each_type_rule.h"
#include "engine/passphrase_maker.h"
#include "engine/strength.h"
#include "options/generation_choice.h"
#include "options/strength_line.h"
#include "output/html_document.h"
#include "platform/process_guard.h"
#include "platform/wiped_memory.h"
#include "platform/runtime_error.h"

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

// The options as the window's fields would hold them, for the strength line.
OptionValues ToOptionValues(const CliOptions& o) {
    OptionValues values;
    values.upper = o.pool.upper;
    values.lower = o.pool.lower;
    values.letters = o.pool.upper || o.pool.lower;
    values.numbers = o.pool.numbers;
    values.special = o.pool.special;
    values.other_in = o.pool.other_in;
    values.other_in_text = o.pool.other_in_text;
    values.min_length = Ascii(std::to_string(o.min_length));
    values.max_length = Ascii(std::to_string(o.max_length));
    values.count = Ascii(std::to_string(o.count));
    return values;
}

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

// The password as a JSON string, every character that JSON requires
// escaped; characters beyond ASCII stay as UTF-8.
void AppendJsonString(std::string& out, std::string_view utf8) {
    out += '"';
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    out += '"';
}

}  // namespace

static int Run(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);  // a closed pipe shows up as EPIPE
    CliOptions options;
    std::string error = ParseCliOptions(std::vector<std::string>(argv + 1, argv + argc), options);
    if (!error.empty()) return UsageError(error);
    Output out;
    if (options.help || options.version) {
        out.Add(options.help ? std::string(kCliUsage) : std::string("morvane-cli ") + MORVANE_VERSION + "\n");
        out.Flush();
        return kExitDone;
    }
    const GenerationChoice& generation = options.generation;
    const int min_length = options.min_length, max_length = options.max_length;
    const int32_t count = options.count;
    const bool variable = !options.fixed;
    Pool pool;
    std::optional<PasswordMaker> maker;
    std::optional<EachTypeRule> rule;
    std::optional<PassphraseMaker> phrases;
    OutputCount possible;  // different outputs in all
    std::function<double(size_t)> bits_of;  // a password's bits by its length
    if (generation.passphrases) {
        std::string problem;
        const auto words = LoadWords(generation, problem);
        if (words) problem = PassphraseProblem(*words, generation.passphrase);
        if (!problem.empty()) return Refuse(problem);
        possible = CountPassphrases(*words, generation.passphrase);
        phrases.emplace(*words, generation.passphrase);
        bits_of = [bits = possible.bits](size_t) { return bits; };
    } else {
        switch (BuildPool(options.pool, pool)) {
            case PoolOutcome::kBuilt: break;
            case PoolOutcome::kEmptiedByExclusion:
                return Refuse("--other-out and --exclude-look-alikes leave no character to choose from");
            case PoolOutcome::kTooLarge:
                return Refuse("--other-in gives more than " + std::to_string(kMaxPoolEntries) + " characters");
            case PoolOutcome::kNothingToDrawFrom:
                return Refuse("no character to choose from: every character type is turned off");
        }
        maker.emplace(pool, min_length, max_length, variable);
        if (generation.each_type) {
            rule.emplace(options.pool, pool);
            if (std::string problem = rule->Problem(min_length, max_length, variable); !problem.empty())
                return Refuse("--each-type: " + problem);
            for (int length = variable ? min_length : max_length; length <= max_length; ++length)
                possible = possible + rule->Count(length);
            bits_of = [&rule](size_t length) { return rule->Count(static_cast<int>(length)).bits; };
        } else {
            possible = OutputCount::Of(MaxPossiblePasswords(CountDistinct(pool), min_length, max_length, variable));
            bits_of = [per = BitsPerCharacter(pool)](size_t length) { return per * static_cast<double>(length); };
        }
    }
    if (options.show_strength) {
        std::fprintf(stderr, "%s\n", DescribeStrength(ToOptionValues(options), options.pool, variable, generation)
                                         .text.c_str());
    }
    if (options.unique && possible.AsRunCount() < count)
        return Refuse("--count must be at most " + std::to_string(possible.AsRunCount()) +
                      " with --unique: no more different passwords can be made");

    const std::string line_end = options.null_terminated ? std::string(1, '\0') : options.crlf ? "\r\n" : "\n";
    if (options.html) out.Add(HtmlDocumentHead());
    std::string& buffer = out.buffer();
    // Ends the password written from `start` on: escaped for the page when
    // it goes into one, as a JSON object for ndjson.
    const bool rewrite = options.html || options.format == OutputFormat::kNdjson;
    const auto end_line = [&](size_t start) {
        if (rewrite) {
            std::string made = buffer.substr(start);
            buffer.resize(start);
            if (options.format == OutputFormat::kNdjson) {
                const size_t length = FromUtf8(made).size();
                buffer += "{\"password\": ";
                AppendJsonString(buffer, made);
                char number[64];
                const auto written =
                    std::to_chars(number, number + sizeof number, bits_of(length), std::chars_format::fixed, 2);
                buffer += ", \"length\": " + std::to_string(length) + ", \"bits\": ";
                buffer.append(number, written.ptr);
                buffer += '}';
            } else {
                AppendHtmlEscaped(buffer, made);
            }
            ::explicit_bzero(made.data(), made.size());
        }
        buffer += line_end;
        out.MaybeFlush();
    };
    if (!options.unique) {
        // The fast path: straight into the output, a password that misses a
        // chosen type taken back and drawn again.
        for (int32_t i = 0; i < count; ++i) {
            const size_t start = buffer.size();
            if (phrases) {
                phrases->AppendUtf8(buffer);
            } else {
                maker->AppendUtf8(buffer);
                while (rule && !rule->AcceptsUtf8(std::string_view(buffer).substr(start))) {
                    ::explicit_bzero(buffer.data() + start, buffer.size() - start);
                    buffer.resize(start);
                    maker->AppendUtf8(buffer);
                }
            }
            end_line(start);
        }
    } else if (!phrases && !rule && !rewrite) {
        // Unique passwords: a password is written, and taken back when its
        // key is already in the index. The keys of a few passwords ahead are
        // known before their slots are needed, so the table's memory is
        // fetched while the next ones are made.
        DuplicateIndex index;  // compact keys only: the passwords themselves are written and gone
        index.Reserve(static_cast<size_t>(count));
        constexpr int kAhead = 32;
        struct Made {
            size_t start, end;
            DuplicateIndex::Key key;
        };
        for (int32_t done = 0; done < count;) {
            Made made[kAhead];
            const int batch = static_cast<int>(std::min<int64_t>(kAhead, count - done));
            for (int b = 0; b < batch; ++b) {
                const size_t start = buffer.size();
                maker->AppendUtf8(buffer);
                made[b] = {start, buffer.size(), DuplicateIndex::KeyOfUtf8(std::string_view(buffer).substr(start))};
                index.Prefetch(made[b].key);
                buffer += line_end;
            }
            // Kept in order; a repeat is cut out of the buffer.
            size_t write = made[0].start;
            for (int b = 0; b < batch; ++b) {
                const size_t line = made[b].end - made[b].start + line_end.size();
                if (index.InsertKey(made[b].key)) {
                    if (write != made[b].start) std::memmove(buffer.data() + write, buffer.data() + made[b].start, line);
                    write += line;
                    ++done;
                }
            }
            ::explicit_bzero(buffer.data() + write, buffer.size() - write);
            buffer.resize(write);
            out.MaybeFlush();
        }
    } else {
        DuplicateIndex index;  // compact keys only: the passwords themselves are written and gone
        index.Reserve(static_cast<size_t>(count));
        Text password;
        const auto make = [&] {
            if (phrases) return phrases->Make(password);
            do maker->Make(password);
            while (rule && !rule->Accepts(password));
        };
        for (int32_t i = 0; i < count; ++i) {
            do make();
            while (options.unique && !index.Insert(password));
            const size_t start = buffer.size();
            AppendUtf8(buffer, password);
            end_line(start);
        }
    }
    if (options.html) {
        out.Add(HtmlDocumentTail());
        out.Add(line_end);
    }
    out.Flush();
    return kExitDone;
}

int main(int argc, char** argv) {
    GuardProcess("morvane-cli");
    return Run(argc, argv);
}
