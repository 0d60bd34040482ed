#include "core/pixel_buffer.h"

namespace kv {

namespace {

class FreeStore final : public PixelMemory {
  public:
    Color* allocate(std::size_t count) override { return new Color[count]; }
    void release(Color* pixels, std::size_t /*count*/) noexcept override { delete[] pixels; }
};

} // namespace

PixelMemory* default_pixel_memory() {
    static FreeStore memory;
    return &memory;
}

} // namespace kv
