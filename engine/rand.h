#pragma once
// Random numbers for passwords, drawn from the operating system's secure source.
#include <cstdint>

namespace morvane {

// The next uniform value r with 0 <= r < 1, carrying 53 random bits:
// r = k / 2^53 for a random whole k below 2^53.
uint64_t NextRandom53();

// Starts the generator afresh; called once when the program starts.
void Randomize();

// A random whole number from low to high, both included:
// low + floor(span * r) with span = high - low + 1, computed exactly.
// A span beyond the 32-bit range is an overflow.
int32_t Rand(int32_t low, int32_t high);

}  // namespace morvane
