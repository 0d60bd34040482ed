// A block of pixels in memory from a resource its owner chooses: a window's pixels are read and
// written a few hundred scattered rows a frame, and a backend may give memory the system backs
// with large pages. Moving takes the memory with it; a copy is new memory from the copy's own
// resource (a new buffer's: the default one).
#pragma once

#include "core/color.h"

#include <algorithm>
#include <cstddef>
#include <span>
#include <utility>

namespace kv {

// Where pixels live. A PixelBuffer gives each block back to the memory it came from, which must
// outlive it.
class PixelMemory {
  public:
    // `count` > 0 pixels, their values left undefined; throws std::bad_alloc when there is no room.
    virtual Color* allocate(std::size_t count) = 0;
    // Gives back a block allocate(count) gave.
    virtual void release(Color* pixels, std::size_t count) noexcept = 0;

    virtual ~PixelMemory() = default;

  protected:
    PixelMemory() = default;
    PixelMemory(const PixelMemory&) = default;
    PixelMemory& operator=(const PixelMemory&) = default;
};

// The free store's memory.
PixelMemory* default_pixel_memory();

class PixelBuffer {
  public:
    PixelBuffer() = default;
    // `count` pixels of `fill`.
    PixelBuffer(std::size_t count, Color fill, PixelMemory* memory = default_pixel_memory())
        : PixelBuffer(Undefined{}, count, memory) {
        std::fill_n(data_, count_, fill);
    }
    PixelBuffer(const PixelBuffer& other) : PixelBuffer(Undefined{}, other.count_) {
        std::copy_n(other.data_, count_, data_);
    }
    PixelBuffer(PixelBuffer&& other) noexcept
        : memory_(other.memory_), data_(std::exchange(other.data_, nullptr)),
          count_(std::exchange(other.count_, 0)) {}
    PixelBuffer& operator=(const PixelBuffer& other) {
        if (this == &other) return *this;
        PixelBuffer copy(Undefined{}, other.count_, memory_);
        std::copy_n(other.data_, other.count_, copy.data_);
        swap(copy);
        return *this;
    }
    PixelBuffer& operator=(PixelBuffer&& other) noexcept {
        PixelBuffer taken(std::move(other));
        swap(taken);
        return *this;
    }
    ~PixelBuffer() {
        if (data_ != nullptr) memory_->release(data_, count_);
    }

    Color* data() { return data_; }
    const Color* data() const { return data_; }
    std::size_t size() const { return count_; }
    std::span<Color> pixels() { return {data_, count_}; }
    std::span<const Color> pixels() const { return {data_, count_}; }
    PixelMemory* memory() const { return memory_; }

  private:
    // `count` pixels left undefined.
    struct Undefined {};
    PixelBuffer(Undefined, std::size_t count, PixelMemory* memory = default_pixel_memory())
        : memory_(memory), count_(count) {
        if (count_ > 0) data_ = memory_->allocate(count_);
    }
    void swap(PixelBuffer& other) noexcept {
        std::swap(memory_, other.memory_);
        std::swap(data_, other.data_);
        std::swap(count_, other.count_);
    }

    PixelMemory* memory_ = default_pixel_memory();
    Color* data_ = nullptr;
    std::size_t count_ = 0;
};

} // namespace kv
