#pragma once
// A fixed array of zeros in pages of its own, for large tables read at
// random. The kernel is asked for 2 MiB pages, so a lookup seldom misses the
// address cache, and the pages come zeroed without a pass over them. When
// the array is dropped its pages go straight back to the kernel, which
// clears them before any other use: what it held leaves the process with it.
#include <cstddef>
#include <type_traits>
#include <utility>

namespace morvane {

// Zeroed memory of at least `bytes` bytes; never null (a failure goes
// through the new-handler, like operator new).
void* MapZeroedPages(std::size_t bytes);
void UnmapPages(void* start, std::size_t bytes);

template <class T>
class ZeroedPages {
    static_assert(std::is_trivially_copyable_v<T>, "the pages start as zeros and are dropped unread");

public:
    ZeroedPages() = default;
    explicit ZeroedPages(std::size_t count)
        : data_(count ? static_cast<T*>(MapZeroedPages(count * sizeof(T))) : nullptr), size_(count) {}
    ZeroedPages(ZeroedPages&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
    ZeroedPages& operator=(ZeroedPages&& other) noexcept {
        ZeroedPages gone(std::move(*this));
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        return *this;
    }
    ~ZeroedPages() {
        if (data_) UnmapPages(data_, size_ * sizeof(T));
    }

    T& operator[](std::size_t i) { return data_[i]; }
    const T& operator[](std::size_t i) const { return data_[i]; }
    T* data() { return data_; }
    const T* data() const { return data_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T* begin() { return data_; }
    T* end() { return data_ + size_; }

private:
    T* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace morvane
