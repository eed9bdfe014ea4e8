#pragma once
// The words passphrases are drawn from: the built-in list, or a file of the
// user's own, read within bounds.
#include <optional>
#include <string>
#include <vector>

#include "engine/generation_settings.h"

namespace morvane {

// The words the settings draw from: those already read, the built-in list,
// or the file's, read as ReadWordList reads them: a regular file of at most
// 16 MiB of UTF-8 text without control characters, or standard input. None,
// with `problem` set, when the list cannot be read or is refused.
std::optional<std::vector<Text>> LoadWords(const GenerationSettings& settings, std::string& problem);
// The same, and none with `problem` set when the passphrase options do not
// suit the words (PassphraseProblem).
std::optional<std::vector<Text>> LoadPassphraseWords(const GenerationSettings& settings, std::string& problem);

}  // namespace morvane
