#pragma once
// What a run makes besides the window's plain passwords: passphrases from a
// word list, or passwords that hold one of each chosen type.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/passphrase_maker.h"

namespace morvane {

struct GenerationChoice {
    bool passphrases = false;
    bool each_type = false;  // passwords only
    PassphraseOptions passphrase;
    std::string word_list_file;  // empty: the built-in EFF list; "-": standard input
    // The words once read, so that a run reads its list once (standard
    // input can be read only once).
    std::shared_ptr<const std::vector<Text>> read_words;
};

inline constexpr const char* kStandardInputName = "-";

// The words a choice draws from: the built-in list, or the file's, read as
// ReadWordList reads them: a regular file of at most 16 MiB of UTF-8 text
// without control characters, or standard input. None, with `problem` set,
// when the list cannot be read or is refused.
std::optional<std::vector<Text>> LoadWords(const GenerationChoice& choice, std::string& problem);
// The same, and none with `problem` set when the options do not suit the
// words (PassphraseProblem).
std::optional<std::vector<Text>> LoadPassphraseWords(const GenerationChoice& choice, std::string& problem);

}  // namespace morvane
