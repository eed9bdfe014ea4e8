#pragma once
// Word lists for passphrases: the EFF Large Wordlist built in, or a file of
// the user's, one word a line.
#include <string_view>
#include <vector>

#include "engine/passphrase_maker.h"
#include "platform/base/text.h"

namespace morvane {

// A list smaller than this is refused: six of its words would make fewer
// than 60 bits.
inline constexpr size_t kFewestWords = 1024;

// The EFF Large Wordlist as it is kept: 7,776 words, one a line.
std::string_view EffLargeWordListText();

// The words of a list's text: leading dice numbers and blanks dropped,
// blank lines dropped, each word once whatever its case (the first time it
// appears: every case option writes "Paris" and "paris" alike), and no word
// that holds a character of `separator` in a case form `word_case` writes,
// so that a passphrase splits back into its words in one way only.
std::vector<Text> ReadWordList(std::string_view utf8, const Text& separator, WordCase word_case = WordCase::kLower);

// A word list file is read whole up to this size, and refused beyond it.
inline constexpr size_t kLargestWordListBytes = size_t{16} << 20;

// What makes a list's text unusable, or empty: text that is not UTF-8 (or
// is UTF-16), a NUL or another control character in a line, each named
// with its line. A leading byte-order mark is not a fault: see
// DropByteOrderMark.
std::string WordListTextProblem(std::string_view utf8);
std::string_view DropByteOrderMark(std::string_view utf8);

// A control character (C0, DEL or C1): no word and no separator holds one,
// so that nothing written reaches a terminal as a command.
bool IsControlCharacter(char32_t c);

}  // namespace morvane
