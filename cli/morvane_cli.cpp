// morvane-cli: passwords from the command line, made with the window's rules
// and written as they are made.
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string.h>
#include <string>

#include "cli/cli_options.h"
#include "engine/character_pool.h"
#include "engine/duplicate_index.h"
#include "engine/password_maker.h"
#include "options/number_text.h"
#include "output/html_document.h"
#include "platform/process_guard.h"
#include "platform/wiped_memory.h"
#include "platform/runtime_error.h"

using namespace morvane;

namespace {

constexpr int kRefused = 2;

constexpr int kSystemError = kSystemFailureExit;

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

int Refuse(const std::string& title, const std::string& message) {
    std::string text = message;
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n");
    std::fprintf(stderr, "%s\n%s\n", title.c_str(), text.c_str());
    return kRefused;
}

}  // namespace

static int Run(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);  // a closed pipe shows up as EPIPE
    CliOptions options;
    std::string error = ParseCliOptions(std::vector<std::string>(argv + 1, argv + argc), options);
    if (!error.empty()) {
        std::fprintf(stderr, "morvane-cli: %s\n\n%s", error.c_str(), kCliUsage);
        return kRefused;
    }
    Output out;
    if (options.help || options.version) {
        out.Add(options.help ? std::string(kCliUsage) : std::string("morvane-cli ") + MORVANE_VERSION + "\n");
        out.Flush();
        return 0;
    }
    if (auto failure = FirstFailure(options.values)) return Refuse(failure->title, failure->message);

    Pool pool;
    switch (BuildPool(options.pool, pool)) {
        case PoolOutcome::kBuilt: break;
        case PoolOutcome::kEmptiedByExclusion: {
            CheckFailure failure = ExclusionFailure();
            return Refuse(failure.title, failure.message);
        }
        case PoolOutcome::kTooLarge:
            return Refuse("ERROR: IsCreateArray", "Overflow: the pool holds at most 32767 characters");
        case PoolOutcome::kNothingToDrawFrom:
            return Refuse("ERROR: IsCreateArray", "Subscript out of range: there are no characters to draw from");
    }
    const int min_length = ToInt16(LeadingValue(options.values.min_length));
    const int max_length = ToInt16(LeadingValue(options.values.max_length));
    const int32_t count = ToInt32(LeadingValue(options.values.count));
    const bool variable = !options.fixed;
    if (options.unique) {
        int32_t possible = MaxPossiblePasswords(CountDistinct(pool), min_length, max_length, variable);
        if (possible < count) {
            CheckFailure failure = PossibleCountFailure(possible);
            return Refuse(failure.title, failure.message);
        }
    }

    PasswordMaker maker(pool, min_length, max_length, variable);
    const std::string line_end = options.crlf ? "\r\n" : "\n";
    if (options.html) out.Add(HtmlDocumentHead());
    std::string& buffer = out.buffer();
    // Ends the password written from `start` on: escaped for the page when
    // it goes into one.
    const auto end_line = [&](size_t start) {
        if (options.html) {
            const std::string made = buffer.substr(start);
            buffer.resize(start);
            AppendHtmlEscaped(buffer, made);
        }
        buffer += line_end;
        out.MaybeFlush();
    };
    if (!options.unique) {
        for (int32_t i = 0; i < count; ++i) {
            const size_t start = buffer.size();
            maker.AppendUtf8(buffer);
            end_line(start);
        }
    } else {
        DuplicateIndex index;  // compact keys only: the passwords themselves are written and gone
        Text password;
        for (int32_t i = 0; i < count; ++i) {
            do maker.Make(password);
            while (!index.Insert(password));
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
    return 0;
}

int main(int argc, char** argv) {
    GuardProcess("morvane-cli");
    return Run(argc, argv);
}
