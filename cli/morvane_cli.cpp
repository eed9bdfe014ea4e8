// morvane-cli: passwords from the command line, made with the window's rules
// and written as they are made.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string.h>
#include <string>

#include "cli/cli_options.h"
#include "cli/cli_generator.h"
#include "engine/duplicate_index.h"
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

// Ends the output written into `buffer` from `start` on with its line end:
// escaped for the page when it goes into one, as a JSON object for ndjson.
class LineEnder {
public:
    LineEnder(const CliOptions& options, const CliGenerator& generator)
        : options_(options),
          generator_(generator),
          line_end_(options.null_terminated ? std::string(1, '\0') : options.crlf ? "\r\n" : "\n"),
          rewrite_(options.html || options.format == OutputFormat::kNdjson) {}
    const std::string& line_end() const { return line_end_; }
    bool rewrites() const { return rewrite_; }

    void End(std::string& buffer, size_t start) const {
        if (rewrite_) {
            std::string made = buffer.substr(start);
            buffer.resize(start);
            if (options_.format == OutputFormat::kNdjson) AppendJsonLine(buffer, made);
            else AppendHtmlEscaped(buffer, made);
            ::explicit_bzero(made.data(), made.size());
        }
        buffer += line_end_;
    }

private:
    void AppendJsonLine(std::string& buffer, const std::string& made) const {
        const size_t length = FromUtf8(made).size();
        buffer += "{\"password\": ";
        AppendJsonString(buffer, made);
        char number[64];
        const auto written =
            std::to_chars(number, number + sizeof number, generator_.bits_of(length), std::chars_format::fixed, 2);
        buffer += ", \"length\": " + std::to_string(length) + ", \"bits\": ";
        buffer.append(number, written.ptr);
        buffer += '}';
    }

    const CliOptions& options_;
    const CliGenerator& generator_;
    const std::string line_end_;
    const bool rewrite_;
};

// Where line `i` of those made from `first` on starts, each password ending
// at `ends` with its line end behind it.
size_t LineStart(size_t first, const size_t* ends, int i, size_t line_end_size) {
    return i == 0 ? first : ends[i - 1] + line_end_size;
}

// Cuts the lines that miss a chosen type out of those made from `start`
// on (each password ends at `ends`, its line end behind it); returns how
// many are kept. The next lines drawn take the place of those cut out.
int KeepLinesWithEachType(const EachTypeRule& rule, std::string& buffer, size_t start, const size_t* ends, int lines,
                          size_t line_end_size) {
    size_t write = start;
    int kept = 0;
    for (int i = 0; i < lines; ++i) {
        const size_t from = LineStart(start, ends, i, line_end_size);
        if (!rule.AcceptsUtf8(std::string_view(buffer).substr(from, ends[i] - from))) continue;
        const size_t line = ends[i] + line_end_size - from;
        if (write != from) std::memmove(buffer.data() + write, buffer.data() + from, line);
        write += line;
        ++kept;
    }
    ::explicit_bzero(buffer.data() + write, buffer.size() - write);
    buffer.resize(write);
    return kept;
}

// Plain passwords straight into the output, a group of lines at a time.
void WritePasswords(CliGenerator& generator, int32_t count, const std::string& line_end, Output& out) {
    std::string& buffer = out.buffer();
    for (int32_t done = 0; done < count;) {
        const int lines = static_cast<int>(std::min<int64_t>(PasswordMaker::kLinesAtOnce, count - done));
        const size_t start = buffer.size();
        size_t ends[PasswordMaker::kLinesAtOnce];
        generator.maker->AppendLinesUtf8(buffer, lines, line_end, ends);
        done += generator.rule
                    ? KeepLinesWithEachType(*generator.rule, buffer, start, ends, lines, line_end.size())
                    : lines;
        out.MaybeFlush();
    }
}

// Passwords made ahead of their turn, with their keys.
class MadeAhead {
public:
    static constexpr int kSize = PasswordMaker::kLinesAtOnce;

