#include <gtest/gtest.h>

#include <map>
#include <set>

#include "engine/rand.h"
#include "platform/runtime_error.h"

using namespace morvane;

TEST(Rand, StaysWithinBothBoundsAndReachesThem) {
    EXPECT_EQ(Rand(0, 0), 0);
    std::set<int> seen;
    for (int i = 0; i < 20000; ++i) {
        int v = Rand(4, 128);
        ASSERT_GE(v, 4);
        ASSERT_LE(v, 128);
        seen.insert(v);
    }
    EXPECT_EQ(seen.size(), 125u);
    for (int i = 0; i < 1000; ++i) EXPECT_GE(Rand(0, INT32_MAX - 1), 0);
}

TEST(Rand, IsUniformOverSmallRanges) {
    std::map<int, int> counts;
    const int draws = 120000;
    for (int i = 0; i < draws; ++i) ++counts[Rand(1, 6)];
    for (auto [value, count] : counts) EXPECT_NEAR(count, draws / 6, draws / 6 * 0.05) << value;
}

TEST(Rand, SpanBeyond32BitsIsAnOverflow) {
    EXPECT_THROW(Rand(INT32_MIN, INT32_MAX), RuntimeError);
}

TEST(Rand, ComesFromTheSecureSourceNotFromASeed) {
    // Restarting the generator never replays a sequence.
    std::vector<uint64_t> first, second;
    Randomize();
    for (int i = 0; i < 8; ++i) first.push_back(NextRandom53());
    Randomize();
    for (int i = 0; i < 8; ++i) second.push_back(NextRandom53());
    EXPECT_NE(first, second);
    for (uint64_t v : first) EXPECT_LT(v, uint64_t{1} << 53);
}
