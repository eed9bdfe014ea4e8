#pragma once
// Random numbers for passwords, drawn from the operating system's secure
// source (getrandom), never from a seeded generator.
#include <cstddef>
#include <cstdint>

namespace morvane {

// Zeros the random words and digits still held, so that nothing in memory
// tells the next draws, and the next ones come fresh from the kernel: called
// when the program starts, when the list is cleared and when it ends.
void Randomize();

// Number of bits needed to write span - 1 (at least 1).
int BitsFor(uint32_t span);

// A uniform whole number below `span` (1 to 2^31): floor(span * r) for
// r = x / 2^k, with x drawn from `bits` k = BitsFor(span) bits at a time.
// The few x whose share would favour one result are drawn again, so every
// result is exactly equally likely.
template <class BitSource>
uint32_t DrawBelow(uint32_t span, BitSource&& bits) {
    const int k = BitsFor(span);
    const uint64_t range = uint64_t{1} << k;
    const uint64_t reject_below = range % span;  // the surplus of the last share
    while (true) {
        const uint64_t product = static_cast<uint64_t>(bits(k)) * span;
        if ((product & (range - 1)) >= reject_below) return static_cast<uint32_t>(product >> k);
    }
}

// `count` uniform whole numbers below `span`, each exactly equally likely:
// several come from one 64-bit word of the secure source.
void DrawManyBelow(uint32_t span, uint32_t* out, size_t count);

// Uniform whole numbers, the i-th below spans[i] (each 1 to 2^32 - 1), all
// independent and exactly uniform: as many spans as their product fits share
// one word, read as mixed-radix digits of its fraction. A plan says which
// spans share a word; the first word may be bits drawn before and not yet
// looked at, `width` of them.
struct DigitChunk {
    uint32_t end = 0;           // the spans before this index, from the last chunk's end
    int width = 64;             // bits of the word
    uint64_t limit = 1;         // the product of the chunk's spans, within 2^width
    uint64_t reject_below = 0;  // 2^width mod limit: lower products are drawn again
};
// Writes the plan to `chunks` (room for count + 1) and returns its length.
size_t PlanDigits(const uint32_t* spans, size_t count, int first_width, DigitChunk* chunks);
// Draws by the plan; `bits` holds the first chunk's bits when it is narrower than 64.
void DrawPlannedDigits(const uint32_t* spans, uint32_t* out, const DigitChunk* chunks, size_t chunk_count,
                       uint64_t bits);

// 64 uniform bits.
uint64_t DrawWord();

// A random whole number from low to high, both included: low + floor(span * r)
// with span = high - low + 1. A span beyond the 32-bit range is an overflow.
int32_t Rand(int32_t low, int32_t high);

}  // namespace morvane
