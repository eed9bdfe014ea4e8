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

// The digits of a word's fraction x / 2^w in the mixed radix of the spans,
// first d of them for a product P up to 2^w, are those of floor(x * P / 2^w),
// which takes every value below P equally often once the words whose low
// product falls below 2^w mod P are drawn again, as above.
size_t PlanDigits(const uint32_t* spans, size_t count, int first_width, DigitChunk* chunks) {
    size_t made = 0;
    int width = first_width > 0 ? first_width : 64;
    for (size_t i = 0; i < count;) {
        DigitChunk chunk;
        chunk.width = width;
        chunk.end = static_cast<uint32_t>(i);
        for (uint64_t grown; chunk.end < count; ++chunk.end) {
            const uint32_t span = std::max<uint32_t>(spans[chunk.end], 1);
            if (__builtin_mul_overflow(chunk.limit, uint64_t{span}, &grown) || (width < 64 && grown >> width)) break;
            chunk.limit = grown;
        }
        if (chunk.end == i) {  // too few bits for the next span: the chunk starts a fresh word
            width = 64;
            continue;
        }
        chunk.reject_below = width < 64 ? (uint64_t{1} << width) % chunk.limit : (0 - chunk.limit) % chunk.limit;
        chunks[made++] = chunk;
        i = chunk.end;
        width = 64;
    }
    return made;
}

void DrawPlannedDigits(const uint32_t* spans, uint32_t* out, const DigitChunk* chunks, size_t chunk_count,
                       uint64_t bits) {
    using Wide = unsigned __int128;
    size_t i = 0;
    for (size_t c = 0; c < chunk_count; ++c) {
        const DigitChunk& chunk = chunks[c];
        const uint64_t mask = chunk.width < 64 ? (uint64_t{1} << chunk.width) - 1 : ~uint64_t{0};
        uint64_t digits = chunk.width < 64 && c == 0 ? bits & mask : buffer.Word() & mask;
        while ((digits * chunk.limit & mask) < chunk.reject_below) digits = buffer.Word() & mask;
        if (chunk.width < 64) digits <<= 64 - chunk.width;  // the same fraction in 64 bits
        for (; i < chunk.end; ++i) {
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
