// Texts in and out as UTF-8: malformed input is caught, output is always
// well-formed. A large text's memory leaves the process with it.
#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/base/text.h"
#include "platform/base/wiped_memory.h"

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

namespace {

bool Mapped(const void* address) {
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    unsigned char resident = 0;
    return mincore(reinterpret_cast<void*>(reinterpret_cast<uintptr_t>(address) / page * page), 1, &resident) == 0;
}

}  // namespace

TEST(WipedMemory, ALargeTextHasPagesOfItsOwnThatLeaveTheProcessWithIt) {
    Text large(1 << 20, U'x');
    large[123456] = U'y';
    large += U"\u00e9";
    const Text copy = large;
    EXPECT_EQ(copy, large);
    EXPECT_EQ(copy[123456], U'y');
    const char32_t* where = large.data();
    ASSERT_TRUE(Mapped(where));
    Wipe(large);
    EXPECT_FALSE(Mapped(where));  // nothing of it is left to read
    EXPECT_TRUE(large.empty());

    Text small(100, U'z');  // from the C library, zeroed as it goes back
    Wipe(small);
    EXPECT_TRUE(small.empty());
}

namespace {

// Notes what a block holds when it comes back, before it is freed (and the
// C library fills it).
template <class T>
struct InspectingAllocator : std::allocator<T> {
    using value_type = T;
    template <class U>
    struct rebind {
        using other = InspectingAllocator<U>;
    };
    InspectingAllocator() = default;
    template <class U>
    InspectingAllocator(const InspectingAllocator<U>&) noexcept {}
    static inline std::string returned;
    void deallocate(T* p, std::size_t n) {
        returned.assign(reinterpret_cast<const char*>(p), n * sizeof(T));
        std::allocator<T>::deallocate(p, n);
    }
};

}  // namespace

TEST(WipedMemory, WipeZerosAllOfABufferBeforeItGoesBack) {
    std::vector<char32_t, InspectingAllocator<char32_t>> buffer(300, U'p');
    buffer.resize(10);  // the rest of the storage still holds what it held
    Wipe(buffer);
    EXPECT_TRUE(buffer.empty());
    EXPECT_EQ(buffer.capacity(), 0u);
    ASSERT_EQ(InspectingAllocator<char32_t>::returned.size(), 300 * sizeof(char32_t));
    EXPECT_EQ(InspectingAllocator<char32_t>::returned, std::string(300 * sizeof(char32_t), '\0'));
}
