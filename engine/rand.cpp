#include "engine/rand.h"

#include <sys/random.h>

#include <bit>
#include <cerrno>
#include <cstdio>

#include "platform/runtime_error.h"

namespace morvane {
namespace {

// Bytes are fetched from the kernel in blocks to keep system calls rare, and
// handed out a few bits at a time.
struct RandomBuffer {
    static constexpr int kWords = 512;
    uint64_t words[kWords];
    int next = kWords;
    uint64_t reservoir = 0;  // bits not yet handed out, lowest first
    int held = 0;

    uint64_t Word() {
        if (next == kWords) Refill();
        return words[next++];
    }

    uint32_t Take(int count) {
        if (held >= count) {
            uint32_t value = static_cast<uint32_t>(reservoir & ((uint64_t{1} << count) - 1));
            reservoir >>= count;
            held -= count;
            return value;
        }
        // The held bits are the low ones; the rest comes from a new word.
        const uint64_t low = reservoir;
        const int have = held;
        reservoir = Word();
        held = 64;
        return static_cast<uint32_t>(low | (static_cast<uint64_t>(Take(count - have)) << have));
    }

    void Refill() {
        auto* bytes = reinterpret_cast<unsigned char*>(words);
        size_t want = sizeof(words);
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

uint32_t RandomBits(int count) { return buffer.Take(count); }

void Randomize() {
    buffer.next = RandomBuffer::kWords;
    buffer.held = 0;
    buffer.reservoir = 0;
}

void DrawManyBelow(uint32_t span, uint32_t* out, size_t count) {
    if (span <= 1) {
        for (size_t i = 0; i < count; ++i) out[i] = 0;
        return;
    }
    RandomBuffer& source = buffer;
    const int k = BitsFor(span);
    const uint64_t mask = (uint64_t{1} << k) - 1;
    const uint64_t reject_below = (mask + 1) % span;
    for (size_t i = 0; i < count;) {
        const uint64_t product = static_cast<uint64_t>(source.Take(k)) * span;
        if ((product & mask) >= reject_below) out[i++] = static_cast<uint32_t>(product >> k);
    }
}

int BitsFor(uint32_t span) { return span <= 2 ? 1 : std::bit_width(span - 1); }

int32_t Rand(int32_t low, int32_t high) {
    int64_t span = static_cast<int64_t>(high) - low + 1;
    if (span > INT32_MAX || span < INT32_MIN) throw OverflowError();
    if (span <= 0) return low;  // empty range: nothing to draw from
    if (span == 1) return low;
    uint32_t offset = DrawBelow(static_cast<uint32_t>(span), [](int k) { return buffer.Take(k); });
    return static_cast<int32_t>(low + static_cast<int64_t>(offset));
}

}  // namespace morvane
