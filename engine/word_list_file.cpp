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

// The words of the lengths asked for.
std::vector<Text> OfLengths(std::vector<Text> words, const PassphraseOptions& options) {
    const size_t least = static_cast<size_t>(options.min_word_length);
    const size_t most = options.max_word_length > 0 ? static_cast<size_t>(options.max_word_length) : SIZE_MAX;
    std::erase_if(words, [&](const Text& word) { return word.size() < least || word.size() > most; });
    return words;
}

}  // namespace

std::optional<std::vector<Text>> LoadWords(const GenerationSettings& settings, std::string& problem) {
    const PassphraseOptions& options = settings.passphrase;
    if (settings.read_words) return OfLengths(*settings.read_words, options);
    if (settings.word_list_file.empty())
        return OfLengths(ReadWordList(EffLargeWordListText(), options.KeptOutOfWords(), options.word_case), options);
    auto text = ReadListText(settings.word_list_file, problem);
    if (!text) return std::nullopt;
    const std::string_view list = DropByteOrderMark(*text);
    if (std::string fault = WordListTextProblem(list); !fault.empty()) {
        problem = "The word list " + settings.word_list_file + " " + fault + ".";
        return std::nullopt;
    }
    auto words = ReadWordList(list, options.KeptOutOfWords(), options.word_case);
    Wipe(*text);
    return OfLengths(std::move(words), options);
}

std::optional<std::vector<Text>> LoadPassphraseWords(const GenerationSettings& settings, std::string& problem) {
    auto words = LoadWords(settings, problem);
    if (words) problem = PassphraseProblem(*words, settings.passphrase);
    if (!problem.empty()) return std::nullopt;
    return words;
}

}  // namespace morvane
