#include "engine/rand.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdio>

#include "platform/runtime_error.h"

namespace morvane {
namespace {

// Bytes are fetched from the kernel in blocks to keep system calls rare.
struct RandomBuffer {
    static constexpr int kWords = 1024;
    uint64_t words[kWords];
    int next = kWords;

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

uint64_t NextRandom53() {
    if (buffer.next == RandomBuffer::kWords) buffer.Refill();
    return buffer.words[buffer.next++] >> 11;
}

void Randomize() { buffer.next = RandomBuffer::kWords; }

int32_t Rand(int32_t low, int32_t high) {
    int64_t span = static_cast<int64_t>(high) - low + 1;
    if (span > INT32_MAX || span < INT32_MIN) throw OverflowError();
    if (span <= 0) return low;  // empty range: nothing to draw from
    uint64_t k = NextRandom53();
    auto offset = static_cast<int64_t>((static_cast<unsigned __int128>(span) * k) >> 53);
    return static_cast<int32_t>(low + offset);
}

}  // namespace morvane
