#pragma once
// Memory that held passwords is overwritten with zeros before it goes back,
// or goes back to the kernel: an allocator for the program's texts that does
// so on every release, and a wipe for buffers of other types.
#include <string.h>

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>

#include "platform/base/zeroed_pages.h"

namespace morvane {

// Blocks from this size on are pages of their own: they are handed out
// zeroed without a pass over them, and go straight back to the kernel,
// which clears them before any other use.
inline constexpr std::size_t kOwnPagesFrom = std::size_t{1} << 20;

template <class T>
struct WipingAllocator : std::allocator<T> {
    using value_type = T;
    template <class U>
    struct rebind {
        using other = WipingAllocator<U>;
    };
    WipingAllocator() = default;
    template <class U>
    WipingAllocator(const WipingAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) {
        if (n > std::size_t(-1) / sizeof(T)) throw std::bad_array_new_length();
        if (n * sizeof(T) >= kOwnPagesFrom) return static_cast<T*>(MapZeroedPages(n * sizeof(T)));
        return std::allocator<T>::allocate(n);
    }
    void deallocate(T* p, std::size_t n) {
        if (n * sizeof(T) >= kOwnPagesFrom) return UnmapPages(p, n * sizeof(T));
        ::explicit_bzero(p, n * sizeof(T));
        std::allocator<T>::deallocate(p, n);
    }
};

template <class T, class U>
bool operator==(const WipingAllocator<T>&, const WipingAllocator<U>&) { return true; }

// Zeros all of a string's or a vector's storage and gives it back; pages
// of their own (see above) go back as they are.
template <class Buffer>
void Wipe(Buffer& buffer) {
    const std::size_t bytes = buffer.capacity() * sizeof(*buffer.data());
    const bool own_pages =
        std::is_same_v<typename Buffer::allocator_type, WipingAllocator<typename Buffer::value_type>> &&
        bytes >= kOwnPagesFrom;
    if (bytes > 0 && !own_pages) ::explicit_bzero(buffer.data(), bytes);
    buffer.clear();
    buffer.shrink_to_fit();
}

}  // namespace morvane
