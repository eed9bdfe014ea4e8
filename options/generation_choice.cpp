#include "options/generation_choice.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "engine/word_list.h"

namespace morvane {

std::optional<std::vector<Text>> LoadWords(const GenerationChoice& choice, std::string& problem) {
    if (choice.word_list_file.empty())
        return ReadWordList(EffLargeWordListText(), choice.passphrase.separator);
    std::ifstream file(choice.word_list_file, std::ios::binary);
    if (!file) {
        problem = "The word list " + choice.word_list_file + " cannot be read: " + std::strerror(errno);
        return std::nullopt;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    return ReadWordList(contents.str(), choice.passphrase.separator);
}

std::optional<std::vector<Text>> LoadPassphraseWords(const GenerationChoice& choice, std::string& problem) {
    auto words = LoadWords(choice, problem);
    if (words) problem = PassphraseProblem(*words, choice.passphrase);
    if (!problem.empty()) return std::nullopt;
    return words;
}

}  // namespace morvane
