#include "platform/base/large_buffers.h"

#include <malloc.h>

namespace morvane {

void KeepLargeBuffersMapped() { mallopt(M_MMAP_THRESHOLD, 1 << 20); }

}  // namespace morvane
