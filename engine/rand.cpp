#include "engine/rand.h"

#include <string.h>
#include <sys/mman.h>
#include <sys/random.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>

#include "platform/base/runtime_error.h"

namespace morvane {
namespace {

// Bytes are fetched from the kernel in blocks to keep system calls rare, and
// handed out as digits of the spans drawn. The words a draw has used are
// zeroed at once, so the block never holds what made a password; the block
// lives in pages of its own, kept out of core dumps and, where the limits
// allow, out of swap.
struct RandomBuffer {
    static constexpr int kWords = 8192;  // 64 KiB a call to the kernel
    static constexpr size_t kBytes = kWords * sizeof(uint64_t);
    uint64_t* words = nullptr;
    int next = kWords;
    // Digits below a span not yet handed out, for the two spans drawn last
    // (a password's characters and its length): the expansion of the
    // fraction `digits` / 2^64 in that base, `left` of them.
    struct Digits {
        uint32_t span = 0;
        int per_word = 0;           // digits one word gives
        uint64_t word_span = 0;     // span^per_word
        uint64_t reject_below = 0;  // 2^64 mod word_span
        uint64_t digits = 0;
        int left = 0;
    };
    Digits stash[2];
    int older = 0;  // the stash to give up to a third span

    ~RandomBuffer() {
        Forget();
        if (words) ::munmap(words, kBytes);
    }

    uint64_t Word() {
        if (next == kWords) Refill();
        const uint64_t word = words[next];
        words[next++] = 0;
        return word;
    }

    // Zeros the words not used yet and the digits still held.
    void Forget() {
        if (words) ::explicit_bzero(words, kBytes);
        next = kWords;
        ::explicit_bzero(stash, sizeof stash);  // all zero is the empty stash
        older = 0;
    }

