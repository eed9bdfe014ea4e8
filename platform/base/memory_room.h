#pragma once
// How much more memory this process can have: what the system has
// available, within the process's address-space limit.
#include <cstdint>

namespace morvane {

// Bytes, or UINT64_MAX when neither can be read or limits it.
uint64_t MemoryRoom();

}  // namespace morvane
