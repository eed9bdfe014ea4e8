// Texts in and out as UTF-8: malformed input is caught, output is always
// well-formed.
#include <gtest/gtest.h>

#include "platform/text.h"

using namespace morvane;

TEST(Utf8Text, MalformedInputIsCaughtAndReadWithoutLosingWhatFollows) {
    for (std::string_view bad : {"\xed\xa0\x80", "\xf4\x90\x80\x80", "\xc0\xa1", "\xe2" "A", "\x80", "ab\xf0\x9f\x98"}) {
        EXPECT_FALSE(IsValidUtf8(bad)) << testing::PrintToString(std::string(bad));
        EXPECT_NE(FromUtf8(bad).find(U'\uFFFD'), Text::npos);
    }
    EXPECT_EQ(FromUtf8("\xe2" "A"), Text(U"\uFFFDA"));  // the A is kept
    EXPECT_EQ(FromUtf8("\xc0\xa1"), Text(U"\uFFFD\uFFFD"));  // an overlong form is never "!"
    for (std::string_view good : {"", "abc", "é ß €", "\xf0\x9f\x98\x80", "\xf4\x8f\xbf\xbf"}) {
        EXPECT_TRUE(IsValidUtf8(good));
        EXPECT_EQ(ToUtf8(FromUtf8(good)), good);
    }
}

TEST(Utf8Text, OutputIsWellFormedEvenForALoneSurrogate) {
    const Text odd = {U'a', char32_t{0xD800}, U'b', char32_t{0xDFFF}, char32_t{0x110000}, U'😀'};
    const std::string out = ToUtf8(odd);
    EXPECT_TRUE(IsValidUtf8(out));
    EXPECT_EQ(FromUtf8(out), Text(U"a\uFFFDb\uFFFD\uFFFD😀"));
}
