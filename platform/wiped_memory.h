#pragma once
// Memory that held passwords is overwritten with zeros before it goes back:
// an allocator for the program's texts that does so on every release, and a
// wipe for buffers of other types.
#include <string.h>

#include <cstddef>
#include <memory>

namespace morvane {

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
    void deallocate(T* p, std::size_t n) {
        ::explicit_bzero(p, n * sizeof(T));
        std::allocator<T>::deallocate(p, n);
    }
};

template <class T, class U>
bool operator==(const WipingAllocator<T>&, const WipingAllocator<U>&) { return true; }

// Zeros all of a string's or a vector's storage and gives it back.
template <class Buffer>
void Wipe(Buffer& buffer) {
    if (buffer.capacity() > 0) ::explicit_bzero(buffer.data(), buffer.capacity() * sizeof(*buffer.data()));
    buffer.clear();
    buffer.shrink_to_fit();
}

}  // namespace morvane