    // Makes `size` passwords and asks for their slots in the index at once,
    // so that the table's memory is fetched for all of them together while
    // the passwords made before are checked.
    void Make(PasswordMaker& maker, int size, const std::string& line_end, const DuplicateIndex& index) {
        ::explicit_bzero(text_.data(), text_.size());
        text_.clear();
        size_ = size;
        size_t ends[kSize];
        maker.AppendLinesUtf8(text_, size, line_end, ends);
        for (int b = 0; b < size; ++b) {
            const size_t start = LineStart(0, ends, b, line_end.size());
            made_[b] = {start, ends[b], DuplicateIndex::KeyOfUtf8(std::string_view(text_).substr(start, ends[b] - start))};
        }
        for (int b = 0; b < size; ++b) index.Prefetch(made_[b].key);
    }
    // Writes those not met before, in order; returns how many.
    int Keep(DuplicateIndex& index, size_t line_end_size, std::string& out) const {
        int kept = 0;
        for (int b = 0; b < size_; ++b) {
            if (!index.InsertKey(made_[b].key)) continue;
            out.append(text_, made_[b].start, made_[b].end - made_[b].start + line_end_size);
            ++kept;
        }
        return kept;
    }
    int size() const { return size_; }
    ~MadeAhead() { Wipe(text_); }

private:
    struct Made {
        size_t start, end;
        DuplicateIndex::Key key;
    };
    std::string text_;
    Made made_[kSize];
    int size_ = 0;
};

// Unique plain passwords, in the order they are drawn: a password already
// written is dropped and the next one drawn takes its place. Each group of
// passwords is checked while the next group is made.
// Returns false when so many draws in a row met only passwords written
// before that no further one is to be found.
bool WriteUniquePasswords(PasswordMaker& maker, int32_t count, const std::string& line_end, Output& out,
                          int32_t& done) {
    DuplicateIndex index;  // compact keys only: the passwords themselves are written and gone
    index.Reserve(static_cast<size_t>(count));
    MadeAhead groups[2];
    int checked = 0;
    long long redraws = 0;
    for (done = 0; done < count; checked ^= 1) {
        MadeAhead& next = groups[checked ^ 1];
        next.Make(maker, static_cast<int>(std::min<int64_t>(MadeAhead::kSize, count - done - groups[checked].size())),
                  line_end, index);
        const int kept = groups[checked].Keep(index, line_end.size(), out.buffer());
        done += kept;
        redraws = kept > 0 ? 0 : redraws + groups[checked].size();
        if (redraws > kMostRedrawsForANewPassword) return false;
        out.MaybeFlush();
    }
    return true;
}

// The refusal when a unique run found no further different password.
int NoFurtherPassword(Output& out, int32_t done) {
    out.Flush();
    return Refuse("--unique: no further different password was found after " + std::to_string(done) +
                  ": no more than that many can be made with these options");
}

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
    if (options.generation.passphrases) {  // read once: standard input can be read only once
        std::string problem;
        auto words = LoadWords(options.generation, problem);
        if (!words) return Refuse(problem);
        options.generation.read_words = std::make_shared<const std::vector<Text>>(std::move(*words));
    }
    CliGenerator generator;
    if (std::string refusal = BuildGenerator(options, generator); !refusal.empty()) return Refuse(refusal);
    if (options.show_strength) {
        std::fprintf(stderr, "%s\n",
                     DescribeStrength(ToOptionValues(options), options.pool, !options.fixed, options.generation)
                         .text.c_str());
    }
    const int32_t count = options.count;
    if (options.unique && generator.possible.AsRunCount() < count)
        return Refuse("--count must be at most " + std::to_string(generator.possible.AsRunCount()) +
                      " with --unique: no more different passwords can be made");

    const LineEnder ender(options, generator);
    if (options.html) out.Add(HtmlDocumentHead());
    std::string& buffer = out.buffer();
    if (!options.unique && generator.maker && !ender.rewrites()) {
        WritePasswords(generator, count, ender.line_end(), out);
    } else if (!options.unique) {
        for (int32_t i = 0; i < count; ++i) {
            const size_t start = buffer.size();
            generator.AppendUtf8(buffer);
            ender.End(buffer, start);
            out.MaybeFlush();
        }
    } else if (generator.maker && !generator.rule && !ender.rewrites()) {
        int32_t done = 0;
        if (!WriteUniquePasswords(*generator.maker, count, ender.line_end(), out, done))
            return NoFurtherPassword(out, done);
    } else {
        DuplicateIndex index;  // compact keys only: the passwords themselves are written and gone
        index.Reserve(static_cast<size_t>(count));
        Text made;
        for (int32_t i = 0; i < count; ++i) {
            for (long long redraws = 0;; ++redraws) {
                if (redraws == kMostRedrawsForANewPassword) return NoFurtherPassword(out, i);
                generator.Make(made);
                if (index.Insert(made)) break;
            }
            const size_t start = buffer.size();
            AppendUtf8(buffer, made);
            ender.End(buffer, start);
            out.MaybeFlush();
        }
    }
    if (options.html) {
        out.Add(HtmlDocumentTail());
        out.Add(ender.line_end());
    }
    out.Flush();
    return kExitDone;
}

int main(int argc, char** argv) {
    GuardProcess("morvane-cli");
    return Run(argc, argv);
}
