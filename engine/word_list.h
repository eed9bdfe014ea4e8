#pragma once
// Word lists for passphrases: the EFF Large Wordlist built in, or a file of
// the user's, one word a line.
#include <string_view>
#include <vector>

#include "platform/text.h"

namespace morvane {

// A list smaller than this is refused: six of its words would make fewer
// than 60 bits.
inline constexpr size_t kFewestWords = 1024;

// The EFF Large Wordlist as it is kept: 7,776 words, one a line.
std::string_view EffLargeWordListText();

// The words of a list's text: leading dice numbers and blanks dropped,
// blank lines dropped, each word once (the first time it appears), and no
// word that holds a character of `separator`, so that a passphrase splits
// back into its words in one way only.
std::vector<Text> ReadWordList(std::string_view utf8, const Text& separator);

}  // namespace morvane
