// A fixed-size run of values kept inline when it is short, on the heap otherwise: the per-row
// tables of a pen tip, built for every wide segment drawn, without an allocation for the pens
// programs use.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace kv::raster::detail {

template <typename T, std::size_t Inline> class SmallBuffer {
  public:
    SmallBuffer(std::size_t size, const T& value) : size_(size) {
        if (size > Inline) {
            heap_.assign(size, value);
        } else {
            inline_.fill(value);
        }
    }

    std::size_t size() const { return size_; }
    T& operator[](std::size_t i) {
        if (size_ > Inline) return heap_[i];
        return inline_[i];
    }
    const T& operator[](std::size_t i) const {
        if (size_ > Inline) return heap_[i];
        return inline_[i];
    }

  private:
    std::size_t size_;
    std::array<T, Inline> inline_{};
    std::vector<T> heap_;
};

} // namespace kv::raster::detail
