#include "engine/word_list_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine/word_list.h"
#include "platform/base/wiped_memory.h"

namespace morvane {
namespace {

// What a file that is not a regular one is, for the message.
const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

// Reads at most one byte more than a list may hold, so that a larger one
// is seen.
bool ReadUpToLimit(int fd, std::string& text) {
    char piece[1 << 16];
    while (text.size() <= kLargestWordListBytes) {
        const ssize_t n = ::read(fd, piece, sizeof piece);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        text.append(piece, static_cast<size_t>(n));
    }
    return true;
}

// The text of the list: a regular file (opened without waiting, so that a
// pipe with no writer is told and not waited on), or standard input for "-".
std::optional<std::string> ReadListText(const std::string& name, std::string& problem) {
    const bool from_input = name == kStandardInputName;
    const auto refuse = [&](const std::string& why) {
        problem = "The word list " + (from_input ? std::string("on standard input") : name) + " " + why;
        return std::nullopt;
    };
    const int fd = from_input ? STDIN_FILENO : ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return refuse(std::string("cannot be read: ") + std::strerror(errno));
    struct stat st {};
    std::string why;
    if (!from_input && ::fstat(fd, &st) != 0) why = std::string("cannot be read: ") + std::strerror(errno);
    else if (!from_input && !S_ISREG(st.st_mode)) why = std::string("is ") + KindOf(st.st_mode) + ", not a file of words.";
    else if (!from_input && static_cast<size_t>(st.st_size) > kLargestWordListBytes) why = "is larger than 16 MiB.";
    std::string text;
    if (why.empty() && !ReadUpToLimit(fd, text)) why = std::string("cannot be read: ") + std::strerror(errno);
    if (why.empty() && text.size() > kLargestWordListBytes) why = "is larger than 16 MiB.";
    if (!from_input) ::close(fd);
    if (!why.empty()) {
        Wipe(text);
        return refuse(why);
    }
    return text;
}

}  // namespace

std::optional<std::vector<Text>> LoadWords(const GenerationSettings& settings, std::string& problem) {
    if (settings.read_words) return *settings.read_words;
    if (settings.word_list_file.empty())
        return ReadWordList(EffLargeWordListText(), settings.passphrase.separator, settings.passphrase.word_case);
    auto text = ReadListText(settings.word_list_file, problem);
    if (!text) return std::nullopt;
    const std::string_view list = DropByteOrderMark(*text);
    if (std::string fault = WordListTextProblem(list); !fault.empty()) {
        problem = "The word list " + settings.word_list_file + " " + fault + ".";
        return std::nullopt;
    }
    auto words = ReadWordList(list, settings.passphrase.separator, settings.passphrase.word_case);
    Wipe(*text);
    return words;
}

std::optional<std::vector<Text>> LoadPassphraseWords(const GenerationSettings& settings, std::string& problem) {
    auto words = LoadWords(settings, problem);
    if (words) problem = PassphraseProblem(*words, settings.passphrase);
    if (!problem.empty()) return std::nullopt;
    return words;
}

}  // namespace morvane
