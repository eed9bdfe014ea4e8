#include <gtest/gtest.h>
#include <sys/random.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/chi_square.h"
#include "engine/password_maker.h"
#include "engine/rand.h"
#include "platform/base/runtime_error.h"

using namespace morvane;

// Every request to the kernel's secure source passes here: the tests count
// what is taken and can supply the bytes themselves.
namespace {
size_t g_source_bytes = 0;
std::function<void(unsigned char*, size_t)> g_supply;
const uint64_t* g_last_block = nullptr;  // where the last request was written
size_t g_last_length = 0;
}  // namespace

extern "C" ssize_t getrandom(void* buffer, size_t length, unsigned int flags) {
    g_source_bytes += length;
    g_last_block = static_cast<const uint64_t*>(buffer);
    g_last_length = length;
    if (g_supply) {
        g_supply(static_cast<unsigned char*>(buffer), length);
        return static_cast<ssize_t>(length);
    }
    return syscall(SYS_getrandom, buffer, length, flags);
}

// The VmFlags of the mapping that holds `address`, from /proc/self/smaps.
static std::string MappingFlags(const void* address) {
    std::ifstream smaps("/proc/self/smaps");
    const auto at = reinterpret_cast<uintptr_t>(address);
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        uintptr_t start = 0, end = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> start >> dash >> end && dash == '-') inside = start <= at && at < end;
        else if (inside && line.rfind("VmFlags:", 0) == 0) return line;
    }
    return {};
}

TEST(Rand, NoRandomWordOutlivesItsUse) {
    Randomize();
    for (int i = 0; i < 1000; ++i) Rand(0, 93);
    ASSERT_NE(g_last_block, nullptr);
    const size_t words = g_last_length / sizeof(uint64_t);
    ASSERT_EQ(words, 8192u);
    // The words drawn so far are zero, those still to come are not.
    size_t used = 0;
    while (used < words && g_last_block[used] == 0) ++used;
    EXPECT_GT(used, 100u);
    EXPECT_LT(used, 200u);  // 1000 characters of 94 take about 112 words
    EXPECT_EQ(std::count(g_last_block + used, g_last_block + words, uint64_t{0}), 0);
    // Dropped: nothing is left to tell the next draws.
    Randomize();
    EXPECT_EQ(std::count(g_last_block, g_last_block + words, uint64_t{0}), static_cast<long>(words));
    // And the block is never written into a core dump.
    EXPECT_NE(MappingFlags(g_last_block).find(" dd"), std::string::npos) << MappingFlags(g_last_block);
}

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
    for (int i = 0; i < 1000; ++i) {
        int v = Rand(1, INT32_MAX);  // the widest span allowed: 2^31 - 1
        EXPECT_GE(v, 1);
    }
}

TEST(Rand, ASpanOf2To31OrMoreIsAnOverflow) {
    EXPECT_THROW(Rand(0, INT32_MAX), RuntimeError);
    EXPECT_THROW(Rand(-1, INT32_MAX - 1), RuntimeError);
    EXPECT_THROW(Rand(INT32_MIN, -1), RuntimeError);
    EXPECT_THROW(Rand(INT32_MIN, INT32_MAX), RuntimeError);
    EXPECT_NO_THROW(Rand(INT32_MIN, -2));
}

TEST(Rand, EveryValueIsExactlyEquallyLikelyAndFollowsTheFloorOfSpanFormula) {
    // Every possible draw of k bits, once each: each result must take the
    // same number of them, and an accepted draw x gives floor(span * x / 2^k).
    for (uint32_t span : {2u, 3u, 6u, 7u, 10u, 94u, 95u, 100u, 125u, 1000u, 4097u}) {
        const int k = BitsFor(span);
        ASSERT_GE(uint64_t{1} << k, span);
        ASSERT_LT(uint64_t{1} << (k - 1), span) << "more bits than the span needs";
        std::map<uint32_t, int> counts;
        for (uint64_t x = 0; x < (uint64_t{1} << k); ++x) {
            bool given = false;
            bool rejected = false;
            uint32_t result = DrawBelow(span, [&](int bits) -> uint32_t {
                EXPECT_EQ(bits, k);
                if (given) {  // asked again: x was rejected
                    rejected = true;
                    return static_cast<uint32_t>((uint64_t{1} << k) - 1);  // never rejected
                }
                given = true;
                return static_cast<uint32_t>(x);
            });
            if (!rejected) {
                EXPECT_EQ(result, static_cast<uint32_t>((x * span) >> k)) << span << " " << x;
                ++counts[result];
            }
        }
        ASSERT_EQ(counts.size(), span);
        for (auto [value, count] : counts) EXPECT_EQ(count, counts.begin()->second) << span << ": " << value;
    }
}

TEST(Rand, DrawsAreUniformEnoughToShowASmallBias) {
    // Six million draws: a 1% bias on one value puts chi-square near 80,
    // far above the bound fair draws pass but once in 10^9 runs; a bound at
    // the 0.1% point would fail a run of the suite in a few hundred.
    const int draws = 6'000'000;
    const double kFairBound = chi_square::FairBoundsFor(5).high;
    std::vector<long> counts(6);
    for (int i = 0; i < draws; ++i) ++counts[static_cast<size_t>(Rand(0, 5))];
    double expected = draws / 6.0, chi = 0;
    for (long c : counts) chi += (c - expected) * (c - expected) / expected;
    EXPECT_LT(chi, kFairBound);
    // The same statistic on counts with a 1% bias does catch it.
    std::vector<double> biased(counts.begin(), counts.end());
    biased[0] *= 1.01;
    double chi_biased = 0;
    for (double c : biased) chi_biased += (c - expected) * (c - expected) / expected;
    EXPECT_GT(chi_biased, kFairBound);
}

