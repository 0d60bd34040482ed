#include "backends/sdl/screen/huge_page_memory.h"

#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace kv::sdl {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kLargeBlock = std::size_t{1} << 20;

bool large(std::size_t count) {
    return count * sizeof(Color) >= kLargeBlock;
}

class HugePageMemory final : public PixelMemory {
  public:
    Color* allocate(std::size_t count) override {
        if (!large(count)) return default_pixel_memory()->allocate(count);
        // aligned_alloc wants a multiple of the alignment.
        const std::size_t bytes = (count * sizeof(Color) + kHugePage - 1) / kHugePage * kHugePage;
        auto* pixels = static_cast<Color*>(std::aligned_alloc(kHugePage, bytes));
        if (pixels == nullptr) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
        // Only a hint: without transparent huge pages the memory works the same, a little slower.
        madvise(pixels, bytes, MADV_HUGEPAGE);
#endif
        return pixels;
    }
    void release(Color* pixels, std::size_t count) noexcept override {
        if (!large(count)) {
            default_pixel_memory()->release(pixels, count);
            return;
        }
        std::free(pixels);
    }
};

} // namespace

PixelMemory* huge_page_memory() {
    static HugePageMemory memory;
    return &memory;
}

} // namespace kv::sdl