    void Map() {
        void* block = ::mmap(nullptr, kBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (block == MAP_FAILED) throw RuntimeError(kErrOutOfMemory, "Out of memory");
        ::madvise(block, kBytes, MADV_DONTDUMP);
        ::mlock(block, kBytes);  // a wish: beyond RLIMIT_MEMLOCK the block may still be swapped
        words = static_cast<uint64_t*>(block);
    }

    void Refill() {
        if (!words) Map();
        auto* bytes = reinterpret_cast<unsigned char*>(words);
        size_t want = kBytes;
        size_t got = 0;
        while (got < want) {
            ssize_t n = getrandom(bytes + got, want - got, 0);
            if (n < 0) {
                if (errno == EINTR) continue;
                ReadDevice(bytes + got, want - got);
                break;
            }
            got += static_cast<size_t>(n);
        }
        next = 0;
    }

    static void ReadDevice(unsigned char* out, size_t size) {
        FILE* f = std::fopen("/dev/urandom", "rb");
        if (!f || std::fread(out, 1, size, f) != size) {
            if (f) std::fclose(f);
            throw RuntimeError(kErrInvalidCall, "The secure random source is unavailable");
        }
        std::fclose(f);
    }
};

thread_local RandomBuffer buffer;

}  // namespace

void Randomize() { buffer.Forget(); }

// A 64-bit word x read as the fraction x / 2^64 has base-`span` digits; the
// first d of them, for span^d = L below 2^64, are floor(x * L / 2^64), which
// takes every value below L as often as any other once the words whose low
// product x * L mod 2^64 falls below 2^64 mod L are drawn again (Lemire's
// rejection). So one word gives d digits, each exactly uniform: 9 of 94
// characters, where a draw per character would take 7 bits each and reject
// a quarter of them.
void DrawManyBelow(uint32_t span, uint32_t* out, size_t count) {
    if (span <= 1) {
        for (size_t i = 0; i < count; ++i) out[i] = 0;
        return;
    }
    using Wide = unsigned __int128;
    RandomBuffer& source = buffer;
    RandomBuffer::Digits* d = &source.stash[0];
    if (d->span != span) {
        d = &source.stash[1];
        if (d->span != span) {
            d = &source.stash[source.older];
            *d = {};
            d->span = span;
            Wide limit = 1;
            while (limit * span <= UINT64_MAX) {
                limit *= span;
                ++d->per_word;
            }
            d->word_span = static_cast<uint64_t>(limit);
            d->reject_below = static_cast<uint64_t>((Wide{1} << 64) % limit);
        }
    }
    source.older = d == &source.stash[0] ? 1 : 0;
    // Held in registers: a store to `out` could otherwise be the stash's own.
    uint64_t digits = d->digits;
    size_t left = static_cast<size_t>(d->left);
    size_t i = 0;
    while (i < count) {
        if (left == 0) {
            uint64_t x;
            do x = source.Word();
            while (static_cast<uint64_t>(Wide{x} * d->word_span) < d->reject_below);
            digits = x;
            left = static_cast<size_t>(d->per_word);
        }
        const size_t end = i + std::min(left, count - i);
        left -= end - i;
        for (; i < end; ++i) {
            const Wide product = Wide{digits} * span;
            out[i] = static_cast<uint32_t>(product >> 64);
            digits = static_cast<uint64_t>(product);
        }
    }
    // The remainder of a spent word still tells the word (times an odd
    // span it is the word itself, turned): it is not kept.
    d->digits = left > 0 ? digits : 0;
    d->left = static_cast<int>(left);
}

// The digits of a word's fraction x / 2^64 in the mixed radix of the spans,
// first d of them for a product P up to 2^64, are those of floor(x * P / 2^64),
// which takes every value below P equally often once the words whose low
// product falls below 2^64 mod P are drawn again, as above. Bits already
// drawn but not yet looked at, `width` of them, serve for the first digits.
void DrawDigits(const uint32_t* spans, uint32_t* out, size_t count, uint64_t bits, int width) {
    using Wide = unsigned __int128;
    // A product this far below the word's range makes the remainder, and
    // its division, seldom needed.
    constexpr int kHeadroomBits = 8;
    size_t i = 0;
    while (i < count) {
        const int chunk_width = width > kHeadroomBits ? width : 64;
        uint64_t limit = 1;
        size_t end = i;
        for (uint64_t grown; end < count; ++end) {
            const uint32_t span = std::max<uint32_t>(spans[end], 1);
            if (__builtin_mul_overflow(limit, uint64_t{span}, &grown) || grown >> (chunk_width - kHeadroomBits)) break;
            limit = grown;
        }
        if (end == i) {  // too few bits left for the next span: a fresh word
            width = 0;
            continue;
        }
        const uint64_t mask = chunk_width < 64 ? (uint64_t{1} << chunk_width) - 1 : ~uint64_t{0};
        uint64_t digits = chunk_width < 64 ? bits & mask : buffer.Word();
        width = 0;
        // The remainder 2^width mod limit is worked out only when the low
        // product could fall below it.
        if ((digits * limit & mask) < limit) {
            const uint64_t reject_below = chunk_width < 64 ? (uint64_t{1} << chunk_width) % limit : (0 - limit) % limit;
            while ((digits * limit & mask) < reject_below) digits = buffer.Word() & mask;
        }
        if (chunk_width < 64) digits <<= 64 - chunk_width;  // the same fraction in 64 bits
        for (; i < end; ++i) {
            const Wide next = Wide{digits} * std::max<uint32_t>(spans[i], 1);
            out[i] = static_cast<uint32_t>(next >> 64);
            digits = static_cast<uint64_t>(next);
        }
        ::explicit_bzero(&digits, sizeof digits);
    }
    ::explicit_bzero(&bits, sizeof bits);
}

uint64_t DrawWord() { return buffer.Word(); }

int BitsFor(uint32_t span) { return span <= 2 ? 1 : std::bit_width(span - 1); }

int32_t Rand(int32_t low, int32_t high) {
    int64_t span = static_cast<int64_t>(high) - low + 1;
    if (span > INT32_MAX || span < INT32_MIN) throw OverflowError();
    if (span <= 0) return low;  // empty range: nothing to draw from
    if (span == 1) return low;
    // From the same exact digit stream as DrawManyBelow: a word of the
    // kernel's gives several draws of one span.
    uint32_t offset = 0;
    DrawManyBelow(static_cast<uint32_t>(span), &offset, 1);
    return static_cast<int32_t>(low + static_cast<int64_t>(offset));
}

}  // namespace morvane
