#include "platform/base/zeroed_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <new>

namespace morvane {
namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;

void* MapOrNull(std::size_t bytes) {
    void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return p == MAP_FAILED ? nullptr : p;
}

// Maps `bytes` starting on a large page's boundary, where the kernel can
// back them with large pages; the slack around it is given back at once.
void* MapOnLargePages(std::size_t bytes) {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    bytes = (bytes + page - 1) / page * page;
    auto* raw = static_cast<char*>(MapOrNull(bytes + kLargePage));
    if (!raw) return nullptr;
    const auto address = reinterpret_cast<std::uintptr_t>(raw);
    char* start = raw + ((kLargePage - address % kLargePage) % kLargePage);
    if (start > raw) ::munmap(raw, static_cast<std::size_t>(start - raw));
    const std::size_t tail = kLargePage - static_cast<std::size_t>(start - raw);
    if (tail > 0) ::munmap(start + bytes, tail);
    ::madvise(start, bytes, MADV_HUGEPAGE);  // only a wish: small pages serve as well
    return start;
}

}  // namespace

void* MapZeroedPages(std::size_t bytes) {
    for (;;) {
        void* p = bytes >= kLargePage ? MapOnLargePages(bytes) : MapOrNull(bytes);
        if (p) return p;
        std::new_handler handler = std::get_new_handler();
        if (!handler) throw std::bad_alloc();
        handler();
    }
}

void UnmapPages(void* start, std::size_t bytes) { ::munmap(start, bytes); }

}  // namespace morvane