TEST(Rand, EveryDrawComesFromTheKernelsSecureSource) {
    // A generator seeded once would take a few bytes at most; the draws
    // take fresh bits from getrandom all along, about a byte per character
    // of a 94-character pool.
    Randomize();
    g_source_bytes = 0;
    const int draws = 200000;
    for (int i = 0; i < draws; ++i) Rand(0, 93);
    double per_draw = static_cast<double>(g_source_bytes) / draws;
    EXPECT_GT(per_draw, 0.9);
    EXPECT_LT(per_draw, 1.5);

    // Nothing else goes in: the same bytes from the source give the same draws.
    auto sequence = [] {
        g_supply = [](unsigned char* out, size_t n) {
            for (size_t i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(i * 37 + 11);
        };
        Randomize();
        std::vector<int> values;
        for (int i = 0; i < 1000; ++i) values.push_back(Rand(0, 93));
        g_supply = nullptr;
        Randomize();
        return values;
    };
    EXPECT_EQ(sequence(), sequence());
    std::vector<int> live;
    for (int i = 0; i < 1000; ++i) live.push_back(Rand(0, 93));
    EXPECT_NE(live, sequence());
}

namespace {

// Chi-square of `counts` against equal shares, and its degrees of freedom.
double ChiSquare(const std::vector<long>& counts, long draws) {
    const double expected = static_cast<double>(draws) / static_cast<double>(counts.size());
    double chi = 0;
    for (long n : counts) chi += (n - expected) * (n - expected) / expected;
    return chi;
}

}  // namespace

TEST(DrawManyBelow, EveryCharacterAndEveryPairOfAPoolThatDoesNotDivide2To64IsEquallyLikely) {
    // 94 and 7 do not divide 2^64: a word's digits need the rejection to be exact.
    for (uint32_t span : {94u, 7u}) {
        SCOPED_TRACE(span);
        constexpr long kDraws = 4'000'000;
        std::vector<uint32_t> out(kDraws);
        for (long at = 0; at < kDraws; at += 8) DrawManyBelow(span, out.data() + at, 8);  // as the maker draws
        std::vector<long> singles(span), pairs(span * span);
        for (long i = 0; i < kDraws; ++i) {
            ASSERT_LT(out[i], span);
            ++singles[out[i]];
            if (i % 2 == 1) ++pairs[out[i - 1] * span + out[i]];
        }
        for (auto [counts, draws] : {std::pair{&singles, kDraws}, {&pairs, kDraws / 2}}) {
            const double df = static_cast<double>(counts->size()) - 1;
            const double chi = ChiSquare(*counts, draws);
            const auto fair = chi_square::FairBoundsFor(df);
            EXPECT_LT(chi, fair.high);
            EXPECT_GT(chi, fair.low);
        }
    }
}

TEST(PasswordMaker, LinesMadeTogetherHaveEveryLengthAndCharacterEquallyOften) {
    // 94 printable characters, 6 to 8 long, in groups of every size the
    // command line uses; the same from a pool beyond ASCII.
    Pool printable;
    for (char32_t c = 33; c < 127; ++c) printable.push_back(c);
    PasswordMaker maker(printable, 6, 8, true);
    std::vector<long> lengths(3), characters(94), firsts(94);
    long lines = 0, drawn = 0;
    std::string out;
    for (int group : {1, 37, PasswordMaker::kLinesAtOnce}) {
        for (int round = 0; round < 300000 / group; ++round) {
            out.clear();
            size_t ends[PasswordMaker::kLinesAtOnce];
            maker.AppendLinesUtf8(out, group, "\r\n", ends);
            size_t at = 0;
            for (int i = 0; i < group; ++i) {
                const size_t end = out.find("\r\n", at);
                ASSERT_EQ(end, ends[i]);
                const size_t length = end - at;
                ASSERT_GE(length, 6u);
                ASSERT_LE(length, 8u);
                ++lengths[length - 6];
                ++firsts[static_cast<unsigned char>(out[at]) - 33];
                for (size_t k = at; k < end; ++k) ++characters[static_cast<unsigned char>(out[k]) - 33];
                drawn += static_cast<long>(length);
                ++lines;
                at = end + 2;
            }
            ASSERT_EQ(at, out.size());
        }
    }
    for (auto [counts, draws] : {std::pair{&lengths, lines}, {&characters, drawn}, {&firsts, lines}}) {
        const double df = static_cast<double>(counts->size()) - 1;
        const double chi = ChiSquare(*counts, draws);
        const auto fair = chi_square::FairBoundsFor(df);
        EXPECT_LT(chi, fair.high);
        EXPECT_GT(chi, fair.low);
    }

    PasswordMaker wide(Pool{U'\u00e9', U'\u20ac', U'a'}, 4, 4, false);
    out.clear();
    size_t ends[3];
    wide.AppendLinesUtf8(out, 3, "\n", ends);
    EXPECT_EQ(FromUtf8(out).size(), 15u);  // three lines of four characters and a line end
    for (size_t end : ends) EXPECT_EQ(out[end], '\n');
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3);
}
