// Pixels in memory the kernel may back with huge pages. The copy of the shown frame is read a few
// hundred scattered rows a Tick, mostly after the caches have lost them; with 4 KB pages nearly
// every row costs a page walk of its own, dearer still in a virtual machine.
#pragma once

#include "core/color.h"

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <span>

namespace kv::sdl {

class HugePagePixels {
  public:
    HugePagePixels() = default;
    // `count` pixels, their values left undefined.
    explicit HugePagePixels(std::size_t count);

    std::span<Color> pixels() { return {data_.get(), count_}; }
    std::span<const Color> pixels() const { return {data_.get(), count_}; }
    std::size_t size() const { return count_; }

  private:
    struct Free {
        void operator()(Color* p) const { std::free(p); }
    };
    std::unique_ptr<Color[], Free> data_;
    std::size_t count_ = 0;
};

} // namespace kv::sdl
