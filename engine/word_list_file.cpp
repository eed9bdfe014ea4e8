#include "engine/word_list_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine/word_list.h"
#include "platform/base/user_file.h"
#include "platform/base/wiped_memory.h"

namespace morvane {
namespace {

// The text of the list: a file of the user's, or standard input for "-".
std::optional<std::string> ReadListText(const std::string& name, std::string& problem) {
    if (name != kStandardInputName) {
        UserFile file = ReadUserFile(name, "a file of words", kLargestWordListBytes);
        if (file.outcome == UserFile::kRead) return std::move(file.text);
        problem = "The word list " + name + " " +
                  (file.outcome == UserFile::kMissing ? std::string("cannot be read: ") + std::strerror(ENOENT)
                                                      : file.problem) +
                  (file.problem.starts_with("cannot") ? "" : ".");
        return std::nullopt;
    }
    std::string text;
    std::string why;
    if (!ReadAtMost(STDIN_FILENO, kLargestWordListBytes, text))
        why = std::string("cannot be read: ") + std::strerror(errno);
    else if (text.size() > kLargestWordListBytes) why = "is larger than 16 MiB.";
    if (why.empty()) return text;
    Wipe(text);
    problem = "The word list on standard input " + why;
    return std::nullopt;
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
